// Editing several records together: what the page shows of them, and that a
// store sets the fields the user changed and keeps each record's own others.
#include <gtest/gtest.h>

#include <functional>

#include "scenario/editrules.h"
#include "scenario/sharedfields.h"
#include "tests/scenario/test_scn_fixture.h"

using namespace scntest;

namespace {

TSetupRec Placed(const TOobRec* unit, int strength, int facing, int fatigue, std::uint32_t flags) {
    TSetupRec r;
    r.Unit = unit;
    r.Strength = static_cast<std::uint8_t>(strength);
    r.Facing = static_cast<std::uint8_t>(facing);
    r.Fatigue = static_cast<std::uint8_t>(fatigue);
    r.Flags = flags;
    r.Col = 3;
    r.Row = 4;
    return r;
}

constexpr std::uint32_t Field(int i) { return 1u << i; }
enum { kCol, kRow, kStrength, kFacing, kFatigue };

}  // namespace

TEST(SharedFields, PlacementsStoreOnlyWhatTheUserChanged) {
    Scenario scn;
    SmallOob(scn);
    const TOobRec* unit1 = Entry(scn, "1.3");
    const TOobRec* unit2 = Entry(scn, "1.4");
    const TOobRec* leader = Entry(scn, "1.1");
    const TOobRec* wagon = Entry(scn, "1.2");
    constexpr std::uint32_t odd = 0x8000;  // a bit no box stands for

    struct Case {
        const char* name;
        std::vector<TSetupRec> recs;
        // What the page shows: mixed fields, mixed flags, absent fields, flag boxes enabled.
        std::uint32_t mixed, mixedFlags, absent, rules;
        std::function<void(Shared<SetupFields>&)> edit;  // the user's changes to the page
        std::vector<SetupFields> stored;
    };
    const std::vector<Case> cases = {
        {"a blank field left blank, a shared one changed, a box cleared, a partly checked box left",
         {Placed(unit1, 100, 1, 5, sfFixed | sfLowAmmo), Placed(unit2, 100, 2, 5, sfFixed)},
         Field(kFacing),
         sfLowAmmo,
         0,
         SetupRulesFor('U').Flags,
         [](Shared<SetupFields>& p) {
             p.Values.Strength = 90;
             p.Values.Flags &= ~std::uint32_t{sfFixed};
         },
         {{3, 4, 90, 1, 5, sfLowAmmo}, {3, 4, 90, 2, 5, 0}}},
        {"a blank field filled in, a partly checked box checked",
         {Placed(unit1, 100, 1, 5, sfLowAmmo), Placed(unit2, 90, 2, 6, 0)},
         Field(kStrength) | Field(kFacing) | Field(kFatigue),
         sfLowAmmo,
         0,
         SetupRulesFor('U').Flags,
         [](Shared<SetupFields>& p) {
             p.Mixed &= ~Field(kFacing);
             p.Values.Facing = 8;
             p.MixedFlags = 0;
             p.Values.Flags |= sfLowAmmo;
         },
         {{3, 4, 100, 8, 5, sfLowAmmo}, {3, 4, 90, 8, 6, sfLowAmmo}}},
        {"nothing changed keeps every record, bits no box stands for too",
         {Placed(unit1, 100, 1, 5, sfLowAmmo | odd), Placed(unit2, 90, 2, 6, odd)},
         Field(kStrength) | Field(kFacing) | Field(kFatigue),
         sfLowAmmo,
         0,
         SetupRulesFor('U').Flags,
         [](Shared<SetupFields>&) {},
         {{3, 4, 100, 1, 5, sfLowAmmo | odd}, {3, 4, 90, 2, 6, odd}}},
        {"a leader's fatigue and ammunition are not his: shared among the units only, set on them only",
         {Placed(leader, 0, 1, 0, sfMounted), Placed(unit1, 100, 1, 5, 0), Placed(unit2, 100, 1, 5, sfMounted)},
         Field(kStrength),
         sfMounted,
         0,
         SetupRulesFor('U').Flags | SetupRulesFor('L').Flags,
         [](Shared<SetupFields>& p) {
             p.Values.Fatigue = 9;
             p.Values.Flags |= sfLowAmmo | sfFixed;
         },
         {{3, 4, 0, 1, 0, sfMounted | sfFixed},
          {3, 4, 100, 1, 9, sfLowAmmo | sfFixed},
          {3, 4, 100, 1, 9, sfMounted | sfLowAmmo | sfFixed}}},
        {"leaders and wagons alone have no fatigue",
         {Placed(leader, 0, 1, 3, sfMounted), Placed(wagon, 50, 1, 0, 0)},
         Field(kStrength),
         0,
         Field(kFatigue),
         SetupRulesFor('L').Flags,
         [](Shared<SetupFields>& p) { p.Values.Col = 12; },
         {{12, 4, 0, 1, 3, sfMounted}, {12, 4, 50, 1, 0, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<TSetupRec> recs = c.recs;
        std::vector<const TSetupRec*> ptrs;
        for (TSetupRec& r : recs) ptrs.push_back(&r);
        const Shared<SetupFields> shown = ShareFields(ptrs);
        EXPECT_EQ(shown.Mixed, c.mixed);
        EXPECT_EQ(shown.MixedFlags, c.mixedFlags);
        EXPECT_EQ(shown.Absent, c.absent);
        EXPECT_EQ(shown.FlagRules, c.rules);
        EXPECT_EQ(shown.Values.Flags & shown.MixedFlags, 0u) << "a partly checked box shows no check";
        Shared<SetupFields> page = shown;
        c.edit(page);
        const FieldChanges changes = ChangesOf(shown, page);
        for (std::size_t i = 0; i < recs.size(); ++i) EXPECT_EQ(MergeFields(recs[i], page, changes), c.stored[i]) << i;
    }
}

// The timed pages work alike: a date for many releases, a chance, a command group.
TEST(SharedFields, TimedPagesStoreOnlyWhatTheUserChanged) {
    TReleaseRec r1{63, 7, 1, 8, 0, 80, nullptr}, r2{63, 7, 2, 8, 20, 80, nullptr};
    const Shared<ReleaseFields> rs = ShareFields(std::vector<const TReleaseRec*>{&r1, &r2});
    EXPECT_EQ(rs.Mixed, Field(2) | Field(4));  // day and minute
    EXPECT_EQ(rs.Values.Chance, 80);
    Shared<ReleaseFields> rp = rs;
    rp.Values.Chance = 50;
    rp.Mixed &= ~Field(2);
    rp.Values.When.Day = 3;
    const FieldChanges rc = ChangesOf(rs, rp);
    EXPECT_EQ(MergeFields(r1, rp, rc), (ReleaseFields{{1863, 7, 3, 8, 0}, 50}));
    EXPECT_EQ(MergeFields(r2, rp, rc), (ReleaseFields{{1863, 7, 3, 8, 20}, 50}));

    TCommandRec c1{2, 63, 7, 1, 8, 0, 10, 11, 3, nullptr}, c2{5, 63, 7, 1, 8, 0, 12, 11, 1, nullptr};
    const Shared<CommandFields> cs = ShareFields(std::vector<const TCommandRec*>{&c1, &c2});
    EXPECT_EQ(cs.Mixed, Field(5) | Field(6) | Field(8));  // group, column, command
    Shared<CommandFields> cp = cs;
    cp.Mixed &= ~Field(5);
    cp.Values.Group = 4;
    cp.Values.Row = 20;
    const FieldChanges cc = ChangesOf(cs, cp);
    EXPECT_EQ(MergeFields(c1, cp, cc), (CommandFields{{1863, 7, 1, 8, 0}, 4, 10, 20, 3}));
    EXPECT_EQ(MergeFields(c2, cp, cc), (CommandFields{{1863, 7, 1, 8, 0}, 4, 12, 20, 1}));

    TReinfGroup g1, g2;
    g1.Col = g2.Col = 5;
    g1.Chance = 100;
    g2.Chance = 60;
    const Shared<GroupFields> gs = ShareFields(std::vector<const TReinfGroup*>{&g1, &g2});
    EXPECT_EQ(gs.Mixed, Field(5));
    Shared<GroupFields> gp = gs;
    gp.Values.Col = 9;
    const FieldChanges gc = ChangesOf(gs, gp);
    EXPECT_EQ(MergeFields(g1, gp, gc).Col, 9);
    EXPECT_EQ(MergeFields(g2, gp, gc).Chance, 60);

    // No selection: the page's defaults, nothing blank.
    const Shared<ReleaseFields> none = ShareFields(std::vector<const TReleaseRec*>{});
    EXPECT_EQ(none.Mixed, 0u);
    EXPECT_EQ(none.Values, ReleaseFields{});
}
