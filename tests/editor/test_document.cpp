// The scenario as a document: its file in the title, the line naming the
// record a page edits, File > New, Save As and Recent, Edit > Scenario
// Header, and undo and redo of the user's changes.
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "editor/listbox.h"
#include "editor/numedit.h"
#include "editor/setunitspage.h"
#include "tests/editor/editortestkit.h"

using namespace varno;

namespace {

QStringList RecentTexts(TfrmEdit& e) {
    emit e.mnuRecent->aboutToShow();
    QStringList texts;
    for (QAction* a : e.mnuRecent->actions()) texts << a->text() + (a->isEnabled() ? "" : " (off)");
    return texts;
}

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

    // The title names the file and marks a change; the page's line names
    // the record its fields belong to.
    void titleAndEditingLine() {
        Forms blank;
        QCOMPARE(blank.edit->windowTitle(), QString("Varno"));
        auto f = ReadFixtureGame(dir_, FixtureScn());
        TfrmEdit& e = *f->edit;
        QCOMPARE(e.windowTitle(), QString("Varno - CH_A.SCN[*]"));
        QVERIFY(!e.isWindowModified());
        QCOMPARE(e.pgSetUnits->lblEditing->text(), QString("New record: Add uses these values"));
        ClickLine(e.lbSetUnits, 1);
        QCOMPARE(e.pgSetUnits->lblEditing->text(), "Editing: " + e.lbSetUnits->item(1)->text());
        TypeInto(e.pgSetUnits->edCol, "9");
        ClickLine(e.lbSetUnits, 0);  // stores the change into line 1's record
        QVERIFY(e.isWindowModified());
        // An Add names the record it made.
        ClickLine(e.lbUnits, FixtureRow("1.12.3.1.2"));
        ClickButton(e.bnAdd);
        QCOMPARE(e.pgSetUnits->lblEditing->text(), "Editing: " + e.lbSetUnits->item(3)->text());
    }

    // Save As writes the same bytes as Save under the new name, which becomes
    // the scenario's; a name outside the game's folder is refused.
    void saveAs() {
        auto f = ReadFixtureGame(dir_, FixtureScn());
        TfrmEdit& e = *f->edit;
        f->ui.setNextFileName(tmp_.path() + "/ELSEWHERE.SCN");
        e.mnuSaveAs->trigger();
        QCOMPARE(f->ui.errors().size(), 1);
        QVERIFY(!QFile::exists(tmp_.path() + "/ELSEWHERE.SCN"));
        f->ui.setNextFileName(dir_ + "/COPY.SCN");
        e.mnuSaveAs->trigger();
        ClickButton(e.sbSave);  // now to COPY.SCN, after its backup
        QCOMPARE(ReadBytes(dir_ + "/OLDSCN1.TXT"), ReadBytes(dir_ + "/COPY.SCN"));
        QCOMPARE(ReadBytes(dir_ + "/COPY.SCN"), ReadBytes(dir_ + "/CH_A.SCN"));
        QCOMPARE(e.edScenarioPath->text(), dir_ + "/COPY.SCN");
        QCOMPARE(e.windowTitle(), QString("Varno - COPY.SCN[*]"));
        QVERIFY(f->ui.allAnswersUsed());
    }

    // New starts an empty scenario under the chosen name, whatever the file
    // holds; its Save writes nine empty header lines.
    void newScenario() {
        auto f = ReadFixtureGame(dir_, FixtureScn());
        TfrmEdit& e = *f->edit;
        const int entries = e.lbUnits->count();
        f->ui.setNextFileName(dir_ + "/CH_A.SCN");
        e.mnuNew->trigger();
        QCOMPARE(e.lbSetUnits->count(), 0);
        QCOMPARE(e.lbUnits->count(), entries);
        QVERIFY(!e.isWindowModified());
        ClickButton(e.sbSave);
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
        TypeInto(f->edit->edScenarioPath, dir_ + "/b/B.SCN");
        ClickButton(f->edit->sbRead);
        QCOMPARE(RecentTexts(*f->edit), (QStringList{"&1 " + dir_ + "/b/B.SCN", "&2 " + dir_ + "/CH_A.SCN"}));
        QVERIFY(f->edit->close());  // closing keeps them
        f.reset();
        QVERIFY(ReadBytes(sandbox_.iniPath()).contains("[Recent]\r\nFile1=" + (dir_ + "/b/B.SCN").toUtf8()));
        QFile::remove(dir_ + "/b/B.SCN");
        Forms again;
        QCOMPARE(RecentTexts(*again.edit), (QStringList{"&1 " + dir_ + "/b/B.SCN (off)", "&2 " + dir_ + "/CH_A.SCN"}));
        again.edit->mnuRecent->actions().at(1)->trigger();
        QCOMPARE(again.edit->lbSetUnits->count(), 3);
        QCOMPARE(again.edit->windowTitle(), QString("Varno - CH_A.SCN[*]"));
    }

    // The header dialog shows the nine lines; OK writes the changed ones,
    // cut to 255 characters, and the others keep their bytes.
    void header() {
        QByteArray scn = FixtureScn();
        scn.replace("Header line 2", "Caf\xe9 line 2");
        auto f = ReadFixtureGame(dir_, scn);
        TfrmEdit& e = *f->edit;
        QStringList lines;
        for (int i = 1; i <= 9; ++i) lines << QString("Header line %1").arg(i);
        lines[1] = QString::fromLatin1("Caf\xe9 line 2");
        f->ui.setNextLines(std::nullopt);
        e.mnuHeader->trigger();
        QCOMPARE(f->ui.linesShown.value(0), lines);
        QVERIFY(!e.isWindowModified());
        QStringList edited = lines;
        edited[0] = QString(300, 'x');
        edited[8] = QString::fromUtf8("\xce\xb1 new");
        f->ui.setNextLines(edited);
        e.mnuHeader->trigger();
        QVERIFY(e.isWindowModified());
        ClickButton(e.sbSave);
        const QList<QByteArray> saved = ReadBytes(dir_ + "/CH_A.SCN").split('\n');
        QCOMPARE(saved[0], QByteArray(255, 'x') + "\r");
        QCOMPARE(saved[1], QByteArray("Caf\xe9 line 2\r"));
        QCOMPARE(saved[8], QByteArray("\xce\xb1 new\r"));
    }
};

QTEST_MAIN(TestDocument)
#include "test_document.moc"
