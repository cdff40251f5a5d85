// Feeds arbitrary bytes to the scenario reader against a fixed order of
// battle that holds every dot name of the demo scenario. A file that reads is
// written and read back: the written file must read without an error, and
// writing that again must give the same bytes.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "scenario/linereader.h"
#include "scenario/scenario.h"
#include "scenario/scenariobuilder.h"
#include "scenario/scncheckall.h"
#include "scenario/scnerror.h"
#include "scenario/scnreader.h"
#include "scenario/scnschedule.h"
#include "scenario/scnwriter.h"
#include "tests/fuzz/fixed_oob.h"

using fuzzoob::FixedOob;

using namespace varno;

namespace {

// Lists and list lines must agree whatever the input.
struct CountingListener : ReadListener {
    std::size_t setups = 0, releases = 0, groups = 0, commands = 0;
    void listCleared(ScnListBox box) override {
        if (box == ScnListBox::SetUnits) setups = 0;
        if (box == ScnListBox::Releases) releases = 0;
        if (box == ScnListBox::Reinfor) groups = 0;
        if (box == ScnListBox::Commands) commands = 0;
    }
    void lineAdded(ScnListBox box, std::string_view) override {
        if (box == ScnListBox::SetUnits) ++setups;
        if (box == ScnListBox::Releases) ++releases;
        if (box == ScnListBox::Reinfor) ++groups;
        if (box == ScnListBox::Commands) ++commands;
    }
    bool inStep(const Scenario& scn) const {
        return setups == scn.SetupList().size() && releases == scn.ReleaseList().size() &&
               groups == scn.ReinfList().size() && commands == scn.CommandList().size();
    }
};

bool ReadInto(Scenario& scn, std::string text, CountingListener& listener) {
    ResetScenario(scn, listener);
    LineReader in = LineReader::fromText(std::move(text));
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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A fresh scenario each time: records live as long as their scenario.
    Scenario scn;
    FixedOob(scn);

    CountingListener listener;
    if (!ReadInto(scn, std::string(reinterpret_cast<const char*>(data), size), listener)) return 0;
    for (const TReinfGroup* g : scn.ReinfList())
        if (g->Count < 1 || g->Count > 10) __builtin_trap();
    for (const TCommandRec* c : scn.CommandList())
        if (c->Group < 1 || c->Group > 8) __builtin_trap();
    // The whole-scenario check takes whatever reads: each finding names a
    // record of its list, and the counts add up.
    const MapGrid grid{static_cast<std::int32_t>(size % 64), 30};
    const ScnCheckReport report = CheckScenario(scn, grid);
    int counted = 0;
    for (int n : report.Counts) counted += n;
    if (counted != static_cast<int>(report.Findings.size())) __builtin_trap();
    // Counted and told one at a time (as the command line does), the same
    // findings in the same order.
    const ScnCheckReport counts = CountFindings(scn, grid);
    if (counts.Counts != report.Counts || !counts.Findings.empty()) __builtin_trap();
    std::size_t told = 0;
    ForEachFinding(scn, grid, counts, [&](const ScnFinding& f) {
        const ScnFinding& kept = report.Findings[told++];
        if (f.Kind != kept.Kind || f.List != kept.List || f.Index != kept.Index || f.Unit != kept.Unit ||
            f.Col != kept.Col || f.Row != kept.Row || f.Text != kept.Text)
            __builtin_trap();
    });
    if (told != report.Findings.size()) __builtin_trap();
    for (const ScnFinding& f : report.Findings) {
        const std::size_t listSize = f.List == ScnListBox::SetUnits   ? scn.SetupList().size()
                                     : f.List == ScnListBox::Reinfor  ? scn.ReinfList().size()
                                     : f.List == ScnListBox::Releases ? scn.ReleaseList().size()
                                                                      : scn.CommandList().size();
        if (f.Index < 0 || static_cast<std::size_t>(f.Index) >= listSize) __builtin_trap();
    }

    // The schedule: releases only move strength between free and fixed, so
    // what stands on the map stays what stood there at the start.
    const Schedule sched = ComputeSchedule(scn);
    for (const ScheduleStep& step : sched.Steps)
        for (std::size_t side = 0; side < 2; ++side) {
            const SideStrength& now = step.Sides[side];
            const SideStrength& start = sched.Steps[0].Sides[side];
            if (now.FreeSure + now.FixedSure != start.FreeSure + start.FixedSure || now.FixedSure < 0) __builtin_trap();
            if (std::abs(now.Free + now.Fixed - start.Free - start.Fixed) > 1e-6 * (1 + start.Free + start.Fixed))
                __builtin_trap();
        }

    const WriteOptions opts{.SortByCol = size % 2 == 0, .V103 = size % 3 == 0};
    const std::string written = ScenarioText(scn, opts, nullptr);
    // What the editor writes has CR LF after every line.
    if (written.size() < 2 || written.compare(written.size() - 2, 2, "\r\n") != 0) __builtin_trap();
    // What the editor wrote it reads again, and saving that changes nothing.
    if (!ReadInto(scn, written, listener)) __builtin_trap();
    if (ScenarioText(scn, opts, nullptr) != written) __builtin_trap();
    return 0;
}
