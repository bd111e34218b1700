// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QHash>
#include <QPalette>
#include <QPoint>
#include <QRect>
#include <QString>

#include <cstdint>
#include <optional>
#include <span>

class QLabel;
class QPushButton;
class QTimer;
class QWidget;

// Windows are described by tables of their controls, positions and sizes in twips, colours as
// 0x00BBGGRR values, the way they were designed. This file turns such a table into widgets.
namespace layout
{

// 15 twips to a device-independent pixel (96 dots per inch); Qt scales for denser screens.
constexpr int TwipsPerPixel = 15;
constexpr int px(int twips)
{
    return twips / TwipsPerPixel;
}
QRect rect(int left, int top, int width, int height);

// 0x00BBGGRR, or 0x800000nn for system colour nn.
constexpr std::uint32_t SystemWindowBackground = 0x80000005; // the background of text fields
constexpr std::uint32_t SystemButtonFace = 0x8000000F;       // the face colour of dialogs
QColor color(std::uint32_t value, const QPalette &palette);
QColor color(std::uint32_t value);

// Font sizes are given in points at 96 dots per inch, so they scale with the window.
struct Font {
    const char *name;
    double points;
    bool bold = false;
};

enum class Kind { Label, Image, CommandButton, Timer, PictureBox, Line };
enum class Align { Left, Right, Center };
enum class Picture { None, Trefoil, Bin };

struct Control {
    const char *name;
    Kind kind;
    int index = -1; // element of a control array, -1 for a single control
    int left = 0, top = 0, width = 0, height = 0;
    const char *caption = nullptr;
    std::optional<std::uint32_t> backColor{};
    std::optional<std::uint32_t> foreColor{};
    Align align = Align::Left;
    bool border = false;
    bool visible = true;
    Picture picture = Picture::None;
    std::optional<Font> font{};
    int tabIndex = -1;
    bool isDefault = false;
    bool isCancel = false;
    int interval = 0;    // Timer
    bool enabled = true; // Timer
    int x2 = 0, y2 = 0;  // Line: from (left, top) to (x2, y2)
    int lineWidth = 1;   // Line, in pixels
};

QPixmap picture(Picture which, int size = 32);

// Sets a label's text. A label one line high keeps its text on that line: where the font that
// stands in for the designed one runs wider than the box, the text is drawn a little smaller
// rather than wrapped out of sight.
void setCaption(QLabel *label, const QString &text);
QIcon icon(Picture which);
QFont font(const Font &f);

// The controls of one window, built from its table and reached by name (and index).
class Controls
{
public:
    void build(QWidget *client, std::span<const Control> table);

    QLabel *label(const char *name, int index = -1) const;
    QPushButton *button(const char *name) const;
    QTimer *timer(const char *name) const;
    QWidget *widget(const char *name, int index = -1) const;
    QPushButton *defaultButton() const { return m_default; }
    QPushButton *cancelButton() const { return m_cancel; }
    QWidget *firstInTabOrder() const { return m_firstInTabOrder; }

private:
    QObject *find(const char *name, int index) const;
    QHash<QString, QObject *> m_byName;
    QPushButton *m_default = nullptr;
    QPushButton *m_cancel = nullptr;
    QWidget *m_firstInTabOrder = nullptr;
};

} // namespace layout
