#include "output/listreport.h"

#include "core/regional.h"
#include "output/listlines.h"

#include <cmath>

namespace qv::ListReport {

QString footerText(const QDate &printDate)
{
    return QStringLiteral("Stampa eseguita in data ") + formatDate(printDate);
}

page::Document document(const QString &title, const QStringList &lines, const QDate &printDate)
{
    page::Document doc;
    doc.setup.orientation = QPageLayout::Landscape;
    doc.setup.margins = QMarginsF(10, 10, 10, 10);
    doc.title = kTemplateName;
    const double pageHeight = doc.setup.printableSize().height();

    doc.pages.append(page::Page{});
    page::TextBox heading;
    heading.name = QStringLiteral("txtTitolo");
    heading.rect = QRectF(2, 1, 273, 5);
    heading.font = page::font(QStringLiteral("Verdana"), 9, true);
    heading.alignment = Qt::AlignHCenter | Qt::AlignTop;
    heading.text = title;
    doc.pages.last().add(heading);

    // The data band: as many lines on each page as fit below what is there.
    double top = kTitleBand;
    qsizetype next = 0;
    do {
        // A small tolerance so that rounding never loses a line that fits.
        const auto fit = qsizetype(std::floor((pageHeight - top) / kLineHeight + 1e-6));
        if (fit <= 0 && next < lines.size()) {
            doc.pages.append(page::Page{});
            top = 0;
            continue;
        }
        const qsizetype count = std::min(fit, lines.size() - next);
        page::TextBox data;
        data.name = QStringLiteral("txtRiepilogo");
        data.rect = QRectF(3, top, 273, count * kLineHeight);
        data.font = page::font(QStringLiteral("Courier New"), 8);
        data.lineHeight = kLineHeight;
        QStringList rows;
        rows.reserve(count);
        for (qsizetype i = next; i < next + count; ++i)
            rows.append(displayLine(lines.at(i)));
        data.text = rows.join(QLatin1Char('\n'));
        doc.pages.last().add(data);
        next += count;
        top += count * kLineHeight;
        if (next < lines.size()) {
            doc.pages.append(page::Page{});
            top = 0;
        }
    } while (next < lines.size());
    top += kDataGap;

    if (top + kFooterBand > pageHeight + 1e-6) {
        doc.pages.append(page::Page{});
        top = 0;
    }
    page::TextBox footer;
    footer.name = QStringLiteral("txtPagina");
    footer.rect = QRectF(3, top + 2, 272, 5);
    footer.font = page::font(QStringLiteral("Verdana"), 8, true);
    footer.alignment = Qt::AlignHCenter | Qt::AlignTop;
    footer.text = footerText(printDate);
    doc.pages.last().add(footer);
    return doc;
}

} // namespace qv::ListReport
