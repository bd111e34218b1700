// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "Accessible.h"

#include "Form.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QPointer>

namespace
{

constexpr char HiddenKey[] = "accessibleHidden";
constexpr char LabelKey[] = "accessibleLabel";

// A plain container that leaves its hidden children out.
class Container final : public QAccessibleWidget
{
public:
    using QAccessibleWidget::QAccessibleWidget;
    int childCount() const override { return int(shown().size()); }
    QAccessibleInterface *child(int index) const override { return shown().value(index); }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return int(shown().indexOf(const_cast<QAccessibleInterface *>(child)));
    }

private:
    QList<QAccessibleInterface *> shown() const
    {
        QList<QAccessibleInterface *> children;
        for (int i = 0; i < QAccessibleWidget::childCount(); ++i)
            if (QAccessibleInterface *c = QAccessibleWidget::child(i))
                if (!c->object()->property(HiddenKey).toBool()) children << c;
        return children;
    }
};

// Static text named by its own text, labelled by another control.
class Labelled final : public QAccessibleWidget
{
public:
    Labelled(QLabel *widget, QWidget *label)
        : QAccessibleWidget(widget, QAccessible::StaticText), m_label(label)
    {
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? static_cast<QLabel *>(widget())->text()
                                      : QAccessibleWidget::text(t);
    }
    QList<QPair<QAccessibleInterface *, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override
    {
        auto found = QAccessibleWidget::relations(match);
        if (match & QAccessible::Label && m_label)
            found.append({QAccessible::queryAccessibleInterface(m_label), QAccessible::Label});
        return found;
    }

private:
    QPointer<QWidget> m_label;
};

// Asked first for every class of every object; answers only for what the game tells more of.
QAccessibleInterface *factory(const QString &className, QObject *object)
{
    if (auto *form = qobject_cast<Form *>(object))
        return new QAccessibleWidget(form,
                                     form->isDialog() ? QAccessible::Dialog : QAccessible::Window);
    auto *label = qobject_cast<QLabel *>(object);
    if (auto *by = object->property(LabelKey).value<QWidget *>(); label && by)
        return new Labelled(label, by);
    // Plain widgets, such as a window's client area, hold the decoration.
    if (className == QLatin1String("QWidget") && object->isWidgetType())
        return new Container(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

namespace accessible
{

void install()
{
    QAccessible::installFactory(factory);
}

void hide(QWidget *widget)
{
    widget->setProperty(HiddenKey, true);
}

void setLabel(QWidget *widget, QWidget *label)
{
    widget->setProperty(LabelKey, QVariant::fromValue(label));
    // Qt made the widget's interface when its text was first set; the next one knows the label.
    QAccessible::deleteAccessibleInterface(
        QAccessible::uniqueId(QAccessible::queryAccessibleInterface(widget)));
}

} // namespace accessible
