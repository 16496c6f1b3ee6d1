#include "frame/guidedocument.h"

#include "frame/guidetopics.h"
#include "frame/shortcuttable.h"

#include <QFont>

#include <algorithm>

namespace qv::GuideDocument {
namespace {

using page::Document;
using page::Line;
using page::Page;
using page::Picture;
using page::TextBox;

const QString kFamily = QStringLiteral("Arial");
const QColor kBlue(0x1F, 0x4E, 0x79);
const QColor kCrimson(0xDC, 0x14, 0x3C);
const QColor kGrey(0x88, 0x93, 0xA0);

constexpr double kBodyPoints = 11;
constexpr double kBodyLine = 5.4;      // mm from one line to the next
constexpr double kParagraphGap = 3.2;  // mm between paragraphs
constexpr double kHeadingPoints = 17;
constexpr double kHeadingLine = 8;
constexpr double kFooterHeight = 10;   // mm kept for the page number
constexpr double kSafety = 0.99;       // lines stay a little short of the edge

TextBox box(const QString &name, const QRectF &rect, const QFont &font, const QString &text,
            Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop, const QColor &color = Qt::black)
{
    TextBox b;
    b.name = name;
    b.rect = rect;
    b.font = font;
    b.text = text;
    b.alignment = alignment;
    b.color = color;
    b.padding = 0;
    return b;
}

// Lays out the sections one after the other, each from a new page.
class SectionWriter
{
public:
    explicit SectionWriter(const page::PageSetup &setup)
        : m_width(setup.printableSize().width()), m_bottom(setup.printableSize().height() - kFooterHeight)
    {
    }

    // Returns the index (in the sections' own pages) of the section's first page.
    int addSection(const QString &title, const QStringList &paragraphs)
    {
        newPage();
        const int first = int(m_pages.size()) - 1;
        const QFont heading = page::font(kFamily, kHeadingPoints, true);
        const QStringList titleLines = page::wrapText(title, heading, m_width * kSafety);
        TextBox head = box(QStringLiteral("titSezione"), QRectF(0, m_y, m_width, kHeadingLine * titleLines.size()),
                           heading, titleLines.join(QLatin1Char('\n')), Qt::AlignLeft | Qt::AlignTop, kCrimson);
        head.lineHeight = kHeadingLine;
        m_pages.last().add(head);
        m_y += kHeadingLine * titleLines.size() + 1.5;
        m_pages.last().add(Line{QPointF(0, m_y), QPointF(m_width, m_y), kBlue, 0.4});
        m_y += 5;

        const QFont body = page::font(kFamily, kBodyPoints);
        for (const QString &paragraph : paragraphs) {
            QStringList lines = page::wrapText(paragraph, body, m_width * kSafety);
            // Two lines at least move to the next page with the rest of their paragraph.
            if (lines.size() > 1 && m_y + 2 * kBodyLine > m_bottom)
                newPage();
            while (!lines.isEmpty()) {
                if (m_y + kBodyLine > m_bottom)
                    newPage();
                const int room = std::max(1, int((m_bottom - m_y) / kBodyLine));
                const QStringList here = lines.mid(0, room);
                lines = lines.mid(here.size());
                TextBox text = box(QStringLiteral("txtParagrafo"), QRectF(0, m_y, m_width, kBodyLine * here.size()),
                                   body, here.join(QLatin1Char('\n')));
                text.lineHeight = kBodyLine;
                m_pages.last().add(text);
                m_y += kBodyLine * here.size();
            }
            m_y += kParagraphGap;
        }
        return first;
    }

    QList<Page> pages() const { return m_pages; }

private:
    void newPage()
    {
        m_pages.append(Page());
        m_y = 0;
    }

    double m_width;
    double m_bottom;
    double m_y = 0;
    QList<Page> m_pages;
};

Page titlePage(const QSizeF &area)
{
    Page p;
    const double w = area.width();
    p.add(Picture{QRectF(w / 2 - 25, 45, 50, 50), QStringLiteral("logo")});
    p.add(box(QStringLiteral("txtProdotto"), QRectF(0, 108, w, 16), page::font(kFamily, 34, true),
              QStringLiteral("Quorvane"), Qt::AlignHCenter | Qt::AlignTop, kBlue));
    p.add(box(QStringLiteral("txtTitolo"), QRectF(0, 128, w, 10), page::font(kFamily, 18),
              QStringLiteral("Guida all'utilizzo del software"), Qt::AlignHCenter | Qt::AlignTop));
    p.add(Line{QPointF(w / 2 - 40, 143), QPointF(w / 2 + 40, 143), kCrimson, 0.5});
    const QFont subtitle = page::font(kFamily, 12, false, true);
    const QStringList lines = page::wrapText(
        QStringLiteral("Software per gestire la prenotazione dei posti a sedere in eventi quali convegni, conferenze, "
                       "congressi e meeting di ogni genere"),
        subtitle, 130);
    TextBox sub = box(QStringLiteral("txtSottotitolo"), QRectF(20, 150, w - 40, 7 * lines.size()), subtitle,
                      lines.join(QLatin1Char('\n')), Qt::AlignHCenter | Qt::AlignTop, kGrey);
    sub.lineHeight = 7;
    p.add(sub);
    return p;
}

Page contentsPage(const QSizeF &area, const QList<QPair<QString, int>> &entries)
{
    Page p;
    const double w = area.width();
    p.add(box(QStringLiteral("titIndice"), QRectF(0, 0, w, kHeadingLine), page::font(kFamily, kHeadingPoints, true),
              QStringLiteral("Indice"), Qt::AlignLeft | Qt::AlignTop, kCrimson));
    p.add(Line{QPointF(0, kHeadingLine + 1.5), QPointF(w, kHeadingLine + 1.5), kBlue, 0.4});
    double y = kHeadingLine + 8;
    const QFont font = page::font(kFamily, 12);
    for (const auto &[title, number] : entries) {
        p.add(box(QStringLiteral("txtVoce"), QRectF(0, y, w - 20, 7), font, title));
        p.add(box(QStringLiteral("txtPaginaVoce"), QRectF(w - 20, y, 20, 7), font, QString::number(number),
                  Qt::AlignRight | Qt::AlignTop));
        p.add(Line{QPointF(0, y + 7.5), QPointF(w, y + 7.5), QColor(0xC9, 0xD3, 0xDE), 0.2});
        y += 10;
    }
    return p;
}

void addFooter(Page &p, const QSizeF &area, int number, int count)
{
    const double w = area.width();
    const double y = area.height() - kFooterHeight + 4;
    p.add(Line{QPointF(0, y), QPointF(w, y), kGrey, 0.2});
    const QFont font = page::font(kFamily, 9);
    p.add(box(QStringLiteral("txtPiede"), QRectF(0, y + 1.5, w - 40, 5), font, kTitle, Qt::AlignLeft | Qt::AlignTop,
              kGrey));
    p.add(box(QStringLiteral("txtPagina"), QRectF(w - 40, y + 1.5, 40, 5), font,
              QStringLiteral("Pagina %1 di %2").arg(number).arg(count), Qt::AlignRight | Qt::AlignTop, kGrey));
}

} // namespace

page::Document build()
{
    Document document;
    document.setup.margins = QMarginsF(20, 18, 20, 14);
    document.title = kTitle;
    document.subject = QStringLiteral("Manuale d'uso: eventi programmati, anagrafica partecipanti e posti assegnati.");
    const QSizeF area = document.setup.printableSize();

    SectionWriter sections(document.setup);
    QList<QPair<QString, int>> entries;
    for (const GuideTopic topic : guideTopics()) {
        QStringList paragraphs = guideParagraphs(topic);
        const QString keys = shortcutTable(topic);
        if (!keys.isEmpty())
            paragraphs.append(keys);
        const int first = sections.addSection(guideTitle(topic), paragraphs);
        // Page numbers count from the title page: title, contents, then the sections.
        entries.append({guideTitle(topic), first + 3});
    }

    document.pages.append(titlePage(area));
    document.pages.append(contentsPage(area, entries));
    document.pages += sections.pages();
    const int count = int(document.pages.size());
    for (int i = 1; i < count; ++i)
        addFooter(document.pages[i], area, i + 1, count);
    return document;
}

} // namespace qv::GuideDocument
