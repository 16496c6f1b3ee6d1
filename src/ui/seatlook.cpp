#include "ui/seatlook.h"

#include <QFont>
#include <QPainter>

#include <algorithm>

namespace qv {

SeatColours seatColours(SeatLook look)
{
    switch (look) {
    case SeatLook::Free: return {QColor(0xFF, 0xFF, 0xFF), QColor(0x8F, 0xA3, 0xB8), QColor(0x1D, 0x27, 0x33)};
    case SeatLook::Booked: return {QColor(0x1F, 0x4E, 0x79), QColor(0x16, 0x3A, 0x5C), QColor(0xFF, 0xFF, 0xFF)};
    case SeatLook::Pending: return {QColor(0xF6, 0xC3, 0x43), QColor(0xB7, 0x87, 0x1A), QColor(0x1D, 0x27, 0x33)};
    case SeatLook::Twice: return {QColor(0xB3, 0x26, 0x1E), QColor(0x6E, 0x15, 0x10), QColor(0xFF, 0xFF, 0xFF)};
    case SeatLook::Unknown: return {QColor(0xD5, 0xDB, 0xE1), QColor(0x8A, 0x96, 0xA3), QColor(0x3C, 0x46, 0x50)};
    }
    return {};
}

QList<QLineF> seatMark(SeatLook look)
{
    switch (look) {
    case SeatLook::Free: return {};
    case SeatLook::Booked: // a tick
        return {{0.08, 0.55, 0.38, 0.85}, {0.38, 0.85, 0.92, 0.15}};
    case SeatLook::Pending: // an hourglass
        return {{0.15, 0.05, 0.85, 0.05}, {0.15, 0.95, 0.85, 0.95}, {0.22, 0.05, 0.78, 0.95}, {0.78, 0.05, 0.22, 0.95}};
    case SeatLook::Twice: // an exclamation mark (the double edge goes with it)
        return {{0.5, 0.0, 0.5, 0.62}, {0.5, 0.86, 0.5, 0.98}};
    case SeatLook::Unknown: // hatching
        return {{0.0, 0.5, 0.5, 0.0}, {0.0, 1.0, 1.0, 0.0}, {0.5, 1.0, 1.0, 0.5}};
    }
    return {};
}

bool seatDoubleEdge(SeatLook look)
{
    return look == SeatLook::Twice;
}

void paintSeatMark(QPainter &painter, const QRectF &box, SeatLook look, double width)
{
    QPen pen(seatColours(look).ink, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.save();
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    for (const QLineF &line : seatMark(look))
        painter.drawLine(QPointF(box.left() + line.x1() * box.width(), box.top() + line.y1() * box.height()),
                         QPointF(box.left() + line.x2() * box.width(), box.top() + line.y2() * box.height()));
    painter.restore();
}

namespace {

double markSize(const QRectF &tile)
{
    return std::min(12.0, tile.height() * 0.3);
}

} // namespace

void paintSeat(QPainter &painter, const QRectF &tile, SeatLook look, const QString &text, const QFont &font,
               bool current)
{
    const SeatColours colours = seatColours(look);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (current) {
        // The house's yellow focus frame, with a dark line that shows it on any background.
        painter.setPen(QPen(QColor(0x1D, 0x27, 0x33), 1));
        painter.setBrush(QColor(0xF6, 0xC3, 0x43));
        painter.drawRoundedRect(tile.adjusted(-5, -5, 5, 5), 8, 8);
    }
    painter.setPen(QPen(colours.edge, 1.5));
    painter.setBrush(colours.fill);
    painter.drawRoundedRect(tile.adjusted(0.75, 0.75, -0.75, -0.75), 5, 5);
    if (seatDoubleEdge(look)) {
        painter.setPen(QPen(colours.ink, 1.2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(tile.adjusted(3.5, 3.5, -3.5, -3.5), 3, 3);
    }
    const double mark = markSize(tile);
    paintSeatMark(painter, QRectF(tile.right() - mark - 6, tile.top() + 6, mark, mark), look, 1.8);
    painter.restore();
    paintSeatText(painter, tile, look, text, font);
}

void paintSeatText(QPainter &painter, const QRectF &tile, SeatLook look, const QString &text, const QFont &font)
{
    if (text.isEmpty())
        return;
    painter.save();
    painter.setPen(seatColours(look).ink);
    painter.setFont(font);
    painter.drawText(tile.adjusted(4, markSize(tile) * 0.8, -4, -3), Qt::AlignCenter, text);
    painter.restore();
}

} // namespace qv
