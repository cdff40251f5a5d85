#pragma once
// Starts a built program as a user would from a shell, in a given folder, and
// collects its exit status, stdout and stderr.
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

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

// A temporary folder, removed afterwards, with a scratch folder beside the
// game's files for the captured output.
class TempDir {
public:
    TempDir() {
        std::string tmpl = (fs::temp_directory_path() / "varno-cli-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
        root_ = tmpl;
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
