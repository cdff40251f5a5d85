#pragma once
// The date and time spin fields that the Releases, Reinforcements and
// Commands pages share: year 1861 to 1865, month, day, hour 0 to 23 and
// minutes in steps of 20.
#include <QString>

#include "scenario/scnedit.h"

class QGridLayout;
class QWidget;

namespace varno {

class TSpinEdit;

struct DateSpins {
    TSpinEdit* Year = nullptr;
    TSpinEdit* Month = nullptr;
    TSpinEdit* Day = nullptr;
    TSpinEdit* Hour = nullptr;
    TSpinEdit* Min = nullptr;

    // Makes the five fields, named `seYear<suffix>` and so on, with the
    // captions "Date" and "Time", into rows `row` and `row` + 1 of `grid`.
    void Build(const char* suffix, QWidget* parent, QGridLayout* grid, int row);
    DateFields Values() const;
    void Show(const DateFields& when);
};

}  // namespace varno
