#include "scenario/scnplan.h"

#include <algorithm>

#include "scenario/records.h"
#include "scenario/scenario.h"

namespace varno {

namespace {

template <class Rec> SchedDate DateOf(const Rec& r) { return PackDate(r.Year, r.Month, r.Day, r.Hour, r.Minute); }

bool IsOrganisation(char kind) { return kind == 'A' || kind == 'B' || kind == 'C' || kind == 'D' || kind == 'W'; }

// The entry's index in `oob`, or -1 for an entry of no list of this scenario.
int IndexIn(RecordList<TOobRec> oob, const TOobRec* entry) {
    if (!entry || entry->Index < 0 || static_cast<std::size_t>(entry->Index) >= oob.size()) return -1;
    return oob[static_cast<std::size_t>(entry->Index)] == entry ? entry->Index : -1;
}

}  // namespace

UnitPlaces::UnitPlaces(const Scenario& scn) : oob_(scn.OobList()), byEntry_(scn.OobList().size()) {
    RecordList<TOobRec> oob = scn.OobList();
    for (std::size_t i = 0; i < scn.SetupList().size(); ++i) {
        const TSetupRec* s = scn.SetupList()[i];
        const int e = s ? IndexIn(oob, s->Unit) : -1;
        if (e < 0 || byEntry_[static_cast<std::size_t>(e)].Kind != UnitPlaceKind::Nowhere) continue;
        byEntry_[static_cast<std::size_t>(e)] = {UnitPlaceKind::Placed, s->Col, s->Row, static_cast<int>(i)};
    }
    for (std::size_t i = 0; i < scn.ReinfList().size(); ++i) {
        const TReinfGroup* g = scn.ReinfList()[i];
        if (!g) continue;
        const int count = std::min<int>(g->Count, static_cast<int>(g->Units.size()));
        for (int u = 0; u < count; ++u) {
            const int e = IndexIn(oob, g->Units[static_cast<std::size_t>(u)]);
            if (e < 0 || byEntry_[static_cast<std::size_t>(e)].Kind != UnitPlaceKind::Nowhere) continue;
            byEntry_[static_cast<std::size_t>(e)] = {UnitPlaceKind::Arriving, g->Col, g->Row, static_cast<int>(i)};
        }
    }
    // Organisations, from the last entry up: an entry's parent comes before
    // it, so every entry below an organisation is final when it is reached.
    // The first placed entry below, else the first arriving one; an
    // organisation's own place (it cannot be placed through the pages, but a
    // file may name it) comes first.
    std::vector<int> firstPlaced(oob.size(), -1), firstArriving(oob.size(), -1);
    for (std::size_t i = oob.size(); i-- > 0;) {
        const TOobRec* e = oob[i];
        const UnitPlace& own = byEntry_[i];
        const int ownIndex = static_cast<int>(i);
        if (own.Kind == UnitPlaceKind::Placed) firstPlaced[i] = ownIndex;
        if (own.Kind == UnitPlaceKind::Arriving) firstArriving[i] = ownIndex;
        if (!e || e->Parent < 0 || e->Parent >= ownIndex) continue;
        const auto p = static_cast<std::size_t>(e->Parent);
        // Walking down the list, the last one met is the first below.
        if (firstPlaced[i] >= 0) firstPlaced[p] = firstPlaced[i];
        if (firstArriving[i] >= 0) firstArriving[p] = firstArriving[i];
    }
    for (std::size_t i = 0; i < oob.size(); ++i) {
        if (!oob[i] || !IsOrganisation(oob[i]->Kind) || byEntry_[i].Kind != UnitPlaceKind::Nowhere) continue;
        const int from = firstPlaced[i] >= 0 ? firstPlaced[i] : firstArriving[i];
        if (from >= 0) byEntry_[i] = byEntry_[static_cast<std::size_t>(from)];
    }
}

UnitPlace UnitPlaces::Of(const TOobRec* entry) const {
    const int e = IndexIn(oob_, entry);
    return e < 0 ? UnitPlace{} : byEntry_[static_cast<std::size_t>(e)];
}

ScenarioPlan PlanAt(const Scenario& scn, ClockTime t) {
    ScenarioPlan plan;
    plan.Time = t;

    // Each entry's earliest release.
    RecordList<TOobRec> oob = scn.OobList();
    std::vector<int> firstRelease(oob.size(), -1);
    for (std::size_t i = 0; i < scn.ReleaseList().size(); ++i) {
        const TReleaseRec* r = scn.ReleaseList()[i];
        const int e = r ? IndexIn(oob, r->Unit) : -1;
        if (e < 0) continue;
        int& first = firstRelease[static_cast<std::size_t>(e)];
        if (first < 0 || DateOf(*r) < DateOf(*scn.ReleaseList()[static_cast<std::size_t>(first)]))
            first = static_cast<int>(i);
    }
    plan.FixedNow.assign(scn.SetupList().size(), false);
    plan.FreedBy.assign(scn.SetupList().size(), -1);
    for (std::size_t i = 0; i < scn.SetupList().size(); ++i) {
        const TSetupRec* s = scn.SetupList()[i];
        if (!s || !(s->Flags & sfFixed)) continue;
        const int e = IndexIn(oob, s->Unit);
        const int release = e >= 0 ? firstRelease[static_cast<std::size_t>(e)] : -1;
        plan.FreedBy[i] = release;
        plan.FixedNow[i] = release < 0 || !t.Reached(DateOf(*scn.ReleaseList()[static_cast<std::size_t>(release)]));
    }

    plan.Arrived.assign(scn.ReinfList().size(), false);
    for (std::size_t i = 0; i < scn.ReinfList().size(); ++i)
        plan.Arrived[i] = scn.ReinfList()[i] && t.Reached(DateOf(*scn.ReinfList()[i]));

    // Orders: each entry's latest order reached is in effect.
    const std::size_t n = scn.CommandList().size();
    plan.Orders.assign(n, OrderState::Later);
    plan.OrderFrom.assign(n, UnitPlace{});
    const UnitPlaces places(scn);
    std::vector<int> latest(oob.size(), -1);
    std::vector<int> reached;
    for (std::size_t i = 0; i < n; ++i) {
        const TCommandRec* c = scn.CommandList()[i];
        if (!c) continue;
        plan.OrderFrom[i] = places.Of(c->Unit);
        if (!t.Reached(DateOf(*c))) continue;
        plan.Orders[i] = OrderState::Superseded;
        const int e = IndexIn(oob, c->Unit);
        if (e < 0) {
            plan.Orders[i] = OrderState::InEffect;  // an order of no entry supersedes nothing
            continue;
        }
        int& best = latest[static_cast<std::size_t>(e)];
        if (best < 0 || DateOf(*scn.CommandList()[static_cast<std::size_t>(best)]) <= DateOf(*c))
            best = static_cast<int>(i);
        reached.push_back(e);
    }
    for (const int e : reached)
        plan.Orders[static_cast<std::size_t>(latest[static_cast<std::size_t>(e)])] = OrderState::InEffect;
    return plan;
}

}  // namespace varno
