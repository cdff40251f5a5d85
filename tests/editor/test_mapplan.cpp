// The scenario's timed plan on the map, as a user works with it: the
// overlays tell what lies under the pointer, a click selects the record on
// its page, a dragged arrival marker or arrow head moves its record in one
// step of the history, the clock and the Schedule window follow each other,
// File > Export Map Picture writes what is shown, and at Start with the
// overlays off the map is the map without them.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <functional>

#include "editor/document/scndocument.h"
#include "editor/pages/commandspage.h"
#include "editor/pages/reinforcementspage.h"
#include "editor/pages/releasespage.h"
#include "editor/widgets/listbox.h"
#include "editor/windows/scheduleview.h"
#include "editor/windows/schedulewindow.h"
#include "mapview/clockbar.h"
#include "mapview/hexgeom.h"
#include "mapview/mapform.h"
#include "mapview/mapscene.h"
#include "mapview/picturebox.h"
#include "mapview/statuspanel.h"
#include "mapview/zoomgeom.h"
#include "scenario/records.h"
#include "tests/editor/editortestkit.h"

using namespace varno;

namespace {

// 1 North: 1.1 Gen. North, 1.2 1st Horse, 1.3 1st Foot, 1.4 2nd Foot; 2 South: 2.1 South Horse.
const QByteArray kOob = "Plan test order of battle\n"
                        "Union A Army of the North\n  Begin\n"
                        "  L 0 1 2 Gen. North\n"
                        "  U 300 2 C X 4 5 1st Horse\n"
                        "  U 500 3 I X 4 5 1st Foot\n"
                        "  U 400 3 I X 4 5 2nd Foot\n"
                        "  End\n"
                        "Confederate A Army of the South\n  Begin\n"
                        "  U 300 2 C X 4 5 South Horse\n"
                        "  End\n";

// 1st Foot placed fixed at 2,3 and released on the first day at 09:00;
// South Horse at 8,5. 1st Horse arrives at 10,2 on the first day at 12:00,
// 2nd Foot there on the second at 06:00 (50 %). Orders: 1st Foot from 2,3 to
// 6,6 (Attack), 1st Horse from its arrival hex to 9,8 (Defend).
QByteArray Scn() {
    QByteArray t = "Plan test\nStart 1863 7 1 6 0\nEnd 1863 7 2 18 0\n";
    for (int i = 4; i <= 9; ++i) t += "Header " + QByteArray::number(i) + "\n";
    t += "1 1.3 1 4 500 0 0 512 2 3\n"
         "1 2.1 1 4 300 0 0 0 8 5\n"
         "2 1863 7 1 12 0 100 2 10 2 1 1\n    1.2\n"
         "2 1863 7 2 6 0 50 0 10 2 1 1\n    1.4\n"
         "4 1863 7 1 9 0 100 1.3\n"
         "0\n1 0\n2\n"
         "1.3 1863 7 1 10 0 6 6 3\n"
         "1.2 1863 7 1 14 0 9 8 1\n";
    return t;
}

QPoint Centre(int col, int row) {
    const PixelPos c = HexCentre(col, row);
    return {c.X, c.Y};
}

QPoint MarkerCentre(int col, int row, int stacked) {
    const PixelRect r = MarkerRect({col, row}, stacked);
    return {r.X + r.W / 2, r.Y + r.H / 2};
}

struct PlanForms {
    TestDialogs ui;
    TfrmMap map;
    std::unique_ptr<TfrmEdit> edit;
    PlanForms() : edit(std::make_unique<TfrmEdit>(ui, &map)) {
        map.setAttribute(Qt::WA_QuitOnClose, false);
        edit->show();
        QVERIFY(QTest::qWaitForWindowExposed(edit.get()));
    }
    ~PlanForms() { edit.reset(); }
    Scenario& scn() { return edit->Scn(); }
    void send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent e(type, QPointF(at), map.Image1()->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(map.Image1(), &e);
    }
    void hover(QPoint at) { send(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton); }
    void click(QPoint at) {
        hover(at);
        send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    }
    // Pressed at `from`, moved in steps with the button held, released at `to`.
    void drag(QPoint from, QPoint to) {
        hover(from);
        send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        for (int i = 1; i <= 4; ++i) send(QEvent::MouseMove, from + (to - from) * i / 4, Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }
    QString undoText() { return edit->Document().History().undoText(); }
};

}  // namespace

class TestMapPlan : public QObject {
    Q_OBJECT
    SettingsSandbox sandbox_;
    QTemporaryDir tmp_;
    QString game_;

    void read(PlanForms& f) {
        TypeInto(f.edit->Ui().edScenarioPath, game_ + "PLAN.SCN");
        ClickButton(f.edit->Ui().sbRead);
        QVERIFY(QTest::qWaitForWindowExposed(&f.map));
        QCoreApplication::processEvents();  // the clock takes the scenario's span
        QCOMPARE(f.ui.errors(), QStringList());
    }
    void allOverlays(PlanForms& f) {
        for (QAction* a : {f.map.mnuArrivals(), f.map.mnuOrders(), f.map.mnuReleases()})
            if (!a->isChecked()) a->trigger();
    }

private slots:
    void init() {
        game_ = tmp_.path() + "/game/";
        QDir(game_).removeRecursively();
        WriteGameFile(game_ + "MAIN.OOB", kOob);
        WriteGameFile(game_ + "PLAN.SCN", Scn());
        WriteGameFile(game_ + "MAIN.MAP", "1\n12 10\n1 0 0\n");
        QImage picture(364, 360, QImage::Format_RGB32);
        picture.fill(qRgb(120, 160, 90));
        QVERIFY(picture.save(game_ + "MAIN1.BMP", "BMP"));
        QImage sheet(12 * 32, 12 * 32, QImage::Format_RGB32);
        for (int y = 0; y < sheet.height(); ++y)
            for (int x = 0; x < sheet.width(); ++x)
                sheet.setPixel(x, y, (x % 32 < 6 || y % 32 < 6) ? qRgb(255, 255, 255) : qRgb(x / 2, y / 2, 60));
        QVERIFY(sheet.save(game_ + "ICONS2D.BMP", "BMP"));
    }

    // The pointer over a marker, an arrow or a hatched stack shows that
    // record's list line (with what the overlay tells of it) as the tooltip
    // and on the status line.
    void hoverShowsTheRecordsLine() {
        PlanForms f;
        read(f);
        f.hover(MarkerCentre(10, 2, 0));
        QCOMPARE(f.map.Image1()->toolTip(), QString());  // overlays off: nothing
        allOverlays(f);
        const struct {
            QPoint at;
            QString line, tells;
        } cases[] = {
            {MarkerCentre(10, 2, 1), f.edit->Ui().lbReinfor->item(1)->text(),
             "Arrives 1863-07-02 06:00 at 10,2 (50 %): 1 unit, 0 protected hexes"},
            {(Centre(2, 3) + Centre(6, 6)) / 2, f.edit->Ui().lbCommands->item(0)->text(),
             "Group 1 Attack at 6,6 from 1863-07-01 10:00, not yet in effect"},
            {Centre(2, 3) + QPoint(-10, 10), f.edit->Ui().lbSetUnits->item(0)->text(),
             "Fixed until 1863-07-01 09:00 (100 %)"},
        };
        for (const auto& c : cases) {
            f.hover(c.at);
            const QString tip = f.map.Image1()->toolTip();
            QVERIFY2(tip.startsWith(c.line + "\n" + c.tells), qPrintable(tip));
            QVERIFY2(f.map.Status()->text().contains(c.line), qPrintable(f.map.Status()->text()));
        }
        f.hover(Centre(0, 9));
        QCOMPARE(f.map.Image1()->toolTip(), QString());
    }

    // A click selects the record on its page, whose line says "Editing: ...".
    void clickSelectsTheRecordOnItsPage() {
        PlanForms f;
        read(f);
        allOverlays(f);
        f.click(MarkerCentre(10, 2, 1));
        QCOMPARE(f.edit->Ui().Notebook1->currentWidget(), static_cast<QWidget*>(f.edit->Ui().pgReinfor));
        QCOMPARE(f.edit->Ui().lbReinfor->SelectedLine(), 1);
        QCOMPARE(f.edit->Ui().pgReinfor->lblEditing->text(), "Editing: " + f.edit->Ui().lbReinfor->item(1)->text());
        f.click((Centre(10, 2) + Centre(9, 8)) / 2);
        QCOMPARE(f.edit->Ui().Notebook1->currentWidget(), static_cast<QWidget*>(f.edit->Ui().pgCommands));
        QCOMPARE(f.edit->Ui().lbCommands->SelectedLine(), 1);
        QCOMPARE(f.edit->Ui().pgCommands->lblEditing->text(), "Editing: " + f.edit->Ui().lbCommands->item(1)->text());
        f.click(Centre(2, 3) + QPoint(-10, 10));  // the hatched stack: its release
        QCOMPARE(f.edit->Ui().Notebook1->currentWidget(), static_cast<QWidget*>(f.edit->Ui().pgReleases));
        QCOMPARE(f.edit->Ui().lbReleases->SelectedLine(), 0);
        // A click is no change.
        QVERIFY(!f.edit->Document().History().canUndo());
    }

    // A marker dragged to another hex moves its group there: one step of the
    // history, written by Save, taken back by Undo.
    void draggingAMarkerMovesItsGroup() {
        PlanForms f;
        read(f);
        f.map.mnuArrivals()->trigger();
        f.drag(MarkerCentre(10, 2, 0), Centre(7, 5));
        const TReinfGroup* g = f.scn().ReinfList()[0];
        QCOMPARE(int{g->Col}, 7);
        QCOMPARE(int{g->Row}, 5);
        QCOMPARE(f.scn().ReinfList()[1]->Col, std::uint8_t{10});  // the other group stays
        QCOMPARE(f.undoText(), QStringLiteral("Move group 1.2 to 7,5"));
        QCOMPARE(f.edit->Document().History().count(), 1);
        // The marker is on its new hex.
        QVERIFY(f.map.OverlayRoom().Layout().Markers[0].Rect == MarkerRect({7, 5}, 0));
        f.edit->Ui().mnuSave->trigger();
        QVERIFY(ReadBytes(game_ + "PLAN.SCN").contains("2 1863 7 1 12 0 100 2 7 5 1 1\r\n"));
        f.edit->Ui().mnuUndo->trigger();
        QCOMPARE(int{g->Col}, 10);
        QCOMPARE(int{g->Row}, 2);
        QVERIFY(f.map.OverlayRoom().Layout().Markers[0].Rect == MarkerRect({10, 2}, 0));
    }

    // An arrow's head dragged to another hex aims its command there; the
    // arrow's shaft dragged scrolls and changes nothing.
    void draggingAnArrowHeadAimsItsCommand() {
        PlanForms f;
        read(f);
        f.map.mnuOrders()->trigger();
        f.drag(Centre(6, 6), Centre(8, 8));
        const TCommandRec* c = f.scn().CommandList()[0];
        QCOMPARE(int{c->Col}, 8);
        QCOMPARE(int{c->Row}, 8);
        QCOMPARE(f.undoText(), QStringLiteral("Aim command 1.3 at 8,8"));
        QCOMPARE(f.edit->Document().History().count(), 1);
        f.drag((Centre(10, 2) + Centre(9, 8)) / 2, Centre(3, 8));
        QCOMPARE(f.edit->Document().History().count(), 1);
        QCOMPARE(int{f.scn().CommandList()[1]->Col}, 9);
        f.edit->Ui().mnuUndo->trigger();
        QCOMPARE(int{c->Col}, 6);
    }

    // The map's time is a line on the Schedule; a time clicked there is the
    // map's. The keys [ and ] step between the events.
    void theClockAndTheScheduleFollowEachOther() {
        PlanForms f;
        read(f);
        f.map.mnuArrivals()->trigger();
        f.edit->Ui().mnuSchedule->trigger();
        TfrmSchedule* s = f.edit->frmSchedule();
        QVERIFY(s && QTest::qWaitForWindowExposed(s));
        QCOMPARE(f.map.ClockNow(), ClockTime::AtStart());
        QCOMPARE(s->View->Clock(), ClockTime::AtStart());
        f.map.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.map));
        QTest::keyClick(&f.map, Qt::Key_BracketRight);
        QTest::keyClick(&f.map, Qt::Key_BracketRight);
        const ClockTime second = *ParseClockText("1863-07-01 10:00");
        QCOMPARE(f.map.ClockNow(), second);
        QCOMPARE(s->View->Clock(), second);
        QCOMPARE(f.map.Clock()->TimeText->text(), QStringLiteral("1863-07-01 10:00"));
        QTest::keyClick(&f.map, Qt::Key_BracketLeft);
        QCOMPARE(f.map.ClockNow(), *ParseClockText("1863-07-01 09:00"));
        // A click on the second arrival's mark: the map shows both groups arrived.
        const Schedule& schedule = s->View->Current();
        int arrival = -1;
        for (std::size_t i = 0; i < schedule.Events.size(); ++i)
            if (schedule.Events[i].Kind == ScheduleEventKind::Arrival && schedule.Events[i].Index == 1)
                arrival = static_cast<int>(i);
        QTest::mouseClick(s->View, Qt::LeftButton, {}, s->View->EventPoint(arrival).toPoint());
        const ClockTime arrived = *ParseClockText("1863-07-02 06:00");
        QCOMPARE(f.map.ClockNow(), arrived);
        QCOMPARE(f.map.Clock()->Slider->value(), SliderPosition(ScenarioSpan(f.scn()), arrived));
        QCOMPARE(f.map.OverlayRoom().Layout().ArrivedStacks.size(), std::size_t{1});
        QCOMPARE(f.map.OverlayRoom().Layout().ArrivedStacks[0].Records, (std::vector<int>{0, 1}));
        // Start: back to the beginning, and the line with it.
        ClickButton(f.map.Clock()->bnStart);
        QCOMPARE(s->View->Clock(), ClockTime::AtStart());
        QVERIFY(f.map.OverlayRoom().Layout().ArrivedStacks.empty());
    }

    // File > Export Map Picture writes the whole map or the part in view at
    // the zoom shown, as PNG or SVG.
    void exportWritesWhatIsShown() {
        PlanForms f;
        read(f);
        allOverlays(f);
        f.map.resize(260, 200);
        QCoreApplication::processEvents();
        const QString whole = tmp_.filePath("whole.png"), view = tmp_.filePath("view.png");
        f.ui.setNextFileName(whole);
        f.ui.setNextAnswer(Answer::Yes);
        f.map.mnuExportPicture()->trigger();
        QCOMPARE(QImage(whole).size(), QSize(364, 360));
        f.map.SetZoom(50, QPoint());
        f.ui.setNextFileName(whole);
        f.ui.setNextAnswer(Answer::Yes);
        f.map.mnuExportPicture()->trigger();
        QCOMPARE(QImage(whole).size(), QSize(182, 180));
        f.map.SetZoom(200, QPoint());
        f.ui.setNextFileName(view);
        f.ui.setNextAnswer(Answer::No);
        f.map.mnuExportPicture()->trigger();
        QCOMPARE(QImage(view).size(), f.map.Scroll1()->viewport()->size());
        const QString svg = tmp_.filePath("map.SVG");
        f.ui.setNextFileName(svg);
        f.ui.setNextAnswer(Answer::Yes);
        f.map.mnuExportPicture()->trigger();
        QVERIFY(ReadBytes(svg).contains("<svg"));
        // Cancelled at the question: nothing written.
        f.ui.setNextFileName(tmp_.filePath("never.png"));
        f.ui.setNextAnswer(Answer::Cancel);
        f.map.mnuExportPicture()->trigger();
        QVERIFY(!QFile::exists(tmp_.filePath("never.png")));
        QCOMPARE(f.ui.errors(), QStringList());
    }

    // At Start with every overlay off the map is exactly what a Read draws,
    // pixel for pixel the picture with the stacks (here drawn without the
    // window); with the overlays on it is not.
    void atStartWithOverlaysOffTheMapIsUnchanged() {
        PlanForms f;
        read(f);
        const QString plain = tmp_.filePath("plain.png"), with = tmp_.filePath("with.png");
        f.ui.setNextFileName(plain);
        f.ui.setNextAnswer(Answer::Yes);
        f.map.mnuExportPicture()->trigger();
        const MapScene scene(f.scn(), ClockTime::AtStart(), {});
        QImage expected(scene.Size(100), QImage::Format_RGB32);
        expected.fill(Qt::black);
        QPainter p(&expected);
        scene.Paint(p, expected.rect(), 100);
        p.end();
        QCOMPARE(QImage(plain).convertToFormat(QImage::Format_RGB32), expected);
        allOverlays(f);
        f.ui.setNextFileName(with);
        f.ui.setNextAnswer(Answer::Yes);
        f.map.mnuExportPicture()->trigger();
        QVERIFY(QImage(with).convertToFormat(QImage::Format_RGB32) != expected);
    }

    // The overlays are kept in VARNO.INI.
    void overlaysAreKept() {
        {
            PlanForms f;
            f.map.mnuOrders()->trigger();
            f.map.mnuReleases()->trigger();
            QVERIFY(f.edit->close());
        }
        const QByteArray ini = ReadBytes(sandbox_.iniPath());
        QVERIFY2(ini.contains("Arrivals=0\r\nOrders=1\r\nReleases=1\r\n"), ini.constData());
        PlanForms again;
        QCOMPARE(again.map.Overlays(), (OverlaySet{false, true, true}));
        QVERIFY(again.map.mnuOrders()->isChecked() && !again.map.mnuArrivals()->isChecked());
    }
};

QTEST_MAIN(TestMapPlan)
#include "test_mapplan.moc"
