#pragma once
// What the editor keeps in VARNO.INI: the order of battle's and the
// scenario's paths ([Paths], as the file system's bytes) and the windows'
// places. Read and written without a window.
#include <string>
#include <vector>

#include "editor/settings/windowplaces.h"

namespace varno {

class IniFile;

struct EditSettings {
    std::string OobPath = "C:\\KLV\\MAIN.OOB";
    std::string ScnPath = ".SCN";
    WindowPlaces Places;
    // The last scenarios read or saved, newest first ([Recent], a section of
    // our own, so that the game's sections stay as they are).
    std::vector<std::string> Recent;

    // Missing keys keep the defaults above.
    static EditSettings Read(const IniFile& ini);
    // [Paths], then the places, then [Recent] (in the keys that hold no
    // ignored entry).
    void Write(IniFile& ini) const;

    bool operator==(const EditSettings&) const = default;
};

// The most scenarios File > Recent lists.
constexpr int kRecentLimit = 8;
// The longest path File > Recent keeps, in bytes (the system's own limit):
// a longer [Recent] entry is ignored and left in the file as it is.
constexpr std::size_t kRecentPathMax = 4096;

// Puts `path` first in `recent`, once, keeping at most kRecentLimit paths;
// an empty path or one longer than kRecentPathMax is not kept.
void AddRecent(std::vector<std::string>& recent, const std::string& path);

}  // namespace varno
