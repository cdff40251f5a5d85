#pragma once
// The window-place rules (windowplace.h) applied to a top-level window, on
// the screen it stands on (else the primary one), within the room the
// desktop leaves for windows.
#include <QRect>

class QWidget;

namespace varno {

// Brings a window that does not fit the screen back onto it: no larger than
// the screen, wholly on it.
void KeepOnScreen(QWidget& window);

// Moves the window beside the frame `other`, making it smaller down to
// `smallest` (client area) where it does not fit at its size (see
// PlaceBesideShrinking).
void PutBeside(QWidget& window, const QRect& other, QSize smallest);

// Shows a window the program opens for `owner` (a list, the Schedule, the
// Backups, help): the first time beside the owner, clear of the program's
// other windows where the screen has the room (PlaceBesideAll); always wholly
// on the screen and wide enough for its whole title; Esc closes it. Then it
// comes to the front.
void ShowToolWindow(QWidget& window, const QWidget& owner);

}  // namespace varno
