#include "ui/widgets.h"

#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QAbstractButton>
#include <QDialog>

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
    QFrame *m_rect;
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
    control->setToolTip(QString());
    control->installEventFilter(this);
    if (control->accessibleName().isEmpty())
        control->setAccessibleName(hint);
    control->setAccessibleDescription(hint);
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

} // namespace qv

namespace qv {

ClickableLabel::ClickableLabel(const QString &objectName, QWidget *parent) : QLabel(parent)
{
    setObjectName(objectName);
    setCursor(Qt::PointingHandCursor);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (rect().contains(event->position().toPoint()))
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
