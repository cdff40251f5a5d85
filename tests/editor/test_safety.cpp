// What the user meets of the safe-saving rules: settings that cannot be read
// or written, bytes kept as bytes, a file changed behind Varno's back, lines
// naming no unit.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

#include "editor/document/scndocument.h"
#include "editor/widgets/listbox.h"
#include "editor/widgets/textconv.h"
#include "tests/editor/editortestkit.h"

using namespace varno;

namespace {

void WriteRaw(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string ReadRaw(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

class TestSafety : public GameFolderTest {
    Q_OBJECT

private slots:
    void init() { setUpGame(); }
    void cleanup() { tearDownGame(); }

    // A settings file that is a FIFO: the window opens, closes, and the FIFO stays.
    void unreadableSettingsAreLeftAlone() {
        QDir().mkpath(QFileInfo(sandbox_->iniPath()).absolutePath());
        const QByteArray ini = QFile::encodeName(sandbox_->iniPath());
        QCOMPARE(mkfifo(ini.constData(), 0644), 0);
        {
            Forms f;
            QCOMPARE(f.edit->Ui().edScenarioPath->text(), QString(".SCN"));
            QVERIFY(f.edit->close());
            QVERIFY(f.ui.shown.isEmpty());
        }
        struct stat st {};
        QCOMPARE(stat(ini.constData(), &st), 0);
        QVERIFY(S_ISFIFO(st.st_mode));
    }

    // A Latin-1 scenario name and a line the program does not know: kept as
    // bytes from VARNO.INI through Read and Save back to VARNO.INI.
    void pathsAndUnknownLinesStayBytes() {
        const std::string dir = QFile::encodeName(game_).toStdString();
        const std::string latin = dir + "\xE9t\xE9.SCN";
        WriteRaw(latin, ReadRaw(dir + "CH_A.SCN"));
        const std::string iniText = "; caf\xE9 au lait\r\n[Paths]\r\nSCNfile=" + latin + "\r\n";
        WriteGameFile(sandbox_->iniPath(), QByteArray());
        WriteRaw(QFile::encodeName(sandbox_->iniPath()).toStdString(), iniText);
        {
            Forms f;
            ClickButton(f.edit->Ui().sbRead);
            QVERIFY(f.ui.errors().isEmpty());
            QVERIFY(f.edit->Ui().lbSetUnits->count() > 0);
            f.edit->Scn().Modified = true;
            ClickButton(f.edit->Ui().sbSave);
            QCOMPARE(f.edit->Ui().Status->text(), QString("Done"));
            QVERIFY(f.edit->close());
        }
        QCOMPARE(ReadRaw(dir + "OLDSCN1.TXT"), ReadRaw(dir + "CH_A.SCN"));
        // MAIN.OOB, CH_A.SCN, the Latin-1 one and OLDSCN1.TXT: no file of a mangled name.
        int files = 0;
        for (const auto& e : std::filesystem::directory_iterator(dir))
            files += e.path().filename().string().front() != '.';
        QCOMPARE(files, 4);
        const std::string saved = ReadRaw(QFile::encodeName(sandbox_->iniPath()).toStdString());
        QVERIFY(saved.rfind("; caf\xE9 au lait\r\n[Paths]\r\nSCNfile=" + latin + "\r\n", 0) == 0);
        // Browse gives the name as text, U+FFFD for each byte that is no UTF-8:
        // the file read is still the one of those bytes, not a new empty one.
        Forms f;
        f.ui.setNextFileName(PathText(latin));
        ClickButton(f.edit->Ui().bnBrowse);
        QVERIFY(f.ui.errors().isEmpty());
        QVERIFY(f.edit->Ui().lbSetUnits->count() > 0);
    }

    // Another program changed the file since the Read: Save asks first.
    void aFileChangedSinceReadIsNotOverwrittenUnasked() {
        Forms f;
        TypeInto(f.edit->Ui().edScenarioPath, game_ + "CH_A.SCN");
        ClickButton(f.edit->Ui().sbRead);
        WriteGameFile(game_ + "CH_A.SCN", FixtureScn() + "; another program's line\n");
        const QByteArray theirs = ReadBytes(game_ + "CH_A.SCN");
        f.edit->Scn().Modified = true;
        f.ui.setNextAnswer(Answer::Cancel);
        ClickButton(f.edit->Ui().sbSave);
        QCOMPARE(f.ui.questions(),
                 QStringList{"The scenario file was changed by another program since it was read. Save anyway?"});
        QCOMPARE(ReadBytes(game_ + "CH_A.SCN"), theirs);
        f.ui.setNextAnswer(Answer::Ok);
        ClickButton(f.edit->Ui().sbSave);
        QCOMPARE(f.edit->Ui().Status->text(), QString("Done"));
        QCOMPARE(ReadBytes(game_ + "OLDSCN1.TXT"), theirs);
        QVERIFY(f.ui.errors().isEmpty());
    }

    // Save writes the file read. A path field naming another file is a Save
    // As to it: beside the order of battle, asked before replacing, and never
    // over the game's own files.
    void saveToAnotherNameKeepsSaveAsRules() {
        Forms f;
        TypeInto(f.edit->Ui().edScenarioPath, game_ + "CH_A.SCN");
        ClickButton(f.edit->Ui().sbRead);
        WriteGameFile(game_ + "CH_B.SCN", FixtureScn() + "; theirs\n");
        WriteGameFile(game_ + "oldscn3.txt", "backup\n");
        QDir().mkpath(game_ + "other");
        const QStringList before = QDir(game_).entryList(QDir::Files | QDir::Hidden);
        const QByteArray oob = ReadBytes(game_ + "MAIN.OOB"), chA = ReadBytes(game_ + "CH_A.SCN"),
                         chB = ReadBytes(game_ + "CH_B.SCN");
        for (const char* name : {"MAIN.OOB", "main.map", "oldscn3.txt", "other/CH_C.SCN"}) {
            TypeInto(f.edit->Ui().edScenarioPath, game_ + name);
            ClickButton(f.edit->Ui().sbSave);
        }
        QCOMPARE(f.ui.errors(),
                 (QStringList{"MAIN.OOB is one of the game's files: choose another name",
                              "main.map is one of the game's files: choose another name",
                              "oldscn3.txt is one of the game's files: choose another name",
                              "A scenario is saved beside its order of battle: choose a name in " + game_}));
        QCOMPARE(ReadBytes(game_ + "MAIN.OOB"), oob);
        QCOMPARE(ReadBytes(game_ + "oldscn3.txt"), QByteArray("backup\r\n"));
        QVERIFY(!QFile::exists(game_ + "other/CH_C.SCN"));

        const QString replace = game_ + "CH_B.SCN already exists. Replace it?";
        TypeInto(f.edit->Ui().edScenarioPath, game_ + "CH_B.SCN");
        f.ui.setNextAnswer(Answer::Cancel);
        ClickButton(f.edit->Ui().sbSave);
        QCOMPARE(f.ui.questions(), QStringList{replace});
        QCOMPARE(QDir(game_).entryList(QDir::Files | QDir::Hidden), before);
        QCOMPARE(ReadBytes(game_ + "CH_B.SCN"), chB);

        f.ui.setNextAnswer(Answer::Ok);
        ClickButton(f.edit->Ui().sbSave);
        QCOMPARE(f.ui.questions(), (QStringList{replace, replace}));
        QCOMPARE(f.edit->Ui().Status->text(), QString("Done"));
        QCOMPARE(ReadBytes(game_ + "CH_B.SCN"), chA);
        QCOMPARE(ReadBytes(game_ + "OLDSCN1.TXT"), chB);
        QCOMPARE(ReadBytes(game_ + "CH_A.SCN"), chA);
        QCOMPARE(f.edit->Document().FilePath(), QFile::encodeName(game_ + "CH_B.SCN").toStdString());
        QCOMPARE(f.ui.errors().size(), 4);
    }

    // A refused Read leaves the path at the scenario the lists hold: Save writes
    // that file, and the refused one keeps its bytes, without a backup of it.
    void aRefusedReadLeavesSaveOnTheLoadedFile() {
        QDir().mkpath(game_ + "other");  // a folder without its order of battle
        WriteGameFile(game_ + "other/CH_B.SCN", FixtureScn());
        const QByteArray chB = ReadBytes(game_ + "other/CH_B.SCN");
        const std::string u16(std::string("\xFF\xFE"
                                          "1\0",
                                          4));
        WriteRaw(QFile::encodeName(game_ + "U16.SCN").toStdString(), u16);
        // A folder and a circle of links are no new scenarios either.
        QDir().mkpath(game_ + "D.SCN");
        QVERIFY(QFile::link("B.SCN", game_ + "A.SCN") && QFile::link("A.SCN", game_ + "B.SCN"));
        for (const QString& refused : {game_ + "U16.SCN", game_ + "other/CH_B.SCN", game_ + "D.SCN", game_ + "A.SCN"}) {
            Forms f;
            TypeInto(f.edit->Ui().edScenarioPath, game_ + "CH_A.SCN");
            ClickButton(f.edit->Ui().sbRead);
            TypeInto(f.edit->Ui().edScenarioPath, refused);
            ClickButton(f.edit->Ui().sbRead);
            QCOMPARE(f.ui.errors().size(), 1);
            QCOMPARE(f.edit->Ui().edScenarioPath->text(), game_ + "CH_A.SCN");
            QCOMPARE(f.edit->Ui().Status->text(), "Still open: " + game_ + "CH_A.SCN");
            f.edit->Scn().Modified = true;
            ClickButton(f.edit->Ui().sbSave);
            QCOMPARE(f.edit->Ui().Status->text(), QString("Done"));
            QCOMPARE(f.ui.errors().size(), 1);
        }
        QCOMPARE(ReadRaw(QFile::encodeName(game_ + "U16.SCN").toStdString()), u16);
        QCOMPARE(ReadBytes(game_ + "other/CH_B.SCN"), chB);
        QVERIFY(QFileInfo(game_ + "D.SCN").isDir());
        QVERIFY(QFileInfo(game_ + "A.SCN").isSymLink());
        QVERIFY(QFile::exists(game_ + "OLDSCN1.TXT"));
        QVERIFY(!QFile::exists(game_ + "other/OLDSCN1.TXT"));
    }

    // Release and command lines naming no unit: one message after the Read.
    void linesNamingNoUnitAreReportedOnce() {
        auto f = ReadFixtureGame(game_, FixtureScnWith("4 1863 7 1 9 0 9.9.9\n4 1863 7 1 9 0 9.9.8\n"));
        const QString note = "2 release and 0 command lines name units that are not in the order of battle; "
                             "saving will leave them out.";
        QCOMPARE(f->ui.texts(TestDialogs::Kind::Message), QStringList{note});
        QCOMPARE(f->edit->Ui().Status->text(), note);
    }
};

QTEST_MAIN(TestSafety)
#include "test_safety.moc"
