#include "scenario/filenames.h"

#include <filesystem>
#include <system_error>

#include "scenario/scnerror.h"

namespace varno {

namespace fs = std::filesystem;

std::string DirPart(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
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
    if (fs::exists(fs::path(dir.empty() ? "." : dir) / name, ec)) return dir + name;
    std::string best;
    fs::directory_iterator it(dir.empty() ? fs::path(".") : fs::path(dir), ec);
    if (ec) return dir + name;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        const std::string entry = it->path().filename().string();
        if (SameNoCase(entry, name) && (best.empty() || entry < best)) best = entry;
    }
    return dir + (best.empty() ? name : best);
}

std::string AbsoluteScenarioPath(const std::string& typed) {
    if (typed.empty() || typed.front() == '/') return typed;
    std::error_code ec;
    fs::path cwd = fs::current_path(ec);
    if (ec) return typed;
    std::string base = cwd.string();
    if (base.empty() || base.back() != '/') base += '/';
    return base + typed;
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::exists(path, ec) && !fs::is_directory(path, ec);
}

bool SameFolder(const std::string& a, const std::string& b) {
    std::error_code ec;
    const bool same = fs::equivalent(a.empty() ? "." : a, b.empty() ? "." : b, ec);
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
