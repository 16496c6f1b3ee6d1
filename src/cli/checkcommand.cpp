#include "cli/checkcommand.h"

#include "archive/fields.h"
#include "archive/tarchivio.h"
#include "cli/archivekind.h"
#include "core/cp1252.h"
#include "core/text.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace qv::cli {
namespace {

// Past this many lines a report only counts: a file checked as the wrong
// kind can have a defect in every field.
constexpr qint64 kShownDefects = 1000;

struct Report
{
    qint64 defects = 0;
    qint64 repairable = 0; // lengths above the declared one, a torn tail
    bool quiet = false;    // only counts
    qint64 damagedRecords = 0; // records whose frame is broken

    void add(const QString &line)
    {
        if (defects++ < kShownDefects && !quiet)
            console::out(line);
    }
};

// Every defect of one record; the program's reading would clamp the lengths
// and show the rest as it stands. True when the record's very frame is
// broken: a length byte above its field's declared length.
bool inspect(const char *record, qint64 number, const ArchiveKind &kind, Report &report)
{
    bool broken = false;
    const QList<RecordLayout::Field> &fields = kind.layout->fields();
    const int yesNo = kind.layout->indexOf(kind.yesNoField);
    for (qsizetype k = 0; k < fields.size(); ++k) {
        const RecordLayout::Field &f = fields.at(k);
        const char *field = record + f.offset;
        const auto where = [&] { return QStringLiteral("Record %1, campo %2: ").arg(number).arg(f.name); };
        const int stored = static_cast<unsigned char>(field[0]);
        if (stored > f.length) {
            broken = true;
            ++report.repairable;
            report.add(where() + QStringLiteral("lunghezza %1 oltre i %2 caratteri dichiarati.").arg(stored).arg(f.length));
        }
        const int used = countedLength(field, f.length);
        for (int i = 0; i < used; ++i) {
            const auto byte = static_cast<unsigned char>(field[1 + i]);
            if (!cp1252::isPrintable(byte)) {
                report.add(where() + QStringLiteral("carattere non stampabile (byte 0x%1) in posizione %2.")
                                         .arg(byte, 2, 16, QLatin1Char('0'))
                                         .arg(i + 1));
                break; // one line per field is enough to find it
            }
        }
        if (k == yesNo) {
            // Empty is what other tools leave, and the program copes with
            // it; only a value that is neither counts.
            const QString text = TestoDaCampo(field, f.length);
            if (!text.isEmpty() && !yesNoValue(text)) {
                // Shown as the length byte has it (within the record), so a
                // "Forse" spilling over the next field reads as written.
                const int shown = std::min<int>(stored, kind.layout->size() - f.offset - 1);
                report.add(where() + QStringLiteral("%1 non \u00E8 n\u00E9 \"S\u00EC\" n\u00E9 \"No\".")
                                         .arg(quoted(trimmed(cp1252::decode(field + 1, shown)))));
            }
        }
    }
    return broken;
}

void clampLengths(char *record, const RecordLayout &layout)
{
    for (const RecordLayout::Field &f : layout.fields())
        if (static_cast<unsigned char>(record[f.offset]) > f.length)
            record[f.offset] = static_cast<char>(f.length);
}

// Every defect of the archive's bytes, record by record, then its tail.
void scan(RawArchive &archive, Report &report)
{
    const ArchiveKind &kind = archive.kind();
    QByteArray block;
    qint64 first = 0;
    while (archive.nextBlock(block, first))
        for (qint64 i = 0; i * archive.recordSize() < block.size(); ++i)
            if (inspect(block.constData() + i * archive.recordSize(), first + i + 1, kind, report))
                ++report.damagedRecords;
    if (archive.tailBytes() > 0) {
        ++report.repairable;
        report.add(QStringLiteral("Coda incompleta: %1 byte dopo l'ultimo record intero (record %2 troncato).")
                       .arg(archive.tailBytes())
                       .arg(archive.recordCount() + 1));
        if (!report.quiet)
            for (const ArchiveKind &other : archiveKinds())
                if (&other != &kind && archive.fileSize() % other.layout->size() == 0)
                    console::out(QStringLiteral("La dimensione del file corrisponde invece a un %1: controllare "
                                                "--kind.")
                                     .arg(other.description));
    }
}

// What was done about a write cut part-way, as the program's next write would.
void reportInterruptedWrite(const QString &path, Report &report)
{
    const std::optional<TArchivio::Recovery> undone = undoInterruptedWrite(path);
    if (!undone) {
        report.add(QStringLiteral("Una scrittura interrotta non ha potuto essere annullata (archivio occupato da "
                                  "un'altra postazione, cartella non scrivibile o giornale illeggibile): il "
                                  "giornale resta e il programma la annuller\u00E0 al prossimo salvataggio; "
                                  "l'archivio \u00E8 letto com'era prima di quella scrittura."));
        return;
    }
    switch (*undone) {
    case TArchivio::Recovery::RolledBack:
        console::out(QStringLiteral("Una scrittura interrotta \u00E8 stata annullata: l'archivio \u00E8 tornato "
                                    "com'era prima di quella scrittura."));
        break;
    case TArchivio::Recovery::Discarded:
        console::out(QStringLiteral("Tolto il giornale di una scrittura interrotta prima di cominciare: "
                                    "l'archivio non era stato toccato."));
        break;
    case TArchivio::Recovery::Nothing:
        break;
    }
}

} // namespace

QString CheckCommand::synopsis() const
{
    return QStringLiteral("check ARCHIVIO [--kind %1] [--repair]").arg(kindWords(QStringLiteral("|")));
}

QString CheckCommand::help() const
{
    return QStringLiteral(
        "Uso: quorvane-cli check ARCHIVIO [--kind %1] [--repair]\n"
        "\n"
        "Legge un archivio (Eventi.pro, Partecipanti.pro, Posti_Riservati_Evento_N.pro, Presenze_Evento_N.pro o\n"
        "Uscite_Evento_N.pro) e riporta il numero di record e ogni difetto: coda incompleta (dimensione non\n"
        "multipla della lunghezza del record), byte di lunghezza oltre la lunghezza dichiarata del campo, campi\n"
        "s\u00EC/no che non valgono n\u00E9 \"S\u00EC\" n\u00E9 \"No\", caratteri fuori dall'insieme stampabile della\n"
        "codifica Windows-1252.\n"
        "Un file in cui la maggior parte dei record ha lunghezze oltre quelle dichiarate non \u00E8 un archivio di\n"
        "quel tipo (un altro archivio, un testo): viene detto, e --repair non ne scrive copie. I caratteri di\n"
        "controllo che un archivio contiene vengono mostrati come \\x1B, mai inviati al terminale.\n"
        "Se una scrittura \u00E8 stata interrotta (una postazione spenta o bloccata mentre salvava: il file\n"
        "ARCHIVIO.journal accanto all'archivio), l'archivio viene prima riportato com'era prima di quella scrittura.\n"
        "\n"
        "  --kind K    tipo di archivio, quando il nome del file non lo dice\n"
        "  --repair    scrive accanto all'originale una copia riparata (NOME_riparato.pro: coda incompleta\n"
        "              tolta, lunghezze riportate a quella dichiarata); l'originale non viene mai toccato\n"
        "\n"
        "Stato di uscita: 0 archivio senza difetti, 1 difetti trovati, 2 uso errato, 3 file illeggibile.")
        .arg(kindWords(QStringLiteral("|")));
}

qint64 CheckCommand::defects(const QString &path)
{
    RawArchive archive(path, {});
    Report report;
    report.quiet = true;
    scan(archive, report);
    return report.defects;
}

QString CheckCommand::repairedPath(const QString &path)
{
    const QFileInfo info(path);
    const QString suffix = info.suffix().isEmpty() ? QString() : QStringLiteral(".") + info.suffix();
    return info.dir().filePath(info.completeBaseName() + QStringLiteral("_riparato") + suffix);
}

int CheckCommand::run(const Arguments &args)
{
    const QString path = args.positional.at(0);
    const QString kindOption = args.value(QStringLiteral("--kind"));
    Report report;
    reportInterruptedWrite(path, report);
    qint64 records = 0;
    const ArchiveKind *kind = nullptr;
    {
        RawArchive archive(path, kindOption);
        kind = &archive.kind();
        records = archive.recordCount();
        // One arg() call: a file name may hold "%2" itself.
        console::out(QStringLiteral("%1: %2, record di %3 byte, %4 record.")
                         .arg(path, kind->description, QString::number(archive.recordSize()),
                              QString::number(records)));
        scan(archive, report);
    }
    if (report.defects > kShownDefects)
        console::out(QStringLiteral("... e altri %1 difetti.").arg(report.defects - kShownDefects));
    if (report.defects == 0) {
        console::out(QStringLiteral("Nessun difetto."));
        return ExitOk;
    }
    console::out(report.defects == 1 ? QStringLiteral("1 difetto.") : QStringLiteral("%1 difetti.").arg(report.defects));
    // A broken frame in most records is no damage: the file is something
    // else (another kind of archive, a text), and a "repaired" copy of it
    // would pass for an archive.
    const bool foreign = report.damagedRecords * 2 > records;
    if (foreign)
        console::out(QStringLiteral("%1 non \u00E8 un archivio di %2: %3 record su %4 sono danneggiati (lunghezze oltre quelle dichiarate dei "
                                    "campi).")
                         .arg(path, kind->contents, QString::number(report.damagedRecords), QString::number(records)));

    if (args.has(QStringLiteral("--repair"))) {
        if (foreign) {
            console::out(QStringLiteral("Nessuna copia riparata: una copia non renderebbe il file un archivio di %1.")
                             .arg(kind->contents));
        } else if (report.repairable == 0) {
            console::out(QStringLiteral("Nessun difetto riparabile: nessuna copia scritta."));
        } else {
            const QString target = repairedPath(path);
            RawArchive archive(path, kindOption);
            // Streamed into a file beside the target that replaces it only
            // once complete.
            QSaveFile copy(target);
            bool written = copy.open(QIODevice::WriteOnly);
            QByteArray block;
            qint64 first = 0;
            while (written && archive.nextBlock(block, first)) {
                for (qint64 i = 0; i * archive.recordSize() < block.size(); ++i)
                    clampLengths(block.data() + i * archive.recordSize(), *archive.kind().layout);
                written = copy.write(block) == block.size();
            }
            if (!written || !copy.commit())
                throw fileError(QStringLiteral("impossibile scrivere la copia riparata %1: %2.")
                                    .arg(quoted(target), copy.errorString()));
            console::out(QStringLiteral("Copia riparata scritta in %1 (%2 record).")
                             .arg(target, QString::number(archive.recordCount())));
        }
    }
    return ExitNegative;
}

} // namespace qv::cli
