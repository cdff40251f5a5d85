#pragma once
// What a file looked like when it was read: enough to tell whether another
// program replaced or changed it since.
#include <cstdint>
#include <string>
#include <string_view>

namespace varno {

// A 64-bit hash of bytes, the same whether they come whole or in pieces: a
// check that the bytes of a file are those read before, not a digest that
// withstands a forger.
class ByteHash {
public:
    void Add(std::string_view bytes);
    std::uint64_t Value() const;

private:
    void stripe(const unsigned char* p);

    std::uint64_t lanes_[4] = {0x60EA27EEADC0B5D6ull, 0xC2B2AE3D27D4EB4Full, 0, 0x61C8864E7A143579ull};
    unsigned char pending_[32] = {};
    std::size_t pendingSize_ = 0;
    std::uint64_t total_ = 0;
};

std::uint64_t HashOfBytes(std::string_view bytes);

struct FileStamp {
    bool Known = false;   // false: the scenario was not read from a path
    bool Exists = false;  // the path named a file
    std::string Path;     // the path as given
    std::uint64_t Device = 0, Inode = 0, Size = 0;
    std::int64_t MtimeNs = 0;
    std::int64_t CtimeNs = 0;  // the change time, which no program can set back
    bool Hashed = false;       // Hash is that of the bytes read
    std::uint64_t Hash = 0;

    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file at path (through links); Exists is false when none.
FileStamp StampOf(const std::string& path);
// The stamp of the file at path whose bytes were just read (or written).
FileStamp StampOf(const std::string& path, std::string_view bytes);

// The file at path is not the one `read` saw: replaced or changed since.
// Where both are known the bytes decide: a change the hash shows is a
// change even with every stamp equal, and stamps that differ over the same
// bytes (touched, copied back) are none. Otherwise device, inode, size,
// modification and change time decide. False when `read` is unknown or
// belongs to another path.
bool ChangedSince(const FileStamp& read, const std::string& path);

}  // namespace varno
