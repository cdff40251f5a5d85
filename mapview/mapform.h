#pragma once
// The map window: the game's map picture with one icon per occupied hex.
// Created once at program start and hidden until Read or View > Map shows it.
#include <QWidget>

struct TSetupRec;

class TfrmMap : public QWidget {
    Q_OBJECT
public:
    explicit TfrmMap(QWidget* parent = nullptr);

    // Shows the window and brings it to the front. Raises (ScnError) when the
    // map cannot be loaded; the caller shows the message.
    virtual void Show();

    // Removes every unit icon from the map.
    virtual void ClearUnits();
    // Draws the placement's icon into the stack of hex (col, row); none: nothing.
    virtual void DrawUnit(TSetupRec* rec, int col, int row);
};
