// Search > Check Scenario as the user runs it: the report in the list
// window, grouped by kind, and a double click that goes to a finding's record.
#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "editor/document/scndocument.h"
#include "editor/pages/releasespage.h"
#include "editor/pages/setunitspage.h"
#include "editor/widgets/listbox.h"
#include "editor/windows/listform.h"
#include "scenario/scnedit.h"
#include "tests/editor/editortestkit.h"

using namespace varno;

class TestCheckScenario : public QObject {
    Q_OBJECT
    SettingsSandbox sandbox_;
    QTemporaryDir tmp_;
    std::unique_ptr<Forms> f_;
    TfrmEdit* e_ = nullptr;

    void read(const QByteArray& records) {
        WriteGameFile(tmp_.path() + "/MAIN.MAP", "1\n20 20\n");
        f_ = ReadFixtureGame(tmp_.path(), FixtureScnWith(records));
        e_ = f_->edit.get();
        QCOMPARE(f_->ui.errors(), QStringList());
    }
    QString unitLine(const char* dot) const { return e_->Ui().lbUnits->item(FixtureRow(dot))->text(); }
    void doubleClick(int row) {
        QListWidget* box = e_->frmList()->lbList;
        QVERIFY(QTest::qWaitForWindowExposed(e_->frmList()));
        box->scrollToItem(box->item(row));
        // A double click as the window system delivers it: a click, then the
        // second press as a double click.
        const QPoint at = box->visualItemRect(box->item(row)).center();
        QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(box->viewport(), Qt::LeftButton, {}, at);
    }

private slots:
    void cleanup() {
        if (f_) QCOMPARE(f_->ui.unanswered, 0);
        f_.reset();
        e_ = nullptr;
    }

    // The report is the scenario's as it was: after a Read of another file
    // the window says it is out of date, and Refresh makes it again.
    void aReadMarksTheReportOutOfDate() {
        read("1 1.12.3.1.1 1 4 100 0 0 0 25 3\n");
        e_->Ui().mnuCheckScenario->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(e_->frmList()));
        QVERIFY(!e_->frmList()->lblOutOfDate->isVisible());
        const QStringList offMap = Lines(e_->frmList()->lbList);
        WriteGameFile(tmp_.path() + "/CH_A.SCN", FixtureScnWith("1 1.12.3.1.1 1 4 100 0 0 0 4 4\n"));
        ClickButton(e_->Ui().sbRead);
        QVERIFY(e_->frmList()->lblOutOfDate->isVisible());
        QCOMPARE(Lines(e_->frmList()->lbList), offMap);
        ClickButton(e_->frmList()->bnRefresh);
        QVERIFY(!e_->frmList()->lblOutOfDate->isVisible());
        QVERIFY(Lines(e_->frmList()->lbList) != offMap);
        QCOMPARE(f_->ui.errors(), QStringList());
    }

    void findingsByKindAndToTheirRecords() {
        read("1 1.12.3.1.2 1 4 194 0 0 0 2 2\n"
             "1 1.12.3.1.1 1 4 100 0 0 0 25 3\n"
             "1 1.12.3.1.1 1 4 100 0 0 0 4 4\n"
             "4 1863 7 1 8 0 50 2.2\n");
        QVERIFY(e_->Ui().mnuCheckScenario->isEnabled());
        e_->Ui().mnuCheckScenario->trigger();
        const QString maine = "  1.12.3.1.1  " + unitLine("1.12.3.1.1") + "  ";
        QCOMPARE(Lines(e_->frmList()->lbList),
                 QStringList(
                     {"Placed off the map (off-map): 1", maine + "placed at 25,3; the map has 20 x 20 hexes",
                      "Placed more than once (placed-twice): 1",
                      maine + "placed again at 4,4; first at 25,3 (Set Units line 2)",
                      "Released but never on the map (release-unplaced): 1",
                      "  2.2  " + unitLine("2.2") + "  is released but neither placed nor in a reinforcement group"}));

        e_->Ui().Notebook1->setCurrentIndex(e_->Ui().Notebook1->indexOf(e_->Ui().pgReleases));
        doubleClick(3);
        QCOMPARE(e_->Ui().Notebook1->currentWidget(), e_->Ui().pgSetUnits);
        QCOMPARE(e_->Ui().lbSetUnits->SelectedLine(), 2);
        QCOMPARE(e_->Ui().lbUnits->currentRow(), FixtureRow("1.12.3.1.1"));

        doubleClick(5);
        QCOMPARE(e_->Ui().Notebook1->currentWidget(), e_->Ui().pgReleases);
        QCOMPARE(e_->Ui().lbReleases->SelectedLine(), 0);
        QCOMPARE(e_->Ui().lbUnits->currentRow(), FixtureRow("2.2"));

        // A heading names no record: nothing moves.
        doubleClick(0);
        QCOMPARE(e_->Ui().Notebook1->currentWidget(), e_->Ui().pgReleases);
        QCOMPARE(e_->Ui().lbReleases->SelectedLine(), 0);

        QVERIFY(!e_->Scn().Modified);

        // A record removed since the check: the finding says so.
        QVERIFY(RemoveRelease(e_->Scn(), e_->Scn().ReleaseList()[0], e_->ListLines(), e_->Document().Step()));
        doubleClick(5);
        QCOMPARE(e_->Ui().Status->text(), QString("No longer in the scenario: check again"));
    }
};

QTEST_MAIN(TestCheckScenario)
#include "test_checkscenario.moc"
