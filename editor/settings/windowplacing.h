#pragma once
// The windows' places between the settings and the screen: the main window's
// position, the border of its order-of-battle column, and the map window's
// position and size.
#include "editor/settings/windowplaces.h"

class QSplitter;
class QWidget;

namespace varno {

class TfrmMap;

// Puts the windows where `places` says; a negative value keeps the designed
// place. A map window given a position counts as placed by the user.
void ApplyPlaces(const WindowPlaces& places, QWidget& edit, QSplitter& column, TfrmMap* map);

// Where the windows are now. A map window never placed keeps no position: it
// goes beside the main window at its next showing.
WindowPlaces CurrentPlaces(const QWidget& edit, const QSplitter& column, const TfrmMap* map);

}  // namespace varno
