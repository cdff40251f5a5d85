#include "mapview/mapform.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <exception>
#include <utility>

#include "mapview/clockbar.h"
#include "mapview/formation.h"
#include "mapview/hexgeom.h"
#include "mapview/mapfiles.h"
#include "mapview/maphost.h"
#include "mapview/mappicture.h"
#include "mapview/mapscene.h"
#include "mapview/picturebox.h"
#include "mapview/stackimage.h"
#include "mapview/statuspanel.h"
#include "mapview/unitdlg.h"
#include "mapview/windowfit.h"
#include "mapview/zoomgeom.h"
#include "scenario/filenames.h"
#include "scenario/messagetext.h"
#include "scenario/ooblookup.h"
#include "scenario/records.h"
#include "scenario/scenario.h"
#include "scenario/scnchecks.h"
#include "scenario/scnerror.h"

namespace varno {

namespace {
// A map window smaller than this shows too little to work in.
const QSize kSmallestFirstSize(320, 240);
}  // namespace

TfrmMap::TfrmMap(QWidget* parent) : QWidget(parent, Qt::Window), stackByKey_(256 * 256, nullptr) {
    setObjectName(QStringLiteral("frmMap"));
    setWindowTitle(QStringLiteral("Test"));
    // Designed bounds; the settings may move and size the window before it is shown.
    move(-3, 94);
    resize(600, 480);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Scroll1 = new QScrollArea(this);
    Scroll1->setObjectName(QStringLiteral("Scroll1"));
    Scroll1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Scroll1->horizontalScrollBar()->setSingleStep(20);
    Scroll1->verticalScrollBar()->setSingleStep(20);
    layout->addWidget(Scroll1, 1);

    Image1 = new TPictureBox;
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setMouseTracking(true);
    Image1->installEventFilter(this);
    Image1->setCursor(Qt::ArrowCursor);
    Image1->PaintOver = [this](QPainter& p, const QRect& area) {
        paintStacks(p, area);
        overlays_.SetPictureWidth(Image1->picture().width());
        overlays_.Paint(p, area, Zoom / 100.0, IconList.get());
        // Where a dragged marker or arrow head would go.
        if (dropHex_) {
            QPen pen(QColor(20, 20, 20), 2, Qt::DashLine);
            pen.setCosmetic(true);
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
            QPolygon hex;
            for (const PixelPos& c : HexOutline(dropHex_->Col, dropHex_->Row)) hex << QPoint(c.X, c.Y);
            p.drawPolygon(hex);
        }
        Marks.Paint(p, area, NumCols, NumRows, Zoom / 100.0);
    };
    mnuHexNumbers = new QAction(QStringLiteral("Hex &Numbers"), this);
    mnuHexNumbers->setObjectName(QStringLiteral("mnuHexNumbers"));
    mnuHexNumbers->setCheckable(true);
    connect(mnuHexNumbers, &QAction::toggled, this, [this](bool on) { SetHexNumbers(on); });
    addAction(mnuHexNumbers);

    // Entries dragged from the order-of-battle column are placed where they drop.
    Image1->setAcceptDrops(true);
    Scroll1->setWidget(Image1);
    // Ctrl+wheel zooms wherever the pointer is over the view.
    Scroll1->viewport()->installEventFilter(this);

    Status = new TStatusPanel(QStringLiteral("Status  Testing"), this);
    Status->setObjectName(QStringLiteral("Status"));
    Status->setFixedHeight(18);
    Status->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Status->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont statusFont(QStringLiteral("Arial"));
    statusFont.setPixelSize(11);
    Status->setFont(statusFont);
    StatusZoom = new QLabel(this);
    StatusZoom->setObjectName(QStringLiteral("StatusZoom"));
    StatusZoom->setFixedHeight(18);
    StatusZoom->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    StatusZoom->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    StatusZoom->setFont(statusFont);
    StatusZoom->setText(QStringLiteral(" 100 % "));
    auto* statusLine = new QHBoxLayout;
    statusLine->setSpacing(0);
    statusLine->addWidget(Status, 1);
    statusLine->addWidget(StatusZoom);
    layout->addLayout(statusLine);

    // The clock, along the top.
    Clock = new TClockBar(this);
    layout->insertWidget(0, Clock);
    connect(Clock, &TClockBar::timeChanged, this, [this](ClockTime t) {
        overlays_.SetTime(t);
        Image1->update();
        emit clockChanged(t);
    });

    // File: a picture of the map.
    Menu = new QMenuBar(this);
    layout->setMenuBar(Menu);
    mnuFile = Menu->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuMapFile"));
    mnuExportPicture = mnuFile->addAction(QStringLiteral("Export Map &Picture..."), this,
                                          [this] { guarded([this] { mnuExportPictureClick(); }); });
    mnuExportPicture->setObjectName(QStringLiteral("mnuExportMapPicture"));
    // View: the zoom, around the pointer.
    mnuView = Menu->addMenu(QStringLiteral("&View"));
    mnuView->setObjectName(QStringLiteral("mnuMapView"));
    mnuZoomIn = mnuView->addAction(QStringLiteral("Zoom &In"), this, [this] { guarded([this] { ZoomBy(1); }); });
    mnuZoomIn->setObjectName(QStringLiteral("mnuZoomIn"));
    mnuZoomIn->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    mnuZoomOut = mnuView->addAction(QStringLiteral("Zoom &Out"), this, [this] { guarded([this] { ZoomBy(-1); }); });
    mnuZoomOut->setObjectName(QStringLiteral("mnuZoomOut"));
    mnuZoomOut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    mnuZoomNormal = mnuView->addAction(QStringLiteral("&Actual Size"), this,
                                       [this] { guarded([this] { SetZoom(100, pointerInView()); }); });
    mnuZoomNormal->setObjectName(QStringLiteral("mnuZoomNormal"));
    mnuZoomNormal->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    mnuZoomFit =
        mnuView->addAction(QStringLiteral("Zoom to &Fit"), this, [this] { guarded([this] { ZoomToFitView(); }); });
    mnuZoomFit->setObjectName(QStringLiteral("mnuZoomFit"));
    mnuView->addSeparator();
    mnuView->addAction(mnuHexNumbers);
    // The overlays and the clock's steps.
    mnuView->addSeparator();
    const auto overlay = [this](const char* name, const char* text) {
        QAction* a = mnuView->addAction(QString::fromLatin1(text));
        a->setObjectName(QLatin1String(name));
        a->setCheckable(true);
        connect(a, &QAction::toggled, this, [this] { guarded([this] { overlaysChanged(); }); });
        return a;
    };
    mnuArrivals = overlay("mnuArrivals", "&Arrivals");
    mnuOrders = overlay("mnuOrders", "&Orders");
    mnuReleases = overlay("mnuReleases", "&Releases");
    mnuView->addSeparator();
    mnuPreviousEvent = mnuView->addAction(QStringLiteral("&Previous Event"), this, [this] { Clock->StepEvent(-1); });
    mnuPreviousEvent->setObjectName(QStringLiteral("mnuPreviousEvent"));
    mnuPreviousEvent->setShortcut(QKeySequence(Qt::Key_BracketLeft));
    mnuNextEvent = mnuView->addAction(QStringLiteral("N&ext Event"), this, [this] { Clock->StepEvent(1); });
    mnuNextEvent->setObjectName(QStringLiteral("mnuNextEvent"));
    mnuNextEvent->setShortcut(QKeySequence(Qt::Key_BracketRight));
    mnuClockStart =
        mnuView->addAction(QStringLiteral("Clock to &Start"), this, [this] { Clock->SetTime(ClockTime::AtStart()); });
    mnuClockStart->setObjectName(QStringLiteral("mnuClockStart"));

    // The selection moves a hex at a time: Alt and an arrow, or the numpad's
    // six hex directions (7 9 up-left and up-right, 1 3 down-left and
    // down-right, 8 2 up and down).
    const std::pair<QKeyCombination, HexDir> nudges[] = {
        {Qt::ALT | Qt::Key_Up, HexDir::Up},
        {Qt::ALT | Qt::Key_Down, HexDir::Down},
        {Qt::ALT | Qt::Key_Left, HexDir::UpLeft},
        {Qt::ALT | Qt::Key_Right, HexDir::DownRight},
        {Qt::KeypadModifier | Qt::Key_8, HexDir::Up},
        {Qt::KeypadModifier | Qt::Key_2, HexDir::Down},
        {Qt::KeypadModifier | Qt::Key_7, HexDir::UpLeft},
        {Qt::KeypadModifier | Qt::Key_9, HexDir::UpRight},
        {Qt::KeypadModifier | Qt::Key_1, HexDir::DownLeft},
        {Qt::KeypadModifier | Qt::Key_3, HexDir::DownRight},
    };
    for (const auto& [key, dir] : nudges) {
        auto* sc = new QShortcut(QKeySequence(key), this);
        connect(sc, &QShortcut::activated, this, [this, dir = dir] { guarded([&] { NudgeSelection(dir); }); });
    }
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_Menu), this);
    connect(menuKey, &QShortcut::activated, this, [this] {
        const QPoint view = pointerInView();
        const PixelPos p = ViewToPicture(
            {view.x() + Scroll1->horizontalScrollBar()->value(), view.y() + Scroll1->verticalScrollBar()->value()},
            Zoom);
        ContextMenu(QPoint(p.X, p.Y))->popup(Scroll1->viewport()->mapToGlobal(view));
    });
}

TfrmMap::~TfrmMap() = default;

template <class F> void TfrmMap::guarded(F&& handler) {
    try {
        handler();
    } catch (const ScnError& e) {
        showError(QString::fromUtf8(DisplayMessage(e.message())));
    } catch (const std::exception& e) {
        showError(QString::fromUtf8(DisplayMessage(e.what())));
    } catch (...) {
        showError(QStringLiteral("Unknown error"));
    }
}

void TfrmMap::showError(const QString& message) {
    if (Host)
        Host->ShowMapError(this, message);
    else
        qWarning("%s", qPrintable(message));
}

std::string TfrmMap::gameDir() const { return Host ? Host->MapScenario().GameDir : std::string(); }

// ---------------------------------------------------------------------------
// Showing, closing, loading

void TfrmMap::Show() {
    bool load = !isVisible();
    if (load) {
        // Where it has not the room at its size, the first place makes it
        // smaller rather than cover the main window.
        if (!Placed && Host) PutBeside(*this, Host->MainFrame(), kSmallestFirstSize);
        Placed = true;
        KeepOnScreen(*this);
    }
    // A Read from another game folder shows that folder's map and icons.
    if ((MapBitmap || IconList) && loadedDir_ != gameDir()) {
        MapBitmap.reset();
        IconList.reset();
        load = true;
    }
    show();
    raise();
    if (load) FormShow();
}

void TfrmMap::FormShow() {
    Dragging = false;
    UnitPicked = false;
    if (!MapBitmap) LoadMap();
    // The map is on the screen before the icons are cut.
    QApplication::processEvents();
    if (!IconList) LoadIcons();
}

void TfrmMap::closeEvent(QCloseEvent* e) {
    FormClose();
    QWidget::closeEvent(e);
}

void TfrmMap::FormClose() {
    // The picture on the screen and the stack images stay; the next showing
    // loads the map header and the icons again.
    MapBitmap.reset();
    IconList.reset();
}

void TfrmMap::LoadMap() {
    const std::string dir = gameDir();
    loadedDir_ = dir;
    const std::string picturePath = MapPicturePath(dir);
    const QFileInfo info(QFile::decodeName(QByteArray::fromStdString(picturePath)));
    const PictureStamp stamp{picturePath, info.exists() ? info.size() : -1, info.lastModified()};
    std::shared_ptr<const MapPicture> picture;
    if (stamp.size >= 0 && stamp == shownPicture_ && !Image1->picture().isNull()) {
        picture = Image1->pictureRef();  // the same file as shown: no need to load it again
    } else {
        try {
            picture = MapPicture::Load(picturePath);
        } catch (...) {
            // No picture rather than another game's.
            Image1->setPicture(nullptr);
            shownPicture_ = PictureStamp();
            throw;
        }
        Image1->setPicture(picture);  // the same picture as MapBitmap
        shownPicture_ = stamp;
    }
    CurCol = 0;
    CurRow = 0;
    try {
        const MapGrid grid = ReadMapHeader(MapFilePath(dir));
        NumCols = grid.NumCols;
        NumRows = grid.NumRows;
    } catch (...) {
        // Without a readable header the map has no grid.
        NumCols = 0;
        NumRows = 0;
        throw;
    }
    // Present only when complete, so that the next showing tries a failed load again.
    MapBitmap = std::move(picture);
}

void TfrmMap::LoadIcons() {
    loadedDir_ = gameDir();
    IconList = std::make_unique<std::vector<QImage>>(LoadIconList(loadedDir_));
    // Stacks drawn while there were no icons get them now, in drawing order.
    for (const auto& stack : stacks_) {
        for (const auto& [bg, fg] : stack->PendingIcons) paintIcons(stack.get(), bg, fg);
        stack->PendingIcons.clear();
    }
}

// ---------------------------------------------------------------------------
// Stacks

TStackImage* TfrmMap::StackAt(int col, int row) const {
    if (col < 0 || col > 255 || row < 0 || row > 255) return nullptr;
    return stackByKey_[static_cast<std::size_t>(HexKey(col, row))];
}

template <class F> void TfrmMap::forStacksNear(const QRect& area, F&& f) const {
    // A stack image covers x = 26c + 10 to 26c + 41 and at most y = 30r + 14
    // to 30r + 60.
    const int c0 = std::max(0, (area.left() - 41) / 26 - 1), c1 = std::min(255, (area.right() - 10) / 26 + 1);
    const int r0 = std::max(0, (area.top() - 60) / 30 - 1), r1 = std::min(255, (area.bottom() - 14) / 30 + 1);
    for (int c = c0; c <= c1; ++c)
        for (int r = r0; r <= r1; ++r)
            if (TStackImage* s = stackByKey_[static_cast<std::size_t>(HexKey(c, r))]; s && s->Visible)
                if (s->geometry().intersects(area)) f(s);
}

TStackImage* TfrmMap::StackUnder(QPoint at) const {
    TStackImage* top = nullptr;
    forStacksNear(QRect(at, QSize(1, 1)), [&](TStackImage* s) {
        if (!top || s->Seq > top->Seq) top = s;
    });
    return top;
}

void TfrmMap::paintStacks(QPainter& p, const QRect& area) const {
    std::vector<TStackImage*> shown;
    forStacksNear(area, [&](TStackImage* s) { shown.push_back(s); });
    std::sort(shown.begin(), shown.end(), [](const TStackImage* a, const TStackImage* b) { return a->Seq < b->Seq; });
    for (const TStackImage* s : shown) p.drawImage(s->Left, s->Top, s->Canvas);
}

void TfrmMap::SetStackVisible(TStackImage* stack, bool visible) {
    if (stack->Visible == visible) return;
    stack->Visible = visible;
    Image1->updatePicture(stack->geometry());
}

void TfrmMap::ClearUnits() {
    // A Read or Refresh Map draws every placement again: one box for all the
    // over-full hexes it meets.
    overfullShown_ = false;
    if (stacks_.empty()) return;
    stacks_.clear();
    std::fill(stackByKey_.begin(), stackByKey_.end(), nullptr);
    Image1->update();
    MapBitmap.reset();
    LoadMap();
}

TStackImage* TfrmMap::newStack(int col, int row) {
    stacks_.push_back(std::make_unique<TStackImage>(col, row, nextSeq_++));
    TStackImage* stack = stacks_.back().get();
    stackByKey_[static_cast<std::size_t>(HexKey(col, row))] = stack;
    return stack;
}

void TfrmMap::paintIcons(TStackImage* stack, int background, int foreground) {
    const auto& icons = *IconList;
    QPainter p(&stack->Canvas);
    for (const int entry : {background, foreground})
        if (entry >= 0 && entry < static_cast<int>(icons.size()))
            p.drawImage(0, 0, icons[static_cast<std::size_t>(entry)]);
    p.end();
    Image1->updatePicture(stack->geometry());
}

void TfrmMap::DrawUnit(const TSetupRec* rec, int col, int row) {
    if (!rec || !rec->Unit) return;
    if (col < 0 || col > 255 || row < 0 || row > 255) return;  // no hex of a placement
    const TOobRec& entry = *rec->Unit;
    const int number = UnitIconNumber(*rec, entry);
    const std::string code = IconCode(entry.Kind, number);

    TStackImage* stack = StackAt(col, row);
    int background = 0, foreground = 0;
    if (stack) {
        const std::string hint = stack->Hint.toStdString();
        const StackCount count = CountStack(hint);
        if (StackFull(count)) {
            if (!quiet_ && !overfullShown_) {
                showError(QStringLiteral("Too many units in hex"));
                overfullShown_ = true;
            }
            SetStackVisible(stack, true);
            return;
        }
        stack->Hint += QLatin1Char(',') + QString::fromLatin1(code);
        background = StackBackground(count, entry.Kind, entry.Side);
        foreground = StackForeground(stack->Hint.toStdString());
    } else {
        stack = newStack(col, row);
        stack->Hint = QString::fromLatin1(code);
        background = NewStackBackground(entry.Side);
        foreground = NewStackForeground(entry.Kind, number);
    }
    if (IconList)
        paintIcons(stack, background, foreground);
    else
        stack->PendingIcons.emplace_back(background, foreground);
    SetStackVisible(stack, true);
    UnitPicked = false;
}

std::vector<const TSetupRec*> TfrmMap::RedrawHex(int col, int row, bool report) {
    std::vector<const TSetupRec*> refused;
    if (!Host || col < 0 || col > 255 || row < 0 || row > 255) return refused;
    if (TStackImage* old = StackAt(col, row)) {
        Image1->updatePicture(old->geometry());
        stackByKey_[static_cast<std::size_t>(HexKey(col, row))] = nullptr;
        std::erase_if(stacks_, [old](const auto& s) { return s.get() == old; });
    }
    // One box at most: the first refusal of a hex that reports.
    const QScopedValueRollback<bool> quiet(quiet_, !report);
    for (const TSetupRec* rec : Host->MapScenario().SetupList()) {
        if (rec->Col != col || rec->Row != row) continue;
        const TStackImage* before = StackAt(col, row);
        const qsizetype drawn = before ? before->Hint.size() : -1;
        DrawUnit(rec, col, row);
        const TStackImage* after = StackAt(col, row);
        if (after && after->Hint.size() == drawn) {
            refused.push_back(rec);
            quiet_ = true;
        }
    }
    return refused;
}

// ---------------------------------------------------------------------------
// Zoom

QPoint TfrmMap::pointerInView() const {
    QWidget* view = Scroll1->viewport();
    const QPoint at = view->mapFromGlobal(QCursor::pos());
    return view->rect().contains(at) ? at : view->rect().center();
}

void TfrmMap::ZoomBy(int steps) { SetZoom(ZoomStepped(Zoom, steps), pointerInView()); }

void TfrmMap::SetZoom(int percent, QPoint pointer) {
    percent = std::clamp(percent, kZoomMin, kZoomMax);
    if (percent == Zoom) return;
    QScrollBar* h = Scroll1->horizontalScrollBar();
    QScrollBar* v = Scroll1->verticalScrollBar();
    const PixelPos scroll = ScrollAfterZoom({h->value(), v->value()}, {pointer.x(), pointer.y()}, Zoom, percent);
    Zoom = percent;
    // The control takes its new size, and the scroll bars their new ranges, at once.
    Image1->setZoom(percent);
    h->setValue(scroll.X);
    v->setValue(scroll.Y);
    StatusZoom->setText(QStringLiteral(" %1 % ").arg(percent));
}

// ---------------------------------------------------------------------------
// Mouse

bool TfrmMap::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == Image1 && (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop)) {
        auto* de = static_cast<QDropEvent*>(event);
        const PixelPos dropped =
            ViewToPicture(PixelPos{de->position().toPoint().x(), de->position().toPoint().y()}, Zoom);
        const QPoint at(dropped.X, dropped.Y);
        // Our entries only, and only where there is a hex to place them on.
        if (!de->mimeData() || !de->mimeData()->hasFormat(QLatin1String(kOobEntryMimeType)) ||
            !HexAt(at.x(), at.y(), NumCols, NumRows)) {
            de->ignore();
            return true;
        }
        // A copy: the column keeps its line.
        de->setDropAction(Qt::CopyAction);
        de->accept();
        guarded([&] {
            if (type == QEvent::Drop)
                dropEntry(de->mimeData(), at);
            else
                Image1MouseMove(Qt::NoButton, at.x(), at.y());
        });
        return true;
    }
    const bool mouse = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
                       type == QEvent::MouseButtonDblClick || type == QEvent::MouseMove;
    if (watched == Scroll1->viewport() && type == QEvent::Wheel) {
        auto* we = static_cast<QWheelEvent*>(event);
        if (!(we->modifiers() & Qt::ControlModifier)) return false;
        // One step a notch (120); finer wheels add up to notches.
        wheelAngle_ += we->angleDelta().y();
        const int steps = wheelAngle_ / 120;
        wheelAngle_ -= steps * 120;
        const QPoint pointer = we->position().toPoint();
        if (steps) guarded([&] { SetZoom(ZoomStepped(Zoom, steps), pointer); });
        return true;
    }
    if (watched != Image1 || !mouse) return QWidget::eventFilter(watched, event);
    auto* me = static_cast<QMouseEvent*>(event);
    viewPointer_ = me->position().toPoint();
    const PixelPos picturePoint = ViewToPicture(PixelPos{viewPointer_.x(), viewPointer_.y()}, Zoom);
    const QPoint at(picturePoint.X, picturePoint.Y);
    // Selecting many: Shift+left-drag draws a band, Ctrl+click takes a
    // stack in or out, Shift+right-click opens the menu. The design's
    // clicks and drags go on below.
    const Qt::KeyboardModifiers mods = me->modifiers();
    if (type == QEvent::MouseButtonPress && me->button() == Qt::LeftButton && (mods & Qt::ShiftModifier)) {
        bandStart_ = at;
        if (!band_) band_ = new QRubberBand(QRubberBand::Rectangle, Image1);
        band_->setGeometry(QRect(viewPointer_, QSize()));
        band_->show();
        return true;
    }
    if (bandStart_) {
        const PixelPos s0 = PictureToView({bandStart_->x(), bandStart_->y()}, Zoom);
        band_->setGeometry(QRect(QPoint(s0.X, s0.Y), viewPointer_).normalized());
        if (type == QEvent::MouseButtonRelease && me->button() == Qt::LeftButton) {
            const QRect picked = QRect(*bandStart_, at).normalized();
            bandStart_.reset();
            band_->hide();
            guarded([&] { SelectBand(picked, mods & Qt::ControlModifier); });
        }
        return true;
    }
    if (type == QEvent::MouseButtonPress && me->button() == Qt::LeftButton && (mods & Qt::ControlModifier)) {
        if (const auto hex = HexAt(at.x(), at.y(), NumCols, NumRows)) guarded([&] { ToggleStack(hex->Col, hex->Row); });
        return true;
    }
    if (type == QEvent::MouseButtonPress && me->button() == Qt::RightButton && (mods & Qt::ShiftModifier)) {
        ContextMenu(at)->popup(me->globalPosition().toPoint());
        return true;
    }
    guarded([&] {
        // The overlays take the left button on their items and tell what
        // lies under the pointer.
        if (overlayMouse(type, *me, at)) return;
        // While a button pressed on the picture is held, the picture keeps
        // the pointer, also over stacks (dragging goes on over them).
        TStackImage* stack = pressedOnPicture_ && me->buttons() != Qt::NoButton ? nullptr : StackUnder(at);
        if (type == QEvent::MouseButtonRelease) {
            if (pressedOnPicture_ && me->buttons() == Qt::NoButton) {
                pressedOnPicture_ = false;
                const bool click = clickStart_ && me->button() == Qt::LeftButton;
                clickStart_.reset();
                Image1MouseUp();
                // After a pick, a click on a hex without a stack drops the
                // unit there, as a drop on a stack does.
                if (click && UnitPicked && Host)
                    if (const auto hex = HexAt(at.x(), at.y(), NumCols, NumRows)) {
                        CurCol = hex->Col;
                        CurRow = hex->Row;
                        Image1DblClick();
                    }
            }
        } else if (stack) {
            // A stack takes the pointer over it: nothing reaches the picture below.
            if (type == QEvent::MouseMove)
                UnitMouseMove(stack);
            else if (type == QEvent::MouseButtonPress)
                UnitMouseDown(stack, me->button(), at - QPoint(stack->Left, stack->Top));
        } else if (type == QEvent::MouseButtonPress) {
            pressedOnPicture_ = true;
            if (me->button() == Qt::LeftButton) clickStart_ = me->globalPosition();
            Image1MouseDown(me->button(), at.x(), at.y());
        } else if (type == QEvent::MouseMove) {
            // Moved: a drag, no click.
            if (clickStart_ &&
                (me->globalPosition() - *clickStart_).manhattanLength() >= QApplication::startDragDistance())
                clickStart_.reset();
            Image1MouseMove(me->buttons(), at.x(), at.y());
        } else if (me->button() == Qt::LeftButton) {
            pressedOnPicture_ = true;  // the second press of a double click
            // The hex under the pointer now: the view may have scrolled under
            // a pointer that has not moved since (Search for Hex, a selection).
            if (const auto hex = HexAt(at.x(), at.y(), NumCols, NumRows)) {
                CurCol = hex->Col;
                CurRow = hex->Row;
            }
            Image1DblClick();
        }
    });
    return true;
}

void TfrmMap::Image1MouseDown(Qt::MouseButton /*button*/, int /*x*/, int /*y*/) {
    // The viewport's coordinates: the picture moves under the pointer while dragging.
    DragX = viewPointer_.x() - Scroll1->horizontalScrollBar()->value();
    DragY = viewPointer_.y() - Scroll1->verticalScrollBar()->value();
    Dragging = true;
    Image1->setCursor(Qt::ClosedHandCursor);
}

void TfrmMap::Image1MouseUp() {
    Dragging = false;
    Image1->setCursor(Qt::ArrowCursor);
}

void TfrmMap::Image1MouseMove(Qt::MouseButtons buttons, int x, int y) {
    if (Dragging && !(buttons & Qt::LeftButton)) {
        Dragging = false;
        Image1->setCursor(Qt::ArrowCursor);
    }
    if (Dragging) {
        QScrollBar* h = Scroll1->horizontalScrollBar();
        QScrollBar* v = Scroll1->verticalScrollBar();
        const int vx = viewPointer_.x() - h->value(), vy = viewPointer_.y() - v->value();
        h->setValue(h->value() + DragX - vx);
        v->setValue(v->value() + DragY - vy);
        DragX = vx;
        DragY = vy;
        return;
    }
    if (const auto hex = HexAt(x, y, NumCols, NumRows)) {
        CurCol = hex->Col;
        CurRow = hex->Row;
        showHexStatus();
    } else {
        Status->ShowText(QStringLiteral("  No map grid  Current Unit: ") + curUnitName_);
        statusNamesScenario_ = true;
    }
}

void TfrmMap::showHexStatus() {
    statusNamesScenario_ = true;
    if (NumCols > 0 && NumRows > 0)
        Status->ShowText(QString::asprintf("  Hex %2d,%2d  Current Unit: ", CurCol, CurRow) + curUnitName_);
    else
        Status->ShowText(QStringLiteral("  No map grid  Current Unit: ") + curUnitName_);
}

void TfrmMap::ShowCurrentUnit() {
    const TSetupRec* cur = Host ? Host->CurrentPlacement() : nullptr;
    curUnitName_ = cur ? Host->SetupLineLabel(cur, 50) : QString();
    // A line about the scenario shown is shown again; the first line stays.
    if (statusNamesScenario_) showHexStatus();
}

void TfrmMap::Image1DblClick() {
    if (!Host) return;
    const TSetupRec* cur = Host->CurrentPlacement();
    // Without a grid there is no hex to move to.
    if (!cur || NumCols <= 0 || NumRows <= 0) return;
    overfullShown_ = false;  // a move of its own: its own box
    const int leftCol = cur->Col, leftRow = cur->Row;
    const bool picked = UnitPicked;
    // The current placement among others selected: the whole formation moves.
    const std::vector<const TSetupRec*> chosen = Host->SelectedPlacements();
    if (chosen.size() > 1 && std::find(chosen.begin(), chosen.end(), cur) != chosen.end()) {
        Host->MoveSelection({leftCol, leftRow}, {CurCol, CurRow});
        UnitPicked = false;
        return;
    }
    Host->MoveCurSetup(CurCol, CurRow);
    const std::vector<const TSetupRec*> refused = redrawMove({leftCol, leftRow}, {CurCol, CurRow});
    // A unit that a full hex refused stays picked, to be dropped elsewhere.
    UnitPicked = picked && std::find(refused.begin(), refused.end(), cur) != refused.end();
}

std::vector<const TSetupRec*> TfrmMap::redrawMove(HexPos left, HexPos entered) {
    // Both hexes as Read would draw them now: the one left loses the icon.
    if (left != entered) RedrawHex(left.Col, left.Row, false);
    return RedrawHex(entered.Col, entered.Row, true);
}

bool TfrmMap::dropEntry(const QMimeData* data, QPoint at) {
    if (!Host) return false;
    bool ok = false;
    const int index = QString::fromLatin1(data->data(QLatin1String(kOobEntryMimeType))).toInt(&ok);
    // Without a grid there is no hex to place on.
    const auto hex = HexAt(at.x(), at.y(), NumCols, NumRows);
    if (!ok || !hex) return false;
    overfullShown_ = false;  // a move of its own: its own box
    const std::optional<HexPos> left = Host->PlaceEntry(index, hex->Col, hex->Row);
    if (!left) return false;
    CurCol = hex->Col;
    CurRow = hex->Row;
    redrawMove(*left, *hex);
    return true;
}

void TfrmMap::UnitMouseMove(TStackImage* stack) {
    if (Dragging || !Host) return;
    const int col = stack->col(), row = stack->row();
    QString text = QString::asprintf("  Hex %2d,%2d ", col, row);
    bool any = false;
    for (const TSetupRec* rec : Host->MapScenario().SetupList()) {
        if (rec->Col != col || rec->Row != row) continue;
        any = true;
        text += QStringLiteral(" | ") + QString::fromLatin1(FacingText(rec->Facing)) + QLatin1Char(' ') +
                QLatin1Char(FormationLetter(rec->Flags)) + QLatin1Char(' ') + Host->SetupLineLabel(rec, 20);
    }
    Status->ShowText(text);
    statusNamesScenario_ = true;
    // Nothing stands there any more: the stack is left from a move.
    if (!any) SetStackVisible(stack, false);
}

void TfrmMap::UnitMouseDown(TStackImage* stack, Qt::MouseButton button, QPoint at) {
    Dragging = false;
    if (!Host) return;
    const int col = stack->col(), row = stack->row();
    const Scenario& scn = Host->MapScenario();

    if (button == Qt::LeftButton) {
        if (!UnitPicked) return;
        CurCol = col;
        CurRow = row;
        SetStackVisible(stack, false);
        QApplication::processEvents();
        Image1DblClick();
        return;
    }

    std::vector<const TSetupRec*> here;
    for (const TSetupRec* rec : scn.SetupList())
        if (rec->Col == col && rec->Row == row) here.push_back(rec);
    const TSetupRec* chosen = nullptr;
    if (here.size() >= 2 && dlgChooseUnit) {
        TdlgChooseUnit& dlg = *dlgChooseUnit;
        dlg.lbUnits->clear();
        for (const TSetupRec* rec : here) dlg.lbUnits->addItem(Host->SetupLineLabel(rec, 50));
        dlg.setWindowTitle(QStringLiteral("Choose one unit"));
        // At the pointer, kept on the screen.
        const PixelPos pressed = PictureToView(PixelPos{stack->Left + at.x(), stack->Top + at.y()}, Zoom);
        dlg.PlaceAt(Image1->mapToGlobal(QPoint(pressed.X, pressed.Y)));
        if (dlg.ShowModal() != QDialog::Accepted) return;
        const int line = dlg.lbUnits->currentRow();
        if (line < 0 || line >= static_cast<int>(here.size()) || !dlg.lbUnits->item(line)->isSelected()) return;
        chosen = here[static_cast<std::size_t>(line)];
    } else {
        SetStackVisible(stack, false);
        // An empty hex has nothing to pick: the selection stays as it is.
        if (here.empty()) return;
        chosen = here.front();
    }
    // The list may have changed while the dialog was open.
    const int index = IndexIn(scn.SetupList(), chosen);
    if (index < 0) return;
    UnitPicked = true;
    Host->SelectPlacement(index, this);
}

// ---------------------------------------------------------------------------
// Marks: hex numbers and outlines

void TfrmMap::updateHex(HexPos hex) { Image1->updatePicture(TMapMarks::HexArea(hex)); }

void TfrmMap::ShowCheckFindings(const std::vector<HexPos>& hexes) {
    for (const HexPos& h : Marks.Marked()) updateHex(h);
    Marks.SetMarked(hexes);
    for (const HexPos& h : Marks.Marked()) updateHex(h);
}

void TfrmMap::ScenarioChanged() {
    if (!Host) return;
    // The plan is laid out again; the clock's span and events once the event
    // that changed the scenario is done. Called by the map's side of the
    // main window (MapLink) on every change the document tells.
    overlays_.Invalidate();
    if (!overlays_.Idle()) Image1->update();
    if (!clockPending_) {
        clockPending_ = true;
        QTimer::singleShot(0, this, [this] { guarded([this] { refreshClock(); }); });
    }
    if (!Marks.Marked().empty() && !recheckPending_) {
        recheckPending_ = true;
        QTimer::singleShot(0, this, [this] { guarded([this] { recheckMarks(); }); });
    }
    // The outlined placement moved, or is no longer the selected one.
    if (followed_) {
        const TSetupRec* cur = Host->CurrentPlacement();
        const std::optional<HexPos> now =
            cur == followed_ ? std::optional<HexPos>(HexPos{cur->Col, cur->Row}) : std::nullopt;
        if (now != Marks.Selected) {
            if (Marks.Selected) updateHex(*Marks.Selected);
            if (now) updateHex(*now);
            Marks.Selected = now;
        }
        if (!now) followed_ = nullptr;
    }
    showChosen();
}

void TfrmMap::showChosen() {
    std::vector<HexPos> hexes;
    const std::vector<const TSetupRec*> chosen = Host ? Host->SelectedPlacements() : std::vector<const TSetupRec*>{};
    if (chosen.size() > 1) {
        std::vector<char> seen(256 * 256, 0);
        for (const TSetupRec* rec : chosen)
            if (!std::exchange(seen[static_cast<std::size_t>(HexKey(rec->Col, rec->Row))], 1))
                hexes.push_back({rec->Col, rec->Row});
    }
    if (hexes == Marks.Chosen) return;
    // Many hexes: one repaint of the view rather than one for each.
    if (hexes.size() + Marks.Chosen.size() > 64) {
        Image1->update();
    } else {
        for (const HexPos& h : Marks.Chosen) updateHex(h);
        for (const HexPos& h : hexes) updateHex(h);
    }
    Marks.Chosen = std::move(hexes);
    if (chosen.size() > 1) Status->ShowText(QStringLiteral("  %1 placements selected").arg(chosen.size()));
}

std::vector<const TSetupRec*> TfrmMap::placementsAt(int col, int row) const {
    std::vector<const TSetupRec*> here;
    if (!Host) return here;
    for (const TSetupRec* rec : Host->MapScenario().SetupList())
        if (rec->Col == col && rec->Row == row) here.push_back(rec);
    return here;
}

void TfrmMap::SelectBand(const QRect& band, bool add) {
    if (!Host) return;
    std::vector<const TSetupRec*> recs = PlacementsInBand(Host->MapScenario().SetupList(), band.left(), band.top(),
                                                          band.right(), band.bottom(), NumCols, NumRows);
    const TSetupRec* current = recs.empty() ? nullptr : recs.front();
    if (add) {
        std::vector<const TSetupRec*> before = Host->SelectedPlacements();
        before.insert(before.end(), recs.begin(), recs.end());
        recs = std::move(before);
    }
    Host->SelectPlacements(recs, current);
}

void TfrmMap::ToggleStack(int col, int row) {
    if (!Host) return;
    const std::vector<const TSetupRec*> here = placementsAt(col, row);
    if (here.empty()) return;
    std::vector<const TSetupRec*> chosen = Host->SelectedPlacements();
    const bool all = std::all_of(here.begin(), here.end(), [&](const TSetupRec* r) {
        return std::find(chosen.begin(), chosen.end(), r) != chosen.end();
    });
    if (all) {
        std::erase_if(chosen, [&](const TSetupRec* r) { return std::find(here.begin(), here.end(), r) != here.end(); });
        Host->SelectPlacements(chosen, nullptr);
    } else {
        chosen.insert(chosen.end(), here.begin(), here.end());
        Host->SelectPlacements(chosen, here.front());
    }
}

void TfrmMap::NudgeSelection(HexDir dir) {
    if (!Host) return;
    const std::vector<const TSetupRec*> chosen = Host->SelectedPlacements();
    if (chosen.empty()) return;
    const HexPos from{chosen.back()->Col, chosen.back()->Row};
    Host->MoveSelection(from, Neighbour(from, dir));
}

void TfrmMap::ZoomToFitView() {
    const MapPicture& pic = Image1->picture();
    const QSize view = Scroll1->viewport()->size();
    SetZoom(ZoomToFit(pic.width(), pic.height(), view.width(), view.height()), QPoint(0, 0));
}

QMenu* TfrmMap::ContextMenu(QPoint at) {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("mnuMapContext"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const std::optional<HexPos> hex = HexAt(at.x(), at.y(), NumCols, NumRows);
    const std::vector<const TSetupRec*> here = hex ? placementsAt(hex->Col, hex->Row) : std::vector<const TSetupRec*>{};
    auto add = [&](const QString& caption, const char* name, bool enabled, std::function<void()> f) {
        QAction* a = menu->addAction(caption, this, [this, f] { guarded(f); });
        a->setObjectName(QLatin1String(name));
        a->setEnabled(enabled && Host);
    };
    add(QStringLiteral("&Pick"), "mnuPick", !here.empty(), [this, hex] {
        if (TStackImage* stack = StackAt(hex->Col, hex->Row)) UnitMouseDown(stack, Qt::RightButton, QPoint(16, 16));
    });
    add(QStringLiteral("&Move Selection Here"), "mnuMoveHere", hex && Host && !Host->SelectedPlacements().empty(),
        [this, hex] {
            const std::vector<const TSetupRec*> chosen = Host->SelectedPlacements();
            if (!chosen.empty()) Host->MoveSelection({chosen.back()->Col, chosen.back()->Row}, *hex);
        });
    add(QStringLiteral("P&aste Here"), "mnuPasteHere", hex.has_value(), [this, hex] { Host->PasteAt(*hex); });
    add(QStringLiteral("Select &Stack"), "mnuSelectStack", !here.empty(),
        [this, here] { Host->SelectPlacements(here, here.front()); });
    add(QStringLiteral("Place &Organisation Here"), "mnuPlaceOrgHere", hex.has_value(),
        [this, hex] { Host->PlaceOrganisationAt(*hex); });
    menu->addSeparator();
    add(QStringLiteral("Zoom to &Fit"), "mnuZoomFitHere", true, [this] { ZoomToFitView(); });
    add(QStringLiteral("Search for &Hex..."), "mnuSearchHexHere", true, [this] { Host->SearchForHex(); });
    return menu;
}

void TfrmMap::recheckMarks() {
    recheckPending_ = false;
    if (Marks.Marked().empty() || !Host) return;
    // A mark stays while the check still reports its hex; new over-full
    // hexes wait for the next check.
    const std::vector<HexPos> before = Marks.Marked();
    if (Marks.KeepOnly(HexesOf(CheckOverloadedHexes(Host->MapScenario().SetupList()))))
        for (const HexPos& h : before) updateHex(h);
}

void TfrmMap::ClearMarks() {
    for (const HexPos& h : Marks.Marked()) updateHex(h);
    Marks.SetMarked({});
    if (Marks.GoTo) updateHex(*std::exchange(Marks.GoTo, std::nullopt));
    // The placement outlined belonged to the scenario read before.
    FollowPlacement(nullptr);
}

void TfrmMap::FollowPlacement(const TSetupRec* rec) {
    if (Marks.Selected) updateHex(*Marks.Selected);
    followed_ = rec;
    Marks.Selected = rec ? std::optional<HexPos>(HexPos{rec->Col, rec->Row}) : std::nullopt;
    if (!rec) return;
    updateHex(*Marks.Selected);
    const PixelPos corner = StackCorner(rec->Col, rec->Row);
    if (!VisiblePicture().contains(QRect(corner.X, corner.Y, 32, 32))) CentreOn(rec->Col, rec->Row);
}

void TfrmMap::GoToHex(int col, int row) {
    if (Marks.GoTo) updateHex(*Marks.GoTo);
    Marks.GoTo = HexPos{col, row};
    updateHex(*Marks.GoTo);
    CentreOn(col, row);
}

void TfrmMap::ClearGoToHex() {
    if (!Marks.GoTo) return;
    updateHex(*Marks.GoTo);
    Marks.GoTo.reset();
}

void TfrmMap::CentreOn(int col, int row) {
    const PixelPos c = PictureToView(HexCentre(col, row), Zoom);
    const QSize view = Scroll1->viewport()->size();
    Scroll1->ensureVisible(c.X, c.Y, view.width() / 2, view.height() / 2);
}

QRect TfrmMap::VisiblePicture() const {
    const QRect view = QRect(QPoint(Scroll1->horizontalScrollBar()->value(), Scroll1->verticalScrollBar()->value()),
                             Scroll1->viewport()->size()) &
                       Image1->rect();
    const PixelRect picture = ViewRectToPicture({view.x(), view.y(), view.width(), view.height()}, Zoom);
    return {picture.X, picture.Y, picture.W, picture.H};
}

// ---------------------------------------------------------------------------
// The plan: overlays, clock, picture

const Scenario& TfrmMap::OverlayScenario() {
    static const Scenario none;
    return Host ? Host->MapScenario() : none;
}

void TfrmMap::SelectRecord(ScnListBox list, int index) {
    if (Host) Host->SelectRecord(list, index);
}

void TfrmMap::MoveGroupTo(int index, HexPos hex) {
    if (Host) Host->MoveGroupTo(index, hex.Col, hex.Row);
}

void TfrmMap::AimCommandAt(int index, HexPos hex) {
    if (Host) Host->AimCommandAt(index, hex.Col, hex.Row);
}

void TfrmMap::SetOverlays(OverlaySet on) {
    // The actions tell overlaysChanged, which takes their states.
    const QSignalBlocker a(mnuArrivals), o(mnuOrders), r(mnuReleases);
    mnuArrivals->setChecked(on.Arrivals);
    mnuOrders->setChecked(on.Orders);
    mnuReleases->setChecked(on.Releases);
    overlaysChanged();
}

void TfrmMap::overlaysChanged() {
    overlays_.SetShown({mnuArrivals->isChecked(), mnuOrders->isChecked(), mnuReleases->isChecked()});
    Image1->update();
}

ClockTime TfrmMap::ClockNow() const { return Clock->Time(); }

void TfrmMap::SetClock(ClockTime t) { Clock->SetTime(t); }

void TfrmMap::refreshClock() {
    clockPending_ = false;
    if (!Host) return;
    const Scenario& scn = Host->MapScenario();
    Clock->SetSpan(ScenarioSpan(scn), EventDates(scn));
}

bool TfrmMap::overlayMouse(QEvent::Type type, const QMouseEvent& me, QPoint at) {
    const double scale = Zoom / 100.0;
    if (type == QEvent::MouseButtonRelease && me.button() == Qt::LeftButton && overlays_.Pressed()) {
        const bool drop = overlays_.DropHex().has_value();
        dropHex_.reset();
        Image1->setCursor(Qt::ArrowCursor);
        Image1->update();
        overlays_.Release();
        if (drop) Status->ShowText(QString());
        return true;
    }
    if (type == QEvent::MouseMove && overlays_.Pressed()) {
        if (!(me.buttons() & Qt::LeftButton)) {
            overlays_.CancelPress();
            return false;
        }
        const QPoint moved = (me.globalPosition() - overlayPress_).toPoint();
        if (overlays_.Drag(moved, HexAt(at.x(), at.y(), NumCols, NumRows))) {
            if (dropHex_ != overlays_.DropHex()) {
                dropHex_ = overlays_.DropHex();
                Image1->update();
            }
            Image1->setCursor(Qt::DragMoveCursor);
            Status->ShowText(QStringLiteral("  ") + overlays_.DragText());
            return true;
        }
        // Moved from an item that does not move (a shaft, a stack): the map scrolls.
        if (moved.manhattanLength() >= QApplication::startDragDistance()) {
            overlays_.CancelPress();
            pressedOnPicture_ = true;
            Image1MouseDown(Qt::LeftButton, at.x(), at.y());
        }
        return true;
    }
    if (overlays_.Idle() || UnitPicked) return false;
    // The second press of a double click on an item is no move of a placement.
    if (type == QEvent::MouseButtonDblClick) return overlays_.HitAt(at, scale).Item != OverlayItem::None;
    if (type == QEvent::MouseButtonPress && me.button() == Qt::LeftButton && !pressedOnPicture_) {
        if (!overlays_.Press(at, scale)) return false;
        overlayPress_ = me.globalPosition();
        return true;
    }
    if (type == QEvent::MouseMove && me.buttons() == Qt::NoButton && !Dragging) {
        const QString text = overlays_.TextAt(at, scale);
        if (Image1->toolTip() != text) {
            Image1->setToolTip(text);
            if (text.isEmpty()) QToolTip::hideText();
        }
        if (text.isEmpty()) return false;
        if (const auto hex = HexAt(at.x(), at.y(), NumCols, NumRows)) {
            CurCol = hex->Col;
            CurRow = hex->Row;
        }
        Status->ShowText(QString::asprintf("  Hex %2d,%2d  ", CurCol, CurRow) +
                         QString(text).replace(QLatin1Char('\n'), QStringLiteral("  ")));
        return true;
    }
    return false;
}

void TfrmMap::mnuExportPictureClick() {
    if (!Host) return;
    const auto choice = Host->AskMapPicture(this);
    if (choice) ExportPicture(choice->Path, choice->WholeMap);
}

void TfrmMap::ExportPicture(const QString& path, bool wholeMap) {
    const QRect area =
        wholeMap ? Image1->rect()
                 : QRect(QPoint(Scroll1->horizontalScrollBar()->value(), Scroll1->verticalScrollBar()->value()),
                         Scroll1->viewport()->size()) &
                       Image1->rect();
    if (area.isEmpty()) throw ScnError("Cannot write " + QFile::encodeName(path).toStdString() + ": no map is shown");
    WritePicture(QFile::encodeName(path).toStdString(), area.size(), [&](QPainter& p) {
        p.translate(-area.topLeft());
        Image1->Render(p, area);
    });
}

void TfrmMap::SetHexNumbers(bool on) {
    mnuHexNumbers->setChecked(on);
    if (Marks.HexNumbers == on) return;
    Marks.HexNumbers = on;
    Image1->update();
}

}  // namespace varno
