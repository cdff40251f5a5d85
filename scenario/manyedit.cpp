#include "scenario/manyedit.h"

#include <unordered_set>

namespace varno {

namespace {

bool RemoveOne(Scenario& scn, const TSetupRec* r, EditListener& l, EditStep& s) { return RemoveSetup(scn, r, l, s); }
bool RemoveOne(Scenario& scn, const TReleaseRec* r, EditListener& l, EditStep& s) {
    return RemoveRelease(scn, r, l, s);
}
bool RemoveOne(Scenario& scn, const TReinfGroup* r, EditListener& l, EditStep& s) { return RemoveGroup(scn, r, l, s); }
bool RemoveOne(Scenario& scn, const TCommandRec* r, EditListener& l, EditStep& s) {
    return RemoveCommand(scn, r, l, s);
}

// From the end of the list backwards: each removal then moves no line that
// is still to go, and an undo puts them back from the front.
template <class R> std::size_t RemoveAll(Scenario& scn, RecordList<R> list, const std::vector<const R*>& recs,
                                         EditListener& listener, EditStep& step) {
    const std::unordered_set<const R*> going(recs.begin(), recs.end());
    std::vector<const R*> at;  // in list order
    for (const R* r : list)
        if (going.count(r)) at.push_back(r);
    std::size_t n = 0;
    for (auto it = at.rbegin(); it != at.rend(); ++it) n += RemoveOne(scn, *it, listener, step);
    return n;
}

bool StoreOne(Scenario& scn, const TSetupRec* r, const SetupFields& f, EditListener& l, EditStep& s) {
    return StoreSetup(scn, r, f, l, s);
}
bool StoreOne(Scenario& scn, const TReleaseRec* r, const ReleaseFields& f, EditListener& l, EditStep& s) {
    return StoreRelease(scn, r, f, l, s);
}
bool StoreOne(Scenario& scn, const TReinfGroup* r, const GroupFields& f, EditListener& l, EditStep& s) {
    return StoreGroup(scn, r, f, l, s);
}
bool StoreOne(Scenario& scn, const TCommandRec* r, const CommandFields& f, EditListener& l, EditStep& s) {
    return StoreCommand(scn, r, f, l, s);
}

template <class R, class F> std::size_t StoreAll(Scenario& scn, const std::vector<const R*>& recs,
                                                 const Shared<F>& page, const FieldChanges& changes,
                                                 EditListener& listener, EditStep& step) {
    if (changes.empty()) return 0;
    std::size_t n = 0;
    for (const R* r : recs)
        if (r) n += StoreOne(scn, r, MergeFields(*r, page, changes), listener, step);
    return n;
}

}  // namespace

std::string CountedName(const std::string& verb, std::size_t n, const char* one, const char* many) {
    return verb + ' ' + std::to_string(n) + ' ' + (n == 1 ? one : many);
}

const char* RecordNoun(const TSetupRec*, bool many) { return many ? "placements" : "placement"; }
const char* RecordNoun(const TReleaseRec*, bool many) { return many ? "releases" : "release"; }
const char* RecordNoun(const TReinfGroup*, bool many) { return many ? "groups" : "group"; }
const char* RecordNoun(const TCommandRec*, bool many) { return many ? "commands" : "command"; }

std::size_t RemoveRecords(Scenario& scn, const std::vector<const TSetupRec*>& recs, EditListener& listener,
                          EditStep& step) {
    return RemoveAll(scn, scn.SetupList(), recs, listener, step);
}
std::size_t RemoveRecords(Scenario& scn, const std::vector<const TReleaseRec*>& recs, EditListener& listener,
                          EditStep& step) {
    return RemoveAll(scn, scn.ReleaseList(), recs, listener, step);
}
std::size_t RemoveRecords(Scenario& scn, const std::vector<const TReinfGroup*>& recs, EditListener& listener,
                          EditStep& step) {
    return RemoveAll(scn, scn.ReinfList(), recs, listener, step);
}
std::size_t RemoveRecords(Scenario& scn, const std::vector<const TCommandRec*>& recs, EditListener& listener,
                          EditStep& step) {
    return RemoveAll(scn, scn.CommandList(), recs, listener, step);
}

AddedRecords AddPasted(Scenario& scn, const PastedText& pasted, EditListener& listener, EditStep& step) {
    AddedRecords added;
    for (const TSetupRec& r : pasted.Setups)
        if (const TSetupRec* rec = AddSetupCopy(scn, r, listener, step)) added.Setups.push_back(rec);
    for (const TReinfGroup& g : pasted.Groups)
        if (const TReinfGroup* rec = AddGroupCopy(scn, g, listener, step)) added.Groups.push_back(rec);
    for (const TReleaseRec& r : pasted.Releases)
        if (const TReleaseRec* rec = AddReleaseCopy(scn, r, listener, step)) added.Releases.push_back(rec);
    for (const TCommandRec& c : pasted.Commands)
        if (const TCommandRec* rec = AddCommandCopy(scn, c, listener, step)) added.Commands.push_back(rec);
    return added;
}

std::size_t StoreTogether(Scenario& scn, const std::vector<const TSetupRec*>& recs, const Shared<SetupFields>& page,
                          const FieldChanges& changes, EditListener& listener, EditStep& step) {
    return StoreAll(scn, recs, page, changes, listener, step);
}
std::size_t StoreTogether(Scenario& scn, const std::vector<const TReleaseRec*>& recs, const Shared<ReleaseFields>& page,
                          const FieldChanges& changes, EditListener& listener, EditStep& step) {
    return StoreAll(scn, recs, page, changes, listener, step);
}
std::size_t StoreTogether(Scenario& scn, const std::vector<const TReinfGroup*>& recs, const Shared<GroupFields>& page,
                          const FieldChanges& changes, EditListener& listener, EditStep& step) {
    return StoreAll(scn, recs, page, changes, listener, step);
}
std::size_t StoreTogether(Scenario& scn, const std::vector<const TCommandRec*>& recs, const Shared<CommandFields>& page,
                          const FieldChanges& changes, EditListener& listener, EditStep& step) {
    return StoreAll(scn, recs, page, changes, listener, step);
}

}  // namespace varno
