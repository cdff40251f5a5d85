// A designer builds a small scenario on the demo game through the four pages
// alone, starting from a scenario file that does not exist yet, saves it and
// reads it back.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <vector>

#include "editor/pages/commandspage.h"
#include "editor/pages/reinforcementspage.h"
#include "editor/pages/releasespage.h"
#include "editor/pages/setunitspage.h"
#include "editor/widgets/listbox.h"
#include "editor/widgets/numedit.h"
#include "editor/widgets/radiogroup.h"
#include "editor/widgets/spinedit.h"
#include "scenario/records.h"
#include "tests/editor/editortestkit.h"

using namespace varno;

namespace {

void TypeIntoSpin(QSpinBox* spin, int value) {
    spin->setFocus();
    spin->selectAll();
    QTest::keyClick(spin, Qt::Key_Backspace);
    QTest::keyClicks(spin, QString::number(value));
    QTest::keyClick(spin, Qt::Key_Tab);
}

void Choose(TRadioGroup* group, int item) {
    auto* b = group->findChild<QRadioButton*>(group->objectName() + QString::number(item));
    QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(8, b->height() / 2));
}

void SetChecked(QCheckBox* box, bool on) {
    if (box->isChecked() != on) ClickButton(box);
}

// Every record of the scenario as text, in list order, with the list boxes.
QStringList Dump(TfrmEdit& e) {
    const Scenario& scn = e.Scn();
    QStringList out;
    for (const TSetupRec* s : scn.SetupList())
        out << QString("setup %1 %2 %3 %4 %5 %6 %7 %8")
                   .arg(QString::fromStdString(DotName(*s->Unit)))
                   .arg(s->Facing)
                   .arg(s->Aux)
                   .arg(s->Strength)
                   .arg(s->Fatigue)
                   .arg(s->Flags)
                   .arg(s->Col)
                   .arg(s->Row);
    for (const TReinfGroup* g : scn.ReinfList()) {
        QString line = QString("group %1 %2 %3 %4 %5 %6 %7 %8 %9 %10")
                           .arg(g->Year)
                           .arg(g->Month)
                           .arg(g->Day)
                           .arg(g->Hour)
                           .arg(g->Minute)
                           .arg(g->Chance)
                           .arg(g->Col)
                           .arg(g->Row)
                           .arg(g->Facing)
                           .arg(g->ProtHexes);
        for (int i = 0; i < g->Count; ++i) line += " " + QString::fromStdString(DotName(*g->Units[i]));
        out << line;
    }
    for (const TReleaseRec* r : scn.ReleaseList())
        out << QString("release %1 %2 %3 %4 %5 %6 %7")
                   .arg(QString::fromStdString(DotName(*r->Unit)))
                   .arg(r->Year)
                   .arg(r->Month)
                   .arg(r->Day)
                   .arg(r->Hour)
                   .arg(r->Minute)
                   .arg(r->Chance);
    // The file keeps the commands by group: compared in that order.
    std::vector<const TCommandRec*> commands(scn.CommandList().begin(), scn.CommandList().end());
    std::stable_sort(commands.begin(), commands.end(),
                     [](const TCommandRec* a, const TCommandRec* b) { return a->Group < b->Group; });
    for (const TCommandRec* c : commands)
        out << QString("command %1 %2 %3 %4 %5 %6 %7 %8 %9")
                       .arg(QString::fromStdString(DotName(*c->Unit)))
                       .arg(c->Group)
                       .arg(c->Year)
                       .arg(c->Month)
                       .arg(c->Day)
                       .arg(c->Hour)
                       .arg(c->Minute)
                       .arg(c->Col)
                       .arg(c->Row) +
                   QString(" %1").arg(c->Command);
    for (const TListBox* box : {e.Ui().lbSetUnits, e.Ui().lbReleases, e.Ui().lbReinfor})
        out << box->objectName() + ": " + Lines(box).join(" | ");
    QStringList commandLines;
    for (const TCommandRec* c : commands) {
        const auto at = std::find(scn.CommandList().begin(), scn.CommandList().end(), c) - scn.CommandList().begin();
        commandLines << e.Ui().lbCommands->item(static_cast<int>(at))->text();
    }
    out << "lbCommands: " + commandLines.join(" | ");
    return out;
}

}  // namespace

class TestBuildScenario : public QObject {
    Q_OBJECT
    SettingsSandbox sandbox_;
    QTemporaryDir tmp_;

private slots:
    void buildSaveAndReadBack() {
        const QString game = tmp_.path() + "/game/";
        QDir().mkpath(game);
        QVERIFY(QFile::copy(SourceDir() + "/demo/MAIN.OOB", game + "MAIN.OOB"));
        const QString path = game + "NEW.SCN";

        QStringList built;
        {
            Forms f;
            TfrmEdit& e = *f.edit;
            TypeInto(e.Ui().edScenarioPath, path);
            ClickButton(e.Ui().sbRead);
            QVERIFY(f.ui.shown.isEmpty());
            QVERIFY(e.Ui().lbUnits->count() > 100);
            QCOMPARE(e.Ui().lbSetUnits->count(), 0);
            auto add = [&](const char* dot) {
                TypeInto(e.Ui().edDotName, dot);
                QCOMPARE(e.Ui().edDotName->text(), QString(dot));
                QCOMPARE(e.Ui().Status->text(), QString());
                ClickButton(e.Ui().bnAdd);
            };

            // Placements: a fixed unit, a wounded leader, a wagon twice, a mounted unit.
            TSetUnitsPage& su = *e.Ui().pgSetUnits;
            SetChecked(su.cbDefFixed, true);
            TypeInto(su.edDefFace, "8");
            add("1.3.3.2.2");
            TypeInto(su.edCol, "24");
            TypeInto(su.edRow, "10");
            TypeInto(su.edStrength, "300");
            TypeInto(su.edFatigue, "5");
            ClickButton(su.cbDisorg);
            add("1.1");
            TypeInto(su.edCol, "5");
            TypeInto(su.edRow, "6");
            ClickButton(su.cbColonel);
            add("1.2");
            add("1.2");
            TypeInto(su.edCol, "7");
            SetChecked(su.cbDefFixed, false);
            SetChecked(su.cbDefMounted, true);
            add("2.3.3.2.2");
            QCOMPARE(e.Ui().lbSetUnits->count(), 5);

            // A release with its chance.
            e.Ui().Notebook1->setCurrentIndex(1);
            TReleasesPage& rel = *e.Ui().pgReleases;
            ClickButton(rel.cbV103);
            TypeIntoSpin(rel.seYear, 1863);
            TypeIntoSpin(rel.seMonth, 7);
            TypeIntoSpin(rel.seDay, 2);
            TypeIntoSpin(rel.seHour, 8);
            TypeIntoSpin(rel.seMin, 20);
            add("1.3.3.2.2");
            TypeIntoSpin(rel.seChance, 60);

            // Two groups: two units together, a leader alone.
            e.Ui().Notebook1->setCurrentIndex(2);
            TReinforcementsPage& rein = *e.Ui().pgReinfor;
            TypeIntoSpin(rein.seYear2, 1863);
            TypeIntoSpin(rein.seMonth2, 7);
            TypeIntoSpin(rein.seHour2, 14);
            TypeIntoSpin(rein.seMin2, 40);
            TypeIntoSpin(rein.seCol, 30);
            TypeIntoSpin(rein.seRow, 20);
            TypeIntoSpin(rein.seFace, 4);
            TypeIntoSpin(rein.seProt, 3);
            add("1.3.3.2.3");
            f.ui.setNextAnswer(Answer::Yes);
            add("1.3.3.2.4");
            f.ui.setNextAnswer(Answer::No);
            add("1.3.3.2.1");
            TypeIntoSpin(rein.seChance2, 75);

            // Commands for two groups.
            e.Ui().Notebook1->setCurrentIndex(3);
            TCommandsPage& cmd = *e.Ui().pgCommands;
            TypeIntoSpin(cmd.seYear3, 1863);
            TypeIntoSpin(cmd.seMonth3, 7);
            TypeIntoSpin(cmd.seHour3, 9);
            TypeIntoSpin(cmd.seGroup, 2);
            TypeIntoSpin(cmd.seCol2, 12);
            TypeIntoSpin(cmd.seRow2, 13);
            Choose(cmd.rgrpCommand, 3);
            add("2.3.3.2.2");
            // The fields belong to the command shown: the new one is edited after its Add.
            add("1.3");
            TypeIntoSpin(cmd.seGroup, 1);
            Choose(cmd.rgrpCommand, 1);
            QCOMPARE(e.Ui().lbCommands->count(), 2);

            QVERIFY(e.Scn().Modified);
            ClickButton(e.Ui().sbSave);
            QVERIFY2(f.ui.errors().isEmpty(), qPrintable(f.ui.errors().join('\n')));
            QVERIFY(!e.Scn().Modified);
            QCOMPARE(f.ui.unanswered, 0);
            QVERIFY(f.ui.allAnswersUsed());
            built = Dump(e);
        }

        const QByteArray expected = QByteArray("\r\n").repeated(9) + "1 1.3.3.2.2 8 4 44 5 0 4608 24 10\r\n"
                                                                     "1 1.1 8 4 0 0 0 263168 5 6\r\n"
                                                                     "1 1.2 8 4 4 0 0 512 0 0\r\n"
                                                                     "1 1.2 8 4 4 0 0 512 7 0\r\n"
                                                                     "1 2.3.3.2.2 8 4 200 0 0 262144 0 0\r\n"
                                                                     "2 1863 7 1 14 40 100 3 30 20 2 4\r\n"
                                                                     "    1.3.3.2.3\r\n"
                                                                     "    1.3.3.2.4\r\n"
                                                                     "2 1863 7 1 14 40 75 3 30 20 1 4\r\n"
                                                                     "    1.3.3.2.1\r\n"
                                                                     "4 1863 7 2 8 20 60 1.3.3.2.2\r\n"
                                                                     "0\r\n"
                                                                     "2 0\r\n"
                                                                     "1\r\n"
                                                                     "1.3 1863 7 1 9 0 12 13 1\r\n"
                                                                     "1\r\n"
                                                                     "2.3.3.2.2 1863 7 1 9 0 12 13 3\r\n";
        QCOMPARE(ReadBytes(path), expected);

        // Read back in a new window: the same records and lines.
        Forms f;
        TypeInto(f.edit->Ui().edScenarioPath, path);
        ClickButton(f.edit->Ui().sbRead);
        QVERIFY(f.ui.shown.isEmpty());
        QCOMPARE(Dump(*f.edit), built);
        QVERIFY(!f.edit->Scn().Modified);
    }
};

QTEST_MAIN(TestBuildScenario)
#include "test_buildscenario.moc"
