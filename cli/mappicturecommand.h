#pragma once
// varno-cli map-picture: the whole map as the map window shows it after a
// Read, with the overlays at a time of the clock, written as a PNG or SVG.
// It draws with Qt (no display: Qt's offscreen platform), so it is built
// only with the GUI.
#include <iosfwd>
#include <string>

namespace varno {

struct MapPictureOptions {
    std::string Time = "start";                         // "start" or "1863-07-02 10:00"
    int Zoom = 100;                                     // a zoom step: 25, 50, 100, 200, 400
    std::string Overlays = "arrivals,orders,releases";  // as ParseOverlayList reads them
};

// Exit status as the other commands; wrong options: kExitUsage.
int RunMapPicture(const std::string& typed, const std::string& outPath, const MapPictureOptions& options,
                  std::ostream& out, std::ostream& err);

}  // namespace varno
