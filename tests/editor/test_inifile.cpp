// The settings file's reading and writing, line by line.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include "editor/settings/inifile.h"
#include "editor/widgets/textconv.h"
#include "tests/editor/editortestkit.h"

using namespace varno;

class TestIniFile : public QObject {
    Q_OBJECT
    QTemporaryDir tmp_;

    QString write(const QByteArray& text) {
        const QString path = tmp_.path() + "/VARNO.INI";
        WriteGameFile(path, text);
        return path;
    }

private slots:
    void reading_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");  // "<def>" when the default comes back
        QTest::newRow("plain") << QByteArray("[Paths]\nSCNfile=/a/B.SCN\n") << "Paths"
                               << "SCNfile"
                               << "/a/B.SCN";
        QTest::newRow("any case") << QByteArray("[PATHS]\nscnfile=/a/B.SCN\n") << "Paths"
                                  << "SCNfile"
                                  << "/a/B.SCN";
        QTest::newRow("blanks") << QByteArray(" [ Paths ] \n  SCNfile  =  /a/B C.SCN  \n") << "Paths"
                                << "SCNfile"
                                << "/a/B C.SCN";
        QTest::newRow("other section") << QByteArray("[Forms]\nSCNfile=x\n[Paths]\n") << "Paths"
                                       << "SCNfile"
                                       << "<def>";
        QTest::newRow("first wins") << QByteArray("[Paths]\nSCNfile=1\nSCNfile=2\n") << "Paths"
                                    << "SCNfile"
                                    << "1";
        QTest::newRow("comment") << QByteArray("[Paths]\n;SCNfile=1\n") << "Paths"
                                 << "SCNfile"
                                 << "<def>";
        QTest::newRow("equals in value") << QByteArray("[Paths]\nSCNfile=a=b\n") << "Paths"
                                         << "SCNfile"
                                         << "a=b";
        QTest::newRow("comma in value") << QByteArray("[Paths]\nSCNfile=/a,b/C.SCN\n") << "Paths"
                                        << "SCNfile"
                                        << "/a,b/C.SCN";
        QTest::newRow("empty value") << QByteArray("[Paths]\nSCNfile=\n") << "Paths"
                                     << "SCNfile"
                                     << "";
    }
    void reading() {
        QFETCH(QByteArray, file);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        const IniFile ini(write(file));
        QCOMPARE(ini.ReadString(section, key, "<def>"), value);
    }

    void linesEndedByLineFeedsAlone() {
        const QString path = tmp_.path() + "/LF.INI";
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Paths]\nSCNfile=x\n[Forms]\nEditTop=3");
        f.close();
        const IniFile ini(path);
        QCOMPARE(ini.ReadString("Paths", "SCNfile", "<def>"), QString("x"));
        QCOMPARE(ini.ReadInteger("Forms", "EditTop", -1), 3);
    }

    void integers_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("positive") << QByteArray("120") << 120;
        QTest::newRow("negative") << QByteArray("-5") << -5;
        QTest::newRow("blanks") << QByteArray(" 7 ") << 7;
        QTest::newRow("word") << QByteArray("abc") << -1;
        QTest::newRow("trailing") << QByteArray("12x") << -1;
        QTest::newRow("empty") << QByteArray("") << -1;
        QTest::newRow("too big") << QByteArray("99999999999") << -1;
    }
    void integers() {
        QFETCH(QByteArray, text);
        QFETCH(int, value);
        const IniFile ini(write("[Forms]\nEditTop=" + text + "\n"));
        QCOMPARE(ini.ReadInteger("Forms", "EditTop", -1), value);
    }

    // What the window keeps of a path read from the settings (file system
    // bytes) gives back the same text to write at closing.
    void pathsRoundTrip_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("plain") << QString("/home/u/games/DEMO.SCN");
        QTest::newRow("latin-1 letters") << QString::fromUtf8("/home/u/caf\xc3\xa9/DEMO.SCN");
        QTest::newRow("leading U+FEFF") << QString::fromUtf8("x").prepend(QChar(0xFEFF));
        QTest::newRow("only U+FEFF") << QString(QChar(0xFEFF));
        QTest::newRow("empty") << QString();
    }
    void pathsRoundTrip() {
        QFETCH(QString, path);
        QCOMPARE(PathText(PathBytes(path)), path);
    }

    // Read at start, written at closing, read again: the same settings.
    void settingsReadBackTheSame_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("typical") << QByteArray(
            "[Paths]\r\nOOBfile=/g/MAIN.OOB\r\nSCNfile=/g/A.SCN\r\n[Forms]\r\nMapHt=5\r\n");
        QTest::newRow("value begins with U+FEFF")
            << QByteArray("[Paths]\r\nOOBfile=\xef\xbb\xbf[Paths]\r\nSCN\xef\xbb\xbf[PMOZSCN\r\n\r\n[Fo");
        QTest::newRow("value begins with two byte-order marks")
            << QByteArray("[Paths]\r\nOOBfile=\xef\xbb\xbf\xef\xbb\xbf\r\n");
        QTest::newRow("file begins with a byte-order mark") << QByteArray("\xef\xbb\xbf[Paths]\nOOBfile=/g/MAIN.OOB\n");
        QTest::newRow("file begins with two byte-order marks") << QByteArray("\xef\xbb\xbf\xef\xbb\xbf[Paths]");
    }
    void settingsReadBackTheSame() {
        QFETCH(QByteArray, file);
        const auto oobOf = [](const IniFile& ini) {
            return PathBytes(ini.ReadString("Paths", "OOBfile", "C:\\KLV\\MAIN.OOB"));
        };
        IniFile first = IniFile::FromBytes(file);
        const std::string oob = oobOf(first);
        first.WriteString("Paths", "OOBfile", PathText(oob));
        first.WriteInteger("Forms", "MapHt", first.ReadInteger("Forms", "MapHt", -1));
        IniFile second = IniFile::FromBytes(first.Bytes());
        QCOMPARE(oobOf(second), oob);
        QCOMPARE(second.ReadInteger("Forms", "MapHt", -1), first.ReadInteger("Forms", "MapHt", -1));
        // Saving again changes nothing.
        second.WriteString("Paths", "OOBfile", PathText(oob));
        second.WriteInteger("Forms", "MapHt", first.ReadInteger("Forms", "MapHt", -1));
        QCOMPARE(second.Bytes(), first.Bytes());
    }

    void byteOrderMarksBeforeTheFirstSection_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("one") << QByteArray("\xef\xbb\xbf[Paths]\r\nSCNfile=x\r\n");
        QTest::newRow("two") << QByteArray("\xef\xbb\xbf\xef\xbb\xbf[Paths]\r\nSCNfile=x\r\n");
        QTest::newRow("three") << QByteArray("\xef\xbb\xbf\xef\xbb\xbf\xef\xbb\xbf[Paths]\r\nSCNfile=x\r\n");
    }
    void byteOrderMarksBeforeTheFirstSection() {
        QFETCH(QByteArray, file);
        const IniFile ini = IniFile::FromBytes(file);
        QCOMPARE(ini.ReadString("Paths", "SCNfile", "<def>"), QString("x"));
        QVERIFY(!ini.Bytes().startsWith("\xef\xbb\xbf"));
    }

    void aMissingFileGivesTheDefaults() {
        const IniFile ini(tmp_.path() + "/none/VARNO.INI");
        QCOMPARE(ini.ReadString("Paths", "SCNfile", ".SCN"), QString(".SCN"));
        QCOMPARE(ini.ReadInteger("Forms", "EditTop", -1), -1);
    }

    void writingKeepsTheRestOfTheFile() {
        const QString path = write("; mine\n[Paths]\nOOBfile=old\n\n[Other]\nx=1\n");
        IniFile ini(path);
        ini.WriteString("paths", "OOBfile", "new");
        ini.WriteString("Paths", "SCNfile", "s");
        ini.WriteInteger("Forms", "EditTop", -3);
        ini.UpdateFile();
        QCOMPARE(ReadBytes(path), QByteArray("; mine\r\n[Paths]\r\nOOBfile=new\r\nSCNfile=s\r\n\r\n[Other]\r\nx=1\r\n"
                                             "\r\n[Forms]\r\nEditTop=-3\r\n"));
    }

    void writingMakesTheFolder() {
        const QString path = tmp_.path() + "/a/b/VARNO.INI";
        IniFile ini(path);
        ini.WriteString("Paths", "SCNfile", "x");
        ini.UpdateFile();
        QCOMPARE(ReadBytes(path), QByteArray("[Paths]\r\nSCNfile=x\r\n"));
    }

    void aFileThatCannotBeWrittenNamesItself() {
        WriteGameFile(tmp_.path() + "/blocked", "a file, not a folder\n");
        IniFile ini(tmp_.path() + "/blocked/VARNO.INI");
        ini.WriteString("Paths", "SCNfile", "x");
        try {
            ini.UpdateFile();
            QFAIL("no error");
        } catch (const IniError& e) {
            QCOMPARE(QString(e.what()), "Unable to write to " + tmp_.path() + "/blocked/VARNO.INI");
        }
    }

    void theFolderFollowsXdgConfigHome() {
        const QByteArray oldXdg = qgetenv("XDG_CONFIG_HOME"), oldHome = qgetenv("HOME");
        qputenv("XDG_CONFIG_HOME", "/cfg");
        qputenv("HOME", "/home/u");
        QCOMPARE(SettingsFilePath(), QString("/cfg/varno/VARNO.INI"));
        qputenv("XDG_CONFIG_HOME", "relative/dir");
        QCOMPARE(SettingsFilePath(), QString("/home/u/.config/varno/VARNO.INI"));
        qunsetenv("XDG_CONFIG_HOME");
        QCOMPARE(SettingsFilePath(), QString("/home/u/.config/varno/VARNO.INI"));
        qputenv("XDG_CONFIG_HOME", oldXdg);
        qputenv("HOME", oldHome);
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "test_inifile.moc"
