// The map window on a game of our own, driven as a user does: Read draws the
// stacks, the pointer shows hexes and stacks in the status line, the right
// button picks, the left button drops, a double click moves, dragging scrolls.
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>
#include <functional>

#include "editor/document/scndocument.h"
#include "editor/pages/setunitspage.h"
#include "editor/widgets/listbox.h"
#include "editor/widgets/numedit.h"
#include "editor/windows/listform.h"
#include "mapview/hexgeom.h"
#include "mapview/mapform.h"
#include "mapview/maphost.h"
#include "mapview/picturebox.h"
#include "mapview/stackimage.h"
#include "mapview/statuspanel.h"
#include "mapview/unitdlg.h"
#include "mapview/zoomgeom.h"
#include "scenario/records.h"
#include "scenario/scnchecks.h"
#include "tests/editor/editortestkit.h"
#include "tests/editor/mapfixture.h"

using namespace varno;
using namespace maptest;

namespace {

QRgb EntryColour(int entry) {
    const SheetCell cell = IconSheetCell(entry);
    return CellColour(cell.Row, cell.Col);
}

// Answers the choose-unit dialog in the user's place: shows it, acts on it
// as queued, and reports how it closed.
class AnsweringChooser : public TdlgChooseUnit {
public:
    std::function<void(TdlgChooseUnit&)> answer;
    int shows = 0;
    QString title;
    QStringList lines;
    QPoint where;
    int ShowModal() override {
        ++shows;
        title = windowTitle();
        lines = Lines(lbUnits);
        setResult(-1);
        show();
        where = pos();
        if (answer) answer(*this);
        if (isVisible()) {
            hide();
            return Rejected;
        }
        return result();
    }
};

void ChooseLine(TdlgChooseUnit& d, int row) {
    QTest::mouseClick(d.lbUnits->viewport(), Qt::LeftButton, Qt::NoModifier,
                      d.lbUnits->visualItemRect(d.lbUnits->item(row)).center());
}

struct MapForms {
    TestDialogs ui;
    TfrmMap map;
    AnsweringChooser chooser;
    std::unique_ptr<TfrmEdit> edit;
    MapForms() : edit(std::make_unique<TfrmEdit>(ui, &map)) {
        map.SetChooseUnitDialog(&chooser);
        map.setAttribute(Qt::WA_QuitOnClose, false);
        edit->show();
        QVERIFY(QTest::qWaitForWindowExposed(edit.get()));
    }
    ~MapForms() { edit.reset(); }
    Scenario& scn() { return edit->Scn(); }
    Selection& sel() { return edit->Document().Sel(); }
    const TSetupRec* setup(int i) { return scn().SetupList()[static_cast<std::size_t>(i)]; }
    TStackImage* stack(int col, int row) { return map.StackAt(col, row); }
    // A point of a stack image, in the map picture's pixels.
    QPoint onStack(int col, int row, QPoint at = QPoint(16, 16)) {
        const PixelPos corner = StackCorner(col, row);
        return QPoint(corner.X, corner.Y) + at;
    }
    QPoint hexPoint(int col, int row) {
        const PixelPos c = HexCentre(col, row);
        return {c.X, c.Y};
    }
    void rightPress(int col, int row) {
        QTest::mousePress(map.Image1(), Qt::RightButton, {}, onStack(col, row));
        QTest::mouseRelease(map.Image1(), Qt::RightButton, {}, onStack(col, row));
    }
    void leftPress(int col, int row) {
        QTest::mousePress(map.Image1(), Qt::LeftButton, {}, onStack(col, row));
        QTest::mouseRelease(map.Image1(), Qt::LeftButton, {}, onStack(col, row));
    }
    // The pointer comes to rest at `at` in w, no button held.
    void hover(QWidget* w, QPoint at) {
        QMouseEvent e(QEvent::MouseMove, QPointF(at), w->mapToGlobal(QPointF(at)), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    void doubleClickHex(int col, int row) {
        hover(map.Image1(), hexPoint(col, row));
        QTest::mouseDClick(map.Image1(), Qt::LeftButton, {}, hexPoint(col, row));
    }
    // A small view scrolled to the picture's far corner.
    void scrollAway() {
        map.resize(200, 150);
        QTest::qWait(20);
        map.Scroll1()->horizontalScrollBar()->setValue(map.Scroll1()->horizontalScrollBar()->maximum());
        map.Scroll1()->verticalScrollBar()->setValue(map.Scroll1()->verticalScrollBar()->maximum());
    }
    bool inView(int col, int row) {
        const PixelPos corner = StackCorner(col, row);
        return map.VisiblePicture().contains(QRect(corner.X, corner.Y, 32, 32));
    }
    // The picture point under a point of the viewport, and where a picture
    // point lies on the picture control, at the zoom shown.
    QPoint pictureUnder(QPoint inViewport) {
        const PixelPos p = ViewToPicture(PixelPos{map.Scroll1()->horizontalScrollBar()->value() + inViewport.x(),
                                                  map.Scroll1()->verticalScrollBar()->value() + inViewport.y()},
                                         map.Zoom());
        return {p.X, p.Y};
    }
    QPoint onView(PixelPos picture) {
        const PixelPos p = PictureToView(picture, map.Zoom());
        return {p.X, p.Y};
    }
    void wheel(QPoint inViewport, int angle) {
        QWidget* view = map.Scroll1()->viewport();
        QWheelEvent e(QPointF(inViewport), view->mapToGlobal(QPointF(inViewport)), QPoint(), QPoint(0, angle),
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &e);
    }
    // `data` dragged onto the map and dropped at `at`; whether the map took it.
    bool dropOnMap(const QMimeData* data, QPoint at) {
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(map.Image1(), &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(map.Image1(), &drop);
        return drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
    }
    // Line `line` of the order-of-battle column dragged onto the map.
    bool dragFromColumn(int line, QPoint at) {
        QAbstractItemModel* model = edit->Ui().lbUnits->model();
        std::unique_ptr<QMimeData> data(model->mimeData({model->index(line, 0)}));
        return data && dropOnMap(data.get(), at);
    }
};

std::vector<HexPos> CheckedHexes(const Scenario& scn) { return HexesOf(CheckOverloadedHexes(scn.SetupList())); }

}  // namespace

class TestMap : public QObject {
    Q_OBJECT
    SettingsSandbox sandbox_;
    QTemporaryDir tmp_;
    QString game_;

    void read(MapForms& f) {
        TypeInto(f.edit->Ui().edScenarioPath, game_ + "MAP.SCN");
        ClickButton(f.edit->Ui().sbRead);
        QVERIFY(QTest::qWaitForWindowExposed(&f.map));
    }

private slots:
    void init() {
        game_ = tmp_.path() + "/game/scen/";
        QDir(tmp_.path() + "/game").removeRecursively();
        WriteGameFile(game_ + "MAIN.OOB", kOob);
        WriteGameFile(game_ + "MAP.SCN", Scn());
        WriteGameFile(game_ + "main.map", "1\n12 10\n1 0 0\n");
        QImage picture(364, 360, QImage::Format_RGB32);
        picture.fill(qRgb(10, 120, 10));
        QVERIFY(picture.save(game_ + "MAIN1.BMP", "BMP"));
        // The sheet lies in the folder above the scenario's.
        QVERIFY(Sheet().save(tmp_.path() + "/game/Icons2D.bmp", "BMP"));
    }

    // Every placement read is drawn into the stack of its hex: codes in the
    // hint in file order, background and foreground by the stack rules.
    void readDrawsEveryPlacement_data() {
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<int>("background");
        QTest::addColumn<int>("foreground");
        QTest::newRow("Union cavalry DR in column, then infantry") << 2 << 3 << "U20,U00" << 5 << 28;
        QTest::newRow("leader then unit: the leader shows") << 4 << 4 << "L07,U03" << 4 << 44;
        QTest::newRow("eight wagons, the ninth refused") << 6 << 1 << "S00,S00,S00,S00,S00,S00,S00,S00" << 7 << 45;
        QTest::newRow("Confederate cavalry alone") << 8 << 5 << "U16" << 0 << 24;
        QTest::newRow("artillery with an unknown facing") << 1 << 1 << "U24" << 4 << 32;
    }
    void readDrawsEveryPlacement() {
        QFETCH(int, col);
        QFETCH(int, row);
        QFETCH(QString, hint);
        QFETCH(int, background);
        QFETCH(int, foreground);
        MapForms f;
        read(f);
        QCOMPARE(f.ui.errors(), QStringList({"Too many units in hex"}));
        QCOMPARE(f.map.Stacks().size(), std::size_t(5));
        TStackImage* s = f.stack(col, row);
        QVERIFY(s);
        QVERIFY(s->Visible);
        QCOMPARE(s->Hint(), hint);
        QCOMPARE(s->Tag >> 16, col * 256 + row);
        QCOMPARE(s->geometry(), QRect(StackCorner(col, row).X, StackCorner(col, row).Y, 32, 32));
        QCOMPARE(s->Canvas.pixel(1, 1), EntryColour(background));
        QCOMPARE(s->Canvas.pixel(16, 16), EntryColour(foreground));
        QCOMPARE(f.map.windowTitle(), QString("Test"));
        QCOMPARE(f.map.Image1()->size(), QSize(364, 360));
        QCOMPARE(f.map.NumCols(), 12);
        QCOMPARE(f.map.NumRows(), 10);
    }

    // The status line over the picture and over stacks.
    void statusLines() {
        MapForms f;
        read(f);
        QCOMPARE(f.map.Status()->text(), QString("Status  Testing"));
        f.hover(f.map.Image1(), QPoint(150, 200));
        QCOMPARE(f.map.Status()->text(), QString("  Hex  5, 6  Current Unit: "));
        f.hover(f.map.Image1(), QPoint(3000, 3000));  // beyond the grid: its last hex
        QCOMPARE(f.map.Status()->text(), QString("  Hex 11, 9  Current Unit: "));

        ClickLine(f.edit->Ui().lbSetUnits, 1);
        f.hover(f.map.Image1(), QPoint(0, 0));
        QCOMPARE(f.map.Status()->text(), QString("  Hex  0, 0  Current Unit: 1st Foot"));
        ClickLine(f.edit->Ui().lbSetUnits, 2);
        f.hover(f.map.Image1(), QPoint(1, 1));
        QCOMPARE(f.map.Status()->text(), QString("  Hex  0, 0  Current Unit: Gen. North"));

        const std::pair<QPoint, const char*> stacks[] = {
            {{2, 3}, "  Hex  2, 3  | DR C 1st Horse | U L 1st Foot"},
            {{4, 4}, "  Hex  4, 4  | UR C Gen. North | D L 2nd Foot"},
            {{1, 1}, "  Hex  1, 1  | ? L 1st Battery"},
        };
        for (const auto& [hex, text] : stacks) {
            f.hover(f.map.Image1(), f.onStack(hex.x(), hex.y(), QPoint(10, 10)));
            QCOMPARE(f.map.Status()->text(), QString(text));
        }
    }

    // A right press on a stack of one selects it in the main window without
    // the dialog and hides the stack; a double click on a hex moves it there.
    void pickOneThenDoubleClickMovesIt() {
        MapForms f;
        read(f);
        f.rightPress(8, 5);
        QCOMPARE(f.chooser.shows, 0);
        QVERIFY(!f.stack(8, 5)->Visible);
        QVERIFY(f.map.UnitPicked());
        QCOMPARE(f.sel().CurSetup(), f.setup(13));
        QCOMPARE(f.edit->Ui().lbSetUnits->currentRow(), 13);
        QCOMPARE(f.edit->Ui().lbUnits->currentItem()->text(), QString("300 2 C X South Horse"));
        QCOMPARE(f.map.CurrentUnitName(), QString("South Horse"));
        QVERIFY(!f.scn().Modified);
        TypeInto(f.edit->Ui().pgSetUnits->edStrength, "77");

        f.doubleClickHex(10, 7);
        QCOMPARE(f.setup(13)->Col, 10);
        QCOMPARE(f.setup(13)->Row, 7);
        // The page shows the new hex; the strength typed there waits to be stored.
        QCOMPARE(f.edit->Ui().pgSetUnits->edCol->text(), QString("10"));
        QCOMPARE(f.edit->Ui().pgSetUnits->edRow->text(), QString("7"));
        QCOMPARE(f.edit->Ui().pgSetUnits->edStrength->text(), QString("77"));
        QCOMPARE(f.setup(13)->Strength, 300 % 256);
        QVERIFY(f.scn().Modified);
        QVERIFY(!f.map.UnitPicked());
        QVERIFY(f.stack(10, 7) && f.stack(10, 7)->Visible);
        QCOMPARE(f.stack(10, 7)->Hint(), QString("U16"));
        // The hex it left has no stack: the pointer reaches the picture.
        QVERIFY(!f.stack(8, 5));
        f.hover(f.map.Image1(), f.onStack(8, 5));
        QCOMPARE(f.map.Status()->text(), QString("  Hex  8, 5  Current Unit: South Horse"));
    }

    // A move draws the hex left and the hex entered again, as Read does.
    void aMoveRedrawsBothHexes() {
        MapForms f;
        read(f);
        ClickLine(f.edit->Ui().lbSetUnits, 0);  // 1st Horse, under 1st Foot at 2,3
        f.doubleClickHex(10, 7);
        QCOMPARE(f.stack(2, 3)->Hint(), QString("U00"));
        QCOMPARE(f.stack(2, 3)->Canvas.pixel(16, 16), EntryColour(NewStackForeground('U', 0)));
        QCOMPARE(f.stack(10, 7)->Hint(), QString("U20"));
    }

    // The map follows every change of the placements, wherever it is made:
    // a hex typed on Set Units, Add, Remove, and their undo.
    void pageChangesRedrawTheirHexes() {
        MapForms f;
        read(f);
        ClickLine(f.edit->Ui().lbSetUnits, 13);  // South Horse at 8,5
        TypeInto(f.edit->Ui().pgSetUnits->edCol, "9");
        ClickLine(f.edit->Ui().lbSetUnits, 14);  // the hex typed is stored
        QCOMPARE(int(f.setup(13)->Col), 9);
        QVERIFY(!f.stack(8, 5));
        QCOMPARE(f.stack(9, 5)->Hint(), QString("U16"));

        ClickLine(f.edit->Ui().lbSetUnits, 13);
        ClickButton(f.edit->Ui().bnRemove);
        QVERIFY(!f.stack(9, 5));
        f.edit->Ui().mnuUndo->trigger();
        QCOMPARE(f.stack(9, 5)->Hint(), QString("U16"));

        ClickLine(f.edit->Ui().lbUnits, 8);  // Gen. South, not placed
        ClickButton(f.edit->Ui().bnAdd);
        const TSetupRec* added = f.scn().SetupList().back();
        QCOMPARE(added->Unit->Display, std::string("Gen. South"));
        QVERIFY(f.stack(added->Col, added->Row));
        QVERIFY(f.stack(added->Col, added->Row)->Hint().startsWith("L"));
    }

    // "Current Unit:" names the placement selected, however it was chosen,
    // and nothing after a Read.
    void theStatusNamesTheSelectedPlacement() {
        MapForms f;
        read(f);
        f.hover(f.map.Image1(), f.hexPoint(1, 2));
        ClickLine(f.edit->Ui().lbSetUnits, 13);
        QVERIFY2(f.map.Status()->text().endsWith("Current Unit: South Horse"), qPrintable(f.map.Status()->text()));
        QVERIFY(f.dragFromColumn(8, f.hexPoint(3, 3)));
        QVERIFY2(f.map.Status()->text().endsWith("Current Unit: Gen. South"), qPrintable(f.map.Status()->text()));
        f.ui.setNextAnswer(Answer::Ok);  // the drop is given up
        read(f);
        QVERIFY2(f.map.Status()->text().endsWith("Current Unit: "), qPrintable(f.map.Status()->text()));
    }

    // However long the status text, the window keeps its width; the text is
    // cut at the panel's, whole in the tooltip.
    void theStatusLineNeverSizesTheWindow() {
        MapForms f;
        read(f);
        const int width = f.map.width();
        f.hover(f.map.Image1(), f.onStack(6, 1));
        QApplication::processEvents();
        QCOMPARE(f.map.width(), width);
        QCOMPARE(f.map.Status()->toolTip(), f.map.Status()->text());
        QVERIFY(f.map.Status()->ShownText().endsWith(QChar(0x2026)));
    }

    // A right press on a stack of several asks which one, at the pointer.
    void pickFromSeveral_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("picked");  // index in SetupList, -1 none
        QTest::newRow("first line") << "0" << 0;
        QTest::newRow("second line") << "1" << 1;
        QTest::newRow("Cancel") << "cancel" << -1;
        QTest::newRow("Esc") << "esc" << -1;
    }
    void pickFromSeveral() {
        QFETCH(QString, answer);
        QFETCH(int, picked);
        MapForms f;
        read(f);
        ClickLine(f.edit->Ui().lbSetUnits, 13);
        f.chooser.answer = [answer](TdlgChooseUnit& d) {
            if (answer == "cancel")
                ClickButton(d.Button1);
            else if (answer == "esc")
                QTest::keyClick(&d, Qt::Key_Escape);
            else
                ChooseLine(d, answer.toInt());
        };
        f.rightPress(2, 3);
        QCOMPARE(f.chooser.shows, 1);
        QCOMPARE(f.chooser.title, QString("Choose one unit"));
        QCOMPARE(f.chooser.lines, QStringList({"1st Horse", "1st Foot"}));
        QCOMPARE(f.chooser.where, f.map.Image1()->mapToGlobal(f.onStack(2, 3)));
        QVERIFY(f.stack(2, 3)->Visible);
        QCOMPARE(f.map.UnitPicked(), picked >= 0);
        QCOMPARE(f.sel().CurSetup(), f.setup(picked >= 0 ? picked : 13));
        QCOMPARE(f.edit->Ui().lbSetUnits->currentRow(), picked >= 0 ? picked : 13);
    }

    void dialogStaysOnTheScreen() {
        MapForms f;
        read(f);
        f.chooser.answer = [](TdlgChooseUnit& d) { QTest::keyClick(&d, Qt::Key_Escape); };
        const QRect room = f.map.screen()->availableGeometry();
        f.map.move(room.right() - 150, room.bottom() - 150);
        QTest::qWait(20);
        f.rightPress(2, 3);
        const QRect placed(f.chooser.where, f.chooser.frameGeometry().size());
        QVERIFY2(room.contains(placed), qPrintable(QString("%1,%2").arg(placed.right()).arg(placed.bottom())));
        QVERIFY(f.chooser.where != f.map.Image1()->mapToGlobal(f.onStack(2, 3)));
    }

    // Dropping a picked unit onto a stack adds it there, or refuses a full one
    // and moves the placement all the same.
    void dropOntoStacks() {
        MapForms f;
        read(f);
        f.ui.clearShown();
        f.rightPress(8, 5);
        f.leftPress(4, 4);
        QCOMPARE(f.stack(4, 4)->Hint(), QString("L07,U03,U16"));
        QVERIFY(f.stack(4, 4)->Visible);
        QCOMPARE(f.setup(13)->Col, 4);
        QCOMPARE(f.setup(13)->Row, 4);
        QVERIFY(!f.map.UnitPicked());
        QVERIFY(f.scn().Modified);
        f.leftPress(6, 1);  // nothing picked: nothing happens
        QCOMPARE(f.setup(13)->Col, 4);

        f.rightPress(1, 1);
        f.leftPress(6, 1);
        QCOMPARE(f.ui.errors(), QStringList({"Too many units in hex"}));
        QCOMPARE(f.stack(6, 1)->Hint().count(','), 7);
        QVERIFY(f.stack(6, 1)->Visible);
        QVERIFY(f.map.UnitPicked());
        QCOMPARE(f.setup(14)->Col, 6);
        QCOMPARE(f.setup(14)->Row, 1);
    }

    void doubleClickWithoutPlacementOrGridMovesNothing() {
        MapForms f;
        read(f);
        f.doubleClickHex(9, 9);
        QVERIFY(!f.stack(9, 9));
        QVERIFY(!f.scn().Modified);

        WriteGameFile(game_ + "main.map", "1\n0 10\n");
        ClickLine(f.edit->Ui().lbSetUnits, 13);
        f.ui.clearShown();
        ClickButton(f.edit->Ui().sbRefresh);  // reloads: the header is refused now
        QCOMPARE(f.ui.errors(), QStringList({"invalid Col Row in file", "Too many units in hex"}));
        QCOMPARE(f.map.NumCols(), 0);
        f.hover(f.map.Image1(), QPoint(100, 100));
        QCOMPARE(f.map.Status()->text(), QString("  No map grid  Current Unit: South Horse"));
        QTest::mouseDClick(f.map.Image1(), Qt::LeftButton, {}, QPoint(100, 100));
        QCOMPARE(f.setup(13)->Col, 8);
        QVERIFY(!f.scn().Modified);
    }

    // ClearUnits loads the map again only when it removed stacks.
    void clearUnitsReloadsOnlyWhenStacksExisted() {
        MapForms f;
        WriteGameFile(game_ + "EMPTY.SCN", "h\nh\nh\nh\nh\nh\nh\nh\nh\n0\n1 0\n0\n");
        TypeInto(f.edit->Ui().edScenarioPath, game_ + "EMPTY.SCN");
        ClickButton(f.edit->Ui().sbRead);
        QCOMPARE(f.ui.errors(), QStringList());
        QVERIFY(f.map.isVisible());
        f.hover(f.map.Image1(), QPoint(150, 200));
        QCOMPARE(f.map.CurCol(), 5);
        WriteGameFile(game_ + "main.map", "1\n20 15\n");
        f.map.ClearUnits();
        QCOMPARE(f.map.NumCols(), 12);
        QCOMPARE(f.map.CurCol(), 5);

        f.map.DrawUnit(f.scn().SetupList().empty() ? nullptr : f.setup(0), 1, 1);  // none: nothing
        QVERIFY(f.map.Stacks().empty());
        read(f);
        QCOMPARE(f.map.NumCols(), 12);  // the Read's ClearUnits found no stacks to clear
        f.hover(f.map.Image1(), QPoint(150, 200));
        WriteGameFile(game_ + "main.map", "1\n30 25\n");
        QImage bigger(500, 400, QImage::Format_RGB32);
        bigger.fill(Qt::gray);
        QVERIFY(bigger.save(game_ + "MAIN1.BMP", "BMP"));
        ClickButton(f.edit->Ui().sbRefresh);
        QCOMPARE(f.map.NumCols(), 30);
        QCOMPARE(f.map.NumRows(), 25);
        QCOMPARE(f.map.CurCol(), 0);
        QCOMPARE(f.map.CurRow(), 0);
        QCOMPARE(f.map.Image1()->size(), QSize(500, 400));
        QCOMPARE(f.map.Stacks().size(), std::size_t(5));
        QCOMPARE(f.stack(6, 1)->Hint().count(','), 7);
    }

    // Stacks drawn before the icons exist get them when the window is shown;
    // closing frees the picture and the icons, showing loads them again.
    void iconsArriveWhenTheWindowIsShown() {
        MapForms f;
        read(f);
        f.map.close();
        QVERIFY(!f.map.MapBitmap() && !f.map.IconList());
        QCOMPARE(f.map.Stacks().size(), std::size_t(5));
        ClickLine(f.edit->Ui().lbSetUnits, 13);
        f.map.DrawUnit(f.sel().CurSetup(), 9, 9);
        QCOMPARE(f.stack(9, 9)->Hint(), QString("U16"));
        QCOMPARE(qAlpha(f.stack(9, 9)->Canvas.pixel(16, 16)), 0);
        QApplication::setActiveWindow(f.edit.get());
        f.edit->Ui().mnuViewMap->trigger();
        QVERIFY(f.map.isVisible());
        QVERIFY(f.map.MapBitmap() && f.map.IconList());
        QCOMPARE(f.stack(9, 9)->Canvas.pixel(16, 16), EntryColour(24));
        QCOMPARE(f.stack(9, 9)->Canvas.pixel(1, 1), EntryColour(0));
    }

    // Many units too many in two hexes: one box for a Read, one for a Refresh.
    void overFullHexesShowOneBoxPerDrawing() {
        QByteArray more;
        for (int i = 0; i < 20; ++i) more += "1 1.6 1 4 3 0 0 0 7 2\n";
        QByteArray text = Scn();
        text.replace("1 2.2 16", more + "1 2.2 16");
        WriteGameFile(game_ + "MAP.SCN", text);
        MapForms f;
        read(f);
        QCOMPARE(f.ui.errors(), QStringList({"Too many units in hex"}));
        f.ui.clearShown();
        ClickButton(f.edit->Ui().sbRefresh);
        QCOMPARE(f.ui.errors(), QStringList({"Too many units in hex"}));
        QCOMPARE(f.stack(7, 2)->Hint().count(','), 7);
    }

    void aMissingPictureIsReportedAndTheReadGoesOn() {
        MapForms f;
        read(f);
        QVERIFY(!f.map.Image1()->picture().isNull());
        QVERIFY(QFile::remove(game_ + "MAIN1.BMP"));
        f.ui.clearShown();
        ClickButton(f.edit->Ui().sbRefresh);
        QCOMPARE(f.ui.errors().size(), 2);
        QVERIFY(f.ui.errors()[0].contains("MAIN1.BMP"));
        QCOMPARE(f.ui.errors()[1], QString("Too many units in hex"));
        // No picture rather than a stale one; the stacks are drawn all the same.
        QVERIFY(!f.map.MapBitmap());
        QVERIFY(f.map.Image1()->picture().isNull());
        QCOMPARE(f.map.Stacks().size(), std::size_t(5));

        f.ui.clearShown();
        read(f);
        QCOMPARE(f.ui.errors().size(), 2);
        QVERIFY(f.ui.errors()[0].contains("MAIN1.BMP"));
        QCOMPARE(f.edit->Ui().lbSetUnits->count(), 15);
    }

    // The check's findings are outlined on the map until the next check; a
    // hex that stops being over-full loses its mark, a Read clears them; a
    // click on a finding shows its hex.
    void checkedHexesAreMarked() {
        MapForms f;
        read(f);
        QVERIFY(f.map.Marks().Marked().empty());
        f.edit->Ui().mnuErrorCheck->trigger();
        QCOMPARE(f.map.Marks().Marked(), (std::vector<HexPos>{{2, 3}, {4, 4}, {6, 1}}));
        QCOMPARE(f.map.Marks().Marked(), CheckedHexes(f.scn()));

        f.scrollAway();
        QVERIFY(!f.inView(4, 4));
        QCOMPARE(Lines(f.edit->frmList()->lbList).value(1), QString("4,4 Overfilled"));
        ClickLine(f.edit->frmList()->lbList, 1);
        QVERIFY(f.inView(4, 4));

        ClickLine(f.edit->Ui().lbSetUnits, 3);  // 2nd Foot leaves Gen. North alone at 4,4
        f.doubleClickHex(9, 9);
        QTRY_COMPARE(f.map.Marks().Marked(), (std::vector<HexPos>{{2, 3}, {6, 1}}));

        f.ui.setNextAnswer(Answer::Ok);  // the changes are given up
        f.ui.setNextInput(QStringLiteral("1,1"));
        f.edit->Ui().mnuSearchHex->trigger();
        QVERIFY(f.map.Marks().GoTo);
        QVERIFY(f.map.Marks().Selected);
        read(f);
        QVERIFY(f.map.Marks().Marked().empty());
        QVERIFY(!f.map.Marks().GoTo);
        QCOMPARE(f.map.Marks().Selected, std::nullopt);  // no placement is selected after a Read

        // Also when the scenario read has no placement at all: a new one.
        ClickLine(f.edit->Ui().lbSetUnits, 14);
        QVERIFY(f.map.Marks().Selected);
        TypeInto(f.edit->Ui().edScenarioPath, game_ + "NEW.SCN");
        ClickButton(f.edit->Ui().sbRead);
        QVERIFY(f.scn().SetupList().empty());
        QCOMPARE(f.map.Marks().Selected, std::nullopt);
    }

    // The selected placement's hex is outlined, and brought into view from
    // whichever list it is selected.
    void theSelectedPlacementIsOutlinedAndShown() {
        MapForms f;
        read(f);
        f.scrollAway();
        ClickLine(f.edit->Ui().lbSetUnits, 14);  // 1st Battery at 1,1
        QCOMPARE(f.map.Marks().Selected, std::optional<HexPos>(HexPos{1, 1}));
        QVERIFY(f.inView(1, 1));
        ClickLine(f.edit->Ui().lbUnits, 9);  // South Horse, placed at 8,5, from the column
        QCOMPARE(f.map.Marks().Selected, std::optional<HexPos>(HexPos{8, 5}));
        QVERIFY(f.inView(8, 5));
        f.doubleClickHex(7, 4);  // the outline follows a move
        QCOMPARE(f.map.Marks().Selected, std::optional<HexPos>(HexPos{7, 4}));
        ClickButton(f.edit->Ui().bnRemove);
        QCOMPARE(f.map.Marks().Selected, std::nullopt);
    }

    // A double-click moves to the hex under the pointer, also where the view
    // scrolled under a pointer that has not moved since (Search for Hex, a
    // selection): no move event comes between.
    void aDoubleClickTakesTheHexUnderThePointer() {
        MapForms f;
        read(f);
        ClickLine(f.edit->Ui().lbSetUnits, 14);  // 1st Battery at 1,1
        f.hover(f.map.Image1(), f.hexPoint(3, 3));
        const QPoint now = f.hexPoint(7, 4);
        QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(now), f.map.Image1()->mapToGlobal(QPointF(now)),
                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(f.map.Image1(), &dbl);
        QCOMPARE(HexPos({f.setup(14)->Col, f.setup(14)->Row}), HexPos({7, 4}));
    }

    // An entry dragged from the order-of-battle column onto the map is
    // placed or moved there as one step, selected on Set Units.
    void dragFromTheColumn_data() {
        QTest::addColumn<int>("line");       // in lbUnits
        QTest::addColumn<int>("placement");  // its index in SetupList afterwards
        QTest::newRow("leader not placed: added") << 8 << 15;
        QTest::newRow("placed unit: moved") << 3 << 1;
    }
    void dragFromTheColumn() {
        QFETCH(int, line);
        QFETCH(int, placement);
        MapForms f;
        read(f);
        f.ui.clearShown();
        f.edit->Ui().Notebook1->setCurrentIndex(2);
        const std::size_t before = f.scn().SetupList().size();
        QVERIFY(f.dragFromColumn(line, f.hexPoint(9, 8)));
        const TSetupRec* rec = f.setup(placement);
        QCOMPARE(rec->Unit, f.scn().OobList()[static_cast<std::size_t>(line)]);
        QCOMPARE(rec->Col, 9);
        QCOMPARE(rec->Row, 8);
        QVERIFY(f.stack(9, 8));
        QCOMPARE(f.edit->Ui().Notebook1->currentWidget(), f.edit->Ui().pgSetUnits);
        QCOMPARE(f.edit->Ui().lbSetUnits->currentRow(), placement);
        QCOMPARE(f.map.Marks().Selected, std::optional<HexPos>(HexPos{9, 8}));
        QVERIFY(f.edit->isWindowModified());
        QCOMPARE(f.ui.errors(), QStringList());
        f.edit->Ui().mnuUndo->trigger();
        QVERIFY(!f.edit->Ui().mnuUndo->isEnabled());
        QCOMPARE(f.scn().SetupList().size(), before);
        QVERIFY(!f.stack(9, 8));
    }

    void dropsOfOtherDataAreRefused() {
        MapForms f;
        read(f);
        QMimeData text, bad;
        text.setText(QStringLiteral("1"));
        QVERIFY(!f.dropOnMap(&text, f.hexPoint(9, 8)));
        bad.setData(QLatin1String(kOobEntryMimeType), "99999");  // no such line
        f.dropOnMap(&bad, f.hexPoint(9, 8));
        QCOMPARE(f.scn().SetupList().size(), std::size_t(15));
        QVERIFY(!f.scn().Modified);
    }

    // Search > for Hex: the hex is shown and outlined until the next Read
    // or a failed search, its first placement selected; a hex off the grid
    // is refused.
    void searchForHex() {
        MapForms f;
        QVERIFY(!f.edit->Ui().mnuSearchHex->isEnabled());
        read(f);
        QVERIFY(f.edit->Ui().mnuSearchHex->isEnabled());
        f.scrollAway();
        f.edit->Ui().Notebook1->setCurrentIndex(1);
        f.ui.setNextInput(QStringLiteral(" 4 , 4 "));
        f.edit->Ui().mnuSearchHex->trigger();
        QCOMPARE(f.ui.promptCaptions.value(0), QString("Search for Hex"));
        QCOMPARE(f.ui.texts(TestDialogs::Kind::Prompt), QStringList({"Hex (column,row)?"}));
        QCOMPARE(f.map.Marks().GoTo, std::optional<HexPos>(HexPos{4, 4}));
        QVERIFY(f.inView(4, 4));
        QCOMPARE(f.edit->Ui().Notebook1->currentWidget(), f.edit->Ui().pgSetUnits);
        QCOMPARE(f.sel().CurSetup(), f.setup(2));  // Gen. North, the first at 4,4
        QCOMPARE(f.edit->Ui().lbUnits->currentItem()->text(), f.edit->Ui().lbUnits->item(1)->text());

        // A hex without a placement says so; a failed search then leaves no
        // outline and no status of the hex before.
        f.ui.setNextInput(QStringLiteral("0,0"));
        f.edit->Ui().mnuSearchHex->trigger();
        QCOMPARE(f.edit->Ui().Status->text(), QString("  Hex 0,0: no placement"));
        for (const QString& typed : {QStringLiteral("12,3"), QStringLiteral("abc")}) {  // off the grid, no hex
            f.ui.clearShown();
            f.ui.setNextInput(typed);
            f.edit->Ui().mnuSearchHex->trigger();
            QCOMPARE(f.ui.errors(), QStringList({"No such hex"}));
            QCOMPARE(f.map.Marks().GoTo, std::nullopt);
            QCOMPARE(f.edit->Ui().Status->text(), QString());
        }
        f.ui.clearShown();
        f.ui.setNextInput(std::nullopt);  // cancelled
        f.edit->Ui().mnuSearchHex->trigger();
        QCOMPARE(f.ui.errors(), QStringList());
        QCOMPARE(f.sel().CurSetup(), f.setup(2));
        read(f);  // a Read takes the outline away
        QVERIFY(!f.map.Marks().GoTo);
    }

    // View > Hex Numbers is kept in the settings.
    void hexNumbersAreKept() {
        {
            MapForms f;
            read(f);
            QVERIFY(!f.map.Marks().HexNumbers);
            f.map.mnuHexNumbers()->trigger();
            QVERIFY(f.map.Marks().HexNumbers);
            QVERIFY(f.edit->close());
        }
        QVERIFY(ReadBytes(sandbox_.iniPath()).contains("HexNumbers=1\r\n"));
        MapForms again;
        QVERIFY(again.map.mnuHexNumbers()->isChecked());
        QVERIFY(again.edit->Ui().View1->actions().contains(again.map.mnuHexNumbers()));
        QVERIFY(again.map.Marks().HexNumbers);
    }

    // Ctrl+wheel and the keys zoom around the pointer, the status line shows
    // the zoom. At another zoom the status line, the pick and the click that
    // drops a picked unit on an empty hex act on the picture's own pixels; a
    // drag moves the picture with the pointer on the screen and drops nothing.
    void zoom() {
        MapForms f;
        read(f);
        f.map.resize(200, 150);
        QTest::qWait(20);
        QApplication::setActiveWindow(&f.map);
        QCOMPARE(f.map.StatusZoom()->text(), QString(" 100 % "));
        QScrollBar* h = f.map.Scroll1()->horizontalScrollBar();
        QScrollBar* v = f.map.Scroll1()->verticalScrollBar();
        h->setValue(60);
        v->setValue(50);
        const QPoint pointer(120, 90);
        const QPoint under = f.pictureUnder(pointer);
        f.wheel(pointer, 120);
        QCOMPARE(f.map.Zoom(), 200);
        QCOMPARE(f.map.Image1()->size(), QSize(2 * 364, 2 * 360));
        QCOMPARE(f.pictureUnder(pointer), under);
        QCOMPARE(f.map.StatusZoom()->text(), QString(" 200 % "));
        f.wheel(pointer, -60);  // half a notch: no step yet
        QCOMPARE(f.map.Zoom(), 200);
        f.wheel(pointer, -60);
        QCOMPARE(f.map.Zoom(), 100);
        QTest::keyClick(&f.map, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(f.map.Zoom(), 50);
        QTest::keyClick(&f.map, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(f.map.Zoom(), 100);
        QTest::keyClick(&f.map, Qt::Key_Plus, Qt::ControlModifier);
        QTest::keyClick(&f.map, Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(f.map.Zoom(), 400);
        QVERIFY(f.map.mnuView()->actions().contains(f.map.findChild<QAction*>("mnuZoomOut")));

        f.hover(f.map.Image1(), f.onView(HexCentre(7, 3)));
        QCOMPARE(f.map.Status()->text(), QString("  Hex  7, 3  Current Unit: "));
        const PixelPos corner = StackCorner(8, 5);
        const QPoint onStack = f.onView(PixelPos{corner.X + 16, corner.Y + 16});
        QTest::mousePress(f.map.Image1(), Qt::RightButton, {}, onStack);
        QTest::mouseRelease(f.map.Image1(), Qt::RightButton, {}, onStack);
        QVERIFY(f.map.UnitPicked());
        QCOMPARE(f.sel().CurSetup(), f.setup(13));

        const QPoint empty = f.onView(HexCentre(3, 7));
        h->setValue(empty.x() - 100);
        v->setValue(empty.y() - 100);
        QTest::mousePress(f.map.Image1(), Qt::LeftButton, {}, empty);
        const QPoint to = empty - QPoint(7, 3);
        QMouseEvent move(QEvent::MouseMove, QPointF(to), f.map.Image1()->mapToGlobal(QPointF(to)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(f.map.Image1(), &move);
        QCOMPARE(h->value(), empty.x() - 93);
        QCOMPARE(v->value(), empty.y() - 97);
        QTest::mouseRelease(f.map.Image1(), Qt::LeftButton, {}, to);
        QVERIFY(f.map.UnitPicked());
        QCOMPARE(f.setup(13)->Col, 8);

        QTest::mouseClick(f.map.Image1(), Qt::LeftButton, {}, empty);
        QCOMPARE(f.setup(13)->Col, 3);
        QCOMPARE(f.setup(13)->Row, 7);
        QVERIFY(!f.map.UnitPicked());
        QVERIFY(f.stack(3, 7) && !f.stack(8, 5));
        QTest::mouseClick(f.map.Image1(), Qt::LeftButton, {}, f.onView(HexCentre(5, 5)));  // nothing picked
        QCOMPARE(f.setup(13)->Col, 3);
    }

    // The left button drags the picture with the pointer; other buttons do not.
    void dragScrolls() {
        MapForms f;
        read(f);
        f.map.resize(200, 150);
        QTest::qWait(20);
        QScrollBar* h = f.map.Scroll1()->horizontalScrollBar();
        QScrollBar* v = f.map.Scroll1()->verticalScrollBar();
        QCOMPARE(h->singleStep(), 20);
        h->setValue(100);
        v->setValue(100);
        QTest::mousePress(f.map.Image1(), Qt::LeftButton, {}, QPoint(150, 150));
        QVERIFY(f.map.Dragging());
        for (int step = 1; step <= 3; ++step) {
            // The pointer moves 10, 5 pixels up and left on the screen each
            // time; the picture below it has moved with it since the press.
            const int x = 150 - 10 * step + (h->value() - 100), y = 150 - 5 * step + (v->value() - 100);
            QMouseEvent e(QEvent::MouseMove, QPointF(x, y), f.map.Image1()->mapToGlobal(QPointF(x, y)), Qt::NoButton,
                          Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(f.map.Image1(), &e);
            QCOMPARE(h->value(), 100 + 10 * step);
            QCOMPARE(v->value(), 100 + 5 * step);
        }
        // Over a stack the drag goes on: the picture keeps the pointer.
        const QPoint over = f.onStack(4, 4);
        QMouseEvent e(QEvent::MouseMove, QPointF(over), f.map.Image1()->mapToGlobal(QPointF(over)), Qt::NoButton,
                      Qt::LeftButton, Qt::NoModifier);
        const int before = h->value();
        QApplication::sendEvent(f.map.Image1(), &e);
        QVERIFY(h->value() != before);
        QVERIFY(f.map.Dragging());
        QTest::mouseRelease(f.map.Image1(), Qt::LeftButton, {}, QPoint(150, 150));
        QVERIFY(!f.map.Dragging());
        const int h0 = h->value(), v0 = v->value();

        // With the right button held, moving does not scroll.
        QTest::mousePress(f.map.Image1(), Qt::RightButton, {}, QPoint(150, 150));
        QMouseEvent right(QEvent::MouseMove, QPointF(120, 120), QPointF(), Qt::NoButton, Qt::RightButton,
                          Qt::NoModifier);
        QApplication::sendEvent(f.map.Image1(), &right);
        QVERIFY(!f.map.Dragging());
        QCOMPARE(h->value(), h0);
        QCOMPARE(v->value(), v0);
    }
};

QTEST_MAIN(TestMap)
#include "test_map.moc"
