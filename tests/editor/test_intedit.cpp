// The number edits' reading of their text, without a window.
#include <QTest>

#include "editor/widgets/intedit.h"

using namespace varno;

class TestIntEdit : public QObject {
    Q_OBJECT
private slots:
    void parse_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("value");
        QTest::newRow("empty is 0") << QByteArray("") << true << 0;
        QTest::newRow("decimal") << QByteArray("42") << true << 42;
        QTest::newRow("leading blanks") << QByteArray("   7") << true << 7;
        QTest::newRow("plus") << QByteArray("+12") << true << 12;
        QTest::newRow("minus") << QByteArray("-300") << true << -300;
        QTest::newRow("blanks then sign") << QByteArray("  -5") << true << -5;
        QTest::newRow("hex") << QByteArray("$1F") << true << 31;
        QTest::newRow("hex lower") << QByteArray("$ff") << true << 255;
        QTest::newRow("negative hex") << QByteArray("-$10") << true << -16;
        QTest::newRow("hex 32 bits") << QByteArray("$FFFFFFFF") << true << -1;
        QTest::newRow("largest") << QByteArray("2147483647") << true << 2147483647;
        QTest::newRow("smallest") << QByteArray("-2147483648") << true << int(-2147483647 - 1);
        QTest::newRow("too large") << QByteArray("2147483648") << false << 0;
        QTest::newRow("too small") << QByteArray("-2147483649") << false << 0;
        QTest::newRow("hex too long") << QByteArray("$100000000") << false << 0;
        QTest::newRow("lone minus") << QByteArray("-") << false << 0;
        QTest::newRow("lone dollar") << QByteArray("$") << false << 0;
        QTest::newRow("blanks only") << QByteArray("   ") << false << 0;
        QTest::newRow("trailing blank") << QByteArray("12 ") << false << 0;
        QTest::newRow("letters after") << QByteArray("12a") << false << 0;
        QTest::newRow("not hex") << QByteArray("$1G") << false << 0;
        QTest::newRow("sign after blank after sign") << QByteArray("- 1") << false << 0;
        QTest::newRow("two signs") << QByteArray("--1") << false << 0;
        QTest::newRow("0x is not ours") << QByteArray("0x10") << false << 0;
        QTest::newRow("decimal point") << QByteArray("1.5") << false << 0;
    }
    void parse() {
        QFETCH(QByteArray, text);
        QFETCH(bool, ok);
        QFETCH(int, value);
        std::int32_t v = 1234;  // untouched on failure
        QCOMPARE(ParseIntText(std::string_view(text.constData(), text.size()), v), ok);
        QCOMPARE(v, ok ? value : 1234);
    }
    void message() {
        QCOMPARE(QByteArray::fromStdString(NotAnIntegerMessage("-")), QByteArray("'-' is not a valid integer value"));
    }
};

QTEST_GUILESS_MAIN(TestIntEdit)
#include "test_intedit.moc"
