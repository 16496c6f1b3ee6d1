#include "cli/dumpcommand.h"

#include "archive/fields.h"
#include "cli/archivekind.h"
#include "core/cp1252.h"

#include <algorithm>
#include <array>
#include <charconv>
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

const ByteTexts &jsonTexts()
{
    static const ByteTexts table = byteTexts(true);
    return table;
}

const ByteTexts &csvTexts()
{
    static const ByteTexts table = byteTexts(false);
    return table;
}

// Writes the bytes of one field as `texts` says. A longer text is copied
// whole (six bytes), its end then taken back: the room kept for a record
// holds six bytes more a field.
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

char *put(char *out, const QByteArray &bytes)
{
    std::memcpy(out, bytes.constData(), size_t(bytes.size()));
    return out + bytes.size();
}

// RFC 4180: a value with a comma, a quote or a line end goes in quotes, its
// quotes doubled.
char *putCsv(char *out, const uchar *text, int size)
{
    const bool quote = std::any_of(text, text + size, [](uchar c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; });
    if (quote)
        *out++ = '"';
    out = putText(out, text, size, csvTexts());
    if (quote)
        *out++ = '"';
    return out;
}

char *putJson(char *out, const uchar *text, int size)
{
    *out++ = '"';
    out = putText(out, text, size, jsonTexts());
    *out++ = '"';
    return out;
}

} // namespace

QString DumpCommand::synopsis() const
{
    return QStringLiteral("dump ARCHIVIO [--kind events|participants|reservations] [--format csv|jsonl]");
}

QString DumpCommand::help() const
{
    return QStringLiteral(
        "Uso: quorvane-cli dump ARCHIVIO [--kind events|participants|reservations] [--format csv|jsonl]\n"
        "\n"
        "Scrive sull'uscita standard ogni record dell'archivio con il suo numero (colonna Record, da 1) e ogni\n"
        "campo per nome, nel testo esatto registrato, in UTF-8. L'archivio viene letto a blocchi: la memoria\n"
        "usata non cresce con il numero dei record.\n"
        "\n"
        "  --format csv     (predefinito) CSV secondo RFC 4180, con una riga di intestazione\n"
        "  --format jsonl   un oggetto JSON per riga\n"
        "  --kind K         tipo di archivio, quando il nome del file non lo dice\n"
        "\n"
        "Una coda incompleta viene ignorata e segnalata sull'errore standard (vedere il comando check).");
}

int DumpCommand::run(const Arguments &args)
{
    const QString format = args.value(QStringLiteral("--format"), QStringLiteral("csv"));
    if (format != QLatin1String("csv") && format != QLatin1String("jsonl"))
        throw usageError(QStringLiteral("formato sconosciuto %1: usare csv o jsonl.").arg(quoted(format)));
    const bool csv = format == QLatin1String("csv");
    const QString path = args.positional.at(0);
    RawArchive archive(path, args.value(QStringLiteral("--kind")));
    const ArchiveKind &kind = archive.kind();
    const auto &fields = kind.layout->fields();

    // What stands before each field once, in UTF-8: a comma, and in JSON the key.
    QList<QByteArray> before;
    for (const RecordLayout::Field &f : fields)
        before.append(csv ? QByteArray(",") : ",\"" + f.name.toUtf8() + "\":");
    const QByteArray start = csv ? QByteArray() : QByteArray("{\"Record\":");
    const QByteArray end = csv ? QByteArray("\r\n") : QByteArray("}\n");
    // The most bytes one record can become: every byte at its widest.
    const int widest = (csv ? csvTexts() : jsonTexts()).widest;
    qsizetype recordRoom = start.size() + 20 + end.size();
    for (qsizetype k = 0; k < fields.size(); ++k)
        recordRoom += before.at(k).size() + 2 + qsizetype(fields.at(k).length) * widest + 6;

    // The output is made in one buffer and written when it is nearly full.
    constexpr qsizetype kOutputBytes = 1 << 20;
    QByteArray buffer(kOutputBytes + recordRoom, Qt::Uninitialized);
    char *const first = buffer.data();
    char *out = first;
    const auto flushOut = [&] {
        console::write(QByteArray::fromRawData(first, out - first));
        out = first;
    };
    if (csv) {
        QByteArray header = "Record";
        for (const RecordLayout::Field &f : fields)
            header += ',' + f.name.toUtf8();
        out = put(out, header + "\r\n");
    }
    QByteArray block;
    qint64 firstRecord = 0;
    while (archive.nextBlock(block, firstRecord)) {
        for (qint64 i = 0; i * archive.recordSize() < block.size(); ++i) {
            const char *record = block.constData() + i * archive.recordSize();
            out = put(out, start);
            out = std::to_chars(out, out + 20, firstRecord + i + 1).ptr;
            for (qsizetype k = 0; k < fields.size(); ++k) {
                const RecordLayout::Field &f = fields.at(k);
                // The text exactly as stored: the length clamped, nothing trimmed.
                const char *field = record + f.offset;
                const auto *text = reinterpret_cast<const uchar *>(field + 1);
                const int size = countedLength(field, f.length);
                out = put(out, before.at(k));
                out = csv ? putCsv(out, text, size) : putJson(out, text, size);
            }
            out = put(out, end);
            if (out - first >= kOutputBytes)
                flushOut();
        }
    }
    flushOut();
    console::flush();
    if (archive.tailBytes() > 0)
        console::error(QStringLiteral("attenzione: %1 byte di coda incompleta ignorati (vedere quorvane-cli check).")
                           .arg(archive.tailBytes()));
    return ExitOk;
}

} // namespace qv::cli
