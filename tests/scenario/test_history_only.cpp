// A scenario changes only through the edit operations, and each of them needs
// the step of the user's action under way: a change that bypasses the history
// does not compile. The static_asserts below are the checks (this file does
// not build when one fails); each refusal has a twin that must compile, so
// that none of them holds merely because the expression is mistyped. The
// test at the end keeps the unrecorded entry point out of the programs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "scenario/scenario.h"
#include "scenario/scenariobuilder.h"
#include "scenario/scnedit.h"

using namespace varno;

namespace {

// Everything an operation may be handed.
struct Args {
    const TOobRec* entry = nullptr;
    const TSetupRec* setup = nullptr;
    const TReleaseRec* release = nullptr;
    const TReinfGroup* group = nullptr;
    const TCommandRec* command = nullptr;
    SetupDefaults defaults;
    SetupFields setupFields;
    DateFields date;
    ReleaseFields releaseFields;
    GroupFields groupFields;
    CommandFields commandFields;
    HeaderLines header;
};

// Op(args..., listener, step) compiles; without the step, or with a null
// pointer for it, the call does not.
#define STEP_REQUIRED(Op, ...)                                                                                         \
    template <class S>                                                                                                 \
    concept Op##Recorded = requires(S & s, Args a, EditListener & l, EditStep & step) {                                \
        Op(__VA_ARGS__, l, step);                                                                                      \
    };                                                                                                                 \
    template <class S>                                                                                                 \
    concept Op##WithoutStep = requires(S & s, Args a, EditListener & l) {                                              \
        Op(__VA_ARGS__, l);                                                                                            \
    };                                                                                                                 \
    template <class S>                                                                                                 \
    concept Op##WithNullStep = requires(S & s, Args a, EditListener & l) {                                             \
        Op(__VA_ARGS__, l, nullptr);                                                                                   \
    };                                                                                                                 \
    static_assert(Op##Recorded<Scenario>, #Op " takes a step");                                                        \
    static_assert(!Op##WithoutStep<Scenario> && !Op##WithNullStep<Scenario>, #Op " needs a step")

STEP_REQUIRED(AddSetup, s, a.entry, a.defaults);
STEP_REQUIRED(RemoveSetup, s, a.setup);
STEP_REQUIRED(StoreSetup, s, a.setup, a.setupFields);
STEP_REQUIRED(MoveSetup, s, a.setup, 1, 2);
STEP_REQUIRED(PlaceEntryAt, s, a.entry, 1, 2, a.defaults);
STEP_REQUIRED(AddRelease, s, a.entry, a.date);
STEP_REQUIRED(RemoveRelease, s, a.release);
STEP_REQUIRED(StoreRelease, s, a.release, a.releaseFields);
STEP_REQUIRED(AddGroup, s, a.entry, a.groupFields);
STEP_REQUIRED(AddToGroup, s, a.group, a.entry);
STEP_REQUIRED(RemoveGroupUnit, s, a.group, 0);
STEP_REQUIRED(RemoveGroup, s, a.group);
STEP_REQUIRED(StoreGroup, s, a.group, a.groupFields);
STEP_REQUIRED(AddCommand, s, a.entry, a.commandFields);
STEP_REQUIRED(RemoveCommand, s, a.command);
STEP_REQUIRED(StoreCommand, s, a.command, a.commandFields);
STEP_REQUIRED(InsertSetup, s, a.setup, 0);
STEP_REQUIRED(InsertRelease, s, a.release, 0);
STEP_REQUIRED(InsertGroup, s, a.group, 0);
STEP_REQUIRED(InsertCommand, s, a.command, 0);
STEP_REQUIRED(SynchStrengths, s);
STEP_REQUIRED(ReplaceHeader, s, a.header);

#undef STEP_REQUIRED

// The lists are read-only: no record is put in or taken out, no kept line
// changed, except through a ScenarioBuilder.
template <class S>
concept ListsChange = requires(S& s, TSetupRec* r) {
    s.SetupList().push_back(r);
}
|| requires(S& s) { s.ReinfList().clear(); }
|| requires(S& s) { s.ScnHeader().push_back("x"); }
|| requires(S& s) { s.setupList_; }
|| requires(S& s) { s.NewSetup(); };
template <class S>
concept BuilderListsChange = requires(S& s, TSetupRec* r) {
    ScenarioBuilder(s).SetupList().push_back(r);
}
&&requires(S& s) { ScenarioBuilder(s).ScnHeader().push_back("x"); };
static_assert(!ListsChange<Scenario> && BuilderListsChange<Scenario>);

// The records are read-only wherever they are reached from: a list, an
// entry's placement, a placement's or a group's entries.
template <class S>
concept RecordsChange = requires(S& s) {
    s.SetupList()[0]->Col = 1;
}
|| requires(S& s) { s.OobList()[0]->Setup->Strength = 1; }
|| requires(S& s) { s.SetupList()[0]->Unit->Strength = 1; }
|| requires(S& s) { s.ReinfList()[0]->Units[0]->Kind = 'U'; }
|| requires(S& s) { s.CommandList()[0]->Unit->Setup = nullptr; }
|| requires(S& s) { s.FindDotName(DotKey{})->Strength = 1; };
template <class S>
concept BuilderRecordsChange = requires(S& s) {
    ScenarioBuilder::Edit(s.SetupList()[0]).Col = 1;
}
&&requires(S& s) { ScenarioBuilder::Edit(s.OobList()[0]).Strength = 1; };
static_assert(!RecordsChange<Scenario> && BuilderRecordsChange<Scenario>);

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The editor, the map window and the command line change a scenario only
// through the edit operations: none of their sources names the builder.
TEST(HistoryOnly, NoProgramSourceUsesTheUnrecordedEntryPoint) {
    const std::filesystem::path root = std::filesystem::path(VARNO_DEMO_DIR).parent_path();
    std::vector<std::string> offenders;
    std::size_t sources = 0;
    for (const char* dir : {"editor", "mapview", "cli"}) {
        for (const auto& file : std::filesystem::recursive_directory_iterator(root / dir)) {
            const std::string ext = file.path().extension().string();
            if (ext != ".cpp" && ext != ".h") continue;
            ++sources;
            if (ReadAll(file.path()).find("ScenarioBuilder") != std::string::npos)
                offenders.push_back(file.path().string());
        }
    }
    EXPECT_GT(sources, 50u);  // the folders were found
    EXPECT_EQ(offenders, std::vector<std::string>{});
}

}  // namespace
