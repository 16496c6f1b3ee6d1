#include "cli/archivekind.h"

#include "archive/filesync.h"
#include "archive/records.h"
#include "cli/command.h"

#include <QFileInfo>

#include <algorithm>

namespace qv::cli {

const QList<ArchiveKind> &archiveKinds()
{
    static const QList<ArchiveKind> kinds{
        {QStringLiteral("events"), QStringLiteral("archivio degli eventi"), &TSchedaEvento::layout(),
         QStringLiteral("Completo"), QStringLiteral("eventi")},
        {QStringLiteral("participants"), QStringLiteral("archivio dei partecipanti"), &TSchedaPartecipante::layout(),
         QStringLiteral("Ricontatta"), QStringLiteral("partecipanti")},
        {QStringLiteral("reservations"), QStringLiteral("archivio dei posti assegnati"),
         &TSchedaPrenotazione::layout(), QStringLiteral("DaConfermare"), QStringLiteral("prenotazioni")},
        {QStringLiteral("attendance"), QStringLiteral("archivio delle presenze"), &TSchedaPresenza::layout(),
         QStringLiteral("Annullato"), QStringLiteral("ingressi")},
        {QStringLiteral("exits"), QStringLiteral("archivio delle uscite"), &TSchedaUscita::layout(),
         QStringLiteral("Annullato"), QStringLiteral("uscite")},
    };
    return kinds;
}

QString kindWords(const QString &separator)
{
    QStringList words;
    for (const ArchiveKind &kind : archiveKinds())
        words.append(kind.word);
    return words.join(separator);
}

const ArchiveKind &kindNamed(const QString &word)
{
    for (const ArchiveKind &kind : archiveKinds())
        if (kind.word == word)
            return kind;
    throw usageError(QStringLiteral("tipo di archivio sconosciuto %1: usare %2.")
                         .arg(quoted(word), kindWords(QStringLiteral(", "))));
}

const ArchiveKind *kindOfFile(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    const auto startsWith = [&](const char *prefix) {
        return name.startsWith(QLatin1String(prefix), Qt::CaseInsensitive);
    };
    if (startsWith("Eventi"))
        return &archiveKinds().at(0);
    if (startsWith("Partecipanti"))
        return &archiveKinds().at(1);
    if (startsWith("Posti_Riservati_Evento_"))
        return &archiveKinds().at(2);
    if (startsWith("Presenze_Evento_"))
        return &archiveKinds().at(3);
    if (startsWith("Uscite_Evento_"))
        return &archiveKinds().at(4);
    return nullptr;
}

const ArchiveKind &kindFor(const QString &path, const QString &kindOption)
{
    if (!kindOption.isEmpty())
        return kindNamed(kindOption);
    if (const ArchiveKind *kind = kindOfFile(path))
        return *kind;
    throw usageError(QStringLiteral("dal nome di %1 non si capisce il tipo di archivio: indicarlo con --kind %2.")
                         .arg(quoted(path), kindWords(QStringLiteral("|"))));
}

qint64 eventCount()
{
    const QFileInfo events(TSchedaEvento::archivePath());
    return events.isFile() ? events.size() / TSchedaEvento::layout().size() : 0;
}

qint64 existingEvent(const QString &argument, const QString &usage)
{
    bool ok = false;
    const qint64 event = argument.toLongLong(&ok);
    if (!ok || event < 1)
        throw usageError(QStringLiteral("indicare il numero dell'evento (da 1 in su): %1.").arg(usage));
    const qint64 events = eventCount();
    if (event > events)
        throw CliError(ExitNegative, QStringLiteral("l'evento numero %1 non esiste (%2 contiene %3 eventi).")
                                         .arg(QString::number(event), TSchedaEvento::archivePath(),
                                              QString::number(events)));
    return event;
}

QByteArray eventRecord(qint64 event)
{
    const int size = TSchedaEvento::layout().size();
    QFile file(TSchedaEvento::archivePath());
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly) && file.seek((event - 1) * size))
        bytes = file.read(size);
    if (bytes.size() != size)
        throw fileError(QStringLiteral("impossibile leggere l'evento numero %1 in %2.")
                            .arg(QString::number(event), quoted(TSchedaEvento::archivePath())));
    return bytes;
}

RawArchive::RawArchive(const QString &path, const QString &kindOption)
    : m_file(path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw fileError(QStringLiteral("l'archivio %1 non esiste.").arg(quoted(path)));
    if (info.isDir())
        throw fileError(QStringLiteral("%1 \u00E8 una cartella, non un archivio.").arg(quoted(path)));
    m_kind = &kindFor(path, kindOption);
    if (!m_file.open(QIODevice::ReadOnly))
        throw fileError(QStringLiteral("impossibile leggere %1: %2.").arg(quoted(path), m_file.errorString()));
    m_size = qv::fileSize(m_file);
    if (m_size < 0)
        throw fileError(QStringLiteral("impossibile leggere %1: %2.").arg(quoted(path), m_file.errorString()));
    ArchiveJournal journal;
    switch (ArchiveJournal::read(path, journal)) {
    case ArchiveJournal::Found::None:
    case ArchiveJournal::Found::Cut:
        break;
    case ArchiveJournal::Found::Unreadable:
        throw fileError(QStringLiteral("impossibile leggere il giornale %1 di una scrittura interrotta: "
                                       "l'archivio non viene letto finch\u00E9 non si sa com'era prima.")
                            .arg(quoted(ArchiveJournal::journalPath(path))));
    case ArchiveJournal::Found::Complete:
        m_before = std::move(journal);
        m_size = m_before->oldSize;
        break;
    }
}

std::optional<TArchivio::Recovery> undoInterruptedWrite(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return TArchivio::Recovery::Nothing; // RawArchive says what is wrong with the path
    try {
        return TArchivio::recoverInterruptedWrite(path);
    } catch (const ArchiveError &) {
        return std::nullopt;
    }
}

bool RawArchive::nextBlock(QByteArray &block, qint64 &first, qint64 maxRecords)
{
    const qint64 count = std::min(maxRecords, recordCount() - m_next);
    if (count <= 0)
        return false;
    const qint64 bytes = count * recordSize();
    block.resize(bytes);
    const qint64 at = m_next * recordSize();
    const qint64 got = m_file.seek(at) ? m_file.read(block.data(), bytes) : -1;
    if (got < 0 || (m_before ? !m_before->patch(block, at, got) : got != bytes))
        throw fileError(QStringLiteral("impossibile leggere %1: %2.").arg(quoted(m_file.fileName()),
                                                                          m_file.errorString()));
    first = m_next;
    m_next += count;
    return true;
}

} // namespace qv::cli
