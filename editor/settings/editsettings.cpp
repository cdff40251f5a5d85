#include "editor/settings/editsettings.h"

#include <algorithm>

#include "editor/settings/inifile.h"

namespace varno {

namespace {

const QString kPaths = QStringLiteral("Paths");
const QString kOobFile = QStringLiteral("OOBfile");
const QString kScnFile = QStringLiteral("SCNfile");
const QString kRecent = QStringLiteral("Recent");

QString recentKey(int i) { return QStringLiteral("File%1").arg(i + 1); }

// A path read from the settings goes after those read before it, once.
void AddRecentLast(std::vector<std::string>& recent, const std::string& path) {
    if (path.size() > kRecentPathMax) return;
    if (std::find(recent.begin(), recent.end(), path) == recent.end()) recent.push_back(path);
}

}  // namespace

EditSettings EditSettings::Read(const IniFile& ini) {
    EditSettings s;
    // Paths are the file system's bytes, kept as they are in the file.
    s.OobPath = ini.ReadBytes(kPaths, kOobFile, QByteArray::fromStdString(s.OobPath)).toStdString();
    s.ScnPath = ini.ReadBytes(kPaths, kScnFile, QByteArray::fromStdString(s.ScnPath)).toStdString();
    s.Places = WindowPlaces::Read(ini);
    for (int i = 0; i < kRecentLimit; ++i) {
        const QByteArray path = ini.ReadBytes(kRecent, recentKey(i), {});
        if (!path.isEmpty()) AddRecentLast(s.Recent, path.toStdString());
    }
    return s;
}

void EditSettings::Write(IniFile& ini) const {
    ini.WriteBytes(kPaths, kOobFile, QByteArray::fromStdString(OobPath));
    ini.WriteBytes(kPaths, kScnFile, QByteArray::fromStdString(ScnPath));
    Places.Write(ini);
    // Keys no longer used are emptied; a file that never had the section
    // does not get an empty one. A key holding an entry too long to be a
    // path was ignored by Read and keeps it.
    std::size_t next = 0;
    for (int i = 0; i < kRecentLimit; ++i) {
        const QByteArray held = ini.ReadBytes(kRecent, recentKey(i), {});
        if (static_cast<std::size_t>(held.size()) > kRecentPathMax) continue;
        if (next < Recent.size())
            ini.WriteBytes(kRecent, recentKey(i), QByteArray::fromStdString(Recent[next++]));
        else if (!held.isEmpty())
            ini.WriteBytes(kRecent, recentKey(i), {});
    }
}

void AddRecent(std::vector<std::string>& recent, const std::string& path) {
    if (path.empty() || path.size() > kRecentPathMax) return;
    std::erase(recent, path);
    recent.insert(recent.begin(), path);
    if (recent.size() > kRecentLimit) recent.resize(kRecentLimit);
}

}  // namespace varno
