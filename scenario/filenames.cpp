#include "scenario/filenames.h"

#include <filesystem>
#include <system_error>

#include "scenario/platform/platform.h"
#include "scenario/scnerror.h"

namespace varno {

namespace fs = std::filesystem;
using platform::FsPath;

std::string DirPart(const std::string& path) {
    for (std::size_t i = path.size(); i > 0; --i)
        if (platform::IsSeparator(path[i - 1])) return path.substr(0, i);
    return {};
}

namespace {
bool SameNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
        if (x != y) return false;
    }
    return true;
}
}  // namespace

std::string FindFileNoCase(const std::string& dir, const std::string& name) {
    std::error_code ec;
    // The name as spelled wins when it exists; otherwise the first match in
    // byte order, so that the choice does not depend on the directory's order.
    // Where the system ignores case the name always "exists": the folder
    // tells how the file is spelled.
    const fs::path folder = FsPath(dir.empty() ? "." : dir);
    if (!platform::NamesIgnoreCase() && fs::exists(folder / FsPath(name), ec)) return dir + name;
    std::string best;
    fs::directory_iterator it(folder, ec);
    if (ec) return dir + name;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        const std::string entry = platform::PathString(it->path().filename());
        if (entry == name) return dir + name;
        if (SameNoCase(entry, name) && (best.empty() || entry < best)) best = entry;
    }
    return dir + (best.empty() ? name : best);
}

std::string AbsoluteScenarioPath(const std::string& typed) {
    return typed.empty() || platform::IsAbsolutePath(typed) ? typed : platform::AbsolutePath(typed);
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    const fs::path p = FsPath(path);
    return !path.empty() && fs::exists(p, ec) && !fs::is_directory(p, ec);
}

bool SameFolder(const std::string& a, const std::string& b) {
    std::error_code ec;
    const bool same = fs::equivalent(FsPath(a.empty() ? "." : a), FsPath(b.empty() ? "." : b), ec);
    return ec ? a == b : same;
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    const bool same = fs::equivalent(a, b, ec);
    return !ec && same;
}

bool IsGameFileName(const std::string& name) {
    for (const char* own : {"MAIN.OOB", "MAIN.MAP", "MAIN1.BMP", "ICONS2D.BMP"})
        if (SameNoCase(name, own)) return true;
    // OLDSCN<n>.TXT: the prefix and suffix in any case, one or more digits between.
    constexpr std::size_t kPrefix = 6, kSuffix = 4;
    if (name.size() <= kPrefix + kSuffix || !SameNoCase(name.substr(0, kPrefix), "OLDSCN") ||
        !SameNoCase(name.substr(name.size() - kSuffix), ".TXT"))
        return false;
    for (std::size_t i = kPrefix; i < name.size() - kSuffix; ++i)
        if (name[i] < '0' || name[i] > '9') return false;
    return true;
}

void RefuseGameFile(const std::string& path) {
    const std::string name = path.substr(DirPart(path).size());
    if (IsGameFileName(name)) throw ScnError(name + " is one of the game's files: choose another name");
}

}  // namespace varno
