#include "cli/diffcommands.h"

#include <nlohmann/json.hpp>
#include <ostream>
#include <tuple>

#include "cli/clicommands.h"
#include "cli/termtext.h"
#include "scenario/filenames.h"
#include "scenario/inputfile.h"
#include "scenario/oobreader.h"
#include "scenario/readlistener.h"
#include "scenario/scndiff.h"
#include "scenario/scnerror.h"
#include "scenario/scnreader.h"

namespace varno {

using json = nlohmann::ordered_json;

namespace {

json ItemJson(const DiffItem& item) {
    json fields = json::array();
    for (const FieldChange& f : item.Fields) {
        json field{{"field", f.Field}};
        field["old"] = item.Change == DiffChange::Added ? json(nullptr) : json(Latin1ToUtf8(f.Old));
        field["new"] = item.Change == DiffChange::Removed ? json(nullptr) : json(Latin1ToUtf8(f.New));
        fields.push_back(std::move(field));
    }
    return json{
        {"kind", KindWord(item.Kind)},
        {"change", ChangeWord(item.Change)},
        {"key", Latin1ToUtf8(item.Key)},
        {"name", Latin1ToUtf8(item.Name)},
        {"oldIndex", item.OldIndex < 0 ? json(nullptr) : json(item.OldIndex)},
        {"newIndex", item.NewIndex < 0 ? json(nullptr) : json(item.NewIndex)},
        {"fields", std::move(fields)},
    };
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
    const ScnDiff diff = CompareScenarios(oldScn, newScn);
    if (asJson) {
        json items = json::array();
        for (const DiffItem& item : diff.Items) items.push_back(ItemJson(item));
        const DiffCounts counts = CountDiff(diff);
        json doc{{"equal", diff.Equal()},          {"oobDiffers", diff.OobDiffers}, {"orderDiffers", diff.OrderDiffers},
                 {"added", counts.Added},          {"removed", counts.Removed},     {"changed", counts.Changed},
                 {"differences", std::move(items)}};
        out << doc.dump(2) << '\n';
    } else {
        for (const std::string& line : DiffLines(diff)) out << Latin1ToUtf8(line) << '\n';
    }
    return diff.Equal() ? kExitOk : kExitFindings;
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
        } catch (const std::exception& e) {
            read.Error = e.what();
        }
    }
    if (!read.Complete) {
        err << TerminalMessage(read.Error) << '\n';
        return kExitError;
    }
    for (const std::string& line : ScenarioTextLines(scn)) out << Latin1ToUtf8(line) << '\n';
    return kExitOk;
}

}  // namespace varno
