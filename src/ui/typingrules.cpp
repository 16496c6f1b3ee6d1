#include "ui/typingrules.h"

#include "core/amount.h"
#include "core/text.h"
#include "ui/keyboard.h"
#include "ui/widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QWheelEvent>

namespace qv {

namespace {

QString digitsOf(const QString &text)
{
    QString digits;
    for (const QChar c : text)
        if (c.unicode() >= u'0' && c.unicode() <= u'9')
            digits += c;
    return digits;
}

class DigitsFilter : public QObject
{
public:
    explicit DigitsFilter(QLineEdit *box) : QObject(box), m_box(box) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::ContextMenu) {
            showMenu(static_cast<QContextMenuEvent *>(event)->globalPos());
            return true;
        }
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Paste)) {
            pasteDigits();
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
    // Only the digits of the clipboard, up to the box's maximum length, so
    // that blanks and dashes of a copied number do not push digits out.
    void pasteDigits() { m_box->insert(digitsOf(QApplication::clipboard()->text())); }

    // The box's usual menu, its Paste keeping only the digits too.
    void showMenu(const QPoint &at)
    {
        QMenu *menu = m_box->createStandardContextMenu();
        // Qt names its actions only in later versions; its texts end with their shortcut.
        const QString pasteKey = QLatin1Char('\t') + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
        for (QAction *action : menu->actions()) {
            if (action->objectName() == QLatin1String("edit-paste") || action->text().endsWith(pasteKey)) {
                QObject::disconnect(action, &QAction::triggered, m_box, nullptr);
                QObject::connect(action, &QAction::triggered, m_box, [this] { pasteDigits(); });
            }
        }
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(at);
    }

    QLineEdit *m_box;
};

} // namespace

void digitsOnly(QLineEdit *box)
{
    box->installEventFilter(new DigitsFilter(box));
    box->setAcceptDrops(false);
    // Whatever still gets in another way (a dropped or middle-click text) keeps only its digits.
    reshapeWhileTyping(box, digitsOf);
}

void countRule(QLineEdit *box)
{
    acceptOnly(box, QStringLiteral("0123456789"));
    box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
}

namespace {

const char *const kDeclaredLength = "qvDeclaredLength";

// Upper case once the key that changed the text is released.
class UpperOnRelease : public QObject
{
public:
    explicit UpperOnRelease(QLineEdit *box) : QObject(box), m_box(box)
    {
        connect(box, &QLineEdit::textEdited, this, [this] { m_typed = true; });
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyRelease || !m_typed)
            return false;
        m_typed = false;
        const QString upper = asciiUpper(m_box->text());
        if (upper != m_box->text()) {
            const int cursor = m_box->cursorPosition(); // same length: the caret stays put
            m_box->setText(upper);
            m_box->setCursorPosition(cursor);
        }
        return false;
    }

private:
    QLineEdit *m_box;
    bool m_typed = false;
};

// A click into the box puts the caret where the mouse is; while the box holds
// its untouched default the click selects it whole instead, as Tab does.
class SelectWholeDefault : public QObject
{
public:
    SelectWholeDefault(QLineEdit *box, const QString &initial) : QObject(box), m_box(box), m_initial(initial) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::FocusIn:
            m_clicked = static_cast<QFocusEvent *>(event)->reason() == Qt::MouseFocusReason
                        && m_box->text() == m_initial;
            break;
        case QEvent::MouseButtonRelease:
            // The press has placed the caret; a drag that chose part of the text keeps it.
            if (m_clicked && !m_box->hasSelectedText() && m_box->text() == m_initial)
                m_box->selectAll();
            m_clicked = false;
            break;
        case QEvent::FocusOut:
            m_clicked = false;
            break;
        default:
            break;
        }
        return false;
    }

private:
    QLineEdit *m_box;
    QString m_initial;
    bool m_clicked = false;
};

} // namespace

void amountRule(QLineEdit *box)
{
    const int length = box->maxLength();
    box->setProperty(kDeclaredLength, length);
    acceptOnly(box, QStringLiteral("0123456789,"));
    box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9,]*")), box));
    onKeyPress(box, [box, length](QKeyEvent *event) {
        const QString text = event->text();
        if (text.isEmpty() || text.at(0).unicode() < 32 || (event->modifiers() & Qt::ControlModifier))
            return false;
        return box->text().size() - box->selectedText().size() >= length;
    });
    QObject::connect(box, &QLineEdit::textChanged, box, [box, length](const QString &text) {
        if (box->maxLength() != length && text.size() <= length)
            box->setMaxLength(length);
    });
    // Also when the focus leaves a box of a window being destroyed.
    onFocusOut(box, [box] { formatAmountBox(box); });
}

void formatAmountBox(QLineEdit *box)
{
    const QString text = formatAmount(box->text());
    if (text == box->text())
        return;
    if (text.size() > box->maxLength())
        box->setMaxLength(int(text.size())); // shown whole; the field keeps its declared length
    box->setText(text);
}

void trimmedRule(QLineEdit *box)
{
    reshapeWhileTyping(box, trimmed);
    onFocusOut(box, [box] {
        const QString clean = trimmed(box->text());
        if (clean != box->text())
            box->setText(clean);
    });
}

void upperOnKeyRelease(QLineEdit *box)
{
    box->installEventFilter(new UpperOnRelease(box));
}

void pickerRule(QLineEdit *box, QAbstractButton *picture)
{
    box->setReadOnly(true);
    // Those keys are the box's, so no shortcut of the window (F1) takes them.
    reserveKeys(box, [](const QKeyEvent *event) { return isPlainKey(event) && !isModifierKey(event->key()); });
    onKeyPress(box, [box, picture](QKeyEvent *event) {
        const int key = event->key();
        if (key == Qt::Key_Backspace || key == Qt::Key_Delete) {
            box->clear();
            return true;
        }
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab || isModifierKey(key)
            || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
            return false;
        if (picture)
            picture->click();
        return true;
    });
}

void selectWholeDefault(QLineEdit *box, const QString &initial)
{
    box->installEventFilter(new SelectWholeDefault(box, initial));
}

ProvinceBox::ProvinceBox(const QString &objectName, QWidget *parent) : QComboBox(parent)
{
    setObjectName(objectName);
    setEditable(true);
    // Typing is free: no completion that would add letters, no new list entries.
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(16);
    addItems(provinceCodes());
    setCurrentIndex(-1);
    setEditText(QString());
    lineEdit()->setMaxLength(2);
    reshapeWhileTyping(lineEdit(), trimmedUpper);
    onFocusOut(this, [this] {
        const QString clean = trimmedUpper(currentText());
        if (clean != currentText())
            setEditText(clean);
    });
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

void ProvinceBox::wheelEvent(QWheelEvent *event)
{
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}

} // namespace qv
