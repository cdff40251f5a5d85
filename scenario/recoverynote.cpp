#include "scenario/recoverynote.h"

#include <charconv>
#include <ctime>
#include <map>
#include <vector>

#include "scenario/platform/platform.h"

namespace varno {

namespace {

constexpr std::string_view kMagic = "Varno recovery copy";
constexpr int kFormat = 1;

bool Plain(unsigned char c) { return c > ' ' && c < 0x7f && c != '%'; }

std::string Escaped(std::string_view bytes) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (Plain(c)) {
            out += ch;
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool Unescape(std::string_view text, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            if (!Plain(static_cast<unsigned char>(text[i]))) return false;
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return false;
        const int hi = HexDigit(text[i + 1]), lo = HexDigit(text[i + 2]);
        if (hi < 0 || lo < 0) return false;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return true;
}

template <class T> bool Number(std::string_view text, T& value, int base = 10) {
    if (text.empty()) return false;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return r.ec == std::errc() && r.ptr == text.data() + text.size();
}

// The words of a value separated by single blanks.
std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    while (!text.empty()) {
        const std::size_t blank = text.find(' ');
        words.push_back(text.substr(0, blank));
        if (blank == std::string_view::npos) break;
        text.remove_prefix(blank + 1);
    }
    return words;
}

std::string HashText(std::uint64_t hash) {
    char buf[17];
    const auto r = std::to_chars(buf, buf + sizeof buf, hash, 16);
    return std::string(buf, r.ptr);
}

// "none", "missing", or the stamp's numbers: device, inode, size,
// modification and change time, and the hash of the bytes read ("-" when
// none was taken).
std::string BaseText(const FileStamp& base) {
    if (!base.Known) return "none";
    if (!base.Exists) return "missing";
    return std::to_string(base.Device) + ' ' + std::to_string(base.Inode) + ' ' + std::to_string(base.Size) + ' ' +
           std::to_string(base.MtimeNs) + ' ' + std::to_string(base.CtimeNs) + ' ' +
           (base.Hashed ? HashText(base.Hash) : std::string("-"));
}

bool ParseBase(std::string_view text, FileStamp& base) {
    base = FileStamp{};
    if (text == "none") return true;
    base.Known = true;
    if (text == "missing") return true;
    const std::vector<std::string_view> w = Words(text);
    base.Exists = true;
    if (w.size() != 6 || !Number(w[0], base.Device) || !Number(w[1], base.Inode) || !Number(w[2], base.Size) ||
        !Number(w[3], base.MtimeNs) || !Number(w[4], base.CtimeNs))
        return false;
    base.Hashed = w[5] != "-";
    return !base.Hashed || Number(w[5], base.Hash, 16);
}

}  // namespace

std::string NoteText(const RecoveryNote& note) {
    std::string out;
    out.append(kMagic).append(" ").append(std::to_string(kFormat)).append("\n");
    out.append("version ").append(Escaped(note.Version)).append("\n");
    out.append("path ").append(Escaped(note.ScenarioPath)).append("\n");
    out.append("base ").append(BaseText(note.Base)).append("\n");
    out.append("time ").append(std::to_string(note.Time)).append("\n");
    out.append("step ").append(Escaped(note.Step)).append("\n");
    out.append("copy ").append(Escaped(note.CopyName)).append(" ").append(std::to_string(note.CopySize));
    out.append(" ").append(HashText(note.CopyHash)).append("\n");
    return out;
}

std::string ParseNote(std::string_view text, RecoveryNote& note) {
    note = RecoveryNote{};
    const std::size_t firstEnd = text.find('\n');
    const std::string_view first = text.substr(0, firstEnd);
    if (first.size() <= kMagic.size() || first.substr(0, kMagic.size()) != kMagic || first[kMagic.size()] != ' ')
        return "not a recovery description";
    int format = 0;
    if (!Number(first.substr(kMagic.size() + 1), format) || format < 1) return "not a recovery description";
    if (format > kFormat) return "written by a newer Varno (format " + std::to_string(format) + ")";

    // The lines by key; the last of a key counts, keys not known are left
    // for later versions.
    std::map<std::string_view, std::string_view> lines;
    for (std::string_view rest = firstEnd == std::string_view::npos ? std::string_view() : text.substr(firstEnd + 1);
         !rest.empty();) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (line.empty()) continue;
        const std::size_t blank = line.find(' ');
        lines[line.substr(0, blank)] = blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1);
    }
    std::string why;
    auto take = [&](std::string_view key, auto&& parse) {
        if (!why.empty()) return;
        const auto it = lines.find(key);
        if (it == lines.end())
            why = "no " + std::string(key) + " line";
        else if (!parse(it->second))
            why = "bad " + std::string(key) + " line";
    };
    take("version", [&](std::string_view v) { return Unescape(v, note.Version); });
    take("path", [&](std::string_view v) { return Unescape(v, note.ScenarioPath) && !note.ScenarioPath.empty(); });
    take("base", [&](std::string_view v) { return ParseBase(v, note.Base); });
    take("time", [&](std::string_view v) { return Number(v, note.Time); });
    take("step", [&](std::string_view v) { return Unescape(v, note.Step); });
    take("copy", [&](std::string_view v) {
        const std::vector<std::string_view> w = Words(v);
        return w.size() == 3 && Unescape(w[0], note.CopyName) && !note.CopyName.empty() &&
               note.CopyName.find('/') == std::string::npos && Number(w[1], note.CopySize) &&
               Number(w[2], note.CopyHash, 16);
    });
    if (why.empty() && note.Base.Known) note.Base.Path = note.ScenarioPath;
    return why;
}

ScenarioFile CopyAsScenarioFile(const RecoveryNote& note, std::string copyText) {
    ScenarioFile file;
    file.Path = note.ScenarioPath;
    file.Exists = true;
    file.Text = std::move(copyText);
    file.Stamp = note.Base;
    return file;
}

std::string LocalTimeText(std::int64_t secondsSinceEpoch) {
    std::tm local{};
    if (!platform::LocalTime(secondsSinceEpoch, local)) return std::to_string(secondsSinceEpoch);
    char buf[32];
    const std::size_t n = std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M", &local);
    return std::string(buf, n);
}

}  // namespace varno
