#pragma once
// The scenario state as JSON, for `varno-cli dump`. Texts from the files are
// their bytes read as Latin-1, paths the file system's UTF-8; years are full
// years. Keys keep the order they are documented in.
#include <string>

#include "scenario/scenario.h"

namespace varno {

class JsonWriter;

// How the read went: the path read and, when it stopped, the error's message.
struct ReadOutcome {
    std::string Path;
    bool Complete = false;
    std::string Error;  // empty when complete
};

// The whole state as one object, each record written as it is made.
void WriteScenarioJson(JsonWriter& json, const Scenario& scn, const ReadOutcome& read);

}  // namespace varno
