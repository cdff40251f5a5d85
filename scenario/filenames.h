#pragma once
// File names of the game's folders.
#include <string>

namespace varno {

// The directory part of a path: up to and including the last separator ('/';
// on Windows also a backslash); empty when none.
std::string DirPart(const std::string& path);

// dir + the entry of dir whose name equals `name` ignoring ASCII case (game
// folders copied from other systems carry any case); dir + name when none does.
std::string FindFileNoCase(const std::string& dir, const std::string& name);

// The scenario path made absolute against the working directory, so that the
// working-directory change of a Read does not move it (platform::AbsolutePath).
// Kept as typed otherwise.
std::string AbsoluteScenarioPath(const std::string& typed);

bool FileExists(const std::string& path);

// The two folders are one: the same directory on disk (through links), or,
// where either cannot be looked at, the same path.
bool SameFolder(const std::string& a, const std::string& b);

// The two paths name one file on disk (through links); false where either
// names none or cannot be looked at.
bool SameFile(const std::string& a, const std::string& b);

// The game's own files, which no scenario is ever saved over: MAIN.OOB,
// MAIN.MAP, MAIN1.BMP, ICONS2D.BMP and the backups OLDSCN<n>.TXT, in any case.
bool IsGameFileName(const std::string& name);
// Throws ScnError "<name> is one of the game's files: choose another name"
// when the file name of `path` is one of them.
void RefuseGameFile(const std::string& path);

}  // namespace varno
