#pragma once
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

} // namespace qv
