#include "imports/htmltable.h"

#include "core/cp1252.h"
#include "core/text.h"

#include <QHash>

namespace qv::imports {

namespace {

constexpr qint64 kBlock = 1 << 16;

QString skippedStart(const QByteArray &start)
{
    QByteArray text = start.startsWith("\xEF\xBB\xBF") ? start.mid(3) : start;
    return QString::fromLatin1(text.trimmed().left(512)).toLower();
}

// A character reference or entity at `at` ('&'), its character and length;
// nothing for a lone '&'.
bool reference(QStringView html, qsizetype at, QString &text, qsizetype &length)
{
    const qsizetype end = html.indexOf(QLatin1Char(';'), at);
    if (end < 0 || end - at > 10)
        return false;
    const QStringView name = html.sliced(at + 1, end - at - 1);
    length = end - at + 1;
    if (name.startsWith(QLatin1Char('#'))) {
        bool ok = false;
        const bool hex = name.size() > 1 && (name.at(1) == QLatin1Char('x') || name.at(1) == QLatin1Char('X'));
        const uint code = name.sliced(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
        if (!ok || code == 0 || code > 0x10FFFF)
            return false;
        const char32_t c = code;
        text = QString::fromUcs4(&c, 1);
        return true;
    }
    static const QHash<QString, QString> names{
        {QStringLiteral("amp"), QStringLiteral("&")},   {QStringLiteral("lt"), QStringLiteral("<")},
        {QStringLiteral("gt"), QStringLiteral(">")},    {QStringLiteral("quot"), QStringLiteral("\"")},
        {QStringLiteral("apos"), QStringLiteral("'")},  {QStringLiteral("nbsp"), QStringLiteral(" ")},
        {QStringLiteral("euro"), QStringLiteral("\u20AC")}};
    const auto it = names.constFind(name.toString());
    if (it == names.constEnd())
        return false;
    text = *it;
    return true;
}

} // namespace

bool HtmlTable::looksLikeHtml(const QByteArray &start)
{
    const QString text = skippedStart(start);
    return text.startsWith(QLatin1String("<html")) || text.startsWith(QLatin1String("<!doctype html"))
           || text.startsWith(QLatin1String("<table")) || (text.startsWith(QLatin1Char('<')) && text.contains(QLatin1String("<html")));
}

QString HtmlTable::cellText(QStringView html)
{
    QString text;
    bool blank = false; // a literal blank waiting, folded with those after it
    for (qsizetype i = 0; i < html.size(); ++i) {
        const QChar c = html.at(i);
        if (c == QLatin1Char('<')) {
            const qsizetype end = html.indexOf(QLatin1Char('>'), i);
            const QStringView tag = html.sliced(i, (end < 0 ? html.size() : end + 1) - i);
            if (tag.startsWith(QLatin1String("<br"), Qt::CaseInsensitive))
                blank = true;
            i = end < 0 ? html.size() : end;
            continue;
        }
        if (c.unicode() <= 32) {
            blank = true;
            continue;
        }
        if (blank && !text.isEmpty())
            text += QLatin1Char(' ');
        blank = false;
        QString character;
        qsizetype length = 0;
        if (c == QLatin1Char('&') && reference(html, i, character, length)) {
            text += character;
            i += length - 1;
        } else {
            text += c;
        }
    }
    return text;
}

HtmlTable::HtmlTable(const QString &path) : m_path(path), m_file(path)
{
    if (!m_file.open(QIODevice::ReadOnly))
        throw ImportError(QStringLiteral("impossibile leggere %1: %2.").arg(quotedPath(path), m_file.errorString()),
                          ImportError::Cause::Unreadable);
    m_total = m_file.size();
    // The page says its character set near its start.
    const QString start = QString::fromLatin1(m_file.peek(4096)).toLower();
    m_utf8 = start.contains(QLatin1String("charset=utf-8")) || start.contains(QLatin1String("charset=\"utf-8"))
             || start.startsWith(QStringLiteral("\u00EF\u00BB\u00BF"));
    m_decoder = QStringDecoder(QStringDecoder::Utf8);
    SourceRow first;
    if (!next(first))
        throw ImportError(QStringLiteral("%1 \u00E8 una pagina web senza tabella: manca l'intestazione.").arg(quotedPath(path)));
    m_heading = first.values;
}

bool HtmlTable::nextRowMarkup(QString &markup)
{
    // What is read but not yet taken starts at m_at: the buffer is cut only
    // when a block is added, not at every row.
    const auto find = [&](const char *tag, qsizetype from) {
        return m_buffer.indexOf(QLatin1String(tag), from, Qt::CaseInsensitive);
    };
    for (;;) {
        if (!m_inTable) {
            if (const qsizetype table = find("<table", m_at); table >= 0) {
                m_at = table;
                m_inTable = true;
            }
        }
        if (m_inTable) {
            const qsizetype open = find("<tr", m_at);
            // The end of the table, looked for before the row only: a search
            // to the end of the buffer at every row would read it again and again.
            qsizetype tableEnd = QStringView(m_buffer)
                                     .sliced(m_at, (open < 0 ? m_buffer.size() : open) - m_at)
                                     .indexOf(QLatin1String("</table"), 0, Qt::CaseInsensitive);
            if (tableEnd >= 0)
                tableEnd += m_at;
            if (tableEnd >= 0 && (open < 0 || tableEnd < open)) {
                m_ended = true; // the first table only
                return false;
            }
            if (open >= 0) {
                // A row ends at its </tr>, or where the next row or the table
                // begins (HTML lets </tr> out).
                qsizetype close = find("</tr", open + 3);
                const qsizetype nextRow = find("<tr", open + 3);
                if (close < 0 || (nextRow >= 0 && nextRow < close))
                    close = nextRow >= 0 ? nextRow : find("</table", open + 3);
                if (close >= 0) {
                    markup = m_buffer.mid(open, close - open);
                    m_at = close;
                    return true;
                }
            }
        }
        if (m_ended || m_file.atEnd()) {
            const qsizetype open = m_inTable && !m_ended ? find("<tr", m_at) : -1;
            m_ended = true;
            if (open < 0)
                return false;
            markup = m_buffer.mid(open); // the last row of a page cut short
            m_at = m_buffer.size();
            return true;
        }
        const QByteArray block = m_file.read(kBlock);
        if (block.isEmpty() && m_file.error() != QFileDevice::NoError)
            throw ImportError(QStringLiteral("impossibile leggere %1: %2.").arg(quotedPath(m_path), m_file.errorString()),
                              ImportError::Cause::Unreadable);
        m_done += block.size();
        m_buffer.remove(0, m_inTable ? m_at : std::max<qsizetype>(0, m_buffer.size() - 8)); // "<table" may straddle blocks
        m_at = 0;
        m_buffer += m_utf8 ? m_decoder.decode(block) : cp1252::decode(block);
    }
}

bool HtmlTable::next(SourceRow &row)
{
    QString markup;
    for (;;) {
        if (!nextRowMarkup(markup))
            return false;
        ++m_row;
        row.line = m_row;
        row.values.clear();
        bool blank = true;
        // One pass over the tags of the row: a cell starts after <td ...> or
        // <th ...> and ends at its end tag or where the next cell starts.
        qsizetype content = -1; // where the open cell's text starts
        const auto endCell = [&](qsizetype at) {
            if (content < 0)
                return;
            const QString text = cellText(QStringView(markup).sliced(content, at - content));
            row.values.append(text);
            if (!trimmed(text).isEmpty())
                blank = false;
            content = -1;
        };
        for (qsizetype at = markup.indexOf(QLatin1Char('<')); at >= 0; at = markup.indexOf(QLatin1Char('<'), at + 1)) {
            const QStringView tag = QStringView(markup).sliced(at, std::min<qsizetype>(5, markup.size() - at));
            const bool opens = tag.startsWith(QLatin1String("<td"), Qt::CaseInsensitive)
                               || tag.startsWith(QLatin1String("<th"), Qt::CaseInsensitive);
            const bool closes = tag.startsWith(QLatin1String("</td"), Qt::CaseInsensitive)
                                || tag.startsWith(QLatin1String("</th"), Qt::CaseInsensitive);
            if (opens && tag.size() > 3 && tag.at(3).isLetter())
                continue; // <thead> and the like
            if (opens || closes)
                endCell(at);
            if (opens) {
                const qsizetype close = markup.indexOf(QLatin1Char('>'), at);
                if (close < 0)
                    break;
                content = close + 1;
                at = close;
            }
        }
        endCell(markup.size());
        if (!blank) {
            if (row.values.size() < m_heading.size())
                row.values.resize(m_heading.size());
            return true;
        }
    }
    return false;
}

} // namespace qv::imports
