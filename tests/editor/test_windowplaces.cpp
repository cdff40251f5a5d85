// The window places kept in the settings, read and written without a window.
#include <QTest>

#include "editor/settings/editsettings.h"
#include "editor/settings/inifile.h"
#include "editor/settings/windowplaces.h"

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

    // The paths: defaults when missing, bytes kept as bytes, and a write
    // that reads back equal.
    void paths() {
        const EditSettings none = EditSettings::Read(IniFile::FromBytes({}));
        QCOMPARE(none.OobPath, std::string("C:\\KLV\\MAIN.OOB"));
        QCOMPARE(none.ScnPath, std::string(".SCN"));
        EditSettings s =
            EditSettings::Read(IniFile::FromBytes("[Paths]\nSCNfile=/g/\xe9t\xe9.SCN\n[Layout]\nOobWidth=9\n"));
        QCOMPARE(s.ScnPath, std::string("/g/\xe9t\xe9.SCN"));
        QCOMPARE(s.OobPath, none.OobPath);
        QCOMPARE(s.Places.OobWidth, 9);
        s.OobPath = "/g/MAIN.OOB";
        IniFile out = IniFile::FromBytes({});
        s.Write(out);
        QVERIFY(EditSettings::Read(out) == s);
    }

    // A [Recent] entry longer than a path can be is ignored, and stays in
    // the file as it was; the other keys take the list.
    void recentSkipsOverlongEntries() {
        const QByteArray huge(10 * 1024 * 1024, 'p'), limit(kRecentPathMax, 'q');
        const QByteArray file =
            "[Recent]\r\nFile1=/g/A.SCN\r\nFile2=" + huge + "\r\nFile3=" + limit + "\r\nFile4=/g/" + huge + "\r\n";
        const EditSettings s = EditSettings::Read(IniFile::FromBytes(file));
        QCOMPARE(s.Recent, (std::vector<std::string>{"/g/A.SCN", limit.toStdString()}));
        IniFile out = IniFile::FromBytes(file);
        s.Write(out);
        // [Recent] is as it was; [Paths] and the places follow.
        QCOMPARE(out.Bytes().left(file.size()), file);

        std::vector<std::string> recent = s.Recent;
        AddRecent(recent, "/g/" + huge.toStdString());
        AddRecent(recent, "/g/B.SCN");
        QCOMPARE(recent, (std::vector<std::string>{"/g/B.SCN", "/g/A.SCN", limit.toStdString()}));
    }
};

QTEST_GUILESS_MAIN(TestWindowPlaces)
#include "test_windowplaces.moc"
