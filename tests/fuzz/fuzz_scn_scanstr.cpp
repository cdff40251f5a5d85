// The field scanner on any source under any format. The first byte gives the
// format's length; the format and then the source follow. Both are copied to
// buffers of exactly their size, so that a read past either is caught.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "scenario/scanstr.h"

using namespace varno;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    std::size_t flen = data[0];
    if (flen > size - 1) flen = size - 1;
    const std::size_t slen = size - 1 - flen;
    std::unique_ptr<char[]> format(new char[flen ? flen : 1]);
    std::unique_ptr<char[]> source(new char[slen ? slen : 1]);
    std::memcpy(format.get(), data + 1, flen);
    std::memcpy(source.get(), data + 1 + flen, slen);

    // Sixteen destinations, each big enough for the widest one (a ShortString).
    constexpr int kDest = 16;
    static ShortString slots[kDest];
    void* dest[kDest];
    for (int i = 0; i < kDest; ++i) dest[i] = &slots[i];

    const int n = ScanStr(std::string_view(source.get(), slen), std::string_view(format.get(), flen), dest, kDest);
    if (n > kDest || n < -kDest) std::abort();
    if ((slen == 0 || flen == 0) && n != 0) std::abort();
    for (const ShortString& s : slots) {
        volatile std::uint8_t len = s.Len;  // every stored string is a valid one
        (void)len;
    }
    return 0;
}
