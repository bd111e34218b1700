// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
// The game's own round, measured from inside: the real playfield window and drop cycle, with a
// random source that always gives 0, so that every drop falls down the left column and the
// period never shrinks.
//
//   luminaku_bench steps PERIOD_MS SECONDS [--no-paint | --paint-every-step]
//       Holds the bin under the left column (every drop is caught, the round never ends) with
//       the step period fixed at PERIOD_MS; prints the processor use and the step pacing.
//       The two options only serve to tell where the time goes: --no-paint keeps the window
//       from repainting at all, --paint-every-step lifts the game's limit of one repaint a
//       frame.
//   luminaku_bench rounds COUNT
//       A scripted player plays COUNT rounds at the 1 ms floor (five catches, then three
//       misses, then OK on the game-over window); prints the resident memory on the way.
//   luminaku_bench latency PERIOD_MS
//       The playfield for a player outside: with PERIOD_MS 0 no round runs, otherwise a round
//       runs at that fixed period and every drop the player's bin leaves is caught unseen, so
//       the round goes on whatever the keys do. Prints the window's X id and where the bins
//       are in it, then `ready`; when its standard input closes, how the round stands.
//       bench/latency.py sends the keys.

#include "BenchSupport.h"

#include "game/frmMain.h"
#include "shell/Application.h"
#include "shell/Forms.h"
#include "shell/FrameLimiter.h"
#include "shell/Random.h"
#include "shell/Runtime.h"
#include "windows/frmGameOver.h"
#include "windows/frmOpening.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdlib>
#include <cstring>

#include <unistd.h>

namespace
{

// Every drop in the left column, and a speed-up of 0 ms: the period stays where it is set.
class ZeroRandom final : public RandomSource
{
public:
    void randomize() override {}
    float next() override { return 0.0f; }
};

constexpr int SettleMs = 300; // let the window map and paint before measuring
constexpr int CatchesPerRound = 5;
constexpr int FloorMs = 1;

QTimer *stepTimer(frmMain *form)
{
    return form->controls().timer("tmrTimer1");
}

void key(frmMain *form, QEvent::Type type)
{
    QKeyEvent event(type, Qt::Key_Left, Qt::NoModifier);
    QCoreApplication::sendEvent(form, &event);
}

// Starts a round the way the menu does and sets the period right after the round start.
void startRound(frmMain *form, int periodMs)
{
    form->mnuStart()->trigger();
    stepTimer(form)->setInterval(periodMs);
}

enum class Painting { AsIs, None, EveryStep };

// Repaints held to one a frame: the window's update requests are let through at most every
// 16 ms; one that comes sooner waits for the next frame, and whatever became dirty meanwhile
// is painted then, together. Nothing waits when steps are slower than frames.
void steps(frmMain *form, int periodMs, double seconds, Painting painting)
{
    auto *watch = new bench::StepWatch(periodMs);
    for (int i = 0; i < 12; ++i)
        watch->watch(form->controls().widget("imgUran", i));
    auto *cpu = new bench::CpuMeter;

    QTimer::singleShot(SettleMs, form, [=] {
        startRound(form, periodMs);
        key(form, QEvent::KeyPress); // held for the whole run: every drop is caught
        if (painting == Painting::None)
            form->setUpdatesEnabled(false);
        else if (painting == Painting::EveryStep)
            delete form->findChild<FrameLimiter *>();
        watch->setRecording(true);
        cpu->start();
        QTimer::singleShot(int(seconds * 1000), form, [=] {
            bench::report("cpu_percent", cpu->percent());
            bench::report("steps", double(watch->pacing().count()));
            bench::report("pacing_mean_ms", watch->pacing().meanMs());
            bench::report("pacing_p99_ms", watch->pacing().percentileMs(99));
            bench::report("interval_ms", stepTimer(form)->interval());
            QCoreApplication::exit(0);
        });
    });
}

// Plays rounds one after another: catch five, let three pass, close the game-over window.
class ScriptedPlayer : public QObject
{
public:
    ScriptedPlayer(frmMain *form, int rounds) : m_form(form), m_rounds(rounds)
    {
        // Connected after the window's own handler, so it sees each tick's outcome.
        connect(stepTimer(form), &QTimer::timeout, this, &ScriptedPlayer::afterTick);
    }

    void begin()
    {
        bench::report("rss_start_kb", double(bench::residentKb()));
        m_started = bench::Clock::now();
        nextRound();
    }

private:
    void nextRound()
    {
        startRound(m_form, FloorMs);
        key(m_form, QEvent::KeyPress);
        m_holding = true;
    }

    void afterTick()
    {
        if (m_holding &&
            m_form->controls().label("lblScoreBrd")->text() == QString::number(CatchesPerRound)) {
            key(m_form, QEvent::KeyRelease);
            m_holding = false;
            // The next three drops are missed; the first game-over window is still to come.
            if (m_played == 0)
                bench::report("rss_before_first_game_over_kb", double(bench::residentKb()));
        }
        if (m_form->playfield().roundsRunning() == 0 && !m_ending) {
            m_ending = true;
            QTimer::singleShot(0, this, &ScriptedPlayer::roundOver);
        }
    }

    void roundOver()
    {
        m_ending = false;
        if (auto *over = Forms::find<frmGameOver>())
            over->controls().button("cmdOKButton")->click();
        ++m_played;
        if (m_played == 1) bench::report("rss_after_first_round_kb", double(bench::residentKb()));
        if (m_played < m_rounds) {
            nextRound();
            return;
        }
        const double elapsed =
            std::chrono::duration<double>(bench::Clock::now() - m_started).count();
        // Let the closed windows be deleted before the last reading.
        QTimer::singleShot(SettleMs, this, [this, elapsed] {
            bench::report("rounds", m_played);
            bench::report("rounds_seconds", elapsed);
            bench::report("rss_end_kb", double(bench::residentKb()));
            QCoreApplication::exit(0);
        });
    }

    frmMain *m_form;
    int m_rounds;
    int m_played = 0;
    bool m_holding = false;
    bool m_ending = false;
    bench::Clock::time_point m_started;
};

// Catches, at the tick that ends the catch step, a drop the bin is not under, without moving
// the bin: the rules run their whole cycle at a constant period, while the bin shows only what
// the player outside did.
class UnseenCatcher : public QObject
{
public:
    explicit UnseenCatcher(frmMain *form) : m_form(form)
    {
        stepTimer(form)->installEventFilter(this); // sees the tick before the window does
        // Connected after the window's own handler: the tick has been handled.
        connect(stepTimer(form), &QTimer::timeout, this, [this] {
            if (m_playerLane >= 0) m_form->playfield().BucketLane = std::int16_t(m_playerLane);
            m_playerLane = -1;
        });
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        Playfield &rules = m_form->playfield();
        if (event->type() == QEvent::Timer && rules.stepOfTopRound() == Playfield::CatchStep) {
            m_playerLane = rules.BucketLane;
            rules.BucketLane = std::int16_t(rules.laneOfTopRound());
        }
        return false;
    }

private:
    frmMain *m_form;
    int m_playerLane = -1;
};

void latency(frmMain *form, int periodMs)
{
    if (periodMs > 0) new UnseenCatcher(form);
    QTimer::singleShot(SettleMs, form, [=] {
        if (periodMs > 0) startRound(form, periodMs);
        // Bins in the window's own pixels, as the X server has them.
        const QRect left = form->controls().widget("imgBakets", 0)->geometry();
        const QPoint origin = form->client()->mapTo(form, left.topLeft());
        bench::report("window", double(form->winId()));
        bench::report("bin_x", origin.x());
        bench::report("bin_y", origin.y());
        bench::report("bin_width", left.width());
        bench::report("bin_height", left.height());
        bench::report("bin_pitch", form->controls().widget("imgBakets", 1)->x() - left.x());
        bench::report("ready", 1);
    });
    // Until the player outside closes our input; then how the round stands.
    auto *input = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, form);
    QObject::connect(input, &QSocketNotifier::activated, form, [=] {
        char buffer[64];
        if (read(STDIN_FILENO, buffer, sizeof buffer) > 0) return;
        input->setEnabled(false);
        bench::report("rounds_running", form->playfield().roundsRunning());
        bench::report("score", form->controls().label("lblScoreBrd")->text().toDouble());
        bench::report("interval_ms", stepTimer(form)->interval());
        QCoreApplication::exit(0);
    });
}

int usage()
{
    std::fprintf(stderr, "usage: luminaku_bench steps PERIOD_MS SECONDS "
                         "[--no-paint | --paint-every-step]\n"
                         "       luminaku_bench rounds COUNT\n"
                         "       luminaku_bench latency PERIOD_MS\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) return usage();
    ZeroRandom zero;
    rt::setRandom(&zero);
    Application app(argc, argv);
    // In by the front door, as the player comes: the title window, then START!.
    Forms::show<frmOpening>()->controls().button("cmdStartButton")->click();
    frmMain *form = Forms::find<frmMain>();

    if (std::strcmp(argv[1], "steps") == 0 && (argc == 4 || argc == 5)) {
        Painting painting = Painting::AsIs;
        if (argc == 5 && std::strcmp(argv[4], "--no-paint") == 0)
            painting = Painting::None;
        else if (argc == 5 && std::strcmp(argv[4], "--paint-every-step") == 0)
            painting = Painting::EveryStep;
        else if (argc == 5)
            return usage();
        steps(form, std::atoi(argv[2]), std::atof(argv[3]), painting);
    } else if (std::strcmp(argv[1], "rounds") == 0 && argc == 3) {
        auto *player = new ScriptedPlayer(form, std::atoi(argv[2]));
        QTimer::singleShot(SettleMs, player, [player] { player->begin(); });
    } else if (std::strcmp(argv[1], "latency") == 0 && argc == 3) {
        latency(form, std::atoi(argv[2]));
    } else {
        return usage();
    }
    const int status = app.exec();
    rt::setRandom(nullptr);
    return status;
}
