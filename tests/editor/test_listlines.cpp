// A line put back into a list box (an undone Remove): it goes in at its
// index, and the selection stays on the record it was on, without a click.
#include <QSignalSpy>
#include <QTest>

#include "editor/pages/listlines.h"
#include "editor/widgets/listbox.h"

using namespace varno;

class TestListLines : public QObject {
    Q_OBJECT
private slots:
    void lineInserted_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("selected");  // before the insertion; -1 none
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("lines");
        QTest::addColumn<int>("selectedAfter");
        QTest::newRow("above the selection") << "a b c" << 1 << 0 << "new a b c" << 2;
        QTest::newRow("at the selection") << "a b c" << 1 << 1 << "a new b c" << 2;
        QTest::newRow("below the selection") << "a b c" << 1 << 2 << "a b new c" << 1;
        QTest::newRow("at the end") << "a b c" << 2 << 3 << "a b c new" << 2;
        QTest::newRow("none selected") << "a b c" << -1 << 0 << "new a b c" << -1;
        QTest::newRow("into an empty box") << "" << -1 << 0 << "new" << -1;
    }
    void lineInserted() {
        QFETCH(QString, before);
        QFETCH(int, selected);
        QFETCH(int, index);
        QFETCH(QString, lines);
        QFETCH(int, selectedAfter);
        TListBox box;
        box.addItems(before.split(' ', Qt::SkipEmptyParts));
        if (selected >= 0) box.SelectLine(selected);
        TListLines listLines;
        listLines.SetBox(ScnListBox::Releases, &box);
        int changes = 0;
        listLines.OnChange = [&changes] { ++changes; };
        QSignalSpy clicks(&box, &TListBox::userClick);

        listLines.lineInserted(ScnListBox::Releases, index, "new");

        QStringList shown;
        for (int i = 0; i < box.count(); ++i) shown << box.item(i)->text();
        QCOMPARE(shown.join(' '), lines);
        QCOMPARE(box.SelectedLine(), selectedAfter);
        QCOMPARE(changes, 1);
        QCOMPARE(clicks.count(), 0);
    }
};

QTEST_MAIN(TestListLines)
#include "test_listlines.moc"
