// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
// What a bare tick costs on this machine, with nothing painted: a Qt precise timer restarted
// on every tick, as the drop cycle does, against a Linux timerfd watched by the same event
// loop. It tells how much of the game's figures any Qt program would pay here, and what a
// step timer on a timerfd would change.
//
//   luminaku_timer_floor PERIOD_MS TICKS

#include "BenchSupport.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <sys/timerfd.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace
{

// Runs `ticks` ticks of one kind and reports how late they came and what they cost.
class Run
{
public:
    Run(const char *name, int periodMs, int ticks)
        : m_name(name), m_periodMs(periodMs), m_ticks(ticks)
    {
    }

    void begin(const std::function<void()> &arm)
    {
        m_arm = arm;
        m_cpu.start();
        m_armedAt = bench::Clock::now();
        m_arm();
    }

    // Called on each tick; true when the run is over.
    bool tick()
    {
        m_pacing.add(bench::Clock::now() - m_armedAt, m_periodMs);
        if (int(m_pacing.count()) == m_ticks) {
            const std::string key(m_name);
            bench::report((key + "_late_mean_ms").c_str(), m_pacing.meanMs());
            bench::report((key + "_late_p99_ms").c_str(), m_pacing.percentileMs(99));
            bench::report((key + "_cpu_percent").c_str(), m_cpu.percent());
            return true;
        }
        m_armedAt = bench::Clock::now();
        m_arm();
        return false;
    }

private:
    const char *m_name;
    int m_periodMs;
    int m_ticks;
    std::function<void()> m_arm;
    bench::CpuMeter m_cpu;
    bench::Clock::time_point m_armedAt;
    bench::Pacing m_pacing;
};

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: luminaku_timer_floor PERIOD_MS TICKS\n");
        return 2;
    }
    const int periodMs = std::atoi(argv[1]);
    const int ticks = std::atoi(argv[2]);
    QCoreApplication app(argc, argv);

    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(periodMs);
    Run qtimer("qtimer", periodMs, ticks);

    const int fd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    QSocketNotifier notifier(fd, QSocketNotifier::Read);
    notifier.setEnabled(false);
    Run timerfd("timerfd", periodMs, ticks);
    auto armTimerfd = [fd, periodMs] {
        itimerspec due{};
        due.it_value.tv_sec = periodMs / 1000;
        due.it_value.tv_nsec = long(periodMs % 1000) * 1000000L;
        timerfd_settime(fd, 0, &due, nullptr);
    };

    QObject::connect(&timer, &QTimer::timeout, [&] {
        timer.stop();
        if (qtimer.tick()) {
            notifier.setEnabled(true);
            timerfd.begin(armTimerfd);
        }
    });
    QObject::connect(&notifier, &QSocketNotifier::activated, [&] {
        std::uint64_t expired = 0;
        if (read(fd, &expired, sizeof expired) < 0) return;
        if (timerfd.tick()) QCoreApplication::exit(0);
    });

    qtimer.begin([&timer] { timer.start(); });
    const int status = app.exec();
    close(fd);
    return status;
}
