#pragma once
// The list window: one fixed-pitch list that the main window fills with the
// overloaded hexes, the Check Scenario report or an organisation strength
// list, and shows. Created by the main window the first time it is needed
// and kept, hidden when the user closes it, until the program ends.
//
// A list is made from the scenario as it was: when the scenario changes, the
// window keeps the list but says it is out of date, with a Refresh button
// that makes it again.
#include <QWidget>
#include <functional>

class QLabel;
class QListWidget;
class QPushButton;

namespace varno {

class TScnDocument;

class TfrmList : public QWidget {
    Q_OBJECT
public:
    explicit TfrmList(QWidget* owner);

    QListWidget* lbList = nullptr;
    QLabel* lblOutOfDate = nullptr;  // "The scenario changed since this list was made."
    QPushButton* bnRefresh = nullptr;

    // The list now shown was made by `remake` (which fills it again): the
    // out-of-date line goes.
    void MadeBy(std::function<void()> remake);
    // The scenario changed: a list on the screen says it is out of date.
    void ScenarioChanged();
    // From now on every change of `doc`'s records is such a change.
    void Follow(const TScnDocument& doc);
    bool OutOfDate() const;

    // Un-minimises the window.
    void Restore();
    // True unless the window is maximised (or full screen).
    bool IsNormalState() const;
    // Shows the window and brings it to the front (ShowToolWindow).
    void ShowList();

private:
    std::function<void()> remake_;
};

}  // namespace varno
