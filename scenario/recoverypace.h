#pragma once
// When a document's recovery copy is taken: at most one copy every two
// seconds, and never later than two seconds after a change. A change after
// a quiet spell is copied at once; changes that follow within the interval
// wait for its end, and all go into that one copy.
#include <chrono>
#include <optional>

namespace varno {

class RecoveryPace {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr Clock::duration kInterval = std::chrono::seconds(2);

    // The document changed at `now` (and differs from its file): returns
    // when the copy is due.
    Clock::time_point Changed(Clock::time_point now);
    // A copy was taken at `now`.
    void Taken(Clock::time_point now);
    // The document is as its file again (or gone): no copy is due.
    void Cancel() { due_.reset(); }
    // When the next copy is due, if one is.
    std::optional<Clock::time_point> Due() const { return due_; }

private:
    std::optional<Clock::time_point> last_, due_;
};

}  // namespace varno
