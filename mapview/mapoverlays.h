#pragma once
// What the map window shows of the scenario's timed plan: the overlays
// (arrival markers, orders' arrows, hatched fixed stacks) and the stacks of
// the groups arrived by the clock's time, laid out from the scenario and
// painted over the placements' stacks; and the pointer on them: the list
// line of what lies under it, a click that selects its record on its page,
// a drag of an arrival marker or an arrow's head to another hex. A room of
// the map window: it reaches the scenario and the pages through
// OverlayHost, and keeps nothing of the scenario but its layout, made again
// after every change.
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <optional>
#include <vector>

#include "mapview/overlaygeom.h"
#include "mapview/overlaypainter.h"

class QPainter;

namespace varno {

class OverlayHost {
public:
    virtual ~OverlayHost() = default;
    virtual const Scenario& OverlayScenario() = 0;
    // Selects record `index` of `list` on its page, as a click on its line does.
    virtual void SelectRecord(ScnListBox list, int index) = 0;
    // One step of the history each: group `index` arrives at `hex` ("Move
    // group 2.1.3 to 12,7"); command `index` aims at `hex`.
    virtual void MoveGroupTo(int index, HexPos hex) = 0;
    virtual void AimCommandAt(int index, HexPos hex) = 0;
};

class TMapOverlays {
public:
    explicit TMapOverlays(OverlayHost& host) : host_(host) {}

    OverlaySet Shown() const { return shown_; }
    void SetShown(OverlaySet on);
    ClockTime Time() const { return time_; }
    void SetTime(ClockTime t);
    // The scenario changed: laid out again when next needed.
    void Invalidate() { dirty_ = true; }
    // The picture's width, for markers at its right edge.
    void SetPictureWidth(int width);
    // Nothing to show: no overlay on and the clock at Start. The map is then
    // exactly the map without them.
    bool Idle() const { return !shown_.Any() && time_.Start; }

    // Paints over `area` (picture pixels, the painter magnified `scale` times);
    // `icons` draw the arrived groups' stacks.
    void Paint(QPainter& p, const QRect& area, double scale, const std::vector<QImage>* icons);
    const OverlayLayout& Layout();
    const ScenarioPlan& Plan();

    // What lies under a picture point at `scale` (a few screen pixels of slack).
    OverlayHit HitAt(QPoint at, double scale);
    // Its text: the record's list line with what the overlay tells of it;
    // empty over nothing.
    QString TextAt(QPoint at, double scale);

    // The left button on the map: true when it went down on an item, which
    // then takes the pointer until the button is released (a marker or an
    // arrow's head can be dragged; any item can be clicked).
    bool Press(QPoint at, double scale);
    bool Pressed() const { return pressed_.Item != OverlayItem::None; }
    // The pointer moved with the button held, to `hex`; true once it moved
    // far enough to be a drag. While dragging, the hex it would drop on.
    bool Drag(QPoint viewDistance, std::optional<HexPos> hex);
    std::optional<HexPos> DropHex() const { return dragging_ ? dropHex_ : std::nullopt; }
    // The text of the drag: "Move group 2.1.3 to 12,7" / "Aim command ... at 12,7".
    QString DragText() const;
    // The button released: a drag drops on its hex, a click selects.
    void Release();
    // The button released elsewhere, or the scenario changed under it.
    void CancelPress();

private:
    void layOut();

    OverlayHost& host_;
    OverlaySet shown_;
    ClockTime time_;
    int pictureWidth_ = 0;
    bool dirty_ = true;
    ScenarioPlan plan_;
    OverlayLayout layout_;
    OverlayPainter painter_;
    OverlayHit pressed_;
    std::optional<OverlayRecord> pressedRecord_;
    bool dragging_ = false;
    std::optional<HexPos> dropHex_;
};

}  // namespace varno
