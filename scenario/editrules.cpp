#include "scenario/editrules.h"

#include "scenario/scnedit.h"

namespace varno {

SetupFieldRules SetupRulesFor(char kind) {
    constexpr std::uint32_t always = sfFixed;
    constexpr std::uint32_t moving = sfMounted | sfDismounted;
    constexpr std::uint32_t fighting = sfLowAmmo | sfNoAmmo | sfDisorg | sfRouted;
    switch (kind) {
    case 'L': return {always | moving | sfColonel, false};
    case 'S': return {always, false};
    default: return {always | moving | fighting, true};
    }
}

ReinfAddChoice DecideReinfAdd(const Scenario& scn, const TOobRec* entry, const TReinfGroup* selected) {
    if (!entry || !CanReinforce(*entry)) return ReinfAddChoice::Refuse;
    // An entry belongs to one group.
    if (FindGroupOf(scn, entry)) return ReinfAddChoice::ShowOwnGroup;
    // With no group selected there is none to ask about.
    if (!selected) return ReinfAddChoice::NewGroup;
    return selected->Count >= kGroupAddLimit ? ReinfAddChoice::AskNewWhenFull : ReinfAddChoice::AskJoin;
}

}  // namespace varno
