#pragma once
#include "mail/mailmessage.h"
#include "mail/mailsettings.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

// The outbox of a program folder ("Posta_In_Uscita"): every message is
// composed and stored whole before it is sent, and its state is kept beside
// it, so several desks can send from one folder and a send cut half-way
// never sends a message twice nor loses one.
//
// A message is <id>.json (headers, body, the names of its attachments,
// written once), its attachments <id>_<n>.<ext>, and its state <id>.stato,
// replaced whole under the outbox's lock. A desk that sends holds a lock of
// its own for the whole batch and marks each message "in invio" under its
// name before handing it to the server: a message found "in invio" whose desk
// no longer holds its lock was cut mid-way, and its fate is unknown.
namespace qv::Mail {

enum class State {
    Pending,   // "da inviare" (also after a temporary refusal: see notBefore)
    Sending,   // "in invio": a live desk is sending it right now
    Sent,      // "inviato"
    Refused,   // "rifiutato": the server refused it for good
    Uncertain, // "esito incerto": cut while the server had it
};
QString stateName(State state); // the Italian words above

struct Status
{
    State state = State::Pending;
    QDateTime time;      // of the last change
    QString reply;       // the server's words
    int attempts = 0;    // sends tried
    QDateTime notBefore; // a temporary refusal: not again before this
    QString desk;        // who is sending it (Sending)
};

struct Message
{
    QString id;
    QString kind, key;
    qint64 event = 0, booking = 0;
    QString toAddress, toName;
    QString fromAddress, fromName, replyTo;
    QString subject, body;
    QString messageId, date; // header texts, fixed when composed
    struct File
    {
        QString name, type, path;
    };
    QList<File> attachments;
};

struct Entry
{
    Message message; // without the body's text when listed
    Status status;
};

class Outbox
{
public:
    // The program folder's outbox.
    Outbox();
    explicit Outbox(const QString &folder);

    QString folder() const { return m_folder; }

    // Stores the draft whole, attachments first, and returns its id; a draft
    // whose key the outbox already holds is not stored again (its id is
    // returned, `added` false). Raises Error.
    QString add(const Draft &draft, const Settings &settings, bool *added = nullptr);

    // Every message in the order composed. A message "in invio" whose desk
    // is gone is shown as Uncertain (and recorded so by the next claim).
    // A message of which only part was written (cut while composing) is
    // left out. Raises Error when the folder cannot be read.
    QList<Entry> list(bool withBodies = false) const;
    Message read(const QString &id) const;
    Status status(const QString &id) const;

    // The user says a message of unknown fate (or a refused one) is to be
    // sent again: it becomes Pending. False when it is in another state.
    bool sendAgain(const QString &id);

    // The sending desk: claims a Pending message that is due (or any Pending
    // one, `ignoreWait`) for `desk` and marks it Sending; false when someone
    // else has it or it is in another state. Raises Error.
    bool claim(const QString &id, const QString &desk, bool ignoreWait);
    void settle(const QString &id, const Status &status);

    static QString defaultFolder();

private:
    void writeStatus(const QString &id, const Status &status);
    Status readStatus(const QString &id) const;
    Status resolved(Status status) const;
    QString lockedPath() const;

    QString m_folder;
};

// A desk's hold on the outbox while it sends: the lock others test to know
// it is alive. Released (and its file removed) when the batch ends.
class SendingDesk
{
public:
    explicit SendingDesk(const Outbox &outbox);
    ~SendingDesk();
    SendingDesk(const SendingDesk &) = delete;
    SendingDesk &operator=(const SendingDesk &) = delete;
    bool held() const;
    QString name() const { return m_name; }

private:
    QString m_name, m_path;
    struct Lock;
    std::unique_ptr<Lock> m_lock;
};

} // namespace qv::Mail
