#pragma once
// One program's hold on one recovery copy: an exclusive lock on the copy's
// lock file, `<id>.lock` in the recovery folder. The program that writes a
// copy holds it while it runs, and the system lets go of it when the program
// ends, however it ends: a copy whose lock nobody holds is one whose program
// is gone. A program that recovers or discards a copy holds it too, so that
// two programs never take the same copy.
#include <optional>
#include <string>

#include "scenario/platform/platform.h"

namespace varno {

class RecoveryClaim {
public:
    RecoveryClaim() = default;
    RecoveryClaim(RecoveryClaim&& other) noexcept;
    RecoveryClaim& operator=(RecoveryClaim&& other) noexcept;
    RecoveryClaim(const RecoveryClaim&) = delete;
    RecoveryClaim& operator=(const RecoveryClaim&) = delete;
    // Lets go; the files stay.
    ~RecoveryClaim();

    // Takes the lock of copy `id` in folder `dir` (ending in '/'), making the
    // lock file when there is none (locked before it has its name, so that no
    // one else can take it in between), and writes this process's id into
    // it. Empty when another program holds it. Throws ScnError "Cannot lock
    // <path>: <reason>" when the folder refuses.
    static std::optional<RecoveryClaim> Take(const std::string& dir, const std::string& id);

    // Whether a program holds the lock of `id` now; its process id in *pid
    // when the lock file names one (else 0). Takes nothing.
    static bool Held(const std::string& dir, const std::string& id, long* pid = nullptr);

    static std::string LockName(const std::string& id) { return id + ".lock"; }

    bool Holds() const { return file_.isOpen(); }
    // Held, and the lock file is still the one held (no one removed the
    // folder's files meanwhile): others can see the hold.
    bool Intact() const;
    const std::string& Id() const { return id_; }
    const std::string& Dir() const { return dir_; }

    // Lets go, keeping the lock file (the copy stays for a later start).
    void Release();
    // Removes the lock file, then lets go: the copy's other files must be
    // gone already.
    void RemoveLockFile();

private:
    std::string dir_, id_;
    platform::File file_;
};

}  // namespace varno
