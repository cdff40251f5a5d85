// The order-of-battle column as the user works it: clicking entries and
// their parents, typing dot names, and the placements that follow.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "editor/document/scndocument.h"
#include "editor/widgets/listbox.h"
#include "scenario/records.h"
#include "scenario/scnedit.h"
#include "tests/editor/editortestkit.h"

using namespace varno;

class TestBrowser : public QObject {
    Q_OBJECT
    SettingsSandbox sandbox_;
    QTemporaryDir tmp_;
    std::unique_ptr<Forms> f_;
    TfrmEdit* e_ = nullptr;

    int selectedUnit() const {
        const int row = e_->Ui().lbUnits->currentRow();
        return row >= 0 && e_->Ui().lbUnits->item(row)->isSelected() ? row : -1;
    }

private slots:
    void init() {
        WriteGameFile(tmp_.path() + "/MAIN.OOB", FixtureOob());
        WriteGameFile(tmp_.path() + "/CH_A.SCN", FixtureScn());
        f_ = std::make_unique<Forms>();
        e_ = f_->edit.get();
        TypeInto(e_->Ui().edScenarioPath, tmp_.path() + "/CH_A.SCN");
        ClickButton(e_->Ui().sbRead);
        QCOMPARE(f_->ui.shown.size(), 0);
        QCOMPARE(e_->Ui().lbUnits->count(), 29);
    }
    void cleanup() {
        QCOMPARE(f_->ui.unanswered, 0);
        f_.reset();
    }

    void clickingADeepUnitShowsItsParents() {
        ClickLine(e_->Ui().lbUnits, FixtureRow("1.12.3.1.2"));
        QCOMPARE(Lines(e_->Ui().lbDesig),
                 QStringList({"1st Brigade", "1st Division", "XII Corps", "Army of the Test"}));
        QCOMPARE(e_->Ui().lbSide->text(), QString("Union"));
        QCOMPARE(e_->Ui().edDotName->text(), QString("1.12.3.1.2"));
        QCOMPARE(e_->Document().Sel().CurOob(), e_->Scn().OobList()[FixtureRow("1.12.3.1.2")]);
        QCOMPARE(selectedUnit(), FixtureRow("1.12.3.1.2"));
        QCOMPARE(f_->ui.beeps, 0);
    }

    void aTopLevelEntryHasNoParents() {
        ClickLine(e_->Ui().lbUnits, FixtureRow("1.12.3.1.2"));
        ClickLine(e_->Ui().lbUnits, FixtureRow("2"));
        QCOMPARE(e_->Ui().lbDesig->count(), 0);
        QCOMPARE(e_->Ui().lbSide->text(), QString("Confed"));
        QCOMPARE(e_->Ui().edDotName->text(), QString("2"));
    }

    void theKeyboardMovesTheSelectionToo() {
        ClickLine(e_->Ui().lbUnits, FixtureRow("2"));
        QTest::keyClick(e_->Ui().lbUnits, Qt::Key_Down);
        QCOMPARE(selectedUnit(), FixtureRow("2.1"));
        QCOMPARE(e_->Ui().edDotName->text(), QString("2.1"));
        QCOMPARE(Lines(e_->Ui().lbDesig), QStringList({"Army of the Hills"}));
    }

    void clickingAPlacedUnitSelectsItsPlacement() {
        e_->Ui().Notebook1->setCurrentIndex(2);  // another page is showing
        ClickLine(e_->Ui().lbUnits, FixtureRow("1.12.3.1.1"));
        QCOMPARE(e_->Ui().lbSetUnits->currentRow(), 0);
        QVERIFY(e_->Ui().lbSetUnits->item(0)->isSelected());
        QCOMPARE(e_->Document().Sel().CurSetup(), e_->Scn().SetupList()[0]);
        QCOMPARE(e_->Ui().Notebook1->currentIndex(), 2);
        ClickLine(e_->Ui().lbUnits, FixtureRow("1.1"));
        QCOMPARE(e_->Ui().lbSetUnits->currentRow(), 1);
        QCOMPARE(e_->Document().Sel().CurSetup(), e_->Scn().SetupList()[1]);
    }

    void clickingParents() {
        ClickLine(e_->Ui().lbUnits, FixtureRow("1.12.3.1.1"));
        QCOMPARE(e_->Ui().lbSetUnits->currentRow(), 0);
        // 1st Division has no placement: the Set Units selection stays.
        ClickLine(e_->Ui().lbDesig, 1);
        QCOMPARE(selectedUnit(), FixtureRow("1.12.3"));
        QCOMPARE(e_->Ui().edDotName->text(), QString("1.12.3"));
        QCOMPARE(Lines(e_->Ui().lbDesig), QStringList({"XII Corps", "Army of the Test"}));
        QCOMPARE(e_->Ui().lbSetUnits->currentRow(), 0);
        // The corps itself is placed: its placement is selected.
        ClickLine(e_->Ui().lbDesig, 0);
        QCOMPARE(selectedUnit(), FixtureRow("1.12"));
        QCOMPARE(e_->Ui().edDotName->text(), QString("1.12"));
        QCOMPARE(Lines(e_->Ui().lbDesig), QStringList({"Army of the Test"}));
        QCOMPARE(e_->Ui().lbSetUnits->currentRow(), 2);
        ClickLine(e_->Ui().lbDesig, 0);
        QCOMPARE(selectedUnit(), FixtureRow("1"));
        QCOMPARE(e_->Ui().lbDesig->count(), 0);
        QCOMPARE(e_->Ui().lbSetUnits->currentRow(), 2);
    }

    void typingADotNameFollowsEveryKey() {
        e_->Ui().edDotName->setFocus();
        e_->Ui().edDotName->clear();
        const QList<QPair<QString, int>> steps{{"1", FixtureRow("1")},    {".", FixtureRow("1")},
                                               {"1", FixtureRow("1.1")},  {"2", FixtureRow("1.12")},
                                               {".", FixtureRow("1.12")}, {"3", FixtureRow("1.12.3")}};
        for (const auto& [key, row] : steps) {
            QTest::keyClicks(e_->Ui().edDotName, key);
            QCOMPARE(selectedUnit(), row);
        }
        QCOMPARE(e_->Ui().edDotName->text(), QString("1.12.3"));
        QCOMPARE(Lines(e_->Ui().lbDesig), QStringList({"XII Corps", "Army of the Test"}));
        QCOMPARE(e_->Ui().Status->text(), QString());
        QCOMPARE(f_->ui.beeps, 0);
    }

    void typingTheDotNameOfAPlacedEntrySelectsItsPlacement() {
        TypeInto(e_->Ui().edDotName, "1.12.3.1.1");
        QCOMPARE(selectedUnit(), FixtureRow("1.12.3.1.1"));
        QCOMPARE(e_->Ui().lbSetUnits->currentRow(), 0);
    }

    void invalidDotNames_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("0.3") << "0.3";
        QTest::newRow("x") << "x";
    }
    void invalidDotNames() {
        QFETCH(QString, typed);
        ClickLine(e_->Ui().lbUnits, FixtureRow("2.1"));
        f_->ui.clearShown();
        TypeInto(e_->Ui().edDotName, typed);
        QVERIFY(f_->ui.beeps >= 1);
        QCOMPARE(e_->Ui().Status->text(), QString("Invalid dot name"));
        QCOMPARE(e_->Ui().edDotName->text(), QString());
        QCOMPARE(selectedUnit(), FixtureRow("2.1"));

        // Pasted whole, the name is looked up once: one beep.
        f_->ui.clearShown();
        QApplication::clipboard()->setText(typed);
        e_->Ui().edDotName->setFocus();
        QTest::keyClick(e_->Ui().edDotName, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), typed);
        QCOMPARE(f_->ui.beeps, 1);
        QCOMPARE(e_->Ui().edDotName->text(), QString());
    }

    void aComponentAbove255CountsByItsLowByte() {
        TypeInto(e_->Ui().edDotName, "1.25");
        QCOMPARE(e_->Ui().Status->text(), QString("Not found"));
        QTest::keyClicks(e_->Ui().edDotName, "7");
        QCOMPARE(e_->Ui().edDotName->text(), QString("1.257"));
        QCOMPARE(selectedUnit(), FixtureRow("1.1"));
        QCOMPARE(e_->Ui().Status->text(), QString());
    }

    void anUnknownNameBeepsAndKeepsTheSelection() {
        ClickLine(e_->Ui().lbUnits, FixtureRow("1.5"));
        f_->ui.clearShown();
        TypeInto(e_->Ui().edDotName, "3");
        QCOMPARE(f_->ui.beeps, 1);
        QCOMPARE(e_->Ui().Status->text(), QString("Not found"));
        QCOMPARE(e_->Ui().edDotName->text(), QString("3"));
        QCOMPARE(selectedUnit(), FixtureRow("1.5"));
        // Changing the notebook's page clears the message.
        e_->Ui().Notebook1->setCurrentIndex(1);
        QCOMPARE(e_->Ui().Status->text(), QString());
    }

    void anEightNumberNameEndsOnItsParent() {
        ClickLine(e_->Ui().lbUnits, FixtureRow("2.3.1.1.1.1.1.1"));
        QCOMPARE(selectedUnit(), FixtureRow("2.3.1.1.1.1.1"));
        QCOMPARE(e_->Ui().lbDesig->item(0)->text(), QString("Level 5"));
        QCOMPARE(e_->Ui().lbDesig->count(), 6);
    }

    void clickingAPlacementShowsItsUnit() {
        ClickLine(e_->Ui().lbSetUnits, 1);
        QCOMPARE(e_->Document().Sel().CurSetup(), e_->Scn().SetupList()[1]);
        QCOMPARE(selectedUnit(), FixtureRow("1.1"));
        QCOMPARE(e_->Ui().edDotName->text(), QString("1.1"));
        QCOMPARE(Lines(e_->Ui().lbDesig), QStringList({"Army of the Test"}));
        QCOMPARE(e_->Ui().lbSetUnits->currentRow(), 1);
    }

    void aParentLineFromBeforeAReadDoesNothing() {
        ClickLine(e_->Ui().lbUnits, FixtureRow("1.12.3.1.1"));
        ClickButton(e_->Ui().sbRead);
        QCOMPARE(f_->ui.shown.size(), 0);
        QCOMPARE(e_->Ui().lbDesig->count(), 4);  // kept until the next selection
        const QString before = e_->Ui().edDotName->text();
        ClickLine(e_->Ui().lbDesig, 0);
        QCOMPARE(selectedUnit(), -1);
        QCOMPARE(e_->Ui().edDotName->text(), before);
    }
};

QTEST_MAIN(TestBrowser)
#include "test_browser.moc"
