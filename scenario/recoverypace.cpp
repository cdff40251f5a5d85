#include "scenario/recoverypace.h"

#include <algorithm>

namespace varno {

RecoveryPace::Clock::time_point RecoveryPace::Changed(Clock::time_point now) {
    if (!due_) due_ = last_ ? std::max(now, *last_ + kInterval) : now;
    return *due_;
}

void RecoveryPace::Taken(Clock::time_point now) {
    last_ = now;
    due_.reset();
}

}  // namespace varno
