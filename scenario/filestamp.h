#pragma once
// What a file looked like when it was read: enough to tell whether another
// program replaced or changed it since.
#include <cstdint>
#include <string>

namespace varno {

struct FileStamp {
    bool Known = false;   // false: the scenario was not read from a path
    bool Exists = false;  // the path named a file
    std::string Path;     // the path as given
    std::uint64_t Device = 0, Inode = 0, Size = 0;
    std::int64_t MtimeNs = 0;

    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file at path (through links); Exists is false when none.
FileStamp StampOf(const std::string& path);

// The file at path is not the one `read` saw: replaced or changed since.
// False when `read` is unknown or belongs to another path.
bool ChangedSince(const FileStamp& read, const std::string& path);

}  // namespace varno
