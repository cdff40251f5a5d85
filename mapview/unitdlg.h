#pragma once
// The choose-unit dialog of the map window: picks one unit out of a stack.
// Created once at program start and hidden until the map needs it.
#include <QDialog>

class QListWidget;
class QPushButton;

namespace varno {

class TdlgChooseUnit : public QDialog {
    Q_OBJECT
public:
    explicit TdlgChooseUnit(QWidget* parent = nullptr);

    // A fixed single border with the caption and no title-bar buttons: no
    // system menu, no minimise, maximise or close box (Esc and Cancel close it).
    static constexpr Qt::WindowFlags kFrameFlags =
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint;

    // Shows the dialog modally where it stands; returns Accepted or Rejected.
    virtual int ShowModal();

    // Puts the dialog's top-left corner at `global`, moved up and left as far
    // as it takes to keep the whole dialog on that screen.
    void PlaceAt(QPoint global);

    // A click on an entry (or Enter on it) chooses it.
    void lbUnitsClick();

    QListWidget* lbUnits = nullptr;
    QPushButton* Button1 = nullptr;  // "Cancel", also by Esc
    QPushButton* Button2 = nullptr;  // "&All", no action

protected:
    // The frame's size is known for sure only once the dialog is shown.
    void showEvent(QShowEvent* e) override;

private:
    void keepOnScreen();
    QPoint anchor_;
};

}  // namespace varno
