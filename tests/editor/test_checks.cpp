// The designer's helpers as the user runs them from the menus: the search
// for a unit or leader, the strength synchronisation, the overloaded-hex
// check and the two strength lists with their list window.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "Records.h"
#include "editortestkit.h"
#include "listbox.h"
#include "listform.h"

namespace {

// The fixture's order of battle with placements that break the limits:
// the wagon twice in hex 9,9 and the two Maine regiments (30 + 15 points,
// 1125 load) in hex 3,4; the cavalry alone at 1000 and a leader beside it.
QByteArray CrowdedScn() {
    QByteArray t;
    for (int i = 1; i <= 9; ++i) t += "Header line " + QByteArray::number(i) + "\n";
    t += "1 1.12.2 1 4 1 0 0 0 9 9\n"
         "1 1.12.3.1.1 1 4 30 0 0 0 3 4\n"
         "1 1.12.3.1.2 1 4 15 0 0 0 3 4\n"
         "1 1.12.2 1 4 1 0 0 0 9 9\n"
         "1 2.2 1 4 40 0 0 0 1 1\n"
         "1 2.1 1 4 0 0 0 0 1 1\n"
         "0\n"
         "1 0\n"
         "1\n"
         "1.12.3.1.2 1863 7 1 9 0 3 4 3\n";
    return t;
}

// Only a leader placed: no unit stands on the map.
QByteArray LeaderOnlyScn() {
    QByteArray t;
    for (int i = 1; i <= 9; ++i) t += "Header line " + QByteArray::number(i) + "\n";
    t += "1 1.1 2 0 0 0 0 0 3 4\n"
         "0\n"
         "1 0\n"
         "1\n"
         "1.12.3.1.2 1863 7 1 9 0 3 4 3\n";
    return t;
}

}  // namespace

class TestChecks : public QObject {
    Q_OBJECT
    SettingsSandbox sandbox_;
    QTemporaryDir tmp_;
    std::unique_ptr<Forms> f_;
    TfrmEdit* e_ = nullptr;

    void read(const QByteArray& scn) {
        WriteGameFile(tmp_.path() + "/MAIN.OOB", FixtureOob());
        WriteGameFile(tmp_.path() + "/CH_A.SCN", scn);
        f_ = std::make_unique<Forms>();
        e_ = f_->edit.get();
        TypeInto(e_->edScenarioPath, tmp_.path() + "/CH_A.SCN");
        ClickButton(e_->sbRead);
        QCOMPARE(f_->ui.errors(), QStringList());
        QCOMPARE(e_->lbUnits->count(), 29);
    }

    int selectedUnit() const {
        const int row = e_->lbUnits->currentRow();
        return row >= 0 && e_->lbUnits->item(row)->isSelected() ? row : -1;
    }

private slots:
    void cleanup() {
        if (f_) QCOMPARE(f_->ui.unanswered, 0);
        f_.reset();
        e_ = nullptr;
    }

    // -----------------------------------------------------------------------
    // Search

    void searchSelectsTheFirstLineHoldingTheText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("found");   // dot name of the line found; empty: none
        // The last line the walk showed; the dot-name lookup of a line found
        // clears it.
        QTest::addColumn<QString>("status");
        QTest::newRow("lower finds capitals") << "maine" << "1.12.3.1.1" << "";
        QTest::newRow("capitals find lower") << "GEN. GAMMA" << "2.1" << "";
        QTest::newRow("mixed, inside a line") << "sT cAV" << "2.2" << "";
        QTest::newRow("first line") << "army" << "1" << "";
        QTest::newRow("no line holds it") << "Texas" << "" << "Gen. Gamma";
        QTest::newRow("empty text") << "" << "" << "Gen. Gamma";
        QTest::newRow("not a Latin-1 text") << QString::fromUtf8("Maine \u2192") << "" << "Gen. Gamma";
    }
    void searchSelectsTheFirstLineHoldingTheText() {
        QFETCH(QString, text);
        QFETCH(QString, found);
        QFETCH(QString, status);
        read(FixtureScn());
        ClickLine(e_->lbUnits, FixtureRow("1.12.1"));
        f_->ui.setNextInput(text);
        e_->mnuSearchUnit->trigger();
        QCOMPARE(f_->ui.texts(TestDialogs::Kind::Prompt), QStringList{"Name?"});
        QCOMPARE(f_->ui.promptCaptions, QStringList{"Search for Unit / Leader"});
        QCOMPARE(e_->Status->text(), status);
        if (found.isEmpty()) {
            QCOMPARE(selectedUnit(), FixtureRow("1.12.1"));
            QCOMPARE(e_->edDotName->text(), QString("1.12.1"));
        } else {
            QCOMPARE(selectedUnit(), FixtureRow(found.toLatin1().constData()));
            QCOMPARE(e_->edDotName->text(), found);
            QCOMPARE(e_->Scn().CurOob, e_->Scn().OobList[FixtureRow(found.toLatin1().constData())]);
        }
    }

    void searchFollowsIntoThePlacementAndRepeats() {
        read(FixtureScn());
        // F3 from the keyboard, twice: every search starts at the first line.
        for (int i = 0; i < 2; ++i) {
            f_->ui.setNextInput(QString("2nd maine"));
            e_->activateWindow();
            QTest::keyClick(e_, Qt::Key_F3);
            QCOMPARE(selectedUnit(), FixtureRow("1.12.3.1.2"));
        }
        QCOMPARE(f_->ui.texts(TestDialogs::Kind::Prompt).size(), 2);
        // 1st Maine is placed: the found entry's placement is selected too.
        f_->ui.setNextInput(QString("1st MAINE"));
        e_->mnuSearchUnit->trigger();
        QCOMPARE(e_->lbSetUnits->currentRow(), 0);
        QCOMPARE(e_->Scn().CurSetup, e_->Scn().SetupList[0]);
    }

    void cancelledSearchChangesNothing() {
        read(FixtureScn());
        ClickLine(e_->lbUnits, FixtureRow("2"));
        e_->Status->setText("before");
        f_->ui.setNextInput(std::nullopt);
        e_->mnuSearchUnit->trigger();
        QCOMPARE(selectedUnit(), FixtureRow("2"));
        QCOMPARE(e_->Status->text(), QString("before"));
    }

    // -----------------------------------------------------------------------
    // Synch

    void synchCopiesTheOrderOfBattleStrengths() {
        read(FixtureScn());
        auto& scn = e_->Scn();
        QCOMPARE(scn.SetupList[0]->Strength, std::uint8_t{200});
        QVERIFY(!scn.Modified);
        e_->mnuSynchOOB->trigger();
        QCOMPARE(scn.SetupList[0]->Strength, std::uint8_t{500 & 0xFF});  // 1st Maine: 500 in the order of battle
        QCOMPARE(scn.SetupList[1]->Strength, std::uint8_t{0});           // a leader
        QVERIFY(scn.Modified);

        // What lands in the file on Save.
        ClickButton(e_->sbSave);
        QVERIFY(ReadBytes(tmp_.path() + "/CH_A.SCN").contains("1 1.12.3.1.1 1 0 244 "));
        QVERIFY(!scn.Modified);
        // Nothing left to change: the scenario stays unmodified.
        e_->mnuSynchOOB->trigger();
        QVERIFY(!scn.Modified);
    }

    void synchKeepsTheSelectedPlacementCurrent() {
        read(FixtureScn());
        ClickLine(e_->lbSetUnits, 0);
        auto& scn = e_->Scn();
        QCOMPARE(scn.CurSetup, scn.SetupList[0]);
        e_->mnuSynchOOB->trigger();
        QCOMPARE(scn.SetupList[0]->Strength, std::uint8_t{244});
        QCOMPARE(scn.CurSetup, scn.SetupList[0]);
        QCOMPARE(e_->lbSetUnits->currentRow(), 0);
        QVERIFY(e_->lbSetUnits->currentItem()->isSelected());
        QCOMPARE(f_->ui.errors(), QStringList());
    }

    // -----------------------------------------------------------------------
    // Overloaded hexes

    void checkListsTheOverloadedHexes() {
        read(CrowdedScn());
        QVERIFY(!e_->frmList);
        e_->mnuErrorCheck->trigger();
        QVERIFY(e_->frmList);
        TfrmList* list = e_->frmList;
        QVERIFY(list->isVisible());
        QCOMPARE(list->windowTitle(), QString("Overfilled hexes"));
        QCOMPARE(Lines(list->lbList), QStringList({"9,9 Too many wagons", "3,4 Overfilled"}));
        QCOMPARE(list->size(), QSize(200, 300));
        QCOMPARE(e_->Status->text(), QString("  Done"));
        QVERIFY(!e_->Scn().Modified);

        // The second wagon drives off: no finding left, and the window,
        // still showing, is emptied but keeps its caption.
        e_->Scn().SetupList[3]->Col = 8;
        e_->mnuErrorCheck->trigger();
        QCOMPARE(e_->frmList, list);
        QCOMPARE(Lines(list->lbList), QStringList({"3,4 Overfilled"}));
        e_->Scn().SetupList[2]->Row = 5;
        e_->mnuErrorCheck->trigger();
        QCOMPARE(list->lbList->count(), 0);
        QCOMPARE(list->windowTitle(), QString("Overfilled hexes"));
        QCOMPARE(e_->Status->text(), QString("  Done"));
    }

    void checkWithoutFindingsMakesNoWindow() {
        read(FixtureScn());
        e_->mnuErrorCheck->trigger();
        QVERIFY(!e_->frmList);
        QCOMPARE(e_->Status->text(), QString("  Done"));
    }

    // -----------------------------------------------------------------------
    // Strength lists

    void strengthLists_data() {
        QTest::addColumn<bool>("fromScenario");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("SCN") << true << "Organizational Strength from Start of Scenario"
                             << QStringList({"Army of the Test   5000", "  XII Corps   5000", "    1st Division   5000",
                                             "      1st Brigade   5000"});
        QTest::newRow("OOB") << false << "Organizational Strength from Order of Battle"
                             << QStringList({"Army of the Test  23750", "  XII Corps  23750",
                                             "    1st Division  23750", "      1st Brigade  23750",
                                             "Army of the Hills   7500"});
    }
    void strengthLists() {
        QFETCH(bool, fromScenario);
        QFETCH(QString, caption);
        QFETCH(QStringList, lines);
        read(FixtureScn());
        (fromScenario ? e_->mnuStrengthSCN : e_->mnuStrengthOOB)->trigger();
        TfrmList* list = e_->frmList;
        QVERIFY(list && list->isVisible());
        QCOMPARE(list->windowTitle(), caption);
        QCOMPARE(Lines(list->lbList), lines);
        QCOMPARE(list->size(), QSize(400, 500));
        // Twice gives the same lines.
        (fromScenario ? e_->mnuStrengthSCN : e_->mnuStrengthOOB)->trigger();
        QCOMPARE(Lines(list->lbList), lines);
        QVERIFY(!e_->Scn().Modified);
    }

    void noUnitPlacedGivesAnEmptyList() {
        read(LeaderOnlyScn());
        e_->mnuStrengthSCN->trigger();
        QVERIFY(e_->frmList && e_->frmList->isVisible());
        QCOMPARE(e_->frmList->lbList->count(), 0);
        QCOMPARE(e_->frmList->windowTitle(), QString("Organizational Strength from Start of Scenario"));
    }

    void oneListWindowWithItsSizeRules() {
        read(CrowdedScn());
        e_->mnuStrengthOOB->trigger();
        TfrmList* list = e_->frmList;
        QVERIFY(list);
        QCOMPARE(list->objectName(), QString("frmList"));
        QCOMPARE(list->lbList->objectName(), QString("lbList"));
        QVERIFY(QFontInfo(list->lbList->font()).fixedPitch());

        // The user makes it tall: a strength list keeps that size, the check
        // sets its own.
        list->resize(300, 650);
        e_->mnuStrengthSCN->trigger();
        QCOMPARE(list->size(), QSize(300, 650));
        e_->mnuErrorCheck->trigger();
        QCOMPARE(e_->frmList, list);
        QCOMPARE(list->size(), QSize(200, 300));

        // Closed by the user: hidden, kept, shown again by the next list.
        list->close();
        QVERIFY(!list->isVisible());
        e_->mnuStrengthSCN->trigger();
        QCOMPARE(e_->frmList, list);
        QVERIFY(list->isVisible());
        QCOMPARE(list->size(), QSize(400, 500));

        // Minimised: brought back.
        list->showMinimized();
        e_->mnuErrorCheck->trigger();
        QVERIFY(!list->isMinimized());
        QVERIFY(list->isVisible());
    }

    void listWindowLinesAreSixteenPixelsHigh() {
        read(CrowdedScn());
        e_->mnuErrorCheck->trigger();
        QListWidget* box = e_->frmList->lbList;
        QVERIFY(box->count() > 0);
        QCOMPARE(box->visualItemRect(box->item(0)).height(), 16);
    }
};

QTEST_MAIN(TestChecks)
#include "test_checks.moc"
