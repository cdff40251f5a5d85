// Where the map's overlays go and what lies under a point, without a window:
// arrival markers stacked per hex, the arrow of an order for each place its
// entry can stand, the stacks the clock adds, and the hit order.
#include <QTest>

#include "mapview/overlaygeom.h"
#include "scenario/records.h"
#include "scenario/scenario.h"
#include "scenario/scenariobuilder.h"

using namespace varno;

namespace {

SchedDate D(int day, int hour) { return PackDate(63, 7, day, hour, 0); }

template <class R> void SetDate(R& r, SchedDate d) {
    r.Year = static_cast<std::uint8_t>(d >> 32);
    r.Month = static_cast<std::uint8_t>(d >> 24);
    r.Day = static_cast<std::uint8_t>(d >> 16);
    r.Hour = static_cast<std::uint8_t>(d >> 8);
    r.Minute = static_cast<std::uint8_t>(d);
}

// Entries 0 to 5: units placed at 2,3 (fixed until day 1 09:00), placed at
// 2,3 (fixed, never released), arriving at 10,4 with group 0, arriving at
// 10,4 with group 1 (a later group on the same hex), arriving at 6,8 with
// group 2, and a unit that stands nowhere.
struct Board {
    Scenario scn;
    std::vector<TOobRec*> e;
    Board() {
        for (int i = 0; i < 6; ++i) {
            TOobRec* entry = &ScenarioBuilder(scn).NewOobRec();
            entry->Kind = 'U';
            entry->Side = static_cast<std::uint8_t>(i % 2);
            entry->Display = "unit " + std::to_string(i);
            e.push_back(entry);
        }
        for (int i = 0; i < 2; ++i) {
            TSetupRec& setup = ScenarioBuilder(scn).NewSetup();
            setup.Unit = e[static_cast<std::size_t>(i)];
            setup.Col = 2;
            setup.Row = 3;
            setup.Flags = sfFixed;
        }
        TReleaseRec& rel = ScenarioBuilder(scn).NewRelease();
        rel.Unit = e[0];
        rel.Chance = 80;
        SetDate(rel, D(1, 9));
        group(e[2], 10, 4, D(1, 12), 100);
        group(e[3], 10, 4, D(2, 6), 50);
        group(e[4], 6, 8, D(2, 10), 100);
        command(e[0], 20, 20, D(1, 6));  // 0: from a placement
        command(e[2], 21, 21, D(2, 6));  // 1: from a group's hex
        command(e[5], 22, 22, D(1, 6));  // 2: from nowhere
        command(e[4], 6, 8, D(1, 6));    // 3: to its own hex
        command(e[0], 23, 23, D(2, 6));  // 4: supersedes 0 on day 2
    }
    void group(TOobRec* unit, int col, int row, SchedDate d, int chance) {
        TReinfGroup* g = &ScenarioBuilder(scn).NewReinfGroup();
        g->Units[0] = unit;
        g->Count = 1;
        g->Col = static_cast<std::uint8_t>(col);
        g->Row = static_cast<std::uint8_t>(row);
        g->Chance = static_cast<std::uint8_t>(chance);
        g->ProtHexes = 3;
        SetDate(*g, d);
    }
    void command(TOobRec* unit, int col, int row, SchedDate d) {
        TCommandRec& cmd = ScenarioBuilder(scn).NewCommand();
        cmd.Unit = unit;
        cmd.Col = static_cast<std::uint8_t>(col);
        cmd.Row = static_cast<std::uint8_t>(row);
        cmd.Group = 4;
        cmd.Command = 3;
        SetDate(cmd, d);
    }
    OverlayLayout layout(ClockTime t, OverlaySet on = {true, true, true}) const {
        return LayOutOverlays(scn, PlanAt(scn, t), on);
    }
};

PixelPos Centre(int col, int row) { return HexCentre(col, row); }

}  // namespace

class TestOverlayGeom : public QObject {
    Q_OBJECT

private slots:
    void overlayNames() {
        const struct {
            const char* text;
            bool ok;
            OverlaySet on;
        } cases[] = {
            {"arrivals,orders,releases", true, {true, true, true}},
            {"Orders", true, {false, true, false}},
            {"releases, arrivals", true, {true, false, true}},
            {"all", true, {true, true, true}},
            {"", true, {}},
            {"none", true, {}},
            {"arrivals,,orders", true, {true, true, false}},
            {"arrows", false, {}},
        };
        for (const auto& c : cases) {
            const auto got = ParseOverlayList(c.text);
            QVERIFY2(got.has_value() == c.ok, c.text);
            if (got) QVERIFY2(*got == c.on, c.text);
        }
    }

    // Markers: every group, above its hex; a later group on the same hex
    // one marker higher. The time as the marker writes it.
    void arrivalMarkers() {
        const Board b;
        const OverlayLayout l = b.layout(ClockTime::AtStart());
        QCOMPARE(l.Markers.size(), std::size_t{3});
        const PixelPos c = Centre(10, 4);
        const PixelRect first{c.X - 35, c.Y - 29, 70, 13}, second{c.X - 35, c.Y - 42, 70, 13};
        QVERIFY(l.Markers[0].Rect == first);
        QVERIFY(l.Markers[1].Rect == second);
        QVERIFY(l.Markers[2].Rect == MarkerRect({6, 8}, 0));
        QCOMPARE(l.Markers[1].Group, 1);
        // Just above the stack image of its hex, never over it.
        QCOMPARE(first.Y + first.H, StackCorner(10, 4).Y);
        QCOMPARE(MarkerTime(D(2, 6)), std::string("07-02 06:00"));
        // Kept within the picture at its edges.
        QCOMPARE(MarkerRect({0, 5}, 0).X, 0);
        const PixelRect last = MarkerRect({39, 5}, 0, 26 * 39 + 46);
        QCOMPARE(last.X + last.W, 26 * 39 + 46);
        // Off: none.
        QVERIFY(b.layout(ClockTime::AtStart(), {false, true, true}).Markers.empty());
    }

    // Arrows for each place of the order's entry, at a time when orders 0
    // and 4 of the same entry are both past (0 superseded).
    void orderArrows() {
        const Board b;
        const OverlayLayout start = b.layout(ClockTime::AtStart());
        // At Start every order is still to come; the one from nowhere has no arrow.
        QCOMPARE(start.Arrows.size(), std::size_t{4});
        for (const OrderArrow& a : start.Arrows) QVERIFY(!a.InEffect);
        const struct {
            int command;
            PixelPos tail, head;
            UnitPlaceKind from;
        } atStart[] = {
            {0, Centre(2, 3), Centre(20, 20), UnitPlaceKind::Placed},
            {1, Centre(10, 4), Centre(21, 21), UnitPlaceKind::Arriving},
            {3, Centre(6, 8), Centre(6, 8), UnitPlaceKind::Arriving},
            {4, Centre(2, 3), Centre(23, 23), UnitPlaceKind::Placed},
        };
        for (std::size_t i = 0; i < 4; ++i) {
            QCOMPARE(start.Arrows[i].Command, atStart[i].command);
            QVERIFY(start.Arrows[i].Tail == atStart[i].tail);
            QVERIFY(start.Arrows[i].Head == atStart[i].head);
            QVERIFY(start.Arrows[i].From == atStart[i].from);
        }
        // Day 1 at noon: 0 and 3 in effect (drawn after those to come), 4 still to come.
        const OverlayLayout noon = b.layout(ClockTime::At(D(1, 12)));
        std::vector<std::pair<int, bool>> got;
        for (const OrderArrow& a : noon.Arrows) got.emplace_back(a.Command, a.InEffect);
        QVERIFY((got == std::vector<std::pair<int, bool>>{{1, false}, {4, false}, {0, true}, {3, true}}));
        // Day 2: 4 supersedes 0, which goes.
        got.clear();
        for (const OrderArrow& a : b.layout(ClockTime::At(D(2, 6))).Arrows) got.emplace_back(a.Command, a.InEffect);
        QVERIFY((got == std::vector<std::pair<int, bool>>{{1, true}, {3, true}, {4, true}}));
        // The disc with the group's number: behind the head on the shaft, on
        // the ring for an order to the entry's own hex.
        const OrderArrow& across = start.Arrows[0];
        const PixelPos disc = ArrowDisc(across);
        QVERIFY(disc.X < across.Head.X && disc.Y < across.Head.Y);  // toward the tail (up and left)
        const double back = std::hypot(double(disc.X - across.Head.X), double(disc.Y - across.Head.Y));
        QVERIFY(std::abs(back - (kArrowHeadLength + kArrowDiscRadius)) <= 1.0);
        const PixelPos ringDisc = ArrowDisc(start.Arrows[2]);
        QVERIFY(std::abs(std::hypot(double(ringDisc.X - Centre(6, 8).X), double(ringDisc.Y - Centre(6, 8).Y)) -
                         kRingRadius) <= 1.0);
        for (const OrderArrow& a : start.Arrows) {
            const PixelRect r = ArrowBounds(a);
            for (const PixelPos p : {a.Tail, a.Head, ArrowDisc(a)})
                QVERIFY(p.X - kArrowDiscRadius >= r.X && p.X + kArrowDiscRadius < r.X + r.W &&
                        p.Y - kArrowDiscRadius >= r.Y && p.Y + kArrowDiscRadius < r.Y + r.H);
        }
    }

    // What the clock adds: hatched stacks of placements still fixed, the
    // stacks of the groups arrived, per hex.
    void stacksAtATime() {
        const Board b;
        const struct {
            ClockTime t;
            std::vector<int> fixedAt23;  // placements hatched at 2,3
            std::vector<std::vector<int>> arrived;
        } cases[] = {
            {ClockTime::AtStart(), {0, 1}, {}},
            {ClockTime::At(D(1, 9)), {1}, {}},
            {ClockTime::At(D(1, 12)), {1}, {{0}}},
            {ClockTime::At(D(2, 10)), {1}, {{0, 1}, {2}}},
        };
        for (const auto& c : cases) {
            const OverlayLayout l = b.layout(c.t);
            QCOMPARE(l.FixedStacks.size(), std::size_t{1});
            QVERIFY(l.FixedStacks[0].Hex == (HexPos{2, 3}));
            QVERIFY((l.FixedStacks[0].Rect == PixelRect{StackCorner(2, 3).X, StackCorner(2, 3).Y, 32, 32}));
            QVERIFY(l.FixedStacks[0].Records == c.fixedAt23);
            QCOMPARE(l.ArrivedStacks.size(), c.arrived.size());
            for (std::size_t i = 0; i < c.arrived.size(); ++i) QVERIFY(l.ArrivedStacks[i].Records == c.arrived[i]);
            // Without the Releases overlay nothing is hatched; arrivals stay.
            const OverlayLayout off = b.layout(c.t, {});
            QVERIFY(off.FixedStacks.empty() && off.Arrows.empty() && off.Markers.empty());
            QCOMPARE(off.ArrivedStacks.size(), c.arrived.size());
        }
        // An arrived stack's units face as their group and keep their side.
        Board two;
        ScenarioBuilder::Edit(two.scn.ReinfList()[0]).Facing = 4;
        const OverlayLayout l = two.layout(ClockTime::At(D(1, 12)));
        const std::vector<StackUnit> units = ArrivedUnits(two.scn, l.ArrivedStacks[0]);
        QCOMPARE(units.size(), std::size_t{1});
        QCOMPARE(units[0].IconNumber, 2);
        QCOMPARE(int(units[0].Side), 0);
    }

    // The topmost item under a point, and what a click on it selects.
    void hits() {
        const Board b;
        const ClockTime t = ClockTime::At(D(1, 12));
        const ScenarioPlan plan = PlanAt(b.scn, t);
        const OverlayLayout l = LayOutOverlays(b.scn, plan, {true, true, true});
        const PixelPos marker{MarkerRect({10, 4}, 1).X + 5, MarkerRect({10, 4}, 1).Y + 5};
        const OrderArrow& toTwenty = l.Arrows[2];  // command 0, from 2,3 to 20,20
        const PixelPos mid{(toTwenty.Tail.X + toTwenty.Head.X) / 2, (toTwenty.Tail.Y + toTwenty.Head.Y) / 2};
        // In the stacks, off the arrows that leave them.
        const PixelPos beside{Centre(2, 3).X - 10, Centre(2, 3).Y + 10};
        const PixelPos arrived{Centre(10, 4).X - 10, Centre(10, 4).Y + 5};
        const struct {
            const char* what;
            PixelPos at;
            OverlayItem item;
            int index;
            std::optional<OverlayRecord> record;
        } cases[] = {
            {"marker", marker, OverlayItem::Marker, 1, OverlayRecord{ScnListBox::Reinfor, 1}},
            {"head", toTwenty.Head, OverlayItem::ArrowHead, 2, OverlayRecord{ScnListBox::Commands, 0}},
            {"disc", ArrowDisc(toTwenty), OverlayItem::ArrowHead, 2, OverlayRecord{ScnListBox::Commands, 0}},
            {"shaft", mid, OverlayItem::Arrow, 2, OverlayRecord{ScnListBox::Commands, 0}},
            {"shaft, 3 px off", {mid.X + 3, mid.Y}, OverlayItem::Arrow, 2, OverlayRecord{ScnListBox::Commands, 0}},
            {"arrived stack", arrived, OverlayItem::ArrivedStack, 0, OverlayRecord{ScnListBox::Reinfor, 0}},
            // Its placement still fixed is freed by no release.
            {"hatched stack", beside, OverlayItem::FixedStack, 0, OverlayRecord{ScnListBox::SetUnits, 1}},
            {"nothing", {600, 20}, OverlayItem::None, -1, std::nullopt},
        };
        for (const auto& c : cases) {
            const OverlayHit hit = HitOverlay(l, c.at, 1);
            QVERIFY2(hit.Item == c.item, c.what);
            QVERIFY2(hit.Index == c.index, c.what);
            QVERIFY2(RecordOf(l, plan, hit) == c.record, c.what);
        }
        // At Start both placements there are fixed; the first one's release is selected.
        const ScenarioPlan start = PlanAt(b.scn, ClockTime::AtStart());
        const OverlayLayout s = LayOutOverlays(b.scn, start, {false, false, true});
        const OverlayHit hatched = HitOverlay(s, beside, 1);
        QVERIFY(hatched.Item == OverlayItem::FixedStack);
        QVERIFY((RecordOf(s, start, hatched) == OverlayRecord{ScnListBox::Releases, 0}));
        QCOMPARE(OverlayText(b.scn, s, start, hatched),
                 std::string("unit 0\nFixed until 1863-07-01 09:00 (80 %)\nunit 1\nFixed: no release"));
        // The texts name the record's list line first.
        QCOMPARE(OverlayText(b.scn, l, plan, {OverlayItem::Marker, 1}),
                 std::string("unit 3\nArrives 1863-07-02 06:00 at 10,4 (50 %): 1 unit, 3 protected hexes"));
        QCOMPARE(OverlayText(b.scn, l, plan, {OverlayItem::Arrow, 0}),
                 std::string("unit 2\nGroup 4 Attack at 21,21 from 1863-07-02 06:00, not yet in effect\n"
                             "From 10,4, where it arrives 1863-07-01 12:00"));
        QCOMPARE(OverlayText(b.scn, l, plan, {OverlayItem::ArrowHead, 2}),
                 std::string("unit 0\nGroup 4 Attack at 20,20 from 1863-07-01 06:00, in effect\n"
                             "From 2,3, where it is placed"));
    }

    void segmentsAgainstRectangles() {
        const PixelRect r{10, 10, 20, 20};  // x and y 10 to 29
        const struct {
            PixelPos a, b;
            int margin;
            bool meets;
        } cases[] = {
            {{0, 0}, {40, 40}, 0, true},     // across
            {{15, 15}, {16, 16}, 0, true},   // inside
            {{0, 0}, {9, 20}, 0, false},     // left of it
            {{0, 0}, {9, 20}, 1, true},      // within the margin
            {{0, 50}, {50, 31}, 0, false},   // below, slanting
            {{19, 0}, {40, 21}, 0, true},    // touches the top right corner
            {{21, 0}, {40, 19}, 0, false},   // passes it by
            {{29, 29}, {29, 29}, 0, true},   // a point on the edge
            {{30, 29}, {30, 29}, 0, false},  // a point beside it
        };
        for (const auto& c : cases) {
            QCOMPARE(SegmentMeetsRect(c.a, c.b, r, c.margin), c.meets);
            QCOMPARE(SegmentMeetsRect(c.b, c.a, r, c.margin), c.meets);
        }
    }
};

QTEST_GUILESS_MAIN(TestOverlayGeom)
#include "test_overlaygeom.moc"
