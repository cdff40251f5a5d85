// The choose-unit dialog's frame (Esc and Cancel: the map tests' pickFromSeveral).
#include <QTest>

#include "mapview/unitdlg.h"

using namespace varno;

class TestChooseUnit : public QObject {
    Q_OBJECT
private slots:
    // A fixed single border with the caption only: no title-bar button.
    void aFixedBorderWithoutButtons() {
        TdlgChooseUnit d;
        const Qt::WindowFlags f = d.windowFlags();
        QVERIFY(f & Qt::WindowTitleHint);
        QVERIFY(f & Qt::MSWindowsFixedSizeDialogHint);
        QVERIFY(!(f & (Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint)));
        QCOMPARE(d.minimumSize(), d.maximumSize());
    }
};

QTEST_MAIN(TestChooseUnit)
#include "test_chooseunit.moc"
