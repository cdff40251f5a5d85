#pragma once
// The unrecorded way to change a scenario: the readers build one with it
// from a file, and tests, fuzzers, benchmarks and the demo makers make the
// records they need. Nothing done through it is noted in a history, so the
// editor and the command line never use it: they change a scenario only
// through the edit operations (scenario/scnedit.h), each of which needs the
// EditStep of the action under way.
#include <string>
#include <vector>

#include "scenario/scenario.h"

namespace varno {

class ScenarioBuilder {
public:
    explicit ScenarioBuilder(Scenario& scn) : scn_(scn) {}

    // Allocators: a zeroed record appended to its list. An entry gets its
    // Index (its position in OobList).
    TOobRec& NewOobRec();
    TSetupRec& NewSetup();
    TReleaseRec& NewRelease();
    TReinfGroup& NewReinfGroup();
    TCommandRec& NewCommand();

    // Empties the order of battle (records stay alive).
    void ClearOob() { scn_.ClearOob(); }
    // Makes an entry of OobList findable by its dot name; call once per entry,
    // in list order, when its Levels are final. The first entry with a dot
    // name wins. FindDotName walks the list instead while some entry of it
    // has not been indexed.
    void IndexDotName(const TOobRec& entry) { scn_.IndexDotName(&entry); }

    // The lists and the kept lines, to change.
    std::vector<TOobRec*>& OobList() { return scn_.oobList_; }
    std::vector<TSetupRec*>& SetupList() { return scn_.setupList_; }
    std::vector<TReleaseRec*>& ReleaseList() { return scn_.releaseList_; }
    std::vector<TReinfGroup*>& ReinfList() { return scn_.reinfList_; }
    std::vector<TCommandRec*>& CommandList() { return scn_.commandList_; }
    std::vector<std::string>& ScnHeader() { return scn_.scnHeader_; }
    std::vector<std::string>& ScnMisc() { return scn_.scnMisc_; }
    std::vector<std::string>& ScnTrailer() { return scn_.scnTrailer_; }

    // A record of the scenario, to change. Every record is made by the
    // allocators above, never as a const object.
    template <class R> static R& Edit(const R* rec) { return const_cast<R&>(*rec); }
    template <class R> static R& Edit(const R& rec) { return const_cast<R&>(rec); }

private:
    Scenario& scn_;
};

}  // namespace varno
