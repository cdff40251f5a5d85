#include "cli/termtext.h"

#include <ostream>

#include "scenario/messagetext.h"

namespace varno {

std::string Latin1ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

namespace {
bool IsUtf8(std::string_view s) {
    unsigned cp = 0;
    for (std::size_t i = 0; i < s.size();) {
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            ++i;
        } else if (const std::size_t len = Utf8At(s, i, cp); len > 0) {
            i += len;
        } else {
            return false;
        }
    }
    return true;
}

constexpr std::size_t kBlock = 64 * 1024;
}  // namespace

std::string MessageUtf8(std::string_view bytes) { return IsUtf8(bytes) ? std::string(bytes) : Latin1ToUtf8(bytes); }

std::string TerminalMessage(std::string_view message) {
    std::string out = DisplayMessage(message);
    for (char& c : out)
        if (c == '\r') c = '\n';
    return out;
}

std::string TerminalText(std::string_view bytes) { return DisplayLine(bytes); }

TerminalWriter::TerminalWriter(std::ostream& out) : out_(out) { buf_.reserve(kBlock + 1024); }

TerminalWriter::~TerminalWriter() { Flush(); }

void TerminalWriter::Line(std::string_view bytes) {
    buf_ += DisplayLine(bytes);
    buf_ += '\n';
    if (buf_.size() >= kBlock) Flush();
}

void TerminalWriter::Latin1Line(std::string_view bytes) {
    AppendLatin1Line(buf_, bytes);
    buf_ += '\n';
    if (buf_.size() >= kBlock) Flush();
}

void TerminalWriter::Flush() {
    if (!buf_.empty()) out_.write(buf_.data(), static_cast<std::streamsize>(buf_.size()));
    buf_.clear();
}

}  // namespace varno
