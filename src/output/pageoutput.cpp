#include "output/pageoutput.h"

#include "core/clock.h"

#include <QBuffer>
#include <QDateTime>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSvgRenderer>
#include <QtEndian>

#include <algorithm>
#include <memory>

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

TextBox textBox(const QString &name, const QRectF &rect, const QFont &font, const QString &text,
                Qt::Alignment alignment, const QColor &color)
{
    TextBox box;
    box.name = name;
    box.rect = rect;
    box.font = font;
    box.alignment = alignment;
    box.text = text;
    box.color = color;
    return box;
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

// Text is measured at the PDF writer's resolution, where no hinting rounds widths.
constexpr int kMeasureDotsPerInch = 1200;

QFontMetricsF measured(const QFont &font)
{
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(qRound(kMeasureDotsPerInch / 0.0254));
        image.setDotsPerMeterY(qRound(kMeasureDotsPerInch / 0.0254));
        return image;
    }();
    return QFontMetricsF(font, &device);
}

} // namespace

double textWidth(const QString &text, const QFont &font)
{
    return measured(font).horizontalAdvance(text) * 25.4 / kMeasureDotsPerInch;
}

double lineSpacing(const QFont &font)
{
    return measured(font).lineSpacing() * 25.4 / kMeasureDotsPerInch;
}

QStringList wrapText(const QString &text, const QFont &font, double widthMm)
{
    QStringList lines;
    QString normalised = text;
    normalised.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    for (const QString &source : normalised.split(QLatin1Char('\n'))) {
        QString line;
        for (const QString &word : source.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString joined = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (textWidth(joined, font) <= widthMm) {
                line = joined;
                continue;
            }
            if (!line.isEmpty())
                lines.append(line);
            // A word wider than a whole line is broken where it stops fitting.
            line = word;
            while (line.size() > 1 && textWidth(line, font) > widthMm) {
                qsizetype fits = 1;
                while (fits < line.size() && textWidth(line.left(fits + 1), font) <= widthMm)
                    ++fits;
                lines.append(line.left(fits));
                line = line.mid(fits);
            }
        }
        lines.append(line);
    }
    return lines;
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

void paintImage(QPainter &painter, const Image &image, double k)
{
    if (image.image.isNull())
        return;
    const QRectF area = toDevice(image.rect, k);
    QSizeF size = QSizeF(image.image.size()).scaled(area.size(), Qt::KeepAspectRatio);
    const QRectF target(area.left() + (area.width() - size.width()) / 2,
                        area.top() + (area.height() - size.height()) / 2, size.width(), size.height());
    painter.drawImage(target, image.image);
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
                else if constexpr (std::is_same_v<T, Picture>)
                    paintPicture(painter, e, dotsPerMm);
                else
                    paintImage(painter, e, dotsPerMm);
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
        "%4"
        "   <xmp:CreatorTool>Quorvane</xmp:CreatorTool>\n"
        "   <pdf:Producer>%3</pdf:Producer>\n"
        "  </rdf:Description>\n"
        " </rdf:RDF>\n"
        "</x:xmpmeta>\n"
        "<?xpacket end=\"w\"?>");
    const QString author = document.author.isEmpty()
                               ? QString()
                               : QStringLiteral("   <dc:creator><rdf:Seq><rdf:li>%1</rdf:li></rdf:Seq></dc:creator>\n")
                                     .arg(document.author.toHtmlEscaped());
    return xmp.arg(document.title.toHtmlEscaped(), document.subject.toHtmlEscaped(), QString::fromLatin1(producer()),
                   author)
        .toUtf8();
}

// Where a stream object's dictionary ends and its data begins, within the
// object's text; -1 for an object without a stream.
struct StreamParts
{
    qsizetype dictEnd = -1;   // where the keyword "stream" starts
    qsizetype dataStart = -1; // first byte of the data
};

StreamParts streamParts(const QByteArray &object)
{
    StreamParts parts;
    const qsizetype at = object.indexOf("stream");
    if (at < 0 || !object.left(at).trimmed().endsWith(">>"))
        return parts;
    qsizetype data = at + 6;
    if (object.mid(data, 2) == "\r\n")
        data += 2;
    else if (object.mid(data, 1) == "\n")
        ++data;
    else
        return parts;
    parts.dictEnd = at;
    parts.dataStart = data;
    return parts;
}

// The writer deflates every stream and offers no switch for it; the files we
// hand out keep their streams plain. The objects are copied in file order,
// each deflated stream inflated with its length set again, and a new
// cross-reference table is written. Anything the writer would not have made
// leaves its output as it was.
QByteArray withPlainStreams(const QByteArray &pdf)
{
    const qsizetype startAt = pdf.lastIndexOf("startxref");
    if (startAt < 0)
        return pdf;
    bool ok = false;
    const qsizetype xrefAt = pdf.mid(startAt + 9).trimmed().split('\n').value(0).trimmed().toLongLong(&ok);
    if (!ok || xrefAt <= 0 || xrefAt >= startAt || !pdf.mid(xrefAt).startsWith("xref"))
        return pdf;
    const qsizetype trailerAt = pdf.indexOf("trailer", xrefAt);
    if (trailerAt < 0 || trailerAt > startAt)
        return pdf;
    const QByteArray trailer = pdf.mid(trailerAt + 7, startAt - trailerAt - 7).trimmed();
    if (trailer.contains("/Prev") || trailer.contains("/Encrypt"))
        return pdf;

    // One subsection "0 n" of fixed-width entries.
    const QList<QByteArray> rows = pdf.mid(xrefAt, trailerAt - xrefAt).trimmed().split('\n');
    if (rows.size() < 2)
        return pdf;
    const QList<QByteArray> head = rows.at(1).trimmed().split(' ');
    if (head.size() != 2 || head.at(0) != "0")
        return pdf;
    const int count = head.at(1).toInt(&ok);
    if (!ok || count < 1 || rows.size() != count + 2)
        return pdf;
    QList<qsizetype> offsets(count, -1); // -1: a free entry
    for (int i = 0; i < count; ++i) {
        const QList<QByteArray> entry = rows.at(i + 2).simplified().split(' ');
        if (entry.size() != 3)
            return pdf;
        if (entry.at(2) == "n") {
            offsets[i] = entry.at(0).toLongLong(&ok);
            if (!ok || offsets[i] <= 0 || offsets[i] >= xrefAt)
                return pdf;
        }
    }

    // Each object runs from its offset to the next object or the table.
    QList<qsizetype> starts;
    for (qsizetype offset : offsets)
        if (offset >= 0)
            starts.append(offset);
    std::sort(starts.begin(), starts.end());
    if (starts.isEmpty())
        return pdf;
    QHash<qsizetype, QByteArray> objectAt;
    QHash<qsizetype, int> numberAt;
    for (int number = 1; number < count; ++number)
        if (offsets.at(number) >= 0)
            numberAt.insert(offsets.at(number), number);
    if (numberAt.size() != starts.size())
        return pdf;
    for (int i = 0; i < starts.size(); ++i) {
        const qsizetype end = i + 1 < starts.size() ? starts.at(i + 1) : xrefAt;
        objectAt.insert(starts.at(i), pdf.mid(starts.at(i), end - starts.at(i)));
    }
    for (int number = 1; number < count; ++number)
        if (offsets.at(number) >= 0 && !objectAt.value(offsets.at(number)).startsWith(QByteArray::number(number) + " 0 obj"))
            return pdf;

    static const QRegularExpression lengthKey(QStringLiteral("/Length\\s+(\\d+)(?:\\s+(\\d+)\\s+R)?"));
    auto lengthOf = [&](const QByteArray &dict, QRegularExpressionMatch *match) -> qsizetype {
        *match = lengthKey.match(QString::fromLatin1(dict));
        if (!match->hasMatch())
            return -1;
        bool fine = false;
        if (match->captured(2).isEmpty()) {
            const qsizetype direct = match->captured(1).toLongLong(&fine);
            return fine ? direct : -1;
        }
        const int number = match->captured(1).toInt(&fine);
        if (!fine || number <= 0 || number >= count || offsets.at(number) < 0)
            return -1;
        QByteArray value = objectAt.value(offsets.at(number));
        value = value.mid(value.indexOf("obj") + 3);
        value = value.left(value.indexOf("endobj")).trimmed();
        const qsizetype indirect = value.toLongLong(&fine);
        return fine ? indirect : -1;
    };

    QByteArray out = pdf.left(starts.first());
    QList<qsizetype> newOffsets(count, -1);
    for (const qsizetype start : starts) {
        QByteArray object = objectAt.value(start);
        const StreamParts parts = streamParts(object);
        if (parts.dictEnd >= 0) {
            QByteArray dict = object.left(parts.dictEnd);
            QRegularExpressionMatch match;
            const qsizetype length = lengthOf(dict, &match);
            if (length < 0 || parts.dataStart + length > object.size()
                || !object.mid(parts.dataStart + length).trimmed().startsWith("endstream"))
                return pdf;
            if (dict.contains("/Filter /FlateDecode") && !dict.contains("/DecodeParms")) {
                const QByteArray data = object.mid(parts.dataStart, length);
                QByteArray sized(4, '\0');
                qToBigEndian<quint32>(quint32(std::min<qsizetype>(data.size() * 4 + 1024, 1 << 30)), sized.data());
                const QByteArray plain = qUncompress(sized + data);
                if (!plain.isEmpty()) {
                    const QString text = QString::fromLatin1(dict);
                    dict = (text.left(match.capturedStart()) + QStringLiteral("/Length ")
                            + QString::number(plain.size()) + text.mid(match.capturedEnd()))
                               .toLatin1();
                    dict.replace("/Filter /FlateDecode", "");
                    object = dict + "stream\n" + plain + "\nendstream\nendobj\n";
                }
            }
        }
        newOffsets[numberAt.value(start)] = out.size();
        out += object;
    }

    const qsizetype newXref = out.size();
    out += "xref\n0 " + QByteArray::number(count) + '\n';
    for (int i = 0; i < count; ++i) {
        if (i == 0 || newOffsets.at(i) < 0)
            out += "0000000000 65535 f \n";
        else
            out += QByteArray::number(newOffsets.at(i)).rightJustified(10, '0') + " 00000 n \n";
    }
    out += "trailer\n" + trailer + "\nstartxref\n" + QByteArray::number(newXref) + "\n%%EOF\n";
    return out;
}

// The PDF writer has no subject of its own: an incremental update appends a
// document information dictionary that has one, and a trailer that points to
// it. The bytes written before stay as they are.
// What an incremental update appends to a PDF that ends with `tail` and is
// `size` bytes long: a document information dictionary with a subject, and
// a trailer that points to it. Empty when the tail holds no trailer.
QByteArray subjectUpdate(const QByteArray &tail, qsizetype size, const page::Document &document)
{
    const qsizetype trailerAt = tail.lastIndexOf("trailer");
    if (trailerAt < 0)
        return {};
    const QString text = QString::fromLatin1(tail.mid(trailerAt));
    const auto count = QRegularExpression(QStringLiteral("/Size\\s+(\\d+)")).match(text);
    const auto root = QRegularExpression(QStringLiteral("/Root\\s+(\\d+\\s+\\d+\\s+R)")).match(text);
    const auto start = QRegularExpression(QStringLiteral("startxref\\s+(\\d+)")).match(text);
    if (!count.hasMatch() || !root.hasMatch() || !start.hasMatch())
        return {};
    const int number = count.captured(1).toInt();

    QByteArray out;
    if (!tail.endsWith('\n'))
        out.append('\n');
    const qsizetype objectAt = size + out.size();
    out += QByteArray::number(number) + " 0 obj\n<<\n";
    out += "/Title " + pdfText(document.title) + '\n';
    out += "/Subject " + pdfText(document.subject) + '\n';
    if (!document.author.isEmpty())
        out += "/Author " + pdfText(document.author) + '\n';
    out += "/Creator " + pdfText(QStringLiteral("Quorvane")) + '\n';
    out += "/Producer " + pdfText(QString::fromLatin1(producer())) + '\n';
    out += "/CreationDate (D:" + Clock::now().toUTC().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1()
           + "Z)\n";
    out += ">>\nendobj\n";
    const qsizetype xrefAt = size + out.size();
    out += "xref\n0 1\n0000000000 65535 f \n";
    out += QByteArray::number(number) + " 1\n";
    out += QByteArray::number(objectAt).rightJustified(10, '0') + " 00000 n \n";
    out += "trailer\n<<\n/Size " + QByteArray::number(number + 1) + "\n/Info " + QByteArray::number(number)
           + " 0 R\n/Root " + root.captured(1).toLatin1() + "\n/Prev " + start.captured(1).toLatin1() + "\n>>\n";
    out += "startxref\n" + QByteArray::number(xrefAt) + "\n%%EOF\n";
    return out;
}

// The PDF writer has no subject of its own: an incremental update adds it.
// The bytes written before stay as they are.
QByteArray withSubject(const QByteArray &pdf, const page::Document &document)
{
    return pdf + subjectUpdate(pdf, pdf.size(), document);
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
    printOn(printer, document);
}

} // namespace

void printOn(QPrinter &printer, const page::Document &document)
{
    // The layout is the template's, whatever the dialog left behind: paper
    // size included, or a long line would be cut on Letter paper.
    printer.setPageLayout(document.setup.layout());
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
    showPreviewWindow(document, owner);
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
    return withSubject(withPlainStreams(buffer.data()), document);
}

namespace {

// Hands everything on to the file and keeps the last bytes written, where
// the writer leaves its trailer.
class TailKeeper : public QIODevice
{
public:
    explicit TailKeeper(QIODevice *target) : m_target(target) { open(QIODevice::WriteOnly); }
    QByteArray tail() const { return m_tail; }
    qint64 written() const { return m_written; }
    bool failed() const { return m_failed; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 length) override
    {
        if (m_target->write(data, length) != length)
            m_failed = true;
        m_written += length;
        m_tail.append(data, length);
        if (m_tail.size() > kKept)
            m_tail.remove(0, m_tail.size() - kKept);
        return length;
    }

private:
    static constexpr qsizetype kKept = 8192;
    QIODevice *m_target;
    QByteArray m_tail;
    qint64 m_written = 0;
    bool m_failed = false;
};

} // namespace

struct PdfStream::Private
{
    QSaveFile file;
    TailKeeper keeper{&file};
    std::unique_ptr<QPdfWriter> writer;
    QPainter painter;
    page::Document header;
    qsizetype pages = 0;
    bool opened = false;

    explicit Private(const QString &path) : file(path) {}
};

PdfStream::PdfStream(const QString &path, const page::Document &header)
    : d(new Private(path))
{
    d->header.setup = header.setup;
    d->header.title = header.title;
    d->header.subject = header.subject;
    d->header.author = header.author;
    d->opened = d->file.open(QIODevice::WriteOnly);
    d->writer = std::make_unique<QPdfWriter>(&d->keeper);
    d->writer->setPageLayout(header.setup.layout());
    d->writer->setTitle(header.title);
    d->writer->setCreator(QStringLiteral("Quorvane"));
    d->writer->setDocumentXmpMetadata(xmpMetadata(d->header));
}

PdfStream::~PdfStream()
{
    if (d->painter.isActive())
        d->painter.end();
    d->file.cancelWriting();
    delete d;
}

void PdfStream::add(const page::Page &page)
{
    if (!d->opened)
        return;
    if (d->pages == 0)
        d->painter.begin(d->writer.get());
    else
        d->writer->newPage();
    page::paintPage(d->painter, page, d->writer->logicalDpiX() / 25.4);
    ++d->pages;
}

qsizetype PdfStream::pages() const
{
    return d->pages;
}

bool PdfStream::finish(QString *reason)
{
    if (d->opened && d->pages == 0)
        add(page::Page{}); // a PDF has at least one page
    if (d->painter.isActive())
        d->painter.end();
    const QByteArray update = subjectUpdate(d->keeper.tail(), d->keeper.written(), d->header);
    if (d->opened && !d->keeper.failed() && d->file.write(update) == update.size() && d->file.commit())
        return true;
    if (reason)
        *reason = d->file.errorString();
    d->file.cancelWriting();
    return false;
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
