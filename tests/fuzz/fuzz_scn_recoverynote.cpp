// Any bytes as a recovery copy's description: what reads writes back to a
// text that reads as the same description, and what does not read says why.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "scenario/recoverynote.h"

using namespace varno;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    RecoveryNote note;
    const std::string why = ParseNote(text, note);
    if (!why.empty()) return 0;
    RecoveryNote again;
    if (!ParseNote(NoteText(note), again).empty() || !(again == note)) std::abort();
    return 0;
}
