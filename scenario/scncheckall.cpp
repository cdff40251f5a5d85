#include "scenario/scncheckall.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

#include "scenario/filenames.h"
#include "scenario/scnchecks.h"
#include "scenario/scnerror.h"

namespace varno {

namespace {

constexpr CheckKindInfo kKinds[kCheckKindCount] = {
    {"off-map", "Placed off the map", false},
    {"placed-twice", "Placed more than once", false},
    {"placed-and-grouped", "Placed and in a reinforcement group", false},
    {"grouped-twice", "In more than one reinforcement group slot", false},
    {"release-unplaced", "Released but never on the map", false},
    {"command-unplaced", "Commanded but never on the map", false},
    {"zero-strength", "Placed with strength 0", false},
    {"over-strength", "Stronger than the order of battle", false},
    {"bad-facing", "Facing the game does not know", false},
    {"unknown-flags", "Flag bits without a Set Units box", false},
    {"bad-group", "Command group outside 1 to 8", false},
    {"odd-year", "Dated outside 1861 to 1865", true},
    {"bad-date", "Dated on a day the calendar does not have", true},
    {"overloaded", "Over-full hexes", false},
};

// Every flag bit the Set Units page has a box for.
constexpr std::uint32_t kKnownFlags =
    sfRouted | sfLowAmmo | sfFixed | sfColonel | sfDisorg | sfDismounted | sfMounted | sfNoAmmo;

constexpr int kFirstYear = 1861, kLastYear = 1865;

const char* const kMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                 "July",    "August",   "September", "October", "November", "December"};

std::string Fmt(const char* fmt, auto... args) {
    char buf[160];
    std::snprintf(buf, sizeof buf, fmt, args...);
    return buf;
}

bool KnownFacing(int facing) {
    return facing == 1 || facing == 2 || facing == 4 || facing == 8 || facing == 16 || facing == 32;
}

int DaysIn(int month, int year) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// A placement or group slot moves only units and leaders out of the game's
// reach when it repeats them; a wagon may stand in several hexes.
bool Unique(const TOobRec& e) { return e.Kind == 'U' || e.Kind == 'L'; }

// What the check knows of one order-of-battle entry.
struct EntryState {
    int FirstSetup = -1;   // index of its first placement
    int FirstGroup = -1;   // index of its first group
    bool Appears = false;  // placed, in a group, or (an organisation) with an entry below it that is
};

class Checker {
public:
    // What a run does with the findings: keeps them all, counts them without
    // their texts, or tells those of one kind to a sink.
    enum class Mode { Keep, Count, Tell };

    Checker(const Scenario& scn, const std::optional<MapGrid>& grid, Mode mode = Mode::Keep,
            CheckKind told = CheckKind::OffMap, const FindingSink* sink = nullptr)
        : scn_(scn), grid_(grid), mode_(mode), told_(told), sink_(sink) {
        state_.resize(scn.OobList().size());
    }

    ScnCheckReport Run() {
        // Every kind depends on what the lists before it showed, so each run
        // walks them all; only the over-full hexes stand alone.
        setups();
        groups();
        markOrganisations();
        releases();
        commands();
        if (mode_ != Mode::Tell || told_ == CheckKind::Overloaded) overloaded();
        ScnCheckReport report;
        report.Counts = counts_;
        if (mode_ != Mode::Keep) return report;
        std::size_t total = 0;
        for (const auto& kind : byKind_) total += kind.size();
        report.Findings.reserve(total);
        for (std::size_t k = 0; k < kCheckKindCount; ++k)
            for (ScnFinding& f : byKind_[k]) report.Findings.push_back(std::move(f));
        return report;
    }

private:
    const Scenario& scn_;
    const std::optional<MapGrid>& grid_;
    const Mode mode_;
    const CheckKind told_;
    const FindingSink* const sink_;
    std::array<int, kCheckKindCount> counts_{};
    std::vector<EntryState> state_;
    // Entries not in the order of battle's list (none after a read).
    std::unordered_map<const TOobRec*, EntryState> strays_;
    std::array<std::vector<ScnFinding>, kCheckKindCount> byKind_;

    EntryState& of(const TOobRec* e) {
        if (e->Index >= 0 && static_cast<std::size_t>(e->Index) < state_.size() &&
            scn_.OobList()[static_cast<std::size_t>(e->Index)] == e)
            return state_[static_cast<std::size_t>(e->Index)];
        return strays_[e];
    }

    // `text` makes the sentence, only when the finding is kept or told.
    template <class Text>
    void add(CheckKind kind, ScnListBox list, int index, const TOobRec* unit, int col, int row, Text&& text) {
        ++counts_[static_cast<std::size_t>(kind)];
        if (mode_ == Mode::Count || (mode_ == Mode::Tell && kind != told_)) return;
        ScnFinding f{kind, list, index, unit, col, row, text()};
        if (mode_ == Mode::Tell)
            (*sink_)(f);
        else
            byKind_[static_cast<std::size_t>(kind)].push_back(std::move(f));
    }

    bool offMap(int col, int row) const { return grid_ && (col >= grid_->NumCols || row >= grid_->NumRows); }

    std::string gridText() const { return Fmt("the map has %d x %d hexes", grid_->NumCols, grid_->NumRows); }

    void dateChecks(ScnListBox list, int index, const TOobRec* unit, int col, int row, int year, int month, int day) {
        if (year < kFirstYear || year > kLastYear)
            add(CheckKind::OddYear, list, index, unit, col, row,
                [&] { return Fmt("dated %d; the pages offer %d to %d", year, kFirstYear, kLastYear); });
        if (month < 1 || month > 12)
            add(CheckKind::BadDate, list, index, unit, col, row,
                [&] { return Fmt("dated month %d of %d", month, year); });
        else if (day < 1 || day > DaysIn(month, year))
            add(CheckKind::BadDate, list, index, unit, col, row, [&] {
                return Fmt("dated %d %s %d; %s has %d days", day, kMonths[month - 1], year, kMonths[month - 1],
                           DaysIn(month, year));
            });
    }

    void setups() {
        const auto& list = scn_.SetupList();
        for (std::size_t i = 0; i < list.size(); ++i) {
            const TSetupRec* s = list[i];
            if (!s) continue;
            const int idx = static_cast<int>(i), col = s->Col, row = s->Row;
            const TOobRec* u = s->Unit;
            const auto put = [&](CheckKind kind, auto&& text) {
                add(kind, ScnListBox::SetUnits, idx, u, col, row, text);
            };
            if (offMap(col, row))
                put(CheckKind::OffMap, [&] { return Fmt("placed at %d,%d; ", col, row) + gridText(); });
            if (u) {
                EntryState& st = of(u);
                if (st.FirstSetup < 0) {
                    st.FirstSetup = idx;
                } else if (Unique(*u)) {
                    const TSetupRec* first = list[static_cast<std::size_t>(st.FirstSetup)];
                    put(CheckKind::PlacedTwice, [&] {
                        return Fmt("placed again at %d,%d; first at %d,%d (Set Units line %d)", col, row, first->Col,
                                   first->Row, st.FirstSetup + 1);
                    });
                }
                st.Appears = true;
                if (s->Strength == 0 && (u->Kind == 'U' || u->Kind == 'S'))
                    put(CheckKind::ZeroStrength, [] { return std::string("placed with strength 0"); });
                if (s->Strength > u->Strength)
                    put(CheckKind::OverStrength, [&] {
                        return Fmt("placed with strength %d; the order of battle gives %d", s->Strength,
                                   static_cast<int>(u->Strength));
                    });
            }
            if (!KnownFacing(s->Facing))
                put(CheckKind::BadFacing,
                    [&] { return Fmt("faces %d; the game knows 1, 2, 4, 8, 16 and 32", s->Facing); });
            if (const std::uint32_t extra = s->Flags & ~kKnownFlags)
                put(CheckKind::UnknownFlags, [&] {
                    return Fmt("flag bits $%X that no Set Units box stands for", static_cast<unsigned>(extra));
                });
        }
    }

    void groups() {
        const auto& list = scn_.ReinfList();
        for (std::size_t i = 0; i < list.size(); ++i) {
            const TReinfGroup* g = list[i];
            if (!g) continue;
            const int idx = static_cast<int>(i), col = g->Col, row = g->Row;
            const int count = std::min<int>(g->Count, static_cast<int>(g->Units.size()));
            const TOobRec* first = count > 0 ? g->Units[0] : nullptr;
            const auto put = [&](CheckKind kind, const TOobRec* u, auto&& text) {
                add(kind, ScnListBox::Reinfor, idx, u, col, row, text);
            };
            if (offMap(col, row))
                put(CheckKind::OffMap, first, [&] { return Fmt("arrives at %d,%d; ", col, row) + gridText(); });
            if (!KnownFacing(g->Facing))
                put(CheckKind::BadFacing, first,
                    [&] { return Fmt("arrives facing %d; the game knows 1, 2, 4, 8, 16 and 32", g->Facing); });
            dateChecks(ScnListBox::Reinfor, idx, first, col, row, 1800 + g->Year, g->Month, g->Day);
            for (int slot = 0; slot < count; ++slot) {
                const TOobRec* u = g->Units[static_cast<std::size_t>(slot)];
                if (!u) continue;
                EntryState& st = of(u);
                st.Appears = true;
                if (!Unique(*u)) continue;
                if (st.FirstSetup >= 0) {
                    const TSetupRec* s = scn_.SetupList()[static_cast<std::size_t>(st.FirstSetup)];
                    put(CheckKind::PlacedAndGrouped, u, [&] {
                        return Fmt("arrives at %d,%d but is placed at %d,%d (Set Units line %d)", col, row, s->Col,
                                   s->Row, st.FirstSetup + 1);
                    });
                }
                if (st.FirstGroup < 0)
                    st.FirstGroup = idx;
                else
                    put(CheckKind::GroupedTwice, u, [&] {
                        return st.FirstGroup == idx ? std::string("is in this group twice")
                                                    : Fmt("arrives again at %d,%d; first with group line %d", col, row,
                                                          st.FirstGroup + 1);
                    });
            }
        }
    }

    // An organisation named by a release or a command appears when an entry
    // below it does.
    void markOrganisations() {
        const auto& oob = scn_.OobList();
        for (std::size_t i = 0; i < oob.size(); ++i) {
            if (!oob[i] || !state_[i].Appears) continue;
            // Walk up until an organisation already marked: each is marked once.
            for (std::int32_t p = oob[i]->Parent; p >= 0 && static_cast<std::size_t>(p) < oob.size() && oob[p];
                 p = oob[p]->Parent) {
                if (static_cast<std::size_t>(p) >= i) break;  // parents come first; anything else is no tree
                EntryState& up = state_[static_cast<std::size_t>(p)];
                if (up.Appears) break;
                up.Appears = true;
            }
        }
    }

    bool appears(const TOobRec* u) { return u && of(u).Appears; }

    void releases() {
        const auto& list = scn_.ReleaseList();
        for (std::size_t i = 0; i < list.size(); ++i) {
            const TReleaseRec* r = list[i];
            if (!r) continue;
            const int idx = static_cast<int>(i);
            if (r->Unit && !appears(r->Unit))
                add(CheckKind::ReleaseUnplaced, ScnListBox::Releases, idx, r->Unit, -1, -1,
                    [] { return std::string("is released but neither placed nor in a reinforcement group"); });
            dateChecks(ScnListBox::Releases, idx, r->Unit, -1, -1, 1800 + r->Year, r->Month, r->Day);
        }
    }

    void commands() {
        const auto& list = scn_.CommandList();
        for (std::size_t i = 0; i < list.size(); ++i) {
            const TCommandRec* c = list[i];
            if (!c) continue;
            const int idx = static_cast<int>(i), col = c->Col, row = c->Row;
            if (c->Unit && !appears(c->Unit))
                add(CheckKind::CommandUnplaced, ScnListBox::Commands, idx, c->Unit, col, row,
                    [] { return std::string("has a command but is neither placed nor in a reinforcement group"); });
            if (c->Group < 1 || c->Group > 8)
                add(CheckKind::BadCommandGroup, ScnListBox::Commands, idx, c->Unit, col, row,
                    [&] { return Fmt("is in command group %d; groups run from 1 to 8", c->Group); });
            dateChecks(ScnListBox::Commands, idx, c->Unit, col, row, 1800 + c->Year, c->Month, c->Day);
        }
    }

    // The stacking check as Search > for Overloaded Hexes shows it; each
    // finding points at the first placement in its hex.
    void overloaded() {
        const std::vector<HexFinding> findings = CheckOverloadedHexes(scn_.SetupList());
        if (findings.empty()) return;
        std::unordered_map<int, int> firstAt;
        for (std::size_t i = 0; i < scn_.SetupList().size(); ++i)
            if (const TSetupRec* s = scn_.SetupList()[i])
                firstAt.try_emplace(s->Col * 256 + s->Row, static_cast<int>(i));
        for (const HexFinding& f : findings) {
            const auto it = firstAt.find(f.Col * 256 + f.Row);
            const int index = it != firstAt.end() ? it->second : -1;
            add(CheckKind::Overloaded, ScnListBox::SetUnits, index, nullptr, f.Col, f.Row, [&] { return f.Text; });
        }
    }
};

}  // namespace

const CheckKindInfo& KindInfo(CheckKind kind) { return kKinds[static_cast<std::size_t>(kind)]; }

CheckMap LoadCheckMap(const std::string& gameDir) {
    CheckMap map;
    const std::string path = FindFileNoCase(gameDir, "MAIN.MAP");
    if (!FileExists(path)) {
        map.Skipped = "no MAIN.MAP in " + (gameDir.empty() ? std::string("./") : gameDir);
        return map;
    }
    try {
        map.Grid = ReadMapHeader(path);
    } catch (const ScnError& e) {
        map.Skipped = path + ": " + e.message();
    }
    return map;
}

ScnCheckReport CheckScenario(const Scenario& scn, const std::optional<MapGrid>& grid, const std::string& mapSkipped) {
    ScnCheckReport report = Checker(scn, grid).Run();
    if (!grid) report.MapSkipped = mapSkipped.empty() ? std::string("no map grid") : mapSkipped;
    return report;
}

ScnCheckReport CountFindings(const Scenario& scn, const std::optional<MapGrid>& grid, const std::string& mapSkipped) {
    ScnCheckReport report = Checker(scn, grid, Checker::Mode::Count).Run();
    if (!grid) report.MapSkipped = mapSkipped.empty() ? std::string("no map grid") : mapSkipped;
    return report;
}

void ForEachFinding(const Scenario& scn, const std::optional<MapGrid>& grid, const ScnCheckReport& counted,
                    const FindingSink& found) {
    // One run a kind, so that the findings come in the report's order
    // without being kept.
    for (std::size_t k = 0; k < kCheckKindCount; ++k)
        if (counted.Counts[k] > 0) Checker(scn, grid, Checker::Mode::Tell, static_cast<CheckKind>(k), &found).Run();
}

std::string FindingLine(const ScnFinding& f) {
    std::string line = KindInfo(f.Kind).Code;
    if (f.Unit) {
        line += "  ";
        line += DotName(*f.Unit);
        line += "  ";
        line += f.Unit->Display;
    }
    line += "  ";
    line += f.Text;
    return line;
}

ScnCheckReport FindingsOfRecord(const Scenario& scn, const ScnCheckReport& report, ScnListBox list, int index) {
    ScnCheckReport out;
    out.MapSkipped = report.MapSkipped;
    const TSetupRec* placed = nullptr;
    if (list == ScnListBox::SetUnits && index >= 0 && static_cast<std::size_t>(index) < scn.SetupList().size())
        placed = scn.SetupList()[static_cast<std::size_t>(index)];
    for (const ScnFinding& f : report.Findings) {
        const bool named = f.Kind != CheckKind::Overloaded && f.List == list && f.Index == index;
        const bool stands = placed && f.Kind == CheckKind::Overloaded && f.Col == placed->Col && f.Row == placed->Row;
        if (!named && !stands) continue;
        out.Findings.push_back(f);
        ++out.Counts[static_cast<std::size_t>(f.Kind)];
    }
    return out;
}

std::string MapSkippedLine(const ScnCheckReport& report) {
    return report.MapSkipped.empty() ? std::string() : "off-map not checked: " + report.MapSkipped;
}

}  // namespace varno
