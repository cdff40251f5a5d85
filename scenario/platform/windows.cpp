// The platform layer on Windows (Win32, built with mingw-w64): paths are
// UTF-8 in the programs and UTF-16 at the system.
#include <windows.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <io.h>
#include <random>
#include <shellapi.h>
#include <utility>

#include "scenario/platform/platform.h"

namespace varno::platform {

namespace {

// Windows' own codes, worded by the system, for those without an errno value.
class WindowsCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "windows"; }
    std::string message(int code) const override;
};

const WindowsCategory& Windows() {
    static const WindowsCategory category;
    return category;
}

std::wstring Wide(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string Utf8(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int n =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::string WindowsCategory::message(int code) const {
    // The same words on every Windows (and Wine) for what users meet most.
    if (code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION) return "The file is in use by another program";
    wchar_t* text = nullptr;
    const DWORD n =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string out = n && text ? Utf8(std::wstring_view(text, n)) : "Windows error " + std::to_string(code);
    if (text) ::LocalFree(text);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' ' || out.back() == '.'))
        out.pop_back();
    return out;
}

// The errno value of a Windows code where the C library words it, so that
// messages read as they do on Linux; else the code itself.
std::error_code FromWindows(DWORD code) {
    int err = 0;
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH: err = ENOENT; break;
    case ERROR_ACCESS_DENIED:
    case ERROR_CANNOT_MAKE: err = EACCES; break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: err = ENOSPC; break;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: err = EEXIST; break;
    case ERROR_NOT_SAME_DEVICE: err = EXDEV; break;
    case ERROR_TOO_MANY_LINKS: err = EMLINK; break;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: err = ENOMEM; break;
    case ERROR_WRITE_PROTECT: err = EROFS; break;
    case ERROR_DIRECTORY: err = ENOTDIR; break;
    case ERROR_DIR_NOT_EMPTY: err = ENOTEMPTY; break;
    case ERROR_FILENAME_EXCED_RANGE: err = ENAMETOOLONG; break;
    case ERROR_INVALID_PARAMETER:
    case ERROR_INVALID_NAME: err = EINVAL; break;
    default: return {static_cast<int>(code), Windows()};
    }
    return {err, std::generic_category()};
}

std::error_code LastError() { return FromWindows(::GetLastError()); }

bool IsMissing(DWORD code) { return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND; }

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// FILETIME and friends count 100 ns since 1601; ours count since 1970.
constexpr std::int64_t kTicksTo1970 = 116444736000000000;

std::int64_t NsSince1970(std::int64_t ticks) { return (ticks - kTicksTo1970) * 100; }

std::int64_t Ticks(const FILETIME& t) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
}

// The serial number of the volume holding the open file, as
// GetFileInformationByHandle reports it. Wine reports 0 for a handle whose
// file was renamed by its path since it was opened: the serial of the
// volume of the handle's path then, which a rename does not change.
DWORD VolumeSerial(HANDLE h, DWORD reported) {
    if (reported) return reported;
    DWORD n = ::GetFinalPathNameByHandleW(h, nullptr, 0, FILE_NAME_NORMALIZED);
    if (!n) return reported;
    std::wstring path(n, L'\0');
    n = ::GetFinalPathNameByHandleW(h, path.data(), n, FILE_NAME_NORMALIZED);
    if (!n || n >= path.size()) return reported;
    path.resize(n);
    std::wstring root(path.size() + 2, L'\0');
    DWORD serial = 0;
    if (!::GetVolumePathNameW(path.c_str(), root.data(), static_cast<DWORD>(root.size())) ||
        !::GetVolumeInformationW(root.c_str(), nullptr, 0, &serial, nullptr, nullptr, nullptr, 0))
        return reported;
    return serial;
}

// What the open handle is: a disk file or folder (GetFileInformationByHandle),
// or something else (a console, NUL, a pipe).
std::error_code Describe(HANDLE h, FileInfo& info, bool linkItself) {
    info = FileInfo{};
    const DWORD type = ::GetFileType(h);
    if (type != FILE_TYPE_DISK) {
        if (type == FILE_TYPE_UNKNOWN && ::GetLastError() != NO_ERROR) return LastError();
        info.Kind = FileKind::Other;
        return {};
    }
    BY_HANDLE_FILE_INFORMATION bh{};
    if (!::GetFileInformationByHandle(h, &bh)) return LastError();
    if (linkItself && (bh.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        info.Kind = FileKind::Link;
    else if (bh.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        info.Kind = FileKind::Directory;
    else
        info.Kind = FileKind::Regular;
    info.Size = (static_cast<std::uint64_t>(bh.nFileSizeHigh) << 32) | bh.nFileSizeLow;
    info.Device = VolumeSerial(h, bh.dwVolumeSerialNumber);
    info.Index = (static_cast<std::uint64_t>(bh.nFileIndexHigh) << 32) | bh.nFileIndexLow;
    const std::int64_t written = Ticks(bh.ftLastWriteTime);
    info.ModifiedNs = NsSince1970(written);
    info.ModifiedSeconds = (written - kTicksTo1970) / 10000000;
    FILE_BASIC_INFO basic{};
    info.ChangedNs = ::GetFileInformationByHandleEx(h, FileBasicInfo, &basic, sizeof basic)
                         ? NsSince1970(basic.ChangeTime.QuadPart)
                         : info.ModifiedNs;
    info.Mode = (bh.dwFileAttributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
    return {};
}

HANDLE Handle(void* h) { return static_cast<HANDLE>(h); }

}  // namespace

std::filesystem::path FsPath(std::string_view path) { return std::filesystem::path(Wide(path)); }

std::string PathString(const std::filesystem::path& path) { return Utf8(path.native()); }

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool IsAbsolutePath(std::string_view path) {
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) return true;  // \\server\share
    const bool letter = path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    return letter && path[1] == ':' && IsSeparator(path[2]);
}

std::string AbsolutePath(const std::string& path) {
    // GetFullPathNameW: "\x" on the working directory's drive, "D:x" against
    // the folder the system keeps for drive D, separators made '\'.
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(FsPath(path), ec);
    return ec ? path : PathString(absolute);
}

bool NamesIgnoreCase() { return true; }

long ProcessId() { return static_cast<long>(::GetCurrentProcessId()); }

unsigned UserId() { return 0; }

std::string UserStateFolder() {
    const wchar_t* local = ::_wgetenv(L"LOCALAPPDATA");
    if (!local || !local[0]) return {};
    const std::string folder = Utf8(local);
    return IsAbsolutePath(folder) ? folder : std::string();
}

bool UtcTime(std::int64_t secondsSince1970, std::tm& out) {
    const auto t = static_cast<__time64_t>(secondsSince1970);
    return ::_gmtime64_s(&out, &t) == 0;
}

bool LocalTime(std::int64_t secondsSince1970, std::tm& out) {
    const auto t = static_cast<__time64_t>(secondsSince1970);
    return ::_localtime64_s(&out, &t) == 0;
}

std::vector<std::string> Arguments(int argc, char** argv) {
    // The code page's argv loses every character it cannot spell: the
    // command line again, as UTF-16.
    int n = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &n);
    if (!wide) return {argv, argv + argc};
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i) out.push_back(Utf8(wide[i]));
    ::LocalFree(wide);
    return out;
}

void BinaryStandardStreams() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    ::SetConsoleOutputCP(CP_UTF8);
}

std::error_code InfoOf(const std::string& path, FileInfo& info, bool followLinks) {
    info = FileInfo{};
    // Attributes only: no access that another program's sharing could refuse.
    const HANDLE h =
        ::CreateFileW(Wide(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                      FILE_FLAG_BACKUP_SEMANTICS | (followLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT), nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD code = ::GetLastError();
        return IsMissing(code) ? std::error_code() : FromWindows(code);
    }
    const std::error_code ec = Describe(h, info, !followLinks);
    ::CloseHandle(h);
    return ec;
}

File::~File() { close(); }

File::File(File&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), crt_(std::exchange(other.crt_, -1)) {}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, nullptr);
        crt_ = std::exchange(other.crt_, -1);
    }
    return *this;
}

File File::Open(const std::string& path, unsigned flags, std::error_code& ec) {
    DWORD access = 0;
    if (flags & OpenRead) access |= GENERIC_READ;
    if (flags & OpenWrite) access |= GENERIC_WRITE;
    if (!access) access = FILE_READ_ATTRIBUTES;
    DWORD disposition = OPEN_EXISTING;
    if (flags & OpenCreate) disposition = (flags & OpenExclusive) ? CREATE_NEW : OPEN_ALWAYS;
    // Folders open (for info()); others may read, write and rename the file
    // while we hold it, as on POSIX.
    const DWORD how = FILE_FLAG_BACKUP_SEMANTICS | ((flags & OpenNoFollow) ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    File f;
    const HANDLE h = ::CreateFileW(Wide(path).c_str(), access, kShareAll, nullptr, disposition, how, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        ec = LastError();
        return f;
    }
    f.handle_ = h;
    ec.clear();
    if (flags & OpenNoFollow) {
        // A link itself is refused, as O_NOFOLLOW does.
        FileInfo info;
        if (!Describe(h, info, true) && info.Kind == FileKind::Link) {
            f.close();
            ec = FromWindows(ERROR_CANT_ACCESS_FILE);
        }
    }
    return f;
}

bool File::isOpen() const { return handle_ != nullptr; }

std::error_code File::info(FileInfo& info) const { return Describe(Handle(handle_), info, false); }

std::size_t File::read(void* buf, std::size_t n, std::error_code& ec) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(n, 1u << 30));
    if (!::ReadFile(Handle(handle_), buf, want, &got, nullptr)) {
        const DWORD code = ::GetLastError();
        if (code == ERROR_BROKEN_PIPE || code == ERROR_HANDLE_EOF) {
            ec.clear();
            return 0;
        }
        ec = FromWindows(code);
        return 0;
    }
    ec.clear();
    return got;
}

std::size_t File::readAt(void* buf, std::size_t n, std::uint64_t offset, std::error_code& ec) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(n, 1u << 30));
    if (!::ReadFile(Handle(handle_), buf, want, &got, &at)) {
        const DWORD code = ::GetLastError();
        ec = code == ERROR_HANDLE_EOF ? std::error_code() : FromWindows(code);
        return 0;
    }
    ec.clear();
    return got;
}

std::error_code File::writeAll(std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD done = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        if (!::WriteFile(Handle(handle_), bytes.data(), want, &done, nullptr)) return LastError();
        bytes.remove_prefix(done);
    }
    return {};
}

std::error_code File::sync() { return ::FlushFileBuffers(Handle(handle_)) ? std::error_code() : LastError(); }

std::error_code File::setMode(unsigned) { return {}; }

std::error_code File::tryLock(bool& taken, bool shared) {
    // Windows' locks keep other handles from the locked bytes: the lock is
    // on one byte far beyond any lock file's end, so that its text (a
    // holder's process id) stays readable.
    OVERLAPPED beyond{};
    beyond.OffsetHigh = 0x7FFFFFFF;
    const DWORD how = (shared ? 0 : LOCKFILE_EXCLUSIVE_LOCK) | LOCKFILE_FAIL_IMMEDIATELY;
    taken = ::LockFileEx(Handle(handle_), how, 0, 1, 0, &beyond) != 0;
    if (taken) return {};
    const DWORD code = ::GetLastError();
    return code == ERROR_LOCK_VIOLATION || code == ERROR_IO_PENDING ? std::error_code() : FromWindows(code);
}

std::error_code File::resize(std::uint64_t size) {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    return ::SetFileInformationByHandle(Handle(handle_), FileEndOfFileInfo, &end, sizeof end) ? std::error_code()
                                                                                              : LastError();
}

std::error_code File::close() {
    if (!handle_) return {};
    const HANDLE h = Handle(std::exchange(handle_, nullptr));
    if (crt_ >= 0)
        return _close(std::exchange(crt_, -1)) == 0 ? std::error_code()
                                                    : std::error_code(errno, std::generic_category());
    return ::CloseHandle(h) ? std::error_code() : LastError();
}

int File::descriptor() {
    if (crt_ < 0 && handle_) crt_ = _open_osfhandle(reinterpret_cast<intptr_t>(handle_), _O_RDONLY | _O_BINARY);
    return crt_;
}

File CreateTemp(std::string& pattern, std::error_code& ec) {
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    File f;
    if (pattern.size() < 6 || pattern.compare(pattern.size() - 6, 6, "XXXXXX") != 0) {
        ec = std::make_error_code(std::errc::invalid_argument);
        pattern.clear();
        return f;
    }
    std::random_device seed;
    std::mt19937 pick(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        for (std::size_t i = pattern.size() - 6; i < pattern.size(); ++i) pattern[i] = kLetters[pick() % 62];
        const HANDLE h = ::CreateFileW(Wide(pattern).c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr,
                                       CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            f.handle_ = h;
            ec.clear();
            return f;
        }
        if (::GetLastError() != ERROR_FILE_EXISTS) break;
    }
    ec = LastError();
    pattern.clear();
    return f;
}

unsigned NewFileMode() { return 0666; }

std::error_code MakeFolder(const std::string& path) {
    return ::CreateDirectoryW(Wide(path).c_str(), nullptr) ? std::error_code() : LastError();
}

std::error_code SetMode(const std::string&, unsigned) { return {}; }

bool MayReplace(const std::string&, const FileInfo& info) { return (info.Mode & 0222) != 0; }

std::error_code HardLink(const std::string& from, const std::string& to) {
    return ::CreateHardLinkW(Wide(to).c_str(), Wide(from).c_str(), nullptr) ? std::error_code() : LastError();
}

bool NoHardLinks(std::error_code err) {
    // FAT and exFAT have none (ERROR_INVALID_FUNCTION), nor do links cross volumes.
    if (err == std::errc::cross_device_link || err == std::errc::too_many_links) return true;
    return err.category() == Windows() && (err.value() == ERROR_INVALID_FUNCTION || err.value() == ERROR_NOT_SUPPORTED);
}

bool MayRemoveLinkIn(const std::string& path, const FileInfo&, const std::string&) {
    // A name of a file that another program holds without FILE_SHARE_DELETE
    // can be made but neither removed nor renamed until that program lets go.
    const HANDLE h = ::CreateFileW(Wide(path).c_str(), DELETE, kShareAll, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(h);
    return true;
}

std::error_code RenameToNewName(const std::string& from, const std::string& to) {
    return ::MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_WRITE_THROUGH) ? std::error_code()
                                                                                       : LastError();
}

std::error_code RenameOver(const std::string& from, const std::string& to) {
    const std::wstring target = Wide(to);
    if (::MoveFileExW(Wide(from).c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return {};
    const std::error_code err = LastError();
    // Windows refuses a folder in the way as it refuses access; say which.
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::make_error_code(std::errc::is_a_directory);
    // And a file another program holds without leave to delete it: in use.
    if (err == std::errc::permission_denied && attributes != INVALID_FILE_ATTRIBUTES &&
        !(attributes & FILE_ATTRIBUTE_READONLY)) {
        const HANDLE h = ::CreateFileW(target.c_str(), DELETE, kShareAll, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (h == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_SHARING_VIOLATION)
            return {ERROR_SHARING_VIOLATION, Windows()};
        if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
    }
    return err;
}

std::error_code SyncFolder(const std::string&) { return {}; }

const char* FindLastByte(const char* data, std::size_t n, char c) {
    for (const char* p = data + n; p != data;)
        if (*--p == c) return p;
    return nullptr;
}

void LowerThreadPriority() { ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL); }

MappedFile::MappedFile(const File& file, std::size_t length) {
    if (length == 0) return;
    const HANDLE mapping = ::CreateFileMappingW(Handle(file.handle_), nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (!mapping) throw std::system_error(LastError());
    // The view keeps the mapping; and while it exists the file cannot be
    // shortened under it.
    void* p = ::MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, length);
    const std::error_code ec = p ? std::error_code() : LastError();
    ::CloseHandle(mapping);
    if (!p) throw std::system_error(ec);
    data_ = static_cast<const std::uint8_t*>(p);
    size_ = length;
}

void MappedFile::release() {
    if (!data_) return;
    ::UnmapViewOfFile(data_);
    data_ = nullptr;
    size_ = 0;
}

}  // namespace varno::platform
