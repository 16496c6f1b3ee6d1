#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

// A message as the program composes it, before and after it is stored in the
// outbox, and the header texts it becomes. The MIME body itself is encoded
// by libcurl when the message is sent (SmtpSession).
namespace qv::Mail {

struct Attachment
{
    QString name;     // the file name the recipient sees
    QString type;     // "application/pdf"
    QByteArray data;  // while composing; stored beside the message after
};

// What a use of the mail hands the outbox: one message to one person.
struct Draft
{
    QString kind;        // "conferma", "avviso", "attestato", "prova"
    qint64 event = 0;
    qint64 booking = 0;  // the reservation record, 0 when none
    // Two drafts with the same key are the same message: the outbox keeps
    // only the first, so a use run twice never sends twice.
    QString key;
    QString toAddress, toName;
    QString subject, body;
    QList<Attachment> attachments;
};

// Header texts. Non-ASCII text is written as RFC 2047 encoded words (UTF-8,
// base64), none longer than 75 characters and none splitting a character.
QByteArray encodedText(const QString &text);
// "Name <address>" with the name quoted or encoded as it needs.
QByteArray mailbox(const QString &name, const QString &address);
// "Fri, 11 Dec 2026 09:30:00 +0100"
QByteArray dateHeader(const QDateTime &moment);
// "<id@domain>", the domain taken from the sender's address.
QByteArray messageId(const QString &id, const QString &senderAddress);

} // namespace qv::Mail
