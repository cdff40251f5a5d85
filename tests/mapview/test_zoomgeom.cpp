// The zoom's geometry without a window: the steps, the mapping between view
// and picture pixels, the scroll that keeps the point under the pointer, and
// the hex under the pointer at every zoom step.
#include <QTest>

#include "mapview/zoomgeom.h"

using namespace varno;

class TestZoomGeom : public QObject {
    Q_OBJECT

private slots:
    void steps_data() {
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("steps");
        QTest::addColumn<int>("result");
        QTest::newRow("in") << 100 << 1 << 200;
        QTest::newRow("out") << 100 << -1 << 50;
        QTest::newRow("two out") << 100 << -2 << 25;
        QTest::newRow("kept at the top") << 400 << 1 << 400;
        QTest::newRow("kept at the bottom") << 25 << -3 << 25;
        QTest::newRow("between steps: from the one below") << 150 << 1 << 200;
        QTest::newRow("below the steps") << 10 << 0 << 25;
    }
    void steps() {
        QFETCH(int, percent);
        QFETCH(int, steps);
        QFETCH(int, result);
        QCOMPARE(ZoomStepped(percent, steps), result);
    }

    // Zoom to Fit: the largest step that shows the whole picture, else the smallest.
    void zoomToFit() {
        QCOMPARE(ZoomToFit(600, 400, 1280, 1024), 200);
        QCOMPARE(ZoomToFit(640, 512, 1280, 1024), 200);
        QCOMPARE(ZoomToFit(641, 512, 1280, 1024), 100);
        QCOMPARE(ZoomToFit(2000, 300, 1280, 1024), 50);
        QCOMPARE(ZoomToFit(6630, 7710, 1280, 1024), 25);  // the largest map fits no step
        QCOMPARE(ZoomToFit(100, 100, 0, 0), 25);
    }

    // For every pair of steps, scroll offsets and pointer places: the picture
    // pixel under the pointer after the zoom is the one before, as closely
    // as a view pixel of the new zoom can show it; zooming in and out again
    // comes back to the same scroll offset.
    void pointUnderThePointerStays() {
        for (const int from : kZoomSteps)
            for (const int to : kZoomSteps)
                for (const int scroll : {0, 1, 7, 130, 2001})
                    for (const int pointer : {0, 3, 333, 1279}) {
                        const PixelPos s{scroll, scroll + 5}, at{pointer, pointer / 2};
                        const PixelPos before = ViewToPicture(PixelPos{s.X + at.X, s.Y + at.Y}, from);
                        const PixelPos s2 = ScrollAfterZoom(s, at, from, to);
                        const PixelPos after = ViewToPicture(PixelPos{s2.X + at.X, s2.Y + at.Y}, to);
                        // A view pixel of `to` shows 100 / to picture pixels (1 above 100 %).
                        const int span = std::max(1, 100 / to);
                        const QByteArray msg =
                            QString::asprintf("%d -> %d, scroll %d, pointer %d: %d,%d -> %d,%d", from, to, scroll,
                                              pointer, before.X, before.Y, after.X, after.Y)
                                .toUtf8();
                        QVERIFY2(after.X <= before.X && before.X < after.X + span, msg.constData());
                        QVERIFY2(after.Y <= before.Y && before.Y < after.Y + span, msg.constData());
                        if (from < to) QCOMPARE(ScrollAfterZoom(s2, at, to, from), s);
                    }
    }

    // The hex under a view pixel is the hex of the picture point it shows:
    // every hex centre, shown at each zoom and read back, names its hex.
    void hexUnderThePointer() {
        for (const int percent : {25, 100, 400})
            for (int col = 0; col < 40; col += 3)
                for (int row = 0; row < 40; row += 7) {
                    const PixelPos centre = HexCentre(col, row);
                    const PixelPos view = PictureToView(centre, percent);
                    const auto hex = HexAt(ViewToPicture(view, percent).X, ViewToPicture(view, percent).Y, 40, 40);
                    QVERIFY(hex);
                    QCOMPARE(*hex, (HexPos{col, row}));
                }
    }

    void rectangles() {
        QCOMPARE(ViewRectToPicture({10, 20, 30, 40}, 100), (PixelRect{10, 20, 30, 40}));
        QCOMPARE(ViewRectToPicture({10, 20, 30, 40}, 400), (PixelRect{2, 5, 8, 10}));
        QCOMPARE(ViewRectToPicture({1, 2, 3, 4}, 25), (PixelRect{4, 8, 12, 16}));
        // A stack image at 25 %: every view pixel that shows a part of it.
        QCOMPARE(PictureRectToView({10, 30, 32, 32}, 25), (PixelRect{2, 7, 9, 9}));
        QCOMPARE(PictureRectToView({10, 30, 32, 32}, 200), (PixelRect{20, 60, 64, 64}));
        QCOMPARE(ZoomedLength(6650, 25), 1663);
        QCOMPARE(ZoomedLength(6650, 400), 26600);
    }
};

QTEST_MAIN(TestZoomGeom)
#include "test_zoomgeom.moc"
