// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

#include "Layout.h"

#include <QWidget>

#include <span>

// A window of the game, built from its layout table. One instance per class, held by Forms.
class Form : public QWidget
{
    Q_OBJECT
public:
    enum class Border { FixedSingle, FixedDialog };

    struct Settings {
        int clientWidth;  // twips
        int clientHeight; // twips
        Border border;
        layout::Picture icon = layout::Picture::None;
        const char *caption = nullptr; // the application title if not given
        bool dialog = false; // a dialog to the window system and assistive technology, else a frame
    };

    Form(const Settings &settings, std::span<const layout::Control> table);

    // Runs once, right after the window has been built with its design values.
    virtual void Form_Load() {}

    // The window is about to be destroyed (Unload): stop whatever it runs.
    virtual void Form_Unload() {}

    const layout::Controls &controls() const { return m_controls; }

    // The area the table's twips are measured in (below the menu bar, if there is one).
    QWidget *client() const { return m_client; }

    bool isDialog() const { return m_dialog; }

protected:
    // Windows with a menu bar put it above the client area.
    void setMenuBar(QWidget *menuBar);
    // The title-bar close button; by default it unloads the window.
    void closeEvent(QCloseEvent *event) override;
    // Enter with no button focused presses the default button.
    void keyPressEvent(QKeyEvent *event) override;
    virtual void closeRequested();

    layout::Controls m_controls;

private:
    QWidget *m_client;
    bool m_dialog;
};
