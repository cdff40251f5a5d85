#pragma once
// What the editor keeps in VARNO.INI: the order of battle's and the
// scenario's paths ([Paths], as the file system's bytes) and the windows'
// places. Read and written without a window.
#include <string>

#include "editor/windowplaces.h"

namespace varno {

class IniFile;

struct EditSettings {
    std::string OobPath = "C:\\KLV\\MAIN.OOB";
    std::string ScnPath = ".SCN";
    WindowPlaces Places;

    // Missing keys keep the defaults above.
    static EditSettings Read(const IniFile& ini);
    // [Paths], then the places.
    void Write(IniFile& ini) const;

    bool operator==(const EditSettings&) const = default;
};

}  // namespace varno
