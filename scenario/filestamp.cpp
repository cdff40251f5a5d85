#include "scenario/filestamp.h"

#include <sys/stat.h>

namespace varno {

FileStamp StampOf(const std::string& path) {
    FileStamp s;
    s.Known = true;
    s.Path = path;
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return s;
    s.Exists = true;
    s.Device = st.st_dev;
    s.Inode = st.st_ino;
    s.Size = static_cast<std::uint64_t>(st.st_size);
    s.MtimeNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return s;
}

bool ChangedSince(const FileStamp& read, const std::string& path) {
    return read.Known && read.Path == path && StampOf(path) != read;
}

}  // namespace varno
