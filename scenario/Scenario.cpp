#include "Scenario.h"

namespace {
// The dot name as one number: the levels up to the first 0, zeros after.
// Two keys are equal exactly when their dot names are.
std::uint64_t PackDotName(const std::array<std::uint8_t, 8>& levels) {
    std::uint64_t packed = 0;
    for (int i = 0; i < 8; ++i) {
        if (levels[i] == 0) break;
        packed |= static_cast<std::uint64_t>(levels[i]) << (8 * i);
    }
    return packed;
}

bool SameDotName(const std::array<std::uint8_t, 8>& key, const std::array<std::uint8_t, 8>& levels) {
    for (int i = 0; i < 8; ++i) {
        if (key[i] == 0) return levels[i] == 0;
        if (key[i] != levels[i]) return false;
    }
    return true;
}
}  // namespace

void Scenario::NewOobRec() {
    TOobRec* rec = &oobPool_.emplace_back();
    rec->Index = static_cast<std::int32_t>(OobList.size());
    OobList.push_back(rec);
    CurOob = rec;
}

void Scenario::NewSetup() {
    CurSetup = &setupPool_.emplace_back();
    SetupList.push_back(CurSetup);
}

void Scenario::NewRelease() {
    CurRelease = &releasePool_.emplace_back();
    ReleaseList.push_back(CurRelease);
}

void Scenario::NewReinfGroup() {
    CurReinf = &reinfPool_.emplace_back();
    ReinfList.push_back(CurReinf);
}

void Scenario::NewCommand() {
    CurCommand = &commandPool_.emplace_back();
    CommandList.push_back(CurCommand);
}

void Scenario::ClearOob() {
    OobList.clear();
    byDotName_.clear();
    indexed_ = 0;
}

void Scenario::IndexDotName(TOobRec* entry) {
    if (!entry) return;
    if (entry->Levels[0] == 0) {  // no dot name: nothing to find it by
        ++indexed_;
        return;
    }
    auto [it, added] = byDotName_.try_emplace(PackDotName(entry->Levels), entry);
    if (added || it->second != entry) ++indexed_;
}

bool Scenario::FindDotName(const DotKey& key) {
    if (key[0] == 0) return false;
    // The index answers when every entry of the list went through it and the
    // entry it names still carries that name; otherwise (also for a name it
    // does not know, which may belong to an entry changed since) walk the list.
    if (indexed_ == OobList.size()) {
        auto it = byDotName_.find(PackDotName(key));
        if (it != byDotName_.end() && SameDotName(key, it->second->Levels)) {
            CurOob = it->second;
            return true;
        }
    }
    for (TOobRec* entry : OobList) {
        if (SameDotName(key, entry->Levels)) {
            CurOob = entry;
            return true;
        }
    }
    return false;
}
