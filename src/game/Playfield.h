// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class RandomSource;

// What the playfield's rules need from its window: pictures, boards, the step timer and the
// game-over window. The Qt window implements it; tests record it.
class PlayfieldView
{
public:
    virtual ~PlayfieldView() = default;
    virtual void setDropVisible(int index, bool visible) = 0;  // imgUran(index)
    virtual void setBucketVisible(int lane, bool visible) = 0; // imgBakets(lane)
    virtual void setMissVisible(int index, bool visible) = 0;  // imgMiss(index)
    virtual void setScoreText(const std::string &text) = 0;    // lblScoreBrd
    virtual void setHiScoreText(const std::string &text) = 0;  // lblHiScoreBrd
    virtual int timerInterval() const = 0;                     // tmrTimer1.Interval
    virtual void setTimerInterval(int ms) = 0;                 // restarts a running period
    virtual void setTimerEnabled(bool enabled) = 0;
    virtual void showGameOver() = 0;
    // Ask for pump() to be called once the events already pending have been handled.
    virtual void schedulePump() = 0;
};

// The rules of the playfield: the drop cycle that runs a round and the bucket control.
//
// The round does not spin an event loop. It waits in a step until something happens; every
// event is fed in through one of the handlers below and followed by pump(), which is the
// moment the waiting step looks at the tick flag and the bucket again.
class Playfield
{
public:
    static constexpr int Lanes = 3;
    static constexpr int Rows = 4;
    static constexpr int StartInterval = 500;
    static constexpr int StepsPerDrop = 6;
    static constexpr int CatchStep = 4;
    static constexpr int MissStep = 5;
    static constexpr int MissesPerRound = 3;

    static constexpr std::int16_t KeyLeft = 37;
    static constexpr std::int16_t KeyRight = 39;
    static constexpr std::int16_t ButtonLeft = 1;
    static constexpr std::int16_t ButtonRight = 2;
    static constexpr std::int16_t ButtonMiddle = 4;

    Playfield(PlayfieldView &view, RandomSource &random);

    // Event handlers. Each applies its rule; the caller follows it with pump().
    void mnuStart_Click();
    void tmrTimer1_Timer();
    void Form_KeyDown(std::int16_t keyCode, std::int16_t shift);
    void Form_KeyUp(std::int16_t keyCode, std::int16_t shift);
    void Form_MouseDown(std::int16_t button, std::int16_t shift);
    void Form_MouseUp(std::int16_t button, std::int16_t shift);

    // A finger on the playfield names a lane, as a held button does: the last finger down counts
    // (and moves the bin as it slides) until it lifts; lifting it or a cancelled touch lets go.
    void fingerDown(int finger, std::int16_t lane);
    void fingerMoved(int finger, std::int16_t lane);
    void fingerUp(int finger);
    void touchCancelled();

    // The waiting round, if any, checks for a catch and for the tick.
    void pump();

    // A modal message box is open: rounds are held (ticks only set the flag) until it closes.
    void setHeld(bool held);

    // The window is going away: every round ends where it stands.
    void windowUnloaded();

    // Module variables of the window.
    std::int16_t TickArrived = 0; // 0 or -1
    std::int16_t BucketLane = 0;
    std::int16_t HiScore = 0;

    // What one run of Start keeps while it runs.
    struct Round {
        std::int16_t Score = 0;
        std::int16_t MissCount = 0;
        std::int16_t Lane = 0;
        std::int16_t Step = 0;
    };
    // The running rounds, the one that advances last.
    const std::vector<Round> &rounds() const { return m_rounds; }
    int roundsRunning() const { return int(m_rounds.size()); }
    int stepOfTopRound() const { return m_rounds.empty() ? -1 : m_rounds.back().Step; }
    int laneOfTopRound() const { return m_rounds.empty() ? -1 : m_rounds.back().Lane; }

private:
    void setBucket(std::int16_t lane);
    void beginDrop();
    void beginStep();
    void endStep();
    void caught();
    void missed();
    void speedUp();
    bool catchable() const;

    PlayfieldView &m_view;
    RandomSource &m_random;
    std::vector<Round> m_rounds; // a Start during a round runs a new round on top
    bool m_held = false;
    std::optional<int> m_finger; // the finger that moves the bin
};
