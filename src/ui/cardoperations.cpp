#include "ui/cardoperations.h"

#include "archive/tarchivio.h"
#include "core/text.h"

#include <QLabel>
#include <QWidget>

namespace qv {

const QString CardOperations::kEmptyArchive = QStringLiteral("L'archivio non contiene nessuna scheda.");
const QString CardOperations::kUpdated =
    QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");
const QString CardOperations::kInserted = QStringLiteral("La scheda corrente \u00E8 stata inserita in archivio.");
const QString CardOperations::kDuplicateNew = QStringLiteral(
    "Attenzione: la duplicazione di una scheda pu\u00F2 avvenire soltanto dopo che questa \u00E8 stata inserita in archivio.");
const QString CardOperations::kDuplicated =
    QStringLiteral("E' ora possibile apportare le proprie modifiche alla scheda corrente.") + Messages::kBreak
    + QStringLiteral("Al termine premere Salva per inserire la scheda in archivio.");
const QString CardOperations::kChangedElsewhere =
    QStringLiteral("Attenzione: la scheda \u00E8 stata modificata da un'altra postazione dopo che \u00E8 stata aperta.")
    + QStringLiteral("\r\n\r\n") + QStringLiteral("Si vuole sovrascriverla con i dati correnti?");

CardOperations::CardOperations(QWidget *window, CardConfig config)
    : m_window(window), m_config(std::move(config)), m_binding(window, *m_config.layout)
{
}

void CardOperations::focusFirst()
{
    if (m_config.firstField)
        m_config.firstField->setFocus(Qt::OtherFocusReason);
}

bool CardOperations::numberShown(qint64 *number) const
{
    bool ok = false;
    *number = trimmed(m_config.lblPosizione->text()).toLongLong(&ok);
    return ok;
}

void CardOperations::forgetLoaded()
{
    m_loaded.clear();
    m_loadedNumber = 0;
}

void CardOperations::NuovaScheda()
{
    forgetLoaded();
    m_binding.reset();
    m_config.lblPosizione->clear();
    m_shownAs = asTyped();
    focusFirst();
}

QByteArray CardOperations::asTyped() const
{
    Record record(*m_config.layout);
    m_binding.toRecord(record);
    return record.bytes();
}

bool CardOperations::HasUnsavedChanges() const
{
    return asTyped() != m_shownAs;
}

void CardOperations::loadAt(TArchivio &archive, qint64 index)
{
    Record record(*m_config.layout);
    archive.Seek(index);
    archive.Read(record);
    Show(record, archive.Position());
}

void CardOperations::Show(const Record &record, qint64 number)
{
    m_binding.fromRecord(record);
    m_config.lblPosizione->setText(QString::number(number));
    m_loaded = record.bytes();
    m_loadedNumber = number;
    if (m_config.afterShow)
        m_config.afterShow();
    m_shownAs = asTyped();
}

Record CardOperations::FromCard() const
{
    if (m_config.beforeStore)
        m_config.beforeStore();
    Record record(*m_config.layout);
    m_binding.toRecord(record);
    return record;
}

// Each operation finishes its archive work (and closes the file) before any
// message is shown; every archive failure ends the operation with the access
// message and leaves the card as it was.

CardOperations::Browse CardOperations::browse(const std::function<qint64(qint64 count)> &pick)
{
    try {
        // Browsing only reads: a read-only archive can still be looked through.
        TArchivio archive(m_config.archivePath(), m_config.layout->size(), TArchivio::Access::Read);
        const qint64 count = archive.Count();
        if (count == 0) {
            archive.Close();
            return Browse::Empty;
        }
        const qint64 index = pick(count);
        if (index >= 0)
            loadAt(archive, index);
        archive.Close();
    } catch (const ArchiveError &) {
        Messages::error(Messages::kArchiveAccess, m_window);
        return Browse::Failed;
    }
    return Browse::Done;
}

void CardOperations::First()
{
    if (browse([](qint64) { return qint64(0); }) == Browse::Empty)
        Messages::information(kEmptyArchive, m_window);
}

void CardOperations::Last()
{
    if (browse([](qint64 count) { return count - 1; }) == Browse::Empty)
        Messages::information(kEmptyArchive, m_window);
}

void CardOperations::Next()
{
    // A new card stands before record 1; on the last record nothing happens.
    qint64 shown = 0;
    if (!m_config.lblPosizione->text().isEmpty() && !numberShown(&shown))
        return;
    const auto pick = [shown](qint64 count) { return shown >= 0 && shown < count ? shown : qint64(-1); };
    if (browse(pick) == Browse::Empty) {
        m_config.lblPosizione->clear();
        Messages::information(kEmptyArchive, m_window);
    }
}

void CardOperations::Previous()
{
    if (m_config.lblPosizione->text() == QLatin1String("1"))
        return;
    qint64 shown = 0;
    const bool isNew = m_config.lblPosizione->text().isEmpty();
    if (!isNew && !numberShown(&shown))
        return;
    // From a new card, record 1; from record p >= 2, record p - 1.
    const auto pick = [isNew, shown](qint64) { return isNew ? qint64(0) : shown >= 2 ? shown - 2 : qint64(-1); };
    if (browse(pick) == Browse::Empty)
        Messages::information(kEmptyArchive, m_window);
}

void CardOperations::Save()
{
    if (m_config.checksBeforeSave && !m_config.checksBeforeSave())
        return;
    const bool isNew = m_config.lblPosizione->text().isEmpty();
    qint64 shown = 0;
    if (!isNew && !numberShown(&shown)) {
        Messages::error(Messages::kArchiveAccess, m_window);
        return;
    }
    // Without the bytes the card was loaded from there is nothing to compare.
    const bool compare = !isNew && shown == m_loadedNumber && !m_loaded.isEmpty();
    qint64 stored = 0;
    Record record(*m_config.layout);
    const auto write = [&](bool overwriteAnyway) {
        TArchivio archive(m_config.archivePath(), m_config.layout->size());
        bool written = true;
        if (isNew) {
            stored = archive.Append(record);
        } else {
            // Records are never removed: one that is not there is a damaged or replaced archive.
            if (shown < 1 || shown > archive.Count())
                throw ArchiveError("record not in the archive");
            archive.Seek(shown - 1);
            if (compare && !overwriteAnyway)
                written = archive.WriteIfUnchanged(record, m_loaded);
            else
                archive.Write(record);
            stored = archive.Position();
        }
        archive.Close();
        return written;
    };
    try {
        record = FromCard();
        if (!write(false)) {
            // Another desk saved this record since the card showed it: only
            // the user may decide to replace that work.
            if (!Messages::question(kChangedElsewhere, m_window))
                return;
            write(true);
        }
    } catch (const ArchiveError &) {
        Messages::error(Messages::kArchiveAccess, m_window);
        return;
    }
    m_loaded = record.bytes();
    m_loadedNumber = stored;
    m_config.lblPosizione->setText(QString::number(stored));
    m_shownAs = asTyped();
    Messages::information(isNew ? kInserted : kUpdated, m_window);
}

void CardOperations::Duplicate()
{
    if (m_config.lblPosizione->text().isEmpty()) {
        Messages::warning(kDuplicateNew, m_window);
        return;
    }
    if (m_config.clearForDuplicate)
        m_config.clearForDuplicate();
    m_config.lblPosizione->clear();
    forgetLoaded();
    bool failed = false;
    try {
        // Opened and closed once, which creates a missing archive.
        TArchivio archive(m_config.archivePath(), m_config.layout->size());
        archive.Close();
    } catch (const ArchiveError &) {
        failed = true;
    }
    focusFirst();
    if (failed)
        Messages::show(m_config.duplicateFailureKind, Messages::kArchiveAccess, m_window);
    else
        Messages::information(kDuplicated, m_window);
}

} // namespace qv
