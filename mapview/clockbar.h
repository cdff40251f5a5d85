#pragma once
// The map window's clock, along its top: a slider over the scenario's span,
// the date and time it stands at, a step to the previous and to the next
// event, and "Start" to go back to the beginning. The span and the events
// come from the scenario (scenario/scnclock.h); the window sets them after
// every change and draws the plan at the time the bar tells it.
#include <QWidget>
#include <vector>

#include "scenario/scnclock.h"

class QLabel;
class QSlider;
class QToolButton;

namespace varno {

class TClockBar : public QWidget {
    Q_OBJECT
public:
    explicit TClockBar(QWidget* parent = nullptr);

    // The scenario's span and the dates of its events. The time stays where
    // it is (a date outside the span keeps the slider at its end).
    void SetSpan(const ClockSpan& span, std::vector<SchedDate> events);
    ClockTime Time() const { return time_; }
    // Moves the clock; timeChanged when the time is another.
    void SetTime(ClockTime t);
    // To the previous (-1) or the next (+1) event; nothing beyond the first
    // and the last.
    void StepEvent(int direction);

    QSlider* Slider = nullptr;
    QLabel* TimeText = nullptr;
    QToolButton* bnPrevious = nullptr;
    QToolButton* bnNext = nullptr;
    QToolButton* bnStart = nullptr;

signals:
    void timeChanged(varno::ClockTime t);

private:
    void show(ClockTime t);

    ClockSpan span_;
    std::vector<SchedDate> events_;
    ClockTime time_;
};

}  // namespace varno
