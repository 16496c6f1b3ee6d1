#pragma once
#include "reservations/seatmap.h"
#include "ui/seatlook.h"

#include <QAbstractScrollArea>
#include <QHash>
#include <QLabel>
#include <QPixmap>

#include <memory>

// The drawn parts of the seat map: the grid of seats, its legend, and the
// seat's state on the reservation card, all in the house's seat look.
namespace qv {

SeatLook lookOf(SeatState state);

// The seats of a map in rows, drawn as tiles: the numbered seats first, then
// each group of other seats under its heading. The arrow keys move among the
// seats, Enter acts as a double-click, Tab enters and leaves. Every seat is a
// child on the accessibility bus, named as its tooltip ("Posto 12: ...").
class SeatGrid : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit SeatGrid(QWidget *parent = nullptr);

    // The map to show; the keyboard's seat stays on the seat of the same name.
    void setMap(std::shared_ptr<const SeatMap> map);
    const SeatMap &map() const { return *m_map; }

    // Seats in a row: 0 makes the rows as wide as the grid shows.
    void setRowWidth(int seats);
    int rowWidth() const { return m_rowWidth; }
    int seatsPerRow() const { return m_perRow; }

    int current() const { return m_current; }
    void setCurrent(int index);
    // As a double-click on the seat.
    void activate(int index);
    // Where a seat is drawn, in viewport coordinates; -1 for none at `point`.
    QRect seatRect(int index) const;
    int seatAt(const QPoint &point) const;
    void ensureSeatVisible(int index);

signals:
    // A seat double-clicked, or Enter on the keyboard's seat.
    void activated(int index);
    void currentChanged(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // One line of seats, or a group's heading above them.
    struct Row
    {
        int first = 0;  // display index of its first seat
        int count = 0;
        int top = 0;    // in content coordinates
    };
    struct Heading
    {
        QString text;
        int top = 0;
    };
    void layoutRows();
    const QPixmap &tile(SeatLook look) const;
    int rowOf(int index) const;
    void announceCurrent();

    std::shared_ptr<const SeatMap> m_map;
    int m_rowWidth = 0;
    int m_perRow = 1;
    int m_current = 0;
    QList<Row> m_rows;
    QList<Heading> m_headings;
    int m_height = 0;
    mutable QHash<int, QPixmap> m_tiles; // by SeatLook
};

// The legend: each state's tile and its name.
class SeatLegend : public QWidget
{
    Q_OBJECT
public:
    explicit SeatLegend(QWidget *parent = nullptr);
    // The unknown state is explained only when the map shows it.
    void showUnknown(bool shown);
};

// A small tile of a state, for the legend and the card's seat line.
class SeatSwatch : public QWidget
{
    Q_OBJECT
public:
    explicit SeatSwatch(SeatLook look, QWidget *parent = nullptr);
    void setLook(SeatLook look);
    SeatLook look() const { return m_look; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    SeatLook m_look;
};

// The reservation card's line beside its seat: the state's tile and its
// words ("libero", "già assegnato a Rossi Mario"), or nothing at all.
class SeatStateLine : public QWidget
{
    Q_OBJECT
public:
    explicit SeatStateLine(QWidget *parent = nullptr);
    void setState(const SeatOnCard &state);
    void clear();
    QString text() const;

private:
    SeatSwatch *m_swatch;
    QLabel *m_text;
};

} // namespace qv
