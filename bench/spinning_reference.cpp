// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
// The yardstick: drops paced the old way, by spinning the event loop until the step timer's
// tick has arrived. It shows the same playfield window and moves a drop down the left column
// one row per tick, so that it paints what the game paints; only the waiting differs.
//
//   luminaku_spin_reference PERIOD_MS SECONDS

#include "BenchSupport.h"

#include "game/frmMain.h"
#include "shell/Application.h"
#include "shell/Forms.h"
#include "windows/frmOpening.h"

#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: luminaku_spin_reference PERIOD_MS SECONDS\n");
        return 2;
    }
    const int periodMs = std::atoi(argv[1]);
    const double seconds = std::atof(argv[2]);

    Application app(argc, argv);
    Forms::show<frmOpening>()->controls().button("cmdStartButton")->click();
    frmMain *form = Forms::find<frmMain>();

    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(periodMs);
    bool tickArrived = false;
    QObject::connect(&tick, &QTimer::timeout, [&] { tickArrived = true; });

    bench::StepWatch watch(periodMs);
    for (int i = 0; i < 12; ++i)
        watch.watch(form->controls().widget("imgUran", i));

    QTimer::singleShot(300, form, [&] {
        bench::CpuMeter cpu;
        cpu.start();
        watch.setRecording(true);
        const auto end = bench::Clock::now() + std::chrono::duration<double>(seconds);
        while (bench::Clock::now() < end) {
            for (int row = 0; row < 4; ++row) {
                QWidget *drop = form->controls().widget("imgUran", row);
                drop->setVisible(true);
                tickArrived = false;
                tick.start();
                while (!tickArrived)
                    QCoreApplication::processEvents();
                tick.stop();
                drop->setVisible(false);
            }
        }
        bench::report("cpu_percent", cpu.percent());
        bench::report("steps", double(watch.pacing().count()));
        bench::report("pacing_mean_ms", watch.pacing().meanMs());
        bench::report("pacing_p99_ms", watch.pacing().percentileMs(99));
        QCoreApplication::exit(0);
    });
    return app.exec();
}
