#pragma once
#include <QComboBox>

class QLineEdit;

// Typing rules of the card boxes beyond those in ui/widgets.h. They act on
// what the user types, never on a text a card shows.
namespace qv {

// Only the digits 0-9 get in: typed keys other than digits, Enter, Backspace,
// Delete and the left and right arrows are discarded (Tab still moves the
// focus on), and a paste keeps only its digits.
void digitsOnly(QLineEdit *box);

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
