#include "cli/clicommands.h"

#include <exception>
#include <new>
#include <ostream>

#include "cli/jsonwriter.h"
#include "cli/termtext.h"
#include "scenario/filenames.h"
#include "scenario/oobreader.h"
#include "scenario/readlistener.h"
#include "scenario/scnchecks.h"
#include "scenario/scnerror.h"
#include "scenario/scnreader.h"
#include "scenario/scnwriter.h"
#include "scenario/skippedlines.h"

namespace varno {

namespace {
// Nothing to draw on the command line.
class QuietListener : public ReadListener {};
}  // namespace

std::string NotEnoughMemory(const std::string& path) { return path + ": not enough memory"; }

ReadOutcome ReadLikeVarno(Scenario& scn, const std::string& typed) {
    ReadOutcome outcome;
    // Reading makes the game's folder the working directory, where a relative
    // path would name another file.
    outcome.Path = AbsoluteScenarioPath(typed);
    QuietListener listener;
    try {
        ReadOob(scn, outcome.Path, listener);
        ReadScenario(scn, outcome.Path, listener);
        outcome.Complete = true;
    } catch (const ScnError& e) {
        outcome.Error = e.message();  // whole, also past a NUL byte of the line
    } catch (const std::bad_alloc&) {
        outcome.Error = NotEnoughMemory(outcome.Path);
    } catch (const std::exception& e) {
        outcome.Error = e.what();
    }
    return outcome;
}

int RunCheck(const std::string& typed, std::ostream& out, std::ostream& err) {
    Scenario scn;
    const ReadOutcome read = ReadLikeVarno(scn, typed);
    if (!read.Complete) {
        err << TerminalMessage(read.Error) << '\n';
        return kExitError;
    }
    out << "Entries: " << scn.OobList().size() << '\n'
        << "Placements: " << scn.SetupList().size() << '\n'
        << "Reinforcement groups: " << scn.ReinfList().size() << '\n'
        << "Releases: " << scn.ReleaseList().size() << '\n'
        << "Commands: " << scn.CommandList().size() << '\n'
        << "Skipped release lines: " << scn.SkippedReleaseLines << '\n'
        << "Skipped command lines: " << scn.SkippedCommandLines << '\n';
    const std::vector<std::string> findings = FindOverloadedHexes(scn.SetupList());
    TerminalWriter term(out);
    for (const std::string& f : findings) term.Line(f);
    return findings.empty() ? kExitOk : kExitFindings;
}

int RunStrength(const std::string& typed, bool fromScenario, std::ostream& out, std::ostream& err) {
    Scenario scn;
    const ReadOutcome read = ReadLikeVarno(scn, typed);
    if (!read.Complete) {
        err << TerminalMessage(read.Error) << '\n';
        return kExitError;
    }
    TerminalWriter term(out);
    for (const std::string& line : StrengthLines(scn.OobList(), fromScenario)) term.Line(line);
    return kExitOk;
}

int RunDump(const std::string& typed, std::ostream& out, std::ostream& err) {
    Scenario scn;
    const ReadOutcome read = ReadLikeVarno(scn, typed);
    {
        JsonWriter json(out);
        WriteScenarioJson(json, scn, read);
    }
    out << '\n' << std::flush;
    if (!read.Complete) {
        err << TerminalMessage(read.Error) << '\n';
        return kExitError;
    }
    return kExitOk;
}

int RunSave(const std::string& typed, bool sortByCol, ReleaseForm form, bool force, std::ostream& out,
            std::ostream& err) {
    Scenario scn;
    const ReadOutcome read = ReadLikeVarno(scn, typed);
    if (!read.Complete) {
        err << TerminalMessage(read.Error) << '\n';
        return kExitError;
    }
    if (const std::string note = SkippedLinesMessage(scn); !note.empty()) err << TerminalMessage(note) << '\n';
    WriteOptions opts;
    opts.SortByCol = sortByCol;
    opts.Force = force;
    switch (form) {
    // As Read sets "V 1.03": without the chance unless some release line of
    // the file carried one.
    case ReleaseForm::AsRead: opts.V103 = !scn.ReleaseChanceInFile; break;
    case ReleaseForm::V103: opts.V103 = true; break;
    case ReleaseForm::Chance: opts.V103 = false; break;
    }
    try {
        // Each progress text as its section is written, so that a failed save
        // shows how far it got.
        WriteScenario(scn, read.Path, opts, [&out](std::string_view text) {
            out << TerminalText(text) << '\n' << std::flush;
        });
    } catch (const ScnError& e) {
        err << TerminalMessage(e.message()) << '\n';
        if (e.message().find(kChangedSinceRead) != std::string::npos) err << "(--force saves it anyway)\n";
        return kExitError;
    } catch (const std::bad_alloc&) {
        err << TerminalMessage(NotEnoughMemory(read.Path)) << '\n';
        return kExitError;
    } catch (const std::exception& e) {
        err << TerminalMessage(e.what()) << '\n';
        return kExitError;
    }
    return kExitOk;
}

}  // namespace varno
