#pragma once
#include <QColor>
#include <QLineF>
#include <QList>
#include <QRectF>
#include <QString>

class QFont;
class QPainter;

// The house look of a seat on the map, on the reservation card and on paper:
// a colour and a mark drawn with lines, so that no state relies on colour
// alone (colour-blind users, black-and-white prints).
namespace qv {

enum class SeatLook {
    Free,    // white, no mark
    Booked,  // dark blue, a tick
    Pending, // amber, an hourglass
    Twice,   // red, a double edge and an exclamation mark
    Unknown, // grey, hatched
};

struct SeatColours
{
    QColor fill;
    QColor edge;
    QColor ink; // the seat's text and its mark
};
SeatColours seatColours(SeatLook look);

// The mark as lines in a unit square (0..1 both ways, y downwards), for the
// screen and for the page-output layer alike.
QList<QLineF> seatMark(SeatLook look);
// A second edge inside the first: held by more than one card.
bool seatDoubleEdge(SeatLook look);

// A seat tile: its fill and edges, its text and its mark in the top right
// corner. `current` frames it as the keyboard's seat.
void paintSeat(QPainter &painter, const QRectF &tile, SeatLook look, const QString &text, const QFont &font,
               bool current = false);
// The seat's text alone, where paintSeat puts it: a grid draws each state's
// tile once and only its texts seat by seat.
void paintSeatText(QPainter &painter, const QRectF &tile, SeatLook look, const QString &text, const QFont &font);
// The mark alone, scaled into `box`, with a pen `width` wide.
void paintSeatMark(QPainter &painter, const QRectF &box, SeatLook look, double width);

// Sizes of a tile on screen, in pixels.
inline constexpr int kSeatWidth = 54;
inline constexpr int kSeatHeight = 40;
inline constexpr int kSeatGap = 6;

} // namespace qv
