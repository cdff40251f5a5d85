#include "cli/recovercommand.h"

#include <exception>
#include <ostream>

#include "cli/clicommands.h"
#include "cli/termtext.h"
#include "scenario/filenames.h"
#include "scenario/oobreader.h"
#include "scenario/readlistener.h"
#include "scenario/recoveryfolder.h"
#include "scenario/scnerror.h"
#include "scenario/scnreader.h"
#include "scenario/scnwriter.h"
#include "scenario/skippedlines.h"

namespace varno {

namespace {

std::string StateText(const RecoveryEntry& e) {
    switch (e.State) {
    case RecoveryState::Recoverable: return "recoverable";
    case RecoveryState::Changed: return "scenario changed since";
    case RecoveryState::InUse:
        return e.Owner > 0 ? "in use by process " + std::to_string(e.Owner) : std::string("in use");
    case RecoveryState::Damaged: return "damaged";
    case RecoveryState::Foreign: break;
    }
    return "foreign";
}

// The id named by `copy`: an id, or a path whose file name begins with one.
std::string CopyId(const std::string& copy) {
    const std::string id = copy.substr(DirPart(copy).size(), 24);
    return IsRecoveryId(id) ? id : std::string();
}

class QuietListener : public ReadListener {};

}  // namespace

int RunRecoverList(const std::string& folder, std::ostream& out, std::ostream& err) {
    const RecoveryFolder dir(folder);
    std::vector<RecoveryEntry> entries;
    try {
        entries = dir.List();
    } catch (const ScnError& e) {
        err << TerminalMessage(e.message()) << '\n';
        return kExitError;
    }
    if (entries.empty()) out << "No recovery copies in " << TerminalMessage(dir.Path()) << '\n';
    for (const RecoveryEntry& e : entries) {
        out << TerminalMessage(e.Name.substr(0, e.Id.empty() ? e.Name.size() : e.Id.size())) << "  " << StateText(e);
        if (e.State == RecoveryState::Damaged || e.State == RecoveryState::Foreign)
            out << "  " << TerminalMessage(e.Reason);
        else
            out << "  " << LocalTimeText(e.Note.Time) << "  " << TerminalMessage(e.Note.ScenarioPath) << "  "
                << TerminalMessage(e.Note.Step);
        out << '\n';
    }
    return kExitOk;
}

int RunRecoverSave(const std::string& folder, const std::string& copy, bool force, std::ostream& out,
                   std::ostream& err) {
    const RecoveryFolder dir(folder);
    const std::string id = CopyId(copy);
    if (id.empty()) {
        err << "varno-cli: " << TerminalMessage(copy) << " names no recovery copy (varno-cli recover --list)\n";
        return kExitError;
    }
    try {
        if (dir.Find(id).Reason == kNoSuchCopy) {
            err << "No recovery copy " << id << " in " << TerminalMessage(dir.Path()) << '\n';
            return kExitError;
        }
        // Held while it is saved: no Varno starting meanwhile offers it.
        std::optional<RecoveryClaim> claim = RecoveryClaim::Take(dir.Path(), id);
        if (!claim) {
            const RecoveryEntry held = dir.Find(id);
            err << "The recovery copy " << id << " is in use by a running Varno";
            if (held.Owner > 0) err << " (process " << held.Owner << ")";
            err << '\n';
            return kExitError;
        }
        const RecoveryEntry entry = dir.Find(id, &*claim);
        if (entry.State == RecoveryState::Damaged) {
            err << "The recovery copy " << id << " cannot be saved: " << TerminalMessage(entry.Reason) << '\n';
            return kExitError;
        }
        Scenario scn;
        QuietListener quiet;
        ReadOob(scn, entry.Note.ScenarioPath, quiet);
        ReadScenario(scn, CopyAsScenarioFile(entry.Note, dir.ReadCopy(entry)), quiet);
        if (const std::string note = SkippedLinesMessage(scn); !note.empty()) err << note << '\n';
        WriteOptions opts;
        opts.V103 = !scn.ReleaseChanceInFile;  // the copy's own form
        opts.Force = force;
        WriteScenario(scn, entry.Note.ScenarioPath, opts, [&out](std::string_view text) {
            out << text << '\n' << std::flush;
        });
        dir.Remove(*claim);
    } catch (const ScnError& e) {
        err << TerminalMessage(e.message()) << '\n';
        if (e.message().find(kChangedSinceRead) != std::string::npos) err << "(--force saves it anyway)\n";
        return kExitError;
    } catch (const std::exception& e) {
        err << TerminalMessage(e.what()) << '\n';
        return kExitError;
    }
    return kExitOk;
}

}  // namespace varno
