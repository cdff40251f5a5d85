#pragma once
// Starts a built program as a user would from a shell, in a given folder, and
// collects its exit status, stdout and stderr.
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>
#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "tests/tempfolder.h"

namespace clitest {

namespace fs = std::filesystem;

struct RunResult {
    int status = -1;  // exit status; -1 when the program did not exit normally
    std::string out;
    std::string err;
};

inline std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A path from the programs' text of it (UTF-8 on Windows, bytes on POSIX),
// and back.
inline fs::path PathOf(const std::string& text) {
#ifdef _WIN32
    return fs::path(std::u8string(text.begin(), text.end()));
#else
    return fs::path(text);
#endif
}
inline std::string TextOf(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

#ifdef _WIN32
// The text of a UTF-8 argument.
inline std::wstring Wide(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())).native(); }

// One argument of a command line as the C runtime splits it again: quoted
// when it holds blanks or quotes, its backslashes doubled before a quote.
inline std::wstring Quoted(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
    std::wstring out = L"\"";
    std::size_t slashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++slashes;
            continue;
        }
        out.append(c == L'"' ? 2 * slashes + 1 : slashes, L'\\');
        slashes = 0;
        out += c;
    }
    out.append(2 * slashes, L'\\');
    return out + L"\"";
}

// Runs `program` with `args` in folder `cwd`. The output goes through files
// in `scratch`, so that a large output never blocks the program; stdout goes
// to `stdoutTo` instead when given (then `out` stays empty).
inline RunResult Run(const std::string& program, const std::vector<std::string>& args, const fs::path& cwd,
                     const fs::path& scratch, const fs::path& stdoutTo = {}) {
    const fs::path outPath = stdoutTo.empty() ? scratch / "stdout.txt" : stdoutTo;
    const fs::path errPath = scratch / "stderr.txt";
    std::wstring line = Quoted(Wide(program));
    for (const std::string& a : args) line += L" " + Quoted(Wide(a));
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    auto create = [&](const fs::path& p) {
        return ::CreateFileW(p.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    const HANDLE out = create(outPath), err = create(errPath);
    STARTUPINFOW start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    start.hStdOutput = out;
    start.hStdError = err;
    PROCESS_INFORMATION proc{};
    const bool started =
        out != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE &&
        ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, cwd.c_str(), &start, &proc);
    if (out != INVALID_HANDLE_VALUE) ::CloseHandle(out);
    if (err != INVALID_HANDLE_VALUE) ::CloseHandle(err);
    if (!started) throw std::runtime_error("cannot start " + program);
    ::WaitForSingleObject(proc.hProcess, INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(proc.hProcess, &code);
    ::CloseHandle(proc.hThread);
    ::CloseHandle(proc.hProcess);
    RunResult r;
    r.status = static_cast<int>(code);
    if (stdoutTo.empty()) r.out = ReadFile(outPath);
    r.err = ReadFile(errPath);
    return r;
}
#else
// Runs `program` with `args` in folder `cwd`. The output goes through files
// in `scratch`, so that a large output never blocks the program; stdout goes
// to `stdoutTo` instead when given (then `out` stays empty).
inline RunResult Run(const std::string& program, const std::vector<std::string>& args, const fs::path& cwd,
                     const fs::path& scratch, const fs::path& stdoutTo = {}) {
    const fs::path outPath = stdoutTo.empty() ? scratch / "stdout.txt" : stdoutTo;
    const fs::path errPath = scratch / "stderr.txt";
    std::vector<std::string> argvStore{program};
    argvStore.insert(argvStore.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argvStore) argv.push_back(a.data());
    argv.push_back(nullptr);

    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0 || ::chdir(cwd.c_str()) != 0) ::_exit(126);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    int wstatus = 0;
    while (::waitpid(pid, &wstatus, 0) < 0)
        if (errno != EINTR) throw std::runtime_error("waitpid failed");
    RunResult r;
    r.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    if (stdoutTo.empty()) r.out = ReadFile(outPath);
    r.err = ReadFile(errPath);
    return r;
}
#endif

// A temporary folder, removed afterwards, with a scratch folder beside the
// game's files for the captured output.
class TempDir {
public:
    TempDir() : root_(testfolder::MakeTempFolder("varno-cli-")) {
        fs::create_directories(game());
        fs::create_directories(scratch());
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    fs::path game() const { return root_ / "game"; }
    fs::path scratch() const { return root_ / "scratch"; }

private:
    fs::path root_;
};

}  // namespace clitest
