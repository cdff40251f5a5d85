#pragma once
// The whole scenario state the editor holds: the order of battle, the four
// scenario lists, the verbatim line lists and their companions.
#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "scenario/filestamp.h"
#include "scenario/records.h"

namespace varno {

class Scenario {
public:
    Scenario() = default;
    Scenario(const Scenario&) = delete;
    Scenario& operator=(const Scenario&) = delete;

    // The order of battle and the four scenario lists, in file order. A
    // record changes only through the edit operations (scenario/scnedit.h),
    // which note every change in an EditStep; the readers, and tests that
    // build a scenario, use a ScenarioBuilder (scenario/scenariobuilder.h).
    RecordList<TOobRec> OobList() const { return oobList_; }
    RecordList<TSetupRec> SetupList() const { return setupList_; }
    RecordList<TReleaseRec> ReleaseList() const { return releaseList_; }
    RecordList<TReinfGroup> ReinfList() const { return reinfList_; }
    RecordList<TCommandRec> CommandList() const { return commandList_; }
    // The lines of the file kept as they are: the nine header lines, the
    // miscellaneous lines, the lines after the commands.
    const std::vector<std::string>& ScnHeader() const { return scnHeader_; }
    const std::vector<std::string>& ScnMisc() const { return scnMisc_; }
    const std::vector<std::string>& ScnTrailer() const { return scnTrailer_; }

    // The file's state beside its records.
    bool Modified = false;
    std::array<std::int32_t, 9> CmdGroupCounts{};
    std::string OobPath;
    std::string GameDir;  // directory of MAIN.OOB, ending in '/'
    // Some release line of the scenario file last read carries a chance (the
    // form written without "V 1.03"). Cleared by every reset of the lists.
    bool ReleaseChanceInFile = false;
    // A Read began (order of battle or scenario) and stopped at an error: the
    // lists hold only part of the file, or belong to another one. A Read that
    // reaches the end of the scenario clears it.
    bool ReadIncomplete = false;
    // The scenario file as the last Read (or Save) left it; a save refuses
    // to replace a file that changed since, unless told to.
    FileStamp ReadStamp;
    // Release and command lines of the last Read that named no entry of the
    // order of battle: skipped, and left out by the next save.
    std::size_t SkippedReleaseLines = 0;
    std::size_t SkippedCommandLines = 0;

    // The entry with exactly the key's dot name (the first one in list
    // order), or null.
    const TOobRec* FindDotName(const DotKey& key) const;

private:
    friend class ScenarioBuilder;

    std::vector<TOobRec*> oobList_;
    std::vector<TSetupRec*> setupList_;
    std::vector<TReleaseRec*> releaseList_;
    std::vector<TReinfGroup*> reinfList_;
    std::vector<TCommandRec*> commandList_;
    std::vector<std::string> scnHeader_;
    std::vector<std::string> scnMisc_;
    std::vector<std::string> scnTrailer_;

    // The entries in blocks, many a block (a large order of battle takes
    // few allocations); a block never moves.
    std::vector<std::unique_ptr<TOobRec[]>> oobBlocks_;
    std::size_t oobBlockFree_ = 0;  // unused records in the last block
    std::deque<TSetupRec> setupPool_;
    std::deque<TReleaseRec> releasePool_;
    std::deque<TReinfGroup> reinfPool_;
    std::deque<TCommandRec> commandPool_;
    // While entries are indexed in list order with increasing dot names (as
    // the reader adds them), the first inOrder_ entries of OobList are their
    // own index: a binary search over them needs no memory of its own. The
    // first entry that breaks the order moves them into byDotName_, which
    // then holds every indexed entry until ClearOob.
    std::size_t inOrder_ = 0;
    std::uint64_t lastKey_ = 0;  // the packed name of OobList[inOrder_ - 1]
    bool listOrder_ = true;      // byDotName_ not in use yet
    // (packed dot name, entry), sorted by the packed name.
    std::vector<std::pair<std::uint64_t, const TOobRec*>> byDotName_;
    std::size_t indexed_ = 0;  // entries of OobList that went through IndexDotName

    void LeaveListOrder();
    void IndexDotName(const TOobRec* entry);
    void ClearOob();
};

}  // namespace varno
