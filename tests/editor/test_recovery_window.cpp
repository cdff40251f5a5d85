// Recovery copies in the window: the copy follows the unsaved changes and
// goes with them; the question at start and its three answers; a scenario
// file changed since the copy's base; a copy that cannot be written.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include "editor/document/recoverykeeper.h"
#include "editor/document/scndocument.h"
#include "editor/widgets/listbox.h"
#include "mapview/maphost.h"
#include "scenario/scnwriter.h"
#include "tests/editor/editortestkit.h"

using namespace varno;

namespace {

enum { kRecover, kDiscard, kLater };

// What Save would write of the window's scenario now.
QByteArray SaveText(TfrmEdit& e) {
    const WriteOptions opts{.SortByCol = e.Ui().cbSort->isChecked(), .V103 = e.Ui().cbV103->isChecked()};
    return QByteArray::fromStdString(ScenarioText(e.Scn(), opts, nullptr));
}

// A move on the map, once it is a step of the history (the map's steps are
// committed in the event loop).
void MoveOnMap(Forms& f, int col, int row) {
    f.map.Host()->MoveCurSetup(col, row);
    QTRY_VERIFY(f.edit->Ui().mnuUndo->text().endsWith(QString(" to %1,%2").arg(col).arg(row)));
}

// Until the copy due is written (or has failed) and the window heard of it.
void Settle(TfrmEdit& e) {
    QTRY_VERIFY_WITH_TIMEOUT(!e.Recovery()->Due(), 5000);
    e.Recovery()->Wait();
    QCoreApplication::processEvents();
}

}  // namespace

class TestRecovery : public QObject {
    Q_OBJECT
    SettingsSandbox sandbox_;
    QTemporaryDir tmp_;
    QString dir_;

    static RecoveryFolder Folder() { return RecoveryFolder(RecoveryFolder::DefaultPath()); }

    // The fixture game read by a window that keeps copies.
    std::unique_ptr<Forms> Start() {
        auto f = ReadFixtureGame(dir_, FixtureScn());
        f->edit->KeepRecoveryCopies(Folder());
        return f;
    }
    // A window that moved a placement, then ended without closing, as after
    // a kill: its copy and what the copy holds.
    QByteArray Crash() {
        auto f = Start();
        ClickLine(f->edit->Ui().lbSetUnits, 0);
        MoveOnMap(*f, 12, 7);
        Settle(*f->edit);
        return SaveText(*f->edit);
    }
    QString File() const { return dir_ + "/CH_A.SCN"; }

private slots:
    void init() {
        dir_ = tmp_.path() + "/" + QTest::currentTestFunction();
        QDir().mkpath(dir_);
        QDir(QString::fromStdString(Folder().Path())).removeRecursively();
    }

    // Unsaved changes have a copy of what Save would write, in the state
    // folder; a Save, an undo back to the saved state and a close that gives
    // the changes up take it away. The scenario file is never touched.
    void theCopyFollowsTheUnsavedChanges() {
        auto f = Start();
        TfrmEdit& e = *f->edit;
        const QByteArray read = ReadBytes(File());
        ClickLine(e.Ui().lbSetUnits, 0);
        MoveOnMap(*f, 12, 7);
        Settle(e);
        std::vector<RecoveryEntry> list = Folder().List();
        QCOMPARE(list.size(), std::size_t{1});
        QCOMPARE(list[0].State, RecoveryState::InUse);
        QCOMPARE(list[0].Note.ScenarioPath, File().toStdString());
        QCOMPARE(list[0].Note.Step, std::string("Move 1.12.3.1.1 to 12,7"));
        const QByteArray copy = QByteArray::fromStdString(Folder().ReadCopy(list[0]));
        QCOMPARE(copy, SaveText(e));
        QCOMPARE(ReadBytes(File()), read);

        ClickButton(e.Ui().sbSave);
        Settle(e);
        QCOMPARE(ReadBytes(File()), copy);
        QVERIFY(Folder().List().empty());

        MoveOnMap(*f, 3, 4);
        Settle(e);
        QCOMPARE(Folder().List().size(), std::size_t{1});
        e.Ui().mnuUndo->trigger();
        Settle(e);
        QVERIFY(Folder().List().empty());

        MoveOnMap(*f, 3, 4);
        Settle(e);
        f->ui.setNextAnswer(Answer::Cancel);
        QVERIFY(!e.close());
        Settle(e);
        QCOMPARE(Folder().List().size(), std::size_t{1});
        f->ui.setNextAnswer(Answer::Ok);
        QVERIFY(e.close());
        f.reset();
        QVERIFY(Folder().List().empty());
        QCOMPARE(QDir(QString::fromStdString(Folder().Path())).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
    }

    // The copy of a program that did not close normally: Later keeps it and
    // asks again at the next start, Discard puts it aside, Recover reads the
    // file and puts the copy's records in as one step.
    void theQuestionAtStartAndItsThreeAnswers() {
        const QByteArray copy = Crash();
        const RecoveryEntry entry = Folder().List().at(0);
        QCOMPARE(entry.State, RecoveryState::Recoverable);
        const QString question =
            QString("Varno did not close normally. Recover the unsaved changes to CH_A.SCN from %1 (Move 1.12.3.1.1 "
                    "to 12,7)?")
                .arg(QString::fromStdString(LocalTimeText(entry.Note.Time)));

        for (const int answer : {kLater, kDiscard}) {
            Forms later;
            later.edit->KeepRecoveryCopies(Folder());
            later.ui.setNextChoice(answer);
            later.edit->OfferRecovery();
            QCOMPARE(later.ui.texts(TestDialogs::Kind::Choice), QStringList{question});
            QCOMPARE(later.ui.choicesShown.at(0), (QStringList{"&Recover", "&Discard", "&Later"}));
            QVERIFY(!later.edit->isWindowModified());
        }
        QVERIFY(Folder().List().empty());
        const QString bin = QString::fromStdString(Folder().Path()) + "discarded/" + QString::fromStdString(entry.Id);
        QCOMPARE(ReadBytes(bin + "/" + QString::fromStdString(entry.Note.CopyName)), copy);

        const QByteArray again = Crash();
        Forms f;
        TfrmEdit& e = *f.edit;
        e.KeepRecoveryCopies(Folder());
        f.ui.setNextChoice(kRecover);
        e.OfferRecovery();
        QCOMPARE(SaveText(e), again);
        QCOMPARE(e.windowTitle(), QString("Varno - CH_A.SCN[*]"));
        QVERIFY(e.isWindowModified());
        QCOMPARE(e.Ui().edScenarioPath->text(), File());
        QCOMPARE(e.Ui().mnuUndo->text(), QString("&Undo Recovered changes"));
        QCOMPARE(e.Ui().lbSetUnits->count(), 3);
        e.Ui().mnuUndo->trigger();
        QVERIFY(!e.isWindowModified());
        QVERIFY(SaveText(e) != again);
        e.Ui().mnuRedo->trigger();
        QCOMPARE(SaveText(e), again);
        QCOMPARE(f.ui.errors(), QStringList());

        // The copy is this window's now: no other start offers it.
        Settle(e);
        Forms other;
        other.edit->KeepRecoveryCopies(Folder());
        other.edit->OfferRecovery();
        QCOMPARE(other.ui.texts(TestDialogs::Kind::Choice), QStringList());
        QCOMPARE(Folder().List().at(0).State, RecoveryState::InUse);
    }

    // Another program changed the scenario file since the copy's changes
    // began: the question says so, and Recover opens the copy as a document
    // of the file's name whose Save asks before replacing their version.
    void aFileChangedSinceOpensTheCopyAsItsOwnDocument() {
        const QByteArray copy = Crash();
        const QByteArray theirs = FixtureScnWith("1 1.12.3.1.1 1 0 200 0 0 0 9 9\n");
        WriteGameFile(File(), theirs);
        QCOMPARE(Folder().List().at(0).State, RecoveryState::Changed);
        Forms f;
        TfrmEdit& e = *f.edit;
        e.KeepRecoveryCopies(Folder());
        f.ui.setNextChoice(kRecover);
        e.OfferRecovery();
        QVERIFY(f.ui.texts(TestDialogs::Kind::Choice)
                    .at(0)
                    .endsWith("CH_A.SCN was changed by another program since. Recover opens the copy as a new unsaved "
                              "document of that "
                              "name; its Save asks before it replaces the file."));
        QCOMPARE(SaveText(e), copy);
        QVERIFY(e.isWindowModified());
        QVERIFY(!e.Ui().mnuUndo->isEnabled());
        QCOMPARE(ReadBytes(File()), QByteArray(theirs).replace("\n", "\r\n"));

        f.ui.setNextAnswer(Answer::Ok);
        ClickButton(e.Ui().sbSave);
        QCOMPARE(f.ui.questions(),
                 QStringList{"The scenario file was changed by another program since it was read. Save anyway?"});
        QCOMPARE(ReadBytes(File()), copy);
        QCOMPARE(ReadBytes(dir_ + "/OLDSCN1.TXT"), QByteArray(theirs).replace("\n", "\r\n"));
        Settle(e);
        QVERIFY(Folder().List().empty());
    }

    // A state folder that cannot be written: one status line, no box, and
    // the editing goes on.
    void aCopyThatCannotBeWrittenIsOneStatusLine() {
        WriteGameFile(dir_ + "/afile", "");
        auto f = ReadFixtureGame(dir_, FixtureScn());
        TfrmEdit& e = *f->edit;
        e.KeepRecoveryCopies(RecoveryFolder((dir_ + "/afile/varno/recovery").toStdString()));
        ClickLine(e.Ui().lbSetUnits, 0);
        MoveOnMap(*f, 12, 7);
        Settle(e);
        const QString line =
            "Recovery copy not written: Cannot create " + dir_ + "/afile/varno/recovery/: Not a directory";
        QCOMPARE(e.Ui().Status->text(), line);
        e.Ui().Status->setText("something else");
        MoveOnMap(*f, 12, 8);
        Settle(e);
        QCOMPARE(e.Ui().Status->text(), QString("something else"));  // said once while the reason stays
        QCOMPARE(f->ui.errors(), QStringList());
        QVERIFY(e.isWindowModified());
    }
};

QTEST_MAIN(TestRecovery)
#include "test_recovery_window.moc"
