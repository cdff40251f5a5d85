#include "scenario/scnbackups.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "scenario/filenames.h"
#include "scenario/linereader.h"
#include "scenario/oobreader.h"
#include "scenario/platform/platform.h"
#include "scenario/readlistener.h"
#include "scenario/scnerror.h"
#include "scenario/scnreader.h"

namespace varno {

namespace fs = std::filesystem;

namespace {

// n of a name OLDSCN<n>.TXT in any case, 0 for any other name.
int BackupNumber(const std::string& name) {
    if (name.size() != 11) return 0;
    std::string upper = name;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper.compare(0, 6, "OLDSCN") != 0 || upper.compare(7, 4, ".TXT") != 0) return 0;
    return upper[6] >= '1' && upper[6] <= '9' ? upper[6] - '0' : 0;
}

bool Describe(const std::string& path, BackupFile& out) {
    platform::FileInfo info;
    if (platform::InfoOf(path, info) || info.Kind != platform::FileKind::Regular) return false;
    out.Size = static_cast<std::int64_t>(info.Size);
    out.MTime = info.ModifiedSeconds;
    out.Path = path;
    out.Name = path.substr(DirPart(path).size());
    return true;
}

}  // namespace

std::vector<BackupFile> ListBackups(const std::string& scnPath) {
    std::vector<std::pair<int, BackupFile>> found;  // (number, file); the scenario is number 0
    BackupFile scn;
    if (Describe(scnPath, scn)) {
        scn.IsScenario = true;
        found.emplace_back(0, scn);
    }
    const std::string dir = DirPart(scnPath);
    std::error_code ec;
    for (fs::directory_iterator it(platform::FsPath(dir.empty() ? "." : dir), ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = platform::PathString(it->path().filename());
        const int n = BackupNumber(name);
        BackupFile b;
        if (n > 0 && Describe(dir + name, b)) found.emplace_back(n, b);
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        if (a.second.MTime != b.second.MTime) return a.second.MTime > b.second.MTime;
        if (a.first != b.first) return a.first < b.first;
        return a.second.Name < b.second.Name;
    });
    std::vector<BackupFile> out;
    for (auto& f : found) out.push_back(std::move(f.second));
    return out;
}

BackupComparison CompareBackup(const std::string& path, const Scenario& current) {
    BackupComparison out;
    Scenario backup;
    ReadListener quiet;
    int count = 0;
    try {
        // The reader takes any text; a scenario begins with its nine header lines.
        LineReader lines(path);
        for (; count < 9 && !lines.atEnd(); ++count) lines.next();
        ReadOob(backup, path, quiet);
        ReadScenario(backup, path, quiet);
    } catch (const ScnError& e) {
        out.Reason = e.message();
        return out;
    } catch (const std::exception& e) {
        out.Reason = e.what();
        return out;
    }
    if (count < 9) {
        out.Reason = "Not a scenario: fewer than nine lines";
        return out;
    }
    out.Diff = CompareScenarios(backup, current);
    if (out.Diff.OobDiffers) {
        out.Reason = "Another order of battle";
        return out;
    }
    out.Compared = true;
    return out;
}

}  // namespace varno
