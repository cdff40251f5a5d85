#include "editor/editsettings.h"

#include "editor/inifile.h"

namespace varno {

namespace {

const QString kPaths = QStringLiteral("Paths");
const QString kOobFile = QStringLiteral("OOBfile");
const QString kScnFile = QStringLiteral("SCNfile");

}  // namespace

EditSettings EditSettings::Read(const IniFile& ini) {
    EditSettings s;
    // Paths are the file system's bytes, kept as they are in the file.
    s.OobPath = ini.ReadBytes(kPaths, kOobFile, QByteArray::fromStdString(s.OobPath)).toStdString();
    s.ScnPath = ini.ReadBytes(kPaths, kScnFile, QByteArray::fromStdString(s.ScnPath)).toStdString();
    s.Places = WindowPlaces::Read(ini);
    return s;
}

void EditSettings::Write(IniFile& ini) const {
    ini.WriteBytes(kPaths, kOobFile, QByteArray::fromStdString(OobPath));
    ini.WriteBytes(kPaths, kScnFile, QByteArray::fromStdString(ScnPath));
    Places.Write(ini);
}

}  // namespace varno
