#include "reservations/seatmapprint.h"

#include "core/text.h"
#include "output/listreport.h"
#include "reservations/seatwidgets.h"
#include "ui/seatlook.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>

namespace qv::SeatMapPrint {

namespace {

const double kPitchX = kSeatWidth + kSeatGap;
const double kPitchY = kSeatHeight + kSeatGap;
const double kHeadingHeight = 5;

page::TextBox box(const QString &name, const QRectF &rect, const QFont &font, const QString &text,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop)
{
    page::TextBox b;
    b.name = name;
    b.rect = rect;
    b.font = font;
    b.text = text;
    b.alignment = alignment;
    return b;
}

// A tile as frames and lines: its fill and edge, the second edge of a seat
// held twice, the mark in its top right corner, its text.
void addSeat(page::Page &page, const QRectF &tile, SeatLook look, const QString &text, const QString &name)
{
    const SeatColours colours = seatColours(look);
    page.add(page::Frame{tile, colours.fill, colours.edge, 0.3});
    if (seatDoubleEdge(look))
        page.add(page::Frame{tile.adjusted(0.7, 0.7, -0.7, -0.7), QColor(), colours.ink, 0.25});
    const double mark = tile.height() * 0.32;
    const QRectF markBox(tile.right() - mark - 1, tile.top() + 0.9, mark, mark);
    for (const QLineF &line : seatMark(look))
        page.add(page::Line{{markBox.left() + line.x1() * mark, markBox.top() + line.y1() * mark},
                            {markBox.left() + line.x2() * mark, markBox.top() + line.y2() * mark}, colours.ink, 0.3});
    if (!text.isEmpty()) {
        page::TextBox label = box(name, tile.adjusted(0, mark * 0.7, 0, 0), page::font(QStringLiteral("Verdana"), 6.5, true),
                                  text, Qt::AlignCenter);
        label.color = colours.ink;
        label.padding = 0.2;
        page.add(label);
    }
}

// The header every sheet carries: the event, the counters and the legend.
page::Page header(const SeatMapEvent &event, const SeatMap &map)
{
    page::Page page;
    const double width = 277;
    page.add(box(QStringLiteral("txtTitolo"), QRectF(0, 0, width, 7), page::font(QStringLiteral("Verdana"), 12, true),
                 QStringLiteral("Mappa dei posti - ") + trimmed(event.titolo)));
    QStringList about;
    for (const QString &part : {event.whenText(), event.whereText()})
        if (!part.isEmpty())
            about << part;
    page.add(box(QStringLiteral("txtEvento"), QRectF(0, 7.5, width, 5), page::font(QStringLiteral("Verdana"), 9),
                 about.join(QStringLiteral(" - "))));
    // The counters on one line across the sheet: every count is named, so a
    // long line (large numbers, seats of unknown state) takes a smaller font.
    const QString counters = map.countersText();
    double points = 9;
    while (points > 6 && page::textWidth(counters, page::font(QStringLiteral("Verdana"), points, true)) > width - 1)
        points -= 0.5;
    page.add(box(QStringLiteral("txtContatori"), QRectF(0, 13, width, 5), page::font(QStringLiteral("Verdana"), points, true),
                 counters));
    double x = 0;
    const QFont legend = page::font(QStringLiteral("Verdana"), 8);
    QList<SeatState> states{SeatState::Free, SeatState::Booked, SeatState::Pending, SeatState::Twice};
    if (map.unreadable())
        states << SeatState::Unknown;
    for (const SeatState state : states) {
        addSeat(page, QRectF(x, 19.5, 8, 5.5), lookOf(state), QString(), QString());
        const QString name = SeatMap::stateName(state);
        const double textWidth = page::textWidth(name, legend) + 1.5;
        page.add(box(QStringLiteral("txtLegenda"), QRectF(x + 9.5, 20, textWidth, 5), legend, name));
        x += 9.5 + textWidth + 6;
    }
    page.add(page::Line{{0, 26.5}, {width, 26.5}, QColor(0xC9, 0xD3, 0xDE), 0.3});
    return page;
}

} // namespace

int widestRow()
{
    return int(std::floor((277 + kSeatGap) / kPitchX + 1e-6));
}

page::Document document(const SeatMapEvent &event, const SeatMap &map, int rowWidth, const QDate &printDate)
{
    page::Document doc;
    doc.setup.orientation = QPageLayout::Landscape;
    doc.setup.margins = QMarginsF(10, 10, 10, 10);
    doc.title = kTemplateName;
    doc.subject = trimmed(event.titolo);
    const int perRow = rowWidth > 0 ? std::min(rowWidth, widestRow()) : widestRow();
    const page::Page top = header(event, map);
    const QFont groupFont = page::font(QStringLiteral("Verdana"), 8, true);

    doc.pages.append(top);
    double y = kSeatsTop;
    const auto room = [&y](double height) { return y + height <= kSeatsBottom + 1e-6; };
    const auto newSheet = [&] {
        doc.pages.append(top);
        y = kSeatsTop;
    };
    for (const SeatMap::Group &group : map.groups()) {
        if (!group.heading.isEmpty()) {
            if (!room(kHeadingHeight + kSeatHeight))
                newSheet();
            doc.pages.last().add(box(QStringLiteral("txtGruppo"), QRectF(0, y, 277, kHeadingHeight), groupFont,
                                     group.heading, Qt::AlignLeft | Qt::AlignVCenter));
            y += kHeadingHeight;
        }
        for (int first = group.first; first < group.first + group.count; first += perRow) {
            if (!room(kSeatHeight))
                newSheet();
            const int end = std::min(first + perRow, group.first + group.count);
            for (int i = first; i < end; ++i)
                addSeat(doc.pages.last(), QRectF((i - first) * kPitchX, y, kSeatWidth, kSeatHeight),
                        lookOf(map.state(i)), map.label(i), QStringLiteral("txtPosto"));
            y += kPitchY;
        }
    }
    const qsizetype count = doc.pages.size();
    for (qsizetype i = 0; i < count; ++i) {
        page::Page &page = doc.pages[i];
        page.add(box(QStringLiteral("txtPagina"), QRectF(0, 185, 277, 5), page::font(QStringLiteral("Verdana"), 8, true),
                     ListReport::footerText(printDate), Qt::AlignHCenter | Qt::AlignTop));
        page.add(box(QStringLiteral("txtNumeroPagina"), QRectF(227, 185, 50, 5),
                     page::font(QStringLiteral("Verdana"), 8), QStringLiteral("Pagina %1 di %2").arg(i + 1).arg(count),
                     Qt::AlignRight | Qt::AlignTop));
    }
    return doc;
}

QString pdfPath(const QString &archivePath)
{
    const QFileInfo archive(archivePath);
    QString name = archive.completeBaseName();
    const QString prefix = QStringLiteral("Posti_Riservati_Evento_");
    name = name.startsWith(prefix) ? QStringLiteral("Mappa_Posti_Evento_") + name.mid(prefix.size())
                                   : QStringLiteral("Mappa_Posti");
    return archive.dir().filePath(name + QStringLiteral(".pdf"));
}

} // namespace qv::SeatMapPrint
