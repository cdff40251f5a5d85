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

// Moves the window beside the frame `other` (see PlaceBeside).
void PutBeside(QWidget& window, const QRect& other);

}  // namespace varno
