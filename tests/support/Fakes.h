// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

#include "shell/Random.h"
#include "shell/Runtime.h"

#include <QString>

#include <deque>
#include <functional>
#include <string>
#include <vector>

// A random source that hands out the values a test queues, then 0 for ever.
struct FakeRandom final : RandomSource {
    explicit FakeRandom(std::vector<std::string> *log = nullptr) : log(log) {}
    void randomize() override
    {
        ++randomizeCount;
        if (log) log->push_back("randomize");
    }
    float next() override
    {
        if (values.empty()) return 0.0f;
        const float v = values.front();
        values.pop_front();
        return v;
    }
    std::vector<std::string> *log;
    std::deque<float> values;
    int randomizeCount = 0;
};

// A message box that answers at once, running `whileOpen` first as if the player took time.
struct FakeMessageBox final : MessageBoxBackend {
    int show(const QString &text, int style, const QString &) override
    {
        lastText = text;
        lastStyle = style;
        ++shown;
        if (whileOpen) whileOpen();
        return answer;
    }
    int answer = rt::vbOK;
    std::function<void()> whileOpen;
    QString lastText;
    int lastStyle = -1, shown = 0;
};

// Puts the fakes in place for one test and takes them away again.
struct FakeRuntime {
    FakeRandom random;
    FakeMessageBox messageBox;
    FakeRuntime() { use(&random, &messageBox); }
    ~FakeRuntime() { use(nullptr, nullptr); }
    static void use(FakeRandom *random, FakeMessageBox *messageBox)
    {
        rt::setRandom(random);
        rt::setMessageBox(messageBox);
    }
};
