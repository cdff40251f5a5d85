// Feeds arbitrary bytes to the scenario reader against a small fixed order of
// battle; a file that reads is written and read once more.
#include <cstddef>
#include <cstdint>
#include <string>

#include "LineReader.h"
#include "OobReader.h"
#include "Scenario.h"
#include "ScnError.h"
#include "ScnReader.h"
#include "ScnWriter.h"

namespace {

const char kOob[] =
    "Fuzz order of battle\r\n"
    "Union A First Army\r\n"
    "Begin\r\n"
    "  L 1 2 3 Gen. Ash\r\n"
    "  S 5 6 Supply Train\r\n"
    "  B First Corps\r\n"
    "  Begin\r\n"
    "    U 120 3 I X 4 5 1st Regiment\r\n"
    "    U 90 2 C Y 4 5 2nd Cavalry\r\n"
    "    U 60 1 A Z 4 5 3rd Battery\r\n"
    "  End\r\n"
    "End\r\n"
    "Confederate U 100 3 I X 4 5 Lone Regiment\r\n"
    "Confederate A Second Army\r\n"
    "Begin\r\n"
    "  L 1 2 3 Gen. Birch\r\n"
    "  U 110 3 H X 4 5 4th Regiment\r\n"
    "End\r\n";

void ReadFixedOob(Scenario& scn, ReadListener& quiet)
{
    LineReader in = LineReader::fromText(kOob);
    ReadOobText(scn, in, quiet);
}

// Lists and list lines must agree whatever the input.
struct CountingListener : ReadListener {
    std::size_t setups = 0, releases = 0, groups = 0, commands = 0;
    void listCleared(ScnListBox box) override
    {
        if (box == ScnListBox::SetUnits) setups = 0;
        if (box == ScnListBox::Releases) releases = 0;
        if (box == ScnListBox::Reinfor) groups = 0;
        if (box == ScnListBox::Commands) commands = 0;
    }
    void lineAdded(ScnListBox box, std::string_view) override
    {
        if (box == ScnListBox::SetUnits) ++setups;
        if (box == ScnListBox::Releases) ++releases;
        if (box == ScnListBox::Reinfor) ++groups;
        if (box == ScnListBox::Commands) ++commands;
    }
    bool inStep(const Scenario& scn) const
    {
        return setups == scn.SetupList.size() && releases == scn.ReleaseList.size() &&
               groups == scn.ReinfList.size() && commands == scn.CommandList.size();
    }
};

bool ReadInto(Scenario& scn, const std::string& text, CountingListener& listener)
{
    ResetScenario(scn, listener);
    LineReader in = LineReader::fromText(text);
    try {
        ReadScenarioText(scn, in, listener);
    } catch (const ScnError&) {
        if (!listener.inStep(scn)) __builtin_trap();
        return false;
    }
    if (!listener.inStep(scn)) __builtin_trap();
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A fresh scenario each time: records live as long as their scenario.
    Scenario scn;
    ReadListener quiet;
    ReadFixedOob(scn, quiet);
    if (scn.OobList.empty()) __builtin_trap();

    CountingListener listener;
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (!ReadInto(scn, text, listener)) return 0;
    for (TReinfGroup* g : scn.ReinfList)
        if (g->Count < 1 || g->Count > 10) __builtin_trap();
    for (TCommandRec* c : scn.CommandList)
        if (c->Group < 1 || c->Group > 8) __builtin_trap();

    const WriteOptions opts{.SortByCol = size % 2 == 0, .V103 = size % 3 == 0};
    const std::string written = ScenarioText(scn, opts, nullptr);
    // What the editor writes has CR LF after every line.
    if (!written.empty() && written.compare(written.size() - 2, 2, "\r\n") != 0) __builtin_trap();
    ReadInto(scn, written, listener);
    return 0;
}
