// Feeds arbitrary bytes to the map checksum pass and the conversion pass.
// Besides not crashing, the passes must agree with themselves: the same
// result whether the bytes arrive at once or through a stream in small
// blocks, the same result with LF or CR LF line ends, and a converted copy
// that converts again to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "mapsum/core/map_checksum.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

bool same(const quillet::ChecksumResult& a, const quillet::ChecksumResult& b) {
    return a.ok == b.ok && a.checksum == b.checksum && a.message == b.message;
}

std::string convert(std::string_view data, std::int32_t checksum, bool& ok) {
    quillet::MapTextReader reader(data);
    std::ostringstream out;
    ok = quillet::convert_map_file(reader, out, checksum).ok;
    return out.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string_view data(reinterpret_cast<const char*>(bytes), size);

    const quillet::ChecksumResult whole = quillet::compute_map_checksum(data);
    check(whole.ok == whole.message.empty());

    std::istringstream stream{std::string(data)};
    quillet::MapTextReader blocks(stream, 1);
    check(same(whole, quillet::compute_map_checksum(blocks)));

    // The same map with CR LF for every bare LF (copied a line at a time; a
    // map without a bare LF is that map already).
    std::string crlf;
    std::size_t from = 0;
    for (std::size_t lf = data.find('\n'); lf != std::string_view::npos; lf = data.find('\n', lf + 1)) {
        if (lf > 0 && data[lf - 1] == '\r') continue;
        if (crlf.empty()) crlf.reserve(size * 2);
        crlf.append(data, from, lf - from).append("\r\n");
        from = lf + 1;
    }
    if (from > 0) {
        crlf.append(data, from);
        check(same(whole, quillet::compute_map_checksum(std::string_view(crlf))));
    }

    bool ok = false;
    const std::string once = convert(data, whole.checksum, ok);
    if (ok) {
        check(once.compare(0, 3, "2\r\n") == 0);
        bool again_ok = false;
        check(convert(once, whole.checksum, again_ok) == once);
        check(again_ok);
    }
    return 0;
}
