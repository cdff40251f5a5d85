// The window places kept in the settings, read and written without a window.
#include <QTest>

#include "editor/inifile.h"
#include "editor/windowplaces.h"

using namespace varno;

class TestWindowPlaces : public QObject {
    Q_OBJECT

private slots:
    void reading_data() {
        QTest::addColumn<QByteArray>("file");
        // EditTop EditLeft MapTop MapLeft MapHt MapWid OobWidth HexNumbers
        QTest::addColumn<QList<int>>("values");
        QTest::newRow("none") << QByteArray() << QList<int>{-1, -1, -1, -1, -1, -1, -1, 0};
        QTest::newRow("all") << QByteArray("[Forms]\r\nEditTop=10\r\nEditLeft=20\r\nMapTop=30\r\nMapLeft=40\r\n"
                                           "MapHt=500\r\nMapWid=600\r\n[Layout]\r\nOobWidth=321\r\nHexNumbers=1\r\n")
                             << QList<int>{10, 20, 30, 40, 500, 600, 321, 1};
        QTest::newRow("not a number") << QByteArray("[Forms]\nEditTop=ten\nMapWid=7x\n[Layout]\nOobWidth=\n")
                                      << QList<int>{-1, -1, -1, -1, -1, -1, -1, 0};
        QTest::newRow("width in the wrong section")
            << QByteArray("[Forms]\nOobWidth=300\n") << QList<int>{-1, -1, -1, -1, -1, -1, -1, 0};
        QTest::newRow("hex numbers only for 1")
            << QByteArray("[Layout]\nHexNumbers=yes\n") << QList<int>{-1, -1, -1, -1, -1, -1, -1, 0};
        QTest::newRow("negative kept") << QByteArray("[forms]\nedittop=-5\n")
                                       << QList<int>{-5, -1, -1, -1, -1, -1, -1, 0};
    }
    void reading() {
        QFETCH(QByteArray, file);
        QFETCH(QList<int>, values);
        const WindowPlaces p = WindowPlaces::Read(IniFile::FromBytes(file));
        QCOMPARE((QList<int>{p.EditTop, p.EditLeft, p.MapTop, p.MapLeft, p.MapHt, p.MapWid, p.OobWidth, p.HexNumbers}),
                 values);
        // Written and read back, every value stays.
        IniFile out = IniFile::FromBytes(QByteArray());
        p.Write(out);
        QCOMPARE(WindowPlaces::Read(IniFile::FromBytes(out.Bytes())), p);
    }
};

QTEST_GUILESS_MAIN(TestWindowPlaces)
#include "test_windowplaces.moc"
