// Feeds arbitrary bytes to the reading of pasted text against the fixed order
// of battle of the scenario target. Whatever reads is a record a scenario can
// hold; copied again and pasted again it reads whole and gives the same text;
// the lines left out are counted once each.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "scenario/cliptext.h"
#include "tests/fuzz/fixed_oob.h"

using namespace varno;

namespace {

CopiedRecords SetOf(const PastedText& p) {
    CopiedRecords set;
    for (const TSetupRec& s : p.Setups) set.Setups.push_back(&s);
    for (const TReinfGroup& g : p.Groups) set.Groups.push_back(&g);
    for (const TReleaseRec& r : p.Releases) set.Releases.push_back(&r);
    for (const TCommandRec& c : p.Commands) set.Commands.push_back(&c);
    return set;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Scenario scn;
    fuzzoob::FixedOob(scn);
    const EntryLookup find = [&scn](const DotKey& key) { return scn.FindDotName(key); };

    const std::string_view text(reinterpret_cast<const char*>(data), size);
    PastedText pasted = ReadRecordText(text, find);
    std::size_t lines = 0;
    for (char c : text) lines += c == '\n';
    if (pasted.BadLines.size() + pasted.UnknownUnits > pasted.Lines || pasted.Lines > lines + 1) __builtin_trap();
    for (std::size_t i = 0; i < pasted.BadLines.size(); ++i)
        if (pasted.BadLines[i] == 0 || pasted.BadLines[i] > lines + 1 ||
            (i > 0 && pasted.BadLines[i] <= pasted.BadLines[i - 1]))
            __builtin_trap();
    for (const TReinfGroup& g : pasted.Groups) {
        if (g.Count < 1 || g.Count > 10) __builtin_trap();
        for (int i = 0; i < g.Count; ++i)
            if (!g.Units[i]) __builtin_trap();
    }
    for (const TCommandRec& c : pasted.Commands)
        if (c.Group < 1 || c.Group > 8 || !c.Unit) __builtin_trap();
    if (pasted.records() > 0 && PasteMessage(pasted).size() > 4096) __builtin_trap();

    // Copied and pasted again: everything reads, the same text again.
    const std::string copied = RecordText(SetOf(pasted));
    const PastedText again = ReadRecordText(copied, find);
    if (!again.BadLines.empty() || again.UnknownUnits != 0 || !PasteMessage(again).empty()) __builtin_trap();
    if (RecordText(SetOf(again)) != copied) __builtin_trap();

    // Into the empty scenario: Add's rules leave out only repeats.
    const std::size_t before = pasted.records();
    KeepAddable(pasted, scn.ReleaseList(), scn.ReinfList());
    if (pasted.records() > before) __builtin_trap();
    return 0;
}
