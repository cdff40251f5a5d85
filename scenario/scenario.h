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

    TOobRec* CurOob = nullptr;
    std::vector<std::string> ScnHeader;
    std::vector<std::string> ScnMisc;
    std::vector<std::string> ScnTrailer;
    bool Modified = false;
    std::array<std::int32_t, 9> CmdGroupCounts{};
    std::string OobPath;
    std::vector<TOobRec*> OobList;
    std::vector<TSetupRec*> SetupList;
    TSetupRec* CurSetup = nullptr;
    std::vector<TReleaseRec*> ReleaseList;
    TReleaseRec* CurRelease = nullptr;
    std::vector<TReinfGroup*> ReinfList;
    TReinfGroup* CurReinf = nullptr;
    std::vector<TCommandRec*> CommandList;
    TCommandRec* CurCommand = nullptr;
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

    // Allocators: a zeroed record appended to its list and made current.
    void NewOobRec();
    void NewSetup();
    void NewRelease();
    void NewReinfGroup();
    void NewCommand();

    // Empties the order of battle (records stay alive).
    void ClearOob();
    // Makes an entry of OobList findable by its dot name; call once per entry,
    // in list order, when its Levels are final. The first entry with a dot
    // name wins. FindDotName walks the list instead while some entry of it
    // has not been indexed.
    void IndexDotName(TOobRec* entry);

    // True when an entry has exactly the key's dot name; CurOob is then that
    // entry (the first one in list order).
    bool FindDotName(const DotKey& key);

private:
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
    std::vector<std::pair<std::uint64_t, TOobRec*>> byDotName_;
    std::size_t indexed_ = 0;  // entries of OobList that went through IndexDotName

    void LeaveListOrder();
};

}  // namespace varno
