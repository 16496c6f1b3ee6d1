#include "ui/widgets.h"

#include "ui/access.h"
#include "ui/controltext.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QApplication>
#include <QAbstractButton>
#include <QDialog>

#include <algorithm>

namespace qv {

ClickablePicture::ClickablePicture(const QString &objectName, const QIcon &icon, const QString &accessibleName,
                                   QWidget *parent)
    : QToolButton(parent)
{
    setObjectName(objectName);
    setIcon(icon);
    setAutoRaise(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(accessibleName);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
}

namespace {

class HighlightFilter : public QObject
{
public:
    HighlightFilter(QWidget *box, QFrame *rect) : QObject(box), m_box(box), m_rect(rect) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        // The rectangle is a sibling: while the window is torn down it may
        // already be gone when the box loses the focus.
        if (!m_rect)
            return false;
        switch (event->type()) {
        case QEvent::FocusIn:
            place();
            m_rect->show();
            break;
        case QEvent::FocusOut:
        case QEvent::Hide:
            m_rect->hide();
            break;
        case QEvent::Move:
        case QEvent::Resize:
            place();
            break;
        default:
            break;
        }
        return false;
    }

private:
    void place()
    {
        m_rect->setGeometry(m_box->geometry().adjusted(-3, -3, 3, 3));
        m_rect->stackUnder(m_box);
    }
    QWidget *m_box;
    QPointer<QFrame> m_rect;
};

class KeyFilter : public QObject
{
public:
    KeyFilter(QWidget *control, KeyHandler handler) : QObject(control), m_handler(std::move(handler)) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress)
            return m_handler(static_cast<QKeyEvent *>(event));
        return false;
    }

private:
    KeyHandler m_handler;
};

} // namespace

QFrame *attachHighlight(QWidget *box, const QString &effName)
{
    auto *rect = new QFrame(box->parentWidget());
    rect->setObjectName(effName);
    rect->setProperty("highlight", true);
    rect->setAttribute(Qt::WA_TransparentForMouseEvents);
    rect->hide();
    box->installEventFilter(new HighlightFilter(box, rect));
    return rect;
}

InfoBar::InfoBar(QLabel *panInfo) : QObject(panInfo), m_bar(panInfo) {}

void InfoBar::addHint(QWidget *control, const QString &hint)
{
    m_hints.insert(control, hint);
    control->installEventFilter(this);
    // A control that shows a caption (a check box, a picture with its label)
    // is heard by it; the hint names only what shows none, and describes all.
    if (!shownCaption(control).isEmpty()) {
        if (control->accessibleName() == hint)
            control->setAccessibleName(QString()); // the caption, even when it changes
    } else if (control->accessibleName().isEmpty()) {
        control->setAccessibleName(hint);
    }
    control->setAccessibleDescription(hint);
    // The hint goes to the bar; a tooltip only tells the picture's key.
    control->setToolTip(tipWithKey(control));
}

void InfoBar::watchBackground(QWidget *area)
{
    area->installEventFilter(this);
}

bool InfoBar::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Enter)
        m_bar->setText(m_hints.value(watched));
    else if (event->type() == QEvent::Leave && m_hints.contains(watched))
        m_bar->clear();
    return false;
}

WaitCursor::WaitCursor()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor()
{
    QGuiApplication::restoreOverrideCursor();
}

void onKeyPress(QWidget *control, KeyHandler handler)
{
    control->installEventFilter(new KeyFilter(control, std::move(handler)));
}

bool isEnterKey(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

void onEnter(QWidget *from, std::function<void()> action)
{
    onKeyPress(from, [action = std::move(action)](QKeyEvent *event) {
        if (!isEnterKey(event))
            return false;
        action();
        return true;
    });
}

void moveFocusOnEnter(QWidget *from, QWidget *to)
{
    onEnter(from, [to] { to->setFocus(Qt::OtherFocusReason); });
}

void acceptOnly(QLineEdit *box, const QString &allowed)
{
    onKeyPress(box, [allowed](QKeyEvent *event) {
        if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            return false; // shortcuts: copy, paste, undo
        const QString text = event->text();
        if (text.isEmpty() || text.at(0).unicode() < 32 || text.at(0).unicode() == 127)
            return false; // editing and movement keys
        for (const QChar c : text)
            if (!allowed.contains(c))
                return true;
        return false;
    });
}

void reshapeWhileTyping(QLineEdit *box, std::function<QString(const QString &)> rule)
{
    rememberTypingRule(box, rule);
    QObject::connect(box, &QLineEdit::textEdited, box, [box, rule = std::move(rule)](const QString &text) {
        const QString clean = rule(text);
        if (clean == text)
            return;
        // The cursor keeps its place among the characters before it that stay.
        const int cursor = box->cursorPosition();
        const QString before = rule(text.left(cursor));
        box->setText(clean);
        box->setCursorPosition(int(std::min(before.size(), clean.size())));
    });
}

namespace {

// A context menu, a dialog opened from a picture or a switch to another
// program only borrow the focus: the user is still typing in the control.
class FocusOutFilter : public QObject
{
public:
    FocusOutFilter(QWidget *control, std::function<void()> action)
        : QObject(control), m_control(control), m_action(std::move(action))
    {
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::FocusOut)
            return false;
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
            return false;
        const QWidget *now = QApplication::focusWidget();
        if (now && now != m_control && !m_control->isAncestorOf(now) && now->window() == m_control->window())
            m_action();
        return false;
    }

private:
    QWidget *m_control;
    std::function<void()> m_action;
};

} // namespace

void onFocusOut(QWidget *control, std::function<void()> action)
{
    control->installEventFilter(new FocusOutFilter(control, std::move(action)));
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

} // namespace qv

namespace qv {

ClickableLabel::ClickableLabel(const QString &objectName, QWidget *parent) : QLabel(parent)
{
    setObjectName(objectName);
    setCursor(Qt::PointingHandCursor);
}

void ClickableLabel::mousePressEvent(QMouseEvent *event)
{
    QLabel::mousePressEvent(event);
    m_pressed = event->button() == Qt::LeftButton;
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    // Like a button: a left click, pressed and released over the label.
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        emit clicked();
}

namespace {

void styleLink(QLabel *link, bool pressed = false)
{
    link->setCursor(Qt::PointingHandCursor);
    link->setStyleSheet(pressed ? QStringLiteral("color: #FF8C00; text-decoration: underline;")
                                : QStringLiteral("color: #00008B; text-decoration: underline;"));
}

// Links are dark blue, orange while pressed, and act on click.
class LinkFilter : public QObject
{
public:
    LinkFilter(QLabel *link, std::function<void()> action) : QObject(link), m_link(link), m_action(std::move(action)) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress) {
            styleLink(m_link, true);
        } else if (event->type() == QEvent::MouseButtonRelease) {
            styleLink(m_link);
            if (m_link->rect().contains(static_cast<QMouseEvent *>(event)->position().toPoint()))
                m_action();
        }
        return false;
    }

private:
    QLabel *m_link;
    std::function<void()> m_action;
};

} // namespace

QLabel *makeLink(const QString &text, std::function<void()> action, QWidget *parent)
{
    auto *link = new QLabel(text, parent);
    link->setObjectName(QStringLiteral("lnkWeb"));
    styleLink(link);
    link->installEventFilter(new LinkFilter(link, std::move(action)));
    return link;
}

void linkPicture(QAbstractButton *picture, QLabel *link, std::function<void()> action)
{
    QObject::connect(picture, &QAbstractButton::pressed, link, [link] { styleLink(link, true); });
    QObject::connect(picture, &QAbstractButton::released, link, [link] { styleLink(link); });
    QObject::connect(picture, &QAbstractButton::clicked, link, [action = std::move(action)] { action(); });
}

QPushButton *closeButton(QDialog *dialog)
{
    auto *button = new QPushButton(QStringLiteral("Chiudi"), dialog);
    button->setObjectName(QStringLiteral("btnChiudi"));
    QObject::connect(button, &QPushButton::clicked, dialog, &QDialog::accept);
    return button;
}

} // namespace qv

// Every window built on this machinery is heard as a window, in the program
// and in the tests alike.
namespace qv {

QLineEdit *editBox(const QString &name, int maxLength, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setMaxLength(maxLength);
    return box;
}

QLabel *hiddenLabel(const QString &name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->hide();
    return label;
}

int widthFor(const QWidget *box, const QString &sample)
{
    return box->fontMetrics().horizontalAdvance(sample) + 18;
}

} // namespace qv

static void installAccessibilityAtStart()
{
    qv::installAccessibility();
}
Q_COREAPP_STARTUP_FUNCTION(installAccessibilityAtStart)
