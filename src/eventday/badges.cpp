#include "eventday/badges.h"

#include "core/text.h"
#include "output/qrcode.h"
#include "eventday/badgecode.h"

#include <cmath>

namespace qv::Badges {

namespace {

// The look of the badges: part of their template, as for the other sheets.
const QColor kBandFill(0x1F, 0x4E, 0x79); // dark blue band, white title
const QColor kSeatColour(0x1F, 0x4E, 0x79);
const QString kArial = QStringLiteral("Arial");

constexpr double kInsetX = 4, kInsetY = 3.5; // kept free inside the label's edges
constexpr double kGap = 2.5;                 // between the parts
constexpr double kSeatHeight = 8, kDateHeight = 5;
constexpr double kLargestName = 26, kLargestTitle = 11, kSeatPoints = 16, kDatePoints = 10;
constexpr double kSmallestPoints = 2;
// Text is measured at the PDF writer's resolution; a printer or a screen
// may lay it out a hair wider, so the fit keeps a little room at the ends.
constexpr double kSafety = 0.6;

QString numbered(const QString &stem, int k)
{
    return stem + QString::number(k);
}

page::TextBox textBox(const QString &name, const QRectF &rect, const QFont &font, const QString &text,
                      Qt::Alignment alignment)
{
    page::TextBox box;
    box.name = name;
    box.rect = rect;
    box.font = font;
    box.alignment = alignment;
    box.text = text;
    box.padding = 0;
    return box;
}

// A fitted text in its box: its lines stacked and centred vertically.
page::TextBox fittedBox(const QString &name, const QRectF &area, const Fitted &fitted, bool bold,
                        Qt::Alignment horizontal, const QColor &colour)
{
    const double height = std::min(area.height(), fitted.lines.size() * fitted.lineHeight);
    const QRectF rect(area.left(), area.top() + (area.height() - height) / 2, area.width(), height);
    page::TextBox box = textBox(name, rect, page::font(kArial, fitted.points, bold), fitted.lines.join(QLatin1Char('\n')),
                                horizontal | Qt::AlignTop);
    box.lineHeight = fitted.lineHeight;
    box.color = colour;
    return box;
}

void addCode(page::Page &page, const QRectF &square, const QByteArray &text)
{
    const QrCode code = QrCode::encode(text);
    if (code.isEmpty())
        return;
    // The quiet zone is part of the square and kept light whatever is behind.
    page.add(page::Frame{square, Qt::white, QColor()});
    const double module = square.width() / code.sizeWithQuietZone();
    for (const QRect &r : code.darkRectangles())
        page.add(page::Frame{QRectF(square.left() + r.x() * module, square.top() + r.y() * module,
                                    r.width() * module, r.height() * module),
                             Qt::black, QColor()});
}

} // namespace

QRectF LabelSheet::labelRect(int index) const
{
    const int column = index % columns;
    const int row = index / columns;
    return QRectF(QPointF(column * pitchX, row * pitchY), label);
}

// The common self-adhesive A4 sheets of 99.1 mm wide labels: two columns
// 101.6 mm apart (a 2.5 mm gap), the grid centred on the sheet.
const LabelSheet &eightPerPage()
{
    static const LabelSheet sheet{QStringLiteral("8 cartellini per foglio A4 (99,1 x 67,7 mm)"), 2, 4,
                                  QSizeF(99.1, 67.7), (210 - 101.6 - 99.1) / 2, (297 - 4 * 67.7) / 2, 101.6,
                                  67.7};
    return sheet;
}

const LabelSheet &tenPerPage()
{
    static const LabelSheet sheet{QStringLiteral("10 cartellini per foglio A4 (99,1 x 57 mm)"), 2, 5,
                                  QSizeF(99.1, 57), (210 - 101.6 - 99.1) / 2, (297 - 5 * 57.0) / 2, 101.6, 57};
    return sheet;
}

QList<Booking> chosen(const QList<Booking> &all, Which which, qint64 current)
{
    QList<Booking> out;
    for (const Booking &b : all) {
        if ((which == Which::Confirmed && b.pending) || (which == Which::Current && b.number != current))
            continue;
        out.append(b);
    }
    return out;
}

Fitted fit(const QString &text, const QSizeF &box, double largest, int maxLines, bool bold)
{
    const QString words = trimmed(text).simplified();
    const double width = box.width() - kSafety;
    Fitted fitted;
    for (double points = largest; points >= kSmallestPoints; points -= 0.5) {
        const QFont font = page::font(kArial, points, bold);
        const double step = page::lineSpacing(font);
        fitted = {{words}, points, step};
        if (page::textWidth(words, font) <= width && step <= box.height())
            return fitted;
        if (maxLines < 2)
            continue;
        const QStringList lines = page::wrapText(words, font, width);
        // Broken at blanks only: the lines joined again give the text back.
        if (lines.size() <= maxLines && lines.join(QLatin1Char(' ')) == words
            && lines.size() * step <= box.height())
            return {lines, points, step};
    }
    return fitted; // the smallest size, on one line: whole, if tiny
}

Places places(const LabelSheet &sheet)
{
    const QRectF inner(kInsetX, kInsetY, sheet.label.width() - 2 * kInsetX, sheet.label.height() - 2 * kInsetY);
    Places p;
    const double band = sheet.label.height() > 60 ? 10 : 8.5;
    p.band = QRectF(inner.left(), inner.top(), inner.width(), band);
    const double below = p.band.bottom() + kGap;
    const double codeSide = std::min(30.0, inner.bottom() - below);
    p.code = QRectF(inner.right() - codeSide, below + (inner.bottom() - below - codeSide) / 2, codeSide, codeSide);
    const double textWidth = p.code.left() - kGap - inner.left();
    p.date = QRectF(inner.left(), inner.bottom() - kDateHeight, textWidth, kDateHeight);
    p.seat = QRectF(inner.left(), p.date.top() - kSeatHeight, textWidth, kSeatHeight);
    p.name = QRectF(inner.left(), below, textWidth, p.seat.top() - kGap - below);
    return p;
}

page::Document document(const EventInfo &event, const QList<Booking> &bookings, const LabelSheet &sheet)
{
    page::Document doc;
    doc.setup.size = QPageSize::A4;
    doc.setup.orientation = QPageLayout::Portrait;
    // The printable area is the grid of labels itself.
    const double gridWidth = (sheet.columns - 1) * sheet.pitchX + sheet.label.width();
    const double gridHeight = (sheet.rows - 1) * sheet.pitchY + sheet.label.height();
    doc.setup.margins = QMarginsF(sheet.left, sheet.top, 210 - sheet.left - gridWidth, 297 - sheet.top - gridHeight);
    doc.title = QStringLiteral("Cartellini - ") + trimmed(event.titolo);
    doc.subject = QStringLiteral("Cartellini con codice QR dei partecipanti");

    const Places at = places(sheet);
    const QString title = trimmed(event.titolo);
    const Fitted titleFit = fit(title, at.band.adjusted(1.5, 0.5, -1.5, -0.5).size(), kLargestTitle, 2, true);
    for (qsizetype i = 0; i < bookings.size(); ++i) {
        const int k = int(i % sheet.perPage());
        if (k == 0)
            doc.pages.append(page::Page{});
        page::Page &page = doc.pages.last();
        const Booking &b = bookings.at(i);
        const QPointF origin = sheet.labelRect(k).topLeft();
        auto placed = [&](const QRectF &r) { return r.translated(origin); };

        page.add(page::Frame{placed(at.band), kBandFill, QColor()});
        page.add(fittedBox(numbered(QStringLiteral("txtTitolo"), k + 1), placed(at.band.adjusted(1.5, 0.5, -1.5, -0.5)),
                           titleFit, true, Qt::AlignHCenter, Qt::white));
        page.add(fittedBox(numbered(QStringLiteral("txtNome"), k + 1), placed(at.name),
                           fit(b.cliente, at.name.size(), kLargestName, 3, true), true, Qt::AlignLeft, Qt::black));
        page::TextBox seat = textBox(numbered(QStringLiteral("txtPosto"), k + 1), placed(at.seat),
                                     page::font(kArial, kSeatPoints, true), QStringLiteral("Posto ") + b.posto,
                                     Qt::AlignLeft | Qt::AlignVCenter);
        seat.color = kSeatColour;
        page.add(seat);
        page.add(textBox(numbered(QStringLiteral("txtData"), k + 1), placed(at.date), page::font(kArial, kDatePoints),
                         trimmed(event.dataInizio), Qt::AlignLeft | Qt::AlignVCenter));
        addCode(page, placed(at.code), BadgeCode::text(event.number, b.number, b.posto));
    }
    return doc;
}

QString pdfName(qint64 event, const LabelSheet &sheet)
{
    return QStringLiteral("Cartellini_Evento_%1_%2.pdf").arg(event).arg(sheet.perPage());
}

} // namespace qv::Badges
