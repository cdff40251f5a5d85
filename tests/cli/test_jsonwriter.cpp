// JSON written as it is made against nlohmann::json's dump(2) of the same
// document: random documents (nesting, empty arrays and objects, every
// ASCII character and others of UTF-8 in strings, integers of both signs
// and ranges, doubles of any magnitude, NaN and infinity) give the same bytes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>
#include <string>

#include "cli/jsonwriter.h"

namespace {

using varno::JsonWriter;
using json = nlohmann::ordered_json;
using Rng = std::mt19937_64;

void Write(JsonWriter& w, const json& j) {
    switch (j.type()) {
    case json::value_t::object:
        w.BeginObject();
        for (const auto& [key, value] : j.items()) {
            w.Key(key);
            Write(w, value);
        }
        w.EndObject();
        break;
    case json::value_t::array:
        w.BeginArray();
        for (const json& value : j) Write(w, value);
        w.EndArray();
        break;
    case json::value_t::string: w.Value(j.get_ref<const std::string&>()); break;
    case json::value_t::boolean: w.Value(j.get<bool>()); break;
    case json::value_t::number_integer: w.Value(j.get<std::int64_t>()); break;
    case json::value_t::number_unsigned: w.Value(j.get<std::uint64_t>()); break;
    case json::value_t::number_float: w.Value(j.get<double>()); break;
    default: w.Value(nullptr); break;
    }
}

std::string Utf8(unsigned cp) {
    std::string s;
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | (cp >> 6));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        s += static_cast<char>(0xE0 | (cp >> 12));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (cp >> 18));
        s += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return s;
}

std::string RandomText(Rng& rng) {
    std::string s;
    const int n = static_cast<int>(rng() % 12);
    for (int i = 0; i < n; ++i) {
        unsigned cp = static_cast<unsigned>(rng() % 0x80);  // mostly ASCII, every control among them
        if (rng() % 4 == 0) cp = static_cast<unsigned>(0x80 + rng() % 0x10FF80);
        if (cp >= 0xD800 && cp <= 0xDFFF) cp = 0xE9;
        s += Utf8(cp);
    }
    return s;
}

double RandomDouble(Rng& rng) {
    switch (rng() % 6) {
    case 0: return static_cast<double>(static_cast<std::int64_t>(rng() % 200000) - 100000);  // whole
    case 1: return static_cast<double>(rng() % 100000) / 4.0;                                // men: quarters
    case 2: return std::numeric_limits<double>::quiet_NaN();
    case 3: return (rng() % 2 ? 1 : -1) * std::numeric_limits<double>::infinity();
    default: {
        double d = 0;
        do {
            const std::uint64_t bits = rng();
            std::memcpy(&d, &bits, sizeof d);
        } while (!std::isfinite(d));
        return d;
    }
    }
}

json RandomValue(Rng& rng, int depth) {
    switch (rng() % (depth < 4 ? 9 : 7)) {
    case 0: return nullptr;
    case 1: return rng() % 2 == 0;
    case 2: return static_cast<std::int64_t>(rng());
    case 3: return rng();  // unsigned, also above INT64_MAX
    case 4: return RandomDouble(rng);
    case 5:
    case 6: return RandomText(rng);
    case 7: {
        json a = json::array();
        for (int n = static_cast<int>(rng() % 4); n > 0; --n) a.push_back(RandomValue(rng, depth + 1));
        return a;
    }
    default: {
        json o = json::object();
        for (int n = static_cast<int>(rng() % 4); n > 0; --n) o[RandomText(rng)] = RandomValue(rng, depth + 1);
        return o;
    }
    }
}

TEST(JsonWriter, WritesWhatADocumentsDumpWrites) {
    Rng rng(36);
    for (int i = 0; i < 3000; ++i) {
        const json doc = RandomValue(rng, 0);
        std::ostringstream out;
        {
            JsonWriter w(out);
            Write(w, doc);
        }
        ASSERT_EQ(out.str(), doc.dump(2)) << "document " << i;
    }
}

TEST(JsonWriter, LargeListingsReachTheStreamWhole) {
    json doc = json::array();
    for (int i = 0; i < 20000; ++i)
        doc.push_back(json{{"index", i}, {"text", std::string(static_cast<std::size_t>(i % 50), 'x')}});
    std::ostringstream out;
    JsonWriter w(out);
    Write(w, doc);
    w.Flush();
    EXPECT_EQ(out.str(), doc.dump(2));
}

}  // namespace
