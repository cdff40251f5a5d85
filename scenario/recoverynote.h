#pragma once
// The small description kept beside a recovery copy: whose scenario the copy
// is, what the scenario file looked like when the copy's changes began, when
// the copy was taken and after which step, and which file holds its bytes.
//
// It is a text file of "key value" lines, LF ended, in the recovery folder.
// Values are bytes: a byte outside the printable ASCII (and '%') is written
// as %XX, so that a path or a step name of any bytes, line breaks included,
// comes back as it was.
#include <cstdint>
#include <string>
#include <string_view>

#include "scenario/filestamp.h"
#include "scenario/scnreader.h"

namespace varno {

struct RecoveryNote {
    // The scenario's path as bytes (what Save would write to).
    std::string ScenarioPath;
    // The scenario file when it was read or last saved: the copy's base. Not
    // Known when the scenario came from no file.
    FileStamp Base;
    // When the document held what the copy holds, in seconds since the epoch.
    std::int64_t Time = 0;
    // The name of the step the copy was taken after ("Move 2.1.3 to 12,7").
    std::string Step;
    // The version of the program that wrote it.
    std::string Version;
    // The copy's file in the same folder, its size and its HashOfBytes.
    std::string CopyName;
    std::uint64_t CopySize = 0;
    std::uint64_t CopyHash = 0;

    bool operator==(const RecoveryNote&) const = default;
};

// The description's text.
std::string NoteText(const RecoveryNote& note);

// Reads a description. Empty when it reads, else why it is no description
// of ours: "not a recovery description", "written by a newer Varno (format
// 2)", "no <key> line", "bad <key> line".
std::string ParseNote(std::string_view text, RecoveryNote& note);

// The copy's bytes as the scenario file of its path, for ReadScenario: as
// if read when the file was the copy's base, so that a save of it asks (or
// refuses) when the file changed since.
ScenarioFile CopyAsScenarioFile(const RecoveryNote& note, std::string copyText);

// A time of the notes as the user reads it: local "2025-01-07 10:17".
std::string LocalTimeText(std::int64_t secondsSinceEpoch);

}  // namespace varno
