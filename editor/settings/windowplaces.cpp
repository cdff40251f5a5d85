#include "editor/settings/windowplaces.h"

#include "editor/settings/inifile.h"

namespace varno {

namespace {

const QString kForms = QStringLiteral("Forms");
const QString kLayout = QStringLiteral("Layout");

// The [Forms] keys in the order they are written.
struct FormsKey {
    const char* key;
    int WindowPlaces::*value;
};
constexpr FormsKey kFormsKeys[] = {
    {"EditTop", &WindowPlaces::EditTop}, {"EditLeft", &WindowPlaces::EditLeft}, {"MapTop", &WindowPlaces::MapTop},
    {"MapLeft", &WindowPlaces::MapLeft}, {"MapHt", &WindowPlaces::MapHt},       {"MapWid", &WindowPlaces::MapWid},
};

// The map's overlays, [Layout] after HexNumbers.
struct OverlayKey {
    const char* key;
    bool WindowPlaces::*value;
};
constexpr OverlayKey kOverlayKeys[] = {
    {"Arrivals", &WindowPlaces::Arrivals}, {"Orders", &WindowPlaces::Orders}, {"Releases", &WindowPlaces::Releases}};

}  // namespace

WindowPlaces WindowPlaces::Read(const IniFile& ini) {
    WindowPlaces p;
    for (const FormsKey& k : kFormsKeys) p.*k.value = ini.ReadInteger(kForms, QLatin1String(k.key), -1);
    p.OobWidth = ini.ReadInteger(kLayout, QStringLiteral("OobWidth"), -1);
    p.HexNumbers = ini.ReadInteger(kLayout, QStringLiteral("HexNumbers"), 0) == 1;
    for (const auto& [key, value] : kOverlayKeys) p.*value = ini.ReadInteger(kLayout, QLatin1String(key), 0) == 1;
    return p;
}

void WindowPlaces::Write(IniFile& ini) const {
    for (const FormsKey& k : kFormsKeys) ini.WriteInteger(kForms, QLatin1String(k.key), this->*k.value);
    ini.WriteInteger(kLayout, QStringLiteral("OobWidth"), OobWidth);
    ini.WriteInteger(kLayout, QStringLiteral("HexNumbers"), HexNumbers ? 1 : 0);
    for (const auto& [key, value] : kOverlayKeys) ini.WriteInteger(kLayout, QLatin1String(key), this->*value ? 1 : 0);
}

}  // namespace varno
