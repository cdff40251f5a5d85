#include "scenario/sharedfields.h"

#include <type_traits>

#include "scenario/editrules.h"

namespace varno {

std::array<std::int32_t*, 5> FieldRefs(SetupFields& f) { return {&f.Col, &f.Row, &f.Strength, &f.Facing, &f.Fatigue}; }

std::array<std::int32_t*, 6> FieldRefs(ReleaseFields& f) {
    return {&f.When.Year, &f.When.Month, &f.When.Day, &f.When.Hour, &f.When.Minute, &f.Chance};
}

std::array<std::int32_t*, 10> FieldRefs(GroupFields& f) {
    return {&f.When.Year, &f.When.Month, &f.When.Day, &f.When.Hour, &f.When.Minute,
            &f.Chance,    &f.Col,        &f.Row,      &f.Facing,    &f.ProtHexes};
}

std::array<std::int32_t*, 9> FieldRefs(CommandFields& f) {
    return {&f.When.Year, &f.When.Month, &f.When.Day, &f.When.Hour, &f.When.Minute,
            &f.Group,     &f.Col,        &f.Row,      &f.Command};
}

namespace {

constexpr std::uint32_t Bit(std::size_t i) { return std::uint32_t{1} << i; }

// A record's fields as the page shows them, and which of them its kind has.
template <class R> std::uint32_t FieldsHeld(const R&) { return ~0u; }
std::uint32_t FieldsHeld(const TSetupRec& rec) {
    return SetupRulesFor(rec.Unit ? rec.Unit->Kind : 0).Fatigue ? ~0u : ~Bit(kFatigueField);
}
std::uint32_t FlagsHeld(const TSetupRec& rec) { return SetupRulesFor(rec.Unit ? rec.Unit->Kind : 0).Flags; }
// The bits a box of the page stands for; other bits are nobody's to change.
std::uint32_t FlagBoxes() { return SetupRulesFor('U').Flags | SetupRulesFor('L').Flags | SetupRulesFor('S').Flags; }

// Auto-deduced field structure of a record type.
template <class R> using FieldsOfRec = decltype(FieldsOf(std::declval<const R&>()));

template <class R> Shared<FieldsOfRec<R>> Share(const std::vector<R*>& recs) {
    using F = FieldsOfRec<R>;
    Shared<F> shared;
    const std::size_t n = FieldRefs(shared.Values).size();
    std::uint32_t seen = 0;       // fields some record has given a value
    std::uint32_t seenFlags = 0;  // flag bits some record may have
    if constexpr (std::is_same_v<F, SetupFields>) shared.FlagRules = 0;
    for (const R* rec : recs) {
        if (!rec) continue;
        F own = FieldsOf(*rec);
        const auto mine = FieldRefs(own);
        const auto out = FieldRefs(shared.Values);
        const std::uint32_t held = FieldsHeld(*rec);
        for (std::size_t i = 0; i < n; ++i) {
            if (!(held & Bit(i))) continue;
            if (!(seen & Bit(i)))
                *out[i] = *mine[i];
            else if (*out[i] != *mine[i])
                shared.Mixed |= Bit(i);
            seen |= Bit(i);
        }
        if constexpr (std::is_same_v<F, SetupFields>) {
            // As the fields, each bit among the records that may have it.
            const std::uint32_t bits = FlagsHeld(*rec);
            const std::uint32_t fresh = bits & ~seenFlags;
            shared.MixedFlags |= (shared.Values.Flags ^ own.Flags) & bits & seenFlags;
            shared.Values.Flags = (shared.Values.Flags & ~fresh) | (own.Flags & fresh);
            seenFlags |= bits;
        }
    }
    if (seen != 0) shared.Absent = ~seen & (Bit(n) - 1);
    if constexpr (std::is_same_v<F, SetupFields>) {
        shared.FlagRules = seenFlags != 0 ? seenFlags : ~0u;
        // Where the records differ, the box shows neither state.
        shared.Values.Flags &= ~shared.MixedFlags;
    }
    return shared;
}

template <class R, class F> F Merge(const R& rec, const Shared<F>& page, const FieldChanges& changes) {
    F merged = FieldsOf(rec);
    F from = page.Values;
    const auto out = FieldRefs(merged);
    const auto in = FieldRefs(from);
    const std::uint32_t take = changes.Fields & FieldsHeld(rec);
    for (std::size_t i = 0; i < out.size(); ++i)
        if (take & Bit(i)) *out[i] = *in[i];
    if constexpr (std::is_same_v<F, SetupFields>) {
        const std::uint32_t bits = changes.Flags & FlagsHeld(rec);
        merged.Flags = (merged.Flags & ~bits) | (page.Values.Flags & bits);
    }
    return merged;
}

}  // namespace

Shared<SetupFields> ShareFields(const std::vector<const TSetupRec*>& recs) { return Share(recs); }
Shared<ReleaseFields> ShareFields(const std::vector<const TReleaseRec*>& recs) { return Share(recs); }
Shared<GroupFields> ShareFields(const std::vector<const TReinfGroup*>& recs) { return Share(recs); }
Shared<CommandFields> ShareFields(const std::vector<const TCommandRec*>& recs) { return Share(recs); }

template <class F> FieldChanges ChangesOf(const Shared<F>& shown, const Shared<F>& page) {
    FieldChanges changes;
    F a = shown.Values, b = page.Values;
    const auto before = FieldRefs(a);
    const auto after = FieldRefs(b);
    for (std::size_t i = 0; i < before.size(); ++i) {
        const bool wasBlank = shown.Mixed & Bit(i), isBlank = page.Mixed & Bit(i);
        // A field left blank is left alone; one filled in or changed is set.
        if (!isBlank && (wasBlank || *before[i] != *after[i])) changes.Fields |= Bit(i);
    }
    if constexpr (std::is_same_v<F, SetupFields>) {
        const std::uint32_t decided = ~page.MixedFlags;  // boxes checked or cleared now
        changes.Flags = decided & FlagBoxes() & (shown.MixedFlags | (a.Flags ^ b.Flags));
    }
    return changes;
}

template FieldChanges ChangesOf(const Shared<SetupFields>&, const Shared<SetupFields>&);
template FieldChanges ChangesOf(const Shared<ReleaseFields>&, const Shared<ReleaseFields>&);
template FieldChanges ChangesOf(const Shared<GroupFields>&, const Shared<GroupFields>&);
template FieldChanges ChangesOf(const Shared<CommandFields>&, const Shared<CommandFields>&);

SetupFields MergeFields(const TSetupRec& rec, const Shared<SetupFields>& page, const FieldChanges& changes) {
    return Merge(rec, page, changes);
}
ReleaseFields MergeFields(const TReleaseRec& rec, const Shared<ReleaseFields>& page, const FieldChanges& changes) {
    return Merge(rec, page, changes);
}
GroupFields MergeFields(const TReinfGroup& rec, const Shared<GroupFields>& page, const FieldChanges& changes) {
    return Merge(rec, page, changes);
}
CommandFields MergeFields(const TCommandRec& rec, const Shared<CommandFields>& page, const FieldChanges& changes) {
    return Merge(rec, page, changes);
}

}  // namespace varno
