#include "mapview/mappedfile.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <mutex>
#include <sys/mman.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace varno {

namespace {

// The mapped ranges the SIGBUS handler answers for. A slot is taken by
// storing its end, then its begin; the handler reads them without a lock.
constexpr int kSlots = 16;
std::atomic<std::uintptr_t> slotBegin[kSlots];
std::atomic<std::uintptr_t> slotEnd[kSlots];
std::uintptr_t pageSize = 4096;
struct sigaction previous;
std::mutex slotsLock;  // taking and freeing slots, installing the handler

void OnSigbus(int sig, siginfo_t* info, void* context) {
    const auto at = reinterpret_cast<std::uintptr_t>(info->si_addr);
    for (int k = 0; k < kSlots; ++k) {
        const std::uintptr_t begin = slotBegin[k].load(std::memory_order_acquire);
        if (begin && at >= begin && at < slotEnd[k].load(std::memory_order_acquire)) {
            // A page of the file that is gone: zeros in its place, and the
            // read is done again on them.
            const int saved = errno;
            void* page = reinterpret_cast<void*>(at & ~(pageSize - 1));
            const bool ok =
                ::mmap(page, pageSize, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED;
            errno = saved;
            if (ok) return;
        }
    }
    // Not ours: as if we had never been here.
    if (previous.sa_flags & SA_SIGINFO) {
        previous.sa_sigaction(sig, info, context);
    } else if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN) {
        previous.sa_handler(sig);
    } else {
        ::signal(sig, SIG_DFL);  // the fault comes again and ends the program
    }
}

void InstallHandler() {
    static bool installed = false;
    if (installed) return;
    pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    struct sigaction action {};
    action.sa_sigaction = OnSigbus;
    action.sa_flags = SA_SIGINFO | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGBUS, &action, &previous);
    installed = true;
}

int TakeSlot(const void* data, std::size_t size) {
    const std::lock_guard lock(slotsLock);
    InstallHandler();
    for (int k = 0; k < kSlots; ++k)
        if (!slotBegin[k].load()) {
            slotEnd[k].store(reinterpret_cast<std::uintptr_t>(data) + size, std::memory_order_release);
            slotBegin[k].store(reinterpret_cast<std::uintptr_t>(data), std::memory_order_release);
            return k;
        }
    return -1;  // unguarded: only with more files mapped at once than the program ever keeps
}

void FreeSlot(int k) {
    if (k < 0) return;
    const std::lock_guard lock(slotsLock);
    slotBegin[k].store(0, std::memory_order_release);
}

}  // namespace

MappedFile::MappedFile(int fd, std::size_t length) {
    if (length == 0) return;
    void* p = ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE, fd, 0);
    if (p == MAP_FAILED) throw std::system_error(errno, std::generic_category());
    data_ = static_cast<const std::uint8_t*>(p);
    size_ = length;
    slot_ = TakeSlot(data_, size_);
}

MappedFile::~MappedFile() { release(); }

MappedFile::MappedFile(MappedFile&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)),
      slot_(std::exchange(other.slot_, -1)) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
    if (this != &other) {
        release();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        slot_ = std::exchange(other.slot_, -1);
    }
    return *this;
}

void MappedFile::release() {
    if (!data_) return;
    FreeSlot(slot_);
    ::munmap(const_cast<std::uint8_t*>(data_), size_);
    data_ = nullptr;
    size_ = 0;
    slot_ = -1;
}

}  // namespace varno
