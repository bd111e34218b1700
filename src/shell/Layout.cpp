// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "Layout.h"

#include "Accessible.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

namespace layout
{

QRect rect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

QColor color(std::uint32_t value, const QPalette &palette)
{
    if ((value & 0xFF000000u) == 0x80000000u) {
        switch (value & 0xFFu) {
        case 5: // window background
            return palette.color(QPalette::Base);
        case 8: // window text
            return palette.color(QPalette::Text);
        case 18: // button text
            return palette.color(QPalette::ButtonText);
        default: // 15, button face, and anything we do not name
            return palette.color(QPalette::Window);
        }
    }
    return QColor(int(value & 0xFFu), int((value >> 8) & 0xFFu), int((value >> 16) & 0xFFu));
}

QColor color(std::uint32_t value)
{
    return color(value, QApplication::palette());
}

QPixmap picture(Picture which, int size)
{
    const bool small = size <= 16;
    switch (which) {
    case Picture::Trefoil:
        return QPixmap(small ? QStringLiteral(":/art/trefoil16.xpm")
                             : QStringLiteral(":/art/trefoil32.xpm"));
    case Picture::Bin:
        return QPixmap(small ? QStringLiteral(":/art/bin16.xpm")
                             : QStringLiteral(":/art/bin32.xpm"));
    case Picture::None:
        break;
    }
    return {};
}

QIcon icon(Picture which)
{
    QIcon result;
    result.addPixmap(picture(which, 16));
    result.addPixmap(picture(which, 32));
    return result;
}

QFont font(const Font &f)
{
    QFont result(QString::fromUtf8(f.name));
    // Points at 96 dpi, as pixels, so the text fits the boxes the window was designed with.
    result.setPixelSize(qRound(f.points * 96.0 / 72.0));
    result.setBold(f.bold);
    return result;
}

void setCaption(QLabel *label, const QString &text)
{
    static const char *const DesignSize = "designPixelSize";
    label->setText(text);
    QFont f = label->font();
    if (!label->property(DesignSize).isValid())
        label->setProperty(DesignSize,
                           f.pixelSize() > 0 ? f.pixelSize() : QFontInfo(f).pixelSize());
    f.setPixelSize(label->property(DesignSize).toInt());
    const int width = label->contentsRect().width();
    const bool oneLine = QFontMetrics(f).lineSpacing() * 2 > label->contentsRect().height();
    label->setWordWrap(!oneLine);
    while (oneLine && f.pixelSize() > 6 && QFontMetrics(f).horizontalAdvance(text) > width)
        f.setPixelSize(f.pixelSize() - 1);
    label->setFont(f);
}

namespace
{

// A level or upright line between two points of the window (an etched separator, for
// instance). Its width lies below a level line and right of an upright one; its length ends at
// its end point.
class LineWidget final : public QWidget
{
public:
    LineWidget(QWidget *parent, QPoint from, QPoint to, QColor color, int width)
        : QWidget(parent), m_color(color)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        const bool level = from.y() == to.y();
        setGeometry(QRect(from, to).normalized().adjusted(0, 0, level ? 0 : width - 1,
                                                          level ? width - 1 : 0));
    }

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), m_color); }

private:
    QColor m_color;
};

QString key(const char *name, int index)
{
    return index < 0 ? QString::fromLatin1(name)
                     : QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

Qt::Alignment alignment(Align a)
{
    switch (a) {
    case Align::Right:
        return Qt::AlignRight | Qt::AlignTop;
    case Align::Center:
        return Qt::AlignHCenter | Qt::AlignTop;
    case Align::Left:
        break;
    }
    return Qt::AlignLeft | Qt::AlignTop;
}

void setRole(QWidget *w, QPalette::ColorRole role, std::uint32_t value)
{
    QPalette pal = w->palette();
    pal.setColor(role, color(value, pal));
    w->setPalette(pal);
}

QWidget *makeLabel(QWidget *client, const Control &c)
{
    auto *label = new QLabel(client);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(alignment(c.align));
    if (c.border) label->setFrameStyle(QFrame::Box | QFrame::Plain);
    if (c.backColor) {
        label->setAutoFillBackground(true);
        setRole(label, QPalette::Window, *c.backColor);
    }
    if (c.foreColor) setRole(label, QPalette::WindowText, *c.foreColor);
    // Labels take the mouse presses over them; the window beneath sees none.
    label->setAttribute(Qt::WA_NoMousePropagation);
    return label;
}

QWidget *makeImage(QWidget *client, const Control &c)
{
    auto *image = new QLabel(client);
    image->setPixmap(picture(c.picture));
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image->setAttribute(Qt::WA_NoMousePropagation);
    if (c.kind == Kind::PictureBox) {
        image->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        image->setLineWidth(2);
    }
    return image;
}

QWidget *makeButton(QWidget *client, const Control &c)
{
    auto *button = new QPushButton(QString::fromUtf8(c.caption ? c.caption : ""), client);
    // A focused button answers Enter as well as Space, as desktop buttons do.
    button->setAutoDefault(true);
    button->setDefault(c.isDefault);
    return button;
}

} // namespace

void Controls::build(QWidget *client, std::span<const Control> table)
{
    QList<QWidget *> tabOrder;
    QList<int> tabIndex;
    for (const Control &c : table) {
        QObject *made = nullptr;
        QWidget *widget = nullptr;
        switch (c.kind) {
        case Kind::Timer: {
            auto *timer = new QTimer(client);
            timer->setTimerType(Qt::PreciseTimer);
            timer->setInterval(c.interval);
            if (c.enabled) timer->start();
            made = timer;
            break;
        }
        case Kind::Line:
            widget =
                new LineWidget(client, QPoint(px(c.left), px(c.top)), QPoint(px(c.x2), px(c.y2)),
                               color(c.foreColor.value_or(0)), c.lineWidth);
            accessible::hide(widget); // lines only decorate
            break;
        case Kind::Label:
            widget = makeLabel(client, c);
            break;
        case Kind::Image:
        case Kind::PictureBox:
            widget = makeImage(client, c);
            break;
        case Kind::CommandButton:
            widget = makeButton(client, c);
            break;
        }
        if (widget) {
            if (c.kind != Kind::Line) widget->setGeometry(rect(c.left, c.top, c.width, c.height));
            if (c.font) widget->setFont(font(*c.font));
            if (c.kind == Kind::Label)
                setCaption(static_cast<QLabel *>(widget),
                           QString::fromUtf8(c.caption ? c.caption : ""));
            widget->setFocusPolicy(c.kind == Kind::CommandButton ? Qt::StrongFocus : Qt::NoFocus);
            widget->setVisible(c.visible);
            if (c.kind == Kind::CommandButton) {
                tabOrder.append(widget);
                tabIndex.append(c.tabIndex);
                if (c.isDefault) m_default = static_cast<QPushButton *>(widget);
                if (c.isCancel) m_cancel = static_cast<QPushButton *>(widget);
            }
            made = widget;
        }
        made->setObjectName(key(c.name, c.index));
        m_byName.insert(made->objectName(), made);
    }
    // Keyboard focus moves through the buttons in their tab order.
    QList<QWidget *> sorted = tabOrder;
    std::stable_sort(sorted.begin(), sorted.end(), [&](QWidget *a, QWidget *b) {
        return tabIndex[tabOrder.indexOf(a)] < tabIndex[tabOrder.indexOf(b)];
    });
    for (qsizetype i = 1; i < sorted.size(); ++i)
        QWidget::setTabOrder(sorted[i - 1], sorted[i]);
    m_firstInTabOrder = sorted.isEmpty() ? nullptr : sorted.front();
}

QObject *Controls::find(const char *name, int index) const
{
    QObject *o = m_byName.value(key(name, index));
    Q_ASSERT_X(o, "Controls", name);
    return o;
}

QLabel *Controls::label(const char *name, int index) const
{
    return qobject_cast<QLabel *>(find(name, index));
}

QPushButton *Controls::button(const char *name) const
{
    return qobject_cast<QPushButton *>(find(name, -1));
}

QTimer *Controls::timer(const char *name) const
{
    return qobject_cast<QTimer *>(find(name, -1));
}

QWidget *Controls::widget(const char *name, int index) const
{
    return qobject_cast<QWidget *>(find(name, index));
}

} // namespace layout
