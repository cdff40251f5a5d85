#include "editor/document/recoverykeeper.h"

#include <chrono>

#include "editor/document/recoveryhost.h"

namespace varno {

TRecoveryKeeper::TRecoveryKeeper(RecoveryHost& host, RecoveryFolder folder)
    : host_(host), folder_(folder), writer_(std::move(folder), [this](const std::string& failure) {
          // On the worker's thread: the window hears of it on its own.
          QMetaObject::invokeMethod(
              this, [this, text = QString::fromStdString(failure)] { reported(text); }, Qt::QueuedConnection);
      }) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &TRecoveryKeeper::take);
}

TRecoveryKeeper::~TRecoveryKeeper() { writer_.Wait(); }

void TRecoveryKeeper::DocumentChanged(bool unsaved) {
    if (!unsaved) {
        Drop();
        return;
    }
    if (timer_.isActive()) return;  // the copy due takes this change too
    const auto now = RecoveryPace::Clock::now();
    const auto due = pace_.Changed(now);
    timer_.start(std::chrono::ceil<std::chrono::milliseconds>(due - now));
}

void TRecoveryKeeper::Drop() {
    pace_.Cancel();
    timer_.stop();
    writer_.Remove();
}

void TRecoveryKeeper::Adopt(RecoveryClaim claim, std::uint64_t number) { writer_.Adopt(std::move(claim), number); }

void TRecoveryKeeper::take() {
    pace_.Taken(RecoveryPace::Clock::now());
    RecoveryNote note = host_.RecoveryNoteNow();
    note.Time =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
    writer_.Write(host_.RecoveryText(), std::move(note));
}

void TRecoveryKeeper::reported(const QString& failure) {
    if (failure.isEmpty()) {
        if (!shown_.isEmpty()) host_.RecoveryStatus(QString());
        shown_.clear();
        return;
    }
    // One line while the reason stays the same: the user keeps typing.
    const QString line = QStringLiteral("Recovery copy not written: %1").arg(failure);
    if (line == shown_) return;
    shown_ = line;
    host_.RecoveryStatus(line);
}

}  // namespace varno
