#include "imports/csvtable.h"

#include "core/text.h"

namespace qv::imports {

namespace {

bool isLineEnd(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

ImportError malformed(qint64 line, const QString &what)
{
    return ImportError(QStringLiteral("CSV non valido, riga %1: %2.").arg(line).arg(what));
}

} // namespace

CsvTable::CsvTable(const QString &path) : m_text(path), m_chars(m_text)
{
    m_separator = detectSeparator();
    SourceRow first;
    if (!readRow(first))
        throw ImportError(QStringLiteral("il file %1 \u00E8 vuoto: manca l'intestazione.").arg(quotedPath(path)));
    m_heading = first.values;
}

// The separator the heading line uses most, outside quotes: a semicolon
// where it has more semicolons than commas, a comma otherwise.
QChar CsvTable::detectSeparator()
{
    int semicolons = 0, commas = 0;
    bool quoted = false;
    for (const QChar c : m_chars.buffered()) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && isLineEnd(c))
            break;
        else if (!quoted && c == QLatin1Char(';'))
            ++semicolons;
        else if (!quoted && c == QLatin1Char(','))
            ++commas;
    }
    return semicolons > commas ? QLatin1Char(';') : QLatin1Char(',');
}

bool CsvTable::next(SourceRow &row)
{
    return readRow(row);
}

bool CsvTable::readRow(SourceRow &row)
{
    for (;;) {
        row.values.clear();
        QString value;
        bool quoted = false;    // inside a quoted value
        bool wasQuoted = false; // the value was quoted and its quote closed
        bool blank = true;      // nothing but blanks on the row so far
        bool any = false;       // a character was read
        qint64 quoteLine = 0;
        QChar c;
        while (m_chars.get(c)) {
            if (!any) {
                row.line = m_chars.line();
                any = true;
            }
            if (quoted) {
                if (c == QLatin1Char('"')) {
                    QChar next;
                    if (m_chars.peek(next) && next == QLatin1Char('"')) {
                        m_chars.get(next);
                        value += c;
                    } else {
                        quoted = false;
                        wasQuoted = true;
                    }
                } else if (isLineEnd(c)) {
                    // One blank for CR LF, LF or CR.
                    QChar next;
                    if (c == QLatin1Char('\r') && m_chars.peek(next) && next == QLatin1Char('\n'))
                        m_chars.get(next);
                    value += QLatin1Char(' ');
                } else {
                    value += c;
                }
                continue;
            }
            if (isLineEnd(c)) {
                QChar next;
                if (c == QLatin1Char('\r') && m_chars.peek(next) && next == QLatin1Char('\n'))
                    m_chars.get(next);
                break;
            }
            if (c == m_separator) {
                blank = false;
                row.values.append(value);
                value.clear();
                wasQuoted = false;
                continue;
            }
            if (c == QLatin1Char('"')) {
                // Blanks before an opening quote are allowed, as after a closing one.
                if (wasQuoted || !trimmed(value).isEmpty())
                    throw malformed(m_chars.line(), QStringLiteral("virgolette in mezzo a un valore"));
                value.clear();
                quoted = true;
                quoteLine = row.line;
                blank = false;
                continue;
            }
            if (wasQuoted) {
                if (c.unicode() <= 32)
                    continue;
                throw malformed(m_chars.line(), QStringLiteral("testo dopo le virgolette di chiusura"));
            }
            value += c;
            if (c.unicode() > 32)
                blank = false;
        }
        if (quoted)
            throw malformed(quoteLine, QStringLiteral("virgolette aperte e mai chiuse"));
        if (!any)
            return false;
        row.values.append(value);
        if (!blank)
            return true;
    }
}

} // namespace qv::imports
