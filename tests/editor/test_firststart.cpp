// Varno's first start: the user's copy of the installed demo game and the
// settings that name its scenario.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "editor/settings/firststart.h"
#include "editor/settings/inifile.h"
#include "tests/editor/editortestkit.h"

using namespace varno;

class TestFirstStart : public QObject {
    Q_OBJECT
    QTemporaryDir tmp_;
    QString installed_, user_, ini_;

    void install(const QString& name, const QByteArray& bytes) {
        QDir().mkpath(installed_);
        QFile f(installed_ + "/" + name);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    FirstStart first() const { return FirstStart(installed_, user_, ini_); }
    QString userFile(const QString& name) const { return user_ + "/" + name; }

private slots:
    void init() {
        QVERIFY(tmp_.isValid());
        const QString root = tmp_.path() + "/" + QTest::currentTestFunction() + "_" +
                             (QTest::currentDataTag() ? QTest::currentDataTag() : "");
        installed_ = root + "/usr/share/varno/demo";
        user_ = root + "/data/varno/demo";
        ini_ = root + "/config/varno/VARNO.INI";
        install("MAIN.OOB", "installed oob\r\n");
        install("DEMO.SCN", "installed scn\r\n");
        install("MAIN.MAP", "installed map\r\n");
    }

    void installedDemoIsBesideTheProgramsFolder_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("demo");
        QTest::newRow("usr") << "/usr/bin"
                             << "/usr/share/varno/demo";
        QTest::newRow("prefix") << "/opt/varno/bin"
                                << "/opt/varno/share/varno/demo";
        QTest::newRow("staged") << "/tmp/stage/usr/local/bin"
                                << "/tmp/stage/usr/local/share/varno/demo";
    }
    void installedDemoIsBesideTheProgramsFolder() {
        QFETCH(QString, program);
        QFETCH(QString, demo);
        QCOMPARE(FirstStart::InstalledDemoFolder(program), demo);
    }

    void userDemoFolder_data() {
        QTest::addColumn<QByteArray>("xdg");  // "<unset>" to unset it
        QTest::addColumn<QString>("folder");
        QTest::newRow("absolute") << QByteArray("/data/me") << "/data/me/varno/demo";
        QTest::newRow("unset") << QByteArray("<unset>") << "/home/me/.local/share/varno/demo";
        QTest::newRow("empty") << QByteArray("") << "/home/me/.local/share/varno/demo";
        QTest::newRow("relative") << QByteArray("data") << "/home/me/.local/share/varno/demo";
    }
    void userDemoFolder() {
        QFETCH(QByteArray, xdg);
        QFETCH(QString, folder);
        const QByteArray oldXdg = qgetenv("XDG_DATA_HOME"), oldHome = qgetenv("HOME");
        const bool hadXdg = qEnvironmentVariableIsSet("XDG_DATA_HOME");
        qputenv("HOME", "/home/me");
        if (xdg == "<unset>")
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", xdg);
        const QString got = FirstStart::UserDemoFolder();
        qputenv("HOME", oldHome);
        if (hadXdg)
            qputenv("XDG_DATA_HOME", oldXdg);
        else
            qunsetenv("XDG_DATA_HOME");
        QCOMPARE(got, folder);
    }

    void copiesEveryFileAndNamesTheCopysScenario() {
        install("MAIN1.BMP", QByteArray("BM\0\x01\xff", 5));
        FirstStart f = first();
        QCOMPARE(f.Run(), userFile("DEMO.SCN"));
        QVERIFY(f.Error().isEmpty());
        for (const char* name : {"MAIN.OOB", "DEMO.SCN", "MAIN.MAP", "MAIN1.BMP"})
            QCOMPARE(ReadBytes(userFile(name)), ReadBytes(installed_ + "/" + name));
        const IniFile ini(ini_);
        QCOMPARE(ini.ReadString("Paths", "SCNfile", "<none>"), userFile("DEMO.SCN"));
        QCOMPARE(ReadBytes(ini_), QByteArray("[Paths]\r\nSCNfile=" + QFile::encodeName(userFile("DEMO.SCN")) + "\r\n"));
    }

    void existingSettingsMeanNoFirstStart() {
        WriteGameFile(ini_, "[Paths]\nSCNfile=/games/x/A.SCN\n");
        const QByteArray before = ReadBytes(ini_);
        FirstStart f = first();
        QCOMPARE(f.Run(), QString());
        QVERIFY(f.Error().isEmpty());
        QVERIFY(!QFileInfo::exists(user_));
        QCOMPARE(ReadBytes(ini_), before);
    }

    void theUsersFilesAreNeverReplaced() {
        WriteGameFile(userFile("DEMO.SCN"), "my edited scenario\n");
        FirstStart f = first();
        QCOMPARE(f.Run(), userFile("DEMO.SCN"));
        QCOMPARE(ReadBytes(userFile("DEMO.SCN")), QByteArray("my edited scenario\r\n"));
        QCOMPARE(ReadBytes(userFile("MAIN.OOB")), QByteArray("installed oob\r\n"));
        QCOMPARE(ReadBytes(userFile("MAIN.MAP")), QByteArray("installed map\r\n"));
    }

    void nothingWithoutAnInstalledDemo_data() {
        QTest::addColumn<bool>("removeFolder");
        QTest::newRow("no demo folder (run from the build)") << true;
        QTest::newRow("demo without DEMO.SCN") << false;
    }
    void nothingWithoutAnInstalledDemo() {
        QFETCH(bool, removeFolder);
        if (removeFolder)
            QVERIFY(QDir(installed_).removeRecursively());
        else
            QVERIFY(QFile::remove(installed_ + "/DEMO.SCN"));
        FirstStart f = first();
        QCOMPARE(f.Run(), QString());
        QVERIFY(f.Error().isEmpty());
        QVERIFY(!QFileInfo::exists(user_));
        QVERIFY(!QFileInfo::exists(ini_));
    }

    void readOnlyInstalledFilesGiveWritableCopies() {
        for (const char* name : {"MAIN.OOB", "DEMO.SCN", "MAIN.MAP"})
            QVERIFY(QFile::setPermissions(installed_ + "/" + name, QFile::ReadOwner | QFile::ReadGroup));
        FirstStart f = first();
        QCOMPARE(f.Run(), userFile("DEMO.SCN"));
        // Bits, not a write attempt: the tests may run as root.
        for (const char* name : {"MAIN.OOB", "DEMO.SCN", "MAIN.MAP"})
            QVERIFY(QFile::permissions(userFile(name)) & QFile::WriteOwner);
    }

    // A failed copy leaves no settings, so the next start tries again.
    void aFolderThatCannotBeMadeWritesNoSettings() {
        WriteGameFile(tmp_.path() + "/" + QTest::currentTestFunction() + "_/data/varno", "a file, not a folder\n");
        FirstStart f = first();
        QCOMPARE(f.Run(), QString());
        QVERIFY2(f.Error().contains(user_), qPrintable(f.Error()));
        QVERIFY(!QFileInfo::exists(ini_));
    }

    void settingsThatCannotBeWrittenAreReported() {
        WriteGameFile(tmp_.path() + "/" + QTest::currentTestFunction() + "_/config/varno", "a file, not a folder\n");
        FirstStart f = first();
        QCOMPARE(f.Run(), QString());
        QVERIFY2(f.Error().contains(ini_), qPrintable(f.Error()));
        // The copy is made and kept; the next start finds it.
        QCOMPARE(ReadBytes(userFile("DEMO.SCN")), QByteArray("installed scn\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestFirstStart)
#include "test_firststart.moc"
