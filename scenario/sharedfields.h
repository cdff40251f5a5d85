#pragma once
// Editing several records of a page together: the values of the page's
// fields that all selected records share (a field where they differ is
// shown blank, a flag box partly checked), and a store that writes only the
// fields the user changed, into every selected record, keeping each
// record's own values in the others.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "scenario/scnedit.h"

namespace varno {

// A page's fields over a selection. Field i of a page is bit i of the masks,
// in the order FieldRefs gives them.
template <class F> struct Shared {
    F Values{};                // what the records share; where they differ, the first record's value
    std::uint32_t Mixed = 0;   // fields in which the records differ (shown blank)
    std::uint32_t Absent = 0;  // fields no selected record has (a leader's fatigue)
    // Set Units only: flag bits in which the records differ (partly checked),
    // and the bits some selected record may have (the boxes enabled).
    std::uint32_t MixedFlags = 0;
    std::uint32_t FlagRules = ~0u;

    bool operator==(const Shared&) const = default;
};

// The number fields of each page, in a fixed order: Set Units Col, Row,
// Strength, Facing, Fatigue (its flags apart); Releases the date and time,
// Chance; Reinforcements the date and time, Chance, Col, Row, Facing,
// ProtHexes; Commands the date and time, Group, Col, Row, Command.
std::array<std::int32_t*, 5> FieldRefs(SetupFields& f);
std::array<std::int32_t*, 6> FieldRefs(ReleaseFields& f);
std::array<std::int32_t*, 10> FieldRefs(GroupFields& f);
std::array<std::int32_t*, 9> FieldRefs(CommandFields& f);

// The index of the fatigue among the Set Units fields.
constexpr int kFatigueField = 4;

// What the records share. An empty selection gives default fields, none mixed.
Shared<SetupFields> ShareFields(const std::vector<const TSetupRec*>& recs);
Shared<ReleaseFields> ShareFields(const std::vector<const TReleaseRec*>& recs);
Shared<GroupFields> ShareFields(const std::vector<const TReinfGroup*>& recs);
Shared<CommandFields> ShareFields(const std::vector<const TCommandRec*>& recs);

// The fields a user changed, from what the page showed (`shown`) to what it
// holds now (`page`, whose Mixed says which fields are still blank and whose
// MixedFlags which boxes are still partly checked): a blank field filled in,
// or a value changed; a box whose state changed.
struct FieldChanges {
    std::uint32_t Fields = 0;
    std::uint32_t Flags = 0;
    bool empty() const { return Fields == 0 && Flags == 0; }
};
template <class F> FieldChanges ChangesOf(const Shared<F>& shown, const Shared<F>& page);

// A record's own fields with the changed ones taken from the page. On Set
// Units a placement takes only the fields and flags its kind may have.
SetupFields MergeFields(const TSetupRec& rec, const Shared<SetupFields>& page, const FieldChanges& changes);
ReleaseFields MergeFields(const TReleaseRec& rec, const Shared<ReleaseFields>& page, const FieldChanges& changes);
GroupFields MergeFields(const TReinfGroup& rec, const Shared<GroupFields>& page, const FieldChanges& changes);
CommandFields MergeFields(const TCommandRec& rec, const Shared<CommandFields>& page, const FieldChanges& changes);

}  // namespace varno
