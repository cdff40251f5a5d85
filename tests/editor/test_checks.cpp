// The designer's helpers as the user runs them from the menus: the search
// for a unit or leader, the strength synchronisation, the overloaded-hex
// check and the two strength lists with their list window.
#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "editor/document/scndocument.h"
#include "editor/pages/setunitspage.h"
#include "editor/widgets/listbox.h"
#include "editor/widgets/numedit.h"
#include "editor/windows/backupswindow.h"
#include "editor/windows/listform.h"
#include "editor/windows/schedulewindow.h"
#include "scenario/records.h"
#include "scenario/scnedit.h"
#include "tests/editor/editortestkit.h"

using namespace varno;

namespace {

// The fixture's order of battle with placements that break the limits:
// the wagon twice in hex 9,9 and the two Maine regiments (30 + 15 points,
// 1125 load) in hex 3,4; the cavalry alone at 1000 and a leader beside it.
QByteArray CrowdedScn() {
    return FixtureScnWith("1 1.12.2 1 4 1 0 0 0 9 9\n"
                          "1 1.12.3.1.1 1 4 30 0 0 0 3 4\n"
                          "1 1.12.3.1.2 1 4 15 0 0 0 3 4\n"
                          "1 1.12.2 1 4 1 0 0 0 9 9\n"
                          "1 2.2 1 4 40 0 0 0 1 1\n"
                          "1 2.1 1 4 0 0 0 0 1 1\n");
}

// Only a leader placed: no unit stands on the map.
QByteArray LeaderOnlyScn() { return FixtureScnWith("1 1.1 2 0 0 0 0 0 3 4\n"); }

}  // namespace

class TestChecks : public QObject {
    Q_OBJECT
    SettingsSandbox sandbox_;
    QTemporaryDir tmp_;
    std::unique_ptr<Forms> f_;
    TfrmEdit* e_ = nullptr;

    void read(const QByteArray& scn) {
        f_ = ReadFixtureGame(tmp_.path(), scn);
        e_ = f_->edit.get();
        QCOMPARE(f_->ui.errors(), QStringList());
        QCOMPARE(e_->Ui().lbUnits->count(), 29);
    }

    int selectedUnit() const {
        const int row = e_->Ui().lbUnits->currentRow();
        return row >= 0 && e_->Ui().lbUnits->item(row)->isSelected() ? row : -1;
    }

private slots:
    void cleanup() {
        if (f_) QCOMPARE(f_->ui.unanswered, 0);
        f_.reset();
        e_ = nullptr;
    }

    void search_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("found");   // dot name of the line found; empty: none
        QTest::addColumn<int>("setupLine");   // selected line of lbSetUnits afterwards
        QTest::addColumn<QString>("status");  // the last line the walk showed
        QTest::newRow("lower finds capitals") << "maine"
                                              << "1.12.3.1.1" << 0 << "Aide 10";
        QTest::newRow("capitals find lower") << "GEN. GAMMA"
                                             << "2.1" << -1 << "Gen. Gamma";
        QTest::newRow("inside a line") << "sT cAV"
                                       << "2.2" << -1 << "Gen. Gamma";
        QTest::newRow("no line holds it") << "Texas"
                                          << "" << -1 << "Gen. Gamma";
        QTest::newRow("empty text") << ""
                                    << "" << -1 << "Gen. Gamma";
        QTest::newRow("not Latin-1") << QString::fromUtf8("Maine \u2192") << "" << -1 << "Gen. Gamma";
    }
    void search() {
        QFETCH(QString, text);
        QFETCH(QString, found);
        QFETCH(int, setupLine);
        QFETCH(QString, status);
        read(FixtureScn());
        ClickLine(e_->Ui().lbUnits, FixtureRow("1.12.1"));
        // Twice, by F3: every search starts again at the first line. (The
        // first one's dot-name lookup cleared the status; the second finds
        // the name already shown.)
        for (int i = 0; i < 2; ++i) {
            f_->ui.setNextInput(text);
            e_->activateWindow();
            QTest::keyClick(e_, Qt::Key_F3);
        }
        QCOMPARE(f_->ui.texts(TestDialogs::Kind::Prompt), QStringList({"Name?", "Name?"}));
        QCOMPARE(f_->ui.promptCaptions.value(0), QString("Search for Unit / Leader"));
        QCOMPARE(e_->Ui().Status->text(), status);
        const QString selected = found.isEmpty() ? QString("1.12.1") : found;
        QCOMPARE(selectedUnit(), FixtureRow(selected.toLatin1().constData()));
        QCOMPARE(e_->Ui().edDotName->text(), selected);
        QCOMPARE(e_->Ui().lbSetUnits->currentRow(), setupLine);

        f_->ui.setNextInput(std::nullopt);  // Cancel: nothing moves
        e_->Ui().mnuSearchUnit->trigger();
        QCOMPARE(selectedUnit(), FixtureRow(selected.toLatin1().constData()));
        QCOMPARE(e_->Ui().Status->text(), status);
    }

    void synch() {
        read(FixtureScn());
        auto& scn = e_->Scn();
        ClickLine(e_->Ui().lbSetUnits, 0);
        int differing = 0;
        for (const TSetupRec* rec : scn.SetupList()) differing += rec->Unit && rec->Strength != OobStrength(*rec->Unit);
        e_->Ui().mnuSynchOOB->trigger();
        QCOMPARE(e_->Ui().Status->text(), QString("Synch w/ OOB: %1 placements changed").arg(differing));
        QCOMPARE(scn.SetupList()[0]->Strength, std::uint8_t{500 & 0xFF});  // 1st Maine: 500 in the order of battle
        QCOMPARE(scn.SetupList()[1]->Strength, std::uint8_t{0});           // a leader
        QVERIFY(scn.Modified);
        // The selected placement stays selected and current.
        QCOMPARE(e_->Document().Sel().CurSetup(), scn.SetupList()[0]);
        QVERIFY(e_->Ui().lbSetUnits->currentItem()->isSelected());
        // The page shows the new strength, and its next store keeps it.
        QCOMPARE(e_->Ui().pgSetUnits->edStrength->text(), QString("244"));
        ClickLine(e_->Ui().lbSetUnits, 1);
        QCOMPARE(scn.SetupList()[0]->Strength, std::uint8_t{244});

        ClickButton(e_->Ui().sbSave);
        QVERIFY(ReadBytes(tmp_.path() + "/CH_A.SCN").contains("1 1.12.3.1.1 1 0 244 "));
        // Nothing left to change: the scenario stays unmodified.
        e_->Ui().mnuSynchOOB->trigger();
        QVERIFY(!scn.Modified);
        QCOMPARE(e_->Ui().Status->text(), QString("Synch w/ OOB: 0 placements changed"));
    }

    void overloadedHexes() {
        read(FixtureScn());
        e_->Ui().mnuErrorCheck->trigger();  // nothing found: no window
        QVERIFY(!e_->frmList());
        QCOMPARE(e_->Ui().Status->text(), QString("  Done"));

        read(CrowdedScn());
        e_->Ui().mnuErrorCheck->trigger();
        TfrmList* list = e_->frmList();
        QVERIFY(list && list->isVisible());
        QCOMPARE(list->windowTitle(), QString("Overfilled hexes"));
        QCOMPARE(Lines(list->lbList), QStringList({"9,9 Too many wagons", "3,4 Overfilled"}));
        QCOMPARE(list->height(), 300);
        QCOMPARE(e_->Ui().Status->text(), QString("  Done"));
        QVERIFY(!e_->Scn().Modified);

        // The placements move apart: the window is emptied and keeps its caption.
        Scenario& scn = e_->Scn();
        MoveSetup(scn, scn.SetupList()[3], 8, scn.SetupList()[3]->Row, e_->ListLines(), e_->Document().Step());
        MoveSetup(scn, scn.SetupList()[2], scn.SetupList()[2]->Col, 5, e_->ListLines(), e_->Document().Step());
        e_->Ui().mnuErrorCheck->trigger();
        QCOMPARE(e_->frmList(), list);
        QCOMPARE(list->lbList->count(), 0);
        QCOMPARE(list->windowTitle(), QString("Overfilled hexes"));
    }

    // The windows the menus open lie on the screen clear of the main window,
    // show their whole titles, and Esc closes them.
    void toolWindowsBehave() {
        read(CrowdedScn());
        e_->resize(300, 300);
        e_->move(0, 0);
        e_->Ui().mnuErrorCheck->trigger();
        e_->Ui().mnuSchedule->trigger();
        e_->Ui().mnuBackups->trigger();
        QFont bold = QApplication::font();
        bold.setBold(true);
        const QRect screen = e_->screen()->availableGeometry();
        for (QWidget* w : {static_cast<QWidget*>(e_->frmList()), static_cast<QWidget*>(e_->frmSchedule()),
                           static_cast<QWidget*>(e_->frmBackups())}) {
            QVERIFY2(w->isVisible(), qPrintable(w->windowTitle()));
            QVERIFY2(screen.contains(w->frameGeometry()), qPrintable(w->windowTitle()));
            // The icon and three buttons of a title bar: 3 x 32 pixels at least.
            QVERIFY2(w->width() >= QFontMetrics(bold).horizontalAdvance(w->windowTitle()) + 96,
                     qPrintable(w->windowTitle()));
        }
        // The list came first: nothing but the main window to keep clear of.
        QVERIFY(!e_->frmList()->frameGeometry().intersects(e_->frameGeometry()));
        for (QWidget* w : {static_cast<QWidget*>(e_->frmBackups()), static_cast<QWidget*>(e_->frmSchedule()),
                           static_cast<QWidget*>(e_->frmList())}) {
            w->activateWindow();
            QTRY_VERIFY(w->isActiveWindow());
            QTest::keyClick(w, Qt::Key_Escape);
            QVERIFY2(!w->isVisible(), qPrintable(w->windowTitle()));
        }
    }

    void strengthLists_data() {
        QTest::addColumn<QByteArray>("scn");
        QTest::addColumn<bool>("fromScenario");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("lines");
        const QString from = "Organizational Strength from ";
        QTest::newRow("SCN") << FixtureScn() << true << from + "Start of Scenario"
                             << QStringList({"Army of the Test   5000", "  XII Corps   5000", "    1st Division   5000",
                                             "      1st Brigade   5000"});
        QTest::newRow("OOB") << FixtureScn() << false << from + "Order of Battle"
                             << QStringList({"Army of the Test  23750", "  XII Corps  23750", "    1st Division  23750",
                                             "      1st Brigade  23750", "Army of the Hills   7500"});
        QTest::newRow("no unit placed") << LeaderOnlyScn() << true << from + "Start of Scenario" << QStringList();
    }
    void strengthLists() {
        QFETCH(QByteArray, scn);
        QFETCH(bool, fromScenario);
        QFETCH(QString, caption);
        QFETCH(QStringList, lines);
        read(scn);
        for (int i = 0; i < 2; ++i) {  // twice gives the same lines
            (fromScenario ? e_->Ui().mnuStrengthSCN : e_->Ui().mnuStrengthOOB)->trigger();
            TfrmList* list = e_->frmList();
            QVERIFY(list && list->isVisible());
            QCOMPARE(list->windowTitle(), caption);
            QCOMPARE(Lines(list->lbList), lines);
            QCOMPARE(list->height(), 500);  // and wide enough for the caption
            QVERIFY(list->width() >= 400);
        }
        QVERIFY(!e_->Scn().Modified);
    }

    void oneListWindowWithItsSizeRules() {
        read(CrowdedScn());
        e_->Ui().mnuStrengthOOB->trigger();
        TfrmList* list = e_->frmList();
        QVERIFY(list);
        QCOMPARE(list->objectName(), QString("frmList"));
        QCOMPARE(list->lbList->objectName(), QString("lbList"));
        QVERIFY(QFontInfo(list->lbList->font()).fixedPitch());
        QCOMPARE(list->lbList->visualItemRect(list->lbList->item(0)).height(), 16);

        // Made tall by the user: a strength list keeps that size, the check sets its own.
        list->resize(600, 650);
        e_->Ui().mnuStrengthSCN->trigger();
        QCOMPARE(list->size(), QSize(600, 650));
        e_->Ui().mnuErrorCheck->trigger();
        QCOMPARE(list->height(), 300);

        // Closed by the user: hidden and kept; minimised: brought back.
        list->close();
        QVERIFY(!list->isVisible());
        e_->Ui().mnuStrengthSCN->trigger();
        QCOMPARE(e_->frmList(), list);
        QVERIFY(list->isVisible());
        list->showMinimized();
        e_->Ui().mnuErrorCheck->trigger();
        QVERIFY(!list->isMinimized());
    }
};

QTEST_MAIN(TestChecks)
#include "test_checks.moc"
