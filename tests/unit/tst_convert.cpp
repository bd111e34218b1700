// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "shell/Convert.h"
#include "shell/Random.h"
#include "shell/RuntimeError.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <vector>

// A rounding or range fault here moves a drop's column, the period or the game-over colour.
class tst_convert : public QObject
{
    Q_OBJECT
private slots:
    void numbers_data()
    {
        QTest::addColumn<char>("fn"); // i: Int, c: CInt, l: CLng
        QTest::addColumn<double>("x");
        QTest::addColumn<qint64>("expected"); // Overflow: the run-time error
        const qint64 overflow = std::numeric_limits<qint64>::min();
        QTest::newRow("Int floors -0.5") << 'i' << -0.5 << qint64(-1);
        QTest::newRow("CInt 32767.5") << 'c' << 32767.5 << overflow;
        QTest::newRow("CInt -32768.5") << 'c' << -32768.5 << qint64(-32768);
        QTest::newRow("CInt nan") << 'c' << std::nan("") << overflow;
        QTest::newRow("CLng 2147483647.5") << 'l' << 2147483647.5 << overflow;
    }
    void numbers()
    {
        QFETCH(char, fn);
        QFETCH(double, x);
        QFETCH(qint64, expected);
        const auto convert = [&]() -> qint64 {
            return fn == 'i' ? convert::intI2(x) : fn == 'c' ? convert::cint(x) : convert::clng(x);
        };
        if (expected != std::numeric_limits<qint64>::min()) {
            QCOMPARE(convert(), expected);
            return;
        }
        try {
            convert();
            QFAIL("no overflow");
        } catch (const RuntimeError &e) {
            QCOMPARE(e.code(), RuntimeError::Overflow);
        }
    }

    // 1.0 would put a drop in a fourth column and make the game-over colour overflow.
    void randomNeverReachesOne()
    {
        // As doubles: QCOMPARE on floats would take 1.0 for the value just below it.
        QCOMPARE(double(ClockRandom::fromBits(0xFFFFFFFFu)), 1.0 - std::ldexp(1.0, -24));
        QCOMPARE(double(ClockRandom::fromBits(0u)), 0.0);
    }

    // Every launch draws its own drops: reseeded, the generator follows the clock's reading.
    void seededFromTheClock()
    {
        std::int64_t now = 1'000'000'007;
        ClockRandom random([&now] { return now; });
        const auto drawsAt = [&](std::int64_t ticks) {
            now = ticks;
            random.randomize();
            return std::vector{random.next(), random.next(), random.next(), random.next()};
        };
        const std::vector<float> first = drawsAt(now);
        QVERIFY(drawsAt(now + 1) != first);
        QCOMPARE(drawsAt(1'000'000'007), first);
    }
};

QTEST_APPLESS_MAIN(tst_convert)
#include "tst_convert.moc"
