#include "scenario/scenariobuilder.h"

namespace varno {

TOobRec& ScenarioBuilder::NewOobRec() {
    constexpr std::size_t kBlock = 256;
    if (scn_.oobBlockFree_ == 0) {
        scn_.oobBlocks_.push_back(std::make_unique<TOobRec[]>(kBlock));
        scn_.oobBlockFree_ = kBlock;
    }
    TOobRec* rec = &scn_.oobBlocks_.back()[kBlock - scn_.oobBlockFree_--];
    rec->Index = static_cast<std::int32_t>(scn_.oobList_.size());
    scn_.oobList_.push_back(rec);
    return *rec;
}

TSetupRec& ScenarioBuilder::NewSetup() {
    TSetupRec& rec = scn_.setupPool_.emplace_back();
    scn_.setupList_.push_back(&rec);
    return rec;
}

TReleaseRec& ScenarioBuilder::NewRelease() {
    TReleaseRec& rec = scn_.releasePool_.emplace_back();
    scn_.releaseList_.push_back(&rec);
    return rec;
}

TReinfGroup& ScenarioBuilder::NewReinfGroup() {
    TReinfGroup& rec = scn_.reinfPool_.emplace_back();
    scn_.reinfList_.push_back(&rec);
    return rec;
}

TCommandRec& ScenarioBuilder::NewCommand() {
    TCommandRec& rec = scn_.commandPool_.emplace_back();
    scn_.commandList_.push_back(&rec);
    return rec;
}

}  // namespace varno
