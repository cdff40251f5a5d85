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
#include <tuple>
#include <vector>

#include "OobReader.h"
#include "ScnDiff.h"
#include "ScnEdit.h"
#include "ScnReader.h"
#include "ScnWriter.h"
#include "test_scn_fixture.h"

namespace {

namespace fs = std::filesystem;
using Rng = std::mt19937;
using Seen = std::tuple<DiffKind, DiffChange, std::string>;  // kind, change, dot name

int Uniform(Rng& rng, int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

void Read(Scenario& scn, const std::string& path)
{
    ReadListener quiet;
    ReadOob(scn, path, quiet);
    ReadScenario(scn, path, quiet);
}

template <class Rec>
Rec* Pick(Rng& rng, const std::vector<Rec*>& list)
{
    return list.empty() ? nullptr : list[static_cast<std::size_t>(Uniform(rng, 0, static_cast<int>(list.size()) - 1))];
}

DateFields Later(DateFields d)
{
    d.Hour = (d.Hour + 1) % 24;
    return d;
}

// Applies `steps` random edits. Each touches a unit not touched before in its
// kind, so that no two edits make one record look like another; returns the
// units touched, per kind.
class Editor {
public:
    Editor(Scenario& scn, unsigned seed) : scn_(scn), rng_(seed) {}

    void run(int steps)
    {
        for (int i = 0; i < steps * 4 && done_ < steps; ++i) {
            switch (Uniform(rng_, 0, 3)) {
            case 0: placement(); break;
            case 1: group(); break;
            case 2: release(); break;
            default: command(); break;
            }
        }
    }
    int done() const { return done_; }

private:
    bool fresh(DiffKind kind, const TOobRec* unit) { return unit && !touched_[kind].count(unit); }
    void touch(DiffKind kind, const TOobRec* unit)
    {
        touched_[kind].insert(unit);
        ++done_;
    }
    TOobRec* freshEntry(DiffKind kind, bool (*fits)(const TOobRec&))
    {
        for (int tries = 0; tries < 50; ++tries) {
            TOobRec* e = Pick(rng_, scn_.OobList);
            if (e && fits(*e) && fresh(kind, e)) return e;
        }
        return nullptr;
    }

    void placement()
    {
        const DiffKind k = DiffKind::Placement;
        TSetupRec* rec = Pick(rng_, scn_.SetupList);
        switch (Uniform(rng_, 0, 3)) {
        case 0:
            if (rec && fresh(k, rec->Unit) && MoveSetup(scn_, rec, (rec->Col + 3) % 40, rec->Row, quiet_))
                touch(k, rec->Unit);
            break;
        case 1:
            if (rec && fresh(k, rec->Unit)) {
                SetupFields f = FieldsOf(*rec);
                f.Strength = (f.Strength + 7) % 256;
                f.Flags ^= sfFixed;
                if (StoreSetup(scn_, rec, f, quiet_)) touch(k, rec->Unit);
            }
            break;
        case 2:
            if (rec && fresh(k, rec->Unit)) {
                touch(k, rec->Unit);
                RemoveSetup(scn_, rec, quiet_);
            }
            break;
        default:
            if (TOobRec* e = freshEntry(k, [](const TOobRec& x) { return CanPlace(x) && x.Kind != 'S'; })) {
                if (AddSetup(scn_, e, SetupDefaults{}, quiet_)) touch(k, e);
            }
        }
    }

    void group()
    {
        const DiffKind k = DiffKind::Group;
        TReinfGroup* g = Pick(rng_, scn_.ReinfList);
        switch (Uniform(rng_, 0, 3)) {
        case 0:
            if (g && fresh(k, g->Units[0])) {
                GroupFields f = FieldsOf(*g);
                f.When = Later(f.When);
                f.ProtHexes = (f.ProtHexes + 1) % 10;
                if (StoreGroup(scn_, g, f, quiet_)) touch(k, g->Units[0]);
            }
            break;
        case 1:
            if (g && fresh(k, g->Units[0])) {
                touch(k, g->Units[0]);
                RemoveGroup(scn_, g, quiet_);
            }
            break;
        case 2:
            // A unit more, or one fewer (never the first: it names the group).
            if (g && fresh(k, g->Units[0])) {
                const TOobRec* first = g->Units[0];
                if (g->Count > 1 && Uniform(rng_, 0, 1)) {
                    if (RemoveGroupUnit(scn_, g, g->Count - 1, quiet_)) touch(k, first);
                } else if (TOobRec* e = freshEntry(k, [](const TOobRec& x) { return CanReinforce(x); })) {
                    if (!FindGroupOf(scn_, e) && AddToGroup(scn_, g, e, quiet_)) touch(k, first);
                }
            }
            break;
        default:
            if (TOobRec* e = freshEntry(k, [](const TOobRec& x) { return CanReinforce(x); })) {
                if (!FindGroupOf(scn_, e)) {
                    GroupFields f;
                    f.Col = Uniform(rng_, 0, 39);
                    AddGroup(scn_, e, f, quiet_);
                    touch(k, e);
                }
            }
        }
    }

    void release()
    {
        const DiffKind k = DiffKind::Release;
        TReleaseRec* r = Pick(rng_, scn_.ReleaseList);
        switch (Uniform(rng_, 0, 2)) {
        case 0:
            if (r && fresh(k, r->Unit)) {
                ReleaseFields f = FieldsOf(*r);
                if (Uniform(rng_, 0, 1)) f.When = Later(f.When);
                else f.Chance = f.Chance % 100 + 1;
                if (StoreRelease(scn_, r, f, quiet_)) touch(k, r->Unit);
            }
            break;
        case 1:
            if (r && fresh(k, r->Unit)) {
                touch(k, r->Unit);
                RemoveRelease(scn_, r, quiet_);
            }
            break;
        default:
            if (TOobRec* e = freshEntry(k, [](const TOobRec& x) { return CanPlace(x) || x.Kind == 'U'; })) {
                if (!FindRelease(scn_, e)) {
                    AddRelease(scn_, e, DateFields{1863, 7, 2, Uniform(rng_, 0, 23), 0}, quiet_);
                    touch(k, e);
                }
            }
        }
    }

    void command()
    {
        const DiffKind k = DiffKind::Command;
        TCommandRec* c = Pick(rng_, scn_.CommandList);
        switch (Uniform(rng_, 0, 2)) {
        case 0:
            if (c && fresh(k, c->Unit)) {
                CommandFields f = FieldsOf(*c);
                f.Command = (f.Command + 1) % 5;
                f.Col = (f.Col + 1) % 40;
                if (StoreCommand(scn_, c, f, quiet_)) touch(k, c->Unit);
            }
            break;
        case 1:
            // A group's commands are written by their group's place among the
            // groups that have any, so each keeps one.
            if (c && fresh(k, c->Unit) && OfGroup(c->Group) > 1) {
                touch(k, c->Unit);
                RemoveCommand(scn_, c, quiet_);
            }
            break;
        default:
            if (TOobRec* e = freshEntry(k, [](const TOobRec& x) { return x.Kind == 'U' || x.Kind == 'L'; })) {
                bool has = false;
                for (const TCommandRec* x : scn_.CommandList) has = has || x->Unit == e;
                if (!has) {
                    CommandFields f;
                    f.Group = Uniform(rng_, 1, 2);
                    f.Command = 2;
                    AddCommand(scn_, e, f, quiet_);
                    touch(k, e);
                }
            }
        }
    }
    int OfGroup(int group) const
    {
        return static_cast<int>(std::count_if(scn_.CommandList.begin(), scn_.CommandList.end(),
                                              [group](const TCommandRec* c) { return c->Group == group; }));
    }

    Scenario& scn_;
    Rng rng_;
    EditListener quiet_;
    std::map<DiffKind, std::set<const TOobRec*>> touched_;
    int done_ = 0;

public:
    std::set<std::pair<DiffKind, std::string>> touched() const
    {
        std::set<std::pair<DiffKind, std::string>> out;
        for (const auto& [kind, units] : touched_)
            for (const TOobRec* u : units) out.emplace(kind, DotName(*u));
        return out;
    }
};

class ScnDiffEdits : public scntest::FolderTest {};

TEST_F(ScnDiffEdits, ReportsExactlyTheRecordsTouched)
{
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
        const Keys expected(touched.begin(), touched.end());
        EXPECT_EQ(reported, expected)
            << "seed " << seed << ":\n"
            << [&] {
                   std::string s;
                   for (const std::string& l : DiffLines(diff)) s += l + '\n';
                   return s;
               }();
        // The comparison the other way reports as many records.
        EXPECT_EQ(CompareScenarios(back, original).Items.size(), diff.Items.size()) << "seed " << seed;
    }
    EXPECT_GT(edits, 300);  // the sequences did edit
}

}  // namespace
