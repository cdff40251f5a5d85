#pragma once
// The main of a demo scenario maker: reads the order of battle (the demo's, or
// the one named), builds the scenario's text and writes it as FILE in the
// output directory.
// Usage: <program> <output directory> [MAIN.OOB to read]
#include <exception>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>

#include "scenario/linereader.h"
#include "scenario/oobreader.h"
#include "scenario/readlistener.h"
#include "scenario/scenario.h"

inline int MakeDemoScenario(int argc, char** argv, const char* program, const std::string& file,
                            const std::string& defaultOob,
                            const std::function<std::string(const varno::Scenario&)>& build) {
    if (argc < 2) {
        std::cerr << "usage: " << program << " <output directory> [MAIN.OOB]\n";
        return 2;
    }
    try {
        const std::string oobPath = argc > 2 ? argv[2] : defaultOob;
        varno::Scenario scn;
        varno::ReadListener quiet;
        varno::LineReader in(oobPath);
        varno::ReadOobText(scn, in, quiet);
        const std::string text = build(scn);
        const std::string out = std::string(argv[1]) + "/" + file;
        std::ofstream f(out, std::ios::binary | std::ios::trunc);
        f.write(text.data(), static_cast<std::streamsize>(text.size()));
        f.close();
        if (!f) {
            std::cerr << "cannot write " << out << "\n";
            return 1;
        }
    } catch (const std::exception& e) {
        std::cerr << program << ": " << e.what() << "\n";
        return 1;
    }
    return 0;
}
