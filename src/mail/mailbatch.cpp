#include "mail/mailbatch.h"

#include "core/clock.h"
#include "mail/mailerror.h"
#include "mail/smtpsession.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QThread>

namespace qv::Mail {

namespace {

// Waits `ms`, asking `keepGoing` ten times a second; false when cancelled.
bool pause(qint64 ms, const std::function<bool()> &keepGoing)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        if (!keepGoing())
            return false;
        QThread::msleep(quint64(qMin<qint64>(100, qMax<qint64>(1, deadline.remainingTime()))));
    }
    return true;
}

} // namespace

BatchReport sendBatch(Outbox &outbox, const Settings &settings, const QString &password, const QStringList &ids,
                      const BatchOptions &options, const BatchProgress &progress)
{
    BatchReport report;
    if (ids.isEmpty())
        return report;
    SendingDesk desk(outbox);
    SmtpSession session(settings, password);
    const qint64 spacingMs = settings.perMinute > 0 ? 60000 / settings.perMinute : 0;
    QElapsedTimer sinceLast;

    int done = 0;
    const int total = int(ids.size());
    auto tell = [&](const QString &doing) { return !progress || progress(done, total, doing); };

    QStringList queue = ids;
    for (int round = 0;; ++round) {
        QStringList deferred;
        for (const QString &id : queue) {
            if (!tell(QString())) {
                report.cancelled = true;
                break;
            }
            if (spacingMs > 0 && sinceLast.isValid() && sinceLast.elapsed() < spacingMs
                && !pause(spacingMs - sinceLast.elapsed(), [&] { return tell(QStringLiteral("pausa tra un messaggio e l'altro")); })) {
                report.cancelled = true;
                break;
            }
            if (!outbox.claim(id, desk.name(), options.ignoreWait || round > 0)) {
                ++report.busy;
                ++done;
                continue;
            }
            const Message message = outbox.read(id);
            tell(message.toAddress);
            const Outcome outcome = session.send(message);
            sinceLast.start();
            Status status = outbox.status(id);
            status.time = Clock::now();
            status.reply = outcome.reply;
            status.notBefore = QDateTime();
            switch (outcome.kind) {
            case Outcome::Sent:
                status.state = State::Sent;
                ++report.sent;
                break;
            case Outcome::Refused:
                status.state = State::Refused;
                break;
            case Outcome::Uncertain:
                status.state = State::Uncertain;
                break;
            case Outcome::Deferred:
                status.state = State::Pending;
                status.notBefore = Clock::now().addSecs(qMax(options.retryWaitSeconds, 60));
                deferred.append(id);
                break;
            case Outcome::Stopped:
                // Nothing of it reached the server: it waits as it was.
                status.state = State::Pending;
                status.attempts = qMax(0, status.attempts - 1);
                break;
            }
            outbox.settle(id, status);
            if (outcome.kind == Outcome::Stopped) {
                report.stopped = outcome.reply;
                break;
            }
            ++done;
        }
        if (report.cancelled || !report.stopped.isEmpty() || deferred.isEmpty() || round >= options.retriesInBatch
            || options.retryWaitSeconds <= 0) {
            break;
        }
        if (!pause(qint64(options.retryWaitSeconds) * 1000, [&] {
                return tell(QStringLiteral("%1 messaggi rinviati dal server: nuovo tentativo tra poco").arg(deferred.size()));
            })) {
            report.cancelled = true;
            break;
        }
        done -= int(deferred.size());
        queue = deferred;
    }

    for (const QString &id : ids) {
        const Status s = outbox.status(id);
        switch (s.state) {
        case State::Sent:
            break;
        case State::Refused:
            report.refusedIds.append(id);
            break;
        case State::Uncertain:
            report.uncertainIds.append(id);
            break;
        case State::Pending:
            if (s.notBefore.isValid())
                report.deferredIds.append(id);
            break;
        case State::Sending:
            break;
        }
    }
    report.refused = int(report.refusedIds.size());
    report.uncertain = int(report.uncertainIds.size());
    report.deferred = int(report.deferredIds.size());
    return report;
}

} // namespace qv::Mail
