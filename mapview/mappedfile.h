#pragma once
// A file mapped into memory read-only, for pictures far larger than what is
// shown of them at once: only the pages looked at are read from the disk.
// While a file is mapped, a program that shortens it under us cannot crash
// us: the pages beyond its new end read as zeros (a picture goes black
// there) instead of raising SIGBUS. Plain C++ without Qt.
#include <cstddef>
#include <cstdint>

namespace varno {

class MappedFile {
public:
    MappedFile() = default;
    // Maps the first `length` bytes of the open file `fd` (which stays the
    // caller's). Throws std::system_error when the system refuses.
    MappedFile(int fd, std::size_t length);
    ~MappedFile();
    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    const std::uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }

private:
    void release();

    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    int slot_ = -1;  // the guarded range it holds
};

}  // namespace varno
