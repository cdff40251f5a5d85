// The map window's zoom, driven as a user does: Ctrl+wheel, Ctrl+plus,
// Ctrl+minus, Ctrl+0 and the View menu zoom around the pointer; at every zoom
// the hex under the pointer, the pick, the double-click move and dragging act
// on the picture's own pixels.
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include "mapview/hexgeom.h"
#include "mapview/picturebox.h"
#include "mapview/statuspanel.h"
#include "mapview/unitdlg.h"
#include "mapview/zoomgeom.h"
#include "scenario/records.h"
#include "tests/editor/editortestkit.h"

namespace {

constexpr int kCols = 60, kRows = 60;

struct ZoomForms {
    TestDialogs ui;
    TfrmMap map;
    TdlgChooseUnit chooser;
    std::unique_ptr<TfrmEdit> edit;
    ZoomForms() : edit(std::make_unique<TfrmEdit>(ui, &map)) {
        map.dlgChooseUnit = &chooser;
        map.setAttribute(Qt::WA_QuitOnClose, false);
        edit->show();
    }
    ~ZoomForms() { edit.reset(); }
    QScrollBar* h() { return map.Scroll1->horizontalScrollBar(); }
    QScrollBar* v() { return map.Scroll1->verticalScrollBar(); }
    // The picture point under a point of the viewport.
    QPoint pictureUnder(QPoint inViewport) {
        const PixelPos p =
            ViewToPicture(PixelPos{h()->value() + inViewport.x(), v()->value() + inViewport.y()}, map.Zoom);
        return {p.X, p.Y};
    }
    // Where a picture point lies on the picture control, at the zoom shown.
    QPoint onView(PixelPos picture) {
        const PixelPos p = PictureToView(picture, map.Zoom);
        return {p.X, p.Y};
    }
    void wheel(QPoint inViewport, int angle) {
        QWidget* view = map.Scroll1->viewport();
        QWheelEvent e(QPointF(inViewport), view->mapToGlobal(QPointF(inViewport)), QPoint(), QPoint(0, angle),
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &e);
    }
    void hover(QPoint at) {
        QMouseEvent e(QEvent::MouseMove, QPointF(at), map.Image1->mapToGlobal(QPointF(at)), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(map.Image1, &e);
    }
};

}  // namespace

class TestMapZoom : public QObject {
    Q_OBJECT
    SettingsSandbox sandbox_;
    QTemporaryDir tmp_;
    QString game_;

    void read(ZoomForms& f) {
        TypeInto(f.edit->edScenarioPath, game_ + "CH_A.SCN");
        ClickButton(f.edit->sbRead);
        QVERIFY(QTest::qWaitForWindowExposed(&f.map));
        QVERIFY(f.ui.errors().isEmpty());
        f.map.resize(300, 250);
        QTest::qWait(20);
    }

private slots:
    void initTestCase() {
        game_ = tmp_.path() + "/";
        WriteGameFile(game_ + "MAIN.OOB", FixtureOob());
        // 1st Maine at 5,5; Gen. Gamma at 12,9.
        WriteGameFile(game_ + "CH_A.SCN", FixtureScnWith("1 1.12.3.1.1 1 4 500 0 0 0 5 5\n"
                                                         "1 2.1 2 4 0 0 0 0 12 9\n"));
        WriteGameFile(game_ + "MAIN.MAP",
                      "1\n" + QByteArray::number(kCols) + " " + QByteArray::number(kRows) + "\n1 0 0\n");
        QImage picture(26 * kCols + 46, 30 * kRows + 50, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) picture.setPixel(x, y, qRgb(x % 256, y % 256, 90));
        QVERIFY(picture.save(game_ + "MAIN1.BMP", "BMP"));
        QImage sheet(384, 384, QImage::Format_RGB32);
        sheet.fill(qRgb(200, 30, 30));
        QVERIFY(sheet.save(game_ + "ICONS2D.BMP", "BMP"));
    }

    // The wheel, the keys and the menu: each step keeps the picture point
    // under the pointer, and the status line shows the zoom.
    void zoomAroundThePointer() {
        ZoomForms f;
        read(f);
        QApplication::setActiveWindow(&f.map);
        QCOMPARE(f.map.StatusZoom->text(), QString(" 100 % "));
        f.h()->setValue(500);
        f.v()->setValue(400);
        const QPoint pointer(120, 90);
        const QPoint under = f.pictureUnder(pointer);
        f.wheel(pointer, 120);
        QCOMPARE(f.map.Zoom, 200);
        QCOMPARE(f.map.Image1->size(), QSize(2 * (26 * kCols + 46), 2 * (30 * kRows + 50)));
        QCOMPARE(f.pictureUnder(pointer), under);
        QCOMPARE(f.map.StatusZoom->text(), QString(" 200 % "));
        f.wheel(pointer, -240);  // two notches out
        QCOMPARE(f.map.Zoom, 50);
        QCOMPARE(f.pictureUnder(pointer) / 2, under / 2);  // a view pixel shows two picture pixels
        f.wheel(pointer, 60);                              // half a notch: no step yet
        QCOMPARE(f.map.Zoom, 50);
        f.wheel(pointer, 60);
        QCOMPARE(f.map.Zoom, 100);

        QTest::keyClick(&f.map, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(f.map.Zoom, 50);
        QTest::keyClick(&f.map, Qt::Key_Minus, Qt::ControlModifier);
        QTest::keyClick(&f.map, Qt::Key_Minus, Qt::ControlModifier);  // no step below 25 %
        QCOMPARE(f.map.Zoom, 25);
        QCOMPARE(f.map.StatusZoom->text(), QString(" 25 % "));
        QTest::keyClick(&f.map, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(f.map.Zoom, 100);
        QTest::keyClick(&f.map, Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(f.map.Zoom, 200);
        f.map.mnuZoomIn->trigger();
        f.map.mnuZoomIn->trigger();  // no step above 400 %
        QCOMPARE(f.map.Zoom, 400);
        f.map.mnuZoomNormal->trigger();
        QCOMPARE(f.map.Zoom, 100);
        f.map.mnuZoomOut->trigger();
        QCOMPARE(f.map.Zoom, 50);
        QCOMPARE(f.map.mnuView->actions().size(), 5);  // the zoom's three, a separator, Hex Numbers
    }

    // At 25 %, 100 % and 400 %: the status line names the hex under the
    // pointer, the right button picks the stack under it and a double click
    // moves the placement to the hex under it.
    void pickAndMoveAtEveryZoom_data() {
        QTest::addColumn<int>("percent");
        QTest::newRow("25 %") << 25;
        QTest::newRow("100 %") << 100;
        QTest::newRow("400 %") << 400;
    }
    void pickAndMoveAtEveryZoom() {
        QFETCH(int, percent);
        ZoomForms f;
        read(f);
        f.map.SetZoom(percent, QPoint(0, 0));
        QCOMPARE(f.map.Zoom, percent);

        f.hover(f.onView(HexCentre(7, 3)));
        QCOMPARE(f.map.Status->text(), QString("  Hex  7, 3  Current Unit: "));

        const PixelPos corner = StackCorner(12, 9);
        const QPoint onStack = f.onView(PixelPos{corner.X + 16, corner.Y + 16});
        QTest::mousePress(f.map.Image1, Qt::RightButton, {}, onStack);
        QTest::mouseRelease(f.map.Image1, Qt::RightButton, {}, onStack);
        QVERIFY(f.map.UnitPicked);
        TSetupRec* picked = f.edit->Scn().CurSetup;
        QVERIFY(picked && picked->Col == 12 && picked->Row == 9);

        f.hover(f.onView(HexCentre(15, 16)));
        QTest::mouseDClick(f.map.Image1, Qt::LeftButton, {}, f.onView(HexCentre(15, 16)));
        QCOMPARE(picked->Col, 15);
        QCOMPARE(picked->Row, 16);
        QVERIFY(f.map.StackAt(15, 16));
    }

    // Dragging moves the picture with the pointer on the screen at any zoom.
    void dragScrollsAtEveryZoom() {
        ZoomForms f;
        read(f);
        for (const int percent : {25, 400}) {
            f.map.SetZoom(percent, QPoint(0, 0));
            f.h()->setValue(10);
            f.v()->setValue(10);
            const QPoint press(f.h()->value() + 100, f.v()->value() + 100);
            QTest::mousePress(f.map.Image1, Qt::LeftButton, {}, press);
            const QPoint to = press - QPoint(7, 3);  // the pointer 7, 3 up and left on the screen
            QMouseEvent e(QEvent::MouseMove, QPointF(to), f.map.Image1->mapToGlobal(QPointF(to)), Qt::NoButton,
                          Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(f.map.Image1, &e);
            QCOMPARE(f.h()->value(), 17);
            QCOMPARE(f.v()->value(), 13);
            QTest::mouseRelease(f.map.Image1, Qt::LeftButton, {}, to);
        }
    }
};

QTEST_MAIN(TestMapZoom)
#include "test_mapzoom.moc"
