#include "cli/dumpcommand.h"

#include "archive/fields.h"
#include "cli/archivekind.h"
#include "cli/recordtext.h"

namespace qv::cli {

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
    const bool csv = csvFormat(args);
    const QString path = args.positional.at(0);
    RawArchive archive(path, args.value(QStringLiteral("--kind")));
    const ArchiveKind &kind = archive.kind();
    const auto &fields = kind.layout->fields();

    // Names of the fields once, in UTF-8, for the header or the JSON keys.
    QList<QByteArray> keys;
    for (const RecordLayout::Field &f : fields)
        keys.append('"' + f.name.toUtf8() + "\":");
    QByteArray out;
    if (csv) {
        out += "Record";
        for (const RecordLayout::Field &f : fields)
            out += ',' + f.name.toUtf8();
        out += "\r\n";
    }
    QByteArray block;
    qint64 first = 0;
    while (archive.nextBlock(block, first)) {
        for (qint64 i = 0; i * archive.recordSize() < block.size(); ++i) {
            const char *record = block.constData() + i * archive.recordSize();
            const QByteArray number = QByteArray::number(first + i + 1);
            out += csv ? number : "{\"Record\":" + number;
            for (qsizetype k = 0; k < fields.size(); ++k) {
                const RecordLayout::Field &f = fields.at(k);
                // The text exactly as stored: the length clamped, nothing trimmed.
                const char *field = record + f.offset;
                const int size = countedLength(field, f.length);
                if (csv) {
                    out += ',';
                    appendCsv(out, field + 1, size);
                } else {
                    out += ',';
                    out += keys.at(k);
                    appendJson(out, field + 1, size);
                }
            }
            out += csv ? "\r\n" : "}\n";
        }
        console::write(out);
        out.clear();
    }
    console::write(out);
    console::flush();
    if (archive.tailBytes() > 0)
        console::error(QStringLiteral("attenzione: %1 byte di coda incompleta ignorati (vedere quorvane-cli check).")
                           .arg(archive.tailBytes()));
    return ExitOk;
}

} // namespace qv::cli
