#pragma once
class QApplication;

namespace qv {
// The program's look: one palette, one type scale, highlight rectangles and
// headings, applied once at start.
void applyHouseStyle(QApplication &app);
}
