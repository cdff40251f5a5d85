#pragma once
// varno-cli recover: the recovery copies Varno keeps of unsaved changes, for
// users whose display is gone.
#include <iosfwd>
#include <string>

namespace varno {

// Prints each copy of the recovery folder with its state, time, scenario and
// step, then the damaged and foreign files with their reasons.
int RunRecoverList(const std::string& folder, std::ostream& out, std::ostream& err);

// Writes copy `copy` (its id, or the path of one of its files) back to its
// scenario through the normal save: the changed-on-disk check (unless
// force) and a backup of the file there. The copy is removed once saved.
int RunRecoverSave(const std::string& folder, const std::string& copy, bool force, std::ostream& out,
                   std::ostream& err);

}  // namespace varno
