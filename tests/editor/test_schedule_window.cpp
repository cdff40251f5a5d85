// View > Schedule as the user works with it: the pointer over an event tells
// what it is, a click selects its record on its page, a change in the editor
// redraws the picture, and File > Export Picture writes it.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "editor/pages/reinforcementspage.h"
#include "editor/pages/releasespage.h"
#include "editor/pages/setunitspage.h"
#include "editor/widgets/listbox.h"
#include "editor/widgets/numedit.h"
#include "editor/windows/scheduleview.h"
#include "editor/windows/schedulewindow.h"
#include "scenario/scnschedule.h"
#include "tests/editor/editortestkit.h"

using namespace varno;

namespace {

// 1st Maine placed fixed at 30 points and released at 50 % (and an aide,
// who counts nothing); the cavalry arriving at 30 %; the fixture's command
// of group 1.
QByteArray ScheduleScn() {
    return FixtureScnWith("1 1.12.3.1.1 1 4 30 0 0 512 3 4\n"
                          "1 1.1 2 0 0 0 0 0 3 4\n"
                          "2 1863 7 2 6 20 30 0 5 6 1 1\n"
                          "    2.2\n"
                          "4 1863 7 1 8 0 50 1.12.3.1.1\n");
}

}  // namespace

class TestScheduleWindow : public QObject {
    Q_OBJECT
    SettingsSandbox sandbox_;
    QTemporaryDir tmp_;
    std::unique_ptr<Forms> f_;
    TfrmEdit* e_ = nullptr;
    TfrmSchedule* w_ = nullptr;

    QPoint markOf(ScheduleEventKind kind) {
        const Schedule& s = w_->View->Current();
        for (std::size_t i = 0; i < s.Events.size(); ++i)
            if (s.Events[i].Kind == kind) return w_->View->EventPoint(static_cast<int>(i)).toPoint();
        return {};
    }

    // The pointer moves over the picture (the offscreen platform passes
    // QTest::mouseMove on to no widget without a button held).
    void hover(QPoint at) {
        QMouseEvent e(QEvent::MouseMove, QPointF(at), w_->View->mapToGlobal(QPointF(at)), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(w_->View, &e);
    }

    // The window shows what a fresh drawing of the scenario shows.
    void showsTheScenarioAsItIs() {
        QCoreApplication::processEvents();
        ScheduleView fresh(e_->Scn());
        fresh.SetClock(w_->View->Clock());
        fresh.resize(w_->View->size());
        QImage drawn(fresh.size(), QImage::Format_RGB32);
        QPainter p(&drawn);
        fresh.Paint(p, drawn.size());
        p.end();
        QCOMPARE(w_->View->grab().toImage().convertToFormat(QImage::Format_RGB32), drawn);
    }

private slots:
    void init() {
        f_ = ReadFixtureGame(tmp_.path(), ScheduleScn());
        e_ = f_->edit.get();
        QCOMPARE(f_->ui.errors(), QStringList());
        e_->Ui().mnuSchedule->trigger();
        w_ = e_->frmSchedule();
        QVERIFY(w_ && w_->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(w_));
        QCOMPARE(w_->View->Current().Events.size(), 3u);
    }
    void cleanup() { f_.reset(); }

    void hoverTellsTheRecordAndWhatItAdds() {
        hover(markOf(ScheduleEventKind::Release));
        const QString text = w_->Status->text();
        QVERIFY2(text.startsWith("Release 1863-07-01 08:00 at 50%: "), qPrintable(text));
        QVERIFY2(text.contains(e_->Ui().lbReleases->item(0)->text()), qPrintable(text));
        QVERIFY2(text.contains("Union freed 375 (sure 0)"), qPrintable(text));  // half of 30 points
        hover(markOf(ScheduleEventKind::Arrival));
        QVERIFY2(w_->Status->text().contains("Confederate +2250 (sure 0)"), qPrintable(w_->Status->text()));
    }

    void clickSelectsTheRecordOnItsPage() {
        QTest::mouseClick(w_->View, Qt::LeftButton, {}, markOf(ScheduleEventKind::Arrival));
        QCOMPARE(e_->Ui().Notebook1->currentWidget(), static_cast<QWidget*>(e_->Ui().pgReinfor));
        QCOMPARE(e_->Ui().lbReinfor->SelectedLine(), 0);
        QCOMPARE(e_->Ui().lbUnits->SelectedLine(), FixtureRow("2.2"));  // followed into the column
    }

    // A strength stored on Set Units shows at once (the released unit frees
    // half of its new strength), and so does a release removed.
    void aChangeShowsAtOnce() {
        e_->Ui().Notebook1->setCurrentWidget(e_->Ui().pgSetUnits);
        ClickLine(e_->Ui().lbSetUnits, 0);
        TypeInto(e_->Ui().pgSetUnits->edStrength, "200");
        ClickLine(e_->Ui().lbSetUnits, 1);
        QCOMPARE(int{e_->Scn().SetupList()[0]->Strength}, 200);
        hover(markOf(ScheduleEventKind::Release));
        QVERIFY2(w_->Status->text().contains("Union freed 2500 (sure 0)"), qPrintable(w_->Status->text()));
        showsTheScenarioAsItIs();

        e_->Ui().Notebook1->setCurrentWidget(e_->Ui().pgReleases);
        ClickLine(e_->Ui().lbReleases, 0);
        ClickButton(e_->Ui().bnRemove);
        QCOMPARE(w_->View->Current().Events.size(), 2u);
        showsTheScenarioAsItIs();
    }

    void exportWritesThePicture() {
        w_->resize(820, 500);
        QCoreApplication::processEvents();
        const QString png = tmp_.filePath("schedule.png");
        f_->ui.setNextFileName(png);
        w_->mnuExport->trigger();
        QCOMPARE(f_->ui.errors(), QStringList());
        const QImage image(png);
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(), w_->View->size());

        const QString svg = tmp_.filePath("schedule.SVG");
        f_->ui.setNextFileName(svg);
        w_->mnuExport->trigger();
        QFile file(svg);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("<svg"));

        // Cancelled: nothing written, nothing said.
        w_->mnuExport->trigger();
        QCOMPARE(f_->ui.errors(), QStringList());
        QCOMPARE(f_->ui.saveRequests.size(), 3);
    }
};

QTEST_MAIN(TestScheduleWindow)
#include "test_schedule_window.moc"
