#pragma once
// The question at start about the recovery copies of programs that did not
// close normally: Recover, Discard or Later, once for each copy.
class QWidget;

namespace varno {

class Dialogs;
class RecoveryHost;
class TRecoveryKeeper;

// Tidies the keeper's folder, then asks about each copy there whose program
// is gone, newest first, holding it while it asks (a second Varno starting
// meanwhile does not ask about it). Recover makes it the editor's scenario
// (RecoveryHost::RecoverCopy) and the keeper's copy; the copies not asked
// about yet then wait for the next start. Discard moves it to the discarded
// copies; Later leaves it for the next start. Failures go to the error box;
// the copy then stays.
void OfferRecovery(TRecoveryKeeper& keeper, RecoveryHost& host, Dialogs& dialogs, QWidget* window);

}  // namespace varno
