#pragma once
// Where the windows were when the editor closed: the main window's position,
// the map window's position and size ([Forms] in VARNO.INI) and the border
// between the order-of-battle column and the notebook, whether the map
// shows hex numbers and which of its overlays are on ([Layout]). A negative
// value (or a missing key) means "none kept": the designed place stays.

namespace varno {

class IniFile;

struct WindowPlaces {
    int EditTop = -1;
    int EditLeft = -1;
    int MapTop = -1;
    int MapLeft = -1;
    int MapHt = -1;
    int MapWid = -1;
    int OobWidth = -1;
    bool HexNumbers = false;  // View > Hex Numbers, [Layout] too
    // The map's View > Arrivals, Orders and Releases, [Layout] too.
    bool Arrivals = false, Orders = false, Releases = false;

    // The values kept in the settings; a value that is not a decimal integer
    // counts as missing.
    static WindowPlaces Read(const IniFile& ini);
    // Writes every value, [Forms] before [Layout].
    void Write(IniFile& ini) const;

    bool operator==(const WindowPlaces&) const = default;
};

}  // namespace varno
