#pragma once
#include "ui/access.h"

#include <QKeySequence>
#include <QList>
#include <QString>

#include <functional>

class QAbstractButton;
class QKeyEvent;
class QWidget;

namespace qv {

// One key of the house keyboard map: the pictures it presses (by control
// name, the same action under the names the cards use), and what it does in
// words for the guide's "Tasti rapidi" table.
struct StandardShortcut
{
    QList<QString> controls;
    QKeySequence keys;
    QString action;
};

// The house keyboard map for the pictures of cards and workspaces: Ctrl+N new,
// Ctrl+D duplicate, Ctrl+S save, Ctrl+F find, Ctrl+P print, F1 guide,
// Ctrl+W leave, Ctrl+PgUp / Ctrl+PgDown previous / next and
// Ctrl+Shift+PgUp / Ctrl+Shift+PgDown first / last, Ctrl+M the seat map, F5
// the map read again (keys no edit box uses).
const QList<StandardShortcut> &standardShortcuts();
// The standard keys of a control name, empty when it has none.
QKeySequence standardShortcut(const QString &controlName);

// Gives a picture (or any button) a key that presses it wherever the focus is
// in its window, and shows the key in its tooltip and to screen readers.
// A hidden or disabled picture does not react.
void giveShortcut(QAbstractButton *picture, const QKeySequence &keys);
// The same, but the key acts only while the focus is in `box` (a picture
// beside a box: F4 opens the tool of the box the user is in).
void giveShortcut(QAbstractButton *picture, const QKeySequence &keys, QWidget *box);
// Gives every picture of `window` named in the house map its key; returns how
// many it found. A card calls this once, after building its pictures.
int applyStandardShortcuts(QWidget *window);

// Ctrl+W closes the window in front as Esc does (every dialog, the summary
// lists among them), where no button of that window takes the key itself.
// Installed once on the application.
void installCloseKey();
// Keys for which `takes` is true belong to `box`: no shortcut of the window
// fires on them while the box has the focus, so the box's own rule runs.
using KeyTest = std::function<bool(const QKeyEvent *event)>;
void reserveKeys(QWidget *box, KeyTest takes);
// True for keys pressed without Ctrl, Alt or Meta (F1, Escape, letters).
bool isPlainKey(const QKeyEvent *event);
// True for a key that only modifies others (Shift, Ctrl, Alt, Caps Lock...).
bool isModifierKey(int key);

// A picture the keyboard can reach, where a window has no tab order of its own (the main
// menu, the information windows): a Tab stop (Tab only, so a click leaves no
// mark), framed in yellow while it has the focus (house style), pressed by
// Enter or Space.
void makeKeyboardStop(QAbstractButton *picture);

// Arrow keys move the focus among `rows` of controls: Left and Right to the
// previous and next control in reading order, Up and Down to the nearest
// control of the row above or below.
void arrowNavigation(const QList<QList<QWidget *>> &rows);

} // namespace qv
