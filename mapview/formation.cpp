#include "mapview/formation.h"

#include <unordered_map>
#include <unordered_set>

#include "scenario/records.h"

namespace varno {

namespace {

constexpr int kGridSide = 256;  // a placement holds its column and row in bytes

char PlacedKind(const TSetupRec* rec) { return rec && rec->Unit ? rec->Unit->Kind : 0; }

bool OnMap(HexPos hex, int numCols, int numRows) {
    if (numCols <= 0 || numRows <= 0) numCols = numRows = kGridSide;
    return HexOnGrid(hex, numCols, numRows);
}

// Counts of stacks by hex key, for the whole grid a placement can name.
class StackCounts {
public:
    StackCounts() : counts_(kGridSide * kGridSide) {}
    StackCount& at(HexPos hex) { return counts_[static_cast<std::size_t>(HexKey(hex.Col, hex.Row))]; }

private:
    std::vector<StackCount> counts_;
};

std::string HexText(HexPos hex) { return std::to_string(hex.Col) + "," + std::to_string(hex.Row); }

}  // namespace

bool StackTakes(StackCount& count, char kind) {
    if (StackFull(count)) return false;
    if (kind == 'L')
        ++count.Leaders;
    else
        ++count.Units;
    return true;
}

std::vector<const TSetupRec*> PlacementsInBand(RecordList<TSetupRec> setups, int left, int top, int right, int bottom,
                                               int numCols, int numRows) {
    std::vector<const TSetupRec*> out;
    const HexRange range = HexesNear(left, top, right, bottom, numCols, numRows);
    if (range.empty()) return out;
    std::vector<char> touched(kGridSide * kGridSide, 0);
    for (int col = range.Col0; col <= range.Col1; ++col)
        for (int row = range.Row0; row <= range.Row1; ++row)
            if (HexMeetsRect(col, row, left, top, right, bottom))
                touched[static_cast<std::size_t>(HexKey(col, row))] = 1;
    for (const TSetupRec* rec : setups)
        if (rec && touched[static_cast<std::size_t>(HexKey(rec->Col, rec->Row))]) out.push_back(rec);
    return out;
}

FormationMove PlanFormationMove(RecordList<TSetupRec> setups, const std::vector<const TSetupRec*>& moving, HexPos from,
                                HexPos to, int numCols, int numRows) {
    FormationMove plan;
    std::unordered_map<const TSetupRec*, HexPos> target;
    target.reserve(moving.size());
    for (const TSetupRec* rec : moving) {
        if (!rec || target.count(rec)) continue;
        const HexPos there = ShiftHex({rec->Col, rec->Row}, from, to);
        if (!OnMap(there, numCols, numRows)) ++plan.OffMap;
        target.emplace(rec, there);
    }
    plan.Moving = target.size();
    if (plan.refused()) return plan;

    // The hexes the formation enters are drawn again after the move, each in
    // list order: one that a full stack would refuse is over-full.
    std::vector<char> entered(kGridSide * kGridSide, 0);
    for (const auto& [rec, hex] : target) entered[static_cast<std::size_t>(HexKey(hex.Col, hex.Row))] = 1;
    StackCounts counts;
    std::unordered_set<int> reported;
    for (const TSetupRec* rec : setups) {
        if (!rec) continue;
        const auto it = target.find(rec);
        const HexPos hex = it != target.end() ? it->second : HexPos{rec->Col, rec->Row};
        if (it != target.end() && (hex.Col != rec->Col || hex.Row != rec->Row)) plan.Moves.emplace_back(rec, hex);
        const int key = HexKey(hex.Col, hex.Row);
        if (!entered[static_cast<std::size_t>(key)]) continue;
        if (!StackTakes(counts.at(hex), PlacedKind(rec)) && reported.insert(key).second) plan.Overfull.push_back(hex);
    }
    return plan;
}

std::string FormationMessage(const FormationMove& move) {
    if (move.refused())
        return "The move would take " + std::to_string(move.OffMap) + " of " + std::to_string(move.Moving) +
               (move.Moving == 1 ? " placement" : " placements") + " off the map.";
    if (move.Overfull.empty()) return {};
    if (move.Overfull.size() == 1) return "Too many units in hex " + HexText(move.Overfull.front());
    std::string text = "Too many units in " + std::to_string(move.Overfull.size()) + " hexes:";
    constexpr std::size_t kShown = 8;
    for (std::size_t i = 0; i < move.Overfull.size() && i < kShown; ++i) {
        text += ' ';
        text += HexText(move.Overfull[i]);
    }
    if (move.Overfull.size() > kShown) text += " ...";
    return text;
}

std::size_t MakeFormationMove(Scenario& scn, const FormationMove& move, EditListener& listener, EditStep& step) {
    if (move.refused()) return 0;
    std::size_t n = 0;
    for (const auto& [rec, hex] : move.Moves) n += MoveSetup(scn, rec, hex.Col, hex.Row, listener, step);
    return n;
}

std::size_t ShiftPlacements(std::vector<TSetupRec>& recs, HexPos to, int numCols, int numRows) {
    if (recs.empty()) return 0;
    const HexPos from{recs.front().Col, recs.front().Row};
    std::size_t off = 0;
    for (const TSetupRec& r : recs) off += !OnMap(ShiftHex({r.Col, r.Row}, from, to), numCols, numRows);
    if (off > 0) return off;
    for (TSetupRec& r : recs) {
        const HexPos there = ShiftHex({r.Col, r.Row}, from, to);
        r.Col = static_cast<std::uint8_t>(there.Col);
        r.Row = static_cast<std::uint8_t>(there.Row);
    }
    return 0;
}

OrganisationPlacement PlanOrganisationPlacement(RecordList<TOobRec> oob, const TOobRec& org,
                                                RecordList<TSetupRec> setups, HexPos drop, int numCols, int numRows) {
    OrganisationPlacement plan;
    const std::int32_t top = org.Index;
    if (top < 0 || static_cast<std::size_t>(top) >= oob.size() || oob[top] != &org) return plan;
    if (org.Kind == 'L' || org.Kind == 'U' || org.Kind == 'S' || org.Kind == 0) return plan;

    // Entries below the organisation: a parent always comes before its entries.
    std::vector<const TOobRec*> members;
    std::vector<char> inside(oob.size(), 0);
    inside[static_cast<std::size_t>(top)] = 1;
    for (std::size_t i = static_cast<std::size_t>(top) + 1; i < oob.size(); ++i) {
        const TOobRec* e = oob[i];
        if (!e || e->Parent < top || static_cast<std::size_t>(e->Parent) >= i || !inside[e->Parent]) continue;
        inside[i] = 1;
        if (e->Kind != 'L' && e->Kind != 'U' && e->Kind != 'S') continue;
        if (e->Setup)
            ++plan.Placed;
        else
            members.push_back(oob[i]);
    }
    if (members.empty()) return plan;

    if (numCols <= 0 || numRows <= 0) numCols = numRows = kGridSide;
    StackCounts counts;
    for (const TSetupRec* rec : setups)
        if (rec) StackTakes(counts.at({rec->Col, rec->Row}), PlacedKind(rec));

    // The spiral's hexes as far as they are needed; each entry takes the
    // first that still has room for its kind, so that leaders fill the
    // hexes units have filled before them.
    std::vector<HexPos> spiral;
    std::size_t firstOpen = 0;  // hexes before it are full
    bool spiralEnds = false;
    auto grow = [&](std::size_t want) {
        if (spiralEnds || spiral.size() >= want) return;
        spiral.clear();
        ForEachSpiralHex(drop, numCols, numRows, [&](HexPos hex) {
            spiral.push_back(hex);
            return spiral.size() < want;
        });
        if (spiral.size() < want) spiralEnds = true;
    };
    grow(16);
    for (const TOobRec* entry : members) {
        bool placed = false;
        for (std::size_t i = firstOpen;; ++i) {
            if (i >= spiral.size()) grow(spiral.size() * 2);
            if (i >= spiral.size()) break;
            StackCount& count = counts.at(spiral[i]);
            if (StackTakes(count, entry->Kind)) {
                plan.Places.emplace_back(entry, spiral[i]);
                placed = true;
                break;
            }
            if (i == firstOpen && StackFull(count)) ++firstOpen;
        }
        if (!placed) ++plan.NoRoom;
    }
    return plan;
}

std::vector<const TSetupRec*> MakeOrganisationPlacement(Scenario& scn, const OrganisationPlacement& plan,
                                                        const SetupDefaults& defaults, EditListener& listener,
                                                        EditStep& step) {
    std::vector<const TSetupRec*> made;
    for (const auto& [entry, hex] : plan.Places)
        if (const TSetupRec* rec = PlaceEntryAt(scn, entry, hex.Col, hex.Row, defaults, listener, step))
            made.push_back(rec);
    return made;
}

std::string OrganisationMessage(const TOobRec& org, const OrganisationPlacement& plan) {
    std::string text = "Placed " + std::to_string(plan.Places.size()) + " of " + DotName(org);
    std::string notes;
    if (plan.Placed > 0)
        notes += std::to_string(plan.Placed) + (plan.Placed == 1 ? " was" : " were") + " placed already";
    if (plan.NoRoom > 0) notes += (notes.empty() ? "" : "; ") + ("no room for " + std::to_string(plan.NoRoom));
    return notes.empty() ? text : text + ": " + notes;
}

}  // namespace varno
