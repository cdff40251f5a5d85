#include "scenario/scnbackups.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "scenario/filenames.h"
#include "scenario/filestamp.h"
#include "scenario/inputfile.h"
#include "scenario/linereader.h"
#include "scenario/oobreader.h"
#include "scenario/platform/platform.h"
#include "scenario/readlistener.h"
#include "scenario/scnerror.h"
#include "scenario/scnreader.h"
#include "scenario/scnwriter.h"

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

namespace {

// The order of battle at oobPath read into scn, as ReadOob does but leaving
// the working directory alone (comparisons run beside the editor's reads).
void ReadOobAt(Scenario& scn, const std::string& oobPath, std::string text) {
    ReadListener quiet;
    scn.OobPath = oobPath;
    scn.GameDir = DirPart(oobPath);
    LineReader in = LineReader::fromText(std::move(text));
    ReadOobText(scn, in, quiet);
}

// Reads the file at path into `backup` over the order of battle beside it.
// Empty, or why it is no scenario of this game.
std::string ReadBackup(const std::string& path, Scenario& backup) {
    LoadedOob oob = LoadOobFile(path);
    const ScenarioFile file = LoadScenarioFile(path);
    ReadOobAt(backup, oob.Path, std::move(oob.Text));
    ReadListener quiet;
    ReadScenario(backup, file, quiet);
    // The reader takes any text; a scenario begins with its nine header lines.
    LineReader lines = LineReader::overText(file.Text);
    int count = 0;
    for (; count < 9 && !lines.atEnd(); ++count) lines.next();
    return count < 9 ? "Not a scenario: fewer than nine lines" : std::string();
}

// Runs a comparison; whatever it raises becomes the Reason.
template <class F> BackupComparison Guarded(F&& compare) {
    BackupComparison out;
    try {
        return compare();
    } catch (const ScnError& e) {
        out.Reason = e.message();
    } catch (const std::bad_alloc&) {
        out.Reason = "not enough memory to compare it";
    } catch (const std::exception& e) {
        out.Reason = e.what();
    }
    out.Diff = {};
    return out;
}

BackupComparison CompareRead(const std::string& path, const Scenario& current) {
    BackupComparison out;
    Scenario backup;
    out.Reason = ReadBackup(path, backup);
    if (!out.Reason.empty()) return out;
    out.Diff = CompareScenarios(backup, current);
    if (out.Diff.OobDiffers) {
        out.Reason = "Another order of battle";
        return out;
    }
    out.Compared = true;
    return out;
}

// The file's first line, which names the scenario it holds; empty for a file
// that cannot be read or is too large to compare.
std::string FirstLineOf(const std::string& path) {
    platform::FileInfo info;
    if (platform::InfoOf(path, info) || info.Kind == platform::FileKind::Missing || info.Size > kBackupCompareLimit)
        return {};
    try {
        LineReader lines(path);
        return std::string(lines.next());
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace

BackupComparison CompareBackup(const std::string& path, const Scenario& current) {
    BackupComparison out = Guarded([&] { return CompareRead(path, current); });
    out.FirstLine = FirstLineOf(path);
    return out;
}

BackupComparer::BackupComparer(const Scenario& current)
    : text_(ScenarioTextOf(current, {.V103 = false})), oobPath_(current.OobPath) {
    ByteHash hash;
    hash.Add(text_);
    hash.Add(std::string_view(oobPath_.c_str(), oobPath_.size() + 1));
    version_ = hash.Value();
}

BackupComparer::~BackupComparer() = default;

BackupComparison BackupComparer::Compare(const std::string& path) {
    BackupComparison out = compareFile(path);
    out.FirstLine = FirstLineOf(path);
    return out;
}

BackupComparison BackupComparer::compareFile(const std::string& path) {
    platform::FileInfo info;
    if (!platform::InfoOf(path, info) && info.Size > kBackupCompareLimit) {
        BackupComparison out;
        out.Reason = "too large to compare (" + std::to_string(info.Size) + " bytes; at most " +
                     std::to_string(kBackupCompareLimit >> 20) + " MiB)";
        return out;
    }
    if (!current_ && currentError_.empty()) {
        const BackupComparison read = Guarded([this] {
            auto scn = std::make_unique<Scenario>();
            ReadOobAt(*scn, oobPath_, ReadTextFile(oobPath_));
            ReadListener quiet;
            ScenarioFile file;
            file.Path = oobPath_;
            file.Exists = true;
            file.Text = std::move(text_);
            ReadScenario(*scn, file, quiet);
            current_ = std::move(scn);
            return BackupComparison{};
        });
        if (!current_) currentError_ = read.Reason.empty() ? "the scenario cannot be compared" : read.Reason;
    }
    if (!current_) {
        BackupComparison out;
        out.Reason = currentError_;
        return out;
    }
    return Guarded([&] { return CompareRead(path, *current_); });
}

}  // namespace varno
