#include "cli/importcommand.h"

#include "archive/fields.h"
#include "archive/records.h"
#include "archive/tarchivio.h"
#include "cli/csvreader.h"
#include "core/cp1252.h"
#include "core/text.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace qv::cli {
namespace {

const QString kName = QStringLiteral("Cliente");
const QString kYesNo = QStringLiteral("Ricontatta");

// The words a spreadsheet may hold in the yes/no column.
std::optional<bool> yesNoWord(const QString &value)
{
    static const QStringList yes{QStringLiteral("s\u00EC"), QStringLiteral("s\u00CC"), QStringLiteral("si"),
                                 QStringLiteral("s"), QStringLiteral("yes"), QStringLiteral("y"),
                                 QStringLiteral("1"), QStringLiteral("x"), QStringLiteral("vero"),
                                 QStringLiteral("true")};
    static const QStringList no{QString(), QStringLiteral("no"), QStringLiteral("n"), QStringLiteral("0"),
                                QStringLiteral("falso"), QStringLiteral("false")};
    const QString word = asciiLower(value);
    if (yes.contains(word))
        return true;
    if (no.contains(word))
        return false;
    return std::nullopt;
}

QString fieldNames()
{
    QStringList names;
    for (const RecordLayout::Field &f : TSchedaPartecipante::layout().fields())
        names.append(f.name);
    return names.join(QStringLiteral(", "));
}

// The header's columns as field indexes; raises a data error for a column
// that names no field, a field named twice, or no name column.
QList<int> columnsOf(const QStringList &header)
{
    const RecordLayout &layout = TSchedaPartecipante::layout();
    QList<int> columns;
    for (qsizetype c = 0; c < header.size(); ++c) {
        const QString name = trimmed(header.at(c));
        int index = -1;
        for (int f = 0; f < layout.fieldCount(); ++f)
            if (compareAsciiUpper(layout.field(f).name, name) == 0)
                index = f;
        if (index < 0)
            throw CliError(ExitNegative, QStringLiteral("colonna %1 sconosciuta (colonna %2 dell'intestazione); i "
                                                        "campi del partecipante sono: %3.")
                                             .arg(quoted(name), QString::number(c + 1), fieldNames()));
        if (columns.contains(index))
            throw CliError(ExitNegative, QStringLiteral("la colonna %1 compare due volte nell'intestazione.")
                                             .arg(quoted(layout.field(index).name)));
        columns.append(index);
    }
    if (!columns.contains(layout.indexOf(kName)))
        throw CliError(ExitNegative, QStringLiteral("manca la colonna Cliente (cognome e nome), senza la quale "
                                                    "nessuna scheda viene registrata."));
    return columns;
}

struct Problems
{
    int count = 0;
    void report(int line, const QString &what)
    {
        ++count;
        console::error(QStringLiteral("riga %1, %2").arg(line).arg(what));
    }
};

// What is wrong with the characters of a value, or an empty text: the first
// character the code page cannot hold (the conversion stores '?' for it) or
// a control character, which is mended to a blank.
QString unfitCharacter(QString &value, bool force)
{
    QString what;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar ch = value.at(i);
        if (!cp1252::canEncode(ch)) {
            if (what.isEmpty())
                what = QStringLiteral("il carattere %1 non \u00E8 rappresentabile in Windows-1252%2.")
                           .arg(quoted(value.mid(i, ch.isHighSurrogate() ? 2 : 1)),
                                force ? QStringLiteral(" (sostituito da ?)") : QString());
        } else if (!cp1252::isPrintable(static_cast<unsigned char>(cp1252::encode(QString(ch)).at(0)))) {
            if (what.isEmpty())
                what = QStringLiteral("carattere di controllo di codice %1%2.")
                           .arg(ch.unicode())
                           .arg(force ? QStringLiteral(" (sostituito da uno spazio)") : QString());
            value[i] = QLatin1Char(' ');
        }
    }
    return what;
}

// The participant of one data row, or nothing when the row is to be skipped.
// Every problem is reported; those --force mends are mended in the record.
std::optional<TSchedaPartecipante> participantOf(const csv::Row &row, const QList<int> &columns, bool force,
                                                 Problems &problems)
{
    // Spreadsheets end their files with rows of empty cells.
    if (std::all_of(row.values.begin(), row.values.end(), [](const QString &v) { return trimmed(v).isEmpty(); }))
        return std::nullopt;
    if (row.values.size() != columns.size()) {
        problems.report(row.line, QStringLiteral("%1 valori invece di %2 (riga saltata).")
                                      .arg(row.values.size())
                                      .arg(columns.size()));
        return std::nullopt;
    }
    const RecordLayout &layout = TSchedaPartecipante::layout();
    const int yesNoField = layout.indexOf(kYesNo);
    TSchedaPartecipante record;
    record.setYesNo(kYesNo, false);
    bool skip = false;
    for (qsizetype c = 0; c < columns.size(); ++c) {
        const RecordLayout::Field &field = layout.field(columns.at(c));
        const QString where = QStringLiteral("colonna %1 (%2): ").arg(c + 1).arg(field.name);
        // Composed first, so a letter and its accent make one character.
        QString value = trimmed(row.values.at(c).normalized(QString::NormalizationForm_C));
        if (columns.at(c) == yesNoField) {
            if (const std::optional<bool> yes = yesNoWord(value)) {
                record.setYesNo(kYesNo, *yes);
            } else {
                problems.report(row.line, where + QStringLiteral("%1 non \u00E8 n\u00E9 S\u00EC n\u00E9 No (riga "
                                                                 "saltata).")
                                              .arg(quoted(value)));
                skip = true;
            }
            continue;
        }
        const QString unfit = unfitCharacter(value, force);
        if (!unfit.isEmpty())
            problems.report(row.line, where + unfit);
        value = trimmed(value);
        if (value.size() > field.length)
            problems.report(row.line, where + QStringLiteral("testo di %1 caratteri, il campo ne contiene al "
                                                             "massimo %2%3.")
                                          .arg(value.size())
                                          .arg(field.length)
                                          .arg(force ? QStringLiteral(" (accorciato)") : QString()));
        record.setText(columns.at(c), value); // cut to the field, as the card's conversion does
    }
    if (!skip && record.text(kName).isEmpty()) {
        problems.report(row.line, QStringLiteral("colonna %1 (Cliente): manca il cognome e nome (riga saltata).")
                                      .arg(columns.indexOf(layout.indexOf(kName)) + 1));
        skip = true;
    }
    if (skip)
        return std::nullopt;
    return record;
}

} // namespace

QString ImportCommand::synopsis() const
{
    return QStringLiteral("import participants FILE.csv [--dry-run] [--force]");
}

QString ImportCommand::help() const
{
    return QStringLiteral(
               "Uso: quorvane-cli import participants FILE.csv [--dry-run] [--force]\n"
               "\n"
               "Aggiunge in fondo a Partecipanti.pro, nella cartella del programma, un partecipante per ogni riga del\n"
               "file CSV (UTF-8 o Windows-1252, separatore virgola o punto e virgola). La prima riga nomina i campi:\n"
               "%1.\n"
               "La colonna Cliente (cognome e nome) \u00E8 obbligatoria; Ricontatta accetta S\u00EC/No (anche si, s, 1, "
               "x, 0, vuoto).\n"
               "I testi vengono ripuliti come nella scheda (spazi iniziali e finali tolti). Un valore pi\u00F9 lungo "
               "del campo,\n"
               "con caratteri che Windows-1252 non rappresenta o con caratteri di controllo viene segnalato con riga "
               "e colonna,\n"
               "e in tal caso non viene importato nulla.\n"
               "\n"
               "  --dry-run   controlla e riferisce senza scrivere nulla\n"
               "  --force     importa ugualmente: valori accorciati, caratteri sostituiti, righe senza nome saltate\n"
               "\n"
               "Stato di uscita: 0 importazione riuscita, 1 dati rifiutati, 2 uso errato, 3 file illeggibile o "
               "archivio non scrivibile.")
        .arg(fieldNames());
}

int ImportCommand::run(const Arguments &args)
{
    if (args.positional.at(0) != QLatin1String("participants"))
        throw usageError(QStringLiteral("si possono importare solo i partecipanti: quorvane-cli import participants "
                                        "FILE.csv."));
    const bool force = args.has(QStringLiteral("--force"));
    const QString source = args.positional.at(1);
    const QFileInfo info(source);
    if (!info.exists())
        throw fileError(QStringLiteral("il file %1 non esiste.").arg(quoted(source)));
    if (info.isDir())
        throw fileError(QStringLiteral("%1 \u00E8 una cartella, non un file CSV.").arg(quoted(source)));
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        throw fileError(QStringLiteral("impossibile leggere %1: %2.").arg(quoted(source), file.errorString()));
    const QList<csv::Row> rows = csv::parse(csv::decode(file.readAll()));
    file.close();
    if (rows.isEmpty())
        throw CliError(ExitNegative, QStringLiteral("il file %1 \u00E8 vuoto: manca l'intestazione.").arg(quoted(source)));
    const QList<int> columns = columnsOf(rows.first().values);
    Problems problems;
    QList<TSchedaPartecipante> records;
    for (qsizetype r = 1; r < rows.size(); ++r)
        if (std::optional<TSchedaPartecipante> record = participantOf(rows.at(r), columns, force, problems))
            records.append(*record);

    const QString target = TSchedaPartecipante::archivePath();
    if (problems.count > 0 && !force) {
        console::error(QStringLiteral("nessun partecipante importato: %1 problemi nel file (con --force si importa "
                                      "ugualmente, accorciando i valori e saltando le righe indicate).")
                           .arg(problems.count));
        return ExitNegative;
    }
    if (args.has(QStringLiteral("--dry-run"))) {
        console::out(QStringLiteral("Prova: %1 partecipanti pronti per %2; non \u00E8 stato scritto nulla.")
                         .arg(records.size())
                         .arg(target));
        return ExitOk;
    }
    // One block under one lock: all the records or none, numbered as they
    // landed even when another desk appends at the same time.
    QByteArray bytes;
    bytes.reserve(records.size() * TSchedaPartecipante::layout().size());
    for (const TSchedaPartecipante &record : std::as_const(records))
        bytes += record.bytes();
    const qint64 written = records.size();
    qint64 last = 0;
    if (written > 0) {
        try {
            // Through the program's own archive code, like a card being saved.
            TArchivio archive(target, TSchedaPartecipante::layout().size());
            last = archive.Append(bytes);
            archive.Close();
        } catch (const ArchiveError &) {
            throw fileError(QStringLiteral("impossibile scrivere l'archivio %1 (accertarsi di possedere i privilegi "
                                           "di scrittura nella cartella del programma); nessun partecipante "
                                           "aggiunto.")
                                .arg(quoted(target)));
        }
    }
    const qint64 first = last - written + 1;
    if (written == 0)
        console::out(QStringLiteral("Nessun partecipante da importare."));
    else
        console::out(QStringLiteral("Importati %1 partecipanti in %2 (record da %3 a %4).")
                         .arg(QString::number(written), target, QString::number(first),
                              QString::number(first + written - 1)));
    return ExitOk;
}

} // namespace qv::cli
