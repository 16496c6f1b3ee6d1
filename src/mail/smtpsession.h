#pragma once
#include "mail/mailsettings.h"
#include "mail/outbox.h"

#include <QString>

#include <memory>

// One connection to the mail server, through libcurl (SMTP, STARTTLS or
// SSL/TLS, authentication; the MIME body and its base64 attachments encoded
// by libcurl itself). Kept open from one message to the next.
namespace qv::Mail {

struct Outcome
{
    enum Kind {
        Sent,      // the server took it (2xx after the data)
        Deferred,  // a temporary refusal (4xx): try again later
        Refused,   // a permanent refusal (5xx) of this message or address
        Uncertain, // cut after the data went out, before the server's answer
        Stopped,   // nothing was sent and no message can be (connection,
                   // security, user name or password): the batch stops
    };
    Kind kind = Stopped;
    int code = 0;   // the server's last reply code, 0 when none
    QString reply;  // the server's words, or what went wrong, in Italian
};

class SmtpSession
{
public:
    SmtpSession(const Settings &settings, const QString &password);
    ~SmtpSession();
    SmtpSession(const SmtpSession &) = delete;
    SmtpSession &operator=(const SmtpSession &) = delete;

    Outcome send(const Message &message);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace qv::Mail
