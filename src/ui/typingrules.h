#pragma once
#include <QComboBox>

class QAbstractButton;
class QLineEdit;

// Typing rules of the card boxes beyond those in ui/widgets.h. They act on
// what the user types, never on a text a card shows.
namespace qv {

// Only the digits 0-9 get in: typed keys other than digits, Enter, Backspace,
// Delete and the left and right arrows are discarded (Tab still moves the
// focus on), and a paste keeps only its digits.
void digitsOnly(QLineEdit *box);

// Only digits get in, typed or pasted; the other editing keys work as usual
// (the number of seats).
void countRule(QLineEdit *box);

// Amounts: digits and "," only, however they arrive (keys with Alt or AltGr,
// an input method, a paste); formatted as an amount when the focus moves on.
// A formatted amount may be longer than the box's maximum length: it is shown
// whole, and typing cannot make it longer still.
void amountRule(QLineEdit *box);
// The finished form of an amount box being typed in (before a card is stored).
void formatAmountBox(QLineEdit *box);

// Trimmed after every change the user makes and when the focus moves on.
void trimmedRule(QLineEdit *box);

// ASCII upper case when a key is released after the user changed the text; a
// key that only moves (Tab into a shown card) changes nothing.
void upperOnKeyRelease(QLineEdit *box);

// A read-only box filled only through `picture` (a date and its calendar):
// Backspace or Delete empties it, any other plain key presses the picture.
// Tab, lone modifier keys and shortcuts (copy) keep their usual meaning.
void pickerRule(QLineEdit *box, QAbstractButton *picture);

// While the box still holds `initial` (the "0,00" of a new card), entering it
// selects it whole, by a click as by a key, so what is typed replaces it.
void selectWholeDefault(QLineEdit *box, const QString &initial);

// A province box (provinceCodes(), ui/widgets.h) with its rules built in:
// two characters typed freely or picked from the list, trimmed and
// upper-cased as typed and when the focus moves on; its list selection is
// reset each time it gets the focus, the text staying. The mouse wheel over a
// box without the focus scrolls the card instead of changing the code.
class ProvinceBox : public QComboBox
{
    Q_OBJECT
public:
    explicit ProvinceBox(const QString &objectName, QWidget *parent = nullptr);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
};

} // namespace qv
