// Read as the user does it: type or keep a path, press Read, see the lists,
// the map notifications, the enabling, and the exact messages of bad files.
#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "editor/document/scndocument.h"
#include "editor/widgets/listbox.h"
#include "scenario/records.h"
#include "scenario/scenariobuilder.h"
#include "tests/editor/editortestkit.h"

using namespace varno;

namespace {

QStringList FixtureUnitLines() {
    QStringList l{"Army of the Test"};
    for (int i = 1; i <= 11; ++i) l << QString("Aide %1").arg(i);
    l << "XII Corps"
      << "Gen. Beta"
      << "Supply Train"
      << "1st Division"
      << "1st Brigade"
      << "500 3 I X 1st Maine"
      << "450 3 I X 2nd Maine"
      << "Army of the Hills"
      << "Gen. Gamma"
      << "300 2 C X 1st Cavalry";
    for (int i = 1; i <= 6; ++i) l << QString("Level %1").arg(i);
    l << "Deep Scout";
    return l;
}

bool ScenarioCommandsEnabled(TfrmEdit& e) {
    return e.Ui().Edit1->isEnabled() && e.Ui().View1->isEnabled() && e.Ui().Search1->isEnabled() &&
           e.Ui().mnuSave->isEnabled() && e.Ui().sbSave->isEnabled() && e.Ui().mnuRefreshMap->isEnabled() &&
           e.Ui().sbRefresh->isEnabled() && e.Ui().mnuSynchOOB->isEnabled() && e.Ui().mnuSearchUnit->isEnabled() &&
           e.Ui().mnuErrorCheck->isEnabled() && e.Ui().mnuViewMap->isEnabled();
}

bool ScenarioCommandsDisabled(TfrmEdit& e) {
    return !e.Ui().Edit1->isEnabled() && !e.Ui().View1->isEnabled() && !e.Ui().Search1->isEnabled() &&
           !e.Ui().mnuSave->isEnabled() && !e.Ui().sbSave->isEnabled() && !e.Ui().mnuRefreshMap->isEnabled() &&
           !e.Ui().sbRefresh->isEnabled() && !e.Ui().mnuSynchOOB->isEnabled() && !e.Ui().mnuSearchUnit->isEnabled() &&
           !e.Ui().mnuErrorCheck->isEnabled() && !e.Ui().mnuViewMap->isEnabled();
}

// Every list box shows its list, line i the record i.
void CheckListsInStep(TfrmEdit& e) {
    Scenario& s = e.Scn();
    QCOMPARE(e.Ui().lbUnits->count(), static_cast<int>(s.OobList().size()));
    for (int i = 0; i < e.Ui().lbUnits->count(); ++i)
        QCOMPARE(e.Ui().lbUnits->item(i)->text(), QString::fromLatin1(s.OobList()[i]->Display));
    QCOMPARE(e.Ui().lbSetUnits->count(), static_cast<int>(s.SetupList().size()));
    for (int i = 0; i < e.Ui().lbSetUnits->count(); ++i)
        QCOMPARE(e.Ui().lbSetUnits->item(i)->text(), QString::fromLatin1(s.SetupList()[i]->Unit->Display));
    QCOMPARE(e.Ui().lbReleases->count(), static_cast<int>(s.ReleaseList().size()));
    QCOMPARE(e.Ui().lbReinfor->count(), static_cast<int>(s.ReinfList().size()));
    QCOMPARE(e.Ui().lbCommands->count(), static_cast<int>(s.CommandList().size()));
    for (int i = 0; i < e.Ui().lbCommands->count(); ++i)
        QCOMPARE(e.Ui().lbCommands->item(i)->text(), QString::fromLatin1(s.CommandList()[i]->Unit->Display));
}

void Read(Forms& f, const QString& path) {
    TypeInto(f.edit->Ui().edScenarioPath, path);
    ClickButton(f.edit->Ui().sbRead);
}

}  // namespace

class TestRead : public QObject {
    Q_OBJECT
    SettingsSandbox sandbox_;
    QTemporaryDir tmp_;
    QString game_;

private slots:
    void init() {
        game_ = tmp_.path() + "/game/";
        QDir(game_).removeRecursively();
        WriteGameFile(game_ + "MAIN.OOB", FixtureOob());
        WriteGameFile(game_ + "CH_A.SCN", FixtureScn());
    }

    void readFillsEveryListAndEnablesTheCommands() {
        Forms f;
        Read(f, game_ + "CH_A.SCN");
        QCOMPARE(f.ui.shown.size(), 0);
        QCOMPARE(Lines(f.edit->Ui().lbUnits), FixtureUnitLines());
        QCOMPARE(Lines(f.edit->Ui().lbSetUnits), QStringList({"500 3 I X 1st Maine", "Aide 1", "XII Corps"}));
        QCOMPARE(Lines(f.edit->Ui().lbReinfor), QStringList({"Gen. Gamma ..."}));
        QCOMPARE(Lines(f.edit->Ui().lbReleases), QStringList({"Supply Train"}));
        QCOMPARE(Lines(f.edit->Ui().lbCommands), QStringList({"450 3 I X 2nd Maine"}));
        QCOMPARE(f.edit->Ui().lbReinUnits->count(), 0);
        CheckListsInStep(*f.edit);
        QVERIFY(ScenarioCommandsEnabled(*f.edit));
        QVERIFY(f.edit->Ui().Help1->isEnabled());
        QVERIFY(f.edit->Ui().mnuSearchHex->isEnabled());  // with the other Search items
        QCOMPARE(f.edit->Ui().edScenarioPath->text(), game_ + "CH_A.SCN");
    }

    void readNotifiesTheMapInOrder() {
        Forms f;
        Read(f, game_ + "CH_A.SCN");
        QCOMPARE(f.map.calls, QStringList({"ClearUnits", "Show", "DrawUnit 500 3 I X 1st Maine 5 6",
                                           "DrawUnit Aide 1 3 4", "DrawUnit XII Corps 7 7"}));
        QVERIFY(f.map.isVisible());
    }

    void mapErrorsAreShownAndTheReadGoesOn() {
        Forms f;
        f.map.clearError = "Invalid first line";
        f.map.showError = "invalid Col Row in file";
        Read(f, game_ + "CH_A.SCN");
        QCOMPARE(f.ui.errors(), QStringList({"Invalid first line", "invalid Col Row in file"}));
        QCOMPARE(f.edit->Ui().lbSetUnits->count(), 3);
        QVERIFY(ScenarioCommandsEnabled(*f.edit));
    }

    void menuOpenReads() {
        Forms f;
        TypeInto(f.edit->Ui().edScenarioPath, game_ + "CH_A.SCN");
        f.edit->Ui().mnuOpen->trigger();
        QCOMPARE(f.edit->Ui().lbUnits->count(), FixtureUnitLines().size());
        QVERIFY(ScenarioCommandsEnabled(*f.edit));
    }

    void aRelativePathIsMadeAbsolute() {
        Forms f;
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(tmp_.path()));
        Read(f, "game/CH_A.SCN");
        QCOMPARE(f.edit->Ui().edScenarioPath->text(), tmp_.path() + "/game/CH_A.SCN");
        // The Read moved into the game's folder; the path still names the file.
        QCOMPARE(QDir::currentPath() + "/", QDir(game_).absolutePath() + "/");
        ScenarioBuilder(f.edit->Scn()).SetupList().clear();
        ClickButton(f.edit->Ui().sbRead);
        QCOMPARE(f.ui.errors(), QStringList());
        QCOMPARE(f.edit->Ui().lbSetUnits->count(), 3);
        QDir::setCurrent(before);
    }

    void aMissingScenarioIsAnEmptyOne() {
        Forms f;
        Read(f, game_ + "NEW.SCN");
        QCOMPARE(f.ui.errors(), QStringList());
        QCOMPARE(f.edit->Ui().lbUnits->count(), FixtureUnitLines().size());
        QCOMPARE(f.edit->Ui().lbSetUnits->count(), 0);
        QVERIFY(ScenarioCommandsEnabled(*f.edit));
    }

    void badOrderOfBattle_data() {
        QTest::addColumn<QByteArray>("oob");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("unitLines");
        QTest::newRow("side") << QByteArray("H\nUnion A Army\n Begin\nEnd\nRebel A Rebels\n") << "Side missing L5"
                              << QStringList{"Army"};
        QTest::newRow("begin") << QByteArray("H\nUnion A Army\nStart\n") << "Missing begin L3" << QStringList{"Army"};
        QTest::newRow("leader") << QByteArray("H\nUnion A Army\n Begin\n  L 0 x 2 Gen. Bad\n")
                                << "Bad data L 0 x 2 Gen. Bad" << QStringList{"Army"};
        QTest::newRow("type") << QByteArray("H\nUnion A Army\n Begin\n  L 0 1 2 Gen. Good\n  X odd\n")
                              << "Unknown line type L5" << QStringList{"Army", "Gen. Good"};
        QTest::newRow("ends") << QByteArray("H\nEnd\n") << "Too many \"End\"s L2" << QStringList{};
        QByteArray deep = "H\nUnion A L1\nBegin\n";
        for (int i = 2; i <= 8; ++i) deep += "A L" + QByteArray::number(i) + "\nBegin\n";
        QTest::newRow("levels") << deep << "Too many org. levels L16"
                                << QStringList{"L1", "L2", "L3", "L4", "L5", "L6", "L7", "L8"};
    }
    void badOrderOfBattle() {
        QFETCH(QByteArray, oob);
        QFETCH(QString, message);
        QFETCH(QStringList, unitLines);
        WriteGameFile(game_ + "MAIN.OOB", oob);
        Forms f;
        Read(f, game_ + "CH_A.SCN");
        QCOMPARE(f.ui.errors(), QStringList{message});
        QCOMPARE(Lines(f.edit->Ui().lbUnits), unitLines);
        QVERIFY(f.map.calls.isEmpty());  // the map is not touched
        QVERIFY(!f.map.isVisible());
        QCOMPARE(f.edit->Ui().lbSetUnits->count(), 0);  // the scenario is not read
        QVERIFY(ScenarioCommandsDisabled(*f.edit));
        QVERIFY(f.edit->isVisible());
    }

    void noOrderOfBattle() {
        QFile::remove(game_ + "MAIN.OOB");
        Forms f;
        Read(f, game_ + "CH_A.SCN");
        QCOMPARE(f.ui.errors(), QStringList{"Order of Battle file not found: " + game_ + "MAIN.OOB"});
        QVERIFY(ScenarioCommandsDisabled(*f.edit));
    }

    void badScenarioLine_data() {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("setLines");
        QTest::addColumn<QStringList>("groupLines");
        QTest::newRow("setup numbers") << QByteArray("1 1.1 2 0 0 0 0 0 3 4\n1 1.2 x\n") << "Bad data in 1 1.2 x"
                                       << QStringList{"Aide 1", "Aide 2"} << QStringList{};
        QTest::newRow("setup unit") << QByteArray("1 1.1 2 0 0 0 0 0 3 4\n1 9.9 1 0 0 0 0 0 1 1\n")
                                    << "Not found: \r1 9.9 1 0 0 0 0 0 1 1" << QStringList{"Aide 1"} << QStringList{};
        QTest::newRow("group count") << QByteArray("2 1863 7 1 8 0 100 0 10 10 11 1\n    2.1\n")
                                     << "Bad count in 2 1863 7 1 8 0 100 0 10 10 11 1" << QStringList{}
                                     << QStringList{};
        QTest::newRow("group unit") << QByteArray("2 1863 7 1 8 0 100 0 10 10 2 1\n    2.1\n    9.9\n")
                                    << "Unit not found     9.9" << QStringList{} << QStringList{"Gen. Gamma ..."};
        QTest::newRow("extra unit") << QByteArray("2 1863 7 1 8 0 100 0 10 10 1 1\n    2.1\n    2.2\n")
                                    << "Extra unit     2.2" << QStringList{} << QStringList{"Gen. Gamma"};
    }
    void badScenarioLine() {
        QFETCH(QByteArray, lines);
        QFETCH(QString, message);
        QFETCH(QStringList, setLines);
        QFETCH(QStringList, groupLines);
        QByteArray scn;
        for (int i = 1; i <= 9; ++i) scn += "H\n";
        WriteGameFile(game_ + "BAD.SCN", scn + lines);
        Forms f;
        Read(f, game_ + "BAD.SCN");
        QCOMPARE(f.ui.errors(), QStringList{message});
        QCOMPARE(Lines(f.edit->Ui().lbUnits), FixtureUnitLines());
        QCOMPARE(Lines(f.edit->Ui().lbSetUnits), setLines);
        QCOMPARE(Lines(f.edit->Ui().lbReinfor), groupLines);
        CheckListsInStep(*f.edit);
        QVERIFY(ScenarioCommandsDisabled(*f.edit));
        QVERIFY(f.map.isVisible());  // the order of battle was read
    }

    void aFailedReadKeepsTheCommandsOfAnEarlierOne() {
        Forms f;
        Read(f, game_ + "CH_A.SCN");
        QVERIFY(ScenarioCommandsEnabled(*f.edit));
        WriteGameFile(game_ + "MAIN.OOB", "H\nRebel A Rebels\n");
        f.map.calls.clear();
        ClickButton(f.edit->Ui().sbRead);
        QCOMPARE(f.ui.errors(), QStringList{"Side missing L2"});
        QVERIFY(ScenarioCommandsEnabled(*f.edit));
        // The scenario lists are those of the earlier read, untouched.
        QCOMPARE(f.edit->Ui().lbSetUnits->count(), 3);
        QCOMPARE(f.edit->Ui().lbUnits->count(), 0);
        QVERIFY(f.map.calls.isEmpty());
    }

    void unsavedChangesAreAskedAbout() {
        Forms f;
        Read(f, game_ + "CH_A.SCN");
        f.edit->Scn().Modified = true;
        WriteGameFile(game_ + "CH_A.SCN", QByteArray("H\nH\nH\nH\nH\nH\nH\nH\nH\n"));

        f.ui.setNextAnswer(Answer::Cancel);
        ClickButton(f.edit->Ui().sbRead);
        QCOMPARE(f.ui.questions(), QStringList{"Changes have not been saved is this okay?"});
        QCOMPARE(f.edit->Ui().lbSetUnits->count(), 3);  // nothing read

        f.ui.clearShown();
        f.ui.setNextAnswer(Answer::Ok);
        ClickButton(f.edit->Ui().sbRead);
        QCOMPARE(f.ui.questions(), QStringList{"Changes have not been saved is this okay?"});
        QCOMPARE(f.edit->Ui().lbSetUnits->count(), 0);
        QVERIFY(!f.edit->Scn().Modified);  // the changes were given up: the Read is the new saved point
        QVERIFY(f.ui.allAnswersUsed());
    }

    void refreshMapRedrawsEveryPlacement() {
        Forms f;
        Read(f, game_ + "CH_A.SCN");
        const QStringList draws{"DrawUnit 500 3 I X 1st Maine 5 6", "DrawUnit Aide 1 3 4", "DrawUnit XII Corps 7 7"};
        f.map.calls.clear();
        ClickButton(f.edit->Ui().sbRefresh);
        QCOMPARE(f.map.calls, QStringList{"ClearUnits"} + draws);
        f.map.calls.clear();
        f.edit->Ui().mnuRefreshMap->trigger();
        QCOMPARE(f.map.calls, QStringList{"ClearUnits"} + draws);
        QVERIFY(!f.edit->Scn().Modified);
        QVERIFY(f.ui.shown.isEmpty());
    }

    void viewMapShowsTheMapAndF5Returns() {
        Forms f;
        Read(f, game_ + "CH_A.SCN");
        f.map.hide();
        f.edit->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.edit.get()));
        QTest::keyClick(f.edit.get(), Qt::Key_F5);
        QVERIFY(f.map.isVisible());
        QVERIFY(QTest::qWaitForWindowActive(&f.map));
        // From the map, the same key brings the main window back.
        QTest::keyClick(&f.map, Qt::Key_F5);
        QVERIFY(QTest::qWaitForWindowActive(f.edit.get()));
    }

    // The menus' other keys work from the map window too, once each.
    void menuKeysWorkFromTheMap() {
        Forms f;
        Read(f, game_ + "CH_A.SCN");
        f.map.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.map));
        QSignalSpy saves(f.edit->Ui().mnuSave, &QAction::triggered), reads(f.edit->Ui().mnuOpen, &QAction::triggered);
        QTest::keyClick(&f.map, Qt::Key_S, Qt::ControlModifier);
        QTest::keyClick(&f.map, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(saves.count(), 1);
        QCOMPARE(reads.count(), 1);
    }

    void namesAreShownAsLatin1() {
        WriteGameFile(game_ + "MAIN.OOB", "H\nUnion A Arm\xe9"
                                          "e du Nord\n Begin\n  L 0 1 2 G\xe9"
                                          "n. \xc9"
                                          "clair\n"
                                          "  L 0 x 2 G\xe9"
                                          "n. Faux\n");
        Forms f;
        Read(f, game_ + "CH_A.SCN");
        QCOMPARE(Lines(f.edit->Ui().lbUnits),
                 QStringList({QString::fromUtf8("Armée du Nord"), QString::fromUtf8("Gén. Éclair")}));
        QCOMPARE(f.ui.errors(), QStringList{QString::fromUtf8("Bad data L 0 x 2 Gén. Faux")});
    }

    void readTheDemo() {
        const QString demo = SourceDir() + "/demo/";
        if (!QFile::exists(demo + "MAIN.OOB") || !QFile::exists(demo + "DEMO.SCN")) QSKIP("no demo game yet");
        // Entries of the order of battle: every line after the header that is
        // neither an "End" nor the "Begin" after an organisation.
        int entries = 0;
        const QList<QByteArray> oob = ReadBytes(demo + "MAIN.OOB").split('\n');
        for (int i = 1; i < oob.size(); ++i) {
            const QByteArray t = oob[i].trimmed();
            if (!t.isEmpty() && !t.startsWith("End") && !t.contains("Begin")) ++entries;
        }
        int setups = 0;
        const QList<QByteArray> scn = ReadBytes(demo + "DEMO.SCN").split('\n');
        for (int i = 9; i < scn.size(); ++i)
            if (scn[i].startsWith('1'))
                ++setups;
            else
                break;

        Forms f;
        Read(f, demo + "DEMO.SCN");
        QCOMPARE(f.ui.shown.size(), 0);
        QCOMPARE(f.edit->Ui().lbUnits->count(), entries);
        QCOMPARE(f.edit->Ui().lbSetUnits->count(), setups);
        QVERIFY(f.edit->Ui().lbReleases->count() > 0);
        QVERIFY(f.edit->Ui().lbReinfor->count() > 0);
        QVERIFY(f.edit->Ui().lbCommands->count() > 0);
        CheckListsInStep(*f.edit);
        QVERIFY(ScenarioCommandsEnabled(*f.edit));
    }
};

QTEST_MAIN(TestRead)
#include "test_read.moc"
