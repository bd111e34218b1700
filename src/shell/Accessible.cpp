// SPDX-FileCopyrightText: 2026 The Luminaku developers
// SPDX-License-Identifier: MIT
#include "Accessible.h"

#include "Form.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QPointer>

#include <algorithm>
#include <utility>

namespace
{

constexpr char HiddenKey[] = "accessibleHidden";
constexpr char MoreKey[] = "accessibleMore"; // set on a described dialog, maybe empty

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

// A dialog's text, named by its own text and tied to the dialog whose description it is part
// of. Qt has no "description for" relation; "label for" is the nearest, and it tells screen
// readers that the text belongs to the dialog, read with it, not once more on its own.
class DialogText final : public QAccessibleWidget
{
public:
    explicit DialogText(QLabel *widget)
        : QAccessibleWidget(widget, QAccessible::StaticText), m_dialog(widget->window())
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
        if (match & QAccessible::Labelled && m_dialog)
            found.append({QAccessible::queryAccessibleInterface(m_dialog), QAccessible::Labelled});
        return found;
    }

private:
    QPointer<QWidget> m_dialog;
};

bool described(const QWidget *dialog)
{
    return dialog->property(MoreKey).isValid();
}

// The shown labels of a described dialog, in reading order.
QList<QLabel *> dialogText(const QWidget *dialog)
{
    QList<QLabel *> labels;
    for (QLabel *label : dialog->findChildren<QLabel *>())
        if (label->isVisibleTo(dialog) && !label->text().isEmpty() &&
            !label->property(HiddenKey).toBool())
            labels << label;
    const auto at = [dialog](const QLabel *l) { return l->mapTo(dialog, QPoint()); };
    std::stable_sort(labels.begin(), labels.end(), [&](const QLabel *a, const QLabel *b) {
        return std::pair(at(a).y(), at(a).x()) < std::pair(at(b).y(), at(b).x());
    });
    return labels;
}

// A window, as a frame or a dialog; a described dialog reads its text as its description.
class Window final : public QAccessibleWidget
{
public:
    explicit Window(Form *form)
        : QAccessibleWidget(form, form->isDialog() ? QAccessible::Dialog : QAccessible::Window)
    {
    }
    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Description || !described(widget()))
            return QAccessibleWidget::text(t);
        QStringList parts; // what the title says already is not said twice
        for (const QLabel *label : dialogText(widget()))
            if (!widget()->windowTitle().contains(label->text())) parts << label->text();
        parts << widget()->property(MoreKey).toString();
        parts.removeAll(QString());
        return parts.join(QLatin1Char(' '));
    }
};

// Asked first for every class of every object; answers only for what the game tells more of.
QAccessibleInterface *factory(const QString &className, QObject *object)
{
    if (auto *form = qobject_cast<Form *>(object)) return new Window(form);
    auto *label = qobject_cast<QLabel *>(object);
    if (label && described(label->window()) && !label->property(HiddenKey).toBool())
        return new DialogText(label);
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

void describe(QWidget *dialog, const QString &more)
{
    const bool again = described(dialog);
    dialog->setProperty(MoreKey, more);
    // Interfaces Qt made before (when a text was set) would not know the dialog.
    if (!again)
        for (QLabel *label : dialog->findChildren<QLabel *>())
            QAccessible::deleteAccessibleInterface(
                QAccessible::uniqueId(QAccessible::queryAccessibleInterface(label)));
    QAccessibleEvent changed(dialog, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}

} // namespace accessible
