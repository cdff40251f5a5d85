#pragma once
// The map as the map window shows it after a Read, drawn without a window:
// the picture at a zoom step, one stack per occupied hex (as Read draws
// them), and what the clock and the overlays add at a time. For varno-cli's
// map-picture; the map window paints its own stacks and the same overlays.
#include <QImage>
#include <QRect>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "mapview/overlaypainter.h"
#include "scenario/scnclock.h"

class QPainter;

namespace varno {

// Writes a picture of `size` that `paint` draws, to `path` as PNG or SVG by
// its extension (any case), through a temporary file beside it: the name
// holds the old file or the whole new one. Throws ScnError as MapScene::Write.
void WritePicture(const std::string& path, QSize size, const std::function<void(QPainter&)>& paint);

class MapPicture;

class MapScene {
public:
    // The picture and the icons of the scenario's game folder
    // (GameDir), as the map window loads them. Throws ScnError.
    MapScene(const Scenario& scn, ClockTime time, OverlaySet overlays);

    // The whole map's size at `zoom` percent (a zoom step).
    QSize Size(int zoom) const;
    // Paints `area` (pixels of the map magnified to `zoom`) at that place.
    void Paint(QPainter& p, const QRect& area, int zoom) const;
    // The whole map at `zoom`, written to `path` as PNG or SVG (by its
    // extension, in any case) through a temporary file beside it. Throws
    // ScnError: "Cannot write <path>: <reason>", or when the path names no
    // picture: "<path>: the picture's name must end in .png or .svg"; "<path>
    // is not a regular file" when it names something else that exists.
    void Write(const std::string& path, int zoom) const;

    // The checks of the name Write makes before it writes anything.
    static void CheckOutput(const std::string& path);

    const OverlayLayout& Layout() const { return layout_; }

private:
    const Scenario& scn_;
    std::shared_ptr<const MapPicture> picture_;
    std::vector<QImage> icons_;
    std::vector<std::pair<QPoint, QImage>> stacks_;  // top-left corners and pictures, in drawing order
    ScenarioPlan plan_;
    OverlayLayout layout_;
    OverlayPainter painter_;
};

}  // namespace varno
