// Any bytes as VARNO.INI: the settings are read as the main window reads them
// at start, written back as it writes them at closing, and read again. What
// is read the second time must be what was read the first time, and writing
// it once more must give the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "editor/inifile.h"
#include "editor/textconv.h"

using namespace varno;

namespace {

void check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "fuzz_ini_settings: %s\n", what);
    std::abort();
}

const char* const kForms[] = {"EditTop", "EditLeft", "MapTop", "MapLeft", "MapHt", "MapWid"};

struct Settings {
    std::string oobPath;  // as the window keeps it: file system bytes
    QString scnPath;
    int forms[6];

    bool operator==(const Settings& o) const {
        for (int i = 0; i < 6; ++i)
            if (forms[i] != o.forms[i]) return false;
        return oobPath == o.oobPath && scnPath == o.scnPath;
    }
};

Settings Read(const IniFile& ini) {
    Settings s;
    s.oobPath = PathBytes(
        ini.ReadString(QStringLiteral("Paths"), QStringLiteral("OOBfile"), QStringLiteral("C:\\KLV\\MAIN.OOB")));
    s.scnPath = ini.ReadString(QStringLiteral("Paths"), QStringLiteral("SCNfile"), QStringLiteral(".SCN"));
    for (int i = 0; i < 6; ++i) s.forms[i] = ini.ReadInteger(QStringLiteral("Forms"), QLatin1String(kForms[i]), -1);
    return s;
}

QByteArray Write(IniFile& ini, const Settings& s) {
    ini.WriteString(QStringLiteral("Paths"), QStringLiteral("OOBfile"), PathText(s.oobPath));
    ini.WriteString(QStringLiteral("Paths"), QStringLiteral("SCNfile"), s.scnPath);
    for (int i = 0; i < 6; ++i) ini.WriteInteger(QStringLiteral("Forms"), QLatin1String(kForms[i]), s.forms[i]);
    return ini.Bytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    IniFile first = IniFile::FromBytes(bytes);
    const Settings read = Read(first);
    const QByteArray written = Write(first, read);

    IniFile second = IniFile::FromBytes(written);
    check(Read(second) == read, "the settings read back differ from those written");
    check(Write(second, read) == written, "writing the settings read back changes the file");
    return 0;
}
