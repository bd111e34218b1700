// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

#include "Form.h"

#include <QPointer>

#include <functional>
#include <typeindex>
#include <unordered_map>

// The window registry: one instance of each window class, made with its design values the first
// time it is asked for and destroyed by unload(). When the last window goes, the application
// ends once the running handler has returned.
class Forms
{
public:
    // The loaded instance of T, loading it first if needed.
    template <typename T> static T *get()
    {
        if (T *loaded = find<T>()) return loaded;
        auto *form = new T();
        s_loaded[typeid(T)] = form;
        form->Form_Load();
        return form;
    }

    // The loaded instance of T, or nullptr.
    template <typename T> static T *find()
    {
        auto it = s_loaded.find(typeid(T));
        return it == s_loaded.end() ? nullptr : static_cast<T *>(it->second.data());
    }

    // Visible := True. Showing a visible window changes nothing.
    template <typename T> static T *show()
    {
        T *form = get<T>();
        showForm(form);
        return form;
    }

    static void unload(Form *form);
    static int loadedCount();

    // What happens when the last window has gone; by default the application quits (queued).
    static void setOnLastWindowGone(std::function<void()> action);

private:
    static void showForm(Form *form);
    static inline std::unordered_map<std::type_index, QPointer<Form>> s_loaded;
    static inline std::function<void()> s_onLastWindowGone;
};
