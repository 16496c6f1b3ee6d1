#include "mail/outbox.h"

#include "archive/archivelock.h"
#include "core/clock.h"
#include "core/programfolder.h"
#include "core/wholefile.h"
#include "mail/mailerror.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>

#include <atomic>

namespace qv::Mail {

namespace {

constexpr int kLockWaitMs = 10000;

QString iso(const QDateTime &moment)
{
    return moment.isValid() ? moment.toString(Qt::ISODateWithMs) : QString();
}

QDateTime fromIso(const QString &text)
{
    return text.isEmpty() ? QDateTime() : QDateTime::fromString(text, Qt::ISODateWithMs);
}

QString stateWord(State state)
{
    switch (state) {
    case State::Pending:
        return QStringLiteral("da_inviare");
    case State::Sending:
        return QStringLiteral("in_invio");
    case State::Sent:
        return QStringLiteral("inviato");
    case State::Refused:
        return QStringLiteral("rifiutato");
    case State::Uncertain:
        return QStringLiteral("esito_incerto");
    }
    return {};
}

State stateFromWord(const QString &word)
{
    for (State s : {State::Pending, State::Sending, State::Sent, State::Refused, State::Uncertain})
        if (stateWord(s) == word)
            return s;
    // A state this version does not know is never taken for "to send".
    return State::Uncertain;
}

QString newId()
{
    static std::atomic<unsigned> counter{0};
    return QStringLiteral("%1-%2-%3")
        .arg(Clock::now().toUTC().toString(QStringLiteral("yyyyMMdd-HHmmsszzz")))
        .arg(counter++ % 10000, 4, 10, QLatin1Char('0'))
        .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
}

QString extensionOf(const QString &name)
{
    const QString suffix = QFileInfo(name).suffix();
    for (const QChar c : suffix)
        if (!c.isLetterOrNumber() || c.unicode() > 127)
            return QStringLiteral("dat");
    return suffix.isEmpty() || suffix.size() > 8 ? QStringLiteral("dat") : suffix.toLower();
}

QJsonObject readJson(const QString &path, bool *found = nullptr)
{
    QFile file(path);
    if (!file.exists()) {
        if (found)
            *found = false;
        return {};
    }
    if (found)
        *found = true;
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("impossibile leggere %1.").arg(path));
    QJsonParseError parsed;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parsed);
    if (parsed.error != QJsonParseError::NoError || !doc.isObject())
        throw Error(QStringLiteral("il file %1 della posta in uscita non \u00E8 leggibile.").arg(path));
    return doc.object();
}

// The outbox's lock, held for the few reads and writes of one change.
class OutboxLock
{
public:
    explicit OutboxLock(const QString &folder) : m_lock(QDir(folder).filePath(QStringLiteral("Posta")))
    {
        if (!m_lock.acquire(kLockWaitMs))
            throw Error(QStringLiteral("la posta in uscita in %1 \u00E8 occupata da un'altra postazione, o la "
                                       "cartella non si pu\u00F2 scrivere.")
                            .arg(folder));
    }

private:
    ArchiveLock m_lock;
};

} // namespace

QString stateName(State state)
{
    switch (state) {
    case State::Pending:
        return QStringLiteral("da inviare");
    case State::Sending:
        return QStringLiteral("in invio");
    case State::Sent:
        return QStringLiteral("inviato");
    case State::Refused:
        return QStringLiteral("rifiutato");
    case State::Uncertain:
        return QStringLiteral("esito incerto");
    }
    return {};
}

QString Outbox::defaultFolder()
{
    return ProgramFolder::file(QStringLiteral("Posta_In_Uscita"));
}

Outbox::Outbox() : Outbox(defaultFolder()) {}

Outbox::Outbox(const QString &folder) : m_folder(QDir::cleanPath(folder)) {}

static QString keyMarker(const QString &folder, const QString &key)
{
    const QByteArray hash = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QDir(folder).filePath(QString::fromLatin1(hash) + QStringLiteral(".chiave"));
}

QString Outbox::add(const Draft &draft, const Settings &settings, bool *added)
{
    if (added)
        *added = false;
    if (!QDir().mkpath(m_folder))
        throw Error(QStringLiteral("impossibile creare la cartella della posta in uscita %1.").arg(m_folder));
    OutboxLock lock(m_folder);
    const QString marker = keyMarker(m_folder, draft.key);
    if (!draft.key.isEmpty()) {
        QFile existing(marker);
        if (existing.open(QIODevice::ReadOnly)) {
            const QString id = QString::fromUtf8(existing.readAll()).trimmed();
            if (QFile::exists(QDir(m_folder).filePath(id + QStringLiteral(".json"))))
                return id;
        }
    }

    const QString id = newId();
    QJsonArray files;
    for (qsizetype i = 0; i < draft.attachments.size(); ++i) {
        const Attachment &a = draft.attachments.at(i);
        const QString stored = QStringLiteral("%1_%2.%3").arg(id).arg(i + 1).arg(extensionOf(a.name));
        if (!writeWholeFile(QDir(m_folder).filePath(stored), a.data))
            throw Error(QStringLiteral("impossibile scrivere l'allegato %1 nella posta in uscita.").arg(a.name));
        files.append(QJsonObject{{QStringLiteral("name"), a.name}, {QStringLiteral("type"), a.type},
                                 {QStringLiteral("file"), stored}});
    }
    const QJsonObject json{
        {QStringLiteral("kind"), draft.kind},
        {QStringLiteral("key"), draft.key},
        {QStringLiteral("event"), draft.event},
        {QStringLiteral("booking"), draft.booking},
        {QStringLiteral("to"), draft.toAddress},
        {QStringLiteral("toName"), draft.toName},
        {QStringLiteral("from"), settings.sender},
        {QStringLiteral("fromName"), settings.senderName},
        {QStringLiteral("replyTo"), settings.replyTo},
        {QStringLiteral("subject"), draft.subject},
        {QStringLiteral("body"), draft.body},
        {QStringLiteral("messageId"), QString::fromLatin1(messageId(id, settings.sender))},
        {QStringLiteral("date"), QString::fromLatin1(dateHeader(Clock::now()))},
        {QStringLiteral("attachments"), files},
    };
    // The message counts once its own file is whole; attachments written
    // before it are only files nobody lists if it never is.
    if (!writeWholeFile(QDir(m_folder).filePath(id + QStringLiteral(".json")), QJsonDocument(json).toJson()))
        throw Error(QStringLiteral("impossibile scrivere il messaggio per %1 nella posta in uscita.").arg(draft.toAddress));
    if (!draft.key.isEmpty() && !writeWholeFile(marker, id.toUtf8()))
        throw Error(QStringLiteral("impossibile scrivere nella posta in uscita %1.").arg(m_folder));
    if (added)
        *added = true;
    return id;
}

static Message messageFrom(const QString &folder, const QString &id, const QJsonObject &json, bool withBody)
{
    Message m;
    m.id = id;
    m.kind = json.value(QStringLiteral("kind")).toString();
    m.key = json.value(QStringLiteral("key")).toString();
    m.event = json.value(QStringLiteral("event")).toInteger();
    m.booking = json.value(QStringLiteral("booking")).toInteger();
    m.toAddress = json.value(QStringLiteral("to")).toString();
    m.toName = json.value(QStringLiteral("toName")).toString();
    m.fromAddress = json.value(QStringLiteral("from")).toString();
    m.fromName = json.value(QStringLiteral("fromName")).toString();
    m.replyTo = json.value(QStringLiteral("replyTo")).toString();
    m.subject = json.value(QStringLiteral("subject")).toString();
    if (withBody)
        m.body = json.value(QStringLiteral("body")).toString();
    m.messageId = json.value(QStringLiteral("messageId")).toString();
    m.date = json.value(QStringLiteral("date")).toString();
    for (const QJsonValue &v : json.value(QStringLiteral("attachments")).toArray()) {
        const QJsonObject a = v.toObject();
        m.attachments.append({a.value(QStringLiteral("name")).toString(), a.value(QStringLiteral("type")).toString(),
                              QDir(folder).filePath(a.value(QStringLiteral("file")).toString())});
    }
    return m;
}

Message Outbox::read(const QString &id) const
{
    bool found = false;
    const QJsonObject json = readJson(QDir(m_folder).filePath(id + QStringLiteral(".json")), &found);
    if (!found)
        throw Error(QStringLiteral("il messaggio %1 non \u00E8 nella posta in uscita.").arg(id));
    return messageFrom(m_folder, id, json, true);
}

Status Outbox::readStatus(const QString &id) const
{
    bool found = false;
    const QJsonObject json = readJson(QDir(m_folder).filePath(id + QStringLiteral(".stato")), &found);
    Status s;
    if (!found)
        return s;
    s.state = stateFromWord(json.value(QStringLiteral("state")).toString());
    s.time = fromIso(json.value(QStringLiteral("time")).toString());
    s.reply = json.value(QStringLiteral("reply")).toString();
    s.attempts = json.value(QStringLiteral("attempts")).toInt();
    s.notBefore = fromIso(json.value(QStringLiteral("notBefore")).toString());
    s.desk = json.value(QStringLiteral("desk")).toString();
    return s;
}

static QString deskPath(const QString &folder, const QString &desk)
{
    return QDir(folder).filePath(QStringLiteral("invio_") + desk);
}

Status Outbox::resolved(Status status) const
{
    if (status.state == State::Sending && !ArchiveLock::heldElsewhere(deskPath(m_folder, status.desk))) {
        status.state = State::Uncertain;
        if (status.reply.isEmpty())
            status.reply = QStringLiteral("invio interrotto: il server potrebbe averlo ricevuto");
    }
    return status;
}

Status Outbox::status(const QString &id) const
{
    return resolved(readStatus(id));
}

void Outbox::writeStatus(const QString &id, const Status &s)
{
    const QJsonObject json{
        {QStringLiteral("state"), stateWord(s.state)},
        {QStringLiteral("time"), iso(s.time)},
        {QStringLiteral("reply"), s.reply},
        {QStringLiteral("attempts"), s.attempts},
        {QStringLiteral("notBefore"), iso(s.notBefore)},
        {QStringLiteral("desk"), s.desk},
    };
    if (!writeWholeFile(QDir(m_folder).filePath(id + QStringLiteral(".stato")), QJsonDocument(json).toJson()))
        throw Error(QStringLiteral("impossibile registrare lo stato di un messaggio nella posta in uscita %1.").arg(m_folder));
}

QList<Entry> Outbox::list(bool withBodies) const
{
    QList<Entry> entries;
    QDir dir(m_folder);
    if (!dir.exists())
        return entries;
    const QStringList names = dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
    entries.reserve(names.size());
    for (const QString &name : names) {
        const QString id = name.left(name.size() - 5);
        Entry e;
        e.message = messageFrom(m_folder, id, readJson(dir.filePath(name)), withBodies);
        e.status = status(id);
        entries.append(e);
    }
    return entries;
}

bool Outbox::sendAgain(const QString &id)
{
    OutboxLock lock(m_folder);
    Status s = status(id);
    if (s.state != State::Uncertain && s.state != State::Refused)
        return false;
    s.state = State::Pending;
    s.notBefore = QDateTime();
    s.desk.clear();
    s.time = Clock::now();
    writeStatus(id, s);
    return true;
}

bool Outbox::claim(const QString &id, const QString &desk, bool ignoreWait)
{
    OutboxLock lock(m_folder);
    const Status recorded = readStatus(id);
    Status s = resolved(recorded);
    if (s.state != recorded.state) {
        // Cut mid-way by a desk that is gone: said so once, for everyone.
        s.time = Clock::now();
        writeStatus(id, s);
        return false;
    }
    if (s.state != State::Pending)
        return false;
    if (!ignoreWait && s.notBefore.isValid() && s.notBefore > Clock::now())
        return false;
    s.state = State::Sending;
    s.desk = desk;
    s.time = Clock::now();
    ++s.attempts;
    writeStatus(id, s);
    return true;
}

void Outbox::settle(const QString &id, const Status &status)
{
    OutboxLock lock(m_folder);
    Status s = status;
    s.desk.clear();
    if (!s.time.isValid())
        s.time = Clock::now();
    writeStatus(id, s);
}

struct SendingDesk::Lock
{
    explicit Lock(const QString &path) : lock(path) {}
    ArchiveLock lock;
};

SendingDesk::SendingDesk(const Outbox &outbox)
    : m_name(QStringLiteral("%1").arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'))),
      m_path(deskPath(outbox.folder(), m_name)),
      m_lock(std::make_unique<Lock>(m_path))
{
    QDir().mkpath(outbox.folder());
    if (!m_lock->lock.acquire(0))
        throw Error(QStringLiteral("impossibile scrivere nella cartella della posta in uscita %1.").arg(outbox.folder()));
}

SendingDesk::~SendingDesk()
{
    m_lock->lock.release();
    QFile::remove(ArchiveLock::lockPath(m_path));
}

bool SendingDesk::held() const
{
    return m_lock->lock.isHeld();
}

} // namespace qv::Mail
