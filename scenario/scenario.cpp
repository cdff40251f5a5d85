#include "scenario/scenario.h"

#include <algorithm>

namespace varno {

namespace {
// The dot name as one number: the levels up to the first 0, zeros after,
// the first level in the highest byte. Two keys are equal exactly when their
// dot names are, and the entries of an order of battle, numbered as they are
// read, come in increasing order.
std::uint64_t PackDotName(const std::array<std::uint8_t, 8>& levels) {
    std::uint64_t packed = 0;
    for (int i = 0; i < 8; ++i) {
        if (levels[i] == 0) break;
        packed |= static_cast<std::uint64_t>(levels[i]) << (8 * (7 - i));
    }
    return packed;
}

bool KeyBelow(const std::pair<std::uint64_t, const TOobRec*>& item, std::uint64_t key) { return item.first < key; }

bool SameDotName(const std::array<std::uint8_t, 8>& key, const std::array<std::uint8_t, 8>& levels) {
    for (int i = 0; i < 8; ++i) {
        if (key[i] == 0) return levels[i] == 0;
        if (key[i] != levels[i]) return false;
    }
    return true;
}
}  // namespace

void Scenario::ClearOob() {
    oobList_.clear();
    byDotName_.clear();
    indexed_ = 0;
    inOrder_ = 0;
    lastKey_ = 0;
    listOrder_ = true;
}

void Scenario::LeaveListOrder() {
    listOrder_ = false;
    // By the names they carry now (an entry may have changed since it was
    // indexed), the first in list order keeping a name.
    byDotName_.reserve(inOrder_ + 1);
    for (std::size_t i = 0; i < inOrder_ && i < oobList_.size(); ++i)
        if (oobList_[i]->Levels[0] != 0) byDotName_.emplace_back(PackDotName(oobList_[i]->Levels), oobList_[i]);
    std::stable_sort(byDotName_.begin(), byDotName_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    byDotName_.erase(std::unique(byDotName_.begin(), byDotName_.end(),
                                 [](const auto& a, const auto& b) { return a.first == b.first; }),
                     byDotName_.end());
    inOrder_ = 0;
}

void Scenario::IndexDotName(const TOobRec* entry) {
    if (!entry) return;
    if (listOrder_) {
        // The next entry of the list, named after the one before it: the
        // list itself finds it.
        const std::uint64_t key = entry->Levels[0] != 0 ? PackDotName(entry->Levels) : 0;
        if (key > lastKey_ && inOrder_ < oobList_.size() && oobList_[inOrder_] == entry) {
            ++inOrder_;
            ++indexed_;
            lastKey_ = key;
            return;
        }
        LeaveListOrder();
    }
    if (entry->Levels[0] == 0) {  // no dot name: nothing to find it by
        ++indexed_;
        return;
    }
    const std::uint64_t key = PackDotName(entry->Levels);
    // Entries read from a file arrive in increasing order: appended.
    if (byDotName_.empty() || byDotName_.back().first < key) {
        byDotName_.emplace_back(key, entry);
        ++indexed_;
        return;
    }
    const auto it = std::lower_bound(byDotName_.begin(), byDotName_.end(), key, KeyBelow);
    if (it != byDotName_.end() && it->first == key) {
        if (it->second != entry) ++indexed_;  // the first entry with the name keeps it
        return;
    }
    byDotName_.insert(it, {key, entry});
    ++indexed_;
}

const TOobRec* Scenario::FindDotName(const DotKey& key) const {
    if (key[0] == 0) return nullptr;
    // The index answers when every entry of the list went through it and the
    // entry it names still carries that name; otherwise (also for a name it
    // does not know, which may belong to an entry changed since) walk the list.
    if (indexed_ == oobList_.size()) {
        const std::uint64_t packed = PackDotName(key);
        if (inOrder_ > 0) {
            const auto end = oobList_.begin() + static_cast<std::ptrdiff_t>(std::min(inOrder_, oobList_.size()));
            const auto it = std::lower_bound(oobList_.begin(), end, packed, [](const TOobRec* e, std::uint64_t k) {
                return PackDotName(e->Levels) < k;
            });
            if (it != end && SameDotName(key, (*it)->Levels)) return *it;
        }
        const auto it = std::lower_bound(byDotName_.begin(), byDotName_.end(), packed, KeyBelow);
        if (it != byDotName_.end() && it->first == packed && SameDotName(key, it->second->Levels)) return it->second;
    }
    for (const TOobRec* entry : oobList_)
        if (SameDotName(key, entry->Levels)) return entry;
    return nullptr;
}

}  // namespace varno
