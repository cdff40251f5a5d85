#include "windowfit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "WindowPlace.h"

namespace {
ScreenRect Of(const QRect& r) {
    return {r.x(), r.y(), r.width(), r.height()};
}

QRect Room(const QWidget& window, QPoint at) {
    QScreen* s = QGuiApplication::screenAt(at);
    if (!s) s = window.screen();
    if (!s) s = QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect();
}

// Before the window is first shown its frame is not known: its size is the
// client area's.
void MoveFrame(QWidget& window, const ScreenRect& r) {
    const QRect frame = window.frameGeometry();
    const QSize extra = frame.size() - window.size();
    if (r.Width != frame.width() || r.Height != frame.height())
        window.resize(r.Width - extra.width(), r.Height - extra.height());
    if (r.Left != frame.x() || r.Top != frame.y()) window.move(r.Left, r.Top);
}
}  // namespace

void KeepOnScreen(QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect room = Room(window, frame.center());
    if (room.isEmpty()) return;
    MoveFrame(window, FitOnScreen(Of(frame), Of(room)));
}

void PutBeside(QWidget& window, const QRect& other) {
    const QRect frame = window.frameGeometry();
    const QRect room = Room(window, other.center());
    if (room.isEmpty()) return;
    MoveFrame(window, PlaceBeside(Of(other), frame.width(), frame.height(), Of(room)));
}
