// The comparison's matching against a plain reading of its rules: random
// pairs of scenarios, full of records alike (a few units, hexes and values,
// the lists shuffled), matched by the texts of their keys in rounds exactly
// as scndiff.h says; the comparison must pair, change, add and remove the
// same records and see the same change of order.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "scenario/scenariobuilder.h"
#include "scenario/scndiff.h"
#include "tests/scenario/test_scn_fixture.h"

using namespace varno;

namespace {

using Rng = std::mt19937;

int Pick(Rng& rng, int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }

std::string Dot(const TOobRec* u) { return u ? DotName(*u) : "?"; }
std::string Date(int y, int mo, int d, int h, int mi) {
    return std::to_string(y) + "-" + std::to_string(mo) + "-" + std::to_string(d) + " " + std::to_string(h) + ":" +
           std::to_string(mi);
}
std::string Nums(std::initializer_list<int> v) {
    std::string s;
    for (int n : v) s += std::to_string(n) + ' ';
    return s;
}

// The keys of each round as text, then the values that tell a change.
struct Keys {
    std::vector<std::string> rounds;
    std::string values;
};
Keys Of(const TSetupRec& s) {
    const std::string v = Nums({s.Col, s.Row, s.Strength, s.Facing, s.Fatigue, static_cast<int>(s.Flags), s.Aux});
    return {{Dot(s.Unit) + " " + v, Dot(s.Unit)}, v};
}
Keys Of(const TReinfGroup& g) {
    std::vector<std::string> dots;
    std::string slots;
    for (int i = 0; i < g.Count; ++i)
        slots += Dot(g.Units[static_cast<std::size_t>(i)]) + " ",
            dots.push_back(Dot(g.Units[static_cast<std::size_t>(i)]));
    std::sort(dots.begin(), dots.end());
    std::string set;
    for (const std::string& d : dots) set += d + " ";
    const std::string v = slots + Date(g.Year, g.Month, g.Day, g.Hour, g.Minute) + " " +
                          Nums({g.Chance, g.Col, g.Row, g.Facing, g.ProtHexes});
    return {{v, set, g.Count ? Dot(g.Units[0]) : ""}, v};
}
Keys Of(const TReleaseRec& r) {
    const std::string date = Date(r.Year, r.Month, r.Day, r.Hour, r.Minute);
    const std::string v = date + " " + Nums({r.Chance});
    return {{Dot(r.Unit) + " " + v, Dot(r.Unit) + " " + date, Dot(r.Unit)}, v};
}
Keys Of(const TCommandRec& c) {
    const std::string date = Date(c.Year, c.Month, c.Day, c.Hour, c.Minute);
    const std::string v = date + " " + Nums({c.Group, c.Col, c.Row, c.Command});
    return {{Dot(c.Unit) + " " + v, Dot(c.Unit) + " " + date, Dot(c.Unit)}, v};
}

// What the comparison should report of one list: "removed 3", "changed 1 4",
// "added 2", in its order; and whether the pairs changed their order.
template <class Rec> std::vector<std::string> Expected(RecordList<Rec> olds, RecordList<Rec> news, bool& orderDiffers) {
    std::vector<Keys> a, b;
    for (const Rec* r : olds) a.push_back(Of(*r));
    for (const Rec* r : news) b.push_back(Of(*r));
    std::vector<int> oldOf(b.size(), -1);
    std::vector<bool> paired(a.size(), false);
    const std::size_t rounds = Of(Rec{}).rounds.size();
    for (std::size_t round = 0; round < rounds; ++round) {
        std::map<std::string, std::deque<int>> waiting;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (!paired[i]) waiting[a[i].rounds[round]].push_back(static_cast<int>(i));
        for (std::size_t j = 0; j < b.size(); ++j) {
            if (oldOf[j] >= 0) continue;
            std::deque<int>& q = waiting[b[j].rounds[round]];
            if (q.empty()) continue;
            oldOf[j] = q.front();
            paired[static_cast<std::size_t>(q.front())] = true;
            q.pop_front();
        }
    }
    std::vector<std::string> out;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!paired[i]) out.push_back("removed " + std::to_string(i));
    int last = -1;
    for (std::size_t j = 0; j < b.size(); ++j) {
        const int i = oldOf[j];
        if (i < 0) {
            out.push_back("added " + std::to_string(j));
            continue;
        }
        orderDiffers = orderDiffers || i < last;
        last = std::max(last, i);
        if (a[static_cast<std::size_t>(i)].values != b[j].values)
            out.push_back("changed " + std::to_string(i) + " " + std::to_string(j));
    }
    return out;
}

// Records drawn from few values, so that many are alike.
class Maker {
public:
    Maker(Scenario& scn, Rng& rng) : scn_(scn), rng_(rng) {}
    const TOobRec* unit() { return scn_.OobList()[static_cast<std::size_t>(Pick(rng_, 6) + 1)]; }
    void setup() {
        TSetupRec& s = ScenarioBuilder(scn_).NewSetup();
        s.Unit = unit();
        s.Col = static_cast<std::uint8_t>(Pick(rng_, 3)), s.Row = static_cast<std::uint8_t>(Pick(rng_, 2));
        s.Strength = static_cast<std::uint8_t>(Pick(rng_, 2)), s.Flags = Pick(rng_, 2) ? std::uint32_t{sfFixed} : 0u;
        s.Facing = 8, s.Aux = static_cast<std::uint8_t>(Pick(rng_, 2));
    }
    void group() {
        TReinfGroup& g = ScenarioBuilder(scn_).NewReinfGroup();
        g.Count = static_cast<std::uint8_t>(1 + Pick(rng_, 3));
        for (int i = 0; i < g.Count; ++i) g.Units[static_cast<std::size_t>(i)] = unit();
        g.Year = 63, g.Month = 7, g.Day = static_cast<std::uint8_t>(1 + Pick(rng_, 2)), g.Chance = 100;
        g.Col = static_cast<std::uint8_t>(Pick(rng_, 2)), g.ProtHexes = static_cast<std::uint8_t>(Pick(rng_, 2));
    }
    void release() {
        TReleaseRec& r = ScenarioBuilder(scn_).NewRelease();
        r.Unit = unit();
        r.Year = 63, r.Month = 7, r.Day = static_cast<std::uint8_t>(1 + Pick(rng_, 2));
        r.Chance = static_cast<std::uint8_t>(Pick(rng_, 2) ? 100 : 50);
    }
    void command() {
        TCommandRec& c = ScenarioBuilder(scn_).NewCommand();
        c.Unit = unit();
        c.Group = static_cast<std::uint8_t>(1 + Pick(rng_, 2));
        c.Year = 63, c.Month = 7, c.Day = static_cast<std::uint8_t>(1 + Pick(rng_, 2));
        c.Command = static_cast<std::uint8_t>(Pick(rng_, 2));
    }
    void fill() {
        for (int n = Pick(rng_, 30); n > 0; --n) setup();
        for (int n = Pick(rng_, 8); n > 0; --n) group();
        for (int n = Pick(rng_, 8); n > 0; --n) release();
        for (int n = Pick(rng_, 8); n > 0; --n) command();
    }

private:
    Scenario& scn_;
    Rng& rng_;
};

TEST(ScnDiffMatch, PairsAsThePlainRulesDo) {
    int changes = 0;
    for (unsigned seed = 1; seed <= 400; ++seed) {
        Rng rng(seed);
        Scenario a, b;
        scntest::SmallOob(a);
        scntest::SmallOob(b);
        Maker(a, rng).fill();
        // b: a's records (naming a's entries, of the same dot names), some
        // changed in one field, some left out, then shuffled, and a few new.
        ScenarioBuilder B(b);
        const auto copy = [&](auto& news, const auto& olds, auto make, auto change) {
            for (const auto* r : olds) {
                if (Pick(rng, 5) == 0) continue;
                auto* c = make();
                *c = *r;
                if (Pick(rng, 3) == 0) change(*c);
            }
            std::shuffle(news.begin(), news.end(), rng);
        };
        copy(
            B.SetupList(), a.SetupList(), [&] { return &B.NewSetup(); },
            [&](TSetupRec& s) { s.Col = static_cast<std::uint8_t>(Pick(rng, 3)); });
        copy(
            B.ReinfList(), a.ReinfList(), [&] { return &B.NewReinfGroup(); },
            [](TReinfGroup& g) { std::swap(g.Units[0], g.Units[g.Count - 1u]); });
        copy(
            B.ReleaseList(), a.ReleaseList(), [&] { return &B.NewRelease(); }, [](TReleaseRec& r) { r.Chance = 75; });
        copy(
            B.CommandList(), a.CommandList(), [&] { return &B.NewCommand(); },
            [&](TCommandRec& c) { c.Day = static_cast<std::uint8_t>(1 + Pick(rng, 2)); });
        Maker added(b, rng);
        for (int n = Pick(rng, 4); n > 0; --n) added.setup(), added.group(), added.release(), added.command();

        bool order = false;
        std::map<DiffKind, std::vector<std::string>> expected;
        expected[DiffKind::Placement] = Expected(a.SetupList(), b.SetupList(), order);
        expected[DiffKind::Group] = Expected(a.ReinfList(), b.ReinfList(), order);
        expected[DiffKind::Release] = Expected(a.ReleaseList(), b.ReleaseList(), order);
        expected[DiffKind::Command] = Expected(a.CommandList(), b.CommandList(), order);

        const ScnDiff diff = CompareScenarios(a, b);
        std::map<DiffKind, std::vector<std::string>> reported;
        for (const DiffItem& item : diff.Items) {
            const std::string what = item.Change == DiffChange::Removed ? "removed " + std::to_string(item.OldIndex)
                                     : item.Change == DiffChange::Added ? "added " + std::to_string(item.NewIndex)
                                                                        : "changed " + std::to_string(item.OldIndex) +
                                                                              " " + std::to_string(item.NewIndex);
            reported[item.Kind].push_back(what);
            changes += item.Change == DiffChange::Changed || item.Change == DiffChange::Moved;
        }
        for (auto& [kind, lines] : expected)
            if (lines.empty()) reported.try_emplace(kind);
        EXPECT_EQ(reported, expected) << "seed " << seed;
        EXPECT_EQ(diff.OrderDiffers, order) << "seed " << seed;

        // The comparison kept as pairs tells the same.
        const ScnComparison kept(a, b);
        const DiffCounts counts = kept.Counts(), listed = CountDiff(diff);
        EXPECT_EQ(counts.Added, listed.Added);
        EXPECT_EQ(counts.Removed, listed.Removed);
        EXPECT_EQ(counts.Changed, listed.Changed);
        std::vector<std::string> lines;
        kept.ForEachLine([&lines](const std::string& l) { lines.push_back(l); });
        EXPECT_EQ(lines, DiffLines(diff)) << "seed " << seed;
    }
    EXPECT_GT(changes, 1000);  // the pairs did differ
}

}  // namespace
