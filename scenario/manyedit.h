#pragma once
// Actions on many records at once, each into the one step of the user's
// action: removing a selection, adding pasted records, storing the fields
// the user changed into every selected record. The step is named after the
// action and its count ("Remove 3 releases", "Paste 40 records").
#include <cstddef>
#include <string>
#include <vector>

#include "scenario/cliptext.h"
#include "scenario/scnedit.h"
#include "scenario/sharedfields.h"

namespace varno {

// "Move 24 placements", "Remove 1 release": a verb, a count and the kind's
// noun (singular for one).
std::string CountedName(const std::string& verb, std::size_t n, const char* one, const char* many);
// The nouns of each kind of record.
const char* RecordNoun(const TSetupRec*, bool many);
const char* RecordNoun(const TReleaseRec*, bool many);
const char* RecordNoun(const TReinfGroup*, bool many);
const char* RecordNoun(const TCommandRec*, bool many);

// Takes every record of `recs` out of its list; those not in it are left
// alone. Returns how many went.
std::size_t RemoveRecords(Scenario& scn, const std::vector<const TSetupRec*>& recs, EditListener& listener,
                          EditStep& step);
std::size_t RemoveRecords(Scenario& scn, const std::vector<const TReleaseRec*>& recs, EditListener& listener,
                          EditStep& step);
std::size_t RemoveRecords(Scenario& scn, const std::vector<const TReinfGroup*>& recs, EditListener& listener,
                          EditStep& step);
std::size_t RemoveRecords(Scenario& scn, const std::vector<const TCommandRec*>& recs, EditListener& listener,
                          EditStep& step);

// The records a paste added, each kind in the order of the text.
struct AddedRecords {
    std::vector<const TSetupRec*> Setups;
    std::vector<const TReleaseRec*> Releases;
    std::vector<const TReinfGroup*> Groups;
    std::vector<const TCommandRec*> Commands;
    std::size_t size() const { return Setups.size() + Releases.size() + Groups.size() + Commands.size(); }
};

// Adds the records of a pasted text (after KeepAddable) at the end of their
// lists, with all their values.
AddedRecords AddPasted(Scenario& scn, const PastedText& pasted, EditListener& listener, EditStep& step);

// Stores the fields the user changed (`changes`, from what the page showed
// to `page`) into every record of `recs`; the other fields keep each
// record's own values. Returns how many records changed.
std::size_t StoreTogether(Scenario& scn, const std::vector<const TSetupRec*>& recs, const Shared<SetupFields>& page,
                          const FieldChanges& changes, EditListener& listener, EditStep& step);
std::size_t StoreTogether(Scenario& scn, const std::vector<const TReleaseRec*>& recs, const Shared<ReleaseFields>& page,
                          const FieldChanges& changes, EditListener& listener, EditStep& step);
std::size_t StoreTogether(Scenario& scn, const std::vector<const TReinfGroup*>& recs, const Shared<GroupFields>& page,
                          const FieldChanges& changes, EditListener& listener, EditStep& step);
std::size_t StoreTogether(Scenario& scn, const std::vector<const TCommandRec*>& recs, const Shared<CommandFields>& page,
                          const FieldChanges& changes, EditListener& listener, EditStep& step);

}  // namespace varno
