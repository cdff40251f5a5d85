#include "editor/pages/datefields.h"

#include <QGridLayout>
#include <QLabel>

#include "editor/widgets/spinedit.h"

namespace varno {

void DateSpins::Build(const char* suffix, QWidget* parent, QGridLayout* grid, int row) {
    auto name = [suffix](const char* base) { return QByteArray(base) + suffix; };
    Year = new TSpinEdit(name("seYear").constData(), 1861, 1865, 1, 1861, QString(), parent);
    Month = new TSpinEdit(name("seMonth").constData(), 1, 12, 1, 1, QStringLiteral("Month"), parent);
    Day = new TSpinEdit(name("seDay").constData(), 1, 31, 1, 1, QStringLiteral("day"), parent);
    Hour = new TSpinEdit(name("seHour").constData(), 0, 23, 1, 6, QStringLiteral("hours 0-23"), parent);
    Min = new TSpinEdit(name("seMin").constData(), 0, 40, 20, 0, QStringLiteral("minutes"), parent);
    grid->addWidget(new QLabel(QStringLiteral("Date"), parent), row, 0);
    grid->addWidget(Year, row, 1);
    grid->addWidget(Month, row, 2);
    grid->addWidget(Day, row, 3);
    grid->addWidget(new QLabel(QStringLiteral("Time"), parent), row + 1, 0);
    grid->addWidget(Hour, row + 1, 1);
    grid->addWidget(Min, row + 1, 2);
}

DateFields DateSpins::Values() const {
    return {Year->value(), Month->value(), Day->value(), Hour->value(), Min->value()};
}

void DateSpins::Show(const DateFields& when) {
    Year->setValue(when.Year);
    Month->setValue(when.Month);
    Day->setValue(when.Day);
    Hour->setValue(when.Hour);
    Min->setValue(when.Minute);
}

}  // namespace varno
