#include "ui/access.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAbstractButton>
#include <QDialog>
#include <QToolButton>
#include <QWidget>

namespace qv {

namespace {

// The first class of Qt's own that `object` derives from.
const QMetaObject *qtBase(const QObject *object)
{
    const QMetaObject *meta = object->metaObject();
    while (meta && !QByteArray(meta->className()).startsWith('Q'))
        meta = meta->superClass();
    return meta;
}

// The program's top-level windows are plain widgets, which Qt offers as
// anonymous client panes; they are windows, named by their caption (Qt's
// widget interface already takes the name from the window title).
QAccessibleInterface *windowFactory(const QString &className, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget || !widget->isWindow() || className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    const QMetaObject *base = qtBase(object);
    if (base != &QWidget::staticMetaObject)
        return nullptr; // dialogs, message boxes, menus: Qt knows their role
    return new QAccessibleWidget(widget, QAccessible::Window);
}

} // namespace

void installAccessibility()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(windowFactory);
}

QString shownCaption(const QWidget *control)
{
    if (const auto *tool = qobject_cast<const QToolButton *>(control))
        if (tool->toolButtonStyle() == Qt::ToolButtonIconOnly)
            return {};
    if (const auto *button = qobject_cast<const QAbstractButton *>(control))
        return button->text();
    return {};
}

void describe(QWidget *control, const QString &name, const QString &description)
{
    control->setAccessibleName(name);
    control->setAccessibleDescription(description);
}

} // namespace qv
