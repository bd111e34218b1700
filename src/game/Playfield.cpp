// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "Playfield.h"

#include "shell/Convert.h"
#include "shell/Random.h"

#include <limits>

namespace
{
constexpr std::int16_t True = -1;
constexpr std::int16_t False = 0;
} // namespace

Playfield::Playfield(PlayfieldView &view, RandomSource &random) : m_view(view), m_random(random) {}

void Playfield::mnuStart_Click()
{
    m_random.randomize();
    BucketLane = 1;
    // Only the middle bin is switched on; the others keep whatever they showed.
    m_view.setBucketVisible(1, true);
    m_view.setScoreText("0");
    m_view.setTimerInterval(StartInterval);
    m_view.setMissVisible(0, false);
    m_view.setMissVisible(1, false);
    m_rounds.push_back(Round{});
    beginDrop();
}

void Playfield::tmrTimer1_Timer()
{
    TickArrived = True;
}

void Playfield::Form_KeyDown(std::int16_t keyCode, std::int16_t /*shift*/)
{
    setBucket(keyCode == KeyLeft ? 0 : keyCode == KeyRight ? 2 : 1);
}

void Playfield::Form_KeyUp(std::int16_t /*keyCode*/, std::int16_t /*shift*/)
{
    setBucket(1);
}

void Playfield::Form_MouseDown(std::int16_t button, std::int16_t /*shift*/)
{
    switch (button) {
    case ButtonLeft:
        setBucket(0);
        break;
    case ButtonRight:
        setBucket(2);
        break;
    case ButtonMiddle:
        setBucket(1);
        break;
    default:
        break;
    }
}

void Playfield::Form_MouseUp(std::int16_t /*button*/, std::int16_t /*shift*/)
{
    setBucket(1);
}

void Playfield::fingerDown(int finger, std::int16_t lane)
{
    m_finger = finger;
    setBucket(lane);
}

void Playfield::fingerMoved(int finger, std::int16_t lane)
{
    if (finger == m_finger && lane != BucketLane) setBucket(lane);
}

void Playfield::fingerUp(int finger)
{
    if (finger != m_finger) return; // a finger that no longer counts lifts unseen
    m_finger.reset();
    setBucket(1);
}

void Playfield::touchCancelled()
{
    m_finger.reset();
    setBucket(1);
}

void Playfield::setBucket(std::int16_t lane)
{
    for (int j = 0; j < Lanes; ++j)
        m_view.setBucketVisible(j, j == lane);
    BucketLane = lane;
}

void Playfield::beginDrop()
{
    // Multiplying in double keeps the product below 3 for every float below 1.
    m_rounds.back().Lane = convert::intI2(double(m_random.next()) * 3.0);
    m_rounds.back().Step = 0;
    beginStep();
}

void Playfield::beginStep()
{
    const Round &r = m_rounds.back();
    if (r.Step < Rows) m_view.setDropVisible(r.Lane * Rows + r.Step, true);
    TickArrived = False;
    m_view.setTimerEnabled(true);
    // The first look happens after the input that is already pending has been handled.
    m_view.schedulePump();
}

bool Playfield::catchable() const
{
    const Round &r = m_rounds.back();
    return r.Step == CatchStep && r.Lane == BucketLane;
}

void Playfield::pump()
{
    if (m_held || m_rounds.empty()) return;
    if (catchable()) {
        // Caught during the step: the timer is left running, the next drop restarts it.
        caught();
    } else if (TickArrived) {
        endStep();
    }
}

void Playfield::endStep()
{
    Round &r = m_rounds.back();
    m_view.setTimerEnabled(false);
    if (r.Step < Rows) m_view.setDropVisible(r.Lane * Rows + r.Step, false);
    if (catchable()) {
        caught();
    } else if (r.Step == MissStep) {
        missed();
    } else {
        ++r.Step;
        beginStep();
    }
}

void Playfield::caught()
{
    Round &r = m_rounds.back();
    // The counters are 16-bit; a score past 32767 stays at 32767 rather than wrapping.
    if (r.Score < std::numeric_limits<std::int16_t>::max()) ++r.Score;
    m_view.setScoreText(convert::strI2(r.Score));
    if (r.Score > HiScore) {
        HiScore = r.Score;
        m_view.setHiScoreText(convert::strI2(HiScore));
    }
    speedUp();
    beginDrop();
}

void Playfield::missed()
{
    Round &r = m_rounds.back();
    ++r.MissCount;
    if (r.MissCount == 1) {
        m_view.setMissVisible(0, true);
    } else if (r.MissCount == 2) {
        m_view.setMissVisible(0, true);
        m_view.setMissVisible(1, true);
    } else {
        m_rounds.pop_back();
        m_view.showGameOver();
        // A round interrupted by this one goes on from the step it was waiting in.
        if (!m_rounds.empty()) m_view.schedulePump();
        return;
    }
    speedUp();
    beginDrop();
}

void Playfield::speedUp()
{
    const float r = m_random.next();
    const int p = m_view.timerInterval();
    int n = convert::cint(double(p) - double(r) * 20.0);
    if (n < 1) n = 1;
    m_view.setTimerInterval(n);
}

void Playfield::setHeld(bool held)
{
    if (m_held == held) return;
    m_held = held;
    if (!held && !m_rounds.empty()) m_view.schedulePump();
}

void Playfield::windowUnloaded()
{
    m_rounds.clear();
    m_view.setTimerEnabled(false);
}
