#pragma once
// Paints the map's overlays (mapview/overlaygeom.h) with QPainter, in picture
// pixels, over the picture and its stacks: hatched fixed stacks, the framed
// stacks of arrived groups, the orders' arrows and the arrival markers. The
// map window, its exported pictures and varno-cli's map-picture paint with
// it alike. Texts are drawn once into small pictures and reused: drawing the
// text of every marker at each paint is too slow for a large view.
#include <QColor>
#include <QImage>
#include <QLineF>
#include <QRect>
#include <QString>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

#include "mapview/overlaygeom.h"

class QPainter;

namespace varno {

// The colour of a side (1 Union, else Confederate), as the Schedule window has them.
QColor SideColour(int side);
// The colour of an order: attacks warm, defences cool, Idle (and anything
// else) grey.
QColor CommandColour(int command);

// The shafts of the arrows, many of them long: drawn one pixel a step
// straight into a picture of the area's pixels, which is then laid over the
// painter's device in one piece. Qt's raster engine spends a hundred times
// as long a pixel on a line. Only for a raster device under a scale and
// translation; Draw returns false for anything else (an SVG), which then
// gets lines.
struct ShaftRun {
    QColor Colour;
    bool Wide = false;  // three pixels wide, else one
    const std::vector<QLineF>* Lines = nullptr;
};
class ShaftRaster {
public:
    bool Draw(QPainter& p, const std::vector<ShaftRun>& runs, const QRect& area);

private:
    QImage pixels_;  // kept from paint to paint
};

class OverlayPainter {
public:
    // Paints what of `layout` meets `area` (picture pixels; the painter
    // works in picture pixels, magnified `scale` times). `icons` (the 48 of
    // the icon list, or none) draw the arrived groups' stacks.
    void Paint(QPainter& p, const Scenario& scn, const OverlayLayout& layout, const std::vector<QImage>* icons,
               const QRect& area, double scale) const;

private:
    void paintFixed(QPainter& p, const OverlayLayout& layout, const QRect& area) const;
    void paintArrived(QPainter& p, const Scenario& scn, const OverlayLayout& layout, const std::vector<QImage>* icons,
                      const QRect& area, double scale) const;
    void paintArrows(QPainter& p, const Scenario& scn, const OverlayLayout& layout, const QRect& area,
                     double scale) const;
    void paintMarkers(QPainter& p, const Scenario& scn, const OverlayLayout& layout, const QRect& area,
                      double scale) const;
    // A picture drawn at the screen's pixels for `scale`, of `size` picture
    // pixels, by `draw` (which paints in picture pixels); kept by `key`.
    template <class Draw> const QImage& piece(const QString& key, QSize size, double scale, Draw&& draw) const;

    mutable std::map<QString, QImage> pieces_;
    mutable ShaftRaster shafts_;
    // The arrived groups' stacks by their icon layers, drawn with the icons
    // whose first picture has the key `stackIcons_`.
    mutable std::map<std::vector<std::pair<int, int>>, QImage> stacks_;
    mutable qint64 stackIcons_ = 0;
    mutable double piecesScale_ = 0;
};

}  // namespace varno
