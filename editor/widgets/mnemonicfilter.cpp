#include "editor/widgets/mnemonicfilter.h"

#include <QAction>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace varno {

TMnemonicFilter::TMnemonicFilter(QMainWindow& window) : QObject(&window), window_(window) {}

QMenu* TMnemonicFilter::MenuForMnemonic(const QKeyEvent& key) const {
    if ((key.modifiers() & ~Qt::KeypadModifier) != Qt::AltModifier) return nullptr;
    const QKeySequence pressed(QKeyCombination(Qt::AltModifier, Qt::Key(key.key())));
    for (QAction* a : window_.menuBar()->actions()) {
        if (a->menu() && a->isEnabled() && a->isVisible() && QKeySequence::mnemonic(a->text()) == pressed)
            return a->menu();
    }
    return nullptr;
}

bool TMnemonicFilter::eventFilter(QObject* watched, QEvent* e) {
    const bool overriding = e->type() == QEvent::ShortcutOverride;
    if (!overriding && e->type() != QEvent::KeyPress) return QObject::eventFilter(watched, e);
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || w->window() != &window_) return false;
    QMenu* menu = MenuForMnemonic(*static_cast<QKeyEvent*>(e));
    if (!menu) return false;
    // Taken from the shortcuts (which would go to a tab or a button with the
    // same letter first), the key comes as a key press: it opens the menu.
    e->accept();
    if (!overriding) window_.menuBar()->setActiveAction(menu->menuAction());
    return true;
}

}  // namespace varno
