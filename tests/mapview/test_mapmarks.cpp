// The marks over the map, painted without a window: outlines on the hexes'
// edges in their colours at any scale, hex numbers only from a scale of 1.
#include <QImage>
#include <QPainter>
#include <QTest>

#include "mapview/hexgeom.h"
#include "mapview/mapmarks.h"

using namespace varno;

namespace {

const QRgb kRed = qRgb(230, 0, 0), kYellow = qRgb(255, 220, 0), kCyan = qRgb(0, 200, 255);

// The marks painted over a white picture of 240 x 240 at `scale`, on a grid
// of 5 x 10 hexes.
QImage Painted(const TMapMarks& marks, double scale = 1.0) {
    QImage image(240, 240, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.scale(scale, scale);
    const QRect area(0, 0, static_cast<int>(240 / scale), static_cast<int>(240 / scale));
    marks.Paint(p, area, 5, 10, scale);
    p.end();
    return image;
}

// The middle of a hex's top edge, in picture pixels.
QPoint TopEdge(HexPos h) {
    const PixelPos c = HexCentre(h.Col, h.Row);
    return {c.X, c.Y - 15};
}

bool AnyDark(const QImage& image, const QRect& box) {
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (qGray(image.pixel(x, y)) < 100) return true;
    return false;
}

}  // namespace

class TestMapMarks : public QObject {
    Q_OBJECT

private slots:
    // Each kind of mark on its hex's edge, in its colour; the inside stays.
    void outlinesInTheirColours_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<uint>("colour");
        QTest::newRow("checked") << "checked" << uint(kRed);
        QTest::newRow("selected") << "selected" << uint(kYellow);
        QTest::newRow("go to") << "goto" << uint(kCyan);
    }
    void outlinesInTheirColours() {
        QFETCH(QString, kind);
        QFETCH(uint, colour);
        TMapMarks marks;
        const HexPos hex{1, 1};
        if (kind == "checked") marks.SetMarked({hex});
        if (kind == "selected") marks.Selected = hex;
        if (kind == "goto") marks.GoTo = hex;
        const QImage image = Painted(marks);
        QCOMPARE(image.pixel(TopEdge(hex)), QRgb(colour));
        const PixelPos left = HexOutline(hex.Col, hex.Row)[0];
        QCOMPARE(image.pixel(left.X, left.Y), QRgb(colour));
        const PixelPos c = HexCentre(hex.Col, hex.Row);
        QCOMPARE(image.pixel(c.X, c.Y), qRgb(255, 255, 255));
        // The neighbour below shares the bottom edge but is not outlined.
        const PixelPos below = HexCentre(hex.Col, hex.Row + 1);
        QCOMPARE(image.pixel(below.X, below.Y + 15), qRgb(255, 255, 255));
        // As wide on the screen at a quarter and at four times the size.
        for (const double scale : {0.25, 4.0}) {
            const QImage scaled = Painted(marks, scale);
            const QPoint at(qRound(TopEdge(hex).x() * scale), qRound(TopEdge(hex).y() * scale));
            QCOMPARE(scaled.pixel(at), QRgb(colour));
        }
    }

    // The marked hexes: each once; a check that no longer reports a hex takes its mark.
    void markedHexesKeepOnlyWhatIsStillReported() {
        TMapMarks marks;
        marks.SetMarked({{1, 1}, {2, 3}, {1, 1}, {300, 1}});
        QCOMPARE(marks.Marked(), (std::vector<HexPos>{{1, 1}, {2, 3}}));
        QVERIFY(!marks.KeepOnly({{2, 3}, {1, 1}, {5, 5}}));
        QVERIFY(marks.KeepOnly({{2, 3}}));
        QCOMPARE(marks.Marked(), (std::vector<HexPos>{{2, 3}}));
        QVERIFY(marks.KeepOnly({}));
        QVERIFY(marks.Marked().empty());
    }

    // "col,row" along the top of every hex at 100 % and above, never below.
    void hexNumbersFromFullSize() {
        TMapMarks marks;
        const QRect topOfHex11(HexCentre(1, 1).X - 10, HexCentre(1, 1).Y - 14, 20, 7);
        QVERIFY(!AnyDark(Painted(marks), topOfHex11));
        marks.HexNumbers = true;
        QVERIFY(AnyDark(Painted(marks), topOfHex11));
        const QImage half = Painted(marks, 0.5);
        QVERIFY(!AnyDark(half, QRect(0, 0, 240, 240)));
        // Not beyond the grid.
        const QRect beyond(HexCentre(5, 1).X - 10, HexCentre(5, 1).Y - 14, 20, 7);
        QVERIFY(!AnyDark(Painted(marks), beyond));
    }
};

QTEST_MAIN(TestMapMarks)
#include "test_mapmarks.moc"
