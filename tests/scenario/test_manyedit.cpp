// Actions on many records at once: a paste into another scenario of the same
// game gives the copied lines back in its file, a removal of a selection is
// one step that an undo takes back whole, and the names of the steps.
#include <gtest/gtest.h>

#include <random>

#include "scenario/cliptext.h"
#include "scenario/manyedit.h"
#include "scenario/oobreader.h"
#include "scenario/scnwriter.h"
#include "tests/scenario/test_scn_fixture.h"

using namespace scntest;

namespace {

const std::string kDemo = std::string(VARNO_DEMO_DIR) + "/DEMO.SCN";

template <class R> std::vector<const R*> Some(RecordList<R> list, std::mt19937& rng) {
    std::vector<const R*> out;
    for (const R* r : list)
        if (rng() % 4 == 0) out.push_back(r);
    return out;
}

// The lines of a text, each with its CR LF.
std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        lines.push_back(text.substr(at, end - at));
        at = end == std::string::npos ? text.size() : end + 2;
    }
    return lines;
}

}  // namespace

// Any selection of the demo's records copied and pasted into an empty
// scenario of the same game, then saved: the file holds the copied lines,
// each kind in its section and order.
TEST(ManyEdit, PastedRecordsSaveAsTheCopiedLines) {
    Scenario demo;
    RecordingListener read;
    ReadOob(demo, kDemo, read);
    ReadScenario(demo, kDemo, read);
    std::mt19937 rng(11);
    for (int round = 0; round < 30; ++round) {
        SCOPED_TRACE(round);
        CopiedRecords copied{
            Some(demo.SetupList(), rng), Some(demo.ReinfList(), rng), Some(demo.ReleaseList(), rng), {}};
        Scenario empty;
        RecordingListener oob;
        ReadOob(empty, kDemo, oob);
        PastedText pasted =
            ReadRecordText(RecordText(copied), [&empty](const DotKey& k) { return empty.FindDotName(k); });
        KeepAddable(pasted, empty.ReleaseList(), empty.ReinfList());
        EXPECT_EQ(PasteMessage(pasted), "");
        EditListener none;
        EditStep step;
        const AddedRecords added = AddPasted(empty, pasted, none, step);
        EXPECT_EQ(added.size(), copied.size());
        const std::vector<std::string> saved =
            LinesOf(ScenarioText(empty, WriteOptions{.SortByCol = false, .V103 = false}, nullptr));
        // The records follow the nine header lines as the text has them (the
        // releases with their chances, as a save without "V 1.03" writes them).
        const std::vector<std::string> want = LinesOf(RecordText(copied));
        ASSERT_GE(saved.size(), 9 + want.size());
        EXPECT_EQ(std::vector<std::string>(saved.begin() + 9, saved.begin() + 9 + static_cast<long>(want.size())),
                  want);
    }
}

// Removing a selection is one step: its undo puts every record back at its
// place, in list and list box; its name counts the records.
TEST(ManyEdit, RemovingASelectionIsOneStep) {
    Scenario scn;
    RecordingListener read;
    ReadOob(scn, kDemo, read);
    ReadScenario(scn, kDemo, read);
    const std::vector<const TSetupRec*> before(scn.SetupList().begin(), scn.SetupList().end());
    ASSERT_GE(before.size(), 6u);
    // Out of list order, one twice, one taken out before.
    EditListener none;
    EditStep first;
    ASSERT_TRUE(RemoveSetup(scn, before[5], none, first));
    EditStep step;
    const std::vector<const TSetupRec*> chosen = {before[3], before[0], before[3], before[5], before[1]};
    EXPECT_EQ(RemoveRecords(scn, chosen, none, step), 3u);
    EXPECT_EQ(scn.SetupList().size(), before.size() - 4);
    EXPECT_EQ(scn.SetupList()[0], before[2]);
    EXPECT_EQ(CountedName("Remove", 3, RecordNoun(before[0], false), RecordNoun(before[0], true)),
              "Remove 3 placements");
    EXPECT_EQ(CountedName("Remove", 1, "release", "releases"), "Remove 1 release");
    Undo(scn, step, none);
    Undo(scn, first, none);
    EXPECT_EQ(std::vector<const TSetupRec*>(scn.SetupList().begin(), scn.SetupList().end()), before);
}
