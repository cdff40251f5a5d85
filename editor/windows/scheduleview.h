#pragma once
// The picture of a scenario's schedule: each side's strength over time on one
// time axis (the Union's panel above the Confederates', the same scale), and
// the releases, arrivals and commands by group in rows below. Draws with
// QPainter only, so that the same drawing goes to the screen, a PNG or an SVG.
#include <QRectF>
#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

#include "scenario/scnclock.h"
#include "scenario/scnschedule.h"

class QPainter;

namespace varno {

class Scenario;

class ScheduleView : public QWidget {
    Q_OBJECT
public:
    explicit ScheduleView(const Scenario& scn, QWidget* parent = nullptr);

    // The scenario changed: the schedule is computed again at the next paint.
    void Invalidate();
    // Draws the whole picture into `size` (the widget's, a PNG's or an SVG's).
    void Paint(QPainter& p, QSize size);
    // What lies under a point of the widget: an event's text, a step's, or
    // nothing; `event` is the index in Events() of the event there, or -1.
    QString TextAt(QPointF pos, int* event = nullptr);
    const Schedule& Current();
    // The centre of an event's mark in the widget (for tests and tools); an
    // empty point when it is not drawn.
    QPointF EventPoint(int event);
    // The map's clock, drawn as a vertical line.
    void SetClock(ClockTime t);
    ClockTime Clock() const { return clock_; }
    // The time a click at a point of the widget sets: the step drawn there
    // (Start at the start), an event's date on its mark; none outside the
    // chart and the rows.
    std::optional<ClockTime> TimeAt(QPointF pos);
    // Where the clock's line is drawn (for tests and tools).
    double ClockX();

signals:
    // The pointer is over an event or a step (empty text: over neither).
    void hovered(const QString& text);
    // An event's mark was clicked.
    void eventClicked(ScheduleEventKind kind, int index);
    // A time was clicked (an event's mark too): the map's clock goes there.
    void timeClicked(varno::ClockTime t);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    struct Mark {
        QRectF rect;
        int event;
        std::size_t row;  // index in rowGroups_
    };
    // Where everything goes at `size`: computed before drawing and hit tests.
    void layOut(QSize size);
    double xOf(SchedDate when) const;

    const Scenario& scn_;
    Schedule schedule_;
    bool dirty_ = true;
    QSize laidOut_;
    // The layout.
    QRectF panels_[2];  // by side
    double maxMen_ = 1;
    double x0_ = 0, x1_ = 0, xFirst_ = 0, xLast_ = 0;
    double minFirst_ = 0, minLast_ = 0;
    std::vector<double> stepX_;  // left edge of each step
    // The steps as drawn: one per pixel column, the last step that begins
    // in it, from the column's first step's left edge.
    struct Column {
        double x;
        std::size_t step;
    };
    std::vector<Column> columns_;
    std::vector<int> rowGroups_;  // rows below the chart: -2 releases, -1 arrivals, 1 to 8 commands of that group
    double rowsTop_ = 0;
    std::vector<Mark> marks_;
    ClockTime clock_;
};

}  // namespace varno
