#pragma once
// Everything the programs do that standard C++ does not: paths as the system
// spells them, the command line's arguments and streams, files opened and
// judged without blocking, the pieces of an atomic save (an exclusive new
// file, a flush to the disk, a hard link or a synced copy, a rename over a
// name, a lock), what identifies a file for a read stamp, a file mapped into
// memory. One implementation a system: posix.cpp (Linux) and windows.cpp
// (Win32, built with mingw-w64).
//
// Paths are std::string throughout the programs: on POSIX the file system's
// bytes, kept as bytes; on Windows UTF-8, turned into the system's UTF-16 at
// this layer. Failures are std::error_code: errno values where the system
// has one (so messages read the same everywhere: "Permission denied", "No
// space left on device"), else the system's own code and text.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace varno::platform {

// ---- Paths

// The path as std::filesystem takes it, and back.
std::filesystem::path FsPath(std::string_view path);
std::string PathString(const std::filesystem::path& path);

// A character that separates a path's names: '/', and on Windows '\' too.
bool IsSeparator(char c);
// A path that does not depend on the working directory ("/x"; "C:\x", "\\server\share").
bool IsAbsolutePath(std::string_view path);
// A relative path made absolute against the working directory: on POSIX the
// working directory, '/' and the path as typed; on Windows as the system
// resolves it (GetFullPathNameW: "\x" on the working directory's drive, "."
// and ".." taken out). The path itself when the working directory is gone.
std::string AbsolutePath(const std::string& path);
// File names that differ only in case name one file (Windows).
bool NamesIgnoreCase();

// ---- The command line

// The arguments as paths of ours (UTF-8 on Windows, whatever the code page).
std::vector<std::string> Arguments(int argc, char** argv);
// Standard output and error pass bytes unchanged (no LF to CR LF), and a
// console shows them as UTF-8.
void BinaryStandardStreams();

// ---- The process, its user and the clock

// This process's id (getpid; GetCurrentProcessId).
long ProcessId();
// The user this process runs as (geteuid): the FileInfo::Owner of its own
// files. 0 on Windows, as every Owner there.
unsigned UserId();
// Where the user's programs keep their state between runs: $XDG_STATE_HOME,
// else ~/.local/state; %LOCALAPPDATA% on Windows. Empty when there is none.
std::string UserStateFolder();
// The time in UTC or in the local time zone (gmtime_r, localtime_r);
// false when the system cannot tell it.
bool UtcTime(std::int64_t secondsSince1970, std::tm& out);
bool LocalTime(std::int64_t secondsSince1970, std::tm& out);

// ---- Files

enum class FileKind { Missing, Regular, Directory, Link, Other };

// What the system tells of a file.
struct FileInfo {
    FileKind Kind = FileKind::Missing;
    std::uint64_t Size = 0;
    // Together the file's identity: device and inode; volume serial number
    // and file index on Windows.
    std::uint64_t Device = 0, Index = 0;
    // Last change of the bytes, and of the file's record (the inode's change
    // time; on Windows the change time, which no program sets back easily).
    std::int64_t ModifiedNs = 0, ChangedNs = 0;
    std::int64_t ModifiedSeconds = 0;  // since 1970
    unsigned Mode = 0;                 // POSIX permission bits; 0666 or 0444 (read-only) on Windows
    unsigned Owner = 0;                // POSIX owner; 0 on Windows
};

// The file at path, through links unless `followLinks` is false. A missing
// file is no error: Kind Missing.
std::error_code InfoOf(const std::string& path, FileInfo& info, bool followLinks = true);

enum OpenFlags : unsigned {
    OpenRead = 1,
    OpenWrite = 2,
    OpenCreate = 4,     // create when missing (mode 0666 before the umask)
    OpenExclusive = 8,  // with OpenCreate: fail when it exists
    OpenNoFollow = 16,  // a link itself is refused
};

// An open file, closed with its owner.
class File {
public:
    File() = default;
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Opening never waits: a FIFO without a writer opens at once (its
    // reads then wait as usual); a folder opens for reading, so that
    // info() can tell what it is.
    static File Open(const std::string& path, unsigned flags, std::error_code& ec);

    bool isOpen() const;
    std::error_code info(FileInfo& info) const;
    // Up to n bytes; 0 at the end.
    std::size_t read(void* buf, std::size_t n, std::error_code& ec);
    std::size_t readAt(void* buf, std::size_t n, std::uint64_t offset, std::error_code& ec);
    std::error_code writeAll(std::string_view bytes);
    // The bytes on the disk (fsync; FlushFileBuffers).
    std::error_code sync();
    // The permission bits (fchmod); nothing on Windows.
    std::error_code setMode(unsigned mode);
    // Tries for a lock of the file without waiting (flock; LockFileEx on a
    // byte beyond its end, so that its bytes stay readable), exclusive or
    // shared. `taken` false: another open file holds one that excludes it.
    // Closing frees it.
    std::error_code tryLock(bool& taken, bool shared = false);
    // Cuts the file to `size` bytes, or lengthens it with zeros.
    std::error_code resize(std::uint64_t size);
    std::error_code close();
    // The C library's descriptor of the file, for interfaces that take one
    // (QFile::open); it stays the File's, closed with it.
    int descriptor();

private:
    friend class MappedFile;
    friend File CreateTemp(std::string& pattern, std::error_code& ec);
#ifdef _WIN32
    void* handle_ = nullptr;
    int crt_ = -1;  // the C library's descriptor made of the handle, which then owns it
#else
    int fd_ = -1;
#endif
};

// Creates a new file at `pattern`, whose last six characters "XXXXXX" are
// replaced by a name no file has yet (mkstemp): open for writing, mode 0600.
// On failure the pattern is cleared.
File CreateTemp(std::string& pattern, std::error_code& ec);

// The mode a new file gets: 0666 less the umask (0666 on Windows).
unsigned NewFileMode();

// A new folder, for its user alone (mode 0700; a folder as Windows makes it).
// An existing name fails with EEXIST.
std::error_code MakeFolder(const std::string& path);
// The permission bits of the file or folder (chmod); nothing on Windows.
std::error_code SetMode(const std::string& path, unsigned mode);

// May this process replace the file? The permission bits decide (also for
// root: a read-only file is not written over); on Windows the read-only
// attribute.
bool MayReplace(const std::string& path, const FileInfo& info);

// A second name `to` for the file `from` (link; CreateHardLinkW). `to`
// must not exist.
std::error_code HardLink(const std::string& from, const std::string& to);
// The failure of HardLink says the file system has no hard links there (FAT,
// exFAT, another volume, too many links): a copy must do.
bool NoHardLinks(std::error_code err);
// Could this process remove a second name of the file `path` from `dir`
// again? Not in a folder with the sticky bit (a shared one) where neither
// the file nor the folder is its own; on Windows not while another program
// holds the file open without leave to delete it.
bool MayRemoveLinkIn(const std::string& path, const FileInfo& file, const std::string& dir);

// Gives the file `from` the name `to` in one step, only while no file has
// that name (link, then unlink of `from`; MoveFileExW without replacing).
std::error_code RenameToNewName(const std::string& from, const std::string& to);

// Renames `from` over `to` in one step: `to` names the old file or the new
// one, never neither (rename; MoveFileExW with MOVEFILE_REPLACE_EXISTING and
// MOVEFILE_WRITE_THROUGH).
std::error_code RenameOver(const std::string& from, const std::string& to);

// The folder's entries on the disk (fsync of the folder; on Windows the
// write-through rename already waited for it).
std::error_code SyncFolder(const std::string& dir);

// The last byte c in [data, data + n), or null (memrchr).
const char* FindLastByte(const char* data, std::size_t n, char c);

// The calling thread runs behind the program's others (picture copies made
// in the background).
void LowerThreadPriority();

// ---- Mapped files

// A file mapped into memory read-only, for pictures far larger than what is
// shown of them at once: only the pages looked at are read from the disk.
// A program that shortens the file under us cannot crash us: on POSIX the
// pages beyond the new end read as zeros (SIGBUS is answered); Windows does
// not let a mapped file be shortened.
class MappedFile {
public:
    MappedFile() = default;
    // The first `length` bytes of the open file (which stays the caller's).
    // Throws std::system_error when the system refuses.
    MappedFile(const File& file, std::size_t length);
    ~MappedFile() { release(); }
    MappedFile(MappedFile&& other) noexcept { *this = std::move(other); }
    MappedFile& operator=(MappedFile&& other) noexcept {
        if (this != &other) {
            release();
            data_ = std::exchange(other.data_, nullptr);
            size_ = std::exchange(other.size_, 0);
            slot_ = std::exchange(other.slot_, -1);
        }
        return *this;
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    const std::uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }

private:
    void release();

    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    int slot_ = -1;  // POSIX: the guarded range it holds
};

}  // namespace varno::platform
