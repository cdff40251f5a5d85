#pragma once
// The folder of recovery copies: what Save would write of a document with
// unsaved changes, kept in the user's state folder (never beside the
// scenario, never in the game's folder) so that a kill, a crash or a power
// cut loses no more than the last moments of work.
//
// A copy is three files named after its id ("20250107-101500-3fa2c1d0"):
//   <id>.lock     held by the program that writes it (RecoveryClaim);
//   <id>.desc     its description (RecoveryNote), naming
//   <id>-<n>.SCN  the copy's bytes, n counting the writes.
// Each write puts the bytes under a new name and then the description that
// names them, each with a save's steps (temporary file, sync, rename), so
// that the description always names a whole copy, and only then removes the
// copy before. Discarded copies go to `discarded/<id>/` for a week.
//
// Anything else in the folder is not ours: it is listed with its reason and
// left alone, as is a copy whose files do not agree (damaged).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "scenario/recoveryclaim.h"
#include "scenario/recoverynote.h"

namespace varno {

enum class RecoveryState {
    Recoverable,  // its program is gone, its scenario file as the copy's base
    Changed,      // its program is gone, the scenario file changed since the base
    InUse,        // a running program holds it
    Damaged,      // a copy of ours whose files do not agree, or cannot be read
    Foreign,      // not a file of ours
};

struct RecoveryEntry {
    std::string Id;    // the copy's id; empty for a foreign file
    std::string Name;  // the file the entry is about: the description, or the foreign file
    RecoveryState State = RecoveryState::Foreign;
    std::string Reason;  // Damaged, Foreign: why
    long Owner = 0;      // InUse: the holder's process id, when its lock file names it
    RecoveryNote Note;   // read for every state but Damaged and Foreign
};

// The reason Find gives for an id without a description.
inline constexpr const char* kNoSuchCopy = "no such copy";

// How long a discarded copy is kept.
inline constexpr std::int64_t kDiscardedDays = 7;

// A fresh id: the time (UTC) and 32 random bits.
std::string NewRecoveryId();
// Whether `text` is an id of the form NewRecoveryId makes.
bool IsRecoveryId(std::string_view text);
// The name of the n-th copy of `id`.
std::string RecoveryCopyName(const std::string& id, std::uint64_t n);

class RecoveryFolder {
public:
    // dir ends in '/' (added when missing).
    explicit RecoveryFolder(std::string dir);

    // $XDG_STATE_HOME/varno/recovery/ when XDG_STATE_HOME is an absolute
    // path, else $HOME/.local/state/varno/recovery/ (the home of the user's
    // account when HOME is not set).
    static std::string DefaultPath();

    const std::string& Path() const { return dir_; }

    // Makes the folder, and its missing parents, with mode 0700 (the copies
    // are the user's work); an existing one open to others is closed to
    // them. Throws ScnError "Cannot create <dir>: <reason>", or "<dir> is
    // not a folder of yours" for one of another user or no folder.
    void Create() const;

    // Every copy, newest first, then the damaged and foreign files by name.
    // Reads each description and checks its copy's bytes; changes nothing.
    // A folder that does not exist holds nothing.
    std::vector<RecoveryEntry> List() const;
    // The entry of copy `id` as List tells it; state Damaged with reason
    // kNoSuchCopy when it has no description. A copy `mine` holds is judged
    // as if nobody held it.
    RecoveryEntry Find(const std::string& id, const RecoveryClaim* mine = nullptr) const;

    // The copy's bytes, checked against its description. Throws ScnError
    // "Cannot read <path>: <reason>" or "<path> does not match its
    // description".
    std::string ReadCopy(const RecoveryEntry& entry) const;

    // Writes `text` as copy number n of the claimed id, then its description
    // (`note` with CopyName, CopySize and CopyHash filled in), each as a save
    // writes (temporary file, sync, rename), syncs the folder, and removes
    // the id's other copies. Throws ScnError "Cannot write <path>: <reason>".
    void WriteCopy(const RecoveryClaim& claim, std::uint64_t n, std::string_view text, RecoveryNote& note) const;

    // Removes the claimed copy's files (the description first), then its
    // lock file, and lets go of it.
    void Remove(RecoveryClaim& claim) const;
    // Moves the claimed copy's description and bytes to discarded/<id>/,
    // removes the rest of its files and lets go of it. Throws ScnError.
    void Discard(RecoveryClaim& claim) const;
    // Removes what nobody needs any more: discarded copies older than
    // kDiscardedDays (by `now`, seconds since the epoch), and the files of
    // copies without a description whose program is gone (a copy removed,
    // or a first write cut short). Damaged and foreign files stay.
    void Tidy(std::int64_t now) const;

    // The number of the copy the description of `id` names (0 when none).
    std::uint64_t CopyNumber(const RecoveryEntry& entry) const;

private:
    // The names in the folder that belong to `id`, description last.
    std::vector<std::string> FilesOf(const std::string& id) const;
    RecoveryEntry Judge(const std::string& id, bool mine) const;

    std::string dir_;
};

}  // namespace varno
