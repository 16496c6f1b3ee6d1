#include "core/text.h"

namespace qv {

QString trimmed(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 32)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

QString asciiUpper(QString text)
{
    for (QChar &c : text)
        c = QChar(asciiUpper(c.unicode()));
    return text;
}

QString asciiLower(QString text)
{
    for (QChar &c : text)
        c = QChar(asciiLower(c.unicode()));
    return text;
}

int compareAsciiUpper(const QString &a, const QString &b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = asciiUpper(a.at(i).unicode());
        const char16_t y = asciiUpper(b.at(i).unicode());
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

QString padded(const QString &text, int width)
{
    if (text.size() >= width)
        return text.left(width);
    return text + QString(width - text.size(), QLatin1Char(' '));
}

} // namespace qv
