#include "eventday/badgecode.h"

#include "core/text.h"

#include <QStringList>

namespace qv::BadgeCode {

namespace {

const QByteArray kPrefix("QV1");

bool keptAsItIs(uchar c)
{
    return c > 32 && c < 127 && c != ';' && c != '%';
}

QByteArray encodedSeat(const QString &seat)
{
    static const char hex[] = "0123456789ABCDEF";
    QByteArray out;
    for (const char c : trimmed(seat).toUtf8()) {
        const uchar u = uchar(c);
        if (keptAsItIs(u)) {
            out += c;
        } else {
            out += '%';
            out += hex[u >> 4];
            out += hex[u & 15];
        }
    }
    return out;
}

// The seat back from its encoded form; nothing when a "%" is not followed by
// two hexadecimal digits, a character should have been encoded, or the bytes
// are not UTF-8.
std::optional<QString> decodedSeat(const QString &encoded)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        const QChar c = encoded.at(i);
        if (c != QLatin1Char('%')) {
            if (c.unicode() > 0xFF || !keptAsItIs(uchar(c.unicode())))
                return std::nullopt;
            bytes += char(c.unicode());
            continue;
        }
        const int high = i + 1 < encoded.size() ? hexDigit(encoded.at(i + 1)) : -1;
        const int low = i + 2 < encoded.size() ? hexDigit(encoded.at(i + 2)) : -1;
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes += char(high * 16 + low);
        i += 2;
    }
    const QString text = QString::fromUtf8(bytes);
    if (text.toUtf8() != bytes)
        return std::nullopt; // not UTF-8
    return text;
}

std::optional<qint64> number(const QString &part, QChar marker)
{
    if (part.size() < 2 || asciiUpper(part.left(1)) != QString(marker))
        return std::nullopt;
    const QString digits = part.mid(1);
    if (digits.size() > 18)
        return std::nullopt;
    for (const QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    const qint64 value = digits.toLongLong();
    if (value < 1)
        return std::nullopt;
    return value;
}

} // namespace

QByteArray text(qint64 event, qint64 record, const QString &seat)
{
    return kPrefix + ";E" + QByteArray::number(event) + ";R" + QByteArray::number(record) + ";P" + encodedSeat(seat);
}

bool looksLikeCode(const QString &typed)
{
    const QString t = asciiUpper(trimmed(typed));
    return t.size() >= 4 && t.startsWith(QLatin1String("QV")) && t.at(2).isDigit() && t.at(3) == QLatin1Char(';');
}

std::optional<Code> parse(const QString &scanned)
{
    const QStringList parts = trimmed(scanned).split(QLatin1Char(';'));
    if (parts.size() != 4 || asciiUpper(parts.at(0)) != QLatin1String(kPrefix))
        return std::nullopt;
    const std::optional<qint64> event = number(parts.at(1), QLatin1Char('E'));
    const std::optional<qint64> record = number(parts.at(2), QLatin1Char('R'));
    if (!event || !record || parts.at(3).size() < 2 || asciiUpper(parts.at(3).left(1)) != QLatin1String("P"))
        return std::nullopt;
    const std::optional<QString> seat = decodedSeat(parts.at(3).mid(1));
    if (!seat)
        return std::nullopt;
    return Code{*event, *record, *seat};
}

} // namespace qv::BadgeCode
