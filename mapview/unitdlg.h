#pragma once
// The choose-unit dialog of the map window: picks one unit out of a stack.
// Created once at program start and hidden until the map needs it.
#include <QDialog>

class QListWidget;
class QPushButton;

class TdlgChooseUnit : public QDialog {
    Q_OBJECT
public:
    explicit TdlgChooseUnit(QWidget* parent = nullptr);

    // Shows the dialog modally where it stands; returns Accepted or Rejected.
    virtual int ShowModal();

    // A click on an entry (or Enter on it) chooses it.
    void lbUnitsClick();

    QListWidget* lbUnits = nullptr;
    QPushButton* Button1 = nullptr;  // "Cancel", also by Esc
    QPushButton* Button2 = nullptr;  // "&All", no action
};
