#include "cli/recordtext.h"

#include "core/cp1252.h"

#include <algorithm>
#include <array>

namespace qv::cli {

namespace {

// The UTF-8 of every Windows-1252 byte, taken from the code page once, so
// that fields go from the record's bytes to the output without a QString.
const std::array<QByteArray, 256> &utf8OfByte()
{
    static const std::array<QByteArray, 256> table = [] {
        std::array<QByteArray, 256> t;
        for (int b = 0; b < 256; ++b) {
            const char c = char(b);
            t[b] = cp1252::decode(&c, 1).toUtf8();
        }
        return t;
    }();
    return table;
}

void appendUtf8(QByteArray &line, char c)
{
    if (uchar(c) < 0x80)
        line += c;
    else
        line += utf8OfByte()[uchar(c)];
}

} // namespace

void appendCsv(QByteArray &line, const char *text, int size)
{
    const char *end = text + size;
    const bool quote = std::any_of(text, end, [](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; });
    if (quote)
        line += '"';
    for (const char *c = text; c != end; ++c) {
        if (*c == '"')
            line += '"';
        appendUtf8(line, *c);
    }
    if (quote)
        line += '"';
}

void appendJson(QByteArray &line, const char *text, int size)
{
    static const char hex[] = "0123456789abcdef";
    line += '"';
    for (const char *c = text; c != text + size; ++c) {
        switch (*c) {
        case '"': line += "\\\""; break;
        case '\\': line += "\\\\"; break;
        case '\n': line += "\\n"; break;
        case '\r': line += "\\r"; break;
        case '\t': line += "\\t"; break;
        default:
            if (uchar(*c) < 0x20) {
                line += "\\u00";
                line += hex[uchar(*c) >> 4];
                line += hex[uchar(*c) & 15];
            } else {
                appendUtf8(line, *c);
            }
        }
    }
    line += '"';
}

bool csvFormat(const Arguments &args)
{
    const QString format = args.value(QStringLiteral("--format"), QStringLiteral("csv"));
    if (format != QLatin1String("csv") && format != QLatin1String("jsonl"))
        throw usageError(QStringLiteral("formato sconosciuto %1: usare csv o jsonl.").arg(quoted(format)));
    return format == QLatin1String("csv");
}

} // namespace qv::cli
