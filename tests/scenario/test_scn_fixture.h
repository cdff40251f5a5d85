#pragma once
// Helpers shared by the scenario reader, writer and round-trip tests: a
// temporary folder, whole-file access, a small order of battle built in
// memory and a listener that records what a window would be told.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "scenario/linereader.h"
#include "scenario/readlistener.h"
#include "scenario/records.h"
#include "scenario/scenario.h"
#include "scenario/scenariobuilder.h"
#include "scenario/scnerror.h"
#include "scenario/scnreader.h"
#include "tests/scenario/test_folder.h"

using namespace varno;

namespace scntest {

namespace fs = std::filesystem;

inline void WriteFile(const std::string& path, std::string_view bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!f) throw std::runtime_error("cannot write fixture " + path);
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

// Lines joined with CR LF, each line ended.
inline std::string Crlf(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines) s += l + "\r\n";
    return s;
}

inline std::vector<std::string> Nine(const std::string& prefix = "H") {
    std::vector<std::string> h;
    for (int i = 1; i <= 9; ++i) h.push_back(prefix + std::to_string(i));
    return h;
}

// Adds an order-of-battle entry with the dot name `dot` ("2.1.3") and the
// list line `display`, findable by FindDotName.
inline TOobRec* AddEntry(Scenario& scn, const std::string& dot, const std::string& display, char kind = 'U') {
    ScenarioBuilder build(scn);
    TOobRec* e = &build.NewOobRec();
    e->Kind = kind;
    e->Display = display;
    std::size_t level = 0, pos = 0;
    while (pos <= dot.size() && level < 8) {
        const std::size_t dotAt = dot.find('.', pos);
        const std::string part = dot.substr(pos, dotAt == std::string::npos ? std::string::npos : dotAt - pos);
        e->Levels[level++] = static_cast<std::uint8_t>(std::stoi(part));
        if (dotAt == std::string::npos) break;
        pos = dotAt + 1;
    }
    build.IndexDotName(*e);
    return e;
}

// The small order of battle most tests read against.
inline void SmallOob(Scenario& scn) {
    AddEntry(scn, "1", "Army of the Creek", 'A');
    AddEntry(scn, "1.1", "Gen. Ash", 'L');
    AddEntry(scn, "1.2", "Ammunition train", 'S');
    AddEntry(scn, "1.3", "120 3 I X 1st Regiment");
    AddEntry(scn, "1.4", "110 3 I X 2nd Regiment");
    AddEntry(scn, "1.5", "90 2 C X 3rd Cavalry");
    AddEntry(scn, "1.2.1", "Nested entry");
    AddEntry(scn, "2", "Army of the Hills", 'A');
    AddEntry(scn, "2.1", "Gen. Birch", 'L');
    AddEntry(scn, "2.2", "100 4 A X 1st Battery");
    AddEntry(scn, "2.3", "130 3 I X 4th Regiment");
    AddEntry(scn, "3", "Lone Scouts");
}

inline const TOobRec* Entry(const Scenario& scn, const std::string& dot) {
    for (const TOobRec* e : scn.OobList())
        if (DotName(*e) == dot) return e;
    return nullptr;
}

// Records what the reader tells a window.
struct RecordingListener : ReadListener {
    std::map<ScnListBox, std::vector<std::string>> lines;
    std::vector<ScnListBox> cleared;
    struct Draw {
        const TSetupRec* rec;
        int col, row;
    };
    std::vector<Draw> draws;

    void listCleared(ScnListBox box) override {
        cleared.push_back(box);
        lines[box].clear();
        if (box == ScnListBox::SetUnits) draws.clear();  // the map is cleared with its placements
    }
    void lineAdded(ScnListBox box, std::string_view text) override { lines[box].emplace_back(text); }
    void drawUnit(const TSetupRec* rec, int col, int row) override { draws.push_back({rec, col, row}); }
    const std::vector<std::string>& of(ScnListBox box) { return lines[box]; }
};

// Reads `text` as a scenario file (after the reset), as a Read does.
inline void ReadText(Scenario& scn, const std::string& text, ReadListener& listener) {
    ResetScenario(scn, listener);
    LineReader in = LineReader::fromText(text);
    ReadScenarioText(scn, in, listener);
}

// The message of the ScnError that reading `text` raises; empty when none.
inline std::string ReadError(Scenario& scn, const std::string& text, ReadListener& listener) {
    try {
        ReadText(scn, text, listener);
    } catch (const ScnError& e) {
        return e.what();
    }
    return {};
}

}  // namespace scntest
