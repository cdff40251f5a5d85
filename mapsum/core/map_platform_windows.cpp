// Quillet's platform layer on Windows: UTF-8 texts, UTF-16 paths.
#include <windows.h>
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include "mapsum/core/map_platform.h"

namespace quillet::platform {

namespace {

std::wstring wide(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string utf8(std::wstring_view text) {
    if (text.empty()) return {};
    const int n =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace

std::filesystem::path path_from_text(std::string_view text) { return std::filesystem::path(wide(text)); }

std::string path_text(const std::filesystem::path& path) { return utf8(path.native()); }

bool names_ignore_case() { return true; }

std::vector<std::string> arguments(int argc, char** argv) {
    int n = 0;
    wchar_t** args = ::CommandLineToArgvW(::GetCommandLineW(), &n);
    if (!args) return {argv, argv + argc};
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i) out.push_back(utf8(args[i]));
    ::LocalFree(args);
    return out;
}

void binary_standard_streams() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    ::SetConsoleOutputCP(CP_UTF8);
}

file_look look_without_blocking(const std::filesystem::path& path) {
    file_look look;
    // Attributes only, folders too; a device or a pipe opens at once.
    const HANDLE h = ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return look;
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(h) != FILE_TYPE_DISK) {
        look.kind = file_kind::other;
    } else if (::GetFileInformationByHandle(h, &info)) {
        look.kind = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? file_kind::directory : file_kind::regular;
        look.size = (static_cast<std::uintmax_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    }
    ::CloseHandle(h);
    return look;
}

bool may_write(const std::filesystem::path& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_READONLY);
}

bool create_new_file(const std::filesystem::path& path, bool& exists) {
    const HANDLE h =
        ::CreateFileW(path.c_str(), GENERIC_WRITE, kShareAll, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    exists = h == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_FILE_EXISTS;
    if (h == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(h);
    return true;
}

bool sync_to_disk(const std::filesystem::path& path) {
    // A folder's entries: the write-through rename waited for them.
    if (std::error_code ec; std::filesystem::is_directory(path, ec)) return true;
    const HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const bool ok = ::FlushFileBuffers(h) != 0;
    ::CloseHandle(h);
    return ok;
}

bool rename_over(const std::filesystem::path& from, const std::filesystem::path& to) {
    return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace quillet::platform
