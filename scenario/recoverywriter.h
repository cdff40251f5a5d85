#pragma once
// Writes a document's recovery copy off the thread that edits it. The
// editing thread only hands over the bytes (what Save would write) and the
// description; a worker thread writes them into the recovery folder. The
// worker keeps one request waiting at most: a newer one replaces the one not
// begun yet (the latest state wins), so the editing thread never waits for
// the disk.
//
// The copy's id and its lock are the writer's from its first write on (or
// from Adopt); Remove takes the copy away and lets go of the lock.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "scenario/recoveryfolder.h"

namespace varno {

class RecoveryWriter {
public:
    // Told, on the worker thread, how each request went: empty when the copy
    // was written (or removed), else why not ("Cannot write <path>: <reason>").
    using Report = std::function<void(const std::string& failure)>;

    RecoveryWriter(RecoveryFolder folder, Report report);
    // Does the request waiting, if any, then ends the worker. A copy still
    // there stays (for the next start), its lock let go.
    ~RecoveryWriter();
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;

    // The copy is to hold `text`, described by `note` (its copy fields are
    // filled in by the worker). Replaces the request waiting.
    void Write(std::string text, RecoveryNote note);
    // The copy is to go (saved, or the changes given up). Replaces the
    // request waiting.
    void Remove();
    // From now on the copy is the claimed one (a copy recovered), whose last
    // write was number `lastNumber`: the next Write replaces it. A copy the
    // writer made before is removed, a request not begun yet dropped.
    void Adopt(RecoveryClaim claim, std::uint64_t lastNumber);
    // Returns once every request made so far is done.
    void Wait();

    // The id of the copy written (or adopted) last; empty before.
    std::string Id() const;

private:
    struct Request {
        bool Remove = false;
        std::string Text;
        RecoveryNote Note;
    };
    void Run();
    void Do(Request& request);

    const RecoveryFolder folder_;
    const Report report_;

    mutable std::mutex mutex_;
    std::condition_variable wake_, idle_;
    std::optional<Request> waiting_;
    std::optional<RecoveryClaim> adopted_;
    std::uint64_t adoptedNumber_ = 0;
    bool busy_ = false;
    bool stop_ = false;
    std::string id_;  // guarded by mutex_: the worker sets it, Id() reads it

    // The worker's alone.
    std::optional<RecoveryClaim> claim_;
    std::uint64_t number_ = 0;

    std::thread thread_;  // last: starts once the members above are made
};

}  // namespace varno
