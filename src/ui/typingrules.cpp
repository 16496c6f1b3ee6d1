#include "ui/typingrules.h"

#include "core/text.h"
#include "ui/widgets.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
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
