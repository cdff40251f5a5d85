#pragma once
// The map window: the game's map picture with one stack image per occupied
// hex, and the mouse handling that picks, drops and moves placements.
// Created once at program start and hidden until Read or View > Map shows it.
#include <QDateTime>
#include <QEvent>
#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "mapview/mapmarks.h"
#include "mapview/mapoverlays.h"

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QMimeData;
class QMouseEvent;
class QRubberBand;
class QScrollArea;

namespace varno {

class MapHost;
class MapPicture;
class TClockBar;
class TPictureBox;
class TStatusPanel;
class TdlgChooseUnit;
struct TSetupRec;
struct TStackImage;

class TfrmMap : public QWidget, private OverlayHost {
    Q_OBJECT
public:
    explicit TfrmMap(QWidget* parent = nullptr);
    ~TfrmMap() override;

    // The main window (placements, labels, selection, moves) and the
    // choose-unit dialog; the program sets both at start. The host may be
    // taken away again (none) when the main window goes.
    void SetHost(MapHost* host) { host_ = host; }
    MapHost* Host() const { return host_; }
    void SetChooseUnitDialog(TdlgChooseUnit* dialog) { dlgChooseUnit_ = dialog; }

    // Shows the window and brings it to the front; a window that was hidden
    // is put onto the screen (beside the main window the first time, unless
    // Placed) and loads what it lacks first (FormShow). Raises (ScnError) when the map or
    // the icons cannot be loaded; the caller shows the message.
    virtual void Show();

    // Removes every stack image; when there was one, loads the map again.
    virtual void ClearUnits();
    // Draws the placement's icon into the stack of hex (col, row); none: nothing.
    virtual void DrawUnit(const TSetupRec* rec, int col, int row);
    // DrawUnit of every placement of the host's scenario at its hex, in list
    // order (the file's after a Read): after ClearUnits, the stacks as read.
    void DrawPlacements();
    // Makes the stack of hex (col, row) anew from the placements standing
    // there, in list order, as Read draws them; no placement: no stack.
    // Returns the placements the full stack refused; `report`: the first
    // refusal shows its box.
    std::vector<const TSetupRec*> RedrawHex(int col, int row, bool report);
    // RedrawHex of every hex of `hexes`, quietly, in one pass over the
    // placements and one over the stacks (a formation moved, a paste).
    void RedrawHexes(const std::vector<std::pair<int, int>>& hexes);

    void FormShow();
    void FormClose();
    void LoadMap();
    void LoadIcons();

    // The zoom in percent, a step of kZoomSteps. SetZoom keeps the picture
    // point under `pointer` (in the viewport) where it is; ZoomBy goes
    // `steps` steps up or down around the mouse pointer when it is over the
    // view, else around the view's centre.
    int Zoom() const { return zoom_; }
    void SetZoom(int percent, QPoint pointer);
    void ZoomBy(int steps);

    // Mouse handlers; x and y are picture pixels at every zoom (the view
    // converts), `buttons` the held buttons.
    void Image1MouseDown(Qt::MouseButton button, int x, int y);
    void Image1MouseUp();
    void Image1MouseMove(Qt::MouseButtons buttons, int x, int y);
    void Image1DblClick();
    void UnitMouseMove(TStackImage* stack);
    // `at` is the pressed point in the stack image's own coordinates.
    void UnitMouseDown(TStackImage* stack, Qt::MouseButton button, QPoint at);

    // The stack image of a hex, or none.
    TStackImage* StackAt(int col, int row) const;
    // The topmost visible stack image under a picture point, or none.
    TStackImage* StackUnder(QPoint at) const;
    // The marks over the map (hex numbers, outlines).
    const TMapMarks& Marks() const { return marks_; }
    // Outlines the hexes the overloaded-hex check reported, until the next
    // check; a hex that the check no longer reports after a change loses its mark.
    void ShowCheckFindings(const std::vector<HexPos>& hexes);
    // The scenario's lists or records changed: the marks follow (the check
    // runs again once the event that changed them is done, not for every line
    // a Read adds).
    void ScenarioChanged();
    // A Read: no outlines of the check, of Search > for Hex or of a placement.
    void ClearMarks();
    // The selected placement changed (or the scenario is another one): the
    // status line's "Current Unit:" names it now (a status line about the
    // scenario is shown again, with the hex last under the pointer).
    void ShowCurrentUnit();
    QString CurrentUnitName() const { return curUnitName_; }
    // Outlines the hex of the selected placement and scrolls it into view
    // when it is out of view; none: no outline.
    void FollowPlacement(const TSetupRec* rec);
    // Brings hex (col, row) to the middle of the view and outlines it.
    void GoToHex(int col, int row);
    // Removes the outline of Search > for Hex.
    void ClearGoToHex();
    // Brings hex (col, row) to the middle of the view.
    void CentreOn(int col, int row);
    // The part of the picture in view, in picture pixels.
    QRect VisiblePicture() const;
    // The placements in the hexes a band (picture pixels) touches become
    // the selection; with `add`, they join it.
    void SelectBand(const QRect& band, bool add);
    // Ctrl+click: the stack's placements join the selection, or leave it
    // when all of them were selected.
    void ToggleStack(int col, int row);
    // The selection moved one hex in direction `dir` (Alt+arrow, the numpad).
    void NudgeSelection(HexDir dir);
    // The keyboard's hex cursor moved by `dc` columns and `dr` rows (the
    // arrow keys), kept on the map; it starts at the selected placement.
    void MoveCursor(int dc, int dr);
    // Space: picks the stack under the cursor as the right button does, or
    // drops what is picked on the cursor's hex.
    void CursorSpace();
    // The map's context menu (Shift+right-click, the menu key) at picture
    // point `at`, shown at `global` on the screen; built anew each time.
    QMenu* ContextMenu(QPoint at);
    // View > Zoom to Fit: the whole map in the view.
    void ZoomToFitView();
    // View > Hex Numbers (checkable; off at first), and what it does. The
    // main window's View menu shows the same action.
    QAction* mnuHexNumbers() const { return mnuHexNumbers_; }
    void SetHexNumbers(bool on);

    // The plan over the map: View > Arrivals, Orders and Releases (each
    // checkable, off at first), Previous and Next Event ([ and ]), Clock to
    // Start, and the clock along the window's top. At Start with every
    // overlay off the map is the map without them.
    QAction* mnuArrivals() const { return mnuArrivals_; }
    QAction* mnuOrders() const { return mnuOrders_; }
    QAction* mnuReleases() const { return mnuReleases_; }
    QAction* mnuNextEvent() const { return mnuNextEvent_; }
    TClockBar* Clock() const { return clock_; }
    OverlaySet Overlays() const { return overlays_.Shown(); }
    void SetOverlays(OverlaySet on);
    ClockTime ClockNow() const;
    // Moves the clock (clockChanged when it is another time).
    void SetClock(ClockTime t);
    TMapOverlays& OverlayRoom() { return overlays_; }

    // File > Export Map Picture: asks the host for the file and the extent,
    // then ExportPicture.
    QAction* mnuExportPicture() const { return mnuExportPicture_; }
    void mnuExportPictureClick();
    // Writes the view (or the whole map) at the zoom, with the stacks, the
    // marks and the overlays at the clock's time, as PNG or SVG by the name's
    // extension. Throws ScnError when it cannot.
    void ExportPicture(const QString& path, bool wholeMap);

    // Every stack image, oldest first.
    const std::vector<std::unique_ptr<TStackImage>>& Stacks() const { return stacks_; }
    // Shows or hides a stack image.
    void SetStackVisible(TStackImage* stack, bool visible);

    // The map's grid from its header; none (0) while no header was read.
    std::int32_t NumCols() const { return numCols_; }
    std::int32_t NumRows() const { return numRows_; }
    // The hex last pointed at on the picture: where a drop goes.
    std::int32_t CurCol() const { return curCol_; }
    std::int32_t CurRow() const { return curRow_; }
    // The loaded map picture and the 48 icons; none while not loaded (before
    // the first showing, after a close).
    const std::shared_ptr<const MapPicture>& MapBitmap() const { return mapBitmap_; }
    const std::vector<QImage>* IconList() const { return iconList_.get(); }
    // The left button is held on the picture (drag-scrolling).
    bool Dragging() const { return dragging_; }
    // A unit was picked from a stack and waits to be dropped.
    bool UnitPicked() const { return unitPicked_; }
    // The settings gave the window its place; else its first showing puts it
    // beside the main window.
    bool Placed() const { return placed_; }
    void SetPlaced(bool placed) { placed_ = placed; }

    // The scrolling view, the map picture in it, the status line and the
    // zoom beside it, and the View menu.
    QScrollArea* Scroll1() const { return scroll1_; }
    TPictureBox* Image1() const { return image1_; }
    TStatusPanel* Status() const { return status_; }
    QLabel* StatusZoom() const { return statusZoom_; }
    QMenu* mnuView() const { return mnuView_; }

signals:
    // The clock moved (by its bar, its keys, or SetClock).
    void clockChanged(varno::ClockTime t);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* e) override;

private:
    // When the picture file is unchanged since it was loaded, a reload keeps
    // the picture already shown instead of decoding it again.
    struct PictureStamp {
        std::string path;
        qint64 size = -1;
        QDateTime modified;
        bool operator==(const PictureStamp&) const = default;
    };

    // OverlayHost: the scenario and the pages, through the host.
    const Scenario& OverlayScenario() override;
    void SelectRecord(ScnListBox list, int index) override;
    void MoveGroupTo(int index, HexPos hex) override;
    void AimCommandAt(int index, HexPos hex) override;
    // The pointer on the overlays; true when they took the event.
    bool overlayMouse(QEvent::Type type, const QMouseEvent& me, QPoint at);
    void refreshClock();
    void overlaysChanged();

    // `fresh`: the stack's canvas is still blank (its first unit).
    void paintIcons(TStackImage* stack, int background, int foreground, bool fresh = false);
    // The canvases of one-unit stacks by their two icons: a stack drawn anew
    // shares one instead of painting it (a formation moved redraws thousands).
    std::map<std::pair<qint64, qint64>, QImage> freshCanvas_;
    // The hexes of the selected placements outlined, as the selection is now.
    void showChosen();
    std::vector<const TSetupRec*> placementsAt(int col, int row) const;
    void updateHex(HexPos hex);
    // "Hex c,r  Current Unit: <name>" for the hex last under the pointer.
    void showHexStatus();
    void recheckMarks();
    // An order-of-battle entry dropped at picture point `at`; false when the
    // data is none of ours.
    bool dropEntry(const QMimeData* data, QPoint at);
    // Both hexes of a move as Read would draw them; the one entered reports a full stack.
    std::vector<const TSetupRec*> redrawMove(HexPos left, HexPos entered);
    TStackImage* newStack(int col, int row);
    void paintStacks(QPainter& p, const QRect& area) const;
    // Stack images that may meet a rectangle of the picture, by their hexes.
    template <class F> void forStacksNear(const QRect& area, F&& f) const;
    void showError(const QString& message);
    // The mouse pointer in the viewport when it is over it, else the viewport's centre.
    QPoint pointerInView() const;
    std::string gameDir() const;
    template <class F> void guarded(F&& handler);

    std::vector<std::unique_ptr<TStackImage>> stacks_;
    std::vector<TStackImage*> stackByKey_;  // by hex key, 256 x 256
    bool overfullShown_ = false;            // "Too many units in hex" shown since the last ClearUnits or move
    bool pressedOnPicture_ = false;         // a button went down on the picture, not on a stack
    std::optional<QPointF> clickStart_;     // where the left button went down on the picture, until it moves
    const TSetupRec* followed_ = nullptr;   // the placement whose hex is outlined
    bool recheckPending_ = false;           // the marks wait for the check to run again
    QPoint viewPointer_;                    // the pointer on the picture control, in view pixels
    int wheelAngle_ = 0;                    // Ctrl+wheel turning not yet a whole zoom step
    PictureStamp shownPicture_;
    std::string loadedDir_;             // the game folder the map and icons came from
    int nextSeq_ = 0;                   // the creation order of the next stack image
    bool quiet_ = false;                // a full stack shows no box
    QString curUnitName_;               // the label of the selected placement, in the status line
    bool statusNamesScenario_ = false;  // the status line shows hexes or placements of the scenario
    TMapOverlays overlays_{*this};
    MapHost* host_ = nullptr;
    TdlgChooseUnit* dlgChooseUnit_ = nullptr;
    int zoom_ = 100;
    TMapMarks marks_;
    std::int32_t numCols_ = 0, numRows_ = 0;
    std::int32_t curCol_ = 0, curRow_ = 0;
    std::shared_ptr<const MapPicture> mapBitmap_;    // the loaded MAIN1.BMP
    std::unique_ptr<std::vector<QImage>> iconList_;  // the 48 icons
    std::int32_t dragX_ = 0, dragY_ = 0;             // last pointer position in the view while dragging
    bool dragging_ = false;
    bool unitPicked_ = false;
    bool placed_ = false;

    QScrollArea* scroll1_ = nullptr;
    TPictureBox* image1_ = nullptr;
    TStatusPanel* status_ = nullptr;
    QLabel* statusZoom_ = nullptr;
    TClockBar* clock_ = nullptr;
    QMenuBar* menu_ = nullptr;
    QMenu* mnuFile_ = nullptr;
    QMenu* mnuView_ = nullptr;
    QAction* mnuExportPicture_ = nullptr;
    QAction* mnuZoomIn_ = nullptr;
    QAction* mnuZoomOut_ = nullptr;
    QAction* mnuZoomNormal_ = nullptr;
    QAction* mnuZoomFit_ = nullptr;
    QAction* mnuHexNumbers_ = nullptr;
    QAction* mnuArrivals_ = nullptr;
    QAction* mnuOrders_ = nullptr;
    QAction* mnuReleases_ = nullptr;
    QAction* mnuPreviousEvent_ = nullptr;
    QAction* mnuNextEvent_ = nullptr;
    QAction* mnuClockStart_ = nullptr;
    QPointF overlayPress_;           // where the left button went down on an overlay item
    bool clockPending_ = false;      // the clock's span waits to be made again
    std::optional<HexPos> dropHex_;  // the hex a dragged marker or arrow head would go to
    // Shift+left-drag: where the band began (picture pixels) and its frame.
    std::optional<QPoint> bandStart_;
    // A left-drag from a stack of a selected formation: the hex it began on.
    std::optional<HexPos> formationFrom_;
    QRubberBand* band_ = nullptr;
};

}  // namespace varno
