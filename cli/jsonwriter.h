#pragma once
// JSON written while it is made, for listings too large to build as a
// document first. The layout is that of nlohmann::json's dump(2), so that
// the output is the same as a document's would be: two blanks a level, one
// member or element a line, `"key": value`, empty arrays and objects as
// `[]` and `{}`, strings escaped as JSON requires (control characters as
// \b \t \n \f \r or \u00xx, the rest of UTF-8 as it is), numbers as
// nlohmann writes them (a whole double with ".0", a NaN or infinity as null).
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace varno {

class JsonWriter {
public:
    // Writes to `out` in blocks; Flush (or the destructor) writes the rest.
    explicit JsonWriter(std::ostream& out);
    ~JsonWriter();
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;

    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    // The key of the next member of the object being written; its value follows.
    JsonWriter& Key(std::string_view key);

    // Strings must be UTF-8.
    JsonWriter& Value(std::string_view text);
    JsonWriter& Value(const std::string& text) { return Value(std::string_view(text)); }
    JsonWriter& Value(const char* text) { return Value(std::string_view(text)); }
    JsonWriter& Value(bool b);
    JsonWriter& Value(std::nullptr_t);
    JsonWriter& Value(double number);
    template <std::integral T>
    requires(!std::same_as<T, bool> && !std::same_as<T, char>) JsonWriter& Value(T number) {
        if constexpr (std::is_signed_v<T>)
            return Integer(static_cast<std::int64_t>(number), false);
        else
            return Integer(static_cast<std::int64_t>(static_cast<std::uint64_t>(number)), true);
    }

    // Key and value.
    template <class T> JsonWriter& Member(std::string_view key, const T& value) { return Key(key).Value(value); }

    // Writes what is buffered to the stream.
    void Flush();

private:
    JsonWriter& Integer(std::int64_t number, bool asUnsigned);
    void BeforeValue();
    void Quoted(std::string_view text);
    void Open(char bracket, bool object);
    void Close(char bracket);
    void Indent(std::size_t levels);
    void Spill();

    std::ostream& out_;
    std::string buf_;
    struct Level {
        bool Object = false;
        bool Any = false;  // a member or element written already
    };
    std::vector<Level> levels_;
    bool keyWritten_ = false;
};

}  // namespace varno
