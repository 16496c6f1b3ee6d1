#include "mail/smtpsession.h"

#include "mail/mailmessage.h"

#include <QFile>

#include <curl/curl.h>

namespace qv::Mail {

namespace {

// Where the conversation with the server stands, from what went out last.
enum class Phase { Connecting, Envelope, Data, Body };

struct Conversation
{
    Phase phase = Phase::Connecting;
    int lastCode = 0;
    QByteArray lastReply;
    bool quitting = false; // the farewell's answer says nothing of the message
};

int onDebug(CURL *, curl_infotype type, char *data, size_t size, void *user)
{
    auto *talk = static_cast<Conversation *>(user);
    const QByteArray text = QByteArray(data, qsizetype(size)).trimmed();
    if (type == CURLINFO_HEADER_OUT) {
        if (text == "QUIT")
            talk->quitting = true;
        else if (text.startsWith("MAIL FROM") || text.startsWith("RCPT TO"))
            talk->phase = Phase::Envelope;
        else if (text == "DATA")
            talk->phase = Phase::Data;
    } else if (type == CURLINFO_HEADER_IN && !talk->quitting) {
        // The last line of a reply ("250 ..." after "250-..." lines) carries
        // its final code.
        const QList<QByteArray> lines = text.split('\n');
        const QByteArray last = lines.isEmpty() ? text : lines.last().trimmed();
        bool ok = false;
        const int code = last.left(3).toInt(&ok);
        if (ok) {
            talk->lastCode = code;
            talk->lastReply = last;
            if (talk->phase == Phase::Data && code == 354)
                talk->phase = Phase::Body;
        }
    }
    return 0;
}

QByteArray hostPart(const QString &server)
{
    const QByteArray host = server.toUtf8();
    return host.contains(':') && !host.startsWith('[') ? "[" + host + "]" : host;
}

QByteArray systemAuthorities()
{
    const curl_version_info_data *info = curl_version_info(CURLVERSION_NOW);
    const QString path = info && info->cainfo ? QString::fromLocal8Bit(info->cainfo)
                                              : QStringLiteral("/etc/ssl/certs/ca-certificates.crt");
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray crlf(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text.replace(QLatin1Char('\n'), QLatin1String("\r\n")).toUtf8();
}

struct GlobalInit
{
    GlobalInit() { curl_global_init(CURL_GLOBAL_DEFAULT); }
};

} // namespace

struct SmtpSession::Impl
{
    Settings settings;
    QByteArray password;
    QByteArray authorities; // the system's and the user's, when the user names one
    QString setupProblem;
    CURL *curl = nullptr;
};

SmtpSession::SmtpSession(const Settings &settings, const QString &password) : d(std::make_unique<Impl>())
{
    static GlobalInit init;
    d->settings = settings;
    d->password = password.toUtf8();
    if (!settings.caFile.isEmpty()) {
        QFile ca(settings.caFile);
        if (!ca.open(QIODevice::ReadOnly))
            d->setupProblem = QStringLiteral("impossibile leggere il certificato %1 indicato nelle impostazioni della posta.")
                                  .arg(settings.caFile);
        else
            d->authorities = systemAuthorities() + "\n" + ca.readAll();
    }
    d->curl = curl_easy_init();
    if (!d->curl)
        d->setupProblem = QStringLiteral("impossibile preparare la connessione al server di posta.");
}

SmtpSession::~SmtpSession()
{
    if (d->curl)
        curl_easy_cleanup(d->curl);
}

Outcome SmtpSession::send(const Message &message)
{
    if (!d->setupProblem.isEmpty())
        return {Outcome::Stopped, 0, d->setupProblem};
    CURL *curl = d->curl;
    const Settings &s = d->settings;
    curl_easy_reset(curl);

    const QByteArray scheme = s.security == Security::Tls ? "smtps://" : "smtp://";
    const QByteArray url = scheme + hostPart(s.server) + ":" + QByteArray::number(s.port);
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_USE_SSL, s.security == Security::None ? CURLUSESSL_NONE : CURLUSESSL_ALL);
    if (!d->authorities.isEmpty()) {
        curl_blob blob{d->authorities.data(), size_t(d->authorities.size()), CURL_BLOB_NOCOPY};
        curl_easy_setopt(curl, CURLOPT_CAINFO_BLOB, &blob);
    }
    const QByteArray user = s.user.toUtf8();
    if (!user.isEmpty()) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, d->password.constData());
    }
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 30L);
    // A server that stops answering is given two minutes, then the message
    // is taken for cut (its fate unknown if the data had gone out).
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, 120L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);

    const QByteArray from = "<" + message.fromAddress.toUtf8() + ">";
    const QByteArray to = "<" + message.toAddress.toUtf8() + ">";
    curl_easy_setopt(curl, CURLOPT_MAIL_FROM, from.constData());
    curl_slist *recipients = curl_slist_append(nullptr, to.constData());
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, recipients);

    QList<QByteArray> headerTexts{
        "Date: " + message.date.toLatin1(),
        "From: " + mailbox(message.fromName, message.fromAddress),
        "To: " + mailbox(message.toName, message.toAddress),
        "Subject: " + encodedText(message.subject),
        "Message-ID: " + message.messageId.toLatin1(),
    };
    if (!message.replyTo.isEmpty())
        headerTexts.append("Reply-To: " + mailbox(QString(), message.replyTo));
    curl_slist *headers = nullptr;
    for (const QByteArray &h : headerTexts)
        headers = curl_slist_append(headers, h.constData());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);

    curl_mime *mime = curl_mime_init(curl);
    const QByteArray body = crlf(message.body);
    curl_mimepart *text = curl_mime_addpart(mime);
    curl_mime_data(text, body.constData(), size_t(body.size()));
    curl_mime_type(text, "text/plain; charset=UTF-8");
    curl_mime_encoder(text, "quoted-printable");
    Outcome missing;
    for (const Message::File &f : message.attachments) {
        if (!QFile::exists(f.path)) {
            missing = {Outcome::Refused, 0, QStringLiteral("l'allegato %1 non \u00E8 pi\u00F9 nella posta in uscita").arg(f.name)};
            break;
        }
        curl_mimepart *part = curl_mime_addpart(mime);
        curl_mime_filedata(part, QFile::encodeName(f.path).constData());
        curl_mime_filename(part, f.name.toUtf8().constData());
        curl_mime_type(part, f.type.isEmpty() ? "application/octet-stream" : f.type.toUtf8().constData());
        curl_mime_encoder(part, "base64");
    }
    curl_easy_setopt(curl, CURLOPT_MIMEPOST, mime);

    Conversation talk;
    curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, onDebug);
    curl_easy_setopt(curl, CURLOPT_DEBUGDATA, &talk);
    curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);
    char errorText[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);

    const CURLcode result = missing.code == 0 && missing.reply.isEmpty() ? curl_easy_perform(curl) : CURLE_ABORTED_BY_CALLBACK;
    curl_easy_setopt(curl, CURLOPT_MIMEPOST, nullptr);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, nullptr);
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, nullptr);
    curl_mime_free(mime);
    curl_slist_free_all(headers);
    curl_slist_free_all(recipients);
    if (!missing.reply.isEmpty())
        return missing;

    const QString reply = QString::fromUtf8(talk.lastReply);
    if (result == CURLE_OK)
        return {Outcome::Sent, talk.lastCode, reply};
    if (result == CURLE_LOGIN_DENIED)
        return {Outcome::Stopped, talk.lastCode,
                QStringLiteral("il server ha rifiutato il nome utente o la password (%1).").arg(reply)};
    const QString detail = QString::fromUtf8(errorText[0] ? errorText : curl_easy_strerror(result));
    switch (talk.phase) {
    case Phase::Connecting:
        if (result == CURLE_PEER_FAILED_VERIFICATION || result == CURLE_SSL_CONNECT_ERROR
            || result == CURLE_SSL_CACERT_BADFILE || result == CURLE_USE_SSL_FAILED)
            return {Outcome::Stopped, talk.lastCode,
                    QStringLiteral("connessione sicura con il server non riuscita (%1).").arg(detail)};
        return {Outcome::Stopped, talk.lastCode,
                QStringLiteral("impossibile collegarsi al server di posta %1:%2 (%3).")
                    .arg(s.server).arg(s.port).arg(reply.isEmpty() ? detail : reply)};
    case Phase::Envelope:
    case Phase::Data:
        break;
    case Phase::Body:
        // The data went out and no verdict came back: the server may hold it.
        if (talk.lastCode == 354)
            return {Outcome::Uncertain, 0,
                    QStringLiteral("collegamento interrotto dopo l'invio, prima della risposta del server (%1)").arg(detail)};
        break;
    }
    if (talk.lastCode >= 400 && talk.lastCode < 500)
        return {Outcome::Deferred, talk.lastCode, reply};
    if (talk.lastCode >= 500)
        return {Outcome::Refused, talk.lastCode, reply};
    // Cut before the data: the server has nothing of this message.
    return {Outcome::Stopped, talk.lastCode,
            QStringLiteral("collegamento con il server di posta interrotto (%1).").arg(detail)};
}

} // namespace qv::Mail
