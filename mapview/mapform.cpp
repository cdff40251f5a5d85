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
#include <unordered_set>
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

    scroll1_ = new QScrollArea(this);
    scroll1_->setObjectName(QStringLiteral("Scroll1"));
    scroll1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    scroll1_->horizontalScrollBar()->setSingleStep(20);
    scroll1_->verticalScrollBar()->setSingleStep(20);
    layout->addWidget(scroll1_, 1);

    image1_ = new TPictureBox;
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setMouseTracking(true);
    image1_->installEventFilter(this);
    image1_->setCursor(Qt::ArrowCursor);
    image1_->PaintOver = [this](QPainter& p, const QRect& area) {
        paintStacks(p, area);
        overlays_.SetPictureWidth(image1_->picture().width());
        overlays_.Paint(p, area, zoom_ / 100.0, iconList_.get());
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
        marks_.Paint(p, area, numCols_, numRows_, zoom_ / 100.0);
    };
    mnuHexNumbers_ = new QAction(QStringLiteral("Hex &Numbers"), this);
    mnuHexNumbers_->setObjectName(QStringLiteral("mnuHexNumbers"));
    mnuHexNumbers_->setCheckable(true);
    connect(mnuHexNumbers_, &QAction::toggled, this, [this](bool on) { SetHexNumbers(on); });
    addAction(mnuHexNumbers_);

    // Entries dragged from the order-of-battle column are placed where they drop.
    image1_->setAcceptDrops(true);
    scroll1_->setWidget(image1_);
    // Ctrl+wheel zooms wherever the pointer is over the view.
    scroll1_->viewport()->installEventFilter(this);

    status_ = new TStatusPanel(QStringLiteral("Status  Testing"), this);
    status_->setObjectName(QStringLiteral("Status"));
    status_->setFixedHeight(18);
    status_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    status_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont statusFont(QStringLiteral("Arial"));
    statusFont.setPixelSize(11);
    status_->setFont(statusFont);
    statusZoom_ = new QLabel(this);
    statusZoom_->setObjectName(QStringLiteral("StatusZoom"));
    statusZoom_->setFixedHeight(18);
    statusZoom_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusZoom_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    statusZoom_->setFont(statusFont);
    statusZoom_->setText(QStringLiteral(" 100 % "));
    auto* statusLine = new QHBoxLayout;
    statusLine->setSpacing(0);
    statusLine->addWidget(status_, 1);
    statusLine->addWidget(statusZoom_);
    layout->addLayout(statusLine);

    // The clock, along the top.
    clock_ = new TClockBar(this);
    layout->insertWidget(0, clock_);
    connect(clock_, &TClockBar::timeChanged, this, [this](ClockTime t) {
        overlays_.SetTime(t);
        image1_->update();
        emit clockChanged(t);
    });

    // File: a picture of the map.
    menu_ = new QMenuBar(this);
    layout->setMenuBar(menu_);
    mnuFile_ = menu_->addMenu(QStringLiteral("&File"));
    mnuFile_->setObjectName(QStringLiteral("mnuMapFile"));
    mnuExportPicture_ = mnuFile_->addAction(QStringLiteral("Export Map &Picture..."), this,
                                            [this] { guarded([this] { mnuExportPictureClick(); }); });
    mnuExportPicture_->setObjectName(QStringLiteral("mnuExportMapPicture"));
    // View: the zoom, around the pointer.
    mnuView_ = menu_->addMenu(QStringLiteral("&View"));
    mnuView_->setObjectName(QStringLiteral("mnuMapView"));
    mnuZoomIn_ = mnuView_->addAction(QStringLiteral("Zoom &In"), this, [this] { guarded([this] { ZoomBy(1); }); });
    mnuZoomIn_->setObjectName(QStringLiteral("mnuZoomIn"));
    mnuZoomIn_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    mnuZoomOut_ = mnuView_->addAction(QStringLiteral("Zoom &Out"), this, [this] { guarded([this] { ZoomBy(-1); }); });
    mnuZoomOut_->setObjectName(QStringLiteral("mnuZoomOut"));
    mnuZoomOut_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    mnuZoomNormal_ = mnuView_->addAction(QStringLiteral("&Actual Size"), this,
                                         [this] { guarded([this] { SetZoom(100, pointerInView()); }); });
    mnuZoomNormal_->setObjectName(QStringLiteral("mnuZoomNormal"));
    mnuZoomNormal_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    mnuZoomFit_ =
        mnuView_->addAction(QStringLiteral("Zoom to &Fit"), this, [this] { guarded([this] { ZoomToFitView(); }); });
    mnuZoomFit_->setObjectName(QStringLiteral("mnuZoomFit"));
    mnuView_->addSeparator();
    mnuView_->addAction(mnuHexNumbers_);
    // The overlays and the clock's steps.
    mnuView_->addSeparator();
    const auto overlay = [this](const char* name, const char* text) {
        QAction* a = mnuView_->addAction(QString::fromLatin1(text));
        a->setObjectName(QLatin1String(name));
        a->setCheckable(true);
        connect(a, &QAction::toggled, this, [this] { guarded([this] { overlaysChanged(); }); });
        return a;
    };
    mnuArrivals_ = overlay("mnuArrivals", "&Arrivals");
    mnuOrders_ = overlay("mnuOrders", "&Orders");
    mnuReleases_ = overlay("mnuReleases", "&Releases");
    mnuView_->addSeparator();
    mnuPreviousEvent_ = mnuView_->addAction(QStringLiteral("&Previous Event"), this, [this] { clock_->StepEvent(-1); });
    mnuPreviousEvent_->setObjectName(QStringLiteral("mnuPreviousEvent"));
    mnuPreviousEvent_->setShortcut(QKeySequence(Qt::Key_BracketLeft));
    mnuNextEvent_ = mnuView_->addAction(QStringLiteral("N&ext Event"), this, [this] { clock_->StepEvent(1); });
    mnuNextEvent_->setObjectName(QStringLiteral("mnuNextEvent"));
    mnuNextEvent_->setShortcut(QKeySequence(Qt::Key_BracketRight));
    mnuClockStart_ =
        mnuView_->addAction(QStringLiteral("Clock to &Start"), this, [this] { clock_->SetTime(ClockTime::AtStart()); });
    mnuClockStart_->setObjectName(QStringLiteral("mnuClockStart"));

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
    // The hex cursor, while the map's view has the focus (the clock's slider
    // keeps its arrows): the arrow keys move it, Space picks and drops.
    const std::pair<Qt::Key, QPoint> steps[] = {
        {Qt::Key_Left, {-1, 0}}, {Qt::Key_Right, {1, 0}}, {Qt::Key_Up, {0, -1}}, {Qt::Key_Down, {0, 1}}};
    for (const auto& [key, step] : steps) {
        auto* sc = new QShortcut(QKeySequence(key), scroll1_, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
        connect(sc, &QShortcut::activated, this, [this, step = step] { MoveCursor(step.x(), step.y()); });
    }
    auto* space =
        new QShortcut(QKeySequence(Qt::Key_Space), scroll1_, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(space, &QShortcut::activated, this, [this] { guarded([&] { CursorSpace(); }); });
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_Menu), this);
    connect(menuKey, &QShortcut::activated, this, [this] {
        const QPoint view = pointerInView();
        const PixelPos p = ViewToPicture(
            {view.x() + scroll1_->horizontalScrollBar()->value(), view.y() + scroll1_->verticalScrollBar()->value()},
            zoom_);
        ContextMenu(QPoint(p.X, p.Y))->popup(scroll1_->viewport()->mapToGlobal(view));
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
    if (host_)
        host_->ShowMapError(this, message);
    else
        qWarning("%s", qPrintable(message));
}

std::string TfrmMap::gameDir() const { return host_ ? host_->MapScenario().GameDir : std::string(); }

// ---------------------------------------------------------------------------
// Showing, closing, loading

void TfrmMap::Show() {
    bool load = !isVisible();
    if (load) {
        // Where it has not the room at its size, the first place makes it
        // smaller rather than cover the main window.
        if (!placed_ && host_) PutBeside(*this, host_->MainFrame(), kSmallestFirstSize);
        placed_ = true;
        KeepOnScreen(*this);
    }
    // A Read from another game folder shows that folder's map and icons.
    if ((mapBitmap_ || iconList_) && loadedDir_ != gameDir()) {
        mapBitmap_.reset();
        iconList_.reset();
        load = true;
    }
    show();
    raise();
    if (load) FormShow();
}

void TfrmMap::FormShow() {
    dragging_ = false;
    unitPicked_ = false;
    if (!mapBitmap_) LoadMap();
    // The map is on the screen before the icons are cut.
    QApplication::processEvents();
    if (!iconList_) LoadIcons();
}

void TfrmMap::closeEvent(QCloseEvent* e) {
    FormClose();
    QWidget::closeEvent(e);
}

void TfrmMap::FormClose() {
    // The picture on the screen and the stack images stay; the next showing
    // loads the map header and the icons again.
    mapBitmap_.reset();
    iconList_.reset();
}

void TfrmMap::LoadMap() {
    const std::string dir = gameDir();
    loadedDir_ = dir;
    const std::string picturePath = MapPicturePath(dir);
    const QFileInfo info(QFile::decodeName(QByteArray::fromStdString(picturePath)));
    const PictureStamp stamp{picturePath, info.exists() ? info.size() : -1, info.lastModified()};
    std::shared_ptr<const MapPicture> picture;
    if (stamp.size >= 0 && stamp == shownPicture_ && !image1_->picture().isNull()) {
        picture = image1_->pictureRef();  // the same file as shown: no need to load it again
    } else {
        try {
            picture = MapPicture::Load(picturePath);
        } catch (...) {
            // No picture rather than another game's.
            image1_->setPicture(nullptr);
            shownPicture_ = PictureStamp();
            throw;
        }
        image1_->setPicture(picture);  // the same picture as MapBitmap
        shownPicture_ = stamp;
    }
    curCol_ = 0;
    curRow_ = 0;
    try {
        const MapGrid grid = ReadMapHeader(MapFilePath(dir));
        numCols_ = grid.NumCols;
        numRows_ = grid.NumRows;
    } catch (...) {
        // Without a readable header the map has no grid.
        numCols_ = 0;
        numRows_ = 0;
        throw;
    }
    // Present only when complete, so that the next showing tries a failed load again.
    mapBitmap_ = std::move(picture);
}

void TfrmMap::LoadIcons() {
    loadedDir_ = gameDir();
    iconList_ = std::make_unique<std::vector<QImage>>(LoadIconList(loadedDir_));
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
    image1_->updatePicture(stack->geometry());
}

void TfrmMap::ClearUnits() {
    // A Read or Refresh Map draws every placement again: one box for all the
    // over-full hexes it meets.
    overfullShown_ = false;
    if (stacks_.empty()) return;
    stacks_.clear();
    std::fill(stackByKey_.begin(), stackByKey_.end(), nullptr);
    image1_->update();
    mapBitmap_.reset();
    LoadMap();
}

TStackImage* TfrmMap::newStack(int col, int row) {
    stacks_.push_back(std::make_unique<TStackImage>(col, row, nextSeq_++));
    TStackImage* stack = stacks_.back().get();
    stackByKey_[static_cast<std::size_t>(HexKey(col, row))] = stack;
    return stack;
}

void TfrmMap::paintIcons(TStackImage* stack, int background, int foreground, bool fresh) {
    const auto& icons = *iconList_;
    const auto icon = [&icons](int entry) {
        return entry >= 0 && entry < static_cast<int>(icons.size()) ? icons[static_cast<std::size_t>(entry)].cacheKey()
                                                                    : qint64{-1};
    };
    const std::pair<qint64, qint64> key{icon(background), icon(foreground)};
    if (fresh) {
        if (const auto it = freshCanvas_.find(key); it != freshCanvas_.end()) {
            stack->Canvas = it->second;  // shared until painted on
            image1_->updatePicture(stack->geometry());
            return;
        }
    }
    QPainter p(&stack->Canvas);
    for (const int entry : {background, foreground})
        if (entry >= 0 && entry < static_cast<int>(icons.size()))
            p.drawImage(0, 0, icons[static_cast<std::size_t>(entry)]);
    p.end();
    if (fresh) {
        if (freshCanvas_.size() >= 4096) freshCanvas_.clear();
        freshCanvas_.emplace(key, stack->Canvas);
    }
    image1_->updatePicture(stack->geometry());
}

void TfrmMap::DrawUnit(const TSetupRec* rec, int col, int row) {
    if (!rec || !rec->Unit) return;
    if (col < 0 || col > 255 || row < 0 || row > 255) return;  // no hex of a placement
    const TOobRec& entry = *rec->Unit;
    const int number = UnitIconNumber(*rec, entry);
    std::string code = IconCode(entry.Kind, number);

    TStackImage* stack = StackAt(col, row);
    const bool fresh = !stack;
    int background = 0, foreground = 0;
    if (stack) {
        const StackCount count = stack->Count;
        if (StackFull(count)) {
            if (!quiet_ && !overfullShown_) {
                showError(QStringLiteral("Too many units in hex"));
                overfullShown_ = true;
            }
            SetStackVisible(stack, true);
            return;
        }
        background = StackBackground(count, entry.Kind, entry.Side);
        stack->Codes.push_back(std::move(code));
        foreground = StackForeground(stack->Codes);
    } else {
        stack = newStack(col, row);
        stack->Codes.push_back(std::move(code));
        background = NewStackBackground(entry.Side);
        foreground = NewStackForeground(entry.Kind, number);
    }
    ++(entry.Kind == 'L' ? stack->Count.Leaders : stack->Count.Units);
    if (iconList_)
        paintIcons(stack, background, foreground, fresh);
    else
        stack->PendingIcons.emplace_back(background, foreground);
    SetStackVisible(stack, true);
    unitPicked_ = false;
}

void TfrmMap::DrawPlacements() {
    if (!host_) return;
    for (const TSetupRec* rec : host_->MapScenario().SetupList()) DrawUnit(rec, rec->Col, rec->Row);
}

std::vector<const TSetupRec*> TfrmMap::RedrawHex(int col, int row, bool report) {
    std::vector<const TSetupRec*> refused;
    if (!host_ || col < 0 || col > 255 || row < 0 || row > 255) return refused;
    if (TStackImage* old = StackAt(col, row)) {
        image1_->updatePicture(old->geometry());
        stackByKey_[static_cast<std::size_t>(HexKey(col, row))] = nullptr;
        std::erase_if(stacks_, [old](const auto& s) { return s.get() == old; });
    }
    // One box at most: the first refusal of a hex that reports.
    const QScopedValueRollback<bool> quiet(quiet_, !report);
    for (const TSetupRec* rec : host_->MapScenario().SetupList()) {
        if (rec->Col != col || rec->Row != row) continue;
        const TStackImage* before = StackAt(col, row);
        const std::size_t drawn = before ? before->Codes.size() : 0;
        DrawUnit(rec, col, row);
        const TStackImage* after = StackAt(col, row);
        if (after && after->Codes.size() == drawn) {
            refused.push_back(rec);
            quiet_ = true;
        }
    }
    return refused;
}

void TfrmMap::RedrawHexes(const std::vector<std::pair<int, int>>& hexes) {
    if (!host_) return;
    const auto onGrid = [](int col, int row) { return col >= 0 && col <= 255 && row >= 0 && row <= 255; };
    std::vector<char> redraw(256 * 256, 0);
    std::unordered_set<const TStackImage*> gone;
    for (const auto& [col, row] : hexes) {
        if (!onGrid(col, row)) continue;
        const auto key = static_cast<std::size_t>(HexKey(col, row));
        redraw[key] = 1;
        if (TStackImage* old = stackByKey_[key]) {
            image1_->updatePicture(old->geometry());
            stackByKey_[key] = nullptr;
            gone.insert(old);
        }
    }
    if (!gone.empty()) std::erase_if(stacks_, [&gone](const auto& s) { return gone.count(s.get()) != 0; });
    const QScopedValueRollback<bool> quiet(quiet_, true);
    for (const TSetupRec* rec : host_->MapScenario().SetupList())
        if (onGrid(rec->Col, rec->Row) && redraw[static_cast<std::size_t>(HexKey(rec->Col, rec->Row))])
            DrawUnit(rec, rec->Col, rec->Row);
}

// ---------------------------------------------------------------------------
// Zoom

QPoint TfrmMap::pointerInView() const {
    QWidget* view = scroll1_->viewport();
    const QPoint at = view->mapFromGlobal(QCursor::pos());
    return view->rect().contains(at) ? at : view->rect().center();
}

void TfrmMap::ZoomBy(int steps) { SetZoom(ZoomStepped(zoom_, steps), pointerInView()); }

void TfrmMap::SetZoom(int percent, QPoint pointer) {
    percent = std::clamp(percent, kZoomMin, kZoomMax);
    if (percent == zoom_) return;
    QScrollBar* h = scroll1_->horizontalScrollBar();
    QScrollBar* v = scroll1_->verticalScrollBar();
    const PixelPos scroll = ScrollAfterZoom({h->value(), v->value()}, {pointer.x(), pointer.y()}, zoom_, percent);
    zoom_ = percent;
    // The control takes its new size, and the scroll bars their new ranges, at once.
    image1_->setZoom(percent);
    h->setValue(scroll.X);
    v->setValue(scroll.Y);
    statusZoom_->setText(QStringLiteral(" %1 % ").arg(percent));
}

// ---------------------------------------------------------------------------
// Mouse

bool TfrmMap::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == image1_ && (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop)) {
        auto* de = static_cast<QDropEvent*>(event);
        const PixelPos dropped =
            ViewToPicture(PixelPos{de->position().toPoint().x(), de->position().toPoint().y()}, zoom_);
        const QPoint at(dropped.X, dropped.Y);
        // Our entries only, and only where there is a hex to place them on.
        if (!de->mimeData() || !de->mimeData()->hasFormat(QLatin1String(kOobEntryMimeType)) ||
            !HexAt(at.x(), at.y(), numCols_, numRows_)) {
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
    if (watched == scroll1_->viewport() && type == QEvent::Wheel) {
        auto* we = static_cast<QWheelEvent*>(event);
        if (!(we->modifiers() & Qt::ControlModifier)) return false;
        // One step a notch (120); finer wheels add up to notches.
        wheelAngle_ += we->angleDelta().y();
        const int steps = wheelAngle_ / 120;
        wheelAngle_ -= steps * 120;
        const QPoint pointer = we->position().toPoint();
        if (steps) guarded([&] { SetZoom(ZoomStepped(zoom_, steps), pointer); });
        return true;
    }
    if (watched != image1_ || !mouse) return QWidget::eventFilter(watched, event);
    auto* me = static_cast<QMouseEvent*>(event);
    viewPointer_ = me->position().toPoint();
    const PixelPos picturePoint = ViewToPicture(PixelPos{viewPointer_.x(), viewPointer_.y()}, zoom_);
    const QPoint at(picturePoint.X, picturePoint.Y);
    // Selecting many: Shift+left-drag draws a band, Ctrl+click takes a
    // stack in or out, Shift+right-click opens the menu. The design's
    // clicks and drags go on below.
    const Qt::KeyboardModifiers mods = me->modifiers();
    if (type == QEvent::MouseButtonPress && me->button() == Qt::LeftButton && (mods & Qt::ShiftModifier)) {
        bandStart_ = at;
        if (!band_) band_ = new QRubberBand(QRubberBand::Rectangle, image1_);
        band_->setGeometry(QRect(viewPointer_, QSize()));
        band_->show();
        return true;
    }
    if (bandStart_) {
        const PixelPos s0 = PictureToView({bandStart_->x(), bandStart_->y()}, zoom_);
        band_->setGeometry(QRect(QPoint(s0.X, s0.Y), viewPointer_).normalized());
        if (type == QEvent::MouseButtonRelease && me->button() == Qt::LeftButton) {
            const QRect picked = QRect(*bandStart_, at).normalized();
            bandStart_.reset();
            band_->hide();
            guarded([&] { SelectBand(picked, mods & Qt::ControlModifier); });
        }
        return true;
    }
    // With several placements selected, a left-drag from a stack holding one
    // of them moves them all by the hexes between press and release.
    if (type == QEvent::MouseButtonPress && me->button() == Qt::LeftButton && !unitPicked_ && host_ &&
        !(mods & Qt::ControlModifier))
        if (const TStackImage* stack = StackUnder(at)) {
            const HexPos hex{stack->col(), stack->row()};
            const std::vector<const TSetupRec*> chosen = host_->SelectedPlacements();
            const bool inFormation = chosen.size() > 1 && std::any_of(chosen.begin(), chosen.end(), [hex](auto* r) {
                                         return r->Col == hex.Col && r->Row == hex.Row;
                                     });
            if (inFormation) {
                formationFrom_ = hex;
                image1_->setCursor(Qt::ClosedHandCursor);
                return true;
            }
        }
    if (formationFrom_) {
        if (type == QEvent::MouseButtonRelease && me->button() == Qt::LeftButton) {
            const HexPos from = *formationFrom_;
            formationFrom_.reset();
            image1_->setCursor(Qt::ArrowCursor);
            const auto to = HexAt(at.x(), at.y(), numCols_, numRows_);
            if (to && *to != from)
                guarded([&] {
                    overfullShown_ = false;
                    host_->MoveSelection(from, *to);
                });
        }
        return true;
    }
    if (type == QEvent::MouseButtonPress && me->button() == Qt::LeftButton && (mods & Qt::ControlModifier)) {
        if (const auto hex = HexAt(at.x(), at.y(), numCols_, numRows_))
            guarded([&] { ToggleStack(hex->Col, hex->Row); });
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
                if (click && unitPicked_ && host_)
                    if (const auto hex = HexAt(at.x(), at.y(), numCols_, numRows_)) {
                        curCol_ = hex->Col;
                        curRow_ = hex->Row;
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
            if (const auto hex = HexAt(at.x(), at.y(), numCols_, numRows_)) {
                curCol_ = hex->Col;
                curRow_ = hex->Row;
            }
            Image1DblClick();
        }
    });
    return true;
}

void TfrmMap::Image1MouseDown(Qt::MouseButton /*button*/, int /*x*/, int /*y*/) {
    // The viewport's coordinates: the picture moves under the pointer while dragging.
    dragX_ = viewPointer_.x() - scroll1_->horizontalScrollBar()->value();
    dragY_ = viewPointer_.y() - scroll1_->verticalScrollBar()->value();
    dragging_ = true;
    image1_->setCursor(Qt::ClosedHandCursor);
}

void TfrmMap::Image1MouseUp() {
    dragging_ = false;
    image1_->setCursor(Qt::ArrowCursor);
}

void TfrmMap::Image1MouseMove(Qt::MouseButtons buttons, int x, int y) {
    if (dragging_ && !(buttons & Qt::LeftButton)) {
        dragging_ = false;
        image1_->setCursor(Qt::ArrowCursor);
    }
    if (dragging_) {
        QScrollBar* h = scroll1_->horizontalScrollBar();
        QScrollBar* v = scroll1_->verticalScrollBar();
        const int vx = viewPointer_.x() - h->value(), vy = viewPointer_.y() - v->value();
        h->setValue(h->value() + dragX_ - vx);
        v->setValue(v->value() + dragY_ - vy);
        dragX_ = vx;
        dragY_ = vy;
        return;
    }
    if (const auto hex = HexAt(x, y, numCols_, numRows_)) {
        curCol_ = hex->Col;
        curRow_ = hex->Row;
        showHexStatus();
    } else {
        status_->ShowText(QStringLiteral("  No map grid  Current Unit: ") + curUnitName_);
        statusNamesScenario_ = true;
    }
}

void TfrmMap::showHexStatus() {
    statusNamesScenario_ = true;
    if (numCols_ > 0 && numRows_ > 0)
        status_->ShowText(QString::asprintf("  Hex %2d,%2d  Current Unit: ", curCol_, curRow_) + curUnitName_);
    else
        status_->ShowText(QStringLiteral("  No map grid  Current Unit: ") + curUnitName_);
}

void TfrmMap::ShowCurrentUnit() {
    const TSetupRec* cur = host_ ? host_->CurrentPlacement() : nullptr;
    curUnitName_ = cur ? host_->SetupLineLabel(cur, 50) : QString();
    // A line about the scenario shown is shown again; the first line stays.
    if (statusNamesScenario_) showHexStatus();
}

void TfrmMap::Image1DblClick() {
    if (!host_) return;
    const TSetupRec* cur = host_->CurrentPlacement();
    // Without a grid there is no hex to move to.
    if (!cur || numCols_ <= 0 || numRows_ <= 0) return;
    overfullShown_ = false;  // a move of its own: its own box
    const int leftCol = cur->Col, leftRow = cur->Row;
    const bool picked = unitPicked_;
    // The current placement among others selected: the whole formation moves.
    const std::vector<const TSetupRec*> chosen = host_->SelectedPlacements();
    if (chosen.size() > 1 && std::find(chosen.begin(), chosen.end(), cur) != chosen.end()) {
        host_->MoveSelection({leftCol, leftRow}, {curCol_, curRow_});
        unitPicked_ = false;
        return;
    }
    host_->MoveCurSetup(curCol_, curRow_);
    const std::vector<const TSetupRec*> refused = redrawMove({leftCol, leftRow}, {curCol_, curRow_});
    // A unit that a full hex refused stays picked, to be dropped elsewhere.
    unitPicked_ = picked && std::find(refused.begin(), refused.end(), cur) != refused.end();
}

std::vector<const TSetupRec*> TfrmMap::redrawMove(HexPos left, HexPos entered) {
    // Both hexes as Read would draw them now: the one left loses the icon.
    if (left != entered) RedrawHex(left.Col, left.Row, false);
    return RedrawHex(entered.Col, entered.Row, true);
}

bool TfrmMap::dropEntry(const QMimeData* data, QPoint at) {
    if (!host_) return false;
    bool ok = false;
    const int index = QString::fromLatin1(data->data(QLatin1String(kOobEntryMimeType))).toInt(&ok);
    // Without a grid there is no hex to place on.
    const auto hex = HexAt(at.x(), at.y(), numCols_, numRows_);
    if (!ok || !hex) return false;
    overfullShown_ = false;  // a move of its own: its own box
    const std::optional<HexPos> left = host_->PlaceEntry(index, hex->Col, hex->Row);
    if (!left) return false;
    curCol_ = hex->Col;
    curRow_ = hex->Row;
    redrawMove(*left, *hex);
    return true;
}

void TfrmMap::UnitMouseMove(TStackImage* stack) {
    if (dragging_ || !host_) return;
    const int col = stack->col(), row = stack->row();
    QString text = QString::asprintf("  Hex %2d,%2d ", col, row);
    bool any = false;
    for (const TSetupRec* rec : host_->MapScenario().SetupList()) {
        if (rec->Col != col || rec->Row != row) continue;
        any = true;
        text += QStringLiteral(" | ") + QString::fromLatin1(FacingText(rec->Facing)) + QLatin1Char(' ') +
                QLatin1Char(FormationLetter(rec->Flags)) + QLatin1Char(' ') + host_->SetupLineLabel(rec, 20);
    }
    status_->ShowText(text);
    statusNamesScenario_ = true;
    // Nothing stands there any more: the stack is left from a move.
    if (!any) SetStackVisible(stack, false);
}

void TfrmMap::UnitMouseDown(TStackImage* stack, Qt::MouseButton button, QPoint at) {
    dragging_ = false;
    if (!host_) return;
    const int col = stack->col(), row = stack->row();
    const Scenario& scn = host_->MapScenario();

    if (button == Qt::LeftButton) {
        if (!unitPicked_) return;
        curCol_ = col;
        curRow_ = row;
        SetStackVisible(stack, false);
        QApplication::processEvents();
        Image1DblClick();
        return;
    }

    std::vector<const TSetupRec*> here;
    for (const TSetupRec* rec : scn.SetupList())
        if (rec->Col == col && rec->Row == row) here.push_back(rec);
    const TSetupRec* chosen = nullptr;
    if (here.size() >= 2 && dlgChooseUnit_) {
        TdlgChooseUnit& dlg = *dlgChooseUnit_;
        dlg.lbUnits->clear();
        for (const TSetupRec* rec : here) dlg.lbUnits->addItem(host_->SetupLineLabel(rec, 50));
        dlg.setWindowTitle(QStringLiteral("Choose one unit"));
        // At the pointer, kept on the screen.
        const PixelPos pressed = PictureToView(PixelPos{stack->Left + at.x(), stack->Top + at.y()}, zoom_);
        dlg.PlaceAt(image1_->mapToGlobal(QPoint(pressed.X, pressed.Y)));
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
    unitPicked_ = true;
    host_->SelectPlacement(index, this);
}

// ---------------------------------------------------------------------------
// Marks: hex numbers and outlines

void TfrmMap::updateHex(HexPos hex) { image1_->updatePicture(TMapMarks::HexArea(hex)); }

void TfrmMap::ShowCheckFindings(const std::vector<HexPos>& hexes) {
    for (const HexPos& h : marks_.Marked()) updateHex(h);
    marks_.SetMarked(hexes);
    for (const HexPos& h : marks_.Marked()) updateHex(h);
}

void TfrmMap::ScenarioChanged() {
    if (!host_) return;
    // The plan is laid out again; the clock's span and events once the event
    // that changed the scenario is done. Called by the map's side of the
    // main window (MapLink) on every change the document tells.
    overlays_.Invalidate();
    if (!overlays_.Idle()) image1_->update();
    if (!clockPending_) {
        clockPending_ = true;
        QTimer::singleShot(0, this, [this] { guarded([this] { refreshClock(); }); });
    }
    if (!marks_.Marked().empty() && !recheckPending_) {
        recheckPending_ = true;
        QTimer::singleShot(0, this, [this] { guarded([this] { recheckMarks(); }); });
    }
    // The outlined placement moved, or is no longer the selected one.
    if (followed_) {
        const TSetupRec* cur = host_->CurrentPlacement();
        const std::optional<HexPos> now =
            cur == followed_ ? std::optional<HexPos>(HexPos{cur->Col, cur->Row}) : std::nullopt;
        if (now != marks_.Selected) {
            if (marks_.Selected) updateHex(*marks_.Selected);
            if (now) updateHex(*now);
            marks_.Selected = now;
        }
        if (!now) followed_ = nullptr;
    }
    showChosen();
}

void TfrmMap::showChosen() {
    std::vector<HexPos> hexes;
    const std::vector<const TSetupRec*> chosen = host_ ? host_->SelectedPlacements() : std::vector<const TSetupRec*>{};
    if (chosen.size() > 1) {
        std::vector<char> seen(256 * 256, 0);
        for (const TSetupRec* rec : chosen)
            if (!std::exchange(seen[static_cast<std::size_t>(HexKey(rec->Col, rec->Row))], 1))
                hexes.push_back({rec->Col, rec->Row});
    }
    if (hexes == marks_.Chosen) return;
    // Many hexes: one repaint of the view rather than one for each.
    if (hexes.size() + marks_.Chosen.size() > 64) {
        image1_->update();
    } else {
        for (const HexPos& h : marks_.Chosen) updateHex(h);
        for (const HexPos& h : hexes) updateHex(h);
    }
    marks_.Chosen = std::move(hexes);
    if (chosen.size() > 1) status_->ShowText(QStringLiteral("  %1 placements selected").arg(chosen.size()));
}

std::vector<const TSetupRec*> TfrmMap::placementsAt(int col, int row) const {
    std::vector<const TSetupRec*> here;
    if (!host_) return here;
    for (const TSetupRec* rec : host_->MapScenario().SetupList())
        if (rec->Col == col && rec->Row == row) here.push_back(rec);
    return here;
}

void TfrmMap::SelectBand(const QRect& band, bool add) {
    if (!host_) return;
    std::vector<const TSetupRec*> recs = PlacementsInBand(host_->MapScenario().SetupList(), band.left(), band.top(),
                                                          band.right(), band.bottom(), numCols_, numRows_);
    const TSetupRec* current = recs.empty() ? nullptr : recs.front();
    if (add) {
        std::vector<const TSetupRec*> before = host_->SelectedPlacements();
        before.insert(before.end(), recs.begin(), recs.end());
        recs = std::move(before);
    }
    host_->SelectPlacements(recs, current);
}

void TfrmMap::ToggleStack(int col, int row) {
    if (!host_) return;
    const std::vector<const TSetupRec*> here = placementsAt(col, row);
    if (here.empty()) return;
    std::vector<const TSetupRec*> chosen = host_->SelectedPlacements();
    const bool all = std::all_of(here.begin(), here.end(), [&](const TSetupRec* r) {
        return std::find(chosen.begin(), chosen.end(), r) != chosen.end();
    });
    if (all) {
        std::erase_if(chosen, [&](const TSetupRec* r) { return std::find(here.begin(), here.end(), r) != here.end(); });
        host_->SelectPlacements(chosen, nullptr);
    } else {
        chosen.insert(chosen.end(), here.begin(), here.end());
        host_->SelectPlacements(chosen, here.front());
    }
}

void TfrmMap::NudgeSelection(HexDir dir) {
    if (!host_) return;
    const std::vector<const TSetupRec*> chosen = host_->SelectedPlacements();
    if (chosen.empty()) return;
    const HexPos from{chosen.back()->Col, chosen.back()->Row};
    host_->MoveSelection(from, Neighbour(from, dir));
}

void TfrmMap::MoveCursor(int dc, int dr) {
    if (numCols_ <= 0 || numRows_ <= 0) return;
    HexPos at{0, 0};
    if (marks_.Cursor)
        at = {marks_.Cursor->Col + dc, marks_.Cursor->Row + dr};
    else if (const TSetupRec* cur = host_ ? host_->CurrentPlacement() : nullptr)
        at = {cur->Col, cur->Row};
    at = {std::clamp(at.Col, 0, numCols_ - 1), std::clamp(at.Row, 0, numRows_ - 1)};
    if (marks_.Cursor) updateHex(*marks_.Cursor);
    marks_.Cursor = at;
    updateHex(at);
    curCol_ = at.Col;
    curRow_ = at.Row;
    showHexStatus();
    const PixelPos corner = StackCorner(at.Col, at.Row);
    if (!VisiblePicture().contains(QRect(corner.X, corner.Y, 32, 32))) CentreOn(at.Col, at.Row);
}

void TfrmMap::CursorSpace() {
    if (!host_ || !marks_.Cursor) return MoveCursor(0, 0);
    curCol_ = marks_.Cursor->Col;
    curRow_ = marks_.Cursor->Row;
    if (unitPicked_) {
        Image1DblClick();
        return;
    }
    if (TStackImage* stack = StackAt(curCol_, curRow_)) UnitMouseDown(stack, Qt::RightButton, QPoint(16, 16));
}

void TfrmMap::ZoomToFitView() {
    const MapPicture& pic = image1_->picture();
    const QSize view = scroll1_->viewport()->size();
    SetZoom(ZoomToFit(pic.width(), pic.height(), view.width(), view.height()), QPoint(0, 0));
}

QMenu* TfrmMap::ContextMenu(QPoint at) {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("mnuMapContext"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const std::optional<HexPos> hex = HexAt(at.x(), at.y(), numCols_, numRows_);
    const std::vector<const TSetupRec*> here = hex ? placementsAt(hex->Col, hex->Row) : std::vector<const TSetupRec*>{};
    auto add = [&](const QString& caption, const char* name, bool enabled, std::function<void()> f) {
        QAction* a = menu->addAction(caption, this, [this, f] { guarded(f); });
        a->setObjectName(QLatin1String(name));
        a->setEnabled(enabled && host_);
    };
    add(QStringLiteral("&Pick"), "mnuPick", !here.empty(), [this, hex] {
        if (TStackImage* stack = StackAt(hex->Col, hex->Row)) UnitMouseDown(stack, Qt::RightButton, QPoint(16, 16));
    });
    add(QStringLiteral("&Move Selection Here"), "mnuMoveHere", hex && host_ && !host_->SelectedPlacements().empty(),
        [this, hex] {
            const std::vector<const TSetupRec*> chosen = host_->SelectedPlacements();
            if (!chosen.empty()) host_->MoveSelection({chosen.back()->Col, chosen.back()->Row}, *hex);
        });
    add(QStringLiteral("P&aste Here"), "mnuPasteHere", hex.has_value(), [this, hex] { host_->PasteAt(*hex); });
    add(QStringLiteral("Select &Stack"), "mnuSelectStack", !here.empty(),
        [this, here] { host_->SelectPlacements(here, here.front()); });
    add(QStringLiteral("Place &Organisation Here"), "mnuPlaceOrgHere", hex.has_value(),
        [this, hex] { host_->PlaceOrganisationAt(*hex); });
    menu->addSeparator();
    add(QStringLiteral("Zoom to &Fit"), "mnuZoomFitHere", true, [this] { ZoomToFitView(); });
    add(QStringLiteral("Search for &Hex..."), "mnuSearchHexHere", true, [this] { host_->SearchForHex(); });
    return menu;
}

void TfrmMap::recheckMarks() {
    recheckPending_ = false;
    if (marks_.Marked().empty() || !host_) return;
    // A mark stays while the check still reports its hex; new over-full
    // hexes wait for the next check.
    const std::vector<HexPos> before = marks_.Marked();
    if (marks_.KeepOnly(HexesOf(CheckOverloadedHexes(host_->MapScenario().SetupList()))))
        for (const HexPos& h : before) updateHex(h);
}

void TfrmMap::ClearMarks() {
    for (const HexPos& h : marks_.Marked()) updateHex(h);
    marks_.SetMarked({});
    if (marks_.GoTo) updateHex(*std::exchange(marks_.GoTo, std::nullopt));
    // The placement outlined belonged to the scenario read before.
    FollowPlacement(nullptr);
}

void TfrmMap::FollowPlacement(const TSetupRec* rec) {
    if (marks_.Selected) updateHex(*marks_.Selected);
    followed_ = rec;
    marks_.Selected = rec ? std::optional<HexPos>(HexPos{rec->Col, rec->Row}) : std::nullopt;
    if (!rec) return;
    updateHex(*marks_.Selected);
    const PixelPos corner = StackCorner(rec->Col, rec->Row);
    if (!VisiblePicture().contains(QRect(corner.X, corner.Y, 32, 32))) CentreOn(rec->Col, rec->Row);
}

void TfrmMap::GoToHex(int col, int row) {
    if (marks_.GoTo) updateHex(*marks_.GoTo);
    marks_.GoTo = HexPos{col, row};
    updateHex(*marks_.GoTo);
    CentreOn(col, row);
}

void TfrmMap::ClearGoToHex() {
    if (!marks_.GoTo) return;
    updateHex(*marks_.GoTo);
    marks_.GoTo.reset();
}

void TfrmMap::CentreOn(int col, int row) {
    const PixelPos c = PictureToView(HexCentre(col, row), zoom_);
    const QSize view = scroll1_->viewport()->size();
    scroll1_->ensureVisible(c.X, c.Y, view.width() / 2, view.height() / 2);
}

QRect TfrmMap::VisiblePicture() const {
    const QRect view = QRect(QPoint(scroll1_->horizontalScrollBar()->value(), scroll1_->verticalScrollBar()->value()),
                             scroll1_->viewport()->size()) &
                       image1_->rect();
    const PixelRect picture = ViewRectToPicture({view.x(), view.y(), view.width(), view.height()}, zoom_);
    return {picture.X, picture.Y, picture.W, picture.H};
}

// ---------------------------------------------------------------------------
// The plan: overlays, clock, picture

const Scenario& TfrmMap::OverlayScenario() {
    static const Scenario none;
    return host_ ? host_->MapScenario() : none;
}

void TfrmMap::SelectRecord(ScnListBox list, int index) {
    if (host_) host_->SelectRecord(list, index);
}

void TfrmMap::MoveGroupTo(int index, HexPos hex) {
    if (host_) host_->MoveGroupTo(index, hex.Col, hex.Row);
}

void TfrmMap::AimCommandAt(int index, HexPos hex) {
    if (host_) host_->AimCommandAt(index, hex.Col, hex.Row);
}

void TfrmMap::SetOverlays(OverlaySet on) {
    // The actions tell overlaysChanged, which takes their states.
    const QSignalBlocker a(mnuArrivals_), o(mnuOrders_), r(mnuReleases_);
    mnuArrivals_->setChecked(on.Arrivals);
    mnuOrders_->setChecked(on.Orders);
    mnuReleases_->setChecked(on.Releases);
    overlaysChanged();
}

void TfrmMap::overlaysChanged() {
    overlays_.SetShown({mnuArrivals_->isChecked(), mnuOrders_->isChecked(), mnuReleases_->isChecked()});
    image1_->update();
}

ClockTime TfrmMap::ClockNow() const { return clock_->Time(); }

void TfrmMap::SetClock(ClockTime t) { clock_->SetTime(t); }

void TfrmMap::refreshClock() {
    clockPending_ = false;
    if (!host_) return;
    const Scenario& scn = host_->MapScenario();
    clock_->SetSpan(ScenarioSpan(scn), EventDates(scn));
}

bool TfrmMap::overlayMouse(QEvent::Type type, const QMouseEvent& me, QPoint at) {
    const double scale = zoom_ / 100.0;
    if (type == QEvent::MouseButtonRelease && me.button() == Qt::LeftButton && overlays_.Pressed()) {
        const bool drop = overlays_.DropHex().has_value();
        dropHex_.reset();
        image1_->setCursor(Qt::ArrowCursor);
        image1_->update();
        overlays_.Release();
        if (drop) status_->ShowText(QString());
        return true;
    }
    if (type == QEvent::MouseMove && overlays_.Pressed()) {
        if (!(me.buttons() & Qt::LeftButton)) {
            overlays_.CancelPress();
            return false;
        }
        const QPoint moved = (me.globalPosition() - overlayPress_).toPoint();
        if (overlays_.Drag(moved, HexAt(at.x(), at.y(), numCols_, numRows_))) {
            if (dropHex_ != overlays_.DropHex()) {
                dropHex_ = overlays_.DropHex();
                image1_->update();
            }
            image1_->setCursor(Qt::DragMoveCursor);
            status_->ShowText(QStringLiteral("  ") + overlays_.DragText());
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
    if (overlays_.Idle() || unitPicked_) return false;
    // The second press of a double click on an item is no move of a placement.
    if (type == QEvent::MouseButtonDblClick) return overlays_.HitAt(at, scale).Item != OverlayItem::None;
    if (type == QEvent::MouseButtonPress && me.button() == Qt::LeftButton && !pressedOnPicture_) {
        if (!overlays_.Press(at, scale)) return false;
        overlayPress_ = me.globalPosition();
        return true;
    }
    if (type == QEvent::MouseMove && me.buttons() == Qt::NoButton && !dragging_) {
        const QString text = overlays_.TextAt(at, scale);
        if (image1_->toolTip() != text) {
            image1_->setToolTip(text);
            if (text.isEmpty()) QToolTip::hideText();
        }
        if (text.isEmpty()) return false;
        if (const auto hex = HexAt(at.x(), at.y(), numCols_, numRows_)) {
            curCol_ = hex->Col;
            curRow_ = hex->Row;
        }
        status_->ShowText(QString::asprintf("  Hex %2d,%2d  ", curCol_, curRow_) +
                          QString(text).replace(QLatin1Char('\n'), QStringLiteral("  ")));
        return true;
    }
    return false;
}

void TfrmMap::mnuExportPictureClick() {
    if (!host_) return;
    const auto choice = host_->AskMapPicture(this);
    if (choice) ExportPicture(choice->Path, choice->WholeMap);
}

void TfrmMap::ExportPicture(const QString& path, bool wholeMap) {
    const QRect area =
        wholeMap ? image1_->rect()
                 : QRect(QPoint(scroll1_->horizontalScrollBar()->value(), scroll1_->verticalScrollBar()->value()),
                         scroll1_->viewport()->size()) &
                       image1_->rect();
    if (area.isEmpty()) throw ScnError("Cannot write " + QFile::encodeName(path).toStdString() + ": no map is shown");
    WritePicture(QFile::encodeName(path).toStdString(), area.size(), [&](QPainter& p) {
        p.translate(-area.topLeft());
        image1_->Render(p, area);
    });
}

void TfrmMap::SetHexNumbers(bool on) {
    mnuHexNumbers_->setChecked(on);
    if (marks_.HexNumbers == on) return;
    marks_.HexNumbers = on;
    image1_->update();
}

}  // namespace varno
