#pragma once
// Loading the map window's files from the game folder: the map picture
// MAIN1.BMP, the grid size of MAIN.MAP and the icon sheet ICONS2D.BMP. No
// window is needed: the map window, tests and fuzzers call these alike.
// Every failure throws ScnError with a message for the user.
#include <QByteArray>
#include <QImage>
#include <string>
#include <vector>

#include "mapview/hexgeom.h"

namespace varno {

// The game's fixed file names, found in any case in the game folder
// (`gameDir` ends in '/').
std::string MapPicturePath(const std::string& gameDir);
std::string MapFilePath(const std::string& gameDir);
// ICONS2D.BMP of the game folder, or of the folder above it when the game
// folder has none (that second path is not tested: loading it fails if it is
// missing too).
std::string IconSheetPath(const std::string& gameDir);

// A picture file (BMP or any format the toolkit reads), at natural size.
QImage LoadPicture(const std::string& path);
// The same from bytes already in memory; `name` goes into the message.
QImage DecodePicture(const QByteArray& bytes, const std::string& name);

// The 48 icons of the icon list cut from a sheet of 32 x 32 cells, each a
// 32 x 32 image whose white pixels are transparent. Pixels a cell would take
// from beyond the sheet's edge are transparent.
std::vector<QImage> CutIcons(const QImage& sheet);
// LoadPicture(IconSheetPath(gameDir)), cut.
std::vector<QImage> LoadIconList(const std::string& gameDir);

}  // namespace varno
