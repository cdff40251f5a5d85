#include "editor/settings/windowplacing.h"

#include <QSplitter>
#include <algorithm>

#include "mapview/mapform.h"

namespace varno {

void ApplyPlaces(const WindowPlaces& places, QWidget& edit, QSplitter& column, TfrmMap* map) {
    if (const int width = places.OobWidth; width > 0) {
        const QList<int> sizes = column.sizes();
        const int total = sizes.value(0) + sizes.value(1);
        if (total > 0) column.setSizes({width, std::max(0, total - width)});
    }
    // A position the window system refuses is its own business.
    if (places.EditTop >= 0) edit.move(edit.x(), places.EditTop);
    if (places.EditLeft >= 0) edit.move(places.EditLeft, edit.y());
    if (!map) return;
    map->SetHexNumbers(places.HexNumbers);
    map->SetOverlays({places.Arrivals, places.Orders, places.Releases});
    map->SetPlaced(places.MapTop >= 0 || places.MapLeft >= 0);
    if (places.MapTop >= 0) map->move(map->x(), places.MapTop);
    if (places.MapLeft >= 0) map->move(places.MapLeft, map->y());
    if (places.MapHt >= 0) map->resize(map->width(), places.MapHt);
    if (places.MapWid >= 0) map->resize(places.MapWid, map->height());
}

WindowPlaces CurrentPlaces(const QWidget& edit, const QSplitter& column, const TfrmMap* map) {
    WindowPlaces places;
    places.EditTop = edit.y();
    places.EditLeft = edit.x();
    if (map) {
        if (map->Placed()) {
            places.MapTop = map->y();
            places.MapLeft = map->x();
        }
        places.MapHt = map->height();
        places.MapWid = map->width();
        places.HexNumbers = map->Marks().HexNumbers;
        const OverlaySet on = map->Overlays();
        places.Arrivals = on.Arrivals;
        places.Orders = on.Orders;
        places.Releases = on.Releases;
    }
    places.OobWidth = column.sizes().value(0, -1);
    return places;
}

}  // namespace varno
