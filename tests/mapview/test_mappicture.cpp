// The map picture as the map window draws it: a 24-bit BMP mapped and
// converted where it is painted gives, pixel for pixel, what the toolkit's
// reader gives, bottom-up and top-down, at every width (row padding), and at
// every zoom step; other kinds of picture are decoded whole; a file shortened
// while it is mapped reads as black instead of ending the program.
#include <QBuffer>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include "mapview/mappicture.h"
#include "mapview/zoomgeom.h"
#include "scenario/scnerror.h"

using namespace varno;

namespace {

QRgb Colour(int x, int y) { return qRgb(x * 37 % 256, y * 53 % 256, (x * 7 + y * 11) % 256); }

// An uncompressed 24-bit BMP of our own making; top-down with a negative height.
QByteArray Bmp24(int width, int height, bool topDown) {
    const int stride = (width * 3 + 3) / 4 * 4;
    QByteArray b(54 + stride * height, '\0');
    auto put32 = [&](int at, qint32 v) {
        for (int k = 0; k < 4; ++k) b[at + k] = static_cast<char>((v >> (8 * k)) & 0xff);
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, static_cast<qint32>(b.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, width);
    put32(22, topDown ? -height : height);
    b[26] = 1;
    b[28] = 24;
    for (int y = 0; y < height; ++y) {
        const int fileRow = topDown ? y : height - 1 - y;
        for (int x = 0; x < width; ++x) {
            const QRgb c = Colour(x, y);
            char* p = b.data() + 54 + fileRow * stride + 3 * x;
            p[0] = static_cast<char>(qBlue(c));
            p[1] = static_cast<char>(qGreen(c));
            p[2] = static_cast<char>(qRed(c));
        }
    }
    return b;
}

QString Save(const QTemporaryDir& dir, const QByteArray& bytes) {
    const QString path = dir.path() + "/MAIN1.BMP";
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) return {};
    return path;
}

std::string Native(const QString& path) { return QFile::encodeName(path).toStdString(); }

// What the picture draws for the view rectangle `area` at `percent`.
QImage Drawn(const MapPicture& picture, const QRect& area, int percent) {
    QImage out(area.size(), QImage::Format_RGB32);
    out.fill(qRgb(1, 2, 3));
    QPainter p(&out);
    p.translate(-area.topLeft());
    picture.draw(p, area, percent);
    return out;
}

// The reference halved as the smaller copies make it: each pixel the
// rounded mean of a square of two by two, the last row and column repeated.
QImage HalfOf(const QImage& ref) {
    QImage half((ref.width() + 1) / 2, (ref.height() + 1) / 2, QImage::Format_RGB32);
    for (int y = 0; y < half.height(); ++y)
        for (int x = 0; x < half.width(); ++x) {
            const int x0 = 2 * x, y0 = 2 * y, x1 = std::min(x0 + 1, ref.width() - 1),
                      y1 = std::min(y0 + 1, ref.height() - 1);
            const QRgb a = ref.pixel(x0, y0), b = ref.pixel(x1, y0), c = ref.pixel(x0, y1), d = ref.pixel(x1, y1);
            half.setPixel(x, y,
                          qRgb((qRed(a) + qRed(b) + qRed(c) + qRed(d) + 2) / 4,
                               (qGreen(a) + qGreen(b) + qGreen(c) + qGreen(d) + 2) / 4,
                               (qBlue(a) + qBlue(b) + qBlue(c) + qBlue(d) + 2) / 4));
        }
    return half;
}

}  // namespace

class TestMapPicture : public QObject {
    Q_OBJECT

private slots:
    void mappedPicturesMatchTheReader_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("topDown");
        for (const bool topDown : {false, true})
            for (const auto& [w, h] : {std::pair{1, 1}, {2, 3}, {3, 2}, {5, 7}, {31, 9}, {64, 33}})
                QTest::addRow("%dx%d %s", w, h, topDown ? "top-down" : "bottom-up") << w << h << topDown;
    }
    void mappedPicturesMatchTheReader() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(bool, topDown);
        const QByteArray bytes = Bmp24(width, height, topDown);
        const QImage ref = QImage::fromData(bytes, "BMP").convertToFormat(QImage::Format_RGB32);
        QCOMPARE(ref.size(), QSize(width, height));
        QTemporaryDir dir;
        const auto picture = MapPicture::Load(Native(Save(dir, bytes)));
        QVERIFY(picture->mapped());
        QCOMPARE(picture->size(), ref.size());
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) QCOMPARE(picture->pixel(x, y), ref.pixel(x, y));

        // Each zoom step, over the whole view and over a part of it that
        // starts inside (a scrolled view).
        const QImage half = HalfOf(ref), quarter = HalfOf(half);
        for (const int percent : kZoomSteps) {
            const QRect whole(0, 0, ZoomedLength(width, percent), ZoomedLength(height, percent));
            for (const QRect& area : {whole, whole.adjusted(whole.width() / 3, whole.height() / 2, 0, 0)}) {
                if (area.isEmpty()) continue;
                const QImage drawn = Drawn(*picture, area, percent);
                for (int y = 0; y < area.height(); ++y)
                    for (int x = 0; x < area.width(); ++x) {
                        const int vx = area.x() + x, vy = area.y() + y;
                        const QRgb want = percent >= 100
                                              ? ref.pixel(ViewToPicture(vx, percent), ViewToPicture(vy, percent))
                                          : percent == 50 ? half.pixel(vx, vy)
                                                          : quarter.pixel(vx, vy);
                        if (drawn.pixel(x, y) != want)
                            QFAIL(qPrintable(QString("%1 %: view pixel %2,%3").arg(percent).arg(vx).arg(vy)));
                    }
            }
        }
    }

    // Another kind of picture is decoded whole and drawn the same way.
    void otherPicturesAreDecoded() {
        QImage ref(13, 6, QImage::Format_RGB32);
        for (int y = 0; y < ref.height(); ++y)
            for (int x = 0; x < ref.width(); ++x) ref.setPixel(x, y, Colour(x, y));
        QTemporaryDir dir;
        QVERIFY(ref.save(dir.path() + "/MAIN1.BMP", "PNG"));
        const auto picture = MapPicture::Load(Native(dir.path() + "/MAIN1.BMP"));
        QVERIFY(!picture->mapped());
        QCOMPARE(Drawn(*picture, ref.rect(), 100), ref);
        QCOMPARE(Drawn(*picture, QRect(0, 0, 26, 12), 200), ref.scaled(26, 12));
    }

    void badPicturesAreRefused() {
        QTemporaryDir dir;
        const QByteArray good = Bmp24(5, 4, false);
        QVERIFY_THROWS_EXCEPTION(ScnError, MapPicture::Load(Native(Save(dir, good.left(good.size() - 1)))));
        QVERIFY_THROWS_EXCEPTION(ScnError, MapPicture::Load(Native(Save(dir, "BM not a picture"))));
        QVERIFY_THROWS_EXCEPTION(ScnError, MapPicture::Load(Native(dir.path())));  // a folder
        QVERIFY_THROWS_EXCEPTION(ScnError, MapPicture::Load(Native(dir.path() + "/none.bmp")));
    }
};

QTEST_MAIN(TestMapPicture)
#include "test_mappicture.moc"
