#pragma once
// Keeps the recovery copy of the window's document: while it has unsaved
// changes, a copy at most every two seconds and no later than two seconds
// after a change (RecoveryPace), written off the GUI thread (RecoveryWriter);
// none once the document is as its file again. A copy that cannot be written
// says so in one status line, never in a box.
#include <QObject>
#include <QString>
#include <QTimer>

#include "scenario/recoverypace.h"
#include "scenario/recoverywriter.h"

namespace varno {

class RecoveryHost;

class TRecoveryKeeper : public QObject {
    Q_OBJECT
public:
    TRecoveryKeeper(RecoveryHost& host, RecoveryFolder folder);
    // Finishes the last request (a removal, or the last copy) on the way out.
    ~TRecoveryKeeper() override;

    // The document changed; `unsaved`: it differs from its file.
    void DocumentChanged(bool unsaved);
    // The changes were saved or given up: the copy goes.
    void Drop();
    // The copy is from now on the one recovered (held by `claim`, last
    // written as number `number`); the next copy replaces it.
    void Adopt(RecoveryClaim claim, std::uint64_t number);
    // A copy is due (tests).
    bool Due() const { return timer_.isActive(); }
    // Returns once the worker has done everything asked of it (tests).
    void Wait() { writer_.Wait(); }
    // The id of the copy being kept, empty before the first (tests).
    std::string CopyId() const { return writer_.Id(); }
    // The folder the copies go to.
    const RecoveryFolder& Folder() const { return folder_; }

private:
    void take();
    void reported(const QString& failure);

    RecoveryHost& host_;
    const RecoveryFolder folder_;
    RecoveryPace pace_;
    QTimer timer_;
    QString shown_;  // the failure line the status shows
    RecoveryWriter writer_;
};

}  // namespace varno
