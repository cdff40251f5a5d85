// The demo game's pictures, as the build draws them, load as the map window
// loads them: the map picture fits the demo map's grid and shows its terrain,
// and every icon the stacks use has something to show.
#include <QTest>

#include "mapview/hexgeom.h"
#include "mapview/mapfiles.h"

using namespace varno;

namespace {

std::string Dir(const char* dir) { return std::string(dir) + "/"; }

// Counts the opaque pixels of an icon and those whose blue stands out.
std::pair<int, int> Opaque(const QImage& icon) {
    int opaque = 0, blue = 0;
    for (int y = 0; y < icon.height(); ++y)
        for (int x = 0; x < icon.width(); ++x) {
            const QRgb p = icon.pixel(x, y);
            if (qAlpha(p) == 0) continue;
            ++opaque;
            if (qBlue(p) > qRed(p) + 60) ++blue;
        }
    return {opaque, blue};
}

}  // namespace

class TestDemoPictures : public QObject {
    Q_OBJECT

private slots:
    void mapPictureFitsTheGrid() {
        const MapGrid grid = ReadMapHeader(MapFilePath(Dir(VARNO_DEMO_DIR)));
        QCOMPARE(grid.NumCols, 40);
        QCOMPARE(grid.NumRows, 30);
        const QImage picture = LoadPicture(MapPicturePath(Dir(VARNO_DEMO_PICTURES)));
        QCOMPARE(picture.size(), QSize(26 * 40 + 46, 30 * 30 + 50));
        // The last hex's stack image lies inside the picture.
        const PixelPos corner = StackCorner(39, 29);
        QVERIFY(QRect(QPoint(0, 0), picture.size()).contains(QRect(corner.X, corner.Y, 32, 32)));
        // Hex 8,0 is river ('r'): blue; hex 0,3 is open ground: green.
        const PixelPos river = HexCentre(8, 0), open = HexCentre(0, 3);
        QVERIFY(qBlue(picture.pixel(river.X + 8, river.Y)) > qGreen(picture.pixel(river.X + 8, river.Y)));
        QVERIFY(qGreen(picture.pixel(open.X, open.Y)) > qBlue(picture.pixel(open.X, open.Y)) + 40);
    }

    void everyIconHasItsArtAndEachSideItsColour() {
        const std::vector<QImage> icons = LoadIconList(Dir(VARNO_DEMO_PICTURES));
        QCOMPARE(icons.size(), std::size_t(48));
        for (int entry = 0; entry < 48; ++entry) {
            const auto [opaque, blue] = Opaque(icons[static_cast<std::size_t>(entry)]);
            QVERIFY2(opaque > 40, qPrintable(QString("entry %1").arg(entry)));
            QVERIFY2(opaque < 32 * 32 - 40 || entry < 8,
                     qPrintable(QString("entry %1 has no transparency").arg(entry)));
            if (entry < 4)
                QCOMPARE(blue, 0);
            else if (entry < 8)
                QVERIFY(blue > opaque / 2);
        }
        // More counters cover more of the cell.
        for (int side = 0; side < 2; ++side)
            for (int n = 1; n < 4; ++n)
                QVERIFY(Opaque(icons[static_cast<std::size_t>(4 * side + n)]).first >
                        Opaque(icons[static_cast<std::size_t>(4 * side + n - 1)]).first);
        // The six facings differ from each other.
        for (int k = 9; k < 14; ++k) QVERIFY(icons[static_cast<std::size_t>(k)] != icons[8]);
    }
};

QTEST_MAIN(TestDemoPictures)
#include "test_demo_pictures.moc"
