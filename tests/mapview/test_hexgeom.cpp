// The map's geometry, icon codes and stack rules, and the loading of the map
// files, without a window.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "mapview/hexgeom.h"
#include "mapview/mapfiles.h"
#include "scenario/records.h"
#include "scenario/scnchecks.h"
#include "scenario/scnerror.h"

using namespace varno;

namespace {

void WriteText(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

std::string Bytes(const QString& path) { return QFile::encodeName(path).toStdString(); }

// A sheet of 12 x 12 cells, each filled with a colour that names its cell,
// with a white (transparent) top-left pixel.
QImage NumberedSheet() {
    QImage sheet(12 * 32, 12 * 32, QImage::Format_RGB32);
    for (int r = 0; r < 12; ++r)
        for (int c = 0; c < 12; ++c)
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                    sheet.setPixel(c * 32 + x, r * 32 + y, x == 0 && y == 0 ? qRgb(255, 255, 255) : qRgb(r, c, 7));
    return sheet;
}

}  // namespace

class TestHexGeom : public QObject {
    Q_OBJECT

private slots:
    // Centres and stack corners of hexes, and the hex under a picture point.
    void geometry_data() {
        QTest::addColumn<QString>("what");
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        // centre of hex (a, b) is (x, y)
        QTest::newRow("centre 0,0") << "centre" << 0 << 0 << 26 << 45;
        QTest::newRow("centre 1,0") << "centre" << 1 << 0 << 52 << 30;
        QTest::newRow("centre 2,3") << "centre" << 2 << 3 << 78 << 135;
        QTest::newRow("corner 0,0") << "corner" << 0 << 0 << 10 << 29;
        QTest::newRow("corner 1,0") << "corner" << 1 << 0 << 36 << 14;
        // picture point (a, b) lies in hex (x, y) on a 40 x 30 grid
        QTest::newRow("pixel 0,0") << "hex" << 0 << 0 << 0 << 0;
        QTest::newRow("x 43 column 0") << "hex" << 43 << 100 << 0 << 2;
        QTest::newRow("x 44 column 1") << "hex" << 44 << 100 << 1 << 2;
        QTest::newRow("even y 59 row 0") << "hex" << 30 << 59 << 0 << 0;
        QTest::newRow("even y 60 row 1") << "hex" << 30 << 60 << 0 << 1;
        QTest::newRow("odd y 44 row 0") << "hex" << 50 << 44 << 1 << 0;
        QTest::newRow("odd y 45 row 1") << "hex" << 50 << 45 << 1 << 1;
        QTest::newRow("beyond the last column and row") << "hex" << 5000 << 5000 << 39 << 29;
        QTest::newRow("stack image's far corner 41,60") << "hex" << 41 << 60 << 0 << 1;
    }
    void geometry() {
        QFETCH(QString, what);
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(int, x);
        QFETCH(int, y);
        if (what == "centre") {
            QCOMPARE(HexCentre(a, b), (PixelPos{x, y}));
        } else if (what == "corner") {
            QCOMPARE(StackCorner(a, b), (PixelPos{x, y}));
            QCOMPARE(StackCorner(a, b).X + 31, HexCentre(a, b).X + 15);
        } else {
            const auto hex = HexAt(a, b, 40, 30);
            QVERIFY(hex);
            QCOMPARE(*hex, (HexPos{x, y}));
        }
    }

    void noGridHasNoHex() {
        QVERIFY(!HexAt(30, 60, 0, 30));
        QVERIFY(!HexAt(30, 60, 40, 0));
        // A grid larger than a placement can address ends at hex 255.
        QCOMPARE(*HexAt(100000, 100000, 400, 400), (HexPos{255, 255}));
    }

    // The outline drawn around a hex: corners clockwise from the left one,
    // placed as hex 0,0's; neighbours share their edges (odd columns sit
    // half a hex higher), and each hex's centre is in its hit area.
    void outlinesTile() {
        QList<QPoint> first;
        for (const PixelPos& p : HexOutline(0, 0)) first << QPoint(p.X, p.Y);
        QCOMPARE(first, (QList<QPoint>{{9, 45}, {17, 30}, {35, 30}, {43, 45}, {35, 60}, {17, 60}}));
        for (int col = 0; col < 12; ++col)
            for (int row = 0; row < 10; ++row) {
                const auto o = HexOutline(col, row);
                const auto below = HexOutline(col, row + 1);
                QCOMPARE(o[4], below[2]);
                QCOMPARE(o[5], below[1]);
                // The neighbour up and to the right.
                const auto right = HexOutline(col + 1, col % 2 == 0 ? row : row - 1);
                QCOMPARE(o[2], right[0]);
                QCOMPARE(o[3], right[5]);
                const PixelPos c = HexCentre(col, row);
                QCOMPARE(*HexAt(c.X, c.Y, 12, 10), (HexPos{col, row}));
            }
    }

    // The hexes that may meet a rectangle: every hex whose outline meets it
    // is in the range, and the range is at most a hex wider on each side.
    void hexesNear_data() {
        QTest::addColumn<QRect>("area");
        QTest::addColumn<int>("cols");
        QTest::addColumn<int>("rows");
        QTest::newRow("top-left corner") << QRect(0, 0, 10, 10) << 40 << 30;
        QTest::newRow("a view in the middle") << QRect(300, 200, 640, 480) << 40 << 30;
        QTest::newRow("one pixel on an edge") << QRect(43, 45, 1, 1) << 40 << 30;
        QTest::newRow("beyond the grid") << QRect(2000, 2000, 100, 100) << 40 << 30;
        QTest::newRow("the largest grid") << QRect(6000, 7000, 1280, 1024) << 254 << 255;
        QTest::newRow("no grid") << QRect(0, 0, 100, 100) << 0 << 0;
    }
    void hexesNear() {
        QFETCH(QRect, area);
        QFETCH(int, cols);
        QFETCH(int, rows);
        const HexRange r = HexesNear(area.left(), area.top(), area.right(), area.bottom(), cols, rows);
        int meeting = 0;
        for (int col = 0; col < cols; ++col)
            for (int row = 0; row < rows; ++row) {
                const auto o = HexOutline(col, row);
                const QRect box(QPoint(o[0].X, o[1].Y), QPoint(o[3].X, o[4].Y));
                if (!box.intersects(area)) continue;
                ++meeting;
                QVERIFY2(col >= r.Col0 && col <= r.Col1 && row >= r.Row0 && row <= r.Row1,
                         qPrintable(QString("%1,%2").arg(col).arg(row)));
            }
        if (meeting == 0) return;
        QVERIFY(r.Col1 - r.Col0 <= area.width() / 26 + 5);
        QVERIFY(r.Row1 - r.Row0 <= area.height() / 30 + 5);
        QVERIFY(r.Col1 < cols && r.Row1 < rows);
    }

    // A hex typed as "column,row".
    void parseHex_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("col");  // -1: refused
        QTest::addColumn<int>("row");
        QTest::newRow("blanks and tabs around") << " \t12 , 7\t" << 12 << 7;
        QTest::newRow("blank only") << "12 7" << 12 << 7;
        QTest::newRow("leading zeros") << "007,010" << 7 << 10;
        QTest::newRow("large, for the grid to refuse") << "99999,300" << 99999 << 300;
        QTest::newRow("too many digits") << "100000,1" << -1 << -1;
        QTest::newRow("empty") << "" << -1 << -1;
        QTest::newRow("one number") << "12" << -1 << -1;
        QTest::newRow("no row") << "12," << -1 << -1;
        QTest::newRow("two commas") << "12,,7" << -1 << -1;
        QTest::newRow("three numbers") << "1,2,3" << -1 << -1;
        QTest::newRow("signed") << "-1,2" << -1 << -1;
        QTest::newRow("letters after") << "1,2x" << -1 << -1;
    }
    void parseHex() {
        QFETCH(QString, text);
        QFETCH(int, col);
        QFETCH(int, row);
        const std::string bytes = text.toStdString();
        const auto hex = ParseHexText(bytes);
        if (col < 0) {
            QVERIFY(!hex);
        } else {
            QVERIFY(hex);
            QCOMPARE(*hex, (HexPos{col, row}));
        }
    }

    // Which hexes a grid has, and the hexes of the check's findings.
    void hexOnGridAndFindings() {
        const std::tuple<HexPos, int, int, bool> rows[] = {
            {{0, 0}, 12, 10, true},       {{11, 9}, 12, 10, true},     {{12, 9}, 12, 10, false},
            {{11, 10}, 12, 10, false},    {{-1, 0}, 12, 10, false},    {{0, 0}, 0, 10, false},
            {{255, 255}, 400, 400, true}, {{256, 0}, 400, 400, false},
        };
        for (const auto& [hex, cols, rowsOfGrid, on] : rows)
            QVERIFY2(HexOnGrid(hex, cols, rowsOfGrid) == on, qPrintable(QString("%1,%2").arg(hex.Col).arg(hex.Row)));
        const std::vector<HexFinding> findings = {
            {1, 1, "1,1 Overfilled"}, {1, 1, "1,1 Too many wagons"}, {2, 3, "2,3 Too many Units"}, {1, 2, "1,2 x"}};
        QCOMPARE(HexesOf(findings), (std::vector<HexPos>{{1, 1}, {2, 3}, {1, 2}}));
    }

    // Unit icon number and icon code of a placement.
    void iconCode_data() {
        QTest::addColumn<char>("kind");
        QTest::addColumn<char>("type");
        QTest::addColumn<int>("facing");
        QTest::addColumn<bool>("column");
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("foreground");
        QTest::newRow("cavalry DR in column") << 'U' << 'C' << 4 << true << "U20" << 28;
        QTest::newRow("infantry U") << 'U' << 'I' << 1 << false << "U00" << 8;
        QTest::newRow("infantry UL in column") << 'U' << 'I' << 32 << true << "U11" << 19;
        QTest::newRow("artillery UL in column") << 'U' << 'A' << 32 << true << "U35" << 43;
        QTest::newRow("artillery D") << 'U' << 'A' << 8 << false << "U27" << 35;
        QTest::newRow("unknown facing 3 as U") << 'U' << 'I' << 3 << false << "U00" << 8;
        QTest::newRow("leader in column") << 'L' << '\0' << 2 << true << "L07" << 44;
        QTest::newRow("wagon") << 'S' << '\0' << 16 << false << "S04" << 45;
    }
    void iconCode() {
        QFETCH(char, kind);
        QFETCH(char, type);
        QFETCH(int, facing);
        QFETCH(bool, column);
        QFETCH(QString, code);
        QFETCH(int, foreground);
        const int n = UnitIconNumber(static_cast<std::uint8_t>(facing), column ? sfMounted | sfFixed : sfFixed, type);
        QCOMPARE(QString::fromStdString(IconCode(kind, n)), code);
        QCOMPARE(NewStackForeground(kind, n), foreground);
        QCOMPARE(StackForeground({code.toStdString()}), foreground);
    }

    // What a stack's codes count, and the icons of the next unit drawn into it.
    void stackRules_data() {
        QTest::addColumn<QString>("hint");
        QTest::addColumn<char>("kind");
        QTest::addColumn<int>("side");
        QTest::addColumn<int>("units");
        QTest::addColumn<int>("leaders");
        QTest::addColumn<bool>("full");
        QTest::addColumn<int>("background");
        QTest::addColumn<int>("foreground");  // of the hint with the next code appended
        QTest::addColumn<QString>("next");
        QTest::newRow("leader then unit") << "L06" << 'U' << 1 << 0 << 1 << false << 4 << 44 << "U20";
        QTest::newRow("unit then leader") << "U20" << 'L' << 0 << 1 << 0 << false << 0 << 44 << "L06";
        QTest::newRow("wagon then unit: the unit shows") << "S00" << 'U' << 0 << 1 << 0 << false << 1 << 13 << "U05";
        QTest::newRow("two wagons: the first code") << "S00" << 'S' << 1 << 1 << 0 << false << 5 << 45 << "S00";
        QTest::newRow("background stops at 4")
            << "U00,U01,U02,U03,U04" << 'U' << 1 << 5 << 0 << false << 7 << 8 << "U09";
        QTest::newRow("seven units take an eighth")
            << "U00,U00,U00,U00,U00,U00,U00" << 'L' << 0 << 7 << 0 << false << 3 << 44 << "L00";
        QTest::newRow("eight units are full")
            << "U00,U00,U00,S00,U00,U00,U00,U00" << 'L' << 0 << 8 << 0 << true << 3 << 44 << "L00";
        QTest::newRow("four leaders are full") << "L00,L00,L00,L00" << 'U' << 0 << 0 << 4 << true << 0 << 44 << "U00";
        QTest::newRow("code not a number shows entry 8") << "UXY" << 'U' << 0 << 1 << 0 << false << 1 << 8 << "UXY";
    }
    void stackRules() {
        QFETCH(QString, hint);
        QFETCH(char, kind);
        QFETCH(int, side);
        QFETCH(int, units);
        QFETCH(int, leaders);
        QFETCH(bool, full);
        QFETCH(int, background);
        QFETCH(int, foreground);
        QFETCH(QString, next);
        StackCodes codes;
        for (const QString& code : hint.split(QLatin1Char(','))) codes.push_back(code.toStdString());
        const StackCount count = CountStack(codes);
        QCOMPARE(count.Units, units);
        QCOMPARE(count.Leaders, leaders);
        QCOMPARE(StackFull(count), full);
        QCOMPARE(StackBackground(count, kind, static_cast<std::uint8_t>(side)), background);
        codes.push_back(next.toStdString());
        QCOMPARE(StackForeground(codes), foreground);
    }

    // Units drawn into one stack in turn: each draws over the ones before,
    // and a full stack refuses the next one only when the map's limit holds.
    void stackLayers() {
        const std::vector<StackUnit> nine(9, StackUnit{'U', 1, 3});
        const auto limited = StackLayers(nine, true), all = StackLayers(nine, false);
        QCOMPARE(limited.size(), std::size_t{8});
        QCOMPARE(all.size(), std::size_t{9});
        QVERIFY((all.front() == std::pair<int, int>{4, 11}));  // a new Union stack
        QVERIFY((all.back() == std::pair<int, int>{7, 11}));   // four or more units
        const std::vector<StackUnit> leaders(5, StackUnit{'L', 0, 0});
        QCOMPARE(StackLayers(leaders, true).size(), std::size_t{4});
        // A Read's stacks: by hex in the order first drawn into, placements in list order.
        TOobRec unit, leader;
        unit.Kind = 'U';
        leader.Kind = 'L';
        TSetupRec a{}, b{}, c{}, none{};
        a.Unit = &unit;
        a.Col = 5;
        b.Unit = &leader;
        b.Col = 2;
        c.Unit = &leader;
        c.Col = 5;
        const std::vector<const TSetupRec*> setups{&a, &none, &b, &c};
        const std::vector<HexStack> stacks = StacksAsRead(setups);
        QCOMPARE(stacks.size(), std::size_t{2});
        QVERIFY((stacks[0].Hex == HexPos{5, 0}) && (stacks[1].Hex == HexPos{2, 0}));
        QVERIFY((stacks[0].Layers == std::vector<std::pair<int, int>>{{0, 8}, {0, 44}}));
    }

    void statusTexts() {
        const std::pair<int, const char*> facings[] = {{1, "U"},   {2, "UR"}, {4, "DR"}, {8, "D"}, {16, "DL"},
                                                       {32, "UL"}, {0, "?"},  {3, "?"},  {64, "?"}};
        for (const auto& [facing, text] : facings)
            QCOMPARE(FacingText(static_cast<std::uint8_t>(facing)), std::string(text));
        QCOMPARE(FormationLetter(sfMounted | sfRouted), 'C');
        QCOMPARE(FormationLetter(sfDismounted), 'L');
    }

    void sheetCells() {
        QCOMPARE(IconSheetCell(0).Row, 3);
        QCOMPARE(IconSheetCell(3).Row, 4);
        QCOMPARE(IconSheetCell(3).Col, 2);
        QCOMPARE(IconSheetCell(7).Col, 8);
        QCOMPARE(IconSheetCell(19).Row, 8);
        QCOMPARE(IconSheetCell(19).Col, 11);
        QCOMPARE(IconSheetCell(20).Row, 9);
        QCOMPARE(IconSheetCell(43).Row, 10);
        QCOMPARE(IconSheetCell(43).Col, 11);
        QCOMPARE(IconSheetCell(45).Col, 2);
        QCOMPARE(IconSheetCell(46).Row, 1);
        QCOMPARE(IconSheetCell(47).Row, 2);
    }

    void parentDirectory_data() {
        QTest::addColumn<QString>("dir");
        QTest::addColumn<QString>("parent");
        QTest::newRow("one up") << "/game/scen/"
                                << "/game/";
        QTest::newRow("doubled slashes") << "/game/scen//"
                                         << "/game/";
        QTest::newRow("to the root") << "/game/"
                                     << "/";
        QTest::newRow("root stays") << "/"
                                    << "/";
        QTest::newRow("relative") << "scen/"
                                  << "";
        QTest::newRow("relative two deep") << "game/scen/"
                                           << "game/";
        QTest::newRow("empty") << ""
                               << "";
    }
    void parentDirectory() {
        QFETCH(QString, dir);
        QFETCH(QString, parent);
        QCOMPARE(QString::fromStdString(ParentDirectory(dir.toStdString())), parent);
    }

    void mapHeader_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("cols");  // -1: refused
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("message");
        QTest::newRow("CR LF") << QByteArray("1\r\n40 30\r\n1 0 0\r\n") << 40 << 30 << "";
        QTest::newRow("LF") << QByteArray("1\n254 255\n") << 254 << 255 << "";
        QTest::newRow("leading blanks on the size line") << QByteArray("1\r\n   7    9   \r\n") << 7 << 9 << "";
        QTest::newRow("converted map") << QByteArray("2\r\n40 30\r\n") << -1 << 0 << "Invalid first line";
        QTest::newRow("blank before") << QByteArray(" 1\r\n40 30\r\n") << -1 << 0 << "Invalid first line";
        QTest::newRow("blank after") << QByteArray("1 \r\n40 30\r\n") << -1 << 0 << "Invalid first line";
        QTest::newRow("empty file") << QByteArray() << -1 << 0 << "Invalid first line";
        QTest::newRow("zero columns") << QByteArray("1\r\n0 30\r\n") << -1 << 0 << "invalid Col Row in file";
        QTest::newRow("zero rows") << QByteArray("1\r\n40 0\r\n") << -1 << 0 << "invalid Col Row in file";
        // the scanner starts the line again for the second number
        QTest::newRow("one number") << QByteArray("1\r\n40\r\n") << 40 << 40 << "";
        QTest::newRow("no numbers") << QByteArray("1\r\nforty thirty\r\n") << -1 << 0 << "invalid Col Row in file";
        QTest::newRow("no size line") << QByteArray("1\r\n") << -1 << 0 << "invalid Col Row in file";
        QTest::newRow("negative") << QByteArray("1\r\n-40 30\r\n") << -1 << 0 << "invalid Col Row in file";
    }
    void mapHeader() {
        QFETCH(QByteArray, file);
        QFETCH(int, cols);
        QFETCH(int, rows);
        QFETCH(QString, message);
        QTemporaryDir dir;
        WriteText(dir.path() + "/MAIN.MAP", file);
        try {
            const MapGrid grid = ReadMapHeader(Bytes(dir.path() + "/MAIN.MAP"));
            QCOMPARE(grid.NumCols, cols);
            QCOMPARE(grid.NumRows, rows);
        } catch (const ScnError& e) {
            QCOMPARE(QString(e.what()), message);
        }
    }

    void missingMapFileNamesIt() {
        QTemporaryDir dir;
        try {
            ReadMapHeader(Bytes(dir.path() + "/MAIN.MAP"));
            QFAIL("no error");
        } catch (const ScnError& e) {
            QVERIFY(QString(e.what()).contains("MAIN.MAP"));
        }
    }

    void iconsAreCutFromTheirCellsWithWhiteTransparent() {
        const std::vector<QImage> icons = CutIcons(NumberedSheet());
        QCOMPARE(icons.size(), std::size_t(48));
        for (int entry = 0; entry < 48; ++entry) {
            const SheetCell cell = IconSheetCell(entry);
            const QImage& icon = icons[static_cast<std::size_t>(entry)];
            QCOMPARE(icon.size(), QSize(32, 32));
            QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
            QCOMPARE(icon.pixel(31, 31), qRgb(cell.Row, cell.Col, 7));
        }
        // A sheet too small for a cell leaves that cell transparent.
        const std::vector<QImage> small = CutIcons(NumberedSheet().copy(0, 0, 100, 100));
        QCOMPARE(qAlpha(small[44].pixel(5, 5)), 0);
    }

    // With no sheet in the game folder, the folder above it lends its sheet;
    // when it has none either, loading names the missing file.
    void missingSheetStepsUpOneDirectory() {
        QTemporaryDir dir;
        const QString game = dir.path() + "/game/scen/";
        QDir().mkpath(game);
        QVERIFY(NumberedSheet().save(dir.path() + "/game/icons2d.bmp", "BMP"));
        QCOMPARE(QString::fromStdString(IconSheetPath(Bytes(game))), dir.path() + "/game/icons2d.bmp");
        QCOMPARE(LoadIconList(Bytes(game))[44].pixel(9, 9), qRgb(11, 0, 7));

        QVERIFY(NumberedSheet().save(game + "ICONS2D.BMP", "BMP"));
        QCOMPARE(QString::fromStdString(IconSheetPath(Bytes(game))), game + "ICONS2D.BMP");

        QVERIFY(QFile::remove(game + "ICONS2D.BMP"));
        QVERIFY(QFile::remove(dir.path() + "/game/icons2d.bmp"));
        try {
            LoadIconList(Bytes(game));
            QFAIL("no error");
        } catch (const ScnError& e) {
            QVERIFY2(QString(e.what()).contains(dir.path() + "/game/ICONS2D.BMP"), e.what());
        }
    }

    // The fast reading of 24-bit BMP pictures gives what the toolkit's reader
    // gives, whatever the row padding.
    void bmpPicturesReadPixelForPixel_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        for (const int w : {1, 2, 3, 4, 5, 31})
            for (const int h : {1, 7}) QTest::addRow("%dx%d", w, h) << w << h;
    }
    void bmpPicturesReadPixelForPixel() {
        QFETCH(int, width);
        QFETCH(int, height);
        QImage picture(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                picture.setPixel(x, y, qRgb(x * 37 % 256, y * 53 % 256, (x + y) * 11 % 256));
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(picture.save(&buffer, "BMP"));
        QCOMPARE(int(bytes[28]), 24);
        QCOMPARE(DecodePicture(bytes, "x.bmp").convertToFormat(QImage::Format_RGB32), picture);
        // A picture cut short is refused, not shown half.
        QVERIFY_THROWS_EXCEPTION(ScnError, DecodePicture(bytes.left(bytes.size() - 1), "x.bmp"));
    }

    void badPicturesAreRefused() {
        QVERIFY_THROWS_EXCEPTION(ScnError, DecodePicture(QByteArray("BM not a picture"), "MAIN1.BMP"));
        QVERIFY_THROWS_EXCEPTION(ScnError, DecodePicture(QByteArray(), "MAIN1.BMP"));
        QImage one(3, 2, QImage::Format_RGB32);
        one.fill(qRgb(1, 2, 3));
        QTemporaryDir dir;
        QVERIFY(one.save(dir.path() + "/x.bmp", "BMP"));
        QFile f(dir.path() + "/x.bmp");
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QImage back = DecodePicture(f.readAll(), "x.bmp");
        QCOMPARE(back.size(), QSize(3, 2));
        QCOMPARE(back.pixel(2, 1), qRgb(1, 2, 3));
    }
};

QTEST_MAIN(TestHexGeom)
#include "test_hexgeom.moc"
