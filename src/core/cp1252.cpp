#include "core/cp1252.h"

#include <array>

namespace qv::cp1252 {
namespace {

// 0x80..0x9F; the undefined bytes (81, 8D, 8F, 90, 9D) keep their own value.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

int byteFor(char16_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == u)
            return 0x80 + i;
    return -1;
}

} // namespace

QString decode(const char *data, qsizetype size)
{
    QString text(size, Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        out[i] = QChar((b >= 0x80 && b < 0xA0) ? kHigh[b - 0x80] : char16_t(b));
    }
    return text;
}

void decodeAppend(QString &text, const char *data, qsizetype size)
{
    const qsizetype start = text.size();
    text.resize(start + size);
    QChar *out = text.data() + start;
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        out[i] = QChar((b >= 0x80 && b < 0xA0) ? kHigh[b - 0x80] : char16_t(b));
    }
}

QByteArray encode(const QString &input)
{
    // A letter typed or pasted as letter + combining accent is the same
    // character the code page holds precomposed ("e" + U+0301 is 0xE9).
    const QString text = input.normalized(QString::NormalizationForm_C);
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        // A character beyond the BMP is one character: one '?'.
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        const int b = byteFor(c.unicode());
        bytes.append(static_cast<char>(b < 0 ? '?' : b));
    }
    return bytes;
}

bool isPrintable(unsigned char byte)
{
    if (byte < 0x20 || byte == 0x7F)
        return false;
    return !(byte >= 0x80 && byte < 0xA0 && kHigh[byte - 0x80] == byte);
}

bool canEncode(QChar c)
{
    return byteFor(c.unicode()) >= 0;
}

int byteOf(QChar c)
{
    return byteFor(c.unicode());
}

} // namespace qv::cp1252
