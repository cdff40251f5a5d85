// What a new user meets in the first hour: the window's place across starts,
// saves that must not lose a version, messages of lines with NUL bytes, menu
// keys, the column's width and the form of the releases.
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "editor/widgets/listbox.h"
#include "tests/editor/editortestkit.h"

using namespace varno;

namespace {

const QString kPartial = QStringLiteral(
    "The scenario was not read completely. Saving now writes only what was read before the error. Save anyway?");

QByteArray Header() {
    QByteArray h;
    for (int i = 1; i <= 9; ++i) h += "H\n";
    return h;
}

void Read(Forms& f, const QString& path) {
    TypeInto(f.edit->Ui().edScenarioPath, path);
    ClickButton(f.edit->Ui().sbRead);
}

// Where the window stands when it is first shown.
class FirstShow : public QObject {
public:
    QPoint pos{-1, -1};

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Show && pos == QPoint(-1, -1)) pos = static_cast<QWidget*>(o)->pos();
        return false;
    }
};

}  // namespace

class TestFirstHour : public GameFolderTest {
    Q_OBJECT

private slots:
    void init() { setUpGame(); }
    void cleanup() { tearDownGame(); }

    // 1. The stored place is given to the window before it is shown (a window
    // manager then puts the frame there), and closing stores the same place.
    void thePlaceIsAppliedBeforeShowingAndStoredAsApplied() {
        WriteGameFile(sandbox_->iniPath(), "[Forms]\nEditTop=200\nEditLeft=100\n");
        {
            TestDialogs ui;
            RecordingMap map;
            TfrmEdit edit(ui, &map);
            FirstShow first;
            edit.installEventFilter(&first);
            edit.show();
            QCOMPARE(first.pos, QPoint(100, 200));
            QCOMPARE(edit.pos(), QPoint(100, 200));
            QVERIFY(edit.close());
        }
        const QByteArray ini = ReadBytes(sandbox_->iniPath());
        QVERIFY2(ini.contains("EditTop=200\r\nEditLeft=100\r\n"), ini.constData());
    }

    // 2. The old file cannot take its backup name: nothing is written.
    void aBackupThatCannotBeMadeStopsTheSave() {
        Forms f;
        Read(f, game_ + "CH_A.SCN");
        QVERIFY(QDir().mkpath(game_ + "OLDSCN1.TXT/busy"));
        f.edit->Scn().Modified = true;
        ClickButton(f.edit->Ui().sbSave);
        QCOMPARE(f.ui.errors(), QStringList{"Cannot back up " + game_ + "CH_A.SCN to OLDSCN1.TXT: Is a directory"});
        QCOMPARE(ReadBytes(game_ + "CH_A.SCN"), Crlf(FixtureScn()));
        QVERIFY(f.edit->Scn().Modified);
        QVERIFY(f.edit->Ui().Status->text() != "Done");
    }

    // 3. After a Read that stopped at a bad line, Save asks first.
    void savingAfterAFailedReadAsks() {
        Forms f;
        Read(f, game_ + "CH_A.SCN");
        const QByteArray bad = Header() + "1 1.1 2 0 0 0 0 0 3 4\n1 1.2 x\n1 1.12 1 0 0 0 0 0 7 7\n";
        WriteGameFile(game_ + "CH_A.SCN", bad);
        ClickButton(f.edit->Ui().sbRead);
        QCOMPARE(f.ui.errors(), QStringList{"Bad data in 1 1.2 x"});
        QVERIFY(f.edit->Ui().sbSave->isEnabled());

        f.ui.clearShown();
        f.ui.setNextAnswer(Answer::Cancel);
        QTest::keyClick(f.edit->Ui().edScenarioPath, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(f.ui.questions(), QStringList{kPartial});
        QCOMPARE(ReadBytes(game_ + "CH_A.SCN"), Crlf(bad));
        QVERIFY(!QFile::exists(game_ + "OLDSCN1.TXT"));

        f.ui.clearShown();
        f.ui.setNextAnswer(Answer::Ok);
        f.edit->Ui().mnuSave->trigger();
        QCOMPARE(f.ui.questions(), QStringList{kPartial});
        QCOMPARE(ReadBytes(game_ + "OLDSCN1.TXT"), Crlf(bad));
        QVERIFY(ReadBytes(game_ + "CH_A.SCN").contains("1 1.2 0 0 0 0 0 0 0 0\r\n"));

        // A complete Read ends it: Save asks nothing.
        WriteGameFile(game_ + "CH_A.SCN", FixtureScn());
        ClickButton(f.edit->Ui().sbRead);
        f.ui.clearShown();
        ClickButton(f.edit->Ui().sbSave);
        QVERIFY(f.ui.shown.isEmpty());
        QCOMPARE(f.edit->Ui().Status->text(), QString("Done"));
    }

    // 4. A NUL byte in a bad line: the whole line, the NUL shown as a mark.
    void messagesKeepTheLineAfterANul_data() {
        QTest::addColumn<QByteArray>("oob");
        QTest::addColumn<QByteArray>("scn");
        QTest::addColumn<QString>("message");
        const QString nul = QString(QChar(0x2400));
        QTest::newRow("inside") << FixtureOob() << Header() + QByteArray("1 1 x\0y\n", 8)
                                << "Bad data in 1 1 x" + nul + "y";
        QTest::newRow("first") << FixtureOob() << Header() + QByteArray("0\n1 0\n\0x\n", 10)
                               << "Bad data in " + nul + "x";
        QTest::newRow("order of battle") << QByteArray("H\nUnion U 1 x\0y\n", 15) << FixtureScn()
                                         << "Bad data U 1 x" + nul + "y";
    }
    void messagesKeepTheLineAfterANul() {
        QFETCH(QByteArray, oob);
        QFETCH(QByteArray, scn);
        QFETCH(QString, message);
        WriteGameFile(game_ + "MAIN.OOB", oob);
        WriteGameFile(game_ + "CH_A.SCN", scn);
        Forms f;
        Read(f, game_ + "CH_A.SCN");
        QCOMPARE(f.ui.errors(), QStringList{message});
    }

    // 5. Alt and a menu's letter open the menu at the first press, also where
    // a tab or a button has the letter; Ctrl+O reads and Ctrl+S saves.
    void menuLettersOpenTheirMenusAtOnce_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("menu");
        QTest::newRow("File") << int(Qt::Key_F) << "File1";
        QTest::newRow("Edit") << int(Qt::Key_E) << "Edit1";
        QTest::newRow("View") << int(Qt::Key_V) << "View1";
        QTest::newRow("Search") << int(Qt::Key_S) << "Search1";
    }
    void menuLettersOpenTheirMenusAtOnce() {
        QFETCH(int, key);
        QFETCH(QString, menu);
        Forms f;
        QVERIFY(QTest::qWaitForWindowActive(f.edit.get()));
        TypeInto(f.edit->Ui().edScenarioPath, game_ + "CH_A.SCN");
        QTest::keyClick(f.edit->Ui().edScenarioPath, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(f.edit->Ui().lbSetUnits->count(), 3);
        const QString path = f.edit->Ui().edScenarioPath->text();

        QTest::keyClick(f.edit->Ui().edScenarioPath, Qt::Key(key), Qt::AltModifier);
        auto* m = f.edit->findChild<QMenu*>(menu);
        QVERIFY(m->isVisible());
        QCOMPARE(f.edit->Ui().Notebook1->currentIndex(), 0);
        QCOMPARE(f.edit->Ui().edScenarioPath->text(), path);
        QVERIFY(!QFile::exists(game_ + "OLDSCN1.TXT"));
        m->hide();
    }
    void altFThenXExits() {
        Forms f;
        QVERIFY(QTest::qWaitForWindowActive(f.edit.get()));
        f.edit->Ui().edScenarioPath->setFocus();
        QTest::keyClick(f.edit->Ui().edScenarioPath, Qt::Key_F, Qt::AltModifier);
        QVERIFY(f.edit->Ui().File1->isVisible());
        QTest::keyClick(f.edit->Ui().File1, Qt::Key_X);
        QVERIFY(!f.edit->isVisible());
        QCOMPARE(f.edit->Ui().edScenarioPath->text(), QString(".SCN"));
    }
    void ctrlTabReachesThePages() {
        Forms f;
        QVERIFY(QTest::qWaitForWindowActive(f.edit.get()));
        f.edit->Ui().lbSetUnits->setFocus();
        QTest::keyClick(f.edit->Ui().lbSetUnits, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(f.edit->Ui().Notebook1->currentIndex(), 1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(f.edit->Ui().Notebook1->currentIndex(), 2);
        // Also from the column beside the notebook, both ways round.
        f.edit->Ui().lbUnits->setFocus();
        QTest::keyClick(f.edit->Ui().lbUnits, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(f.edit->Ui().Notebook1->currentIndex(), 3);
        QTest::keyClick(f.edit->Ui().lbUnits, Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(f.edit->Ui().Notebook1->currentIndex(), 0);
        QTest::keyClick(f.edit->Ui().lbUnits, Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(f.edit->Ui().Notebook1->currentIndex(), 3);
    }

    // 8. The column shows the demo's unit lines whole.
    void theColumnShowsTheDemosLinesWhole() {
        const QString demo = SourceDir() + "/demo/";
        Forms f;
        Read(f, demo + "DEMO.SCN");
        QVERIFY(f.ui.shown.isEmpty());
        QVERIFY(f.edit->Ui().lbUnits->count() > 300);
        QVERIFY2(f.edit->Ui().lbUnits->sizeHintForColumn(0) <= f.edit->Ui().lbUnits->viewport()->width(),
                 qPrintable(QString("%1 > %2")
                                .arg(f.edit->Ui().lbUnits->sizeHintForColumn(0))
                                .arg(f.edit->Ui().lbUnits->viewport()->width())));
        // The notebook's tabs fit beside it.
        QVERIFY(f.edit->Ui().Notebook1->width() >= f.edit->Ui().Notebook1->tabBar()->sizeHint().width());
    }

    // 9. Read sets "V 1.03" to the form of the file's releases.
    void readSetsTheReleaseForm_data() {
        QTest::addColumn<QByteArray>("releases");
        QTest::addColumn<bool>("v103");
        QTest::addColumn<QByteArray>("saved");
        QTest::newRow("with chance") << QByteArray("4 1863 7 1 8 0 80 1.12.2\n4 1863 7 1 8 0 1.1\n") << false
                                     << QByteArray("4 1863 7 1 8 0 80 1.12.2\n4 1863 7 1 8 0 100 1.1\n");
        QTest::newRow("without") << QByteArray("4 1863 7 1 8 0 1.12.2\n") << true
                                 << QByteArray("4 1863 7 1 8 0 1.12.2\n");
        QTest::newRow("none") << QByteArray() << true << QByteArray();
    }
    void readSetsTheReleaseForm() {
        QFETCH(QByteArray, releases);
        QFETCH(bool, v103);
        QFETCH(QByteArray, saved);
        const QByteArray scn = Header() + "1 1.1 2 0 0 0 0 0 3 4\n" + releases;
        WriteGameFile(game_ + "CH_A.SCN", scn);
        Forms f;
        // The box starts the other way, as an earlier file may have left it.
        f.edit->Ui().Notebook1->setCurrentIndex(1);
        if (f.edit->Ui().cbV103->isChecked() == v103) ClickButton(f.edit->Ui().cbV103);
        Read(f, game_ + "CH_A.SCN");
        QCOMPARE(f.edit->Ui().cbV103->isChecked(), v103);
        QCOMPARE(f.edit->Ui().seChance->isEnabled(), !v103);
        f.edit->Scn().Modified = true;
        ClickButton(f.edit->Ui().sbSave);
        QCOMPARE(ReadBytes(game_ + "CH_A.SCN"), Crlf(Header() + "1 1.1 2 0 0 0 0 0 3 4\n" + saved));
    }
};

QTEST_MAIN(TestFirstHour)
#include "test_firsthour.moc"
