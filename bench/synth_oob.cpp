#include "bench/synth_oob.h"

#include <array>
#include <cstdio>

namespace {

// A small deterministic generator, so that the text does not depend on the library.
struct Lcg {
    std::uint32_t s;
    std::uint32_t next() {
        s = s * 1664525u + 1013904223u;
        return s >> 8;
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }
};

class Writer {
public:
    Writer(const SynthOobOptions& o, std::string* text, std::vector<std::string>* units)
        : opts_(o), rng_{o.seed}, text_(text), units_(units) {}

    void run() {
        line("Synthetic order of battle", 0);
        int army = 0;
        while (left() > 0) {
            ++army;
            levels_[0] = static_cast<std::uint8_t>(levels_[0] + 1);
            organisation(0, army % 2 ? "Union " : "Confederate ", 'A', "Army " + std::to_string(army));
        }
    }

private:
    int left() const { return opts_.entries - written_; }

    void line(const std::string& s, int depth) {
        if (!text_) return;
        text_->append(static_cast<std::size_t>(depth), '\t');
        *text_ += s;
        *text_ += opts_.eol;
    }

    // One entry at `depth`; levels_[depth] already holds its number.
    void entry(const std::string& s, int depth) {
        line(s, depth);
        ++written_;
    }

    void child(int depth) {
        levels_[static_cast<std::size_t>(depth)] =
            static_cast<std::uint8_t>(levels_[static_cast<std::size_t>(depth)] + 1);
    }

    void leader(int depth) {
        child(depth);
        entry("L " + std::to_string(1 + rng_.below(9)) + " " + std::to_string(1 + rng_.below(9)) + " " +
                  std::to_string(1 + rng_.below(9)) + " Col. Leader " + std::to_string(written_),
              depth);
    }

    void unit(int depth) {
        static constexpr char types[] = {'I', 'I', 'I', 'C', 'A', 'H', 'M', 'E'};
        child(depth);
        const char type = types[rng_.below(8)];
        if (units_) {
            std::string name;
            for (int d = 0; d <= depth; ++d) {
                if (d) name += '.';
                name += std::to_string(levels_[static_cast<std::size_t>(d)]);
            }
            units_->push_back(name);
        }
        entry("U " + std::to_string(100 + rng_.below(900)) + " " + std::to_string(1 + rng_.below(5)) + " " + type +
                  " " + static_cast<char>('V' + rng_.below(4)) + " " + std::to_string(rng_.below(10)) + " " +
                  std::to_string(rng_.below(10)) + " Regiment " + std::to_string(written_),
              depth);
    }

    // An organisation entry at `depth` (its number already set) with its contents.
    void organisation(int depth, const std::string& side, char kind, const std::string& name) {
        entry(side + kind + " " + name, depth);
        line(rng_.below(3) ? "Begin" : "  Begin  ", depth);
        const int inner = depth + 1;
        levels_[static_cast<std::size_t>(inner)] = 0;
        if (left() > 0) leader(inner);
        if (kind == 'D') {
            const int units = 3 + rng_.below(4);
            for (int i = 0; i < units && left() > 0; ++i) unit(inner);
        } else {
            if (kind == 'C' && left() > 0) {
                child(inner);
                entry("S " + std::to_string(1 + rng_.below(9)) + " " + std::to_string(1 + rng_.below(9)) +
                          " Supply Train " + std::to_string(written_),
                      inner);
            }
            const int subs = 2 + rng_.below(3);
            for (int i = 0; i < subs && left() > 0; ++i) {
                child(inner);
                organisation(inner, "", static_cast<char>(kind + 1),
                             std::string(1, static_cast<char>(kind + 1)) + " Group " + std::to_string(written_));
            }
        }
        line("End", depth);
    }

    const SynthOobOptions& opts_;
    Lcg rng_;
    std::string* text_;
    std::vector<std::string>* units_;
    int written_ = 0;
    std::array<std::uint8_t, 8> levels_{};
};

}  // namespace

std::string SynthOobText(const SynthOobOptions& opts) {
    std::string text;
    text.reserve(static_cast<std::size_t>(opts.entries) * 40 + 64);
    Writer(opts, &text, nullptr).run();
    return text;
}

std::vector<std::string> SynthOobUnitNames(const SynthOobOptions& opts) {
    std::vector<std::string> names;
    Writer(opts, nullptr, &names).run();
    return names;
}

bool WriteSynthOob(const std::string& path, const SynthOobOptions& opts) {
    const std::string text = SynthOobText(opts);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && ok;
}
