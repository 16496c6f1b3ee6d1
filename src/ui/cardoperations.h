#pragma once
#include "archive/record.h"
#include "ui/cardbinding.h"
#include "ui/messages.h"

#include <QString>

#include <functional>

class QLabel;
class QWidget;

namespace qv {

class TArchivio;

// What a card workspace tells the shared card operations about itself.
struct CardConfig
{
    const RecordLayout *layout = nullptr;
    std::function<QString()> archivePath;
    QLabel *lblPosizione = nullptr;
    QWidget *firstField = nullptr;
    // The card's own checks before a save; each shows its message and returns
    // false to stop the save.
    std::function<bool()> checksBeforeSave;
    // Fields computed from others right before the card is stored.
    std::function<void()> beforeStore;
    // What Duplicate clears besides lblPosizione.
    std::function<void()> clearForDuplicate;
    // Runs once the card shows a record (browsing, a list's choice).
    std::function<void()> afterShow;
    // The symbol of the archive access message when Duplicate fails.
    MessageKind duplicateFailureKind = MessageKind::Error;
};

// New card, first, previous, next, last, save and duplicate, written once for
// the three card workspaces. lblPosizione is the only link between the card
// and its record: empty for a new card, else the 1-based record number.
class CardOperations
{
public:
    CardOperations(QWidget *window, CardConfig config);

    void NuovaScheda();
    void First();
    void Last();
    void Next();
    void Previous();
    void Save();
    void Duplicate();

    // Shows a record with its number (search results, lists); its bytes are
    // kept as what the card was loaded from.
    void Show(const Record &record, qint64 number);
    // A record filled from the card as it is now.
    Record FromCard() const;
    // Whether the card holds typing not saved: it differs from what it showed
    // when it was last emptied, shown or saved.
    bool HasUnsavedChanges() const;

    CardBinding &binding() { return m_binding; }

    static const QString kEmptyArchive;
    static const QString kUpdated;
    static const QString kInserted;
    static const QString kDuplicateNew;
    static const QString kDuplicated;
    static const QString kChangedElsewhere;

private:
    enum class Browse { Done, Empty, Failed };
    // Opens the archive and shows the record `pick` chooses from the count
    // (none for -1); an empty archive shows nothing, a failure its message.
    Browse browse(const std::function<qint64(qint64 count)> &pick);
    // Reads the record at index, then shows it: a failing read leaves the card as it was.
    void loadAt(TArchivio &archive, qint64 index);
    bool numberShown(qint64 *number) const;
    void focusFirst();

    void forgetLoaded();
    QByteArray asTyped() const;

    QWidget *m_window;
    CardConfig m_config;
    CardBinding m_binding;
    // The record as it was on disk when the card showed it, to tell whether
    // another desk changed it before this card is saved over it.
    QByteArray m_loaded;
    qint64 m_loadedNumber = 0;
    QByteArray m_shownAs; // the card's boxes as they were last emptied, shown or saved
};

} // namespace qv
