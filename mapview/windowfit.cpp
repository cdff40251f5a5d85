#include "mapview/windowfit.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QKeySequence>
#include <QScreen>
#include <QShortcut>
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

namespace {
// What a window manager's title bar needs besides the text: the window's
// icon and three buttons, with some room to spare.
constexpr int kTitleBarExtra = 160;

int TitleWidth(const QWidget& window) {
    QFont font = QApplication::font();
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(window.windowTitle()) + kTitleBarExtra;
}

// A dialog closes with Esc of its own accord, and so does a window with an
// action or a shortcut of that key (a second shortcut would make both
// ambiguous, and neither would work).
bool ClosesWithEscape(const QWidget& window) {
    const QKeySequence esc(Qt::Key_Escape);
    if (qobject_cast<const QDialog*>(&window)) return true;
    for (const QAction* a : window.findChildren<QAction*>())
        if (a->shortcuts().contains(esc)) return true;
    for (const QShortcut* s : window.findChildren<QShortcut*>())
        if (s->key() == esc) return true;
    return false;
}
}  // namespace

void ShowToolWindow(QWidget& window, const QWidget& owner) {
    // Also when a window shows another list under a longer title.
    if (window.width() < TitleWidth(window)) window.resize(TitleWidth(window), window.height());
    if (!window.property("varnoPlaced").toBool()) {
        window.setProperty("varnoPlaced", true);
        if (!ClosesWithEscape(window)) {
            auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), &window);
            esc->setContext(Qt::WindowShortcut);
            QObject::connect(esc, &QShortcut::activated, &window, &QWidget::close);
        }
        std::vector<ScreenRect> others;
        for (const QWidget* w : QApplication::topLevelWidgets())
            if (w != &window && w != &owner && w->isVisible() && !w->isMinimized())
                others.push_back(Of(w->frameGeometry()));
        const QRect beside = owner.frameGeometry();
        const QRect room = Room(window, beside.center());
        const QRect frame = Frame(window);
        if (!room.isEmpty())
            MoveFrame(window, PlaceBesideAll(Of(beside), others, frame.width(), frame.height(), Of(room)));
    }
    window.show();
    KeepOnScreen(window);
    window.raise();
    window.activateWindow();
}

void PutBeside(QWidget& window, const QRect& other, QSize smallest) {
    const QRect frame = Frame(window);
    const QRect room = Room(window, other.center());
    if (room.isEmpty()) return;
    const QSize extra = frame.size() - window.size();
    MoveFrame(window, PlaceBesideShrinking(Of(other), frame.width(), frame.height(), smallest.width() + extra.width(),
                                           smallest.height() + extra.height(), Of(room)));
}

}  // namespace varno
