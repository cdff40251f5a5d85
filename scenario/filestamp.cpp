#include "scenario/filestamp.h"

#include <algorithm>
#include <cstring>

#include "scenario/inputfile.h"
#include "scenario/platform/platform.h"
#include "scenario/scnerror.h"

namespace varno {

namespace {

constexpr std::uint64_t kP1 = 0x9E3779B185EBCA87ull, kP2 = 0xC2B2AE3D27D4EB4Full, kP3 = 0x165667B19E3779F9ull,
                        kP4 = 0x85EBCA77C2B2AE63ull, kP5 = 0x27D4EB2F165667C5ull;

std::uint64_t Rotl(std::uint64_t x, int r) { return (x << r) | (x >> (64 - r)); }

std::uint64_t Round(std::uint64_t acc, std::uint64_t word) { return Rotl(acc + word * kP2, 31) * kP1; }

std::uint64_t Word(const unsigned char* p) {
    std::uint64_t w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

std::uint32_t Half(const unsigned char* p) {
    std::uint32_t w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

bool SameFile(const FileStamp& a, const FileStamp& b) {
    return a.Device == b.Device && a.Inode == b.Inode && a.Size == b.Size && a.MtimeNs == b.MtimeNs &&
           a.CtimeNs == b.CtimeNs;
}

// The hash of the bytes the file at path holds now; false when it cannot be
// read (gone, no permission, no regular file).
bool HashOfFile(const std::string& path, std::uint64_t& hash) {
    platform::File file;
    try {
        file = OpenRegularFile(path, kTextFileLimit);
    } catch (const ScnError&) {
        return false;
    }
    ByteHash h;
    char buf[65536];
    while (true) {
        std::error_code ec;
        const std::size_t n = file.read(buf, sizeof buf, ec);
        if (ec) return false;
        if (n == 0) break;
        h.Add(std::string_view(buf, n));
    }
    hash = h.Value();
    return true;
}

}  // namespace

void ByteHash::stripe(const unsigned char* p) {
    for (int i = 0; i < 4; ++i) lanes_[i] = Round(lanes_[i], Word(p + 8 * i));
}

void ByteHash::Add(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t n = bytes.size();
    total_ += n;
    if (pendingSize_ > 0) {
        const std::size_t take = std::min(n, sizeof pending_ - pendingSize_);
        std::memcpy(pending_ + pendingSize_, p, take);
        pendingSize_ += take;
        p += take;
        n -= take;
        if (pendingSize_ < sizeof pending_) return;
        stripe(pending_);
        pendingSize_ = 0;
    }
    for (; n >= sizeof pending_; p += sizeof pending_, n -= sizeof pending_) stripe(p);
    std::memcpy(pending_, p, n);
    pendingSize_ = n;
}

std::uint64_t ByteHash::Value() const {
    std::uint64_t h;
    if (total_ >= sizeof pending_) {
        h = Rotl(lanes_[0], 1) + Rotl(lanes_[1], 7) + Rotl(lanes_[2], 12) + Rotl(lanes_[3], 18);
        for (const std::uint64_t lane : lanes_) h = (h ^ Round(0, lane)) * kP1 + kP4;
    } else {
        h = lanes_[2] + kP5;
    }
    h += total_;
    const unsigned char* p = pending_;
    std::size_t n = pendingSize_;
    for (; n >= 8; p += 8, n -= 8) h = Rotl(h ^ Round(0, Word(p)), 27) * kP1 + kP4;
    if (n >= 4) {
        h = Rotl(h ^ (Half(p) * kP1), 23) * kP2 + kP3;
        p += 4;
        n -= 4;
    }
    for (; n > 0; ++p, --n) h = Rotl(h ^ (*p * kP5), 11) * kP1;
    h ^= h >> 33;
    h *= kP2;
    h ^= h >> 29;
    h *= kP3;
    return h ^ (h >> 32);
}

std::uint64_t HashOfBytes(std::string_view bytes) {
    ByteHash h;
    h.Add(bytes);
    return h.Value();
}

FileStamp StampOf(const std::string& path) {
    FileStamp s;
    s.Known = true;
    s.Path = path;
    platform::FileInfo info;
    if (path.empty() || platform::InfoOf(path, info) || info.Kind == platform::FileKind::Missing) return s;
    s.Exists = true;
    s.Device = info.Device;
    s.Inode = info.Index;
    s.Size = info.Size;
    s.MtimeNs = info.ModifiedNs;
    s.CtimeNs = info.ChangedNs;
    return s;
}

FileStamp StampOf(const std::string& path, std::string_view bytes) {
    FileStamp s = StampOf(path);
    s.Hashed = true;
    s.Hash = HashOfBytes(bytes);
    return s;
}

bool ChangedSince(const FileStamp& read, const std::string& path) {
    if (!read.Known || read.Path != path) return false;
    const FileStamp now = StampOf(path);
    if (now.Exists != read.Exists) return true;
    if (!now.Exists) return false;
    std::uint64_t hash = 0;
    if (read.Hashed && HashOfFile(path, hash)) return hash != read.Hash;
    return !SameFile(now, read);
}

}  // namespace varno
