#include "scenario/stepname.h"

#include <type_traits>

#include "scenario/records.h"

namespace varno {

namespace {

std::string Dot(const TOobRec* entry) { return entry ? DotName(*entry) : std::string("?"); }
std::string Hex(int col, int row) { return std::to_string(col) + "," + std::to_string(row); }

const TOobRec* UnitOf(const TSetupRec& r) { return r.Unit; }
const TOobRec* UnitOf(const TReleaseRec& r) { return r.Unit; }
const TOobRec* UnitOf(const TCommandRec& r) { return r.Unit; }
const TOobRec* UnitOf(const TReinfGroup& g) { return g.Count > 0 ? g.Units[0] : nullptr; }

const char* Kind(const TSetupRec&) { return "placement"; }
const char* Kind(const TReleaseRec&) { return "release"; }
const char* Kind(const TCommandRec&) { return "command"; }
const char* Kind(const TReinfGroup&) { return "group"; }

template <class R> std::string ListName(const ListEdit<R>& e) {
    return std::string(e.In ? "Add " : "Remove ") + Kind(e.Values) + " " + Dot(UnitOf(e.Values));
}

// Two groups with the same values (their line aside).
bool SameValues(const TReinfGroup& a, const TReinfGroup& b) {
    return a.Year == b.Year && a.Month == b.Month && a.Day == b.Day && a.Hour == b.Hour && a.Minute == b.Minute &&
           a.Chance == b.Chance && a.Col == b.Col && a.Row == b.Row && a.Count == b.Count && a.Facing == b.Facing &&
           a.ProtHexes == b.ProtHexes && a.Units == b.Units;
}

template <class R> std::string ValueName(const ValueEdit<R>& e) {
    if constexpr (std::is_same_v<R, TSetupRec>) {
        const TSetupRec& a = e.Before;
        const TSetupRec& b = e.After;
        if ((a.Col != b.Col || a.Row != b.Row) && a.Strength == b.Strength && a.Facing == b.Facing &&
            a.Fatigue == b.Fatigue && a.Flags == b.Flags)
            return "Move " + Dot(b.Unit) + " to " + Hex(b.Col, b.Row);
    }
    if constexpr (std::is_same_v<R, TReinfGroup>) {
        const TReinfGroup& a = e.Before;
        const TReinfGroup& b = e.After;
        TReinfGroup moved = a;
        moved.Col = b.Col;
        moved.Row = b.Row;
        if ((a.Col != b.Col || a.Row != b.Row) && SameValues(moved, b))
            return "Move group " + Dot(UnitOf(b)) + " to " + Hex(b.Col, b.Row);
        if (b.Count > a.Count) return "Add " + Dot(b.Units[b.Count - 1]) + " to group " + Dot(UnitOf(b));
        if (b.Count < a.Count) {
            // The unit that left: the first slot that differs.
            int slot = 0;
            while (slot < b.Count && a.Units[slot] == b.Units[slot]) ++slot;
            return "Remove " + Dot(a.Units[slot]) + " from group " + Dot(UnitOf(a));
        }
    }
    if constexpr (std::is_same_v<R, TCommandRec>) {
        const TCommandRec& a = e.Before;
        const TCommandRec& b = e.After;
        if ((a.Col != b.Col || a.Row != b.Row) && a.Group == b.Group && a.Year == b.Year && a.Month == b.Month &&
            a.Day == b.Day && a.Hour == b.Hour && a.Minute == b.Minute && a.Command == b.Command && a.Unit == b.Unit)
            return "Aim command " + Dot(b.Unit) + " at " + Hex(b.Col, b.Row);
    }
    return std::string("Change ") + Kind(e.After) + " " + Dot(UnitOf(e.After));
}

struct Namer {
    std::string operator()(const SetupLinkEdit&) const { return {}; }
    std::string operator()(const HeaderEdit&) const { return "Change header"; }
    template <class R> std::string operator()(const ListEdit<R>& e) const { return ListName(e); }
    template <class R> std::string operator()(const ValueEdit<R>& e) const { return ValueName(e); }
};

}  // namespace

std::string StepName(const Scenario& /*scn*/, const EditStep& step) {
    const auto& changes = step.changes();
    for (std::size_t i = 0; i < changes.size(); ++i) {
        if (const auto* put = std::get_if<ListEdit<TSetupRec>>(&changes[i]); put && put->In) {
            // A placement put in and moved by the same action is placed there.
            for (std::size_t j = i + 1; j < changes.size(); ++j)
                if (const auto* v = std::get_if<ValueEdit<TSetupRec>>(&changes[j]); v && v->Rec == put->Rec)
                    return "Place " + Dot(v->After.Unit) + " at " + Hex(v->After.Col, v->After.Row);
        }
        const bool listEdit = std::visit(
            [](const auto& c) {
                using C = std::decay_t<decltype(c)>;
                return !std::is_same_v<C, SetupLinkEdit> && !std::is_same_v<C, HeaderEdit> && requires { c.In; };
            },
            changes[i]);
        if (listEdit) return std::visit(Namer{}, changes[i]);
    }
    for (const EditChange& c : changes)
        if (std::string name = std::visit(Namer{}, c); !name.empty()) return name;
    return {};
}

}  // namespace varno
