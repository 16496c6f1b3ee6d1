#pragma once
#include <QComboBox>
#include <QStringList>

#include <functional>

class QLineEdit;

// Typing rules of the card boxes. They act on what the user types (and on
// leaving a box where a rule says so), never on a text a card shows, and they
// keep the caret where the user was typing.
namespace qv {

// Replaces the box's text, moving the caret back by the blanks that went
// away in front of it.
void retype(QLineEdit *box, const QString &text);

// After every change the user makes, the text becomes rule(text).
void reshapeAsTyped(QLineEdit *box, std::function<QString(const QString &)> rule);
// Runs when the focus leaves `control` (not when a context menu takes it for a moment).
void onFocusOut(QWidget *control, std::function<void()> action);

// Only the digits 0-9 get in: typed keys other than digits, Enter, Backspace,
// Delete and the left and right arrows are discarded (Tab still moves the
// focus on), and a paste keeps only its digits.
void digitsOnly(QLineEdit *box);

// The 112 two-letter province codes the province boxes offer.
const QStringList &provinceCodes();

// A province box: two characters typed freely or picked from the list of
// codes; trimmed and upper-cased as typed and on leaving; its list selection
// is reset each time it gets the focus, the text staying. The mouse wheel
// over a box without the focus scrolls the card instead of changing the code.
class ProvinceBox : public QComboBox
{
    Q_OBJECT
public:
    explicit ProvinceBox(const QString &objectName, QWidget *parent = nullptr);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void tidy();
};

} // namespace qv
