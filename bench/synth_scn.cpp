#include "bench/synth_scn.h"

#include <cstdio>

namespace {

// Deterministic whatever the standard library.
struct Lcg {
    std::uint32_t s;
    std::uint32_t next() {
        s = s * 1664525u + 1013904223u;
        return s >> 8;
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }
};

class Lines {
public:
    explicit Lines(std::string& out) : out_(out) {}
    Lines& s(const std::string& t) {
        out_ += t;
        return *this;
    }
    Lines& n(long long v) {
        out_ += ' ';
        out_ += std::to_string(v);
        return *this;
    }
    void end() { out_ += "\r\n"; }

private:
    std::string& out_;
};

}  // namespace

std::string SynthScnText(const std::vector<std::string>& unitNames, const SynthScnOptions& opts) {
    std::string text;
    if (unitNames.empty()) return text;
    text.reserve(static_cast<std::size_t>(opts.placements) * 40 + static_cast<std::size_t>(opts.groups) * 120 +
                 static_cast<std::size_t>(opts.releases + opts.commands) * 40 + 1024);
    Lcg rng{opts.seed};
    Lines out(text);
    auto name = [&] { return unitNames[static_cast<std::size_t>(rng.below(static_cast<int>(unitNames.size())))]; };

    out.s("Synthetic scenario").end();
    for (int i = 2; i <= 9; ++i) out.s("header line ").n(i).end();

    static constexpr int facings[] = {1, 2, 4, 8, 16, 32};
    for (int i = 0; i < opts.placements; ++i) {
        out.s("1 ").s(name()).n(facings[rng.below(6)]).n(4).n(50 + rng.below(200)).n(rng.below(100)).n(0);
        out.n(rng.below(4) ? 0 : 0x200).n(rng.below(200)).n(rng.below(150)).end();
    }
    for (int i = 0; i < opts.groups; ++i) {
        const int count = 1 + rng.below(10);
        out.s("2").n(1861 + rng.below(5)).n(1 + rng.below(12)).n(1 + rng.below(28)).n(rng.below(24));
        out.n(20 * rng.below(3)).n(1 + rng.below(100)).n(rng.below(21)).n(rng.below(200)).n(rng.below(150));
        out.n(count).n(facings[rng.below(6)]).end();
        for (int u = 0; u < count; ++u) out.s("    ").s(name()).end();
    }
    for (int i = 0; i < 5; ++i) out.s("3 section three line").n(i).end();
    for (int i = 0; i < opts.releases; ++i) {
        out.s("4")
            .n(1861 + rng.below(5))
            .n(1 + rng.below(12))
            .n(1 + rng.below(28))
            .n(rng.below(24))
            .n(20 * rng.below(3));
        if (i % 2) out.n(1 + rng.below(100));
        out.s(" ").s(name()).end();
    }
    for (int i = 0; i < 5; ++i) out.s("miscellaneous line").n(i).end();

    if (opts.commands > 0) {
        const int groups = opts.commands < 8 ? opts.commands : 8;
        out.s("0").end();
        out.s(std::to_string(groups)).n(0).end();
        for (int g = 0; g < groups; ++g) {
            const int size = opts.commands / groups + (g < opts.commands % groups ? 1 : 0);
            out.s(std::to_string(size)).end();
            for (int c = 0; c < size; ++c) {
                out.s(name()).n(1861 + rng.below(5)).n(1 + rng.below(12)).n(1 + rng.below(28)).n(rng.below(24));
                out.n(20 * rng.below(3)).n(rng.below(200)).n(rng.below(150)).n(rng.below(5)).end();
            }
        }
    }
    for (int i = 0; i < 3; ++i) out.s("trailer line").n(i).end();
    return text;
}

bool WriteSynthScn(const std::string& path, const std::vector<std::string>& unitNames, const SynthScnOptions& opts) {
    const std::string text = SynthScnText(unitNames, opts);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && ok;
}
