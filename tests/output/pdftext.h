#pragma once
// Reads back what a PDF written by the page output holds: pages and their
// sizes, the document information, and the texts drawn on each page (one
// entry per text run, glyphs mapped back through the fonts' ToUnicode maps).
// Enough for the files our own writer produces; not a general PDF reader.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QtEndian>

namespace qvtest {

// A text run and where its first glyph sits: points from the left edge of
// the paper, and its baseline in points from the top edge.
struct PdfRun
{
    QString text;
    double x = 0;
    double baseline = 0;
};

struct PdfContent
{
    QList<QSizeF> pageSizes;     // points
    QList<QStringList> pageTexts; // text runs per page, in drawing order
    QList<QList<PdfRun>> pageRuns; // the same runs with their places
    QString title;
    QString subject;
    QString author;
    QString creator;
    bool valid = false;

    QString pageText(int page) const { return pageTexts.value(page).join(QLatin1Char('\n')); }
};

namespace pdfdetail {

// An affine matrix as PDF writes it: [a b c d e f].
struct Matrix
{
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
    static Matrix of(const QList<double> &v) { return {v[0], v[1], v[2], v[3], v[4], v[5]}; }
    // This matrix followed by `then`.
    Matrix times(const Matrix &m) const
    {
        return {a * m.a + b * m.c,       a * m.b + b * m.d,       c * m.a + d * m.c,
                c * m.b + d * m.d,       e * m.a + f * m.c + m.e, e * m.b + f * m.d + m.f};
    }
};

// The tokens of a content stream: numbers, names, operators and hexadecimal
// strings (brackets and literal strings are not used by our writer's text).
inline QList<QByteArray> tokens(const QByteArray &stream)
{
    QList<QByteArray> all;
    qsizetype i = 0;
    const qsizetype n = stream.size();
    auto isSpace = [](char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0'; };
    auto isDelimiter = [](char c) { return c == '[' || c == ']' || c == '(' || c == ')' || c == '<' || c == '>' || c == '/'; };
    while (i < n) {
        const char c = stream[i];
        if (isSpace(c) || c == '[' || c == ']') {
            ++i;
        } else if (c == '<') {
            const qsizetype end = stream.indexOf('>', i);
            if (end < 0)
                break;
            all.append(stream.mid(i, end - i + 1));
            i = end + 1;
        } else if (c == '(') {
            int depth = 0;
            for (; i < n; ++i) {
                if (stream[i] == '\\')
                    ++i;
                else if (stream[i] == '(')
                    ++depth;
                else if (stream[i] == ')' && --depth == 0)
                    break;
            }
            ++i;
        } else {
            qsizetype end = i + 1;
            while (end < n && !isSpace(stream[end]) && !isDelimiter(stream[end]) && stream[end] != '[' && stream[end] != ']')
                ++end;
            all.append(stream.mid(i, end - i));
            i = end;
        }
    }
    return all;
}

inline QHash<int, QByteArray> objects(const QByteArray &pdf)
{
    QHash<int, QByteArray> all;
    static const QRegularExpression start(QStringLiteral("(?:^|\\n)(\\d+) 0 obj"));
    const QString latin = QString::fromLatin1(pdf);
    auto it = start.globalMatch(latin);
    while (it.hasNext()) {
        const auto m = it.next();
        const qsizetype from = m.capturedEnd();
        const qsizetype to = pdf.indexOf("endobj", from);
        all.insert(m.captured(1).toInt(), pdf.mid(from, to - from)); // a later definition wins
    }
    return all;
}

inline int ref(const QByteArray &body, const char *key)
{
    const auto m = QRegularExpression(QStringLiteral("/%1\\s+(\\d+)\\s+0\\s+R").arg(QLatin1String(key)))
                       .match(QString::fromLatin1(body));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

inline QByteArray streamData(const QHash<int, QByteArray> &objs, const QByteArray &body)
{
    const qsizetype at = body.indexOf("stream");
    if (at < 0)
        return {};
    qsizetype from = at + 6;
    if (body.at(from) == '\r')
        ++from;
    if (body.at(from) == '\n')
        ++from;
    const QByteArray dict = body.left(at);
    qsizetype length = -1;
    const int lengthRef = ref(dict, "Length");
    if (lengthRef >= 0) {
        length = objs.value(lengthRef).trimmed().toLongLong();
    } else {
        const auto m = QRegularExpression(QStringLiteral("/Length\\s+(\\d+)")).match(QString::fromLatin1(dict));
        length = m.hasMatch() ? m.captured(1).toLongLong() : -1;
    }
    QByteArray data = length >= 0 ? body.mid(from, length) : body.mid(from);
    if (dict.contains("/FlateDecode")) {
        QByteArray sized(4, '\0');
        qToBigEndian<quint32>(quint32(data.size() * 8 + 1024), sized.data());
        data = qUncompress(sized + data);
    }
    return data;
}

inline QString utf16(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFE\xFF")) {
        QString text;
        for (qsizetype i = 2; i + 1 < bytes.size(); i += 2)
            text.append(QChar(char16_t((uchar(bytes[i]) << 8) | uchar(bytes[i + 1]))));
        return text;
    }
    return QString::fromLatin1(bytes);
}

// A string value of a dictionary: literal (with escapes) or hexadecimal.
inline QString stringValue(const QByteArray &dict, const char *key)
{
    const QByteArray name = QByteArray("/") + key;
    qsizetype at = dict.indexOf(name + ' ');
    if (at < 0)
        at = dict.indexOf(name + '(');
    if (at < 0)
        at = dict.indexOf(name + '<');
    if (at < 0)
        return {};
    qsizetype i = at + name.size();
    while (i < dict.size() && dict[i] == ' ')
        ++i;
    QByteArray raw;
    if (dict[i] == '<') {
        const qsizetype end = dict.indexOf('>', i);
        raw = QByteArray::fromHex(dict.mid(i + 1, end - i - 1));
    } else if (dict[i] == '(') {
        int depth = 0;
        for (++i; i < dict.size(); ++i) {
            const char c = dict[i];
            if (c == '\\') {
                const char n = dict[++i];
                if (n >= '0' && n <= '7') {
                    int v = 0, k = 0;
                    while (k < 3 && dict[i] >= '0' && dict[i] <= '7')
                        v = v * 8 + (dict[i++] - '0'), ++k;
                    --i;
                    raw.append(char(v));
                } else {
                    raw.append(n == 'n' ? '\n' : n == 'r' ? '\r' : n == 't' ? '\t' : n);
                }
            } else if (c == '(') {
                ++depth;
                raw.append(c);
            } else if (c == ')') {
                if (depth-- == 0)
                    break;
                raw.append(c);
            } else {
                raw.append(c);
            }
        }
    }
    return utf16(raw);
}

inline QHash<uint, QString> toUnicode(const QByteArray &cmap)
{
    QHash<uint, QString> map;
    const QString text = QString::fromLatin1(cmap);
    auto hex = [](const QString &h) { return h.toUInt(nullptr, 16); };
    auto chars = [](const QString &h) {
        QString s;
        for (int i = 0; i + 4 <= h.size(); i += 4)
            s.append(QChar(char16_t(h.mid(i, 4).toUInt(nullptr, 16))));
        return s;
    };
    static const QRegularExpression section(QStringLiteral("begin(bfchar|bfrange)(.*?)end\\1"),
                                            QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression charLine(QStringLiteral("<([0-9A-Fa-f]+)>\\s*<([0-9A-Fa-f]+)>"));
    static const QRegularExpression rangeLine(
        QStringLiteral("<([0-9A-Fa-f]+)>\\s*<([0-9A-Fa-f]+)>\\s*(?:<([0-9A-Fa-f]+)>|\\[([^\\]]*)\\])"));
    auto sections = section.globalMatch(text);
    while (sections.hasNext()) {
        const auto s = sections.next();
        if (s.captured(1) == QLatin1String("bfchar")) {
            auto lines = charLine.globalMatch(s.captured(2));
            while (lines.hasNext()) {
                const auto l = lines.next();
                map.insert(hex(l.captured(1)), chars(l.captured(2)));
            }
        } else {
            auto lines = rangeLine.globalMatch(s.captured(2));
            while (lines.hasNext()) {
                const auto l = lines.next();
                const uint from = hex(l.captured(1)), to = hex(l.captured(2));
                if (!l.captured(3).isEmpty()) {
                    const uint base = hex(l.captured(3));
                    for (uint c = from; c <= to; ++c)
                        map.insert(c, QString(QChar(char16_t(base + (c - from)))));
                } else {
                    static const QRegularExpression item(QStringLiteral("<([0-9A-Fa-f]+)>"));
                    auto items = item.globalMatch(l.captured(4));
                    for (uint c = from; c <= to && items.hasNext(); ++c)
                        map.insert(c, chars(items.next().captured(1)));
                }
            }
        }
    }
    return map;
}

} // namespace pdfdetail

inline PdfContent readPdf(const QByteArray &pdf)
{
    using namespace pdfdetail;
    PdfContent content;
    const QHash<int, QByteArray> objs = objects(pdf);
    const qsizetype trailerAt = pdf.lastIndexOf("trailer");
    if (trailerAt < 0)
        return content;
    const QByteArray trailer = pdf.mid(trailerAt);
    const QByteArray info = objs.value(ref(trailer, "Info"));
    content.title = stringValue(info, "Title");
    content.subject = stringValue(info, "Subject");
    content.author = stringValue(info, "Author");
    content.creator = stringValue(info, "Creator");
    const QByteArray catalog = objs.value(ref(trailer, "Root"));
    const QByteArray pages = objs.value(ref(catalog, "Pages"));
    const auto kidsMatch = QRegularExpression(QStringLiteral("/Kids\\s*\\[([^\\]]*)\\]")).match(QString::fromLatin1(pages));
    static const QRegularExpression refs(QStringLiteral("(\\d+)\\s+0\\s+R"));
    auto kids = refs.globalMatch(kidsMatch.captured(1));
    while (kids.hasNext()) {
        const QByteArray page = objs.value(kids.next().captured(1).toInt());
        const auto box = QRegularExpression(QStringLiteral("/MediaBox\\s*\\[\\s*([\\d.]+)\\s+([\\d.]+)\\s+([\\d.]+)\\s+([\\d.]+)"))
                             .match(QString::fromLatin1(page));
        content.pageSizes.append(QSizeF(box.captured(3).toDouble() - box.captured(1).toDouble(),
                                        box.captured(4).toDouble() - box.captured(2).toDouble()));
        // Fonts of the page: name -> glyph map.
        QByteArray resources = objs.value(ref(page, "Resources"));
        QHash<QString, QHash<uint, QString>> fonts;
        const qsizetype fontAt = resources.indexOf("/Font");
        if (fontAt >= 0) {
            const QByteArray fontDict = resources.mid(fontAt, resources.indexOf(">>", fontAt) - fontAt);
            static const QRegularExpression entry(QStringLiteral("/(\\w+)\\s+(\\d+)\\s+0\\s+R"));
            auto entries = entry.globalMatch(QString::fromLatin1(fontDict));
            while (entries.hasNext()) {
                const auto e = entries.next();
                const QByteArray font = objs.value(e.captured(2).toInt());
                fonts.insert(e.captured(1), toUnicode(streamData(objs, objs.value(ref(font, "ToUnicode")))));
            }
        }
        // Text runs: one per BT ... ET block, placed where its first glyph
        // starts (the graphics state's matrices applied).
        const QByteArray stream = streamData(objs, objs.value(ref(page, "Contents")));
        const double pageHeight = content.pageSizes.last().height();
        QStringList runs;
        QList<PdfRun> placed;
        PdfRun run;
        bool inText = false, placedRun = false;
        QHash<uint, QString> glyphs;
        Matrix ctm, tm, line;
        QList<Matrix> saved;
        QList<double> operands;
        for (const QByteArray &t : tokens(stream)) {
            bool isNumber = false;
            const double number = t.toDouble(&isNumber);
            if (isNumber) {
                operands.append(number);
                continue;
            }
            if (t.startsWith('/')) {
                if (inText)
                    glyphs = fonts.value(QString::fromLatin1(t.mid(1)));
            } else if (t.startsWith('<')) {
                if (!placedRun) {
                    const Matrix at = line.times(ctm);
                    run.x = at.e;
                    run.baseline = pageHeight - at.f;
                    placedRun = true;
                }
                const QString h = QString::fromLatin1(t.mid(1, t.size() - 2));
                for (int i = 0; i + 4 <= h.size(); i += 4) {
                    QString c = glyphs.value(h.mid(i, 4).toUInt(nullptr, 16), QStringLiteral("\uFFFD"));
                    // Some fonts share one glyph between tab and blank.
                    run.text += c == QLatin1String("\t") ? QStringLiteral(" ") : c;
                }
            } else if (t == "q") {
                saved.append(ctm);
            } else if (t == "Q") {
                if (!saved.isEmpty())
                    ctm = saved.takeLast();
            } else if (t == "cm" && operands.size() >= 6) {
                ctm = Matrix::of(operands.mid(operands.size() - 6)).times(ctm);
            } else if (t == "BT") {
                inText = true;
                placedRun = false;
                run = PdfRun{};
                tm = line = Matrix{};
            } else if (t == "ET") {
                if (inText) {
                    runs.append(run.text);
                    placed.append(run);
                }
                inText = false;
            } else if (t == "Tm" && operands.size() >= 6) {
                tm = line = Matrix::of(operands.mid(operands.size() - 6));
            } else if (t == "Td" && operands.size() >= 2) {
                line = Matrix{1, 0, 0, 1, operands[operands.size() - 2], operands.last()}.times(line);
                tm = line;
            }
            operands.clear();
        }
        content.pageRuns.append(placed);
        content.pageTexts.append(runs);
    }
    content.valid = !content.pageSizes.isEmpty();
    return content;
}

} // namespace qvtest
