#include "cli/jsonwriter.h"

#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>
#include <ostream>

namespace varno {

namespace {
constexpr std::size_t kBlock = 64 * 1024;
}

JsonWriter::JsonWriter(std::ostream& out) : out_(out) { buf_.reserve(kBlock + 1024); }

JsonWriter::~JsonWriter() { Flush(); }

void JsonWriter::Flush() {
    if (!buf_.empty()) out_.write(buf_.data(), static_cast<std::streamsize>(buf_.size()));
    buf_.clear();
}

void JsonWriter::Spill() {
    if (buf_.size() >= kBlock) Flush();
}

void JsonWriter::Indent(std::size_t levels) { buf_.append(2 * levels, ' '); }

void JsonWriter::BeforeValue() {
    if (keyWritten_) {  // the member's key stands before it
        keyWritten_ = false;
        return;
    }
    if (levels_.empty()) return;
    Level& level = levels_.back();
    buf_ += level.Any ? ",\n" : "\n";
    level.Any = true;
    Indent(levels_.size());
}

JsonWriter& JsonWriter::Key(std::string_view key) {
    BeforeValue();  // a member stands where an element would
    Quoted(key);
    buf_ += ": ";
    keyWritten_ = true;
    return *this;
}

void JsonWriter::Open(char bracket, bool object) {
    BeforeValue();
    buf_ += bracket;
    levels_.push_back({object, false});
}

void JsonWriter::Close(char bracket) {
    const bool any = levels_.back().Any;
    levels_.pop_back();
    if (any) {
        buf_ += '\n';
        Indent(levels_.size());
    }
    buf_ += bracket;
    Spill();
}

JsonWriter& JsonWriter::BeginObject() {
    Open('{', true);
    return *this;
}
JsonWriter& JsonWriter::EndObject() {
    Close('}');
    return *this;
}
JsonWriter& JsonWriter::BeginArray() {
    Open('[', false);
    return *this;
}
JsonWriter& JsonWriter::EndArray() {
    Close(']');
    return *this;
}

JsonWriter& JsonWriter::Value(std::string_view text) {
    BeforeValue();
    Quoted(text);
    Spill();
    return *this;
}

void JsonWriter::Quoted(std::string_view text) {
    buf_ += '"';
    std::size_t plain = 0;  // start of the bytes not written yet
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c != '"' && c != '\\') continue;
        buf_.append(text, plain, i - plain);
        plain = i + 1;
        switch (c) {
        case '"': buf_ += "\\\""; break;
        case '\\': buf_ += "\\\\"; break;
        case '\b': buf_ += "\\b"; break;
        case '\t': buf_ += "\\t"; break;
        case '\n': buf_ += "\\n"; break;
        case '\f': buf_ += "\\f"; break;
        case '\r': buf_ += "\\r"; break;
        default: {
            static constexpr char kHex[] = "0123456789abcdef";
            const char esc[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0xF]};
            buf_.append(esc, sizeof esc);
        }
        }
    }
    buf_.append(text, plain, text.size() - plain);
    buf_ += '"';
}

JsonWriter& JsonWriter::Value(bool b) {
    BeforeValue();
    buf_ += b ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::Value(std::nullptr_t) {
    BeforeValue();
    buf_ += "null";
    return *this;
}

JsonWriter& JsonWriter::Value(double number) {
    BeforeValue();
    if (!std::isfinite(number)) {
        buf_ += "null";
        return *this;
    }
    // nlohmann's own shortest form, so that the digits are those a
    // document's dump gives.
    char text[64];
    const char* end = nlohmann::detail::to_chars(text, text + sizeof text, number);
    buf_.append(text, static_cast<std::size_t>(end - text));
    Spill();
    return *this;
}

JsonWriter& JsonWriter::Integer(std::int64_t number, bool asUnsigned) {
    BeforeValue();
    char text[24];
    const auto r = asUnsigned ? std::to_chars(text, text + sizeof text, static_cast<std::uint64_t>(number))
                              : std::to_chars(text, text + sizeof text, number);
    buf_.append(text, static_cast<std::size_t>(r.ptr - text));
    Spill();
    return *this;
}

}  // namespace varno
