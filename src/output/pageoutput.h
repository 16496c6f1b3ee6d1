#pragma once
#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <functional>
#include <variant>

class QPainter;
class QPrinter;
class QPagedPaintDevice;
class QWidget;

// Our own small page-output layer: pages made of named text boxes, frames,
// lines and pictures placed in millimetres, printed through the printer
// dialog, shown in a preview window or written as PDF.
namespace qv::page {

// A box of text. Its text is always printed literally: no markup, no
// expressions, no mnemonics. Lines never wrap; text is cut at the box edge.
struct TextBox
{
    QString name;
    QRectF rect;                      // mm from the top left of the printable area
    QFont font;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    QColor fill;                      // invalid: transparent
    QColor color = Qt::black;
    QString text;                     // '\n' separates lines
    double lineHeight = 0;            // mm from one line to the next; 0: the font's own
    double padding = 0.5;             // mm kept free inside the left and right edges
};

// A box of `text` in `font`, the other settings as they come.
TextBox textBox(const QString &name, const QRectF &rect, const QFont &font, const QString &text,
                Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop, const QColor &color = Qt::black);

struct Frame
{
    QRectF rect;                      // mm
    QColor fill;                      // invalid: not filled
    QColor outline = Qt::black;       // invalid: no outline
    double penWidth = 0.2;            // mm
};

struct Line
{
    QPointF from;                     // mm
    QPointF to;
    QColor color = Qt::black;
    double penWidth = 0.2;            // mm
};

// One of the program's pictures (resources/pictures/<name>.svg), drawn as vectors.
struct Picture
{
    QRectF rect;                      // mm
    QString name;
};

// A picture the user supplied (a logo, a signature), drawn whole inside its
// rect with its proportions kept. One QImage drawn on many pages of a PDF is
// embedded once.
struct Image
{
    QRectF rect;                      // mm
    QImage image;
};

using Element = std::variant<TextBox, Frame, Line, Picture, Image>;

// Paper, orientation and margins (mm).
struct PageSetup
{
    QPageSize::PageSizeId size = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins{10, 10, 10, 10};

    QPageLayout layout() const;
    QSizeF paperSize() const;         // mm, as oriented
    QSizeF printableSize() const;     // mm, inside the margins
};

// One page: its elements in drawing order. A page used as a template is
// filled by box name.
class Page
{
public:
    QList<Element> elements;

    void add(const Element &element) { elements.append(element); }
    TextBox *textBox(const QString &name);
    const TextBox *textBox(const QString &name) const;
    // False when the page has no box of that name.
    bool setText(const QString &name, const QString &text);
    QList<const TextBox *> textBoxes() const;
};

struct Document
{
    PageSetup setup;
    QList<Page> pages;
    QString title;                    // print job name; PDF title
    QString subject;                  // PDF subject
    QString author;                   // PDF author; empty: none
};

// A font by family and size in points; bold and italic on request.
QFont font(const QString &family, double points, bool bold = false, bool italic = false);

// The width of a one-line text in `font`, in mm, as the PDF writer and the
// printer lay it out.
double textWidth(const QString &text, const QFont &font);
// The distance from one line of text in `font` to the next, in mm, measured
// the same way.
double lineSpacing(const QFont &font);
// The text broken into lines no wider than widthMm: at blanks, or inside a
// word that alone is wider than a line. Its own line breaks (LF or CR LF)
// are kept. Text boxes never wrap by themselves; this is how long texts are
// made to fit them.
QStringList wrapText(const QString &text, const QFont &font, double widthMm);

// Draws one page with the painter's origin at the top left of the printable
// area, at `dotsPerMm` device pixels per millimetre.
void paintPage(QPainter &painter, const Page &page, double dotsPerMm);
// Draws the pages first..last (0-based) of the document on a printer or a PDF
// writer whose page layout is already set; one device page each.
void paintPages(QPainter &painter, QPagedPaintDevice &device, const Document &document, int first, int last);
// The whole sheet of one page, margins included, on white.
QImage renderPage(const Document &document, int index, int dotsPerInch = 96);

} // namespace qv::page

namespace qv::PageOutput {

// Through the printer dialog (printer, copies, pages); nothing when cancelled.
void print(const page::Document &document, QWidget *owner);
// What print does once the dialog is accepted: the template's page size,
// orientation and margins, then the chosen pages and copies.
void printOn(QPrinter &printer, const page::Document &document);
// In a modal preview window that can print, zoom, go full screen and close.
void preview(const page::Document &document, QWidget *owner);
// The preview window itself, which preview() opens when no test handler
// stands in (output/previewwindow.cpp: the window draws through this layer).
void showPreviewWindow(const page::Document &document, QWidget *owner);
// Written without any dialog, replacing a file of that name; title and
// subject go into the document information and its XMP metadata.
// On failure returns false and, when asked, a short reason.
bool writePdf(const page::Document &document, const QString &path, QString *reason = nullptr);
QByteArray pdfBytes(const page::Document &document);

// A PDF written page by page, for documents too long to hold: each page is
// drawn and handed to the file as it is added. The file takes the place of
// one of that name only when finish() succeeds; its streams stay deflated.
class PdfStream
{
public:
    // `header`: paper, margins, title, subject and author; its pages are not used.
    PdfStream(const QString &path, const page::Document &header);
    ~PdfStream();
    PdfStream(const PdfStream &) = delete;
    PdfStream &operator=(const PdfStream &) = delete;

    void add(const page::Page &page);
    qsizetype pages() const;
    // False, with a short reason, when the file could not be written whole.
    bool finish(QString *reason = nullptr);

private:
    struct Private;
    Private *d;
};

// Tests take the place of the printer dialog and the preview window.
enum class Destination { Printer, Preview };
using Handler = std::function<void(Destination destination, const page::Document &document, QWidget *owner)>;
void setHandler(Handler handler); // empty restores the real dialogs

} // namespace qv::PageOutput
