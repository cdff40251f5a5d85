// The comparison against the edit operations: a random sequence of edits on
// the demo game, saved and read back, compared with the game as read,
// reports exactly the records the sequence touched, each once.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "scenario/oobreader.h"
#include "scenario/scndiff.h"
#include "scenario/scnedit.h"
#include "scenario/scnreader.h"
#include "scenario/scnwriter.h"
#include "tests/scenario/test_scn_fixture.h"

using namespace varno;

namespace {

namespace fs = std::filesystem;
using Rng = std::mt19937;

int Uniform(Rng& rng, int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

void Read(Scenario& scn, const std::string& path) {
    ReadListener quiet;
    ReadOob(scn, path, quiet);
    ReadScenario(scn, path, quiet);
}

template <class Rec> const Rec* Pick(Rng& rng, RecordList<Rec> list) {
    return list.empty() ? nullptr : list[static_cast<std::size_t>(Uniform(rng, 0, static_cast<int>(list.size()) - 1))];
}

DateFields Later(DateFields d) {
    d.Hour = (d.Hour + 1) % 24;
    return d;
}

// Random edits, each on a unit not touched before in its kind (so that no two
// edits make one record look like another): a change of fields, a removal or
// an addition, of placements, groups, releases and commands.
class Editor {
public:
    Editor(Scenario& scn, unsigned seed) : scn_(scn), rng_(seed) {}

    void run(int steps) {
        for (int i = 0; i < steps * 4 && done_ < steps; ++i) {
            const int op = Uniform(rng_, 0, 2);  // change, remove, add
            switch (Uniform(rng_, 0, 3)) {
            case 0: placement(op); break;
            case 1: group(op); break;
            case 2: release(op); break;
            default: command(op); break;
            }
        }
    }
    int done() const { return done_; }
    std::set<std::pair<DiffKind, std::string>> touched() const { return touched_; }

private:
    // The unit of an edit not yet touched in `kind`, or null.
    const TOobRec* fresh(DiffKind kind, const TOobRec* unit) const {
        return unit && !touched_.count({kind, DotName(*unit)}) ? unit : nullptr;
    }
    void touch(DiffKind kind, const TOobRec* unit) {
        touched_.emplace(kind, DotName(*unit));
        ++done_;
    }
    // An entry `fits` and has no record of `kind` yet, or null.
    const TOobRec* newcomer(DiffKind kind, bool (*fits)(const Scenario&, const TOobRec&)) {
        for (int tries = 0; tries < 50; ++tries) {
            const TOobRec* e = Pick(rng_, scn_.OobList());
            if (e && fits(scn_, *e) && fresh(kind, e)) return e;
        }
        return nullptr;
    }

    void placement(int op) {
        const DiffKind k = DiffKind::Placement;
        const TSetupRec* rec = Pick(rng_, scn_.SetupList());
        if (op == 2) {
            // Not a wagon: a second placement of it would pair with its first.
            const TOobRec* e =
                newcomer(k, [](const Scenario&, const TOobRec& x) { return CanPlace(x) && x.Kind != 'S'; });
            if (e && AddSetup(scn_, e, SetupDefaults{}, quiet_, step_)) touch(k, e);
            return;
        }
        if (!rec || !fresh(k, rec->Unit)) return;
        SetupFields f = FieldsOf(*rec);
        if (Uniform(rng_, 0, 1))
            f.Col = (f.Col + 3) % 40;
        else
            f.Strength = (f.Strength + 7) % 256, f.Flags ^= sfFixed;
        touch(k, rec->Unit);
        if (op == 1)
            RemoveSetup(scn_, rec, quiet_, step_);
        else
            StoreSetup(scn_, rec, f, quiet_, step_);
    }

    void group(int op) {
        const DiffKind k = DiffKind::Group;
        auto free = [](const Scenario& scn, const TOobRec& x) { return CanReinforce(x) && !FindGroupOf(scn, &x); };
        const TReinfGroup* g = Pick(rng_, scn_.ReinfList());
        if (op == 2) {
            if (const TOobRec* e = newcomer(k, free)) {
                AddGroup(scn_, e, GroupFields{}, quiet_, step_);
                touch(k, e);
            }
            return;
        }
        // A group is named by its first unit, which no edit takes out.
        if (!g || !fresh(k, g->Units[0])) return;
        const TOobRec* first = g->Units[0];
        if (op == 1) {
            touch(k, first);
            RemoveGroup(scn_, g, quiet_, step_);
        } else if (g->Count > 1 && Uniform(rng_, 0, 1)) {
            if (RemoveGroupUnit(scn_, g, g->Count - 1, quiet_, step_)) touch(k, first);
        } else if (const TOobRec* e = Uniform(rng_, 0, 1) ? newcomer(k, free) : nullptr) {
            if (AddToGroup(scn_, g, e, quiet_, step_)) touch(k, first);
        } else {
            GroupFields f = FieldsOf(*g);
            f.When = Later(f.When);
            f.ProtHexes = (f.ProtHexes + 1) % 10;
            if (StoreGroup(scn_, g, f, quiet_, step_)) touch(k, first);
        }
    }

    void release(int op) {
        const DiffKind k = DiffKind::Release;
        const TReleaseRec* r = Pick(rng_, scn_.ReleaseList());
        if (op == 2) {
            auto free = [](const Scenario& scn, const TOobRec& x) { return x.Kind == 'U' && !FindRelease(scn, &x); };
            if (const TOobRec* e = newcomer(k, free)) {
                AddRelease(scn_, e, DateFields{1863, 7, 2, Uniform(rng_, 0, 23), 0}, quiet_, step_);
                touch(k, e);
            }
            return;
        }
        if (!r || !fresh(k, r->Unit)) return;
        touch(k, r->Unit);
        ReleaseFields f = FieldsOf(*r);
        if (Uniform(rng_, 0, 1))
            f.When = Later(f.When);
        else
            f.Chance = f.Chance % 100 + 1;
        if (op == 1)
            RemoveRelease(scn_, r, quiet_, step_);
        else
            StoreRelease(scn_, r, f, quiet_, step_);
    }

    void command(int op) {
        const DiffKind k = DiffKind::Command;
        const TCommandRec* c = Pick(rng_, scn_.CommandList());
        if (op == 2) {
            auto free = [](const Scenario& scn, const TOobRec& x) {
                return x.Kind == 'U' && std::none_of(scn.CommandList().begin(), scn.CommandList().end(),
                                                     [&x](const TCommandRec* c) { return c->Unit == &x; });
            };
            if (const TOobRec* e = newcomer(k, free)) {
                CommandFields f;
                f.Group = Uniform(rng_, 1, 2);
                f.Command = 2;
                AddCommand(scn_, e, f, quiet_, step_);
                touch(k, e);
            }
            return;
        }
        if (!c || !fresh(k, c->Unit)) return;
        // A group's commands are written by their group's place among the
        // groups that have any, so each keeps one.
        const auto ofGroup = std::count_if(scn_.CommandList().begin(), scn_.CommandList().end(),
                                           [c](const TCommandRec* x) { return x->Group == c->Group; });
        if (op == 1 && ofGroup < 2) return;
        touch(k, c->Unit);
        CommandFields f = FieldsOf(*c);
        f.Command = (f.Command + 1) % 5;
        f.Col = (f.Col + 1) % 40;
        if (op == 1)
            RemoveCommand(scn_, c, quiet_, step_);
        else
            StoreCommand(scn_, c, f, quiet_, step_);
    }

    Scenario& scn_;
    Rng rng_;
    EditListener quiet_;
    EditStep step_;  // the history is not what is tested
    std::set<std::pair<DiffKind, std::string>> touched_;
    int done_ = 0;
};

class ScnDiffEdits : public scntest::FolderTest {};

TEST_F(ScnDiffEdits, ReportsExactlyTheRecordsTouched) {
    fs::copy_file(fs::path(VARNO_DEMO_DIR) / "MAIN.OOB", dir_ / "MAIN.OOB");
    fs::copy_file(fs::path(VARNO_DEMO_DIR) / "DEMO.SCN", dir_ / "DEMO.SCN");
    Scenario original;
    Read(original, dir() + "DEMO.SCN");
    ASSERT_TRUE(CompareScenarios(original, original).Equal());

    int edits = 0;
    for (unsigned seed = 1; seed <= 150; ++seed) {
        Scenario scn;
        Read(scn, dir() + "DEMO.SCN");
        Editor editor(scn, seed);
        editor.run(1 + static_cast<int>(seed % 12));
        edits += editor.done();
        const std::string saved = dir() + "EDITED" + std::to_string(seed) + ".SCN";
        WriteOptions opts;
        opts.V103 = false;  // keep the chances
        WriteScenario(scn, saved, opts, nullptr);
        Scenario back;
        Read(back, saved);

        const ScnDiff diff = CompareScenarios(original, back);
        EXPECT_FALSE(diff.OobDiffers);
        using Keys = std::multiset<std::pair<DiffKind, std::string>>;
        Keys reported;
        for (const DiffItem& item : diff.Items) reported.emplace(item.Kind, item.Key);
        const std::set<std::pair<DiffKind, std::string>> touched = editor.touched();
        EXPECT_EQ(reported, Keys(touched.begin(), touched.end())) << "seed " << seed << ":\n"
                                                                  << [&] {
                                                                         std::string s;
                                                                         for (const std::string& l : DiffLines(diff))
                                                                             s += l + '\n';
                                                                         return s;
                                                                     }();
        // The comparison the other way reports as many records.
        EXPECT_EQ(CompareScenarios(back, original).Items.size(), diff.Items.size()) << "seed " << seed;
    }
    EXPECT_GT(edits, 300);  // the sequences did edit
}

}  // namespace
