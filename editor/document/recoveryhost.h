#pragma once
// What the recovery copy's keeper and the offer at start need of the main
// window: the bytes Save would write with their description, one status
// line, and the two ways to take a copy back into the editor.
#include <QString>
#include <string>

#include "scenario/recoveryfolder.h"

namespace varno {

class RecoveryHost {
public:
    virtual ~RecoveryHost() = default;
    // What Save would write now, from the records as they are (nothing typed
    // on a page is stored for it).
    virtual std::string RecoveryText() = 0;
    // The copy's description as far as the window knows it: the scenario's
    // path, its file when read or last saved, the last step's name.
    virtual RecoveryNote RecoveryNoteNow() = 0;
    // Shows `line` in the status, or, when empty, clears the status if it
    // still shows the last line given.
    virtual void RecoveryStatus(const QString& line) = 0;
    // Makes the copy the editor's scenario. `changed` false: reads the
    // scenario file, then puts the copy's records in as one step, so that
    // Undo shows the file. `changed` true (the file changed since the copy's
    // base): the copy becomes a new unsaved document of the scenario's
    // name, whose Save asks about the file's changes. Raises ScnError.
    virtual void RecoverCopy(const RecoveryNote& note, std::string copyText, bool changed) = 0;
};

}  // namespace varno
