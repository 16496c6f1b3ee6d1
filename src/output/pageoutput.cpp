#include "output/pageoutput.h"

#include "core/clock.h"
#include "output/previewwindow.h"

#include <QBuffer>
#include <QDateTime>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSvgRenderer>

#include <algorithm>

namespace qv::page {

QPageLayout PageSetup::layout() const
{
    return QPageLayout(QPageSize(size), orientation, margins, QPageLayout::Millimeter);
}

QSizeF PageSetup::paperSize() const
{
    return layout().fullRect(QPageLayout::Millimeter).size();
}

QSizeF PageSetup::printableSize() const
{
    return layout().paintRect(QPageLayout::Millimeter).size();
}

TextBox *Page::textBox(const QString &name)
{
    for (Element &element : elements)
        if (auto *box = std::get_if<TextBox>(&element); box && box->name == name)
            return box;
    return nullptr;
}

const TextBox *Page::textBox(const QString &name) const
{
    return const_cast<Page *>(this)->textBox(name);
}

bool Page::setText(const QString &name, const QString &text)
{
    TextBox *box = textBox(name);
    if (!box)
        return false;
    box->text = text;
    return true;
}

QList<const TextBox *> Page::textBoxes() const
{
    QList<const TextBox *> boxes;
    for (const Element &element : elements)
        if (const auto *box = std::get_if<TextBox>(&element))
            boxes.append(box);
    return boxes;
}

QFont font(const QString &family, double points, bool bold, bool italic)
{
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setItalic(italic);
    if (family.startsWith(QLatin1String("Courier"), Qt::CaseInsensitive))
        f.setStyleHint(QFont::TypeWriter);
    else
        f.setStyleHint(QFont::SansSerif);
    // Kerning would move the columns of fixed-pitch lists off their grid.
    f.setKerning(false);
    return f;
}

namespace {

QRectF toDevice(const QRectF &mm, double k)
{
    return QRectF(mm.x() * k, mm.y() * k, mm.width() * k, mm.height() * k);
}

void paintText(QPainter &painter, const TextBox &box, double k)
{
    const QRectF area = toDevice(box.rect, k);
    if (box.fill.isValid())
        painter.fillRect(area, box.fill);
    if (box.text.isEmpty())
        return;
    painter.save();
    painter.setClipRect(area, Qt::IntersectClip);
    painter.setFont(box.font);
    painter.setPen(box.color);
    const double pad = box.padding * k;
    const QRectF inner = area.adjusted(pad, 0, -pad, 0);
    const QStringList lines = box.text.split(QLatin1Char('\n'));
    // Plain drawText: no rich text, no mnemonics, no tab expansion, so every
    // character (square brackets included) prints as it is.
    const int horizontal = int(box.alignment & Qt::AlignHorizontal_Mask);
    if (lines.size() == 1 && box.lineHeight <= 0) {
        painter.drawText(inner, int(box.alignment) | Qt::TextSingleLine, lines.first());
    } else {
        const double step = box.lineHeight > 0 ? box.lineHeight * k : QFontMetricsF(painter.font(), painter.device()).lineSpacing();
        for (int i = 0; i < lines.size(); ++i) {
            const QRectF row(inner.x(), inner.y() + i * step, inner.width(), step);
            if (row.top() >= area.bottom())
                break;
            painter.drawText(row, horizontal | Qt::AlignTop | Qt::TextSingleLine, lines.at(i));
        }
    }
    painter.restore();
}

void paintFrame(QPainter &painter, const Frame &frame, double k)
{
    const QRectF area = toDevice(frame.rect, k);
    if (frame.fill.isValid())
        painter.fillRect(area, frame.fill);
    if (frame.outline.isValid()) {
        painter.save();
        QPen pen(frame.outline);
        pen.setWidthF(frame.penWidth * k);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(area);
        painter.restore();
    }
}

void paintLine(QPainter &painter, const Line &line, double k)
{
    painter.save();
    QPen pen(line.color);
    pen.setWidthF(line.penWidth * k);
    painter.setPen(pen);
    painter.drawLine(QPointF(line.from.x() * k, line.from.y() * k), QPointF(line.to.x() * k, line.to.y() * k));
    painter.restore();
}

void paintPicture(QPainter &painter, const Picture &picture, double k)
{
    QSvgRenderer renderer(QStringLiteral(":/pictures/%1.svg").arg(picture.name));
    if (!renderer.isValid())
        return;
    renderer.setAspectRatioMode(Qt::KeepAspectRatio);
    renderer.render(&painter, toDevice(picture.rect, k));
}

} // namespace

void paintPage(QPainter &painter, const Page &page, double dotsPerMm)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const Element &element : page.elements) {
        std::visit(
            [&](const auto &e) {
                using T = std::decay_t<decltype(e)>;
                if constexpr (std::is_same_v<T, TextBox>)
                    paintText(painter, e, dotsPerMm);
                else if constexpr (std::is_same_v<T, Frame>)
                    paintFrame(painter, e, dotsPerMm);
                else if constexpr (std::is_same_v<T, Line>)
                    paintLine(painter, e, dotsPerMm);
                else
                    paintPicture(painter, e, dotsPerMm);
            },
            element);
    }
    painter.restore();
}

void paintPages(QPainter &painter, QPagedPaintDevice &device, const Document &document, int first, int last)
{
    const double dotsPerMm = device.logicalDpiX() / 25.4;
    first = std::max(first, 0);
    last = std::min<int>(last, int(document.pages.size()) - 1);
    for (int i = first; i <= last; ++i) {
        if (i > first)
            device.newPage();
        paintPage(painter, document.pages.at(i), dotsPerMm);
    }
}

QImage renderPage(const Document &document, int index, int dotsPerInch)
{
    const QSizeF paper = document.setup.paperSize();
    const double k = dotsPerInch / 25.4;
    QImage image(qRound(paper.width() * k), qRound(paper.height() * k), QImage::Format_RGB32);
    const int dotsPerMeter = qRound(dotsPerInch / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    if (index < 0 || index >= document.pages.size())
        return image;
    QPainter painter(&image);
    painter.translate(document.setup.margins.left() * k, document.setup.margins.top() * k);
    paintPage(painter, document.pages.at(index), k);
    return image;
}

} // namespace qv::page

namespace qv::PageOutput {

namespace {

Handler &currentHandler()
{
    static Handler handler;
    return handler;
}

QByteArray producer()
{
    return QByteArray("Qt ") + qVersion();
}

// A PDF text string: UTF-16BE with its byte-order mark, in hexadecimal.
QByteArray pdfText(const QString &text)
{
    QByteArray bytes("\xFE\xFF", 2);
    for (const QChar c : text) {
        bytes.append(char(c.unicode() >> 8));
        bytes.append(char(c.unicode() & 0xFF));
    }
    return '<' + bytes.toHex().toUpper() + '>';
}

QByteArray xmpMetadata(const page::Document &document)
{
    const QString xmp = QStringLiteral(
        "<?xpacket begin=\"\uFEFF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
        "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
        " <rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
        "  <rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\"\n"
        "    xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\" xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\">\n"
        "   <dc:format>application/pdf</dc:format>\n"
        "   <dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">%1</rdf:li></rdf:Alt></dc:title>\n"
        "   <dc:description><rdf:Alt><rdf:li xml:lang=\"x-default\">%2</rdf:li></rdf:Alt></dc:description>\n"
        "   <xmp:CreatorTool>Quorvane</xmp:CreatorTool>\n"
        "   <pdf:Producer>%3</pdf:Producer>\n"
        "  </rdf:Description>\n"
        " </rdf:RDF>\n"
        "</x:xmpmeta>\n"
        "<?xpacket end=\"w\"?>");
    return xmp.arg(document.title.toHtmlEscaped(), document.subject.toHtmlEscaped(), QString::fromLatin1(producer()))
        .toUtf8();
}

// The PDF writer has no subject of its own: an incremental update appends a
// document information dictionary that has one, and a trailer that points to
// it. The bytes written before stay as they are.
QByteArray withSubject(const QByteArray &pdf, const page::Document &document)
{
    const qsizetype trailerAt = pdf.lastIndexOf("trailer");
    if (trailerAt < 0)
        return pdf;
    const QString tail = QString::fromLatin1(pdf.mid(trailerAt));
    const auto size = QRegularExpression(QStringLiteral("/Size\\s+(\\d+)")).match(tail);
    const auto root = QRegularExpression(QStringLiteral("/Root\\s+(\\d+\\s+\\d+\\s+R)")).match(tail);
    const auto start = QRegularExpression(QStringLiteral("startxref\\s+(\\d+)")).match(tail);
    if (!size.hasMatch() || !root.hasMatch() || !start.hasMatch())
        return pdf;
    const int number = size.captured(1).toInt();

    QByteArray out = pdf;
    if (!out.endsWith('\n'))
        out.append('\n');
    const qsizetype objectAt = out.size();
    out += QByteArray::number(number) + " 0 obj\n<<\n";
    out += "/Title " + pdfText(document.title) + '\n';
    out += "/Subject " + pdfText(document.subject) + '\n';
    out += "/Creator " + pdfText(QStringLiteral("Quorvane")) + '\n';
    out += "/Producer " + pdfText(QString::fromLatin1(producer())) + '\n';
    out += "/CreationDate (D:" + Clock::now().toUTC().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1()
           + "Z)\n";
    out += ">>\nendobj\n";
    const qsizetype xrefAt = out.size();
    out += "xref\n0 1\n0000000000 65535 f \n";
    out += QByteArray::number(number) + " 1\n";
    out += QByteArray::number(objectAt).rightJustified(10, '0') + " 00000 n \n";
    out += "trailer\n<<\n/Size " + QByteArray::number(number + 1) + "\n/Info " + QByteArray::number(number)
           + " 0 R\n/Root " + root.captured(1).toLatin1() + "\n/Prev " + start.captured(1).toLatin1() + "\n>>\n";
    out += "startxref\n" + QByteArray::number(xrefAt) + "\n%%EOF\n";
    return out;
}

void printWithDialog(const page::Document &document, QWidget *owner)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(document.setup.layout());
    printer.setDocName(document.title);
    printer.setFullPage(false);
    QPrintDialog dialog(&printer, owner);
    dialog.setWindowTitle(QStringLiteral(" Stampa"));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setMinMax(1, std::max<int>(1, int(document.pages.size())));
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The layout is the template's, whatever the dialog left behind.
    printer.setPageOrientation(document.setup.orientation);
    printer.setPageMargins(document.setup.margins, QPageLayout::Millimeter);
    int first = 0;
    int last = int(document.pages.size()) - 1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = printer.fromPage() - 1;
        last = std::min(last, printer.toPage() - 1);
    }
    // Copies the printer cannot make itself are painted one after another.
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    for (int copy = 0; copy < copies; ++copy) {
        if (copy > 0)
            printer.newPage();
        page::paintPages(painter, printer, document, first, last);
    }
    painter.end();
}

} // namespace

void setHandler(Handler handler)
{
    currentHandler() = std::move(handler);
}

void print(const page::Document &document, QWidget *owner)
{
    if (currentHandler())
        currentHandler()(Destination::Printer, document, owner);
    else
        printWithDialog(document, owner);
}

void preview(const page::Document &document, QWidget *owner)
{
    if (currentHandler()) {
        currentHandler()(Destination::Preview, document, owner);
        return;
    }
    PreviewWindow window(document, owner);
    window.exec();
}

QByteArray pdfBytes(const page::Document &document)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(document.setup.layout());
        writer.setTitle(document.title);
        writer.setCreator(QStringLiteral("Quorvane"));
        writer.setDocumentXmpMetadata(xmpMetadata(document));
        QPainter painter(&writer);
        page::paintPages(painter, writer, document, 0, int(document.pages.size()) - 1);
    }
    return withSubject(buffer.data(), document);
}

bool writePdf(const page::Document &document, const QString &path, QString *reason)
{
    const QByteArray bytes = pdfBytes(document);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (reason)
            *reason = file.errorString();
        return false;
    }
    return true;
}

} // namespace qv::PageOutput
