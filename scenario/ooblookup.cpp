#include "scenario/ooblookup.h"

#include "scenario/scanstr.h"
#include "scenario/scenario.h"

namespace varno {

DotKey ParseDotName(std::string_view text) {
    DotKey key{};
    void* dest[7];
    for (int k = 0; k < 7; ++k) dest[k] = &key[k];
    ScanStr(text, "%hd.%hd.%hd.%hd.%hd.%hd.%hd", dest, 7);
    return key;
}

int OobIndex(const Scenario& scn, const TOobRec* entry) {
    if (!entry || entry->Index < 0 || entry->Index >= static_cast<std::int32_t>(scn.OobList().size())) return -1;
    return scn.OobList()[entry->Index] == entry ? entry->Index : -1;
}

}  // namespace varno
