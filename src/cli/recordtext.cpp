#include "cli/recordtext.h"

#include "core/cp1252.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace qv::cli {

namespace {

// What each Windows-1252 byte becomes in the output: its character in
// UTF-8, escaped as the format wants. Made from the code page once, so that
// fields go from the record's bytes to the output without a QString.
struct ByteTexts
{
    std::array<std::array<char, 6>, 256> text{};
    std::array<uchar, 256> size{};
    // The most bytes one stored byte can become.
    int widest = 1;
};

ByteTexts byteTexts(bool json)
{
    static const char hex[] = "0123456789abcdef";
    ByteTexts t;
    for (int b = 0; b < 256; ++b) {
        const char c = char(b);
        QByteArray out;
        switch (c) {
        case '"': out = json ? "\\\"" : "\"\""; break;
        case '\\': out = json ? "\\\\" : "\\"; break;
        default:
            if (json && b < 0x20) {
                switch (c) {
                case '\n': out = "\\n"; break;
                case '\r': out = "\\r"; break;
                case '\t': out = "\\t"; break;
                default: out = QByteArray("\\u00") + hex[b >> 4] + hex[b & 15];
                }
            } else {
                out = cp1252::decode(&c, 1).toUtf8();
            }
        }
        std::copy_n(out.constData(), out.size(), t.text[b].begin());
        t.size[b] = uchar(out.size());
        t.widest = std::max(t.widest, int(out.size()));
    }
    return t;
}

const ByteTexts &texts(bool json)
{
    static const ByteTexts jsonTable = byteTexts(true);
    static const ByteTexts csvTable = byteTexts(false);
    return json ? jsonTable : csvTable;
}

// Writes the bytes of one field as `texts` says. A longer text is copied
// whole (six bytes), its end then taken back.
char *putText(char *out, const uchar *text, int size, const ByteTexts &texts)
{
    for (const uchar *c = text, *end = text + size; c != end; ++c) {
        if (texts.size[*c] == 1) {
            *out++ = texts.text[*c][0];
        } else {
            std::memcpy(out, texts.text[*c].data(), 6);
            out += texts.size[*c];
        }
    }
    return out;
}

void append(QByteArray &line, const char *text, int size, char *(*put)(char *, const uchar *, int))
{
    const qsizetype old = line.size();
    line.resize(old + 2 + 6 * qsizetype(size) + 6);
    char *end = put(line.data() + old, reinterpret_cast<const uchar *>(text), size);
    line.resize(end - line.constData());
}

} // namespace

int widestByte(bool json)
{
    return texts(json).widest;
}

char *putCsv(char *out, const uchar *text, int size)
{
    const bool quote = std::any_of(text, text + size, [](uchar c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; });
    if (quote)
        *out++ = '"';
    out = putText(out, text, size, texts(false));
    if (quote)
        *out++ = '"';
    return out;
}

char *putJson(char *out, const uchar *text, int size)
{
    *out++ = '"';
    out = putText(out, text, size, texts(true));
    *out++ = '"';
    return out;
}

void appendCsv(QByteArray &line, const char *text, int size)
{
    append(line, text, size, putCsv);
}

void appendJson(QByteArray &line, const char *text, int size)
{
    append(line, text, size, putJson);
}

bool csvFormat(const Arguments &args)
{
    const QString format = args.value(QStringLiteral("--format"), QStringLiteral("csv"));
    if (format != QLatin1String("csv") && format != QLatin1String("jsonl"))
        throw usageError(QStringLiteral("formato sconosciuto %1: usare csv o jsonl.").arg(quoted(format)));
    return format == QLatin1String("csv");
}

} // namespace qv::cli
