#include "imports/xlsxtable.h"

#include "core/regional.h"
#include "core/text.h"

#include <QDate>
#include <QRegularExpression>

#include <cmath>

namespace qv::imports {

namespace {

// The parts a workbook describes itself with are small; the shared texts
// of a large list are not, but still a fraction of the memory.
constexpr qint64 kPartLimit = 64 << 20;
constexpr qint64 kSharedLimit = 256 << 20;

const QString kRelationships = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");

// Excel writes a character XML cannot hold as "_xHHHH_".
QString unescapedText(QString text)
{
    if (!text.contains(QLatin1String("_x")))
        return text;
    static const QRegularExpression escape(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QRegularExpressionMatch m;
    qsizetype from = 0;
    while ((m = escape.match(text, from)).hasMatch()) {
        const QChar c(char16_t(m.captured(1).toUShort(nullptr, 16)));
        text.replace(m.capturedStart(), m.capturedLength(), c);
        from = m.capturedStart() + 1;
    }
    return text;
}

// The text of a string item (<si>, <is>): its <t> elements, the phonetic
// runs (<rPh>) left out. The reader stands on the item's start.
QString itemText(QXmlStreamReader &xml)
{
    QString text;
    const QString item = xml.name().toString();
    int phonetic = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("rPh"))
            ++phonetic;
        else if (xml.isEndElement() && xml.name() == QLatin1String("rPh"))
            --phonetic;
        else if (xml.isStartElement() && xml.name() == QLatin1String("t") && phonetic == 0)
            text += xml.readElementText();
        else if (xml.isEndElement() && xml.name() == item)
            break;
    }
    return unescapedText(text);
}

// "B12" -> 1.
int columnOf(QStringView reference)
{
    int column = 0;
    for (const QChar c : reference) {
        if (c < QLatin1Char('A') || c > QLatin1Char('Z'))
            break;
        column = column * 26 + (c.unicode() - 'A' + 1);
        if (column > 16384)
            return -1;
    }
    return column - 1;
}

bool isDateFormat(int id, const QString &code)
{
    if ((id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) || (id >= 50 && id <= 58))
        return true;
    if (code.isEmpty())
        return false;
    // Quoted texts, escapes and [colour]/[locale] parts say nothing.
    static const QRegularExpression noise(QStringLiteral("\"[^\"]*\"|\\\\.|\\[[^\\]]*\\]"));
    const QString bare = asciiLower(QString(code).remove(noise));
    return bare.contains(QLatin1Char('d')) || bare.contains(QLatin1Char('y'));
}

// The number formats Excel numbers without writing their code.
QString builtInFormat(int id)
{
    switch (id) {
    case 1: return QStringLiteral("0");
    case 2: return QStringLiteral("0.00");
    case 3: return QStringLiteral("#,##0");
    case 4: return QStringLiteral("#,##0.00");
    case 9: return QStringLiteral("0%");
    case 10: return QStringLiteral("0.00%");
    default: return {};
    }
}

// A number as a format code shows it, in the Italian way ("," before the
// decimals, "." between thousands): zero padding ("00000", "000-000"),
// percentages, fixed or at most so many decimals, literal texts around the
// digits. Nothing for what it does not describe (exponents, fractions, text
// sections): the number is then written plainly.
QString formattedNumber(const QString &code, const QString &value)
{
    bool ok = false;
    double number = value.toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return {};
    // The sections: positive;negative;zero;text.
    QStringList sections{QString()};
    bool quoted = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i);
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('\\') && i + 1 < code.size()) {
            sections.last() += code.mid(i++, 2);
            continue;
        }
        if (!quoted && c == QLatin1Char(';'))
            sections.append(QString());
        else
            sections.last() += c;
    }
    QString section = sections.first();
    bool sign = number < 0;
    if (number < 0 && sections.size() > 1) {
        section = sections.at(1); // shows the sign its own way
        sign = false;
    } else if (number == 0 && sections.size() > 2) {
        section = sections.at(2);
    }
    number = std::fabs(number);
    // The pattern: literals and placeholders, with quotes, escapes,
    // brackets and paddings resolved.
    struct Token
    {
        QChar placeholder; // '0', '#', '?', '.', ',', '%', or null for a literal
        QString literal;
    };
    QList<Token> tokens;
    for (qsizetype i = 0; i < section.size(); ++i) {
        const QChar c = section.at(i);
        if (c == QLatin1Char('"')) {
            const qsizetype end = section.indexOf(QLatin1Char('"'), i + 1);
            tokens.append({QChar(), section.mid(i + 1, (end < 0 ? section.size() : end) - i - 1)});
            i = end < 0 ? section.size() : end;
        } else if (c == QLatin1Char('\\') && i + 1 < section.size()) {
            tokens.append({QChar(), section.mid(++i, 1)});
        } else if (c == QLatin1Char('[')) {
            const qsizetype end = section.indexOf(QLatin1Char(']'), i);
            const QString inside = section.mid(i + 1, (end < 0 ? section.size() : end) - i - 1);
            // [$€-410]: a currency symbol, shown; colours and conditions are not.
            if (inside.startsWith(QLatin1Char('$')))
                tokens.append({QChar(), inside.mid(1).section(QLatin1Char('-'), 0, 0)});
            i = end < 0 ? section.size() : end;
        } else if (c == QLatin1Char('_') || c == QLatin1Char('*')) {
            ++i; // room as wide as the next character, or a fill
        } else if (QStringLiteral("0#?.,%").contains(c)) {
            tokens.append({c, {}});
        } else if (QStringLiteral("Ee/@").contains(c) || c.isLetter()) {
            return {};
        } else {
            tokens.append({QChar(), QString(c)});
        }
    }
    int integerZeros = 0, decimalsMin = 0, decimalsMax = 0;
    bool decimals = false, grouped = false, any = false;
    for (const Token &t : std::as_const(tokens)) {
        const QChar p = t.placeholder;
        if (p == QLatin1Char('%')) {
            number *= 100;
        } else if (p == QLatin1Char('.')) {
            decimals = true;
        } else if (p == QLatin1Char(',')) {
            grouped = grouped || (!decimals && any);
        } else if (!p.isNull()) {
            any = true;
            if (decimals) {
                ++decimalsMax;
                decimalsMin += p == QLatin1Char('0') ? 1 : 0;
            } else if (p == QLatin1Char('0')) {
                ++integerZeros;
            }
        }
    }
    if (!any)
        return {};
    QString digits = QString::number(number, 'f', decimalsMax);
    QString fraction;
    if (const qsizetype point = digits.indexOf(QLatin1Char('.')); point >= 0) {
        fraction = digits.mid(point + 1);
        digits.truncate(point);
        while (fraction.size() > decimalsMin && fraction.endsWith(QLatin1Char('0')))
            fraction.chop(1);
    }
    if (digits == QLatin1String("0") && integerZeros == 0)
        digits.clear();
    while (digits.size() < integerZeros)
        digits.prepend(QLatin1Char('0'));
    if (grouped)
        for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
            digits.insert(at, QLatin1Char('.'));
    // The integer digits fill the integer placeholders from the right, the
    // literals between them stay where they are ("000-000"); what is left
    // over goes before the first placeholder.
    qsizetype firstPlaceholder = -1, point = tokens.size();
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const QChar p = tokens.at(i).placeholder;
        if (p == QLatin1Char('.') && point == tokens.size())
            point = i;
        if ((p == QLatin1Char('0') || p == QLatin1Char('#') || p == QLatin1Char('?')) && firstPlaceholder < 0)
            firstPlaceholder = i;
    }
    QString integerText;
    qsizetype left = digits.size();
    for (qsizetype i = std::min(point, tokens.size()) - 1; i >= 0; --i) {
        const Token &t = tokens.at(i);
        if (t.placeholder.isNull()) {
            integerText.prepend(t.literal);
        } else if (t.placeholder == QLatin1Char('0') || t.placeholder == QLatin1Char('#')
                   || t.placeholder == QLatin1Char('?')) {
            if (grouped) {
                if (i == firstPlaceholder) {
                    integerText.prepend(digits);
                    left = 0;
                }
                continue;
            }
            if (left > 0)
                integerText.prepend(digits.at(--left));
            if (i == firstPlaceholder && left > 0) {
                integerText.prepend(digits.left(left));
                left = 0;
            }
        } else if (t.placeholder == QLatin1Char('%')) {
            integerText.prepend(QLatin1Char('%'));
        }
    }
    QString text = integerText;
    if (!fraction.isEmpty())
        text += QLatin1Char(',') + fraction;
    for (qsizetype i = point + 1; i < tokens.size(); ++i) {
        const Token &t = tokens.at(i);
        if (t.placeholder.isNull())
            text += t.literal;
        else if (t.placeholder == QLatin1Char('%'))
            text += QLatin1Char('%');
    }
    return (sign ? QStringLiteral("-") : QString()) + text;
}

// A line break typed in a cell (Alt+Enter) as one blank: a card's box
// holds one line.
QString oneLine(QString text)
{
    if (!text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

QString numberText(const QString &value)
{
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (ok && std::isfinite(number) && number == std::floor(number) && std::fabs(number) < 1e15)
        return QString::number(qint64(number));
    return value;
}

} // namespace

XlsxTable::XlsxTable(const QString &path) : m_path(path), m_zip(path)
{
    if (!m_zip.contains(QStringLiteral("xl/workbook.xml"))) {
        const bool calc = m_zip.contains(QStringLiteral("mimetype"))
                          && m_zip.read(QStringLiteral("mimetype"), 256).startsWith("application/vnd.oasis.opendocument.spreadsheet");
        throw ImportError((calc ? QStringLiteral("%1 \u00E8 un foglio di calcolo OpenDocument (.ods), un formato che non "
                                                 "si pu\u00F2 importare: salvare il foglio come .xlsx o CSV e importare "
                                                 "quello.")
                                : QStringLiteral("%1 \u00E8 un archivio zip ma non una cartella di lavoro di Excel "
                                                 "(.xlsx): salvare il foglio come .xlsx o CSV e importare quello."))
                              .arg(quotedPath(path)));
    }
    readWorkbook();
    readStyles();
    readSharedStrings();
    m_sheet = m_zip.open(m_sheetMember, &m_sheetSize);
    m_xml.setDevice(m_sheet.get());
    SourceRow first;
    if (!next(first))
        throw ImportError(QStringLiteral("il primo foglio di %1 \u00E8 vuoto: manca l'intestazione.").arg(quotedPath(path)));
    m_heading = first.values;
}

XlsxTable::~XlsxTable()
{
    m_xml.setDevice(nullptr);
}

qint64 XlsxTable::done() const
{
    return m_xml.characterOffset(); // close enough to the bytes read for a progress bar
}

void XlsxTable::readWorkbook()
{
    QString relation;
    QXmlStreamReader xml(m_zip.read(QStringLiteral("xl/workbook.xml"), kPartLimit));
    while (!xml.atEnd() && relation.isEmpty()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("workbookPr")) {
            const QStringView v = xml.attributes().value(QLatin1String("date1904"));
            m_date1904 = v == QLatin1String("1") || v == QLatin1String("true");
        } else if (xml.name() == QLatin1String("sheet")) {
            relation = xml.attributes().value(kRelationships, QLatin1String("id")).toString();
        }
    }
    m_sheetMember = QStringLiteral("xl/worksheets/sheet1.xml");
    if (relation.isEmpty() || !m_zip.contains(QStringLiteral("xl/_rels/workbook.xml.rels")))
        return;
    QXmlStreamReader rels(m_zip.read(QStringLiteral("xl/_rels/workbook.xml.rels"), kPartLimit));
    while (!rels.atEnd()) {
        rels.readNext();
        if (rels.isStartElement() && rels.name() == QLatin1String("Relationship")
            && rels.attributes().value(QLatin1String("Id")) == relation) {
            const QString target = rels.attributes().value(QLatin1String("Target")).toString();
            m_sheetMember = target.startsWith(QLatin1Char('/')) ? target.mid(1) : QStringLiteral("xl/") + target;
            break;
        }
    }
}

void XlsxTable::readStyles()
{
    if (!m_zip.contains(QStringLiteral("xl/styles.xml")))
        return;
    QXmlStreamReader xml(m_zip.read(QStringLiteral("xl/styles.xml"), kPartLimit));
    QHash<int, QString> codes;
    bool cellFormats = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("numFmt")) {
            codes.insert(xml.attributes().value(QLatin1String("numFmtId")).toInt(),
                         xml.attributes().value(QLatin1String("formatCode")).toString());
        } else if (xml.name() == QLatin1String("cellXfs")) {
            cellFormats = xml.isStartElement();
        } else if (cellFormats && xml.isStartElement() && xml.name() == QLatin1String("xf")) {
            const int id = xml.attributes().value(QLatin1String("numFmtId")).toInt();
            const QString code = codes.contains(id) ? codes.value(id) : builtInFormat(id);
            m_dateStyles.append(isDateFormat(id, codes.value(id)));
            m_numberFormats.append(m_dateStyles.last() ? QString() : code);
        }
    }
}

void XlsxTable::readSharedStrings()
{
    const QString member = QStringLiteral("xl/sharedStrings.xml");
    m_sharedStarts = {0};
    if (!m_zip.contains(member))
        return;
    const std::unique_ptr<QIODevice> device = m_zip.open(member);
    QXmlStreamReader xml(device.get());
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("si")) {
            m_shared += itemText(xml).toUtf8();
            if (m_shared.size() > kSharedLimit)
                throw ImportError(QStringLiteral("%1: la cartella di lavoro \u00E8 troppo grande per essere letta.")
                                      .arg(quotedPath(m_path)));
            m_sharedStarts.append(quint32(m_shared.size()));
        }
    }
    if (xml.hasError())
        throw ImportError(QStringLiteral("%1 non \u00E8 una cartella di lavoro di Excel leggibile (testi "
                                         "danneggiati).")
                              .arg(quotedPath(m_path)));
    m_shared.squeeze();
    m_sharedStarts.squeeze();
}

QString XlsxTable::sharedString(qsizetype index) const
{
    if (index < 0 || index + 1 >= m_sharedStarts.size())
        return {};
    const quint32 begin = m_sharedStarts.at(index);
    return QString::fromUtf8(m_shared.constData() + begin, m_sharedStarts.at(index + 1) - begin);
}

QString XlsxTable::cellText(const QString &type, int style, const QString &value) const
{
    if (type == QLatin1String("s"))
        return sharedString(value.toLongLong());
    if (type == QLatin1String("inlineStr") || type == QLatin1String("str") || type == QLatin1String("e")
        || type == QLatin1String("b"))
        return value;
    if (type == QLatin1String("d")) {
        const QDate date = QDate::fromString(value.left(10), Qt::ISODate);
        return date.isValid() ? formatDate(date) : value;
    }
    if (style >= 0 && style < m_dateStyles.size() && m_dateStyles.at(style)) {
        bool ok = false;
        const double serial = value.toDouble(&ok);
        if (ok && serial >= 1 && serial < 2958466) {
            // Day 1 is 1 January 1900, and the year 1900 is taken for a leap
            // year, so from 1 March 1900 on the count is one day ahead.
            const qint64 day = qint64(std::floor(serial));
            const QDate date = m_date1904 ? QDate(1904, 1, 1).addDays(day)
                                          : QDate(1899, 12, day < 61 ? 31 : 30).addDays(day);
            return formatDate(date);
        }
    }
    if (style >= 0 && style < m_numberFormats.size() && !m_numberFormats.at(style).isEmpty())
        if (const QString shown = formattedNumber(m_numberFormats.at(style), value); !shown.isEmpty())
            return shown;
    return numberText(value);
}

bool XlsxTable::next(SourceRow &row)
{
    while (!m_xml.atEnd()) {
        m_xml.readNext();
        if (!m_xml.isStartElement() || m_xml.name() != QLatin1String("row"))
            continue;
        const qint64 number = m_xml.attributes().value(QLatin1String("r")).toLongLong();
        row.line = m_lastRow = number > 0 ? number : m_lastRow + 1;
        row.values.clear();
        bool blank = true;
        int nextColumn = 0;
        while (!m_xml.atEnd()) {
            m_xml.readNext();
            if (m_xml.isEndElement() && m_xml.name() == QLatin1String("row"))
                break;
            if (!m_xml.isStartElement() || m_xml.name() != QLatin1String("c"))
                continue;
            const QXmlStreamAttributes attributes = m_xml.attributes();
            const QStringView reference = attributes.value(QLatin1String("r"));
            const int column = reference.isEmpty() ? nextColumn : columnOf(reference);
            const QString type = attributes.value(QLatin1String("t")).toString();
            const QStringView styleText = attributes.value(QLatin1String("s"));
            const int style = styleText.isEmpty() ? -1 : styleText.toInt();
            QString value;
            while (!m_xml.atEnd()) {
                m_xml.readNext();
                if (m_xml.isEndElement() && m_xml.name() == QLatin1String("c"))
                    break;
                if (m_xml.isStartElement() && m_xml.name() == QLatin1String("v"))
                    value = m_xml.readElementText();
                else if (m_xml.isStartElement() && m_xml.name() == QLatin1String("is"))
                    value = itemText(m_xml);
            }
            if (column < 0)
                continue;
            nextColumn = column + 1;
            const QString text = oneLine(cellText(type, style, value));
            if (row.values.size() <= column)
                row.values.resize(column + 1);
            row.values[column] = text;
            if (!trimmed(text).isEmpty())
                blank = false;
        }
        if (!blank) {
            // A worksheet leaves empty cells out: a short row is not short.
            if (row.values.size() < m_heading.size())
                row.values.resize(m_heading.size());
            return true;
        }
    }
    if (m_xml.hasError() && m_xml.error() != QXmlStreamReader::PrematureEndOfDocumentError)
        throw ImportError(QStringLiteral("%1 non \u00E8 una cartella di lavoro di Excel leggibile (foglio "
                                         "danneggiato: %2).")
                              .arg(quotedPath(m_path), m_xml.errorString()));
    if (m_xml.hasError())
        throw ImportError(QStringLiteral("%1 non \u00E8 una cartella di lavoro di Excel leggibile (foglio "
                                         "incompleto).")
                              .arg(quotedPath(m_path)));
    return false;
}

} // namespace qv::imports
