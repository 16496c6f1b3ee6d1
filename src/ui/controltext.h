#pragma once
#include <QString>

class QWidget;

// The text of any text-holding control (edit box, label, drop-down box,
// multi-line box, check box caption), read and written the same way.
namespace qv {

QString controlText(const QWidget *control);
void setControlText(QWidget *control, const QString &text);

// A named child of a window; nullptr when there is none.
QWidget *namedControl(const QWidget *window, const QString &name);

} // namespace qv
