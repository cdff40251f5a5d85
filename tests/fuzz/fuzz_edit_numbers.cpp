// Any text in a number edit of the Set Units page: blanks, signs, "$"
// hexadecimal, overflow. The parse is checked against a plain reading of its
// rules in 64-bit arithmetic: the same texts are integers, with the same values.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "editor/widgets/intedit.h"

using namespace varno;

namespace {

void check(bool condition, const char* what, std::string_view text) {
    if (condition) return;
    std::fprintf(stderr, "fuzz_edit_numbers: %s for '%.*s'\n", what, static_cast<int>(text.size()), text.data());
    std::abort();
}

// Empty text is 0; otherwise blanks, a sign, then decimal digits that fit in
// 32 bits with the sign, or "$" and one to eight hexadecimal digits taken as
// 32 bits (negated by a minus sign).
bool Reference(std::string_view t, std::int32_t& value) {
    if (t.empty()) {
        value = 0;
        return true;
    }
    std::size_t i = t.find_first_not_of(' ');
    if (i == std::string_view::npos) return false;
    bool negative = false;
    if (t[i] == '+' || t[i] == '-') negative = t[i++] == '-';
    if (i < t.size() && t[i] == '$') {
        const std::string_view digits = t.substr(i + 1);
        if (digits.empty() || digits.size() > 8) return false;
        std::uint64_t v = 0;
        for (char c : digits) {
            int d;
            if (c >= '0' && c <= '9')
                d = c - '0';
            else if (c >= 'a' && c <= 'f')
                d = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                d = c - 'A' + 10;
            else
                return false;
            v = v * 16 + static_cast<std::uint64_t>(d);
        }
        const std::uint32_t bits = static_cast<std::uint32_t>(v);
        value = static_cast<std::int32_t>(negative ? 0u - bits : bits);
        return true;
    }
    const std::string_view digits = t.substr(i);
    if (digits.empty()) return false;
    std::int64_t v = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
        if (v > 2147483648LL) return false;
    }
    if (negative) v = -v;
    if (v < INT32_MIN || v > INT32_MAX) return false;
    value = static_cast<std::int32_t>(v);
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::int32_t got = 12345, want = 12345;
    const bool ok = ParseIntText(text, got);
    const bool refOk = Reference(text, want);
    check(ok == refOk, ok ? "an integer the rules refuse" : "not an integer by the rules' reading", text);
    if (ok) {
        check(got == want, "a different value", text);
    } else {
        check(got == 12345, "a refused text changed the value", text);
        check(NotAnIntegerMessage(text) == "'" + std::string(text) + "' is not a valid integer value",
              "a wrong message", text);
    }
    return 0;
}
