#include "shell/Convert.h"
#include "shell/Random.h"
#include "shell/RuntimeError.h"

#include <QTest>

#include <cmath>
#include <limits>

class tst_convert : public QObject
{
    Q_OBJECT
private slots:
    // Rounding faults: truncation instead of halves-to-even, or wrap-around instead of overflow.
    void cint_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("expected"); // INT_MIN: overflow
        const int overflow = std::numeric_limits<int>::min();
        QTest::newRow("half to even, down") << 0.5 << 0;
        QTest::newRow("half to even, up") << 1.5 << 2;
        QTest::newRow("2.5 to 2") << 2.5 << 2;
        QTest::newRow("497.5 to 498") << 497.5 << 498;
        QTest::newRow("492.5 to 492") << 492.5 << 492;
        QTest::newRow("-0.5 to 0") << -0.5 << 0;
        QTest::newRow("-1.5 to -2") << -1.5 << -2;
        QTest::newRow("just below half") << 2.4999999 << 2;
        QTest::newRow("top") << 32767.4 << 32767;
        QTest::newRow("top rounds over") << 32767.5 << overflow;
        QTest::newRow("bottom half to even") << -32768.5 << -32768;
        QTest::newRow("below bottom") << -32768.6 << overflow;
        QTest::newRow("nan") << std::nan("") << overflow;
    }
    void cint()
    {
        QFETCH(double, x);
        QFETCH(int, expected);
        if (expected == std::numeric_limits<int>::min()) {
            QVERIFY_THROWS_EXCEPTION(RuntimeError, convert::cint(x));
        } else {
            QCOMPARE(int(convert::cint(x)), expected);
        }
    }

    void clngAtItsEdges()
    {
        QCOMPARE(convert::clng(16777215.4), 16777215);
        QCOMPARE(convert::clng(16777215.5), 16777216); // halves to even
        QCOMPARE(convert::clng(2147483647.0), 2147483647);
        QVERIFY_THROWS_EXCEPTION(RuntimeError, convert::clng(2147483647.5));
        try {
            convert::clng(-3e9);
            QFAIL("no overflow");
        } catch (const RuntimeError &e) {
            QCOMPARE(e.code(), RuntimeError::Overflow);
        }
    }

    // Int() floors; truncation would turn -0.5 into 0.
    void intI2_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("expected");
        QTest::newRow("0") << 0.0 << 0;
        QTest::newRow("0.999") << 0.999 << 0;
        QTest::newRow("2.999") << 2.999 << 2;
        QTest::newRow("-0.5") << -0.5 << -1;
        QTest::newRow("32767.9") << 32767.9 << 32767;
    }
    void intI2()
    {
        QFETCH(double, x);
        QFETCH(int, expected);
        QCOMPARE(int(convert::intI2(x)), expected);
    }

    void intI2Overflow() { QVERIFY_THROWS_EXCEPTION(RuntimeError, convert::intI2(32768.0)); }

    void strI2_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0 << "0";
        QTest::newRow("no leading blank") << 7 << "7";
        QTest::newRow("negative") << -1 << "-1";
        QTest::newRow("max") << 32767 << "32767";
        QTest::newRow("min") << -32768 << "-32768";
    }
    void strI2()
    {
        QFETCH(int, value);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(convert::strI2(std::int16_t(value))), text);
    }

    // 1.0 would put a drop in a fourth column and make the game-over colour overflow.
    void randomNeverReachesOne()
    {
        QCOMPARE(ClockRandom::fromBits(0xFFFFFFFFu), 1.0f - std::ldexp(1.0f, -24));
        QCOMPARE(ClockRandom::fromBits(0u), 0.0f);
        ClockRandom random;
        for (int i = 0; i < 100000; ++i) {
            const float r = random.next();
            QVERIFY(r >= 0.0f && r < 1.0f);
        }
    }
};

QTEST_APPLESS_MAIN(tst_convert)
#include "tst_convert.moc"
