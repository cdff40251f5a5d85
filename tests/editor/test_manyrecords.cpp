// Many records at once, as a user works them: a band drawn on the map,
// Ctrl+click, Delete on a list's selection, a formation picked and dropped,
// an organisation dragged from the column, copy and paste between two
// windows, the context menus. Each action is one step of the history.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "editor/document/manyrecords.h"
#include "editor/document/scndocument.h"
#include "editor/pages/setunitspage.h"
#include "editor/widgets/listbox.h"
#include "editor/widgets/numedit.h"
#include "editor/windows/listform.h"
#include "mapview/hexgeom.h"
#include "mapview/mapform.h"
#include "mapview/maphost.h"
#include "mapview/picturebox.h"
#include "mapview/stackimage.h"
#include "scenario/records.h"
#include "tests/editor/editortestkit.h"
#include "tests/editor/mapfixture.h"

using namespace varno;
using namespace maptest;

namespace {

struct MapForms {
    TestDialogs ui;
    TfrmMap map;
    std::unique_ptr<TfrmEdit> edit;
    // Without the choose-unit dialog a pick takes the stack's first placement.
    MapForms() : edit(std::make_unique<TfrmEdit>(ui, &map)) {
        map.setAttribute(Qt::WA_QuitOnClose, false);
        edit->show();
    }
    ~MapForms() { edit.reset(); }
    Scenario& scn() { return edit->Scn(); }
    const RecordSet<TSetupRec>& chosen() { return edit->Document().Sel().Of<TSetupRec>(); }
    const TSetupRec* setup(int i) { return scn().SetupList()[static_cast<std::size_t>(i)]; }
    QPoint hexPoint(int col, int row) {
        const PixelPos c = HexCentre(col, row);
        return {c.X, c.Y};
    }
    QPoint onStack(int col, int row) {
        const PixelPos c = StackCorner(col, row);
        return {c.X + 16, c.Y + 16};
    }
    void band(QPoint from, QPoint to, Qt::KeyboardModifiers mods = Qt::ShiftModifier) {
        QTest::mousePress(map.Image1(), Qt::LeftButton, mods, from);
        QTest::mouseMove(map.Image1(), to);
        QTest::mouseRelease(map.Image1(), Qt::LeftButton, mods, to);
    }
    QString undoText() { return edit->Ui().mnuUndo->text(); }
};

}  // namespace

class TestManyRecords : public QObject {
    Q_OBJECT
    SettingsSandbox sandbox_;
    QTemporaryDir tmp_;
    QString game_;

    void read(MapForms& f, const QString& name = "MAP.SCN") {
        TypeInto(f.edit->Ui().edScenarioPath, game_ + name);
        ClickButton(f.edit->Ui().sbRead);
        QVERIFY(QTest::qWaitForWindowExposed(&f.map));
        f.ui.clearShown();
    }

private slots:
    void init() {
        game_ = tmp_.path() + "/game/scen/";
        QDir(tmp_.path() + "/game").removeRecursively();
        WriteGameFile(game_ + "MAIN.OOB", kOob);
        WriteGameFile(game_ + "MAP.SCN", Scn());
        WriteGameFile(game_ + "main.map", "1\n12 10\n1 0 0\n");
        QImage picture(364, 360, QImage::Format_RGB32);
        picture.fill(qRgb(10, 120, 10));
        QVERIFY(picture.save(game_ + "MAIN1.BMP", "BMP"));
        QVERIFY(Sheet().save(tmp_.path() + "/game/Icons2D.bmp", "BMP"));
    }

    // Shift+drag selects every placement of the hexes the band touches; the
    // list shows them, the stacks are outlined, the status counts them;
    // Ctrl+click takes a stack out again.
    void bandSelectsStacks() {
        MapForms f;
        read(f);
        f.band(f.hexPoint(2, 3) - QPoint(3, 3), f.hexPoint(4, 4));
        QCOMPARE(f.chosen().Count(), 4u);  // 2,3 (two) and 4,4 (two)
        QCOMPARE(f.edit->Ui().lbSetUnits->selectedItems().size(), 4);
        QCOMPARE(f.edit->Ui().Status->text(), QString("4 placements selected"));
        QCOMPARE(f.map.Marks().Chosen.size(), 2u);
        QCOMPARE(f.edit->Ui().pgSetUnits->edCol->text(), QString());  // shown together: the hexes differ
        QTest::mouseClick(f.map.Image1(), Qt::LeftButton, Qt::ControlModifier, f.onStack(4, 4));
        QCOMPARE(f.chosen().Count(), 2u);
        QVERIFY(f.chosen().Contains(f.setup(0)) && f.chosen().Contains(f.setup(1)));
        QVERIFY(!f.scn().Modified);
    }

    // Delete on the list removes every selected line: one step, named.
    void deleteRemovesTheSelection() {
        MapForms f;
        read(f);
        ClickLine(f.edit->Ui().lbSetUnits, 0);
        QTest::mouseClick(f.edit->Ui().lbSetUnits->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          f.edit->Ui().lbSetUnits->visualItemRect(f.edit->Ui().lbSetUnits->item(3)).center());
        QCOMPARE(f.chosen().Count(), 4u);
        QTest::keyClick(f.edit->Ui().lbSetUnits, Qt::Key_Delete);
        QCOMPARE(f.scn().SetupList().size(), 11u);
        QCOMPARE(f.edit->Ui().lbSetUnits->count(), 11);
        QCOMPARE(f.undoText(), QString("&Undo Remove 4 placements"));
        QVERIFY(!f.map.StackAt(2, 3) && !f.map.StackAt(4, 4));
        f.edit->Ui().mnuUndo->trigger();
        QCOMPARE(f.scn().SetupList().size(), 15u);
        QCOMPARE(f.setup(0)->Unit->Display, std::string("300 2 C X 1st Horse"));
    }

    // With several placements selected, a pick on one of them and a drop on
    // a hex moves them all by the same hex offset; one step. A move that
    // would leave the map is refused with one message.
    void formationPickAndDrop() {
        MapForms f;
        read(f);
        f.band(f.hexPoint(2, 3) - QPoint(3, 3), f.hexPoint(4, 4));
        QTest::mouseClick(f.map.Image1(), Qt::RightButton, Qt::NoModifier, f.onStack(2, 3));
        QCOMPARE(f.chosen().Count(), 4u);  // the pick keeps the formation
        QTest::mouseClick(f.map.Image1(), Qt::LeftButton, Qt::NoModifier, f.hexPoint(3, 3));
        const HexPos was[] = {{2, 3}, {2, 3}, {4, 4}, {4, 4}};
        for (int i = 0; i < 4; ++i)
            QCOMPARE((HexPos{f.setup(i)->Col, f.setup(i)->Row}), ShiftHex(was[i], {2, 3}, {3, 3}));
        QCOMPARE(f.undoText(), QString("&Undo Move 4 placements"));
        QVERIFY(f.map.StackAt(3, 3) && !f.map.StackAt(2, 3) && !f.map.StackAt(4, 4));
        f.edit->Ui().mnuUndo->trigger();
        QCOMPARE((HexPos{f.setup(3)->Col, f.setup(3)->Row}), (HexPos{4, 4}));
        QVERIFY(f.map.StackAt(2, 3) && f.map.StackAt(4, 4));
        // A move that would take one of them off the map: refused whole, one message.
        f.edit->Document().Sel().SelectMany<TSetupRec>({f.setup(13), f.setup(14)}, f.setup(14));
        f.map.Host()->MoveSelection(HexPos{1, 1}, HexPos{5, 1});
        QCOMPARE(f.ui.errors(), QStringList({"The move would take 1 of 2 placements off the map."}));
        QCOMPARE((HexPos{f.setup(14)->Col, f.setup(14)->Row}), (HexPos{1, 1}));
    }

    // A left-drag from a stack of the selected formation moves it all.
    void formationDrag() {
        MapForms f;
        read(f);
        f.band(f.hexPoint(2, 3) - QPoint(3, 3), f.hexPoint(4, 4));
        QTest::mousePress(f.map.Image1(), Qt::LeftButton, Qt::NoModifier, f.onStack(4, 4));
        QTest::mouseMove(f.map.Image1(), f.hexPoint(5, 4));
        QTest::mouseRelease(f.map.Image1(), Qt::LeftButton, Qt::NoModifier, f.hexPoint(5, 4));
        const HexPos was[] = {{2, 3}, {2, 3}, {4, 4}, {4, 4}};
        for (int i = 0; i < 4; ++i)
            QCOMPARE((HexPos{f.setup(i)->Col, f.setup(i)->Row}), ShiftHex(was[i], {4, 4}, {5, 4}));
        QCOMPARE(f.undoText(), QString("&Undo Move 4 placements"));
        QVERIFY(f.map.StackAt(5, 4) && !f.map.StackAt(4, 4));
    }

    // The keyboard's hex cursor: the arrows move its outline, Space picks
    // the stack under it and the next Space drops it on the cursor's hex.
    void cursorPickAndDrop() {
        MapForms f;
        read(f);
        ClickLine(f.edit->Ui().lbSetUnits, 14);  // 1.5 alone at 1,1
        f.map.activateWindow();
        f.map.findChild<QScrollArea*>()->setFocus();  // the map's view
        QTest::keyClick(&f.map, Qt::Key_Right);       // the cursor starts at 1,1
        QTest::keyClick(&f.map, Qt::Key_Right);
        QTest::keyClick(&f.map, Qt::Key_Down);
        QCOMPARE(f.map.Marks().Cursor, std::optional<HexPos>(HexPos{2, 2}));
        QTest::keyClick(&f.map, Qt::Key_Left);
        QTest::keyClick(&f.map, Qt::Key_Up);
        QTest::keyClick(&f.map, Qt::Key_Space);  // picks 1,1
        QTest::keyClick(&f.map, Qt::Key_Right);
        QTest::keyClick(&f.map, Qt::Key_Right);
        QTest::keyClick(&f.map, Qt::Key_Space);  // drops on 3,1
        QCOMPARE((HexPos{f.setup(14)->Col, f.setup(14)->Row}), (HexPos{3, 1}));
        QVERIFY(f.map.StackAt(3, 1) && !f.map.StackAt(1, 1));
        QVERIFY(f.scn().Modified);
    }

    // An organisation's line dropped on the map places its leader and its
    // units not yet placed around the hex: one step.
    void organisationDrop() {
        MapForms f;
        read(f);
        QAbstractItemModel* model = f.edit->Ui().lbUnits->model();
        std::unique_ptr<QMimeData> data(model->mimeData({model->index(7, 0)}));
        QVERIFY(data);
        const QPoint at = f.hexPoint(9, 8);
        QDragEnterEvent enter(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(f.map.Image1(), &enter);
        QDropEvent drop(QPointF(at), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(f.map.Image1(), &drop);
        // Gen. South is new; South Horse stays where it was.
        QCOMPARE(f.scn().SetupList().size(), 16u);
        QCOMPARE(f.setup(15)->Unit, f.scn().OobList()[8]);
        QCOMPARE((HexPos{f.setup(15)->Col, f.setup(15)->Row}), (HexPos{9, 8}));
        QCOMPARE(f.undoText(), QString("&Undo Place 1 placement"));
    }

    // Copy in one window, paste in another of the same game: the records
    // arrive with their values; units the scenario has placed are counted.
    void copyBetweenTwoDocuments() {
        MapForms a;
        read(a);
        ClickLine(a.edit->Ui().lbSetUnits, 13);
        QTest::mouseClick(a.edit->Ui().lbSetUnits->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          a.edit->Ui().lbSetUnits->visualItemRect(a.edit->Ui().lbSetUnits->item(14)).center());
        a.edit->findChild<QAction*>("mnuCopy")->trigger();
        const QByteArray text = QApplication::clipboard()->mimeData()->data(kRecordsMimeType);
        QCOMPARE(text, QByteArray("1 2.2 16 4 44 0 0 0 8 5\r\n1 1.5 64 4 100 0 0 0 1 1\r\n"));
        QCOMPARE(QApplication::clipboard()->text().toLatin1(), text);

        QByteArray empty;
        for (int i = 1; i <= 9; ++i) empty += "Header " + QByteArray::number(i) + "\n";
        WriteGameFile(game_ + "EMPTY.SCN", empty + "0\n1 0\n1\n1.3 1863 7 1 9 0 3 4 3\n");
        MapForms b;
        read(b, "EMPTY.SCN");
        b.edit->findChild<QAction*>("mnuPaste")->trigger();
        QCOMPARE(b.scn().SetupList().size(), 2u);
        QCOMPARE(b.setup(0)->Strength, 44);
        QCOMPARE((HexPos{b.setup(1)->Col, b.setup(1)->Row}), (HexPos{1, 1}));
        QCOMPARE(b.undoText(), QString("&Undo Paste 2 records"));
        b.edit->findChild<QAction*>("mnuPaste")->trigger();  // placed already
        QCOMPARE(b.scn().SetupList().size(), 2u);
        QCOMPARE(b.ui.texts(TestDialogs::Kind::Message), QStringList({"2 lines name units placed already"}));
    }

    // Several placements selected: the fields show what they share and are
    // blank (a box partly checked) where they differ; leaving them stores
    // only what the user changed into each, as one step.
    void editTogether() {
        MapForms f;
        read(f);
        TSetUnitsPage* page = f.edit->Ui().pgSetUnits;
        ClickLine(f.edit->Ui().lbSetUnits, 0);
        QTest::mouseClick(f.edit->Ui().lbSetUnits->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          f.edit->Ui().lbSetUnits->visualItemRect(f.edit->Ui().lbSetUnits->item(1)).center());
        QCOMPARE(f.chosen().Count(), 2u);
        const int faces[] = {f.setup(0)->Facing, f.setup(1)->Facing},
                  strengths[] = {f.setup(0)->Strength, f.setup(1)->Strength};
        QVERIFY(faces[0] != faces[1]);
        QCOMPARE(page->edFace->text(), QString());
        QCOMPARE(page->edStrength->text(), QString());
        QCOMPARE(page->edCol->text(), QString("2"));  // both at 2,3
        QCOMPARE(page->cbMounted->checkState(), Qt::PartiallyChecked);
        QVERIFY(f.edit->Ui().pgSetUnits->lblEditing->text().startsWith("Editing 2 placements together"));
        TypeInto(page->edStrength, "250");
        QTest::mouseClick(page->cbFixed, Qt::LeftButton);
        ClickLine(f.edit->Ui().lbSetUnits, 5);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(f.setup(i)->Strength, 250);
            QCOMPARE(f.setup(i)->Facing, faces[i]);
            QVERIFY(f.setup(i)->Flags & sfFixed);
        }
        QCOMPARE(f.setup(0)->Flags & sfMounted, std::uint32_t{sfMounted});
        QCOMPARE(f.setup(1)->Flags & sfMounted, std::uint32_t{0});
        QCOMPARE(f.setup(5)->Strength, 3);  // the line clicked takes nothing
        QCOMPARE(f.undoText(), QString("&Undo Edit 2 placements"));
        f.edit->Ui().mnuUndo->trigger();
        QCOMPARE(f.setup(0)->Strength, strengths[0]);
        QCOMPARE(f.setup(1)->Strength, strengths[1]);
        QCOMPARE(f.setup(1)->Flags & sfFixed, std::uint32_t{0});
    }

    // The lists' and the map's context menus offer the actions on the selection.
    void contextMenus() {
        MapForms f;
        read(f);
        ClickLine(f.edit->Ui().lbSetUnits, 0);
        QMenu* list = f.edit->ManyRecords().ListMenu(0);
        QStringList items;
        for (QAction* a : list->actions())
            if (!a->isSeparator()) items << a->text();
        QCOMPARE(items, QStringList({"&Add", "&Remove", "&Copy", "Cu&t", "&Paste", "Select &All", "Show on &Map",
                                     "Check This Rec&ord"}));
        // The whole check's findings of that record: the over-full hex it stands in.
        list->findChild<QAction*>("mnuCheckRecord")->trigger();
        QListWidget* found = f.edit->frmList()->lbList;
        QCOMPARE(f.edit->frmList()->windowTitle(), QString("Check This Record"));
        QVERIFY(found->count() > 1 && found->item(1)->text().contains("2,3"));
        QMenu* map = f.map.ContextMenu(f.onStack(2, 3));
        map->findChild<QAction*>("mnuSelectStack")->trigger();
        QCOMPARE(f.chosen().Count(), 2u);
        QMenu* again = f.map.ContextMenu(f.hexPoint(9, 8));
        QVERIFY(!again->findChild<QAction*>("mnuSelectStack")->isEnabled());
        again->findChild<QAction*>("mnuMoveHere")->trigger();
        QCOMPARE((HexPos{f.setup(0)->Col, f.setup(0)->Row}), (HexPos{9, 8}));
        QCOMPARE(f.undoText(), QString("&Undo Move 2 placements"));
    }
};

QTEST_MAIN(TestManyRecords)
#include "test_manyrecords.moc"
