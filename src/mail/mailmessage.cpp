#include "mail/mailmessage.h"

#include <QLocale>
#include <QTimeZone>

namespace qv::Mail {

namespace {

bool plainAscii(const QString &text)
{
    for (const QChar c : text)
        if (c.unicode() < 32 || c.unicode() > 126)
            return false;
    return true;
}

// Whether a display name must be quoted (RFC 5322 specials).
bool needsQuotes(const QString &name)
{
    static const QString specials = QStringLiteral("()<>[]:;@\\,.\"");
    for (const QChar c : name)
        if (specials.contains(c))
            return true;
    return false;
}

} // namespace

QByteArray encodedText(const QString &text)
{
    if (plainAscii(text))
        return text.toLatin1();
    // 45 bytes of UTF-8 make 60 characters of base64: with "=?UTF-8?B?" and
    // "?=" a word stays within 75. A character is never split across words.
    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    qsizetype start = 0;
    while (start < utf8.size()) {
        qsizetype end = qMin(start + 45, utf8.size());
        while (end < utf8.size() && (static_cast<unsigned char>(utf8.at(end)) & 0xC0) == 0x80)
            --end;
        if (!out.isEmpty())
            out += "\r\n "; // folded: each encoded word on a line of its own
        out += "=?UTF-8?B?" + utf8.mid(start, end - start).toBase64() + "?=";
        start = end;
    }
    return out;
}

QByteArray mailbox(const QString &name, const QString &address)
{
    const QByteArray addr = "<" + address.toUtf8() + ">";
    if (name.isEmpty())
        return addr;
    if (!plainAscii(name))
        return encodedText(name) + " " + addr;
    if (needsQuotes(name)) {
        QString quoted = name;
        quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('"'), QLatin1String("\\\""));
        return "\"" + quoted.toLatin1() + "\" " + addr;
    }
    return name.toLatin1() + " " + addr;
}

QByteArray dateHeader(const QDateTime &moment)
{
    const QDateTime local = moment.toLocalTime();
    const int offset = local.offsetFromUtc() / 60;
    const QString zone = QStringLiteral("%1%2%3")
                             .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                             .arg(qAbs(offset) / 60, 2, 10, QLatin1Char('0'))
                             .arg(qAbs(offset) % 60, 2, 10, QLatin1Char('0'));
    return (QLocale::c().toString(local, QStringLiteral("ddd, dd MMM yyyy HH:mm:ss ")) + zone).toLatin1();
}

QByteArray messageId(const QString &id, const QString &senderAddress)
{
    QString domain = senderAddress.mid(senderAddress.lastIndexOf(QLatin1Char('@')) + 1);
    if (domain.isEmpty() || !plainAscii(domain))
        domain = QStringLiteral("quorvane.invalid");
    return "<" + id.toLatin1() + "@" + domain.toLatin1() + ">";
}

} // namespace qv::Mail
