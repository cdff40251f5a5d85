#include "editor/widgets/textconv.h"

#include <filesystem>

#include "scenario/filenames.h"
#include "scenario/messagetext.h"
#include "scenario/platform/platform.h"

namespace varno {

QString MessageText(std::string_view bytes) {
    // The core's one rule for messages: UTF-8 where the bytes are, Latin-1
    // elsewhere, control characters (a NUL of a file's line too) as their
    // visible pictures.
    return QString::fromStdString(DisplayMessage(bytes));
}

std::string ChosenPathBytes(const QString& chosen) {
    const std::string bytes = PathBytes(chosen);
    platform::FileInfo info;
    if (!platform::InfoOf(bytes, info, false) && info.Kind != platform::FileKind::Missing) return bytes;
    const std::string dir = DirPart(bytes);
    const QString name = PathText(bytes.substr(dir.size()));
    std::error_code ec;
    std::string found;
    int matches = 0;
    for (std::filesystem::directory_iterator it(platform::FsPath(dir.empty() ? "." : dir), ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string entry = platform::PathString(it->path().filename());
        if (PathText(entry) == name) {
            found = entry;
            ++matches;
        }
    }
    return matches == 1 ? dir + found : bytes;
}

}  // namespace varno
