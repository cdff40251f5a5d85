// The scenario as a document: its file in the title, the line naming the
// record a page edits, File > New, Save As and Recent, Edit > Scenario
// Header, and undo and redo of the user's changes.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "editor/document/scndocument.h"
#include "editor/pages/commandspage.h"
#include "editor/pages/reinforcementspage.h"
#include "editor/pages/releasespage.h"
#include "editor/pages/setunitspage.h"
#include "editor/widgets/listbox.h"
#include "editor/widgets/numedit.h"
#include "editor/widgets/spinedit.h"
#include "mapview/maphost.h"
#include "mapview/stackimage.h"
#include "scenario/ooblookup.h"
#include "scenario/scnwriter.h"
#include "tests/editor/editortestkit.h"
#include "tests/editor/mapfixture.h"
#include "tests/scenario/random_edits.h"

using namespace varno;

namespace {

QStringList RecentTexts(TfrmEdit& e) {
    emit e.Ui().mnuRecent->aboutToShow();
    QStringList texts;
    for (QAction* a : e.Ui().mnuRecent->actions()) texts << a->text() + (a->isEnabled() ? "" : " (off)");
    return texts;
}

// The main window with a map window that draws its stacks, on the map tests'
// game (its entries all have dot names a scenario file can name).
struct MapWindows {
    TestDialogs ui;
    TfrmMap map;
    std::unique_ptr<TfrmEdit> edit;
    explicit MapWindows(const QString& dir) : edit(std::make_unique<TfrmEdit>(ui, &map)) {
        WriteGameFile(dir + "/MAIN.OOB", maptest::kOob);
        WriteGameFile(dir + "/main.map", "1\n12 10\n1 0 0\n");
        QImage picture(364, 360, QImage::Format_RGB32);
        picture.fill(qRgb(10, 120, 10));
        picture.save(dir + "/MAIN1.BMP", "BMP");
        maptest::Sheet().save(dir + "/../Icons2D.bmp", "BMP");
        map.setAttribute(Qt::WA_QuitOnClose, false);
        edit->show();
    }
    ~MapWindows() { edit.reset(); }
    void read(const QString& path) {
        TypeInto(edit->Ui().edScenarioPath, path);
        ClickButton(edit->Ui().sbRead);
    }
};

// What the views show: the stacks of `hexes` on the map (their units' icon
// codes), each page's editing line and the line selected in the column.
QStringList Shown(MapWindows& w, const std::vector<std::pair<int, int>>& hexes) {
    QStringList shown;
    for (const auto& [col, row] : hexes) {
        const TStackImage* s = w.map.StackAt(col, row);
        shown << QString("stack %1,%2: %3").arg(col).arg(row).arg(s && s->Visible ? s->Hint() : QString("none"));
    }
    const TfrmEdit& e = *w.edit;
    for (const QLabel* line : {e.Ui().pgSetUnits->lblEditing, e.Ui().pgReleases->lblEditing,
                               e.Ui().pgReinfor->lblEditing, e.Ui().pgCommands->lblEditing})
        shown << line->text();
    const int entry = e.Ui().lbUnits->SelectedLine();
    shown << "column: " + (entry >= 0 ? e.Ui().lbUnits->item(entry)->text() : QString("none"));
    return shown;
}

// The records of `from` selected in `to`, each by its place in the file's
// order of its list (`fromOrder`: the order a Save writes them in).
template <class R>
void SelectAlike(const Selection& from, const std::vector<const R*>& fromOrder, Selection& to, RecordList<R> toList) {
    std::vector<const R*> recs;
    const R* current = nullptr;
    for (const R* rec : from.Of<R>().Records()) {
        const auto at = std::find(fromOrder.begin(), fromOrder.end(), rec);
        QVERIFY2(at != fromOrder.end(), "a selected record that is not in its list");
        recs.push_back(toList[static_cast<std::size_t>(at - fromOrder.begin())]);
        if (rec == from.Of<R>().Current()) current = recs.back();
    }
    to.SelectMany(recs, current);
}

template <class R> std::vector<const R*> InOrder(RecordList<R> list) { return {list.begin(), list.end()}; }

// Reads the text `e` would save in `fresh`, as a user does, and selects
// there what is selected in `e`: the views of `fresh` show that scenario as
// a Read shows it.
void ReadAlike(TfrmEdit& e, MapWindows& fresh, const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(ScenarioTextOf(e.Scn(), WriteOptions{})));
    file.close();
    fresh.read(path);
    const Scenario& a = e.Scn();
    const Scenario& b = fresh.edit->Scn();
    QCOMPARE(b.SetupList().size(), a.SetupList().size());
    QCOMPARE(b.CommandList().size(), a.CommandList().size());
    // A Save writes the commands by their groups.
    std::vector<const TCommandRec*> commands = InOrder(a.CommandList());
    std::stable_sort(commands.begin(), commands.end(), [](auto* x, auto* y) { return x->Group < y->Group; });
    const Selection& from = e.Document().Sel();
    Selection& to = fresh.edit->Document().Sel();
    SelectAlike(from, InOrder(a.OobList()), to, b.OobList());
    SelectAlike(from, InOrder(a.SetupList()), to, b.SetupList());
    SelectAlike(from, InOrder(a.ReleaseList()), to, b.ReleaseList());
    SelectAlike(from, InOrder(a.ReinfList()), to, b.ReinfList());
    SelectAlike(from, commands, to, b.CommandList());
    // The entry picked in the column.
    fresh.edit->Ui().lbUnits->SelectLine(to.CurOob() ? IndexIn(b.OobList(), to.CurOob()) : -1);
}

void Check(bool condition, const char* what) { QVERIFY2(condition, what); }

}  // namespace

class TestDocument : public QObject {
    Q_OBJECT
    SettingsSandbox sandbox_;
    QTemporaryDir tmp_;
    QString dir_;

private slots:
    void init() {
        dir_ = tmp_.path() + "/" + QTest::currentTestFunction();
        QDir().mkpath(dir_);
    }

    // The title names the file; the page's line names the record its
    // fields belong to.
    void titleAndEditingLine() {
        Forms blank;
        QCOMPARE(blank.edit->windowTitle(), QString("Varno"));
        auto f = ReadFixtureGame(dir_, FixtureScn());
        TfrmEdit& e = *f->edit;
        QCOMPARE(e.windowTitle(), QString("Varno - CH_A.SCN[*]"));
        QVERIFY(!e.isWindowModified());
        QCOMPARE(e.Ui().pgSetUnits->lblEditing->text(), QString("New record: Add uses these values"));
        ClickLine(e.Ui().lbSetUnits, 1);
        QCOMPARE(e.Ui().pgSetUnits->lblEditing->text(), "Editing: " + e.Ui().lbSetUnits->item(1)->text());
        // An Add names the record it made.
        ClickLine(e.Ui().lbUnits, FixtureRow("1.12.3.1.2"));
        ClickButton(e.Ui().bnAdd);
        QCOMPARE(e.Ui().pgSetUnits->lblEditing->text(), "Editing: " + e.Ui().lbSetUnits->item(3)->text());
    }

    // Save As writes the same bytes as Save under the new name, which becomes
    // the scenario's; a name outside the game's folder is refused.
    void saveAs() {
        auto f = ReadFixtureGame(dir_, FixtureScn());
        TfrmEdit& e = *f->edit;
        f->ui.setNextFileName(tmp_.path() + "/ELSEWHERE.SCN");
        e.Ui().mnuSaveAs->trigger();
        QCOMPARE(f->ui.errors().size(), 1);
        QVERIFY(!QFile::exists(tmp_.path() + "/ELSEWHERE.SCN"));
        f->ui.setNextFileName(dir_ + "/COPY.SCN");
        e.Ui().mnuSaveAs->trigger();
        ClickButton(e.Ui().sbSave);  // now to COPY.SCN
        QCOMPARE(ReadBytes(dir_ + "/COPY.SCN"), ReadBytes(dir_ + "/CH_A.SCN"));
        QCOMPARE(e.Ui().edScenarioPath->text(), dir_ + "/COPY.SCN");
        QCOMPARE(e.windowTitle(), QString("Varno - COPY.SCN[*]"));
        QVERIFY(f->ui.allAnswersUsed());
    }

    // New starts an empty scenario under the chosen name, whatever the file
    // holds; its Save writes nine empty header lines.
    void newScenario() {
        auto f = ReadFixtureGame(dir_, FixtureScn());
        TfrmEdit& e = *f->edit;
        const int entries = e.Ui().lbUnits->count();
        f->ui.setNextFileName(dir_ + "/CH_A.SCN");
        e.Ui().mnuNew->trigger();
        QCOMPARE(e.Ui().lbSetUnits->count(), 0);
        QCOMPARE(e.Ui().lbUnits->count(), entries);
        QVERIFY(!e.isWindowModified());
        ClickButton(e.Ui().sbSave);
        QVERIFY(ReadBytes(dir_ + "/CH_A.SCN").startsWith(QByteArray("\r\n").repeated(9)));
        QCOMPARE(ReadBytes(dir_ + "/OLDSCN1.TXT"), FixtureScn().replace("\n", "\r\n"));
        QVERIFY(f->ui.allAnswersUsed());
    }

    // Recent lists the scenarios read, newest first, a gone one disabled,
    // and is kept in the settings.
    void recent() {
        QDir().mkpath(dir_ + "/b");
        WriteGameFile(dir_ + "/b/MAIN.OOB", FixtureOob());
        WriteGameFile(dir_ + "/b/B.SCN", FixtureScn());
        auto f = ReadFixtureGame(dir_, FixtureScn());
        TypeInto(f->edit->Ui().edScenarioPath, dir_ + "/b/B.SCN");
        ClickButton(f->edit->Ui().sbRead);
        QCOMPARE(RecentTexts(*f->edit), (QStringList{"&1 " + dir_ + "/b/B.SCN", "&2 " + dir_ + "/CH_A.SCN"}));
        // The menu is made once per change, not at each showing.
        f->edit->Ui().mnuRecent->actions().at(0)->setProperty("made", 1);
        RecentTexts(*f->edit);
        QCOMPARE(f->edit->Ui().mnuRecent->actions().at(0)->property("made"), QVariant(1));
        QVERIFY(f->edit->close());  // closing keeps them
        f.reset();
        QVERIFY(ReadBytes(sandbox_.iniPath()).contains("[Recent]\r\nFile1=" + (dir_ + "/b/B.SCN").toUtf8()));
        QFile::remove(dir_ + "/b/B.SCN");
        Forms again;
        QCOMPARE(RecentTexts(*again.edit), (QStringList{"&1 " + dir_ + "/b/B.SCN (off)", "&2 " + dir_ + "/CH_A.SCN"}));
        again.edit->Ui().mnuRecent->actions().at(1)->trigger();
        QCOMPARE(again.edit->Ui().lbSetUnits->count(), 3);
        QCOMPARE(again.edit->windowTitle(), QString("Varno - CH_A.SCN[*]"));
    }

    // The header dialog shows the nine lines; OK writes the changed ones,
    // and the others keep their bytes.
    void header() {
        QByteArray scn = FixtureScn();
        scn.replace("Header line 2", "Caf\xe9 line 2");
        auto f = ReadFixtureGame(dir_, scn);
        TfrmEdit& e = *f->edit;
        QStringList lines;
        for (int i = 1; i <= 9; ++i) lines << QString("Header line %1").arg(i);
        lines[1] = QString::fromLatin1("Caf\xe9 line 2");
        f->ui.setNextLines(std::nullopt);
        e.Ui().mnuHeader->trigger();
        QCOMPARE(f->ui.linesShown.value(0), lines);
        QVERIFY(!e.isWindowModified());
        QStringList edited = lines;
        edited[8] = QString::fromUtf8("\xce\xb1 new");
        f->ui.setNextLines(edited);
        e.Ui().mnuHeader->trigger();
        QVERIFY(e.isWindowModified());
        ClickButton(e.Ui().sbSave);
        const QList<QByteArray> saved = ReadBytes(dir_ + "/CH_A.SCN").split('\n');
        QCOMPARE(saved[1], QByteArray("Caf\xe9 line 2\r"));
        QCOMPARE(saved[8], QByteArray("\xce\xb1 new\r"));
    }

    // A header line longer than the limit: OK without an edit keeps it whole
    // and changes nothing, also in the toolkit's dialog; an edited line is cut.
    void aLongHeaderLineIsKeptUnlessEdited() {
        const QByteArray longLine(400, 'L');
        auto f = ReadFixtureGame(dir_, FixtureScn().replace("Header line 4", longLine));
        TfrmEdit& e = *f->edit;
        QStringList lines;
        for (int i = 1; i <= 9; ++i) lines << QString("Header line %1").arg(i);
        lines[3] = QString::fromLatin1(longLine);
        f->ui.setNextLines(lines);
        e.Ui().mnuHeader->trigger();
        QVERIFY(!e.isWindowModified());
        ClickButton(e.Ui().sbSave);
        QCOMPARE(ReadBytes(dir_ + "/CH_A.SCN").split('\n').value(3), longLine + "\r");

        QStringList shown{lines[3], "short"};
        QTimer::singleShot(0, [] {
            auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dlg);
            const QList<QLineEdit*> edits = dlg->findChildren<QLineEdit*>();
            QCOMPARE(edits.size(), 2);
            QTest::keyClicks(edits[1], QString(300, 'y'));
            dlg->accept();
        });
        QVERIFY(QtDialogs().EditLines(nullptr, "Scenario Header", shown, 255));
        QCOMPARE(shown, (QStringList{lines[3], "short" + QString(250, 'y')}));
    }

    // A sequence of page and map actions: undone to the start the scenario
    // saves as the file was, and is not modified there; redone to the end it
    // saves as the actions did without undo.
    void undoAndRedoEverything() {
        auto f = ReadFixtureGame(dir_, FixtureScn());
        TfrmEdit& e = *f->edit;
        const QString file = dir_ + "/CH_A.SCN";
        const QByteArray read = ReadBytes(file);
        QVERIFY(!e.Ui().mnuUndo->isEnabled());

        ClickLine(e.Ui().lbUnits, FixtureRow("1.12.3.1.2"));
        ClickButton(e.Ui().bnAdd);  // a placement
        TypeInto(e.Ui().pgSetUnits->edStrength, "77");
        ClickLine(e.Ui().lbSetUnits, 0);  // stores the strength
        f->map.Host()->MoveCurSetup(12, 7);
        QCOMPARE(e.Ui().mnuUndo->text(), QString("&Undo Move 1.12.3.1.1 to 12,7"));
        e.Ui().Notebook1->setCurrentIndex(2);
        ClickLine(e.Ui().lbReinfor, 0);
        ClickLine(e.Ui().lbUnits, FixtureRow("1.12.3.1.2"));
        f->ui.setNextAnswer(Answer::Yes);
        ClickButton(e.Ui().bnAdd);  // joins the group
        e.Ui().Notebook1->setCurrentIndex(3);
        ClickLine(e.Ui().lbCommands, 0);
        ClickButton(e.Ui().bnRemove);
        e.Ui().mnuSynchOOB->trigger();
        QCOMPARE(e.Ui().mnuUndo->text(), QString("&Undo Synch w/ OOB"));
        QVERIFY(f->ui.allAnswersUsed());
        ClickButton(e.Ui().sbSave);
        const QByteArray edited = ReadBytes(file);
        QVERIFY(edited != read);

        int steps = 0;
        while (e.Ui().mnuUndo->isEnabled()) {
            e.Ui().mnuUndo->trigger();
            ++steps;
        }
        QCOMPARE(steps, 6);
        QVERIFY(e.isWindowModified());  // no longer what was saved
        QCOMPARE(e.Ui().lbSetUnits->count(), 3);
        QCOMPARE(e.Ui().lbCommands->count(), 1);
        QCOMPARE(e.Ui().mnuRedo->text(), QString("&Redo Add placement 1.12.3.1.2"));
        ClickButton(e.Ui().sbSave);
        QCOMPARE(ReadBytes(file), read);

        while (e.Ui().mnuRedo->isEnabled()) e.Ui().mnuRedo->trigger();
        QVERIFY(e.isWindowModified());  // the save of the undone state is the file now
        ClickButton(e.Ui().sbSave);
        QCOMPARE(ReadBytes(file), edited);
        QCOMPARE(f->ui.errors(), QStringList());
    }

    // Random edits as the pages and the map make them, each one step: after
    // each, after its undo and after its redo again, every view shows what
    // a fresh Read of the same scenario with the same records selected shows
    // (the stacks of the step's hexes, each page's editing line, the
    // column's selection). The views follow the document alone: no handler
    // of the window runs.
    void viewsFollowEveryEditUndoAndRedo() {
        QDir().mkpath(dir_ + "/game");
        QDir().mkpath(dir_ + "/fresh/game");
        MapWindows w(dir_ + "/game"), fresh(dir_ + "/fresh/game");
        WriteGameFile(dir_ + "/game/CH_A.SCN", maptest::Scn());
        w.read(dir_ + "/game/CH_A.SCN");
        QCOMPARE(w.ui.errors(), QStringList{"Too many units in hex"});
        w.ui.clearShown();
        TfrmEdit& e = *w.edit;
        TScnDocument& doc = e.Document();
        std::vector<std::pair<int, int>> hexes;
        QObject::connect(&doc, &TScnDocument::changed, &e, [&hexes](const DocChange& c) { hexes = c.Hexes; });
        const auto same = [&] {
            ReadAlike(e, fresh, dir_ + "/fresh/game/CH_A.SCN");
            QCOMPARE(Shown(w, hexes), Shown(fresh, hexes));
        };
        // The user picks an entry in the column before each edit.
        const scntest::PickEntryFn pick = [&](const TOobRec* entry) {
            e.Ui().lbUnits->SelectLine(IndexIn(e.Scn().OobList(), entry));
            doc.Sel().Select(entry);
        };
        scntest::RandomSource in(31);
        int steps = 0;
        for (int round = 0; round < 80; ++round) {
            // A window's lists offer no record taken out of them.
            scntest::RemovedRecords gone;
            if (!scntest::RandomEdit(in, e.Scn(), doc.Sel(), e.ListLines(), gone, doc.Step(), Check, pick)) {
                doc.Commit();
                continue;
            }
            doc.Commit();
            ++steps;
            same();
            doc.History().undo();
            same();
            doc.History().redo();
            same();
            if (QTest::currentTestFailed()) return;
        }
        QVERIFY(steps > 25);
        QCOMPARE(w.ui.errors(), QStringList());
    }

    // Undo back to the last save clears the mark of a change; the keys.
    // The document tells once after every change, whatever made it, with
    // what it touched and whether the scenario equals its file again; a
    // selection alone is no change.
    void oneNotificationAfterEveryChange() {
        auto f = ReadFixtureGame(dir_, FixtureScn());
        TfrmEdit& e = *f->edit;
        QStringList told;
        QObject::connect(&e.Document(), &TScnDocument::changed, &e, [&told](const DocChange& c) {
            told << QString("%1 whole=%2 clean=%3 placements=%4 list=%5 hexes=%6")
                        .arg(int(c.Cause))
                        .arg(c.Whole)
                        .arg(c.Clean)
                        .arg(c.Placements.size())
                        .arg(c.ListChanged(RecordKind::Placement))
                        .arg(c.Hexes.size());
        });
        ClickLine(e.Ui().lbUnits, FixtureRow("1.12.3.1.2"));
        ClickButton(e.Ui().bnAdd);
        e.Ui().mnuUndo->trigger();
        e.Ui().mnuRedo->trigger();
        ClickButton(e.Ui().sbSave);
        ClickButton(e.Ui().sbRead);
        QCOMPARE(told, (QStringList{"0 whole=0 clean=0 placements=1 list=1 hexes=1",
                                    "1 whole=0 clean=1 placements=1 list=1 hexes=1",
                                    "2 whole=0 clean=0 placements=1 list=1 hexes=1",
                                    "6 whole=0 clean=1 placements=0 list=0 hexes=0",
                                    "3 whole=1 clean=1 placements=0 list=1 hexes=0"}));
        QCOMPARE(f->ui.errors(), QStringList());
    }

    void modifiedFollowsTheHistory() {
        auto f = ReadFixtureGame(dir_, FixtureScn());
        TfrmEdit& e = *f->edit;
        QCOMPARE(e.Ui().mnuRedo->shortcuts(),
                 (QList<QKeySequence>{QKeySequence("Ctrl+Shift+Z"), QKeySequence("Ctrl+Y")}));
        QCOMPARE(e.Ui().mnuUndo->shortcut(), QKeySequence("Ctrl+Z"));
        ClickLine(e.Ui().lbSetUnits, 0);
        f->map.Host()->MoveCurSetup(3, 3);
        ClickButton(e.Ui().sbSave);
        QVERIFY(!e.isWindowModified());
        f->map.Host()->MoveCurSetup(4, 4);
        QVERIFY(e.isWindowModified());
        e.Ui().mnuUndo->trigger();
        QVERIFY(!e.isWindowModified());
        QCOMPARE(e.Ui().pgSetUnits->edCol->text(), QString("3"));
        e.Ui().mnuUndo->trigger();  // before the save: changed again
        QVERIFY(e.isWindowModified());
        QCOMPARE(e.Ui().pgSetUnits->edCol->text(), QString("5"));
        // The close asks only while modified.
        e.Ui().mnuRedo->trigger();
        QVERIFY(e.close());
        QCOMPARE(f->ui.questions(), QStringList());
    }

    // The keys reach Edit > Undo and Redo from the path field, which keeps
    // the focus after a Read, while it has no typing of its own to undo.
    void undoKeysInThePathField() {
        auto f = ReadFixtureGame(dir_, FixtureScn());
        TfrmEdit& e = *f->edit;
        e.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&e));
        ClickLine(e.Ui().lbSetUnits, 0);
        f->map.Host()->MoveCurSetup(3, 3);
        QLineEdit* path = e.Ui().edScenarioPath;
        const QString shown = path->text();
        path->setFocus();
        QTRY_VERIFY(path->hasFocus());
        QTest::keyClick(path, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!e.isWindowModified());
        QTest::keyClick(path, Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(e.isWindowModified());
        QTest::keyClick(path, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);  // nothing more to redo
        QCOMPARE(path->text(), shown);
        // Typing in the field: the keys undo the typing first.
        QTest::keyClick(path, Qt::Key_X);
        QTest::keyClick(path, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(path->text(), shown);
        QVERIFY(e.isWindowModified());
        QTest::keyClick(path, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!e.isWindowModified());
    }

    // The same in the pages' fields: a number field and a spin field.
    void undoKeysInThePagesFields() {
        auto f = ReadFixtureGame(dir_, FixtureScn());
        TfrmEdit& e = *f->edit;
        e.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&e));
        ClickLine(e.Ui().lbSetUnits, 0);
        f->map.Host()->MoveCurSetup(3, 3);
        QLineEdit* strength = e.Ui().pgSetUnits->edStrength;
        strength->setFocus();
        QTRY_VERIFY(strength->hasFocus());
        QTest::keyClick(strength, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!e.isWindowModified());
        e.Ui().Notebook1->setCurrentIndex(1);
        QSpinBox* year = e.Ui().pgReleases->seYear;
        year->setFocus();
        QTRY_VERIFY(year->hasFocus());
        QTest::keyClick(year, Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(e.isWindowModified());
    }
};

QTEST_MAIN(TestDocument)
#include "test_document.moc"
