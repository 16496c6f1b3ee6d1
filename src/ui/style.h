#pragma once
#include <QColor>
#include <QFont>
#include <QList>

class QApplication;

namespace qv {
// The program's look: one palette, one type scale, highlight rectangles and
// headings, applied once at start.
void applyHouseStyle(QApplication &app);
// The boxes of the participant card: large and bold.
QFont largeBoxFont();
// The colours of the series of a chart, in order: the house's blue, amber
// and a light yellow, far apart in lightness so that a grey print tells
// them apart too.
QList<QColor> chartColours();
}
