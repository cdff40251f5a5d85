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
        QTest::addColumn<QList<int>>("values");  // EditTop EditLeft MapTop MapLeft MapHt MapWid OobWidth
        QTest::newRow("none") << QByteArray() << QList<int>{-1, -1, -1, -1, -1, -1, -1};
        QTest::newRow("all") << QByteArray("[Forms]\r\nEditTop=10\r\nEditLeft=20\r\nMapTop=30\r\nMapLeft=40\r\n"
                                           "MapHt=500\r\nMapWid=600\r\n[Layout]\r\nOobWidth=321\r\n")
                             << QList<int>{10, 20, 30, 40, 500, 600, 321};
        QTest::newRow("not a number") << QByteArray("[Forms]\nEditTop=ten\nMapWid=7x\n[Layout]\nOobWidth=\n")
                                      << QList<int>{-1, -1, -1, -1, -1, -1, -1};
        QTest::newRow("width in the wrong section")
            << QByteArray("[Forms]\nOobWidth=300\n") << QList<int>{-1, -1, -1, -1, -1, -1, -1};
        QTest::newRow("negative kept") << QByteArray("[forms]\nedittop=-5\n") << QList<int>{-5, -1, -1, -1, -1, -1, -1};
    }
    void reading() {
        QFETCH(QByteArray, file);
        QFETCH(QList<int>, values);
        const WindowPlaces p = WindowPlaces::Read(IniFile::FromBytes(file));
        QCOMPARE((QList<int>{p.EditTop, p.EditLeft, p.MapTop, p.MapLeft, p.MapHt, p.MapWid, p.OobWidth}), values);
    }

    // What is written reads back the same; new sections, each after a blank line,
    // [Forms] after [Paths] and before [Layout].
    void writingReadsBack() {
        IniFile ini = IniFile::FromBytes("[Paths]\r\nSCNfile=/g/A.SCN\r\n");
        const WindowPlaces p{1, 2, 3, 4, 5, 6, 7};
        p.Write(ini);
        QCOMPARE(WindowPlaces::Read(ini), p);
        QCOMPARE(ini.Bytes(),
                 QByteArray("[Paths]\r\nSCNfile=/g/A.SCN\r\n\r\n[Forms]\r\nEditTop=1\r\nEditLeft=2\r\n"
                            "MapTop=3\r\nMapLeft=4\r\nMapHt=5\r\nMapWid=6\r\n\r\n[Layout]\r\nOobWidth=7\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestWindowPlaces)
#include "test_windowplaces.moc"
