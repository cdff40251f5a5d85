// Records as text for copy and paste: the file's own lines both ways, what a
// pasted text leaves out, and what the scenario pasted into refuses.
#include <gtest/gtest.h>

#include <random>

#include "scenario/cliptext.h"
#include "scenario/oobreader.h"
#include "scenario/recordlines.h"
#include "tests/scenario/test_scn_fixture.h"

using namespace scntest;

namespace {

EntryLookup LookupIn(Scenario& scn) {
    return [&scn](const DotKey& key) { return scn.FindDotName(key); };
}

template <class R> std::vector<const R*> Pick(RecordList<R> list, std::mt19937& rng) {
    std::vector<const R*> out;
    for (const R* r : list)
        if (rng() % 3 == 0) out.push_back(r);
    return out;
}

template <class R> std::vector<const R*> Pointers(const std::vector<R>& list) {
    std::vector<const R*> out;
    for (const R& r : list) out.push_back(&r);
    return out;
}

// The lines of a scenario's records of one kind, each record's own.
std::string Lines(const CopiedRecords& set) { return RecordText(set); }

}  // namespace

// Any selection of the demo scenario's records, as text and read back
// against the same order of battle, gives the same records: each line the
// same, each command in its group.
TEST(RecordText, CopiedRecordsReadBackAsTheyWere) {
    Scenario scn;
    RecordingListener listener;
    const std::string path = std::string(VARNO_DEMO_DIR) + "/DEMO.SCN";
    ReadOob(scn, path, listener);
    ReadScenario(scn, path, listener);
    ASSERT_FALSE(scn.SetupList().empty());
    ASSERT_FALSE(scn.ReinfList().empty());
    ASSERT_FALSE(scn.ReleaseList().empty());
    ASSERT_FALSE(scn.CommandList().empty());
    std::mt19937 rng(7);
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        CopiedRecords copied{Pick(scn.SetupList(), rng), Pick(scn.ReinfList(), rng), Pick(scn.ReleaseList(), rng),
                             Pick(scn.CommandList(), rng)};
        const std::string text = RecordText(copied);
        const PastedText pasted = ReadRecordText(text, LookupIn(scn));
        EXPECT_TRUE(pasted.BadLines.empty());
        EXPECT_EQ(pasted.UnknownUnits, 0u);
        EXPECT_EQ(PasteMessage(pasted), "");
        const CopiedRecords back{Pointers(pasted.Setups), Pointers(pasted.Groups), Pointers(pasted.Releases),
                                 Pointers(pasted.Commands)};
        EXPECT_EQ(Lines(back), text);
        ASSERT_EQ(pasted.Commands.size(), copied.Commands.size());
        // Commands come grouped; within a group in their order.
        std::vector<std::pair<int, std::string>> want, got;
        for (const TCommandRec* c : copied.Commands) {
            std::string line;
            AppendCommandLine(line, *c);
            want.emplace_back(c->Group, line);
        }
        for (const TCommandRec& c : pasted.Commands) {
            std::string line;
            AppendCommandLine(line, c);
            got.emplace_back(c.Group, line);
        }
        std::stable_sort(want.begin(), want.end(), [](auto& a, auto& b) { return a.first < b.first; });
        EXPECT_EQ(got, want);
    }
}

// Texts typed or pasted from elsewhere: what reads, what names no unit,
// which lines do not read; LF or CR LF, blank lines not counted.
TEST(RecordText, PastedTextLeavesOutWhatItCannotRead) {
    struct Case {
        const char* name;
        std::string text;
        std::size_t setups, groups, releases, commands;
        std::size_t lines, unknown;
        std::vector<std::size_t> bad;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"a placement, a group of two, a release, LF",
         "1 1.3 4 4 120 0 0 512 3 4\n2 1863 7 1 8 0 100 0 5 6 2 1\n    1.4\n    1.5\n4 1863 7 1 8 0 60 1.3\n",
         1,
         1,
         1,
         0,
         5,
         0,
         {},
         ""},
        {"unknown units, blank lines between",
         "1 9.9 1 4 1 0 0 0 1 1\r\n\r\n1 1.3 1 4 1 0 0 0 1 1\r\n   \r\n4 1863 7 1 8 0 7.7\r\n",
         1,
         0,
         0,
         0,
         3,
         2,
         {},
         "2 of 3 lines name units that are not in the order of battle"},
        {"lines that do not read, by number",
         "1 1.3 1 x 5\n3 misc\nhello\n2 1863 7 1 8 0 100 0 5 6 11 1\n    1.4\n4 1863 x 1.3\n",
         0,
         0,
         0,
         0,
         6,
         0,
         {1, 2, 3, 4, 5, 6},
         "6 lines do not read: lines 1, 2, 3, 4, 5, 6"},
        {"a unit line past the group's count, a group line alone",
         "2 1863 7 1 8 0 100 0 5 6 1 1\n    1.4\n    1.5\n2 1863 7 1 8 0 100 0 5 6 1 1\n1 1.3 1 4 1 0 0 0 1 1\n",
         1,
         1,
         0,
         0,
         5,
         0,
         {3, 4},
         "2 lines do not read: lines 3, 4"},
        {"a group whose one unit is unknown goes",
         "2 1863 7 1 8 0 100 0 5 6 1 1\n    8.8\n",
         0,
         0,
         0,
         0,
         2,
         1,
         {},
         "1 of 2 lines names a unit that is not in the order of battle"},
        {"commands by group, one before any count line",
         "0\n3 0\n1.3 1863 7 1 8 0 1 1 3\n1\n1.4 1863 7 1 8 0 1 1 3\n0\n2\n1.5 1863 7 1 8 0 1 1 2\n2.2 1863 7 1 8 0 1 "
         "1 "
         "1\n",
         0,
         0,
         0,
         4,
         9,
         0,
         {},
         ""},
        {"commands of a ninth group",
         "0\n9 0\n0\n0\n0\n0\n0\n0\n0\n0\n1\n1.3 1863 7 1 8 0 1 1 3\n",
         0,
         0,
         0,
         0,
         12,
         0,
         {12},
         "1 line does not read: line 12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Scenario scn;
        SmallOob(scn);
        const PastedText p = ReadRecordText(c.text, LookupIn(scn));
        EXPECT_EQ(p.Setups.size(), c.setups);
        EXPECT_EQ(p.Groups.size(), c.groups);
        EXPECT_EQ(p.Releases.size(), c.releases);
        EXPECT_EQ(p.Commands.size(), c.commands);
        EXPECT_EQ(p.Lines, c.lines);
        EXPECT_EQ(p.UnknownUnits, c.unknown);
        EXPECT_EQ(p.BadLines, c.bad);
        EXPECT_EQ(PasteMessage(p), c.message);
    }
    // The commands' groups: before any count line group 1, then by count line.
    Scenario scn;
    SmallOob(scn);
    const PastedText p = ReadRecordText(cases[5].text, LookupIn(scn));
    ASSERT_EQ(p.Commands.size(), 4u);
    EXPECT_EQ(p.Commands[0].Group, 1);
    EXPECT_EQ(p.Commands[1].Group, 1);
    EXPECT_EQ(p.Commands[2].Group, 3);
    EXPECT_EQ(p.Commands[3].Group, 3);
    EXPECT_EQ(p.Commands[3].Command, 1);
    // A pasted release without a chance arrives on time.
    const PastedText r = ReadRecordText("4 1863 7 1 8 0 1.3\r\n", LookupIn(scn));
    ASSERT_EQ(r.Releases.size(), 1u);
    EXPECT_EQ(r.Releases[0].Chance, 100);
    EXPECT_EQ(r.Releases[0].Year, 63);

    std::string huge(kPasteTextMax + 1, '\n');
    const PastedText big = ReadRecordText(huge, LookupIn(scn));
    EXPECT_TRUE(big.TooLarge);
    EXPECT_EQ(big.records(), 0u);
    EXPECT_NE(PasteMessage(big).find("too large"), std::string::npos);
}

// What Add would refuse is left out and counted: against the scenario pasted
// into and against records earlier in the same text; wagons may repeat.
TEST(RecordText, PasteKeepsWhatAddWouldAllow) {
    Scenario scn;
    SmallOob(scn);
    RecordingListener listener;
    ReadText(scn,
             Crlf({"H1", "H2", "H3", "H4", "H5", "H6", "H7", "H8", "H9", "1 1.3 1 4 100 0 0 0 1 1",
                   "2 1863 7 1 8 0 100 0 5 6 1 1", "    1.4", "4 1863 7 1 8 0 1.5"}),
             listener);
    const std::string text = "1 1.3 1 4 1 0 0 0 2 2\n"  // placed already
                             "1 1.2 1 4 1 0 0 0 2 2\n"  // a wagon: again and again
                             "1 1.2 1 4 1 0 0 0 3 3\n"  //
                             "1 2.3 1 4 1 0 0 0 2 2\n"  // placed here
                             "1 2.3 1 4 1 0 0 0 4 4\n"  // and again in the same text
                             "1 2 1 4 1 0 0 0 4 4\n"    // an organisation
                             "2 1863 7 1 8 0 100 0 5 6 3 1\n"
                             "    1.4\n"  // in a group already
                             "    2.2\n"  //
                             "    2\n"    // an organisation
                             "2 1863 7 1 8 0 100 0 5 6 1 1\n"
                             "    2.2\n"              // in the group above: the group goes
                             "4 1863 7 1 8 0 1.5\n"   // released already
                             "4 1863 7 1 8 0 1.3\n"   //
                             "4 1863 7 1 8 0 1.3\n";  // twice in the text
    PastedText p = ReadRecordText(text, LookupIn(scn));
    KeepAddable(p, scn.ReleaseList(), scn.ReinfList());
    EXPECT_EQ(p.Setups.size(), 3u);
    ASSERT_EQ(p.Groups.size(), 1u);
    EXPECT_EQ(p.Groups[0].Count, 1);
    EXPECT_EQ(DotName(*p.Groups[0].Units[0]), "2.2");
    EXPECT_EQ(p.Groups[0].Units[1], nullptr);
    EXPECT_EQ(p.Releases.size(), 1u);
    EXPECT_EQ(PasteMessage(p), "2 lines name units placed already; 2 lines name units released already; 2 lines "
                               "name units in a group already; 2 lines place organisations, which cannot be placed");
}
