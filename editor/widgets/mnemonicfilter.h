#pragma once
// Alt and a menu's letter open that menu at once, also where a tab or a
// button of the window carries the same letter: installed on the application,
// the filter takes such keys, for the window it serves, from the shortcuts
// and opens the menu of the window's menu bar.
#include <QObject>

class QEvent;
class QKeyEvent;
class QMainWindow;
class QMenu;

namespace varno {

class TMnemonicFilter : public QObject {
    Q_OBJECT
public:
    explicit TMnemonicFilter(QMainWindow& window);

    // The enabled, visible menu whose mnemonic is this Alt key, or null.
    QMenu* MenuForMnemonic(const QKeyEvent& key) const;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QMainWindow& window_;
};

}  // namespace varno
