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
            m_dateStyles.append(isDateFormat(id, codes.value(id)));
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
            const QString text = cellText(type, style, value);
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
