#include "cli/csvreader.h"

#include "cli/command.h"
#include "core/cp1252.h"
#include "core/text.h"

#include <QStringDecoder>

namespace qv::cli::csv {

QString decode(const QByteArray &bytes)
{
    QByteArray data = bytes;
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(data);
    if (!utf8.hasError())
        return text;
    return cp1252::decode(data);
}

QList<Row> parse(const QString &text)
{
    const qsizetype firstEnd = text.indexOf(QLatin1Char('\n'));
    const QStringView firstLine = QStringView(text).left(firstEnd < 0 ? text.size() : firstEnd);
    const QChar separator = firstLine.contains(QLatin1Char(';')) && !firstLine.contains(QLatin1Char(','))
                                ? QLatin1Char(';')
                                : QLatin1Char(',');
    const auto malformed = [](int line, const QString &what) {
        return CliError(ExitNegative, QStringLiteral("CSV non valido, riga %1: %2.").arg(line).arg(what));
    };

    QList<Row> rows;
    Row row;
    QString value;
    int line = 1;
    row.line = 1;
    bool quoted = false;    // inside a quoted value
    bool wasQuoted = false; // the value was quoted and its quote closed
    bool blank = true;      // nothing on the row yet
    const auto endValue = [&] {
        row.values.append(value);
        value.clear();
        wasQuoted = false;
    };
    const auto endRow = [&] {
        endValue();
        if (!blank)
            rows.append(row);
        row = Row();
        row.line = line;
        blank = true;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                    value += c;
                    ++i;
                } else {
                    quoted = false;
                    wasQuoted = true;
                }
            } else {
                if (c == QLatin1Char('\n'))
                    ++line;
                value += c;
            }
            continue;
        }
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            continue; // CR LF ends the row at the LF
        if (c == QLatin1Char('\n')) {
            ++line;
            endRow();
            continue;
        }
        if (c == separator) {
            blank = false;
            endValue();
            continue;
        }
        if (c == QLatin1Char('"')) {
            // Blanks before an opening quote are allowed, as after a closing one.
            if (wasQuoted || !trimmed(value).isEmpty())
                throw malformed(line, QStringLiteral("virgolette in mezzo a un valore"));
            value.clear();
            quoted = true;
            blank = false;
            continue;
        }
        if (wasQuoted) {
            if (c.unicode() <= 32)
                continue;
            throw malformed(line, QStringLiteral("testo dopo le virgolette di chiusura"));
        }
        value += c;
        if (c.unicode() > 32)
            blank = false;
    }
    if (quoted)
        throw malformed(row.line, QStringLiteral("virgolette aperte e mai chiuse"));
    endRow();
    return rows;
}

} // namespace qv::cli::csv
