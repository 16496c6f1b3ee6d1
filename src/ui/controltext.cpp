#include "ui/controltext.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace qv {

namespace {

class RememberedRule : public QObject
{
public:
    RememberedRule(QLineEdit *box, TypingRule rule) : QObject(box), rule(std::move(rule)) {}
    TypingRule rule;
};

} // namespace

void rememberTypingRule(QLineEdit *box, TypingRule rule)
{
    new RememberedRule(box, std::move(rule));
}

void setControlTextAsTyped(QWidget *control, const QString &text)
{
    QLineEdit *box = qobject_cast<QLineEdit *>(control);
    if (auto *combo = qobject_cast<QComboBox *>(control))
        box = combo->lineEdit();
    QString shaped = text;
    if (box)
        for (const QObject *child : box->children())
            if (auto *remembered = dynamic_cast<const RememberedRule *>(child))
                shaped = remembered->rule(shaped);
    setControlText(control, shaped);
}

QString controlText(const QWidget *control)
{
    if (auto *edit = qobject_cast<const QLineEdit *>(control))
        return edit->text();
    if (auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    if (auto *combo = qobject_cast<const QComboBox *>(control))
        return combo->currentText();
    if (auto *plain = qobject_cast<const QPlainTextEdit *>(control))
        return plain->toPlainText();
    if (auto *button = qobject_cast<const QAbstractButton *>(control))
        return button->text();
    return {};
}

void setControlText(QWidget *control, const QString &text)
{
    if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        edit->setText(text);
        edit->setCursorPosition(0);
    } else if (auto *label = qobject_cast<QLabel *>(control)) {
        label->setText(text);
    } else if (auto *combo = qobject_cast<QComboBox *>(control)) {
        // Only the text: the list selection is left alone.
        if (combo->isEditable())
            combo->setEditText(text);
        else
            combo->setCurrentText(text);
    } else if (auto *plain = qobject_cast<QPlainTextEdit *>(control)) {
        plain->setPlainText(text);
    } else if (auto *button = qobject_cast<QAbstractButton *>(control)) {
        button->setText(text);
    }
}

QWidget *namedControl(const QWidget *window, const QString &name)
{
    return window ? window->findChild<QWidget *>(name) : nullptr;
}

} // namespace qv
