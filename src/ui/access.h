#pragma once
#include <QKeySequence>
#include <QString>

class QWidget;

namespace qv {

// Screen readers hear every top-level window of the program as a window
// (frame) or a dialog named by its caption, not as an anonymous pane. Done
// once when the application starts; calling it again does nothing.
void installAccessibility();

// The caption a control shows: a button's text, unless it is a tool button
// that shows only its picture; empty for anything else.
QString shownCaption(const QWidget *control);

// What a screen reader says for a control: its name (the label it shows, or
// what it is for) and its description (the hint).
void describe(QWidget *control, const QString &name, const QString &description);

// The key that presses a control, kept for its tooltip and for screen
// readers (ui/keyboard.h gives the keys); the tooltip is refreshed.
void rememberShortcut(QWidget *control, const QKeySequence &keys);
// The key shown for a control ("Ctrl+S"), empty when it has none.
QKeySequence shortcutOf(const QWidget *control);
// The tooltip of a control with a key: its label or hint and the key
// ("Salva la scheda corrente in archivio. (Ctrl+S)"); empty without a key.
QString tipWithKey(const QWidget *control);
// The key a user reads, in Italian ("Ctrl+Maiusc+Pag Su").
QString keyText(const QKeySequence &keys);

} // namespace qv
