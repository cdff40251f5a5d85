#include "mapview/windowfit.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

#include "scenario/windowplace.h"

namespace varno {

namespace {
ScreenRect Of(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

QRect Room(const QWidget& window, QPoint at) {
    QScreen* s = QApplication::screenAt(at);
    if (!s) s = window.screen();
    if (!s) s = QApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect();
}

// What the window system's frame adds to the client area. Before the window
// is first shown its frame is not known: a shown window's frame is the guess.
QSize FrameExtra(const QWidget& window) {
    if (window.isVisible()) return window.frameGeometry().size() - window.size();
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (w != &window && w->isVisible()) return w->frameGeometry().size() - w->size();
    return {0, 0};
}

QRect Frame(const QWidget& window) { return {window.pos(), window.size() + FrameExtra(window)}; }

void MoveFrame(QWidget& window, const ScreenRect& r) {
    const QRect frame = Frame(window);
    const QSize extra = frame.size() - window.size();
    if (r.Width != frame.width() || r.Height != frame.height())
        window.resize(r.Width - extra.width(), r.Height - extra.height());
    if (r.Left != frame.x() || r.Top != frame.y()) window.move(r.Left, r.Top);
}
}  // namespace

void KeepOnScreen(QWidget& window) {
    const QRect frame = Frame(window);
    const QRect room = Room(window, frame.center());
    if (room.isEmpty()) return;
    MoveFrame(window, FitOnScreen(Of(frame), Of(room)));
}

void PutBeside(QWidget& window, const QRect& other) {
    const QRect frame = Frame(window);
    const QRect room = Room(window, other.center());
    if (room.isEmpty()) return;
    MoveFrame(window, PlaceBeside(Of(other), frame.width(), frame.height(), Of(room)));
}

}  // namespace varno
