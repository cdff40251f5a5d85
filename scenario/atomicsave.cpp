#include "scenario/atomicsave.h"

#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include "scenario/filenames.h"

namespace varno {

namespace {
SaveFaultHook& Hook() {
    static SaveFaultHook hook;
    return hook;
}
}  // namespace

void SetSaveFaultHook(SaveFaultHook hook) { Hook() = std::move(hook); }

int InjectedFault(SaveStep step) { return Hook() ? Hook()(step) : 0; }

std::string ResolveLinks(const std::string& path) {
    std::string cur = path;
    for (int i = 0; i < 40; ++i) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(cur, ec)) return cur;
        const std::string to = std::filesystem::read_symlink(cur, ec).string();
        if (ec || to.empty()) return cur;
        cur = to.front() == '/' ? to : DirPart(cur) + to;
    }
    return cur;
}

bool MayReplace(const std::string& path, unsigned mode, unsigned owner) {
    const uid_t me = ::geteuid();
    if (owner == me) return (mode & S_IWUSR) != 0;
    if (me == 0) return (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    return ::access(path.c_str(), W_OK) == 0;
}

}  // namespace varno
