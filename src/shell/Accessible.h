// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QWidget;

// What assistive technology (a screen reader) is told about the windows beyond Qt's defaults:
// windows as frames or dialogs, a dialog's text tied to it, decoration left out. Nothing here
// changes what the windows show. (A control labelled by another is QLabel::setBuddy's.)
namespace accessible
{

// Puts the game's answers in front of Qt's; installing it again changes nothing.
void install();

// Decoration, left out of what a screen reader walks through.
void hide(QWidget *widget);

// A dialog heard whole as it opens: its description is the text of its shown labels, top to
// bottom, but for what its title says, then `more`. (Screen readers read a dialog's title and its
// description, and pass over labels of a word or two.) Describing it again replaces `more`.
void describe(QWidget *dialog, const QString &more = {});

} // namespace accessible
