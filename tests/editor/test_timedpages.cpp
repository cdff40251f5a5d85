// The Releases, Reinforcements and Commands pages as the user works them:
// spin fields, Add with its questions, Remove, and the selections that
// follow into the order-of-battle column.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "editor/document/scndocument.h"
#include "editor/pages/commandspage.h"
#include "editor/pages/reinforcementspage.h"
#include "editor/pages/releasespage.h"
#include "editor/pages/setunitspage.h"
#include "editor/widgets/listbox.h"
#include "editor/widgets/radiogroup.h"
#include "editor/widgets/spinedit.h"
#include "scenario/records.h"
#include "tests/editor/editortestkit.h"

using namespace varno;

namespace {
// Types into a spin field as the user does, then leaves it with Tab.
void TypeIntoSpin(QSpinBox* spin, const QString& text, bool leave = true) {
    spin->setFocus();
    spin->selectAll();
    QTest::keyClick(spin, Qt::Key_Backspace);
    QTest::keyClicks(spin, text);
    if (leave) QTest::keyClick(spin, Qt::Key_Tab);
}

QString Text(const QSpinBox* spin) { return spin->text(); }
}  // namespace

class TestTimedPages : public QObject {
    Q_OBJECT
    SettingsSandbox sandbox_;
    QTemporaryDir tmp_;
    std::unique_ptr<Forms> f_;
    TfrmEdit* e_ = nullptr;
    TReleasesPage* rel_ = nullptr;
    TReinforcementsPage* rein_ = nullptr;
    TCommandsPage* cmd_ = nullptr;

    Scenario& scn() { return e_->Scn(); }
    Selection& sel() { return e_->Document().Sel(); }
    const TOobRec* entry(const char* dot) { return scn().OobList()[FixtureRow(dot)]; }

    void readWith(const QByteArray& scnText) {
        f_ = ReadFixtureGame(tmp_.path(), scnText);
        e_ = f_->edit.get();
        rel_ = e_->Ui().pgReleases;
        rein_ = e_->Ui().pgReinfor;
        cmd_ = e_->Ui().pgCommands;
        QCOMPARE(f_->ui.shown.size(), 0);
    }
    void add(const char* dot) {
        ClickLine(e_->Ui().lbUnits, FixtureRow(dot));
        ClickButton(e_->Ui().bnAdd);
    }
    QString unitLine(const char* dot) { return e_->Ui().lbUnits->item(FixtureRow(dot))->text(); }

private slots:
    void init() { readWith(FixtureScn()); }
    void cleanup() {
        QCOMPARE(f_->ui.unanswered, 0);
        QVERIFY(f_->ui.allAnswersUsed());
        f_.reset();
    }

    // --- spin fields ----------------------------------------------------------

    void spinFieldsHaveTheirRangesStepsAndDesignerValues_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("hint");
        for (const char* suffix : {"", "2", "3"}) {
            const QString s = suffix;
            QTest::addRow("seYear%s", suffix) << "seYear" + s << 1861 << 1865 << 1 << 1861 << "";
            QTest::addRow("seMonth%s", suffix) << "seMonth" + s << 1 << 12 << 1 << 1 << "Month";
            QTest::addRow("seDay%s", suffix) << "seDay" + s << 1 << 31 << 1 << 1 << "day";
            QTest::addRow("seHour%s", suffix) << "seHour" + s << 0 << 23 << 1 << 6 << "hours 0-23";
            QTest::addRow("seMin%s", suffix) << "seMin" + s << 0 << 40 << 20 << 0 << "minutes";
        }
        QTest::newRow("seChance") << "seChance" << 5 << 100 << 5 << 100 << "Chance that unit is released on time";
        QTest::newRow("seChance2") << "seChance2" << 5 << 100 << 5 << 100 << "Chance that unit arrives on time";
        QTest::newRow("seCol") << "seCol" << 0 << 255 << 1 << 0 << "Column";
        QTest::newRow("seRow") << "seRow" << 0 << 255 << 1 << 0 << "Row";
        QTest::newRow("seFace") << "seFace" << 1 << 32 << 1 << 1 << "Facing";
        QTest::newRow("seProt") << "seProt" << 0 << 20 << 1 << 0 << "Protected hexes";
        QTest::newRow("seGroup") << "seGroup" << 1 << 8 << 1 << 1 << "";
        QTest::newRow("seCol2") << "seCol2" << 0 << 255 << 1 << 0 << "Column";
        QTest::newRow("seRow2") << "seRow2" << 0 << 255 << 1 << 0 << "Row";
    }
    void spinFieldsHaveTheirRangesStepsAndDesignerValues() {
        QFETCH(QString, name);
        auto* spin = e_->findChild<TSpinEdit*>(name);
        QVERIFY(spin);
        QTEST(spin->minimum(), "minimum");
        QTEST(spin->maximum(), "maximum");
        QTEST(spin->singleStep(), "step");
        QTEST(spin->value(), "value");
        QTEST(spin->toolTip(), "hint");
    }

    void typedValuesAreBroughtIntoRangeOnLeaving() {
        e_->Ui().Notebook1->setCurrentIndex(1);
        TypeIntoSpin(rel_->seYear, "1870");
        QCOMPARE(Text(rel_->seYear), QString("1865"));
        TypeIntoSpin(rel_->seYear, "abc");
        QCOMPARE(Text(rel_->seYear), QString("1861"));
        // Minutes step by 20, but a typed 30 stays.
        TypeIntoSpin(rel_->seMin, "30");
        QCOMPARE(rel_->seMin->value(), 30);
        rel_->seMin->setFocus();
        QTest::keyClick(rel_->seMin, Qt::Key_Down);
        QCOMPARE(rel_->seMin->value(), 10);
        QTest::keyClick(rel_->seMin, Qt::Key_Down);
        QCOMPARE(rel_->seMin->value(), 0);
    }

    void aRecordOutOfRangeShowsTheBoundAndTheNextStoreWritesIt() {
        readWith(FixtureScn().replace("4 1863 7 1 8 0 50 1.12.2", "4 1870 7 1 8 0 50 1.12.2"));
        e_->Ui().Notebook1->setCurrentIndex(1);
        ClickLine(e_->Ui().lbReleases, 0);
        QCOMPARE(rel_->seYear->value(), 1865);
        QVERIFY(!scn().Modified);
        add("1.12.3.1.2");  // Add stores the fields first
        QCOMPARE(int(scn().ReleaseList()[0]->Year), 65);
        QVERIFY(scn().Modified);
    }

    // --- releases -------------------------------------------------------------

    void v103DisablesTheChance() {
        e_->Ui().Notebook1->setCurrentIndex(1);
        // The file's releases carry a chance, so Read cleared "V 1.03".
        QVERIFY(!rel_->cbV103->isChecked());
        QVERIFY(rel_->seChance->isEnabled());
        QCOMPARE(rel_->cbV103->toolTip(), QString("if checked, disables %Chance"));
        TypeIntoSpin(rel_->seChance, "40");
        add("1.12.3.1.2");
        QCOMPARE(int(scn().ReleaseList().back()->Chance), 100);
        QCOMPARE(Text(rel_->seChance), QString("100"));
        ClickButton(rel_->cbV103);
        QVERIFY(!rel_->seChance->isEnabled());
        ClickButton(rel_->cbV103);
        QVERIFY(rel_->seChance->isEnabled());
    }

    // With no record current, the line tells what Add does: the chance it
    // names is the one the new record gets and the field then shows,
    // whatever the field held before.
    void theNewRecordLineNamesTheChanceAddStores() {
        const auto promised = [](const QLabel* line) {
            const QRegularExpressionMatch m = QRegularExpression("chance (\\d+)").match(line->text());
            return m.hasMatch() ? m.captured(1).toInt() : -1;
        };
        e_->Ui().Notebook1->setCurrentIndex(1);
        TypeIntoSpin(rel_->seChance, "40");
        const int releaseChance = promised(rel_->lblEditing);
        add("1.12.3.1.2");
        QCOMPARE(int(scn().ReleaseList().back()->Chance), releaseChance);
        QCOMPARE(rel_->seChance->value(), releaseChance);

        e_->Ui().Notebook1->setCurrentIndex(2);
        TypeIntoSpin(rein_->seChance2, "40");
        const int groupChance = promised(rein_->lblEditing);
        add("1.1");
        QCOMPARE(int(scn().ReinfList().back()->Chance), groupChance);
        QCOMPARE(rein_->seChance2->value(), groupChance);
    }

    void addingAReleaseAndFindingAnExistingOne() {
        e_->Ui().Notebook1->setCurrentIndex(1);
        TypeIntoSpin(rel_->seYear, "1864");
        TypeIntoSpin(rel_->seMonth, "3");
        TypeIntoSpin(rel_->seHour, "14");
        TypeIntoSpin(rel_->seMin, "40");
        add("1");  // organisations are accepted
        QCOMPARE(Lines(e_->Ui().lbReleases), QStringList({"Supply Train", "Army of the Test"}));
        const TReleaseRec* r = scn().ReleaseList().back();
        QCOMPARE(int(r->Year), 64);
        QCOMPARE(int(r->Month), 3);
        QCOMPARE(int(r->Hour), 14);
        QCOMPARE(int(r->Minute), 40);
        QCOMPARE(r->Unit, entry("1"));
        QCOMPARE(e_->Ui().lbReleases->SelectedLine(), 1);
        QCOMPARE(sel().CurRelease(), r);
        QVERIFY(scn().Modified);

        // The wagon has a release: Add shows it instead of adding.
        scn().Modified = false;
        add("1.12.2");
        QCOMPARE(e_->Ui().lbReleases->count(), 2);
        QCOMPARE(e_->Ui().lbReleases->SelectedLine(), 0);
        QCOMPARE(rel_->seYear->value(), 1863);
        QCOMPARE(rel_->seMonth->value(), 7);
        QCOMPARE(rel_->seChance->value(), 50);
        QVERIFY(!scn().Modified);
    }

    void removingAReleaseAndTheStatusLine() {
        e_->Ui().Notebook1->setCurrentIndex(1);
        ClickButton(e_->Ui().bnRemove);
        QCOMPARE(e_->Ui().Status->text(), QString("Please select a unit or leader"));
        // Changing the page clears the status line.
        e_->Ui().Notebook1->setCurrentIndex(2);
        QCOMPARE(e_->Ui().Status->text(), QString());
        e_->Ui().Notebook1->setCurrentIndex(1);
        ClickLine(e_->Ui().lbReleases, 0);
        QCOMPARE(e_->Ui().lbUnits->SelectedLine(), FixtureRow("1.12.2"));  // followed into the column
        ClickButton(e_->Ui().bnRemove);
        QCOMPARE(e_->Ui().lbReleases->count(), 0);
        QVERIFY(scn().ReleaseList().empty());
        QCOMPARE(e_->Ui().lbReleases->SelectedLine(), -1);
        QVERIFY(scn().Modified);
    }

    void unstoredEditsSurviveAPageChange() {
        e_->Ui().Notebook1->setCurrentIndex(1);
        ClickLine(e_->Ui().lbReleases, 0);
        TypeIntoSpin(rel_->seDay, "9");
        e_->Ui().Notebook1->setCurrentIndex(3);
        e_->Ui().Notebook1->setCurrentIndex(1);
        QCOMPARE(rel_->seDay->value(), 9);
        QCOMPARE(int(scn().ReleaseList()[0]->Day), 1);
        ClickButton(e_->Ui().sbSave);
        QVERIFY(ReadBytes(tmp_.path() + "/CH_A.SCN").contains("4 1863 7 9 8 0 50 1.12.2\r\n"));
    }

    // --- reinforcements -------------------------------------------------------

    void aGroupOfSevenBecomesEightThenANewGroup() {
        e_->Ui().Notebook1->setCurrentIndex(2);
        TypeIntoSpin(rein_->seCol, "12");
        TypeIntoSpin(rein_->seChance2, "50");
        // Groups exist but none is selected: a new group, no question.
        add("1.1");
        QVERIFY(f_->ui.informations().isEmpty());
        QCOMPARE(e_->Ui().lbReinfor->count(), 2);
        QCOMPARE(e_->Ui().lbReinfor->SelectedLine(), 1);
        QCOMPARE(int(scn().ReinfList()[1]->Chance), 100);
        QCOMPARE(int(scn().ReinfList()[1]->Col), 12);
        QCOMPARE(rein_->seChance2->value(), 100);
        for (const char* dot : {"1.2", "1.3", "1.4", "1.5", "1.6", "1.7"}) {
            f_->ui.setNextAnswer(Answer::Yes);
            add(dot);
        }
        const TReinfGroup* g = scn().ReinfList()[1];
        QCOMPARE(int(g->Count), 7);
        QCOMPARE(e_->Ui().lbReinfor->item(1)->text(), unitLine("1.1") + " ...");
        QCOMPARE(e_->Ui().lbReinUnits->count(), 7);
        f_->ui.clearShown();
        f_->ui.setNextAnswer(Answer::Yes);
        add("1.8");
        QCOMPARE(f_->ui.informations(), QStringList({"Add to currently selected group?"}));
        QCOMPARE(int(g->Count), 8);
        f_->ui.setNextAnswer(Answer::Ok);
        TypeIntoSpin(rein_->seRow, "9");
        add("1.9");
        QCOMPARE(f_->ui.informations().last(), QString("Too many in selected group, create new one?"));
        QCOMPARE(int(g->Count), 8);
        QCOMPARE(e_->Ui().lbReinfor->count(), 3);
        QCOMPARE(scn().ReinfList()[2]->Units[0], entry("1.9"));
        QCOMPARE(int(scn().ReinfList()[2]->Row), 9);
        QCOMPARE(e_->Ui().lbReinfor->SelectedLine(), 2);
    }

    void noMakesANewGroupAndCancelChangesNothing() {
        e_->Ui().Notebook1->setCurrentIndex(2);
        ClickLine(e_->Ui().lbReinfor, 0);
        QCOMPARE(e_->Ui().lbUnits->SelectedLine(), FixtureRow("2.1"));  // the group's first unit
        QCOMPARE(Lines(e_->Ui().lbReinUnits), QStringList({unitLine("2.1"), unitLine("2.2")}));
        QVERIFY(!scn().Modified);
        f_->ui.setNextAnswer(Answer::Cancel);
        add("1.12.1");
        QCOMPARE(e_->Ui().lbReinfor->count(), 1);
        QVERIFY(!scn().Modified);
        ClickLine(e_->Ui().lbReinfor, 0);
        f_->ui.setNextAnswer(Answer::No);
        add("1.12.1");
        QCOMPARE(e_->Ui().lbReinfor->count(), 2);
        QCOMPARE(int(scn().ReinfList()[0]->Count), 2);
        QVERIFY(scn().Modified);
        // An organisation is not added, and nothing is asked.
        f_->ui.clearShown();
        add("1.12.3");
        QCOMPARE(e_->Ui().lbReinfor->count(), 2);
        QVERIFY(f_->ui.shown.isEmpty());
    }

    void addingAUnitOfAGroupSelectsThatGroup() {
        e_->Ui().Notebook1->setCurrentIndex(2);
        add("1.12.1");  // a second group
        QCOMPARE(e_->Ui().lbReinfor->SelectedLine(), 1);
        scn().Modified = false;
        add("2.2");
        QCOMPARE(e_->Ui().lbReinfor->SelectedLine(), 0);
        QCOMPARE(sel().CurReinf(), scn().ReinfList()[0]);
        QCOMPARE(rein_->seCol->value(), 10);
        QVERIFY(!scn().Modified);
    }

    void removingUnitsRebuildsTheGroupLine() {
        e_->Ui().Notebook1->setCurrentIndex(2);
        ClickLine(e_->Ui().lbReinfor, 0);
        f_->ui.setNextAnswer(Answer::Yes);
        add("1.12.1");  // three: Gen. Gamma, 1st Cavalry, Gen. Beta
        QCOMPARE(e_->Ui().lbReinfor->item(0)->text(), unitLine("2.1") + " ...");
        QCOMPARE(e_->Ui().lbReinUnits->SelectedLine(), 0);
        ClickButton(e_->Ui().bnRemove);  // the first unit
        QCOMPARE(e_->Ui().lbReinfor->item(0)->text(), unitLine("2.2") + "...");
        QCOMPARE(Lines(e_->Ui().lbReinUnits), QStringList({unitLine("2.2"), unitLine("1.12.1")}));
        ClickLine(e_->Ui().lbReinUnits, 1);
        QCOMPARE(e_->Ui().lbUnits->SelectedLine(), FixtureRow("1.12.1"));
        ClickButton(e_->Ui().bnRemove);
        QCOMPARE(e_->Ui().lbReinfor->item(0)->text(), unitLine("2.2"));
        QCOMPARE(e_->Ui().lbReinUnits->count(), 0);
        QCOMPARE(int(scn().ReinfList()[0]->Count), 1);
    }

    void removingTheOnlyUnitRemovesTheGroup() {
        e_->Ui().Notebook1->setCurrentIndex(2);
        add("1.12.1");
        f_->ui.setNextAnswer(Answer::No);
        add("1.11");
        QCOMPARE(e_->Ui().lbReinfor->count(), 3);
        // The middle group has one unit: Remove takes the group and the one
        // before it is shown.
        ClickLine(e_->Ui().lbReinfor, 1);
        ClickButton(e_->Ui().bnRemove);
        QCOMPARE(Lines(e_->Ui().lbReinfor), QStringList({unitLine("2.1") + " ...", unitLine("1.11")}));
        QCOMPARE(e_->Ui().lbReinfor->SelectedLine(), 0);
        QCOMPARE(sel().CurReinf(), scn().ReinfList()[0]);
        QCOMPARE(e_->Ui().lbReinUnits->count(), 2);
        QVERIFY(!FindGroupOf(scn(), entry("1.12.1")));
    }

    void removeNeedsAUnitOfALargerGroup() {
        e_->Ui().Notebook1->setCurrentIndex(2);
        ClickButton(e_->Ui().bnRemove);
        QCOMPARE(e_->Ui().Status->text(), QString("Please select a unit or leader"));
        ClickLine(e_->Ui().lbReinfor, 0);
        e_->Ui().lbReinUnits->SelectNone();
        e_->Ui().Status->clear();
        ClickButton(e_->Ui().bnRemove);
        QCOMPARE(e_->Ui().Status->text(), QString("Please select a unit or leader"));
        QCOMPARE(int(scn().ReinfList()[0]->Count), 2);
        QVERIFY(!scn().Modified);
    }

    // --- commands -------------------------------------------------------------

    void aCommandWithNoItemChosen() {
        e_->Ui().Notebook1->setCurrentIndex(3);
        QCOMPARE(cmd_->rgrpCommand->ItemIndex(), -1);
        QCOMPARE(cmd_->rgrpCommand->title(), QString("Command:  "));
        TypeIntoSpin(cmd_->seGroup, "5");
        TypeIntoSpin(cmd_->seCol2, "17");
        add("1.12.3.1.2");  // a second command for the same unit
        QCOMPARE(e_->Ui().lbCommands->count(), 2);
        const TCommandRec* c = scn().CommandList()[1];
        QCOMPARE(int(c->Command), 255);
        QCOMPARE(int(c->Group), 5);
        QCOMPARE(int(c->Col), 17);
        // Shown again, it chooses the last item; the next store writes 4.
        QCOMPARE(cmd_->rgrpCommand->ItemIndex(), 4);
        scn().Modified = false;
        ClickLine(e_->Ui().lbCommands, 0);
        QCOMPARE(int(c->Command), 4);
        QVERIFY(scn().Modified);
        QCOMPARE(cmd_->rgrpCommand->ItemIndex(), 3);
        QCOMPARE(cmd_->seRow2->value(), 4);
    }

    void choosingACommandAndSaving() {
        e_->Ui().Notebook1->setCurrentIndex(3);
        ClickLine(e_->Ui().lbCommands, 0);
        // The unit is placed: its placement is selected on the first page too.
        QCOMPARE(e_->Ui().lbUnits->SelectedLine(), FixtureRow("1.12.3.1.2"));
        auto* defend = cmd_->findChild<QRadioButton*>("rgrpCommand1");
        QTest::mouseClick(defend, Qt::LeftButton, Qt::NoModifier, QPoint(8, defend->height() / 2));
        QCOMPARE(cmd_->rgrpCommand->ItemIndex(), 1);
        TypeIntoSpin(cmd_->seHour3, "23");
        ClickButton(e_->Ui().sbSave);
        QVERIFY(ReadBytes(tmp_.path() + "/CH_A.SCN").contains("1.12.3.1.2 1863 7 1 23 0 3 4 1\r\n"));
        ClickButton(e_->Ui().bnRemove);
        QCOMPARE(e_->Ui().lbCommands->count(), 0);
        QVERIFY(scn().Modified);
        ClickButton(e_->Ui().bnRemove);
        QCOMPARE(e_->Ui().Status->text(), QString("Please select a unit or leader"));
    }

    void aPlacedUnitsRecordFollowsToItsPlacement() {
        // Command of 2nd Maine, which is not placed: the Set Units selection stays.
        ClickLine(e_->Ui().lbSetUnits, 1);
        e_->Ui().Notebook1->setCurrentIndex(3);
        ClickLine(e_->Ui().lbCommands, 0);
        QCOMPARE(e_->Ui().lbSetUnits->SelectedLine(), 1);
        // A release of the placed 1st Maine selects its placement.
        e_->Ui().Notebook1->setCurrentIndex(1);
        add("1.12.3.1.1");
        ClickLine(e_->Ui().lbSetUnits, 1);
        ClickLine(e_->Ui().lbReleases, 1);
        QCOMPARE(e_->Ui().lbSetUnits->SelectedLine(), 0);
        QCOMPARE(sel().CurSetup(), scn().SetupList()[0]);
    }
};

QTEST_MAIN(TestTimedPages)
#include "test_timedpages.moc"
