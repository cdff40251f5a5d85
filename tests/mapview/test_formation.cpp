// Many placements at once on the map: hexes in axial coordinates, the move of
// a formation (its shape, the map's edges, the stacks) and the places of a
// whole organisation dropped on a hex.
#include <QTest>
#include <array>
#include <deque>
#include <random>

#include "mapview/formation.h"
#include "scenario/records.h"

using namespace varno;

Q_DECLARE_METATYPE(std::vector<HexPos>)

namespace {

PixelPos Offset(HexPos a, HexPos b) {
    const PixelPos p = HexCentre(a.Col, a.Row), q = HexCentre(b.Col, b.Row);
    return {q.X - p.X, q.Y - p.Y};
}

// Placements, each of an entry of its own, in the order placed.
struct Board {
    std::deque<TOobRec> entries;
    std::deque<TSetupRec> recs;
    std::vector<const TSetupRec*> setups;

    TSetupRec* place(HexPos hex, char kind = 'U') {
        TOobRec& e = entries.emplace_back();
        e.Kind = kind;
        TSetupRec& r = recs.emplace_back();
        r.Unit = &e;
        r.Col = static_cast<std::uint8_t>(hex.Col);
        r.Row = static_cast<std::uint8_t>(hex.Row);
        e.Setup = &r;
        setups.push_back(&r);
        return &r;
    }
};

}  // namespace

class TestFormation : public QObject {
    Q_OBJECT

private slots:
    // Axial coordinates and back; the six neighbours lie where the picture
    // draws them, and a shifted shape keeps its pixel offsets for every
    // vector, odd columns or even.
    void shapesKeepTheirForm() {
        const PixelPos step[6] = {{0, -30}, {26, -15}, {26, 15}, {0, 30}, {-26, 15}, {-26, -15}};
        for (int col = -3; col < 12; ++col)
            for (int row = -3; row < 12; ++row) {
                const HexPos hex{col, row};
                QCOMPARE(FromAxial(ToAxial(hex)), hex);
                for (int d = 0; d < 6; ++d) {
                    const HexPos n = Neighbour(hex, static_cast<HexDir>(d));
                    QCOMPARE(Offset(hex, n), step[d]);
                    QCOMPARE(HexDistance(hex, n), 1);
                }
                QCOMPARE(Offset(hex, SideStep(hex, true)).X, 26);
            }
        std::mt19937 rng(5);
        auto any = [&] { return HexPos{static_cast<int>(rng() % 40), static_cast<int>(rng() % 40)}; };
        for (int round = 0; round < 500; ++round) {
            const HexPos a = any(), b = any(), from = any(), to = any();
            const HexPos a2 = ShiftHex(a, from, to), b2 = ShiftHex(b, from, to);
            QCOMPARE(ShiftHex(from, from, to), to);
            QCOMPARE(Offset(a2, b2), Offset(a, b));
            QCOMPARE(HexDistance(a2, b2), HexDistance(a, b));
        }
    }

    // A band touches the hexes whose drawn outline it meets: against a
    // pixel by pixel test of the outline polygon, for random small bands.
    void bandTouchesOutlines() {
        auto inside = [](const std::array<PixelPos, 6>& o, int x, int y) {
            for (int i = 0; i < 6; ++i) {
                const PixelPos a = o[i], b = o[(i + 1) % 6];
                if ((b.X - a.X) * (y - a.Y) - (b.Y - a.Y) * (x - a.X) < 0) return false;  // clockwise
            }
            return true;
        };
        std::mt19937 rng(11);
        for (int round = 0; round < 300; ++round) {
            const int left = static_cast<int>(rng() % 300), top = static_cast<int>(rng() % 300);
            const int right = left + static_cast<int>(rng() % 40), bottom = top + static_cast<int>(rng() % 40);
            for (int col = 0; col < 12; ++col)
                for (int row = 0; row < 10; ++row) {
                    bool meets = false;
                    const auto o = HexOutline(col, row);
                    for (int x = left; x <= right && !meets; ++x)
                        for (int y = top; y <= bottom && !meets; ++y) meets = inside(o, x, y);
                    QCOMPARE(HexMeetsRect(col, row, left, top, right, bottom), meets);
                }
        }
        // The placements of the touched hexes, in list order; none off the grid.
        Board board;
        TSetupRec* a = board.place({3, 3});
        board.place({6, 6});
        TSetupRec* b = board.place({3, 3});
        TSetupRec* c = board.place({4, 3});
        board.place({20, 3});
        const PixelPos p = HexCentre(3, 3), q = HexCentre(4, 3);
        QCOMPARE(PlacementsInBand(board.setups, p.X, p.Y, q.X, q.Y, 12, 10), (std::vector<const TSetupRec*>{a, b, c}));
        QVERIFY(PlacementsInBand(board.setups, 0, 0, 5000, 5000, 12, 10).size() == 4u);
    }

    // The spiral: the drop hex, then ring after ring, each hex of the grid
    // once and never a hex off it.
    void spiralCoversTheGridOnce() {
        for (const HexPos centre : {HexPos{5, 5}, HexPos{0, 0}, HexPos{9, 6}, HexPos{3, 0}}) {
            std::vector<HexPos> seen;
            ForEachSpiralHex(centre, 10, 7, [&](HexPos h) {
                seen.push_back(h);
                return true;
            });
            QCOMPARE(int(seen.size()), 70);
            QCOMPARE(seen.front(), centre);
            for (std::size_t i = 1; i < seen.size(); ++i) {
                QVERIFY(HexOnGrid(seen[i], 10, 7));
                QVERIFY(HexDistance(centre, seen[i - 1]) <= HexDistance(centre, seen[i]));
                for (std::size_t j = 0; j < i; ++j) QVERIFY(seen[j] != seen[i]);
            }
        }
    }

    // Moves of a formation: shapes moved by odd and even columns, at the
    // map's edges (refused, counting what would leave), and the stacks the
    // formation enters (one message for the whole move).
    void formationMove_data() {
        QTest::addColumn<std::vector<HexPos>>("shape");     // the moving placements
        QTest::addColumn<std::vector<HexPos>>("others");    // placements that stay
        QTest::addColumn<HexPos>("to");                     // where the first moves
        QTest::addColumn<std::vector<HexPos>>("expected");  // where the moving ones go; empty: refused
        QTest::addColumn<QString>("message");
        using H = std::vector<HexPos>;
        const H wedge{{2, 2}, {3, 2}, {2, 3}, {3, 3}};
        QTest::newRow("one column right: odd columns shift rows")
            << wedge << H{} << HexPos{3, 2} << H{{3, 2}, {4, 1}, {3, 3}, {4, 2}} << "";
        QTest::newRow("two columns right: rows stay")
            << wedge << H{} << HexPos{4, 2} << H{{4, 2}, {5, 2}, {4, 3}, {5, 3}} << "";
        QTest::newRow("from an odd column one left and down")
            << H{{3, 2}, {4, 2}} << H{} << HexPos{2, 3} << H{{2, 3}, {3, 4}} << "";
        QTest::newRow("down one row") << wedge << H{} << HexPos{2, 3} << H{{2, 3}, {3, 3}, {2, 4}, {3, 4}} << "";
        QTest::newRow("onto the last column and row")
            << wedge << H{} << HexPos{8, 8} << H{{8, 8}, {9, 8}, {8, 9}, {9, 9}} << "";
        QTest::newRow("two of four past the right edge")
            << wedge << H{} << HexPos{9, 2} << H{} << "The move would take 2 of 4 placements off the map.";
        QTest::newRow("one above the top")
            << wedge << H{} << HexPos{3, 0} << H{} << "The move would take 1 of 4 placements off the map.";
        const H seven(7, HexPos{5, 5}), eight(8, HexPos{5, 5});
        QTest::newRow("onto a stack of seven: eight fit")
            << H{{0, 0}, {0, 1}} << seven << HexPos{5, 5} << H{{5, 5}, {5, 6}} << "";
        QTest::newRow("onto a stack of eight: one too many")
            << H{{0, 0}, {0, 1}} << eight << HexPos{5, 5} << H{{5, 5}, {5, 6}} << "Too many units in hex 5,5";
        H stacks(9, HexPos{1, 1}), moved(9, HexPos{1, 2});
        stacks.insert(stacks.end(), 9, HexPos{2, 1});
        moved.insert(moved.end(), 9, HexPos{2, 2});
        QTest::newRow("two over-full stacks moved whole: one message")
            << stacks << H{} << HexPos{1, 2} << moved << "Too many units in 2 hexes: 1,2 2,2";
    }
    void formationMove() {
        QFETCH(std::vector<HexPos>, shape);
        QFETCH(std::vector<HexPos>, others);
        QFETCH(HexPos, to);
        QFETCH(std::vector<HexPos>, expected);
        QFETCH(QString, message);
        Board board;
        for (const HexPos h : others) board.place(h);
        std::vector<const TSetupRec*> moving;
        for (const HexPos h : shape) moving.push_back(board.place(h));
        const FormationMove plan = PlanFormationMove(board.setups, moving, shape.front(), to, 10, 10);
        QCOMPARE(QString::fromStdString(FormationMessage(plan)), message);
        QCOMPARE(plan.Moving, moving.size());
        QCOMPARE(plan.refused(), expected.empty());
        if (plan.refused()) {
            QVERIFY(plan.Moves.empty());
            return;
        }
        // Each moving placement lands where the table says (those that stay put are not listed).
        std::vector<HexPos> landed;
        for (const TSetupRec* rec : moving) {
            HexPos hex{rec->Col, rec->Row};
            for (const auto& [moved, there] : plan.Moves)
                if (moved == rec) hex = there;
            landed.push_back(hex);
        }
        QCOMPARE(landed, expected);
    }

    // Pasted placements moved as a formation to a hex, or not at all.
    void pastedPlacementsShift() {
        std::vector<TSetupRec> recs(3);
        const HexPos at[3] = {{2, 2}, {3, 2}, {2, 3}};
        for (int i = 0; i < 3; ++i) {
            recs[i].Col = static_cast<std::uint8_t>(at[i].Col);
            recs[i].Row = static_cast<std::uint8_t>(at[i].Row);
        }
        QCOMPARE(ShiftPlacements(recs, SideStep(at[0], true), 10, 10), 0u);
        QCOMPARE((HexPos{recs[1].Col, recs[1].Row}), (HexPos{4, 1}));
        QCOMPARE(ShiftPlacements(recs, {9, 9}, 10, 10), 2u);
        QCOMPARE((HexPos{recs[0].Col, recs[0].Row}), (HexPos{3, 2}));  // none moved
    }

    // Leaders count on their own: four to a stack, and a stack of eight
    // units takes no leader.
    void leadersStackApart() {
        Board board;
        for (int i = 0; i < 3; ++i) board.place({4, 4}, 'L');
        TSetupRec* leader = board.place({0, 0}, 'L');
        QVERIFY(PlanFormationMove(board.setups, {leader}, {0, 0}, {4, 4}, 10, 10).Overfull.empty());
        TSetupRec* fifth = board.place({0, 0}, 'L');
        QCOMPARE(PlanFormationMove(board.setups, {leader, fifth}, {0, 0}, {4, 4}, 10, 10).Overfull.size(), 1u);
        // Without a map's grid only a placement's byte limits hold.
        QVERIFY(!PlanFormationMove(board.setups, {leader}, {0, 0}, {250, 200}, 0, 0).refused());
        QVERIFY(PlanFormationMove(board.setups, {leader}, {0, 0}, {256, 0}, 0, 0).refused());
    }

    // An organisation dropped on a hex: its leader first, then its units in
    // order, a stack filled before the next hex of the spiral; placements
    // already there count, placed entries stay where they are, and what no
    // hex of the grid can take is counted.
    void organisationPlaces() {
        std::deque<TOobRec> entries;
        std::vector<TOobRec*> oob;
        auto add = [&](char kind, int parent) {
            TOobRec& e = entries.emplace_back();
            e.Kind = kind;
            e.Parent = parent;
            e.Index = static_cast<int>(oob.size());
            e.Levels = {1, static_cast<std::uint8_t>(oob.size())};
            oob.push_back(&e);
            return &e;
        };
        TOobRec* division = add('C', -1);
        add('L', 0);
        TOobRec* brigade = add('D', 0);
        add('L', 2);
        for (int i = 0; i < 9; ++i) add('U', 2);
        add('S', 0);
        TOobRec* other = add('C', -1);
        add('U', static_cast<int>(other->Index));

        Board board;  // six units of someone else at the drop hex
        for (int i = 0; i < 6; ++i) board.place({5, 5});
        const OrganisationPlacement plan = PlanOrganisationPlacement(oob, *division, board.setups, {5, 5}, 10, 10);
        QCOMPARE(plan.Places.size(), 12u);
        QCOMPARE(plan.Places[0].first, oob[1]);  // the division's leader
        std::vector<HexPos> hexes;
        for (const auto& p : plan.Places) hexes.push_back(p.second);
        const HexPos up{5, 4};
        QCOMPARE(hexes,
                 (std::vector<HexPos>{{5, 5}, {5, 5}, {5, 5}, {5, 5}, {up}, {up}, {up}, {up}, {up}, {up}, {up}, {up}}));
        QCOMPARE(QString::fromStdString(OrganisationMessage(*division, plan)), QStringLiteral("Placed 12 of 1"));

        // Placed entries stay; a brigade in a corner never leaves the map;
        // a one-hex map has room for eight units and a leader.
        oob[4]->Setup = &board.recs[0];
        const OrganisationPlacement placed = PlanOrganisationPlacement(oob, *brigade, {}, {0, 0}, 10, 10);
        QCOMPARE(placed.Placed, 1u);
        QCOMPARE(placed.Places.size(), 9u);
        for (const auto& p : placed.Places) QCOMPARE(p.second, (HexPos{0, 0}));
        oob[4]->Setup = nullptr;
        const OrganisationPlacement corner = PlanOrganisationPlacement(oob, *brigade, {}, {0, 0}, 10, 10);
        QCOMPARE(corner.Places.size(), 10u);
        QCOMPARE(corner.Places.back().second, (HexPos{1, 0}));
        const OrganisationPlacement tiny = PlanOrganisationPlacement(oob, *brigade, {}, {0, 0}, 1, 1);
        QCOMPARE(tiny.Places.size(), 9u);
        QCOMPARE(tiny.NoRoom, 1u);
        QCOMPARE(QString::fromStdString(OrganisationMessage(*brigade, tiny)),
                 QStringLiteral("Placed 9 of 1.2: no room for 1"));
        // A unit is no organisation to spread.
        QVERIFY(PlanOrganisationPlacement(oob, *oob[5], {}, {0, 0}, 10, 10).Places.empty());
    }
};

QTEST_MAIN(TestFormation)
#include "test_formation.moc"
