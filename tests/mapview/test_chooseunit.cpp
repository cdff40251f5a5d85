// The choose-unit dialog's frame, and its ways out.
#include <QPushButton>
#include <QTest>

#include "unitdlg.h"

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

    void escAndCancelClose_data() {
        QTest::addColumn<bool>("esc");
        QTest::newRow("Esc") << true;
        QTest::newRow("Cancel") << false;
    }
    void escAndCancelClose() {
        QFETCH(bool, esc);
        TdlgChooseUnit d;
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        if (esc) QTest::keyClick(&d, Qt::Key_Escape);
        else QTest::mouseClick(d.Button1, Qt::LeftButton);
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(TestChooseUnit)
#include "test_chooseunit.moc"
