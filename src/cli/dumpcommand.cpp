#include "cli/dumpcommand.h"

#include "archive/fields.h"
#include "cli/archivekind.h"
#include "cli/recordtext.h"

#include <charconv>
#include <cstring>

namespace qv::cli {
namespace {

char *put(char *out, const QByteArray &bytes)
{
    std::memcpy(out, bytes.constData(), size_t(bytes.size()));
    return out + bytes.size();
}

} // namespace

QString DumpCommand::synopsis() const
{
    return QStringLiteral("dump ARCHIVIO [--kind %1] [--format csv|jsonl]").arg(kindWords(QStringLiteral("|")));
}

QString DumpCommand::help() const
{
    return QStringLiteral(
        "Uso: quorvane-cli dump ARCHIVIO [--kind %1] [--format csv|jsonl]\n"
        "\n"
        "Scrive sull'uscita standard ogni record dell'archivio con il suo numero (colonna Record, da 1) e ogni\n"
        "campo per nome, nel testo esatto registrato, in UTF-8. L'archivio viene letto a blocchi: la memoria\n"
        "usata non cresce con il numero dei record.\n"
        "\n"
        "  --format csv     (predefinito) CSV secondo RFC 4180, con una riga di intestazione\n"
        "  --format jsonl   un oggetto JSON per riga\n"
        "  --kind K         tipo di archivio, quando il nome del file non lo dice\n"
        "\n"
        "Una coda incompleta viene ignorata e segnalata sull'errore standard (vedere il comando check). Una\n"
        "scrittura interrotta viene prima annullata, come fa check; dove non si pu\u00F2 (cartella di sola\n"
        "lettura) l'archivio viene letto com'era prima di quella scrittura.")
        .arg(kindWords(QStringLiteral("|")));
}

int DumpCommand::run(const Arguments &args)
{
    const bool csv = csvFormat(args);
    const QString path = args.positional.at(0);
    // The records as the program reads them: never a write half done.
    const std::optional<TArchivio::Recovery> undone = undoInterruptedWrite(path);
    if (!undone)
        console::error(QStringLiteral("attenzione: una scrittura interrotta non ha potuto essere annullata; "
                                      "l'archivio \u00E8 letto com'era prima di quella scrittura."));
    else if (*undone == TArchivio::Recovery::RolledBack)
        console::error(QStringLiteral("attenzione: una scrittura interrotta \u00E8 stata annullata: l'archivio "
                                      "\u00E8 tornato com'era prima di quella scrittura."));
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
    const int widest = widestByte(!csv);
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
