// File > Backups... as the user meets it: the list of files with their
// counts, the differences of one, the double-click that selects a placement,
// and Restore with its question.
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <sys/stat.h>

#include "editor/document/scndocument.h"
#include "editor/pages/setunitspage.h"
#include "editor/widgets/listbox.h"
#include "editor/windows/backupswindow.h"
#include "editor/windows/listform.h"
#include "scenario/scnedit.h"
#include "tests/editor/editortestkit.h"

using namespace varno;

namespace {

void Age(const QString& path, int minutes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-60 * minutes), QFileDevice::FileModificationTime));
}

QStringList Row(const QTreeWidgetItem* item) {
    QStringList cells;
    for (int c : {0, 5, 6, 7}) cells << item->text(c);
    return cells;
}

void ClickRow(QTreeWidget* tree, int row) {
    QTreeWidgetItem* item = tree->topLevelItem(row);
    QVERIFY(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
}

}  // namespace

class TestBackups : public QObject {
    Q_OBJECT
    std::unique_ptr<SettingsSandbox> sandbox_;
    QTemporaryDir tmp_;
    QString game_;
    std::unique_ptr<Forms> forms_;

    TfrmBackups* openBackups() {
        forms_->edit->Ui().mnuBackups->trigger();
        settle(forms_->edit->frmBackups());
        return forms_->edit->frmBackups();
    }
    // Waits, as the user does, until every file is compared.
    static void settle(TfrmBackups* w) {
        QVERIFY(w);
        QVERIFY(QTest::qWaitFor([w] { return !w->Comparing(); }, 20000));
        QCOMPARE(w->lblProgress->text(), QString());
    }

private slots:
    void init() {
        sandbox_ = std::make_unique<SettingsSandbox>();
        game_ = tmp_.path() + "/game";
        QDir(game_).removeRecursively();
        QDir().mkpath(game_);
        forms_ = ReadFixtureGame(game_, FixtureScn());
        // This morning's save: Gen. 1.1 stood at 4,4; an older file that is no scenario.
        WriteGameFile(game_ + "/OLDSCN1.TXT", FixtureScn().replace("0 0 0 3 4", "0 0 0 4 4"));
        WriteGameFile(game_ + "/oldscn2.txt", FixtureScnWith("1 1.1 2 x\n"));
        Age(game_ + "/OLDSCN1.TXT", 60);
        Age(game_ + "/oldscn2.txt", 120);
    }
    void cleanup() {
        forms_.reset();
        sandbox_.reset();
    }

    void listsEveryFileNewestFirstWithItsCounts() {
        // An unsaved change counts: 1.12.3.1.1 moved in the editor.
        Scenario& scn = forms_->edit->Scn();
        QVERIFY(MoveSetup(scn, scn.SetupList()[0], 9, 9, forms_->edit->ListLines(), forms_->edit->Document().Step()));
        TfrmBackups* w = openBackups();
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->lvFiles->topLevelItemCount(), 3);
        QCOMPARE(Row(w->lvFiles->topLevelItem(0)), (QStringList{"CH_A.SCN (scenario)", "0", "0", "1"}));
        QCOMPARE(Row(w->lvFiles->topLevelItem(1)), (QStringList{"OLDSCN1.TXT", "0", "0", "2"}));
        QCOMPARE(Row(w->lvFiles->topLevelItem(2)), (QStringList{"oldscn2.txt", "", "", ""}));
        // Which scenario each holds: its first header line, also when it is broken.
        for (int row = 0; row < 3; ++row) QCOMPARE(w->lvFiles->topLevelItem(row)->text(1), QString("Header line 1"));
        QVERIFY2(w->lvFiles->topLevelItem(2)->text(8).contains("Bad data"),
                 qPrintable(w->lvFiles->topLevelItem(2)->text(8)));
        QCOMPARE(w->lvFiles->topLevelItem(1)->text(4), QString::number(QFileInfo(game_ + "/OLDSCN1.TXT").size()));
        QCOMPARE(w->lvFiles->topLevelItem(1)->text(2),
                 QFileInfo(game_ + "/OLDSCN1.TXT").lastModified().toString("yyyy-MM-dd"));

        ClickRow(w->lvFiles, 2);
        QVERIFY(!w->bnRestore->isEnabled());
        QVERIFY(Lines(w->lbDiffs).first().startsWith("Not a scenario of this game: "));
    }

    // View > Strength from SCN keeps its totals to itself: the files are
    // still compared with the scenario, and Restore is offered.
    void theStrengthListsLeaveTheBackupsComparable() {
        forms_->edit->Ui().mnuStrengthSCN->trigger();
        forms_->edit->Ui().mnuStrengthOOB->trigger();
        TfrmBackups* w = openBackups();
        QCOMPARE(Row(w->lvFiles->topLevelItem(0)), (QStringList{"CH_A.SCN (scenario)", "0", "0", "0"}));
        QCOMPARE(Row(w->lvFiles->topLevelItem(1)), (QStringList{"OLDSCN1.TXT", "0", "0", "1"}));
        ClickRow(w->lvFiles, 1);
        QVERIFY(w->bnRestore->isEnabled());
    }

    void selectingAFileShowsItsDifferencesAndADoubleClickTheirPlacement() {
        TfrmBackups* w = openBackups();
        ClickRow(w->lvFiles, 1);
        const QStringList lines = Lines(w->lbDiffs);
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines[0].startsWith("moved    1.1  ") && lines[0].endsWith("  4,4 -> 3,4"), qPrintable(lines[0]));

        forms_->edit->Ui().Notebook1->setCurrentIndex(1);
        forms_->map.calls.clear();
        QListWidgetItem* line = w->lbDiffs->item(0);
        // A double-click is a press and release, then the second press.
        const QPoint at = w->lbDiffs->visualItemRect(line).center();
        QTest::mouseClick(w->lbDiffs->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(w->lbDiffs->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(forms_->edit->Ui().Notebook1->currentWidget(), static_cast<QWidget*>(forms_->edit->Ui().pgSetUnits));
        QCOMPARE(forms_->edit->Ui().lbSetUnits->SelectedLine(), 1);
        QCOMPARE(forms_->edit->Document().Sel().CurSetup(), forms_->edit->Scn().SetupList()[1]);
        QVERIFY(forms_->map.calls.contains("Show"));
        QCOMPARE(forms_->ui.errors(), QStringList());
    }

    // A Save adds a backup: the window on the screen lists it at once.
    void theOpenWindowListsTheBackupOfASave() {
        TfrmBackups* w = openBackups();
        QCOMPARE(w->lvFiles->topLevelItemCount(), 3);
        Scenario& scn = forms_->edit->Scn();
        QVERIFY(MoveSetup(scn, scn.SetupList()[0], 9, 9, forms_->edit->ListLines(), forms_->edit->Document().Step()));
        forms_->edit->activateWindow();
        ClickButton(forms_->edit->Ui().sbSave);
        QCOMPARE(forms_->ui.errors(), QStringList());
        QTRY_COMPARE(w->lvFiles->topLevelItemCount(), 4);
        // The files are compared in the background.
        QTRY_COMPARE(Row(w->lvFiles->topLevelItem(0)), (QStringList{"CH_A.SCN (scenario)", "0", "0", "0"}));
    }

    // A list made from the scenario (here the strengths) says it is out of
    // date once a Restore replaced the records.
    void aRestoreMarksTheListWindowOutOfDate() {
        forms_->edit->Ui().mnuStrengthSCN->trigger();
        QVERIFY(!forms_->edit->frmList()->OutOfDate());
        TfrmBackups* w = openBackups();
        ClickRow(w->lvFiles, 1);
        ClickButton(w->bnRestore);
        QVERIFY(forms_->edit->frmList()->OutOfDate());
    }

    void restoreAsksAboutUnsavedChangesThenReadsTheBackupUnderTheScenariosPath() {
        Scenario& scn = forms_->edit->Scn();
        QVERIFY(MoveSetup(scn, scn.SetupList()[0], 9, 9, forms_->edit->ListLines(), forms_->edit->Document().Step()));
        TfrmBackups* w = openBackups();
        ClickRow(w->lvFiles, 1);

        forms_->ui.setNextAnswer(Answer::Cancel);
        ClickButton(w->bnRestore);
        QCOMPARE(forms_->ui.questions(), QStringList{"Changes have not been saved is this okay?"});
        QCOMPARE(int(scn.SetupList()[0]->Col), 9);  // kept

        forms_->ui.setNextAnswer(Answer::Ok);
        ClickButton(w->bnRestore);
        settle(w);
        QCOMPARE(forms_->ui.questions().size(), 2);
        QCOMPARE(int(scn.SetupList()[0]->Col), 5);
        QCOMPARE(int(scn.SetupList()[1]->Col), 4);
        QVERIFY(scn.Modified);
        QCOMPARE(forms_->edit->Ui().edScenarioPath->text(), game_ + "/CH_A.SCN");
        // The restored file now has no differences; the scenario file has its one.
        QCOMPARE(Row(w->lvFiles->topLevelItem(1)), (QStringList{"OLDSCN1.TXT", "0", "0", "0"}));
        QCOMPARE(Row(w->lvFiles->topLevelItem(0)), (QStringList{"CH_A.SCN (scenario)", "0", "0", "1"}));

        // Save writes the restored records after the usual backup.
        ClickButton(forms_->edit->Ui().sbSave);
        QCOMPARE(forms_->ui.errors(), QStringList());
        QCOMPARE(ReadBytes(game_ + "/OLDSCN3.TXT"), ReadBytes(game_ + "/OLDSCN1.TXT").replace("4 4\r\n", "3 4\r\n"));
        QVERIFY(ReadBytes(game_ + "/CH_A.SCN").contains("0 0 0 4 4\r\n"));
        QVERIFY(!scn.Modified);
    }

    // The files are compared away from the window, with a progress line;
    // showing the window again compares only a file whose stamp changed (or
    // all, when the scenario changed), and a file over the limit is listed
    // with its reason.
    void comparesInTheBackgroundAndOnlyChangedFilesAgain() {
        forms_->edit->Ui().mnuBackups->trigger();
        TfrmBackups* w = forms_->edit->frmBackups();
        QVERIFY(w->Comparing());
        QVERIFY(w->lblProgress->text().startsWith("Comparing "));
        QCOMPARE(w->lvFiles->topLevelItem(1)->text(8), QString("comparing..."));
        settle(w);
        QCOMPARE(Row(w->lvFiles->topLevelItem(1)), (QStringList{"OLDSCN1.TXT", "0", "0", "1"}));

        WriteGameFile(game_ + "/OLDSCN1.TXT", FixtureScn());
        Age(game_ + "/OLDSCN1.TXT", 60);
        QFile huge(game_ + "/OLDSCN3.TXT");
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(kBackupCompareLimit) + 1));
        huge.close();
        Age(game_ + "/OLDSCN3.TXT", 180);
        w->Refresh();
        QStringList notes;
        for (int row = 0; row < 4; ++row) notes << w->lvFiles->topLevelItem(row)->text(8);
        QVERIFY2(notes[0] == "same" && notes[1] == "comparing..." && notes[2].contains("Bad data") &&
                     notes[3] == "comparing...",
                 qPrintable(notes.join(" | ")));
        settle(w);
        QCOMPARE(Row(w->lvFiles->topLevelItem(1)), (QStringList{"OLDSCN1.TXT", "0", "0", "0"}));
        QCOMPARE(w->lvFiles->topLevelItem(3)->text(8),
                 QString("too large to compare (67108865 bytes; at most 64 MiB)"));

        // A change of the scenario: every file again.
        Scenario& scn = forms_->edit->Scn();
        QVERIFY(MoveSetup(scn, scn.SetupList()[0], 9, 9, forms_->edit->ListLines(), forms_->edit->Document().Step()));
        w->Refresh();
        QCOMPARE(w->lvFiles->topLevelItem(0)->text(8), QString("comparing..."));
        settle(w);
        QCOMPARE(Row(w->lvFiles->topLevelItem(0)), (QStringList{"CH_A.SCN (scenario)", "0", "0", "1"}));
        QCOMPARE(forms_->ui.errors(), QStringList());
    }

    // A backup replaced by a FIFO between the listing and Restore: refused,
    // and the editor is as it was (records, map, path, nothing unsaved).
    void aRefusedRestoreChangesNothing() {
        TfrmBackups* w = openBackups();
        ClickRow(w->lvFiles, 1);
        QVERIFY(QFile::remove(game_ + "/OLDSCN1.TXT"));
        QCOMPARE(mkfifo(QFile::encodeName(game_ + "/OLDSCN1.TXT").constData(), 0644), 0);
        Scenario& scn = forms_->edit->Scn();
        const auto listed = [&scn] { return std::vector(scn.SetupList().begin(), scn.SetupList().end()); };
        const auto setups = listed();
        forms_->map.calls.clear();
        ClickButton(w->bnRestore);
        QCOMPARE(forms_->ui.errors(), QStringList{game_ + "/OLDSCN1.TXT is not a regular file"});
        QVERIFY(listed() == setups);
        QVERIFY(!scn.Modified && !scn.ReadIncomplete);
        QCOMPARE(forms_->map.calls, QStringList());
        QCOMPARE(forms_->edit->Ui().edScenarioPath->text(), game_ + "/CH_A.SCN");
        QVERIFY(!forms_->edit->isWindowModified());
    }

    // After a Restore the scenario file keeps its own stamp: another
    // program's change of it is still seen by Save.
    void afterRestoreSaveStillSeesAnOutsideChange() {
        TfrmBackups* w = openBackups();
        ClickRow(w->lvFiles, 1);
        ClickButton(w->bnRestore);
        WriteGameFile(game_ + "/CH_A.SCN", FixtureScn() + "; another program's line\n");
        const QByteArray theirs = ReadBytes(game_ + "/CH_A.SCN");
        forms_->ui.setNextAnswer(Answer::Cancel);
        ClickButton(forms_->edit->Ui().sbSave);
        QCOMPARE(forms_->ui.questions(),
                 QStringList{"The scenario file was changed by another program since it was read. Save anyway?"});
        QCOMPARE(ReadBytes(game_ + "/CH_A.SCN"), theirs);
        QCOMPARE(forms_->ui.errors(), QStringList());
    }
};

QTEST_MAIN(TestBackups)
#include "test_backups.moc"
