// Any bytes as VARNO.INI: the settings are read as the main window reads them
// at start, written back as it writes them at closing, and read again. What
// is read the second time must be what was read the first time, byte for
// byte, and writing it once more must give the same bytes. A value read as
// text keeps every character of its UTF-8, a leading U+FEFF too.
#include <QStringDecoder>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "editor/settings/editsettings.h"
#include "editor/settings/inifile.h"

using namespace varno;

namespace {

void check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "fuzz_ini_settings: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    IniFile first = IniFile::FromBytes(bytes);
    const EditSettings read = EditSettings::Read(first);
    read.Write(first);
    const QByteArray written = first.Bytes();

    IniFile second = IniFile::FromBytes(written);
    check(EditSettings::Read(second) == read, "the settings read back differ from those written");
    read.Write(second);
    check(second.Bytes() == written, "writing the settings read back changes the file");

    const QString paths = QStringLiteral("Paths"), oob = QStringLiteral("OOBfile");
    const QByteArray value = first.ReadBytes(paths, oob, {});
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::ConvertInitialBom | QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(value);
    if (!utf8.hasError())
        check(first.ReadString(paths, oob, {}) == text && text.toUtf8() == value, "a value read as text lost bytes");
    return 0;
}
