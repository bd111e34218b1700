// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

// What both bench programs measure the same way: their own processor time, their resident
// memory and how long each step of a falling drop really lasted.

#include <QEvent>
#include <QObject>
#include <QWidget>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace bench
{

using Clock = std::chrono::steady_clock;

// User plus system time of the whole process (every thread), in seconds.
inline double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// VmRSS from /proc, in kB.
inline long residentKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

// Processor use over a stretch of wall-clock time.
class CpuMeter
{
public:
    void start()
    {
        m_cpu = cpuSeconds();
        m_wall = Clock::now();
    }
    // Percent of one core since start().
    double percent() const
    {
        const double wall = std::chrono::duration<double>(Clock::now() - m_wall).count();
        return 100.0 * (cpuSeconds() - m_cpu) / wall;
    }

private:
    double m_cpu = 0;
    Clock::time_point m_wall;
};

// How far the measured steps strayed from the period in force.
class Pacing
{
public:
    void add(Clock::duration step, double periodMs)
    {
        const double ms = std::chrono::duration<double, std::milli>(step).count();
        m_errors.push_back(std::abs(ms - periodMs));
    }
    std::size_t count() const { return m_errors.size(); }
    double meanMs() const
    {
        double sum = 0;
        for (double e : m_errors)
            sum += e;
        return m_errors.empty() ? 0 : sum / double(m_errors.size());
    }
    // Nearest-rank percentile.
    double percentileMs(double p) const
    {
        if (m_errors.empty()) return 0;
        std::vector<double> sorted = m_errors;
        std::sort(sorted.begin(), sorted.end());
        const auto rank = std::size_t(std::ceil(p / 100.0 * double(sorted.size())));
        return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
    }
    void clear() { m_errors.clear(); }

private:
    std::vector<double> m_errors;
};

// A drop picture's step lasts from the moment it is shown to the moment it is hidden. Watching
// the pictures measures the steps as the player sees them, whatever drives them.
class StepWatch : public QObject
{
public:
    explicit StepWatch(double periodMs) : m_periodMs(periodMs) {}

    void watch(QWidget *picture) { picture->installEventFilter(this); }
    void setPeriod(double periodMs) { m_periodMs = periodMs; }
    void setRecording(bool on) { m_recording = on; }
    const Pacing &pacing() const { return m_pacing; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ShowToParent) {
            m_shownAt = Clock::now();
            m_shown = watched;
        } else if (event->type() == QEvent::HideToParent && watched == m_shown) {
            if (m_recording) m_pacing.add(Clock::now() - m_shownAt, m_periodMs);
            m_shown = nullptr;
        }
        return false;
    }

private:
    double m_periodMs;
    bool m_recording = false;
    QObject *m_shown = nullptr;
    Clock::time_point m_shownAt;
    Pacing m_pacing;
};

// One `key=value` line per figure, for the driver script.
inline void report(const char *key, double value)
{
    std::printf("%s=%.4f\n", key, value);
    std::fflush(stdout);
}

} // namespace bench
