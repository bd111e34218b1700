// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "shell/Calm.h"
#include "shell/CommandLine.h"
#include "shell/platform/FreedesktopMotion.h"

#include <QDBusVariant>
#include <QTemporaryDir>
#include <QTest>

// A desktop that answers at once (or, unset, never, like a portal that hangs), counting the asks.
struct FakeDesktop final : platform::DesktopMotion {
    std::optional<bool> reduced;
    int asked = 0;
    void ask(std::function<void(bool)> answer) override
    {
        if (++asked && reduced) answer(*reduced);
    }
};

class tst_calm : public QObject
{
    Q_OBJECT
private slots:
    // The command line wins, the last of its two options counting, and the desktop is then not
    // asked; a desktop that never answers leaves the original flashing.
    void decide_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("desktop"); // -1 silent, 0 animations on, 1 off
        QTest::addColumn<int>("calm");    // -1 never set
        QTest::newRow("--calm") << QStringList{"--calm"} << 0 << 1;
        QTest::newRow("-calm after --no-calm") << QStringList{"--no-calm", "-calm"} << 0 << 1;
        QTest::newRow("--no-calm after --calm") << QStringList{"--calm", "--no-calm"} << 1 << 0;
        QTest::newRow("desktop off") << QStringList{} << 1 << 1;
        QTest::newRow("desktop on") << QStringList{"-style", "Fusion"} << 0 << 0;
        QTest::newRow("desktop silent") << QStringList{} << -1 << -1;
    }
    void decide()
    {
        QFETCH(QStringList, args);
        QFETCH(int, desktop);
        QFETCH(int, calm);
        const CommandLine options =
            CommandLine::parse(QStringList{"luminaku"} + args, CommandLine::Pass::BeforeQt);
        FakeDesktop fake;
        if (desktop >= 0) fake.reduced = desktop == 1;
        int set = -1;
        decideCalm(options.calm, fake, [&](bool on) { set = on; });
        QCOMPARE(set, calm);
        QCOMPARE(fake.asked, options.calm ? 0 : 1);
    }

    // kdeglobals as KDE cascades them: the user's file over the system's, unless the system's
    // locks the entry; other groups and keys, and a factor above 0, are not "off".
    void kdeglobals_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("system");
        QTest::addColumn<bool>("off");
        const QString zero = "[KDE]\nAnimationDurationFactor=0\n";
        const QString one = "[KDE]\n AnimationDurationFactor = 1.0\n";
        QTest::newRow("user 0") << "[General]\nfoo=1\n" + zero << "" << true;
        QTest::newRow("user 0.5") << "[KDE]\nAnimationDurationFactor=0.5\n" << zero << false;
        QTest::newRow("another group") << "[KDE][Sub]\nAnimationDurationFactor=0\n"
                                       << "" << false;
        QTest::newRow("another key") << "[KDE]\nAnimationDurationFactorX=0\n"
                                     << "" << false;
        QTest::newRow("system 0") << "" << zero << true;
        QTest::newRow("user 1 over system 0") << one << zero << false;
        QTest::newRow("locked: key") << one << "[KDE]\nAnimationDurationFactor[$i]=0\n" << true;
        QTest::newRow("locked: group") << one << "[KDE][$i]\nAnimationDurationFactor=0\n" << true;
        QTest::newRow("locked: file") << one << "[$i]\n" + zero << true;
    }
    void kdeglobals()
    {
        QFETCH(QString, user);
        QFETCH(QString, system);
        QTemporaryDir dir;
        QStringList files;
        for (const QString &text : {user, system}) {
            QFile file(files.emplace_back(dir.filePath(QString::number(files.size()))));
            if (!text.isEmpty() && file.open(QIODevice::WriteOnly)) file.write(text.toUtf8());
        }
        QTEST(platform::FreedesktopMotion::kdeAnimationsOff(files), "off");
    }

    // Only false is off, in Read's variant within a variant (also e2e_round_portal).
    void portal()
    {
        const auto wrap = [](const QVariant &v) { return QVariant::fromValue(QDBusVariant(v)); };
        const QList<std::pair<QVariant, bool>> answers = {{wrap(wrap(false)), true},
                                                          {wrap(wrap(true)), false},
                                                          {wrap(wrap(0)), false},
                                                          {QVariant(), false}};
        for (const auto &[value, off] : answers)
            QCOMPARE(platform::FreedesktopMotion::portalAnimationsOff(value), off);
    }
};

QTEST_GUILESS_MAIN(tst_calm)
#include "tst_calm.moc"
