#include "output/contentlines.h"

namespace qv {

namespace {
constexpr qsizetype kLineOctets = 75;

bool continues(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}
} // namespace

void ContentLines::line(QByteArrayView name, const QString &value)
{
    const QByteArray bytes = name.toByteArray() + ':' + value.toUtf8();
    qsizetype at = 0;
    qsizetype room = kLineOctets;
    while (bytes.size() - at > room) {
        qsizetype end = at + room;
        while (end > at && continues(bytes.at(end)))
            --end;
        m_out.put(QByteArrayView(bytes).sliced(at, end - at));
        m_out.put("\r\n ");
        at = end;
        room = kLineOctets - 1; // the blank that opens a continuation counts
    }
    m_out.put(QByteArrayView(bytes).sliced(at));
    m_out.put("\r\n");
}

QString ContentLines::text(const QString &value, Semicolon semicolon)
{
    QString out;
    out.reserve(value.size() + 8);
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        switch (c.unicode()) {
        case u'\\': out += QLatin1String("\\\\"); break;
        case u';': out += semicolon == Semicolon::Escaped ? QLatin1String("\\;") : QLatin1String(";"); break;
        case u',': out += QLatin1String("\\,"); break;
        case u'\r':
            if (i + 1 < value.size() && value.at(i + 1) == QLatin1Char('\n'))
                ++i;
            out += QLatin1String("\\n");
            break;
        case u'\n': out += QLatin1String("\\n"); break;
        default:
            out += c.unicode() < 32 || c.unicode() == 127 ? QChar(u' ') : c;
        }
    }
    return out;
}

} // namespace qv
