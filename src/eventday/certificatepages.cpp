#include "eventday/certificatepages.h"

#include "core/programfolder.h"
#include "core/regional.h"
#include "core/text.h"
#include "eventday/badges.h"

#include <QDir>
#include <QImageReader>

namespace qv::CertificatePages {

namespace {

const QString kArial = QStringLiteral("Arial");
const QColor kBlue(0x1F, 0x4E, 0x79);
const QColor kGrey(0x59, 0x59, 0x59);

// The certificate on A4 with 20 mm margins: 170 x 257 mm to draw on.
constexpr double kWidth = 170, kHeight = 257;
constexpr double kBodyTop = 62, kBodyBottom = 188;
constexpr double kBodyPoints = 13, kLargePoints = 22;

using page::textBox;

QImage loaded(const QString &name)
{
    if (name.isEmpty())
        return {};
    QImageReader reader(ProgramFolder::file(name));
    reader.setAutoTransform(true);
    return reader.read();
}

} // namespace

Setting Setting::make(const EventInfo &event, const Certificates::Template &tpl, const QDate &issued)
{
    return {event, tpl, issued, loaded(tpl.logo), loaded(tpl.firma)};
}

page::Document header(const Setting &setting)
{
    page::Document doc;
    doc.setup.size = QPageSize::A4;
    doc.setup.orientation = QPageLayout::Portrait;
    doc.setup.margins = QMarginsF(20, 20, 20, 20);
    doc.title = QStringLiteral("Attestati di partecipazione - ") + trimmed(setting.event.titolo);
    doc.subject = QStringLiteral("Attestati di partecipazione all'evento");
    return doc;
}

page::Page page(const Setting &setting, const Certificates::Person &person)
{
    const Certificates::Filled f = Certificates::fill(setting.tpl, setting.event, person, setting.issued);
    page::Page p;
    // A double border in the house's blue.
    p.add(page::Frame{QRectF(-8, -8, kWidth + 16, kHeight + 16), QColor(), kBlue, 0.9});
    p.add(page::Frame{QRectF(-6, -6, kWidth + 12, kHeight + 12), QColor(), kBlue, 0.3});
    if (!setting.logo.isNull())
        p.add(page::Image{QRectF(kWidth / 2 - 35, 2, 70, 24), setting.logo});
    p.add(textBox(QStringLiteral("txtNumero"), QRectF(kWidth - 60, -3, 60, 5), page::font(kArial, 9), f.numero,
              Qt::AlignRight | Qt::AlignVCenter, kGrey));

    const Badges::Fitted title = Badges::fit(f.titolo, QSizeF(kWidth - 10, 14), 24, 1, true);
    page::TextBox t = textBox(QStringLiteral("txtTitolo"), QRectF(5, 34, kWidth - 10, 14),
                          page::font(kArial, title.points, true), f.titolo, Qt::AlignHCenter | Qt::AlignVCenter, kBlue);
    p.add(t);
    p.add(page::Line{QPointF(kWidth / 2 - 30, 51), QPointF(kWidth / 2 + 30, 51), kBlue, 0.5});

    // The body, each line wrapped to the width and centred; a line of the
    // name alone large. Shrunk as a whole until it fits above the signature.
    double scale = 1.0;
    struct Row
    {
        QString text;
        QFont font;
        double height;
    };
    QList<Row> rows;
    for (int attempt = 0; attempt < 12; ++attempt, scale *= 0.9) {
        rows.clear();
        double height = 0;
        for (qsizetype i = 0; i < f.lines.size(); ++i) {
            const auto style = f.styles.value(i, Certificates::Filled::Plain);
            const QFont font = page::font(kArial, (style == Certificates::Filled::Large ? kLargePoints : kBodyPoints) * scale,
                                          style != Certificates::Filled::Plain);
            const double step = page::lineSpacing(font) * 1.6;
            for (const QString &line : page::wrapText(f.lines.at(i), font, kWidth - 20)) {
                rows.append({line, font, step});
                height += step;
            }
        }
        if (height <= kBodyBottom - kBodyTop)
            break;
    }
    double y = kBodyTop;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        p.add(textBox(QStringLiteral("txtRiga%1").arg(i + 1), QRectF(10, y, kWidth - 20, rows.at(i).height), rows.at(i).font,
                  rows.at(i).text, Qt::AlignHCenter | Qt::AlignVCenter));
        y += rows.at(i).height;
    }

    p.add(textBox(QStringLiteral("txtRilascio"), QRectF(0, 222, 80, 6), page::font(kArial, 11), f.rilascio,
              Qt::AlignLeft | Qt::AlignVCenter));
    if (!setting.signature.isNull())
        p.add(page::Image{QRectF(95, 196, 75, 24), setting.signature});
    p.add(page::Line{QPointF(95, 221), QPointF(kWidth, 221), Qt::black, 0.3});
    p.add(textBox(QStringLiteral("txtFirmatario"), QRectF(95, 222, 75, 6), page::font(kArial, 11, true),
              trimmed(setting.tpl.firmatario), Qt::AlignHCenter | Qt::AlignVCenter));
    p.add(textBox(QStringLiteral("txtRuolo"), QRectF(95, 228, 75, 6), page::font(kArial, 10, false, true),
              trimmed(setting.tpl.ruolo), Qt::AlignHCenter | Qt::AlignVCenter));
    return p;
}

QList<Certificates::Person> chosen(const QList<Certificates::Person> &people)
{
    QList<Certificates::Person> out;
    for (const Certificates::Person &p : people)
        if (p.chosen)
            out.append(p);
    return out;
}

page::Document document(const Setting &setting, const QList<Certificates::Person> &people)
{
    page::Document doc = header(setting);
    for (const Certificates::Person &p : people)
        doc.pages.append(page(setting, p));
    return doc;
}

bool writePdf(const Setting &setting, const QList<Certificates::Person> &people, const QString &path, QString *reason)
{
    PageOutput::PdfStream pdf(path, header(setting));
    for (const Certificates::Person &p : people)
        pdf.add(page(setting, p));
    return pdf.finish(reason);
}

bool writeEach(const Setting &setting, const QList<Certificates::Person> &people, const QString &folder,
               QString *reason)
{
    if (!QDir().mkpath(folder)) {
        if (reason)
            *reason = QStringLiteral("impossibile creare la cartella");
        return false;
    }
    const QStringList names = Certificates::eachNames(setting.event.number, people);
    for (qsizetype i = 0; i < people.size(); ++i)
        if (!writePdf(setting, {people.at(i)}, QDir(folder).filePath(names.at(i)), reason))
            return false;
    return true;
}

namespace {

// The signature sheet on A4 with 12 mm margins: 186 x 273 mm to draw on.
constexpr double kSheetWidth = 186, kSheetHeight = 273;
constexpr double kTableTop = 32, kHeadRow = 8, kRow = 10, kFooter = 8;

struct Column
{
    const char *title;
    double width;
};
const Column kColumns[] = {{"N.", 10},           {"Cognome e nome", 62}, {"Posto", 16}, {"Firma entrata", 38},
                           {"Ora", 11},           {"Firma uscita", 38},   {"Ora", 11}};

} // namespace

int signatureRowsPerPage()
{
    return int((kSheetHeight - kFooter - kTableTop - kHeadRow) / kRow);
}

page::Document signatureSheet(const EventInfo &event, const QList<Booking> &bookings, const QDate &day)
{
    page::Document doc;
    doc.setup.size = QPageSize::A4;
    doc.setup.orientation = QPageLayout::Portrait;
    doc.setup.margins = QMarginsF(12, 12, 12, 12);
    doc.title = QStringLiteral("Foglio firme - ") + trimmed(event.titolo) + QStringLiteral(" - ") + formatDate(day);
    doc.subject = QStringLiteral("Foglio firme di entrata e uscita dei partecipanti");

    const QList<Booking> ordered = Certificates::inNameOrder(bookings);
    const int perPage = signatureRowsPerPage();
    const int pages = std::max<int>(1, int((ordered.size() + perPage - 1) / perPage));
    const QString title = trimmed(event.titolo);
    const Badges::Fitted titleFit = Badges::fit(title, QSizeF(kSheetWidth, 7), 14, 1, true);
    QString where = trimmed(event.sede);
    if (!trimmed(event.indirizzo).isEmpty())
        where += (where.isEmpty() ? QString() : QStringLiteral(" - ")) + trimmed(event.indirizzo);

    for (int n = 0; n < pages; ++n) {
        page::Page p;
        p.add(textBox(QStringLiteral("txtIntestazione"), QRectF(0, 0, kSheetWidth, 7), page::font(kArial, 11, true),
                  QStringLiteral("FOGLIO FIRME"), Qt::AlignLeft | Qt::AlignVCenter, kBlue));
        p.add(textBox(QStringLiteral("txtTitolo"), QRectF(0, 8, kSheetWidth, 8), page::font(kArial, titleFit.points, true),
                  title, Qt::AlignLeft | Qt::AlignVCenter));
        p.add(textBox(QStringLiteral("txtSede"), QRectF(0, 17, kSheetWidth, 5), page::font(kArial, 10),
                  QStringLiteral("Sede: ") + where, Qt::AlignLeft | Qt::AlignVCenter));
        p.add(textBox(QStringLiteral("txtGiorno"), QRectF(0, 23, kSheetWidth, 6), page::font(kArial, 11, true),
                  QStringLiteral("Giorno: ") + formatDate(day), Qt::AlignLeft | Qt::AlignVCenter));

        double x = 0;
        for (const Column &c : kColumns) {
            p.add(page::Frame{QRectF(x, kTableTop, c.width, kHeadRow), QColor(0xDD, 0xE6, 0xF0), Qt::black, 0.2});
            p.add(textBox(QString(), QRectF(x, kTableTop, c.width, kHeadRow), page::font(kArial, 9, true),
                      QString::fromUtf8(c.title), Qt::AlignHCenter | Qt::AlignVCenter));
            x += c.width;
        }
        for (int r = 0; r < perPage; ++r) {
            const qsizetype i = qsizetype(n) * perPage + r;
            if (i >= ordered.size())
                break;
            const Booking &b = ordered.at(i);
            const double top = kTableTop + kHeadRow + r * kRow;
            const QString cells[] = {QString::number(i + 1), b.cliente, b.posto, {}, {}, {}, {}};
            x = 0;
            for (int c = 0; c < int(std::size(kColumns)); ++c) {
                const QRectF cell(x, top, kColumns[c].width, kRow);
                p.add(page::Frame{cell, QColor(), Qt::black, 0.2});
                if (!cells[c].isEmpty()) {
                    const QRectF inner = cell.adjusted(1, 0.5, -1, -0.5);
                    const Badges::Fitted fitted = Badges::fit(cells[c], inner.size(), 10, 2, c == 1);
                    page::TextBox t = textBox(QStringLiteral("txtRiga%1_%2").arg(r + 1).arg(c + 1), inner,
                                          page::font(kArial, fitted.points, c == 1), fitted.lines.join(QLatin1Char('\n')),
                                          (c == 1 ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter);
                    if (fitted.lines.size() > 1) {
                        t.lineHeight = fitted.lineHeight;
                        t.alignment = (c == 1 ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignTop;
                    }
                    p.add(t);
                }
                x += kColumns[c].width;
            }
        }
        p.add(textBox(QStringLiteral("txtEvento"), QRectF(0, kSheetHeight - 6, 120, 6), page::font(kArial, 8),
                  QStringLiteral("Evento n. %1").arg(event.number), Qt::AlignLeft | Qt::AlignVCenter, kGrey));
        p.add(textBox(QStringLiteral("txtPagina"), QRectF(kSheetWidth - 60, kSheetHeight - 6, 60, 6), page::font(kArial, 9),
                  QStringLiteral("Pagina %1 di %2").arg(n + 1).arg(pages), Qt::AlignRight | Qt::AlignVCenter));
        doc.pages.append(p);
    }
    return doc;
}

} // namespace qv::CertificatePages
