#include "ui/typingrules.h"

#include "core/text.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>

#include <algorithm>

namespace qv {

namespace {

qsizetype leadingBlanks(const QString &text)
{
    qsizetype n = 0;
    while (n < text.size() && text.at(n).unicode() <= 32)
        ++n;
    return n;
}

QString digitsOf(const QString &text)
{
    QString digits;
    for (const QChar c : text)
        if (c.unicode() >= u'0' && c.unicode() <= u'9')
            digits += c;
    return digits;
}

class FocusOutFilter : public QObject
{
public:
    FocusOutFilter(QWidget *control, std::function<void()> action) : QObject(control), m_action(std::move(action)) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::FocusOut && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
            m_action();
        return false;
    }

private:
    std::function<void()> m_action;
};

class DigitsFilter : public QObject
{
public:
    explicit DigitsFilter(QLineEdit *box) : QObject(box), m_box(box) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Paste)) {
            // Only the digits of the clipboard, up to the box's maximum length.
            m_box->insert(digitsOf(QApplication::clipboard()->text()));
            return true;
        }
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Tab:
        case Qt::Key_Backtab: // a box that kept Tab would trap the keyboard
            return false;
        default:
            break;
        }
        if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Cut) || key->matches(QKeySequence::Undo)
            || key->matches(QKeySequence::Redo) || key->matches(QKeySequence::SelectAll))
            return false;
        const QString text = key->text();
        const bool digit = text.size() == 1 && text.at(0).unicode() >= u'0' && text.at(0).unicode() <= u'9'
                           && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        return !digit;
    }

private:
    QLineEdit *m_box;
};

} // namespace

void retype(QLineEdit *box, const QString &text)
{
    const QString old = box->text();
    if (text == old)
        return;
    const qsizetype removed = std::max<qsizetype>(0, leadingBlanks(old) - leadingBlanks(text));
    const int caret = int(std::clamp<qsizetype>(box->cursorPosition() - removed, 0, text.size()));
    box->setText(text);
    box->setCursorPosition(caret);
}

void reshapeAsTyped(QLineEdit *box, std::function<QString(const QString &)> rule)
{
    QObject::connect(box, &QLineEdit::textEdited, box,
                     [box, rule = std::move(rule)](const QString &text) { retype(box, rule(text)); });
}

void onFocusOut(QWidget *control, std::function<void()> action)
{
    control->installEventFilter(new FocusOutFilter(control, std::move(action)));
}

void digitsOnly(QLineEdit *box)
{
    box->installEventFilter(new DigitsFilter(box));
    box->setAcceptDrops(false);
    // Whatever still gets in another way (the context menu's paste) keeps only its digits.
    reshapeAsTyped(box, digitsOf);
}

const QStringList &provinceCodes()
{
    static const QStringList codes = QStringLiteral(
        "AG AL AN AO AP AQ AR AT AV BA BG BI BL BN BO BR BS BT BZ CA CB CE CH CI CL CN CO CR CS CT CZ EE EN FC FE FG "
        "FI FM FO FR GE GO GR IM IS KR LC LE LI LO LT LU MB MC MD ME MI MN MO MS MT NA NO NU OG OR OT PA PC PD PE PG "
        "PI PN PO PR PT PU PV PZ RA RC RE RG RI RM RN RO SA SI SO SP SR SS SV TA TE TN TO TP TR TS TV UD VA VB VC VE "
        "VI VR VT VV").split(QLatin1Char(' '));
    return codes;
}

ProvinceBox::ProvinceBox(const QString &objectName, QWidget *parent) : QComboBox(parent)
{
    setObjectName(objectName);
    setEditable(true);
    // Typing is free: no completion that would add letters, no new list entries.
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(12);
    addItems(provinceCodes());
    setCurrentIndex(-1);
    lineEdit()->setMaxLength(2);
    reshapeAsTyped(lineEdit(), trimmedUpper);
}

void ProvinceBox::tidy()
{
    retype(lineEdit(), trimmedUpper(lineEdit()->text()));
}

void ProvinceBox::focusInEvent(QFocusEvent *event)
{
    if (event->reason() != Qt::PopupFocusReason && currentIndex() >= 0) {
        const QString text = currentText();
        setCurrentIndex(-1);
        setEditText(text);
    }
    QComboBox::focusInEvent(event);
}

void ProvinceBox::focusOutEvent(QFocusEvent *event)
{
    QComboBox::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason)
        tidy();
}

void ProvinceBox::wheelEvent(QWheelEvent *event)
{
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}

} // namespace qv
