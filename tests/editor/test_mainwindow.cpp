// The main window as the user first sees it: controls, captions, hints,
// menus, shortcuts and what is enabled before the first Read.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "editor/widgets/listbox.h"
#include "tests/editor/editortestkit.h"

using namespace varno;

class TestMainWindow : public QObject {
    Q_OBJECT
    SettingsSandbox sandbox_;

private slots:
    void captionAndDesignedBounds() {
        Forms f;
        QCOMPARE(f.edit->windowTitle(), QString("Varno"));
        QCOMPARE(f.edit->height(), 478);
        QVERIFY(f.edit->width() >= 550);  // wider when the column and the tabs need it
        QCOMPARE(f.edit->pos(), QPoint(75, 120));
        QCOMPARE(f.map.windowTitle(), QString("Test"));
        QCOMPARE(f.map.size(), QSize(600, 480));
        QVERIFY(!f.map.isVisible());
    }

    void controlsCarryNamesCaptionsAndHints_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("hint");
        QTest::newRow("edScenarioPath") << "edScenarioPath"
                                        << ".SCN"
                                        << "Enter name of scenario file";
        QTest::newRow("bnBrowse") << "bnBrowse"
                                  << "&Browse"
                                  << "Find File";
        QTest::newRow("sbRead") << "sbRead"
                                << "&R"
                                << "Read File";
        QTest::newRow("sbRefresh") << "sbRefresh"
                                   << ""
                                   << "Refresh Map";
        QTest::newRow("sbSave") << "sbSave"
                                << "&S"
                                << "Save SCN file";
        QTest::newRow("cbSort") << "cbSort"
                                << "Sort"
                                << "";
        QTest::newRow("lbSide") << "lbSide"
                                << "Union"
                                << "";
        QTest::newRow("edDotName") << "edDotName"
                                   << "1.1.1.1.1"
                                   << "internal designation";
        QTest::newRow("bnAdd") << "bnAdd"
                               << "&Add"
                               << "";
        QTest::newRow("bnRemove") << "bnRemove"
                                  << "Re&move"
                                  << "";
        QTest::newRow("cbV103") << "cbV103"
                                << "V 1.03"
                                << "if checked, disables %Chance";
        QTest::newRow("Status") << "Status"
                                << ""
                                << "";
    }
    void controlsCarryNamesCaptionsAndHints() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, hint);
        Forms f;
        QWidget* w = f.edit->findChild<QWidget*>(name);
        QVERIFY2(w, qPrintable(name));
        QString text;
        if (auto* e = qobject_cast<QLineEdit*>(w))
            text = e->text();
        else if (auto* b = qobject_cast<QAbstractButton*>(w))
            text = b->text();
        else if (auto* l = qobject_cast<QLabel*>(w))
            text = l->text();
        QCOMPARE(text, caption);
        QCOMPARE(w->toolTip(), hint);
    }

    void listBoxesAreNamedAndEmpty() {
        Forms f;
        for (const char* name :
             {"lbUnits", "lbDesig", "lbSetUnits", "lbReleases", "lbReinfor", "lbReinUnits", "lbCommands"}) {
            auto* box = f.edit->findChild<TListBox*>(name);
            QVERIFY2(box, name);
            QCOMPARE(box->count(), 0);
        }
        QCOMPARE(f.edit->Ui().lbUnits->objectName(), QString("lbUnits"));
        QCOMPARE(f.edit->Ui().lbCommands->objectName(), QString("lbCommands"));
    }

    void notebookHasFourPagesAndShowsTheFirst() {
        Forms f;
        QTabWidget* nb = f.edit->findChild<QTabWidget*>("Notebook1");
        QVERIFY(nb);
        QCOMPARE(nb->count(), 4);
        QCOMPARE(nb->tabText(0), QString("Set &Units"));
        QCOMPARE(nb->tabText(1), QString("R&eleases"));
        QCOMPARE(nb->tabText(2), QString("Rein&forc"));
        QCOMPARE(nb->tabText(3), QString("&Commands (AI)"));
        QCOMPARE(nb->currentIndex(), 0);
        // The lists sit on their pages.
        QVERIFY(nb->widget(0)->isAncestorOf(f.edit->Ui().lbSetUnits));
        QVERIFY(nb->widget(1)->isAncestorOf(f.edit->Ui().lbReleases));
        QVERIFY(nb->widget(1)->isAncestorOf(f.edit->Ui().cbV103));
        QVERIFY(nb->widget(2)->isAncestorOf(f.edit->Ui().lbReinfor));
        QVERIFY(nb->widget(2)->isAncestorOf(f.edit->Ui().lbReinUnits));
        QVERIFY(nb->widget(3)->isAncestorOf(f.edit->Ui().lbCommands));
    }

    void chanceFollowsTheV103Box() {
        Forms f;
        QCOMPARE(f.edit->Ui().seChance->minimum(), 5);
        QCOMPARE(f.edit->Ui().seChance->maximum(), 100);
        QCOMPARE(f.edit->Ui().seChance->singleStep(), 5);
        QCOMPARE(f.edit->Ui().seChance->value(), 100);
        QVERIFY(f.edit->Ui().cbV103->isChecked());
        QVERIFY(!f.edit->Ui().seChance->isEnabled());
        f.edit->Ui().Notebook1->setCurrentIndex(1);
        ClickButton(f.edit->Ui().cbV103);
        QVERIFY(!f.edit->Ui().cbV103->isChecked());
        QVERIFY(f.edit->Ui().seChance->isEnabled());
        ClickButton(f.edit->Ui().cbV103);
        QVERIFY(!f.edit->Ui().seChance->isEnabled());
    }

    void menusCarryCaptionsAndShortcuts_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("menuCaption");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shortcut");
        QTest::addColumn<bool>("enabledAtStart");
        QTest::newRow("open") << "File1"
                              << "&File"
                              << "mnuOpen"
                              << "&Open"
                              << "Ctrl+O" << true;
        QTest::newRow("browse") << "File1"
                                << "&File"
                                << "mnuBrowse"
                                << "&Browse"
                                << "" << true;
        QTest::newRow("save") << "File1"
                              << "&File"
                              << "mnuSave"
                              << "&Save"
                              << "Ctrl+S" << false;
        QTest::newRow("exit") << "File1"
                              << "&File"
                              << "mnuExit"
                              << "E&xit"
                              << "" << true;
        QTest::newRow("synch") << "Edit1"
                               << "&Edit"
                               << "mnuSynchOOB"
                               << "&Synch w/ OOB"
                               << "" << false;
        QTest::newRow("map") << "View1"
                             << "&View"
                             << "mnuViewMap"
                             << "&Map"
                             << "F5" << false;
        QTest::newRow("refresh") << "View1"
                                 << "&View"
                                 << "mnuRefreshMap"
                                 << "&Refresh Map"
                                 << "" << false;
        QTest::newRow("strSCN") << "View1"
                                << "&View"
                                << "mnuStrengthSCN"
                                << "&Strength from SCN"
                                << "" << true;
        QTest::newRow("strOOB") << "View1"
                                << "&View"
                                << "mnuStrengthOOB"
                                << "Strength from &OOB"
                                << "" << true;
        QTest::newRow("unit") << "Search1"
                              << "&Search"
                              << "mnuSearchUnit"
                              << "for &Unit / Leader"
                              << "F3" << false;
        QTest::newRow("hex") << "Search1"
                             << "&Search"
                             << "mnuSearchHex"
                             << "for &Hex"
                             << "" << false;
        QTest::newRow("check") << "Search1"
                               << "&Search"
                               << "mnuErrorCheck"
                               << "for &Overloaded Hexes"
                               << "" << false;
        QTest::newRow("help") << "Help1"
                              << "&Help"
                              << "HelpContents"
                              << "&Contents"
                              << "F1" << true;
        QTest::newRow("about") << "Help1"
                               << "&Help"
                               << "mnuAbout"
                               << "&About Varno"
                               << "" << true;
    }
    void menusCarryCaptionsAndShortcuts() {
        QFETCH(QString, menu);
        QFETCH(QString, menuCaption);
        QFETCH(QString, item);
        QFETCH(QString, caption);
        QFETCH(QString, shortcut);
        QFETCH(bool, enabledAtStart);
        Forms f;
        auto* m = f.edit->findChild<QMenu*>(menu);
        QVERIFY(m);
        QCOMPARE(m->title(), menuCaption);
        QVERIFY(f.edit->menuBar()->actions().contains(m->menuAction()));
        QAction* a = f.edit->findChild<QAction*>(item);
        QVERIFY(a);
        QVERIFY(m->actions().contains(a));
        QCOMPARE(a->text(), caption);
        QCOMPARE(a->shortcut().toString(), shortcut);
        QCOMPARE(a->isEnabled(), enabledAtStart);
    }

    void scenarioCommandsAreDisabledUntilARead() {
        Forms f;
        QVERIFY(f.edit->Ui().File1->isEnabled());
        QVERIFY(!f.edit->Ui().Edit1->isEnabled());
        QVERIFY(!f.edit->Ui().Edit1->menuAction()->isEnabled());
        QVERIFY(!f.edit->Ui().View1->menuAction()->isEnabled());
        QVERIFY(!f.edit->Ui().Search1->menuAction()->isEnabled());
        QVERIFY(f.edit->Ui().Help1->menuAction()->isEnabled());
        QVERIFY(!f.edit->Ui().sbSave->isEnabled());
        QVERIFY(!f.edit->Ui().sbRefresh->isEnabled());
        QVERIFY(f.edit->Ui().sbRead->isEnabled());
        QVERIFY(f.edit->Ui().bnBrowse->isEnabled());
        QVERIFY(!f.edit->Scn().Modified);
    }

    void disabledShortcutsDoNothing() {
        Forms f;
        QVERIFY(QTest::qWaitForWindowActive(f.edit.get()));
        QTest::keyClick(f.edit.get(), Qt::Key_F5);
        QVERIFY(!f.map.isVisible());
        QVERIFY(f.ui.shown.isEmpty());
    }

    void browserDoesNothingBeforeARead() {
        Forms f;
        TypeInto(f.edit->Ui().edDotName, "0.3");
        QCOMPARE(f.ui.beeps, 0);
        QCOMPARE(f.edit->Ui().Status->text(), QString());
        QCOMPARE(f.edit->Ui().edDotName->text(), QString("0.3"));
        QCOMPARE(f.edit->Ui().lbSide->text(), QString("Union"));
    }

    void exitMenuClosesTheWindow() {
        Forms f;
        QVERIFY(f.edit->isVisible());
        f.edit->Ui().mnuExit->trigger();
        QVERIFY(!f.edit->isVisible());
        QVERIFY(f.ui.questions().isEmpty());  // nothing unsaved: nothing asked
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
