#include "ui/access.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAbstractButton>
#include <QDialog>
#include <QToolButton>
#include <QVariant>
#include <QWidget>

namespace qv {

namespace {

const char *const kShortcutProperty = "qvShortcut";

// What the tooltip of a picture names: the label it shows, else its hint.
QString tipBase(const QWidget *control)
{
    const QString caption = shownCaption(control);
    if (!caption.isEmpty())
        return caption;
    if (!control->accessibleDescription().isEmpty())
        return control->accessibleDescription();
    return control->accessibleName();
}

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

void rememberShortcut(QWidget *control, const QKeySequence &keys)
{
    control->setProperty(kShortcutProperty, QVariant::fromValue(keys));
    control->setToolTip(tipWithKey(control));
}

QKeySequence shortcutOf(const QWidget *control)
{
    return control->property(kShortcutProperty).value<QKeySequence>();
}

QString tipWithKey(const QWidget *control)
{
    const QKeySequence sequence = shortcutOf(control);
    if (sequence.isEmpty())
        return {};
    return tipBase(control) + QStringLiteral(" (") + keyText(sequence) + QLatin1Char(')');
}

QString keyText(const QKeySequence &sequence)
{
    static const QList<QPair<QString, QString>> words{
        {QStringLiteral("Shift"), QStringLiteral("Maiusc")},
        {QStringLiteral("PgUp"), QStringLiteral("Pag Su")},
        {QStringLiteral("PgDown"), QStringLiteral("Pag Gi\u00F9")},
        {QStringLiteral("Return"), QStringLiteral("Invio")},
        {QStringLiteral("Space"), QStringLiteral("Barra spaziatrice")},
        {QStringLiteral("Del"), QStringLiteral("Canc")},
    };
    QStringList chords;
    for (int i = 0; i < sequence.count(); ++i) {
        QStringList parts = QKeySequence(sequence[i]).toString(QKeySequence::PortableText).split(QLatin1Char('+'));
        for (QString &part : parts)
            for (const auto &[english, italian] : words)
                if (part == english)
                    part = italian;
        chords << parts.join(QLatin1Char('+'));
    }
    return chords.join(QStringLiteral(", "));
}

} // namespace qv
