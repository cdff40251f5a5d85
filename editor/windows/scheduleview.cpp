#include "editor/windows/scheduleview.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "editor/widgets/textconv.h"

namespace varno {

namespace {

const QColor kSideColour[2] = {QColor(0xb0, 0x3a, 0x2e), QColor(0x2f, 0x5f, 0xb3)};  // Confederate, Union
constexpr double kLeft = 124, kRight = 16, kTop = 30, kAxis = 22, kRow = 18, kGap = 10, kStartGap = 40;
constexpr int kMaxListed = 2;  // events listed under a step's text
constexpr std::size_t kSmoothMarks = 400;

double BandValue(const SideStrength& s, int band) { return band == 0 ? s.Free : band == 1 ? s.Fixed : s.Arrived; }

QString RowName(int group) {
    if (group == -2) return QStringLiteral("Releases");
    if (group == -1) return QStringLiteral("Arrivals");
    return QStringLiteral("Commands %1").arg(group);
}

int RowKey(const ScheduleEvent& ev) {
    switch (ev.Kind) {
    case ScheduleEventKind::Release: return -2;
    case ScheduleEventKind::Arrival: return -1;
    case ScheduleEventKind::Command: return ev.Group;
    }
    return 0;
}

}  // namespace

ScheduleView::ScheduleView(const Scenario& scn, QWidget* parent) : QWidget(parent), scn_(scn) {
    setObjectName(QStringLiteral("ScheduleView"));
    setMouseTracking(true);
    setMinimumSize(480, 320);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ScheduleView::Invalidate() {
    dirty_ = true;
    update();
}

const Schedule& ScheduleView::Current() {
    if (dirty_) {
        schedule_ = ComputeSchedule(scn_);
        dirty_ = false;
        laidOut_ = QSize();
    }
    return schedule_;
}

double ScheduleView::xOf(SchedDate when) const {
    if (minLast_ <= minFirst_) return xFirst_;
    return xFirst_ + (DateMinutes(when) - minFirst_) / (minLast_ - minFirst_) * (xLast_ - xFirst_);
}

void ScheduleView::layOut(QSize size) {
    const Schedule& s = Current();
    if (laidOut_ == size) return;
    laidOut_ = size;
    const double w = size.width(), h = size.height();

    rowGroups_ = {-2, -1};
    bool groups[256] = {};
    for (const ScheduleEvent& ev : s.Events)
        if (ev.Kind == ScheduleEventKind::Command) groups[ev.Group] = true;
    for (int g = 0; g < 256; ++g)
        if (groups[g]) rowGroups_.push_back(g);

    rowsTop_ = h - 6 - kRow * static_cast<double>(rowGroups_.size());
    const double chartBottom = rowsTop_ - kAxis;
    const double panelH = std::max(20.0, (chartBottom - kTop - kGap) / 2);
    panels_[kSideUnion] = QRectF(kLeft, kTop, w - kLeft - kRight, panelH);
    panels_[kSideConfederate] = QRectF(kLeft, kTop + panelH + kGap, w - kLeft - kRight, panelH);

    maxMen_ = 1;
    for (const ScheduleStep& step : s.Steps)
        for (const SideStrength& side : step.Sides)
            maxMen_ = std::max({maxMen_, side.Total(), static_cast<double>(side.TotalSure())});
    maxMen_ *= 1.08;

    x0_ = kLeft;
    x1_ = w - kRight;
    xFirst_ = kLeft + kStartGap;
    xLast_ = x1_ - 56;  // room for the last step
    minFirst_ = s.Steps.size() > 1 ? DateMinutes(s.Steps[1].When) : 0;
    minLast_ = s.Steps.size() > 1 ? DateMinutes(s.Steps.back().When) : 0;
    if (s.Steps.size() == 2) xFirst_ = xLast_ = (xFirst_ + xLast_) / 2;

    stepX_.assign(s.Steps.size(), x0_);
    for (std::size_t i = 1; i < s.Steps.size(); ++i) stepX_[i] = xOf(s.Steps[i].When);
    columns_.clear();
    for (std::size_t i = 0; i < s.Steps.size(); ++i) {
        if (!columns_.empty() && static_cast<int>(stepX_[i]) == static_cast<int>(columns_.back().x))
            columns_.back().step = i;
        else
            columns_.push_back({stepX_[i], i});
    }

    marks_.clear();
    marks_.reserve(s.Events.size());
    for (std::size_t i = 0; i < s.Events.size(); ++i) {
        const ScheduleEvent& ev = s.Events[i];
        const auto row = std::find(rowGroups_.begin(), rowGroups_.end(), RowKey(ev)) - rowGroups_.begin();
        const double cy = rowsTop_ + kRow * (static_cast<double>(row) + 0.5);
        marks_.push_back(
            {QRectF(xOf(ev.When) - 5, cy - 6, 10, 12), static_cast<int>(i), static_cast<std::size_t>(row)});
    }
}

void ScheduleView::Paint(QPainter& p, QSize size) {
    layOut(size);
    const Schedule& s = schedule_;
    p.fillRect(QRectF(QPointF(0, 0), QSizeF(size)), Qt::white);
    const QFontMetricsF fm(p.font());
    const QColor grid(0xd8, 0xd8, 0xd8);

    // The legend.
    double lx = 8;
    auto legend = [&](const QBrush& brush, const QPen& pen, const QString& text) {
        p.setPen(pen);
        p.setBrush(brush);
        p.drawRect(QRectF(lx, 9, 14, 10));
        p.setPen(Qt::black);
        p.drawText(QPointF(lx + 18, 18), text);
        lx += 26 + fm.horizontalAdvance(text);
    };
    const QColor grey(0x55, 0x55, 0x55);
    legend(grey, Qt::NoPen, QStringLiteral("on the map, free"));
    legend(QBrush(grey, Qt::BDiagPattern), QPen(grey), QStringLiteral("fixed"));
    legend(QColor(0x55, 0x55, 0x55, 90), Qt::NoPen, QStringLiteral("arrived (expected, by chance)"));
    p.setPen(QPen(Qt::black, 0, Qt::DashLine));
    p.drawLine(QPointF(lx, 14), QPointF(lx + 22, 14));
    p.drawLine(QPointF(lx, 15), QPointF(lx + 22, 15));
    p.setPen(Qt::black);
    p.drawText(QPointF(lx + 28, 18), QStringLiteral("sure (chance 100 only)"));
    lx += 40 + fm.horizontalAdvance(QStringLiteral("sure (chance 100 only)"));
    p.drawText(QPointF(lx, 18), QStringLiteral("men, 25 per strength point"));

    const std::size_t n = columns_.size();
    auto colX = [&](std::size_t k) { return columns_[k].x; };
    auto colEnd = [&](std::size_t k) { return k + 1 < n ? columns_[k + 1].x : x1_; };
    auto colSide = [&](std::size_t k, int side) -> const SideStrength& {
        return s.Steps[columns_[k].step].Sides[static_cast<std::size_t>(side)];
    };
    for (int side : {kSideUnion, kSideConfederate}) {
        const QRectF r = panels_[side];
        const QColor c = kSideColour[side];
        auto y = [&](double men) { return r.bottom() - men / maxMen_ * r.height(); };
        p.setPen(grid);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r);
        p.setPen(c);
        p.drawText(QRectF(4, r.top(), kLeft - 10, fm.height()), Qt::AlignRight, QString::fromLatin1(SideName(side)));
        p.setPen(Qt::black);
        p.drawText(QRectF(4, r.top() + fm.height(), kLeft - 10, fm.height()), Qt::AlignRight,
                   QString::number(static_cast<long long>(maxMen_ / 1.08)));
        p.drawText(QRectF(4, r.bottom() - fm.height(), kLeft - 10, fm.height()), Qt::AlignRight, QStringLiteral("0"));
        p.setPen(grid);
        p.drawLine(QPointF(r.left(), y(maxMen_ / 1.08)), QPointF(r.right(), y(maxMen_ / 1.08)));

        p.save();
        p.setClipRect(r);
        // The expected series stacked: free, fixed, arrived.
        const QBrush bands[3] = {QBrush(c), QBrush(c, Qt::BDiagPattern),
                                 QBrush(QColor(c.red(), c.green(), c.blue(), 90))};
        std::vector<double> lower(n, 0.0);
        for (int band = 0; band < 3; ++band) {
            QPolygonF poly;
            poly.reserve(static_cast<qsizetype>(4 * n));
            for (std::size_t k = 0; k < n; ++k) {
                const double top = y(lower[k] + BandValue(colSide(k, side), band));
                poly << QPointF(colX(k), top) << QPointF(colEnd(k), top);
            }
            for (std::size_t k = n; k-- > 0;) {
                const double bottom = y(lower[k]);
                poly << QPointF(colEnd(k), bottom) << QPointF(colX(k), bottom);
            }
            for (std::size_t k = 0; k < n; ++k) lower[k] += BandValue(colSide(k, side), band);
            p.setPen(band == 1 ? QPen(c, 1) : Qt::NoPen);
            p.setBrush(bands[band]);
            p.drawPolygon(poly);
        }
        // The totals: expected solid, sure dashed beside it.
        QPolygonF expected, sure;
        expected.reserve(static_cast<qsizetype>(2 * n));
        sure.reserve(static_cast<qsizetype>(2 * n));
        for (std::size_t k = 0; k < n; ++k) {
            const SideStrength& st = colSide(k, side);
            expected << QPointF(colX(k), y(st.Total())) << QPointF(colEnd(k), y(st.Total()));
            sure << QPointF(colX(k), y(static_cast<double>(st.TotalSure())))
                 << QPointF(colEnd(k), y(static_cast<double>(st.TotalSure())));
        }
        // Two pixels wide as two lines of one: the painter's fast path.
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(c.darker(140), 0));
        p.drawPolyline(expected);
        p.setPen(QPen(c.darker(170), 0, Qt::DashLine));
        p.drawPolyline(sure);
        p.translate(0, 1);
        p.drawPolyline(sure);
        p.restore();
    }

    // The time axis: the start, then dates where there is room.
    const QRectF lowest = panels_[kSideConfederate];
    const double axisY = lowest.bottom() + fm.ascent() + 4;
    p.setPen(Qt::black);
    p.drawText(QPointF(x0_ + 3, axisY), QStringLiteral("start"));
    double freeFrom = x0_ + 6 + fm.horizontalAdvance(QStringLiteral("start"));
    int lastYear = -1;
    double gridFrom = x0_;
    for (std::size_t i = 1; i < s.Steps.size(); ++i) {
        // A line for each date where there is room for it.
        if (stepX_[i] >= gridFrom) {
            p.setPen(grid);
            p.drawLine(QPointF(stepX_[i], panels_[kSideUnion].top()), QPointF(stepX_[i], lowest.bottom() + 3));
            gridFrom = stepX_[i] + 4;
        }
        if (stepX_[i] < freeFrom) continue;
        const std::string full = DateText(s.Steps[i].When);
        const int year = std::stoi(full.substr(0, full.find('-')));
        const QString text = QString::fromLatin1(year == lastYear ? full.substr(full.find('-') + 1) : full);
        const double tw = fm.horizontalAdvance(text);
        const double tx = std::clamp(stepX_[i] - tw / 2, x0_, x1_ - tw);
        if (tx < freeFrom) continue;
        p.setPen(Qt::black);
        p.drawText(QPointF(tx, axisY), text);
        freeFrom = tx + tw + 10;
        lastYear = year;
    }

    // The event rows.
    for (std::size_t row = 0; row < rowGroups_.size(); ++row) {
        const double top = rowsTop_ + kRow * static_cast<double>(row);
        p.setPen(Qt::black);
        p.drawText(QRectF(4, top, kLeft - 10, kRow), Qt::AlignRight | Qt::AlignVCenter, RowName(rowGroups_[row]));
        p.setPen(grid);
        p.drawLine(QPointF(x0_, top + kRow / 2), QPointF(x1_, top + kRow / 2));
    }
    // Smooth edges while the marks are few; a crowded row draws faster without.
    p.setRenderHint(QPainter::Antialiasing, marks_.size() <= kSmoothMarks);
    // A mark that would all but cover one of its row drawn before it (less
    // than 2 pixels apart, the same side and fill) is not drawn again.
    struct Drawn {
        double x = -100;
        int side = -2;
        bool sure = false;
    };
    std::vector<Drawn> last(rowGroups_.size());
    const QColor none(Qt::darkGray);
    const QPen outline[3] = {QPen(kSideColour[0].darker(130), 0), QPen(kSideColour[1].darker(130), 0),
                             QPen(none.darker(130), 0)};
    for (const Mark& m : marks_) {
        const ScheduleEvent& ev = s.Events[static_cast<std::size_t>(m.event)];
        const QColor& c = ev.Side >= 0 ? kSideColour[ev.Side] : none;
        // Filled at chance 100, hollow below.
        const bool sure = ev.Kind == ScheduleEventKind::Command || ev.Chance >= 100;
        Drawn& before = last[m.row];
        if (m.rect.x() - before.x < 2 && before.side == ev.Side && before.sure == sure) continue;
        before = {m.rect.x(), ev.Side, sure};
        p.setPen(outline[ev.Side >= 0 ? ev.Side : 2]);
        p.setBrush(sure ? QBrush(c) : QBrush(Qt::white));
        const QRectF& b = m.rect;
        if (ev.Kind == ScheduleEventKind::Release) {
            const QPointF d[4] = {{b.center().x(), b.top()},
                                  {b.right(), b.center().y()},
                                  {b.center().x(), b.bottom()},
                                  {b.left(), b.center().y()}};
            p.drawPolygon(d, 4);
        } else if (ev.Kind == ScheduleEventKind::Arrival) {
            const QPointF t[3] = {{b.center().x(), b.top()}, {b.right(), b.bottom()}, {b.left(), b.bottom()}};
            p.drawPolygon(t, 3);
        } else {
            p.drawRect(b.adjusted(1, 2, -1, -2));
        }
    }
    p.setRenderHint(QPainter::Antialiasing, false);

    // The map's clock: a line across the chart and the rows.
    const double cx = ClockX();
    p.setPen(QPen(QColor(0x20, 0x20, 0x20), 2, Qt::DashLine));
    p.drawLine(QPointF(cx, panels_[kSideUnion].top() - 4), QPointF(cx, rowsTop_ + kRow * double(rowGroups_.size())));
}

void ScheduleView::SetClock(ClockTime t) {
    if (t == clock_) return;
    clock_ = t;
    update();
}

double ScheduleView::ClockX() {
    layOut(size());
    if (clock_.Start) return x0_ + 1;
    // Within the step the clock stands in: from its line to the next one.
    const Schedule& s = schedule_;
    const ScheduleStep& step = s.StepAt(clock_.When);
    const std::size_t i = static_cast<std::size_t>(&step - s.Steps.data());
    const double from = stepX_[i], to = i + 1 < stepX_.size() ? stepX_[i + 1] : x1_;
    return std::clamp(step.Start ? from + 1 : xOf(clock_.When), from, std::max(from, to - 1));
}

std::optional<ClockTime> ScheduleView::TimeAt(QPointF pos) {
    layOut(size());
    for (const Mark& m : marks_)
        if (m.rect.contains(pos)) return ClockTime::At(schedule_.Events[static_cast<std::size_t>(m.event)].When);
    const double bottom = rowsTop_ + kRow * double(rowGroups_.size());
    if (pos.x() < x0_ || pos.x() > x1_ || pos.y() < panels_[kSideUnion].top() || pos.y() > bottom) return std::nullopt;
    const auto it = std::upper_bound(stepX_.begin(), stepX_.end(), pos.x());
    const std::size_t i = it == stepX_.begin() ? 0 : static_cast<std::size_t>(it - stepX_.begin()) - 1;
    const ScheduleStep& step = schedule_.Steps[i];
    return step.Start ? ClockTime::AtStart() : ClockTime::At(step.When);
}

QPointF ScheduleView::EventPoint(int event) {
    layOut(size());
    for (const Mark& m : marks_)
        if (m.event == event) return m.rect.center();
    return {};
}

QString ScheduleView::TextAt(QPointF pos, int* event) {
    layOut(size());
    if (event) *event = -1;
    QStringList lines;
    for (const Mark& m : marks_) {
        if (!m.rect.contains(pos)) continue;
        if (event && *event < 0) *event = m.event;
        lines << Latin1(EventText(scn_, schedule_.Events[static_cast<std::size_t>(m.event)]));
    }
    if (!lines.isEmpty()) return lines.join(QLatin1Char('\n'));
    for (int side : {kSideUnion, kSideConfederate}) {
        if (!panels_[side].contains(pos)) continue;
        const auto it = std::upper_bound(stepX_.begin(), stepX_.end(), pos.x());
        if (it == stepX_.begin()) return {};
        const std::size_t i = static_cast<std::size_t>(it - stepX_.begin()) - 1;
        const ScheduleStep& step = schedule_.Steps[i];
        lines << Latin1(StepText(step, side));
        if (step.Start) return lines.front();
        // The records that make the step.
        const auto first = std::lower_bound(schedule_.Events.begin(), schedule_.Events.end(), step.When,
                                            [](const ScheduleEvent& e, SchedDate w) { return e.When < w; });
        int listed = 0, more = 0;
        for (auto e = first; e != schedule_.Events.end() && e->When == step.When; ++e) {
            if (listed < kMaxListed) {
                lines << Latin1(EventText(scn_, *e));
                ++listed;
            } else {
                ++more;
            }
        }
        if (more > 0) lines << QStringLiteral("... and %1 more").arg(more);
        return lines.join(QLatin1Char('\n'));
    }
    return {};
}

void ScheduleView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    Paint(p, size());
}

void ScheduleView::mouseMoveEvent(QMouseEvent* e) { emit hovered(TextAt(e->position())); }

void ScheduleView::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    int event = -1;
    TextAt(e->position(), &event);
    if (const auto t = TimeAt(e->position())) emit timeClicked(*t);
    if (event < 0) return;
    const ScheduleEvent& ev = schedule_.Events[static_cast<std::size_t>(event)];
    emit eventClicked(ev.Kind, ev.Index);
}

void ScheduleView::leaveEvent(QEvent*) { emit hovered(QString()); }

}  // namespace varno
