// The orders' shafts drawn straight into pixels against the same lines drawn
// by Qt's painter: the same lines at every zoom, to a pixel, and nothing
// outside the area painted.
#include <QImage>
#include <QPainter>
#include <QTest>
#include <random>

#include "mapview/overlaypainter.h"

using namespace varno;

namespace {

constexpr int kSize = 200;

// The pixels of `a` of `colour` within `inside` that have no pixel of that
// colour in `b` within `reach` pixels.
int Strays(const QImage& a, const QImage& b, QRgb colour, int reach, const QRect& inside) {
    int strays = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if (a.pixel(x, y) != colour) continue;
            bool near = false;
            for (int dy = -reach; dy <= reach && !near; ++dy)
                for (int dx = -reach; dx <= reach && !near; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    near = nx >= 0 && ny >= 0 && nx < b.width() && ny < b.height() && b.pixel(nx, ny) == colour;
                }
            strays += !near;
        }
    return strays;
}

}  // namespace

class TestOverlayPainter : public QObject {
    Q_OBJECT

private slots:
    void shaftsAsQtDrawsThem() {
        std::mt19937 rng(33);
        std::uniform_real_distribution<double> coord(-150, 350);  // many ends outside the area
        const QColor colour(0xf0, 0x8a, 0x00);
        ShaftRaster raster;
        for (const double scale : {0.25, 1.0, 4.0})
            for (const bool wide : {false, true})
                for (int round = 0; round < 20; ++round) {
                    // The area: picture pixels of the middle of the device.
                    const QRect area(static_cast<int>(20 / scale), static_cast<int>(30 / scale),
                                     static_cast<int>(150 / scale), static_cast<int>(140 / scale));
                    std::vector<QLineF> lines;
                    for (int i = 0; i < 4; ++i)
                        lines.emplace_back(coord(rng) / scale, coord(rng) / scale, coord(rng) / scale,
                                           coord(rng) / scale);
                    lines.emplace_back(-1e5, 3e4, 2e5, -1e4);  // far beyond the area at both ends
                    QImage ours(kSize, kSize, QImage::Format_ARGB32_Premultiplied), qt = ours;
                    ours.fill(Qt::white);
                    qt.fill(Qt::white);
                    {
                        QPainter p(&ours);
                        p.scale(scale, scale);
                        QVERIFY(raster.Draw(p, {{colour, wide, &lines}}, area));
                    }
                    {
                        QPainter p(&qt);
                        p.scale(scale, scale);
                        p.setClipRect(area);
                        QPen pen(colour, wide ? 3 : 1);
                        pen.setCosmetic(true);
                        pen.setCapStyle(Qt::FlatCap);
                        p.setPen(pen);
                        p.drawLines(lines.data(), static_cast<int>(lines.size()));
                    }
                    const QRect device = QTransform::fromScale(scale, scale).mapRect(QRectF(area)).toAlignedRect();
                    for (int y = 0; y < kSize; ++y)
                        for (int x = 0; x < kSize; ++x)
                            if (!device.contains(x, y)) QCOMPARE(ours.pixel(x, y), qRgb(255, 255, 255));
                    // A wide line is three pixels across its longer axis,
                    // Qt's three across the line itself, its ends cut square
                    // to it: two pixels apart at most. At the area's edge,
                    // Qt's pixels have their centres half a pixel further.
                    const QRect inside = device.adjusted(2, 2, -2, -2);
                    QCOMPARE(Strays(ours, qt, colour.rgb(), wide ? 2 : 1, inside), 0);
                    QCOMPARE(Strays(qt, ours, colour.rgb(), wide ? 2 : 1, inside), 0);
                }
    }
};

QTEST_MAIN(TestOverlayPainter)
#include "test_overlaypainter.moc"
