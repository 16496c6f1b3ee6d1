#pragma once
#include "mail/mailsettings.h"
#include "mail/outbox.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Sends messages of the outbox, one after the other over one connection, at
// the pace the settings allow. Each message is claimed before it goes and
// settled as soon as the server has answered; a temporary refusal is tried
// again after a wait, a permanent one is recorded with the server's words.
namespace qv::Mail {

struct BatchOptions
{
    // Send messages refused for now at once, not after their wait.
    bool ignoreWait = false;
    // Seconds to wait before trying again, within this batch, the messages
    // the server refused for now; 0 leaves them for a later send.
    int retryWaitSeconds = 30;
    int retriesInBatch = 2;
};

struct BatchReport
{
    int sent = 0;
    int refused = 0;   // for good: see the outbox for the server's words
    int deferred = 0;  // still waiting after a temporary refusal
    int uncertain = 0;
    int busy = 0;      // taken by another desk, or not in a state to send
    bool cancelled = false;
    QString stopped;   // why the batch stopped before its end (nothing was lost)
    QStringList refusedIds, deferredIds, uncertainIds;
};

// Told before each message and during every wait; returning false cancels
// the batch between two messages (a message never stops half-way).
using BatchProgress = std::function<bool(int done, int total, const QString &doing)>;

BatchReport sendBatch(Outbox &outbox, const Settings &settings, const QString &password, const QStringList &ids,
                      const BatchOptions &options = {}, const BatchProgress &progress = {});

} // namespace qv::Mail
