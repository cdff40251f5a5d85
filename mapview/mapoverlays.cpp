#include "mapview/mapoverlays.h"

#include <QApplication>
#include <cmath>

#include "scenario/records.h"
#include "scenario/scenario.h"

namespace varno {

namespace {

// The slack of a hit, a few screen pixels at any zoom.
int Slack(double scale) { return std::max(1, static_cast<int>(std::lround(3 / std::max(scale, 0.01)))); }

std::string Dot(const TOobRec* entry) { return entry ? DotName(*entry) : std::string("?"); }

}  // namespace

void TMapOverlays::SetShown(OverlaySet on) {
    if (on == shown_) return;
    shown_ = on;
    dirty_ = true;
}

void TMapOverlays::SetTime(ClockTime t) {
    if (t == time_) return;
    time_ = t;
    dirty_ = true;
}

void TMapOverlays::SetPictureWidth(int width) {
    if (width == pictureWidth_) return;
    pictureWidth_ = width;
    dirty_ = true;
}

void TMapOverlays::layOut() {
    if (!dirty_) return;
    dirty_ = false;
    const Scenario& scn = host_.OverlayScenario();
    plan_ = PlanAt(scn, time_);
    layout_ = LayOutOverlays(scn, plan_, shown_, pictureWidth_);
}

const OverlayLayout& TMapOverlays::Layout() {
    layOut();
    return layout_;
}

const ScenarioPlan& TMapOverlays::Plan() {
    layOut();
    return plan_;
}

void TMapOverlays::Paint(QPainter& p, const QRect& area, double scale, const std::vector<QImage>* icons) {
    if (Idle()) return;
    painter_.Paint(p, host_.OverlayScenario(), Layout(), icons, area, scale);
}

OverlayHit TMapOverlays::HitAt(QPoint at, double scale) {
    if (Idle()) return {};
    return HitOverlay(Layout(), {at.x(), at.y()}, Slack(scale));
}

QString TMapOverlays::TextAt(QPoint at, double scale) {
    const OverlayHit hit = HitAt(at, scale);
    if (hit.Item == OverlayItem::None) return {};
    return QString::fromLatin1(OverlayText(host_.OverlayScenario(), layout_, plan_, hit));
}

bool TMapOverlays::Press(QPoint at, double scale) {
    CancelPress();
    const OverlayHit hit = HitAt(at, scale);
    if (hit.Item == OverlayItem::None) return false;
    pressed_ = hit;
    pressedRecord_ = RecordOf(layout_, plan_, hit);
    return true;
}

bool TMapOverlays::Drag(QPoint viewDistance, std::optional<HexPos> hex) {
    if (!Pressed()) return false;
    const bool draggable = pressed_.Item == OverlayItem::Marker || pressed_.Item == OverlayItem::ArrowHead;
    if (!dragging_ && draggable && viewDistance.manhattanLength() >= QApplication::startDragDistance())
        dragging_ = true;
    if (dragging_) dropHex_ = hex;
    return dragging_;
}

QString TMapOverlays::DragText() const {
    if (!dragging_ || !dropHex_ || !pressedRecord_) return {};
    const Scenario& scn = host_.OverlayScenario();
    const auto i = static_cast<std::size_t>(pressedRecord_->Index);
    const QString to = QStringLiteral("%1,%2").arg(dropHex_->Col).arg(dropHex_->Row);
    if (pressedRecord_->List == ScnListBox::Reinfor && i < scn.ReinfList().size()) {
        const TReinfGroup* g = scn.ReinfList()[i];
        return QStringLiteral("Move group %1 to %2")
            .arg(QString::fromLatin1(Dot(g->Count > 0 ? g->Units[0] : nullptr)), to);
    }
    if (pressedRecord_->List == ScnListBox::Commands && i < scn.CommandList().size())
        return QStringLiteral("Aim command %1 at %2").arg(QString::fromLatin1(Dot(scn.CommandList()[i]->Unit)), to);
    return {};
}

void TMapOverlays::Release() {
    const OverlayHit pressed = pressed_;
    const std::optional<OverlayRecord> record = pressedRecord_;
    const bool dragged = dragging_;
    const std::optional<HexPos> hex = dropHex_;
    CancelPress();
    if (!record || pressed.Item == OverlayItem::None) return;
    if (!dragged) {
        host_.SelectRecord(record->List, record->Index);
        return;
    }
    if (!hex) return;
    if (record->List == ScnListBox::Reinfor)
        host_.MoveGroupTo(record->Index, *hex);
    else if (record->List == ScnListBox::Commands)
        host_.AimCommandAt(record->Index, *hex);
}

void TMapOverlays::CancelPress() {
    pressed_ = {};
    pressedRecord_.reset();
    dragging_ = false;
    dropHex_.reset();
}

}  // namespace varno
