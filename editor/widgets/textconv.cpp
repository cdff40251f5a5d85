#include "editor/widgets/textconv.h"

#include <dirent.h>
#include <sys/stat.h>

#include "scenario/filenames.h"
#include "scenario/messagetext.h"

namespace varno {

QString MessageText(std::string_view bytes) {
    // The core's one rule for messages: UTF-8 where the bytes are, Latin-1
    // elsewhere, control characters (a NUL of a file's line too) as their
    // visible pictures.
    return QString::fromStdString(DisplayMessage(bytes));
}

std::string ChosenPathBytes(const QString& chosen) {
    const std::string bytes = PathBytes(chosen);
    struct stat st {};
    if (::lstat(bytes.c_str(), &st) == 0) return bytes;
    const std::string dir = DirPart(bytes);
    const QString name = PathText(bytes.substr(dir.size()));
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return bytes;
    std::string found;
    int matches = 0;
    while (const dirent* e = ::readdir(d)) {
        if (PathText(e->d_name) == name) {
            found = e->d_name;
            ++matches;
        }
    }
    ::closedir(d);
    return matches == 1 ? dir + found : bytes;
}

}  // namespace varno
