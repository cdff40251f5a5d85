#include "scenario/recoverywriter.h"

#include <exception>
#include <utility>

#include "scenario/scnerror.h"

namespace varno {

RecoveryWriter::RecoveryWriter(RecoveryFolder folder, Report report)
    : folder_(std::move(folder)), report_(std::move(report)), thread_([this] { Run(); }) {}

RecoveryWriter::~RecoveryWriter() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void RecoveryWriter::Write(std::string text, RecoveryNote note) {
    std::optional<Request> replaced;
    {
        std::lock_guard lock(mutex_);
        replaced = std::exchange(waiting_, Request{false, std::move(text), std::move(note)});
    }
    wake_.notify_one();
    // The bytes of the request replaced are freed outside the lock.
}

void RecoveryWriter::Remove() {
    std::optional<Request> replaced;
    {
        std::lock_guard lock(mutex_);
        replaced = std::exchange(waiting_, Request{true, {}, {}});
    }
    wake_.notify_one();
}

void RecoveryWriter::Adopt(RecoveryClaim claim, std::uint64_t lastNumber) {
    std::optional<Request> replaced;
    {
        std::lock_guard lock(mutex_);
        adopted_ = std::move(claim);
        adoptedNumber_ = lastNumber;
        // A request made before belongs to the document before: the copy
        // adopted is what the document holds now.
        replaced = std::exchange(waiting_, std::nullopt);
    }
    wake_.notify_one();
}

void RecoveryWriter::Wait() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return !busy_ && !waiting_ && !adopted_; });
}

std::string RecoveryWriter::Id() const {
    std::lock_guard lock(mutex_);
    return id_;
}

void RecoveryWriter::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || waiting_ || adopted_; });
        if (!waiting_ && !adopted_) break;  // stopped, nothing left to do
        std::optional<RecoveryClaim> adopted = std::exchange(adopted_, std::nullopt);
        const std::uint64_t adoptedNumber = adoptedNumber_;
        std::optional<Request> request = std::exchange(waiting_, std::nullopt);
        busy_ = true;
        lock.unlock();

        std::string failure;
        try {
            if (adopted) {
                if (claim_ && claim_->Id() != adopted->Id()) folder_.Remove(*claim_);
                claim_ = std::move(adopted);
                number_ = adoptedNumber;
            }
            if (request) Do(*request);
        } catch (const ScnError& e) {
            failure = e.message();
        } catch (const std::exception& e) {
            failure = e.what();
        }
        if (request && report_) report_(failure);

        lock.lock();
        if (claim_) id_ = claim_->Id();
        busy_ = false;
        idle_.notify_all();
    }
    // Ending with the program: the copy stays for the next start.
    claim_.reset();
}

void RecoveryWriter::Do(Request& request) {
    if (request.Remove) {
        if (claim_) folder_.Remove(*claim_);
        claim_.reset();
        return;
    }
    folder_.Create();
    // A lock file removed under us (the folder emptied by hand) is made
    // again, so that other programs still see the copy taken.
    if (claim_ && !claim_->Intact()) claim_ = RecoveryClaim::Take(folder_.Path(), claim_->Id());
    if (!claim_) {
        claim_ = RecoveryClaim::Take(folder_.Path(), NewRecoveryId());
        if (!claim_) throw ScnError("Cannot write " + folder_.Path() + ": the new copy's name is taken");
    }
    folder_.WriteCopy(*claim_, ++number_, request.Text, request.Note);
}

}  // namespace varno
