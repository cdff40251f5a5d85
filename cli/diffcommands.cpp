#include "cli/diffcommands.h"

#include <new>
#include <ostream>
#include <tuple>

#include "cli/clicommands.h"
#include "cli/jsonwriter.h"
#include "cli/termtext.h"
#include "scenario/filenames.h"
#include "scenario/inputfile.h"
#include "scenario/oobreader.h"
#include "scenario/readlistener.h"
#include "scenario/scndiff.h"
#include "scenario/scnerror.h"
#include "scenario/scnreader.h"

namespace varno {

namespace {

void ItemJson(JsonWriter& json, const DiffItem& item) {
    json.BeginObject()
        .Member("kind", KindWord(item.Kind))
        .Member("change", ChangeWord(item.Change))
        .Member("key", Latin1ToUtf8(item.Key))
        .Member("name", Latin1ToUtf8(item.Name));
    json.Key("oldIndex");
    item.OldIndex < 0 ? json.Value(nullptr) : json.Value(item.OldIndex);
    json.Key("newIndex");
    item.NewIndex < 0 ? json.Value(nullptr) : json.Value(item.NewIndex);
    json.Key("fields").BeginArray();
    for (const FieldChange& f : item.Fields) {
        json.BeginObject().Member("field", f.Field);
        json.Key("old");
        item.Change == DiffChange::Added ? json.Value(nullptr) : json.Value(Latin1ToUtf8(f.Old));
        json.Key("new");
        item.Change == DiffChange::Removed ? json.Value(nullptr) : json.Value(Latin1ToUtf8(f.New));
        json.EndObject();
    }
    json.EndArray().EndObject();
}

}  // namespace

int RunDiff(const std::string& oldTyped, const std::string& newTyped, bool asJson, std::ostream& out,
            std::ostream& err) {
    Scenario oldScn, newScn;
    // The first read makes its game folder the working directory: both
    // paths are made absolute before it.
    const std::string oldPath = AbsoluteScenarioPath(oldTyped), newPath = AbsoluteScenarioPath(newTyped);
    for (auto [scn, path, typed] :
         {std::tuple{&oldScn, &oldPath, &oldTyped}, std::tuple{&newScn, &newPath, &newTyped}}) {
        // Read takes a missing file for a scenario not yet written; compared,
        // it would show every record removed. Anything else there is
        // refused by the read itself.
        if (NoFileAt(*path)) {
            err << TerminalMessage("No such scenario file: " + *typed) << '\n';
            return kExitError;
        }
        const ReadOutcome read = ReadLikeVarno(*scn, *path);
        if (!read.Complete) {
            err << TerminalMessage(read.Error) << '\n';
            return kExitError;
        }
    }
    // The pairs are kept, a few words a record; the differences are made
    // and written one at a time.
    const ScnComparison diff(oldScn, newScn);
    const DiffCounts counts = diff.Counts();
    const bool equal = counts.Added == 0 && counts.Removed == 0 && counts.Changed == 0 && !diff.OobDiffers();
    if (asJson) {
        JsonWriter json(out);
        json.BeginObject()
            .Member("equal", equal)
            .Member("oobDiffers", diff.OobDiffers())
            .Member("orderDiffers", diff.OrderDiffers())
            .Member("added", counts.Added)
            .Member("removed", counts.Removed)
            .Member("changed", counts.Changed);
        json.Key("differences").BeginArray();
        diff.ForEachItem([&json](const DiffItem& item) { ItemJson(json, item); });
        json.EndArray().EndObject();
        json.Flush();
        out << '\n';
    } else {
        TerminalWriter term(out);
        diff.ForEachLine([&term](const std::string& line) { term.Latin1Line(line); });
    }
    return equal ? kExitOk : kExitFindings;
}

int RunDumpText(const std::string& typed, const std::string& gameDir, std::ostream& out, std::ostream& err) {
    Scenario scn;
    ReadOutcome read;
    if (gameDir.empty()) {
        read = ReadLikeVarno(scn, typed);
    } else {
        // The order of battle of another folder: the scenario may be a copy
        // in a temporary folder (a textconv of an earlier version).
        read.Path = AbsoluteScenarioPath(typed);
        const std::string game = AbsoluteScenarioPath(gameDir + "/");
        ReadListener quiet;
        try {
            ReadOob(scn, game, quiet);
            ReadScenario(scn, read.Path, quiet);
            read.Complete = true;
        } catch (const ScnError& e) {
            read.Error = e.message();
        } catch (const std::bad_alloc&) {
            read.Error = NotEnoughMemory(read.Path);
        } catch (const std::exception& e) {
            read.Error = e.what();
        }
    }
    if (!read.Complete) {
        err << TerminalMessage(read.Error) << '\n';
        return kExitError;
    }
    TerminalWriter term(out);
    ForEachTextLine(scn, [&term](const std::string& line) { term.Latin1Line(line); });
    return kExitOk;
}

}  // namespace varno
