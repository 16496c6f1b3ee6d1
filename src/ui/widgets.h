#pragma once
#include <QDialog>
#include <QHash>
#include <QLabel>
#include <QObject>
#include <QStringList>
#include <QToolButton>

#include <functional>

class QDialog;
class QFrame;
class QPushButton;
class QKeyEvent;
class QLineEdit;

namespace qv {

// A picture the user clicks: flat, hand cursor, never takes the keyboard
// focus (so tab orders stay as designed; giveShortcut gives it a key); its
// accessible name is its text or its hint, so screen readers and tests can
// name and press it.
class ClickablePicture : public QToolButton
{
    Q_OBJECT
public:
    ClickablePicture(const QString &objectName, const QIcon &icon, const QString &accessibleName,
                     QWidget *parent = nullptr);
};

// The highlight rectangle behind an edit box, visible only while the box has
// the focus. Returns the rectangle (named effName), a sibling of the box.
QFrame *attachHighlight(QWidget *box, const QString &effName);

// The information bar of a workspace: shows the hint of the control under
// the mouse, and empties over anything that has none.
class InfoBar : public QObject
{
    Q_OBJECT
public:
    explicit InfoBar(QLabel *panInfo);
    // Shows `hint` for `control`, which also becomes its accessible
    // description (and its name, where it shows no caption of its own).
    void addHint(QWidget *control, const QString &hint);
    // Anything entered that has no hint empties the bar (background, frames).
    void watchBackground(QWidget *area);
    QString hint(QWidget *control) const { return m_hints.value(control); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *m_bar;
    QHash<QObject *, QString> m_hints;
};

// A key filter on one control; the function returns true to swallow the key.
using KeyHandler = std::function<bool(QKeyEvent *)>;
void onKeyPress(QWidget *control, KeyHandler handler);

bool isEnterKey(const QKeyEvent *event);
// Enter in `from` moves the focus to `to`.
void moveFocusOnEnter(QWidget *from, QWidget *to);
// Enter in `from` runs action.
void onEnter(QWidget *from, std::function<void()> action);

// Typing rule: of the printable characters only those in `allowed` get in;
// editing and arrow keys work as usual.
void acceptOnly(QLineEdit *box, const QString &allowed);

// Typing rule: after every change the user makes, the text is replaced by
// rule(text); the cursor stays by the characters it was next to.
void reshapeWhileTyping(QLineEdit *box, std::function<QString(const QString &)> rule);

// Runs `action` when the focus moves from `control` to another control of its
// window; a context menu, a dialog or another program only borrow it.
void onFocusOut(QWidget *control, std::function<void()> action);

// The 112 province codes of the province boxes (ui/typingrules.h).
const QStringList &provinceCodes();

// The wait cursor for as long as a long action runs, however it ends.
class WaitCursor
{
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

// Card building blocks: an edit box of a given name and maximum length; a
// hidden label that only carries a field (attachments); the width that shows
// `sample` whole in `box`, frame and padding included.
QLineEdit *editBox(const QString &name, int maxLength, QWidget *parent);
QLabel *hiddenLabel(const QString &name, QWidget *parent);
int widthFor(const QWidget *box, const QString &sample);

// A link (named lnkWeb): dark blue, orange while pressed, acts on a click
// released over it.
QLabel *makeLink(const QString &text, std::function<void()> action, QWidget *parent);
// The picture beside a link behaves as the link: pressing it turns the link
// orange until released, and a click performs the action.
void linkPicture(QAbstractButton *picture, QLabel *link, std::function<void()> action);
// The "Chiudi" button (btnChiudi) that accepts `dialog`.
QPushButton *closeButton(QDialog *dialog);

// A dialog that closes only through its own buttons: Escape and the window's
// close request do nothing.
class ButtonClosedDialog : public QDialog
{
    Q_OBJECT
public:
    using QDialog::QDialog;
    void reject() override {}
};

} // namespace qv

namespace qv {

// A label that acts as a picture the user clicks (main menu descriptions).
class ClickableLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ClickableLabel(const QString &objectName, QWidget *parent = nullptr);
signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};

} // namespace qv
