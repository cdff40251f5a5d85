// The order-of-battle reader on any file contents: it either reads them or
// raises its own error, and the list box it reports to stays parallel to
// OobList with sound parents and dot names.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "scenario/linereader.h"
#include "scenario/oobreader.h"
#include "scenario/scenario.h"
#include "scenario/scnerror.h"

using namespace varno;

namespace {
struct Count : ReadListener {
    std::size_t lines = 0;
    void listCleared(ScnListBox) override { lines = 0; }
    void lineAdded(ScnListBox, std::string_view) override { ++lines; }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Scenario scn;
    Count box;
    LineReader in = LineReader::fromText(std::string(reinterpret_cast<const char*>(data), size));
    try {
        ReadOobText(scn, in, box);
    } catch (const ScnError&) {}
    if (box.lines != scn.OobList().size()) std::abort();
    for (std::size_t i = 0; i < scn.OobList().size(); ++i) {
        const TOobRec* r = scn.OobList()[i];
        if (r->Index != static_cast<std::int32_t>(i)) std::abort();
        if (r->Parent >= r->Index || r->Parent < -1) std::abort();
        if (r->Levels[0] == 0) std::abort();
        DotKey key{};
        for (int k = 0; k < 7; ++k) key[static_cast<std::size_t>(k)] = r->Levels[static_cast<std::size_t>(k)];
        // Dot names are unique: every entry of up to seven numbers is found as itself.
        if (r->Levels[7] == 0 && scn.FindDotName(key) != r) std::abort();
    }
    return 0;
}
