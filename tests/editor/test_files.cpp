// Settings, closing, Browse and Save as the user meets them.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include "editor/dialogs.h"
#include "editor/document/scndocument.h"
#include "editor/widgets/listbox.h"
#include "scenario/scnedit.h"
#include "tests/editor/editortestkit.h"

using namespace varno;

namespace {

// Records the status panel's text each time it is painted.
class PaintLog : public QObject {
public:
    explicit PaintLog(QLabel* label) : label_(label) { label->installEventFilter(this); }
    QStringList texts;

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (o == label_ && e->type() == QEvent::Paint) {
            if (texts.isEmpty() || texts.last() != label_->text()) texts << label_->text();
        }
        return false;
    }

private:
    QLabel* label_;
};

}  // namespace

class TestFiles : public GameFolderTest {
    Q_OBJECT

private slots:
    void init() { setUpGame(); }
    void cleanup() { tearDownGame(); }

    // --- settings -----------------------------------------------------------

    void withoutSettingsTheDesignedPlacesAndAllEightKeysAtClosing() {
        QVERIFY(!QFile::exists(sandbox_->iniPath()));
        QByteArray column;
        {
            Forms f;
            column = QByteArray::number(f.edit->findChild<QSplitter*>("Splitter1")->sizes().value(0));
            QCOMPARE(f.edit->Ui().edScenarioPath->text(), QString(".SCN"));
            QCOMPARE(f.edit->Scn().OobPath, std::string("C:\\KLV\\MAIN.OOB"));
            QCOMPARE(f.edit->pos(), QPoint(75, 120));
            QCOMPARE(f.map.pos(), QPoint(-3, 94));
            QCOMPARE(f.map.size(), QSize(600, 480));
            QVERIFY(f.edit->close());
            QVERIFY(f.ui.shown.isEmpty());
        }
        QCOMPARE(ReadBytes(sandbox_->iniPath()), Crlf("[Paths]\n"
                                                      "OOBfile=C:\\KLV\\MAIN.OOB\n"
                                                      "SCNfile=.SCN\n"
                                                      "\n"
                                                      "[Forms]\n"
                                                      "EditTop=120\n"
                                                      "EditLeft=75\n"
                                                      "MapTop=-1\n"  // never shown: no place of its own
                                                      "MapLeft=-1\n"
                                                      "MapHt=480\n"
                                                      "MapWid=600\n"
                                                      "\n"
                                                      "[Layout]\n"
                                                      "OobWidth=" +
                                                      column +
                                                      "\n"
                                                      "HexNumbers=0\n"
                                                      "Arrivals=0\n"
                                                      "Orders=0\n"
                                                      "Releases=0\n"));
    }

    void settingsRoundTrip() {
        WriteGameFile(sandbox_->iniPath(), "; kept\n"
                                           "[paths]\n"
                                           "SCNfile = /games/x/Ch_A.scn\n"
                                           "OOBfile=/games/x/MAIN.OOB\n"
                                           "[Forms]\n"
                                           "EditTop=200\n"
                                           "EditLeft=-5\n"
                                           "MapTop=10\n"
                                           "MapLeft=20\n"
                                           "MapHt=300\n"
                                           "MapWid=400\n"
                                           "[Other]\n"
                                           "Key=1\n");
        {
            Forms f;
            QCOMPARE(f.edit->Ui().edScenarioPath->text(), QString("/games/x/Ch_A.scn"));
            QCOMPARE(f.edit->Scn().OobPath, std::string("/games/x/MAIN.OOB"));
            // A negative left keeps the designed left edge.
            QCOMPARE(f.edit->pos(), QPoint(75, 200));
            QCOMPARE(f.map.pos(), QPoint(20, 10));
            QCOMPARE(f.map.size(), QSize(400, 300));
            f.edit->move(30, 40);
            f.map.move(50, 60);
            f.map.resize(500, 350);
            f.edit->findChild<QSplitter*>("Splitter1")->setSizes({300, 300});
            TypeInto(f.edit->Ui().edScenarioPath, game_ + "CH_A.SCN");
            QVERIFY(f.edit->close());
        }
        const QByteArray ini = ReadBytes(sandbox_->iniPath());
        QCOMPARE(ini, Crlf("; kept\n"
                           "[paths]\n"
                           "SCNfile=" +
                           game_.toUtf8() +
                           "CH_A.SCN\n"
                           "OOBfile=/games/x/MAIN.OOB\n"
                           "[Forms]\n"
                           "EditTop=40\n"
                           "EditLeft=30\n"
                           "MapTop=60\n"
                           "MapLeft=50\n"
                           "MapHt=350\n"
                           "MapWid=500\n"
                           "[Other]\n"
                           "Key=1\n"
                           "\n"
                           "[Layout]\n"
                           "OobWidth=300\n"
                           "HexNumbers=0\n"
                           "Arrivals=0\n"
                           "Orders=0\n"
                           "Releases=0\n"));
        Forms again;
        QCOMPARE(again.edit->findChild<QSplitter*>("Splitter1")->sizes().value(0), 300);
        QCOMPARE(again.edit->pos(), QPoint(30, 40));
        QCOMPARE(again.map.geometry(), QRect(50, 60, 500, 350));
        QCOMPARE(again.edit->Ui().edScenarioPath->text(), game_ + "CH_A.SCN");
    }

    void unreadableNumbersKeepTheDesignedPlaces() {
        WriteGameFile(sandbox_->iniPath(), "[Forms]\nEditTop=abc\nEditLeft=\nMapHt=12x\nMapWid=-1\n");
        Forms f;
        QCOMPARE(f.edit->pos(), QPoint(75, 120));
        QCOMPARE(f.map.size(), QSize(600, 480));
        QCOMPARE(f.edit->Ui().edScenarioPath->text(), QString(".SCN"));
    }

    void settingsThatCannotBeWrittenStillClose() {
        // The settings folder is taken by a file.
        WriteGameFile(QFileInfo(sandbox_->iniPath()).absolutePath(), "not a folder\n");
        Forms f;
        QVERIFY(f.edit->close());
        QVERIFY(!f.edit->isVisible());
        QCOMPARE(f.ui.errors(), QStringList{"Unable to write to " + sandbox_->iniPath()});
    }

    // --- closing ------------------------------------------------------------

    void closingWithUnsavedChanges() {
        Forms f;
        TypeInto(f.edit->Ui().edScenarioPath, game_ + "CH_A.SCN");
        ClickButton(f.edit->Ui().sbRead);
        const TSetupRec* first = f.edit->Scn().SetupList().front();
        SetupFields stronger = FieldsOf(*first);
        stronger.Strength = 99;
        StoreSetup(f.edit->Scn(), first, stronger, f.edit->ListLines(), f.edit->Document().Step());

        f.ui.setNextAnswer(Answer::Cancel);
        QVERIFY(!f.edit->close());
        QCOMPARE(f.ui.questions(), QStringList{"Changes have not been saved is this okay?"});
        QVERIFY(f.edit->isVisible());
        QVERIFY(f.edit->Scn().Modified);
        QCOMPARE(f.edit->Ui().lbSetUnits->count(), 3);
        QVERIFY(!QFile::exists(sandbox_->iniPath()));

        f.ui.clearShown();
        f.ui.setNextAnswer(Answer::Ok);
        QVERIFY(f.edit->close());
        QCOMPARE(f.ui.questions(), QStringList{"Changes have not been saved is this okay?"});
        QVERIFY(!f.edit->isVisible());
        QVERIFY(QFile::exists(sandbox_->iniPath()));
        // The scenario is not saved.
        QCOMPARE(ReadBytes(game_ + "CH_A.SCN"), Crlf(FixtureScn()));
        QVERIFY(!QFile::exists(game_ + "OLDSCN1.TXT"));
    }

    void theExitMenuAsksToo() {
        Forms f;
        f.edit->Scn().Modified = true;
        f.ui.setNextAnswer(Answer::Cancel);
        f.edit->Ui().mnuExit->trigger();
        QVERIFY(f.edit->isVisible());
        QCOMPARE(f.ui.questions().size(), 1);
    }

    // --- Browse -------------------------------------------------------------

    void browseKeepsTheChosenNameAndReads() {
        QFile::rename(game_ + "CH_A.SCN", game_ + "ch_a.scn");
        Forms f;
        TypeInto(f.edit->Ui().edScenarioPath, game_ + "OTHER.SCN");
        f.ui.setNextFileName(game_ + "ch_a.scn");
        ClickButton(f.edit->Ui().bnBrowse);
        QCOMPARE(f.ui.openRequests.size(), 1);
        QCOMPARE(f.ui.openRequests[0].initialDir, game_);
        QCOMPARE(f.edit->Ui().edScenarioPath->text(), game_ + "ch_a.scn");
        QCOMPARE(f.edit->Ui().lbSetUnits->count(), 3);
        QVERIFY(f.edit->Ui().sbSave->isEnabled());
        QVERIFY(f.ui.errors().isEmpty());
    }

    void browseFromABareNameStartsInTheWorkingDirectory() {
        Forms f;
        QCOMPARE(f.edit->Ui().edScenarioPath->text(), QString(".SCN"));
        f.ui.setNextFileName(QString());  // the user cancels
        f.edit->Ui().mnuBrowse->trigger();
        QCOMPARE(f.ui.openRequests.size(), 1);
        QCOMPARE(f.ui.openRequests[0].initialDir, QString());
        QCOMPARE(f.edit->Ui().edScenarioPath->text(), QString(".SCN"));
        QCOMPARE(f.edit->Ui().lbUnits->count(), 0);
        QVERIFY(!f.edit->Ui().sbSave->isEnabled());
    }

    // The file dialog starts in the folder asked for and shows the
    // scenarios whatever the case of their extension, under one filter.
    void theFileDialogShowsScenariosOfAnyCase() {
        Forms f;
        for (const char* name : {"b.scn", "C.Scn", "notes.txt"}) WriteGameFile(game_ + name, "x\n");
        OpenFileRequest request = f.edit->Ui().OpenDlg;
        request.initialDir = game_;
        QCOMPARE(request.filters.value(0), QString("Scenarios (*.SCN)"));
        QStringList shown;
        QTimer poll;
        QElapsedTimer waited;
        waited.start();
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            auto* view = dlg ? dlg->findChild<QTreeView*>() : nullptr;
            if (!view) return;
            shown.clear();
            for (int i = 0; i < view->model()->rowCount(view->rootIndex()); ++i)
                shown << view->model()->index(i, 0, view->rootIndex()).data().toString();
            if (shown.size() >= 3 || waited.elapsed() > 5000) dlg->reject();
        });
        poll.start(20);
        QtDialogs().OpenFile(f.edit.get(), request);
        shown.sort();
        QCOMPARE(shown, QStringList({"C.Scn", "CH_A.SCN", "b.scn"}));
    }

    void browseAsksAboutUnsavedChangesThroughRead() {
        Forms f;
        TypeInto(f.edit->Ui().edScenarioPath, game_ + "CH_A.SCN");
        ClickButton(f.edit->Ui().sbRead);
        f.edit->Scn().Modified = true;
        f.ui.setNextFileName(game_ + "MAIN.OOB");
        f.ui.setNextAnswer(Answer::Cancel);
        ClickButton(f.edit->Ui().bnBrowse);
        QCOMPARE(f.ui.questions(), QStringList{"Changes have not been saved is this okay?"});
        QCOMPARE(f.edit->Ui().lbSetUnits->count(), 3);
        QVERIFY(f.ui.allAnswersUsed());
    }

    // --- Save ---------------------------------------------------------------

    void saveWritesTheFileAndShowsEachStep() {
        Forms f;
        TypeInto(f.edit->Ui().edScenarioPath, game_ + "CH_A.SCN");
        ClickButton(f.edit->Ui().sbRead);
        f.edit->Scn().Modified = true;
        PaintLog log(f.edit->Ui().Status);
        ClickButton(f.edit->Ui().sbSave);
        QVERIFY(f.ui.errors().isEmpty());
        QCOMPARE(f.edit->Ui().Status->text(), QString("Done"));
        QCOMPARE(log.texts, QStringList({"saving reinforcements", "saving commands", "saving trailer", "Done"}));
        QVERIFY(!f.edit->Scn().Modified);
        // The old file is the first backup; the new one has the same lines
        // (its release keeps its chance: Read cleared "V 1.03").
        QCOMPARE(ReadBytes(game_ + "OLDSCN1.TXT"), Crlf(FixtureScn()));
        QCOMPARE(ReadBytes(game_ + "CH_A.SCN"), Crlf(FixtureScn()));
    }

    void saveSortedAndWithChances() {
        Forms f;
        TypeInto(f.edit->Ui().edScenarioPath, game_ + "CH_A.SCN");
        ClickButton(f.edit->Ui().sbRead);
        ClickButton(f.edit->Ui().cbSort);
        QVERIFY(!f.edit->Ui().cbV103->isChecked());  // the file's release has a chance
        PaintLog log(f.edit->Ui().Status);
        f.edit->Ui().mnuSave->trigger();
        QCOMPARE(log.texts, QStringList({"Sorting cols", "saving setups", "saving reinforcements", "saving commands",
                                         "saving trailer", "Done"}));
        const QList<QByteArray> lines = ReadBytes(game_ + "CH_A.SCN").split('\n');
        QCOMPARE(lines[9], QByteArray("1 1.1 2 0 0 0 0 0 3 4\r"));
        QCOMPARE(lines[10], QByteArray("1 1.12.3.1.1 1 0 200 0 0 0 5 6\r"));
        QCOMPARE(lines[11], QByteArray("1 1.12 1 0 0 0 0 0 7 7\r"));
        QVERIFY(lines.contains("4 1863 7 1 8 0 50 1.12.2\r"));
        // The list keeps its order.
        QCOMPARE(f.edit->Ui().lbSetUnits->item(0)->text(), QString("500 3 I X 1st Maine"));
    }

    void aFailedSaveKeepsTheChanges() {
        Forms f;
        TypeInto(f.edit->Ui().edScenarioPath, game_ + "CH_A.SCN");
        ClickButton(f.edit->Ui().sbRead);
        f.edit->Scn().Modified = true;
        // The save cannot take its lock: a folder stands where the lock file goes.
        const QString target = game_ + "CH_A.SCN";
        QVERIFY(QDir().mkdir(game_ + ".varno.lock"));
        ClickButton(f.edit->Ui().sbSave);
        QCOMPARE(f.ui.errors().size(), 1);
        QVERIFY2(f.ui.errors()[0].startsWith("Cannot write " + target), qPrintable(f.ui.errors()[0]));
        QVERIFY(f.edit->Scn().Modified);
        QVERIFY(f.edit->Ui().Status->text() != "Done");
        QVERIFY(f.edit->isVisible());
        // The window stays usable: once the save can be made, it is.
        QVERIFY(QDir().rmdir(game_ + ".varno.lock"));
        ClickButton(f.edit->Ui().sbSave);
        QCOMPARE(f.edit->Ui().Status->text(), QString("Done"));
    }

    void saveIsDisabledBeforeARead() {
        Forms f;
        TypeInto(f.edit->Ui().edScenarioPath, game_ + "CH_A.SCN");
        ClickButton(f.edit->Ui().sbSave);
        f.edit->Ui().mnuSave->trigger();
        QVERIFY(!QFile::exists(game_ + "OLDSCN1.TXT"));
        QCOMPARE(f.edit->Ui().Status->text(), QString());
    }
};

QTEST_MAIN(TestFiles)
#include "test_files.moc"
