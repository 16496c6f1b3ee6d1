#pragma once
#include <QString>

#include <functional>

class QLineEdit;
class QWidget;

// The text of any text-holding control (edit box, label, drop-down box,
// multi-line box, check box caption), read and written the same way.
namespace qv {

QString controlText(const QWidget *control);
void setControlText(QWidget *control, const QString &text);

// A box's typing rule (text in, text as the box lets it stand out), kept on
// the box, so that a text the program puts in as if typed (a participant
// picked from a list into a card) is reshaped the same way. Rules are
// applied in the order they were given.
using TypingRule = std::function<QString(const QString &)>;
void rememberTypingRule(QLineEdit *box, TypingRule rule);
// setControlText through the typing rules of the control's box (for a
// drop-down box, of its edit line).
void setControlTextAsTyped(QWidget *control, const QString &text);

// A named child of a window; nullptr when there is none.
QWidget *namedControl(const QWidget *window, const QString &name);

} // namespace qv
