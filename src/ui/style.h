#pragma once
#include <QFont>

class QApplication;

namespace qv {
// The program's look: one palette, one type scale, highlight rectangles and
// headings, applied once at start.
void applyHouseStyle(QApplication &app);
// The boxes of the participant card: large and bold.
QFont largeBoxFont();
}
