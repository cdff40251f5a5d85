#pragma once
// The choose-unit dialog of the map window: picks one unit out of a stack.
// Created once at program start and hidden until the map needs it.
#include <QDialog>

class TdlgChooseUnit : public QDialog {
    Q_OBJECT
public:
    explicit TdlgChooseUnit(QWidget* parent = nullptr);
};
