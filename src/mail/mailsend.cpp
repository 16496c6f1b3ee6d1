#include "mail/mailsend.h"

#include "mail/mailerror.h"
#include "mail/mailpassword.h"
#include "ui/messages.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <memory>

namespace qv::MailSend {

std::optional<Mail::Settings> readySettings(QWidget *owner)
{
    const Mail::Settings settings = Mail::readSettings();
    const QString missing = settings.missing();
    if (missing.isEmpty())
        return settings;
    Messages::caution(QStringLiteral("La posta elettronica non \u00E8 ancora impostata: %1.\n\nLa si imposta nella "
                                     "finestra Posta elettronica, dal menu principale.")
                          .arg(missing),
                      owner);
    return std::nullopt;
}

std::optional<Result> run(QWidget *owner, Mail::Outbox &outbox, const Mail::Settings &settings, const QStringList &ids,
                          const Mail::BatchOptions &options, const Feedback &feedback)
{
    const std::optional<QString> password = MailPassword::obtain(owner, settings);
    if (!password)
        return std::nullopt;
    Result result;
    // Lives on the window's thread: progress posted to it runs there.
    QObject relay;
    auto progress = feedback.progress;
    const std::atomic<bool> *cancel = feedback.cancel;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        try {
            result.report = Mail::sendBatch(outbox, settings, *password, ids, options,
                                            [&](int done, int total, const QString &doing) {
                                                if (progress)
                                                    QMetaObject::invokeMethod(&relay, [progress, done, total, doing] {
                                                        progress(done, total, doing);
                                                    }, Qt::QueuedConnection);
                                                return !(cancel && cancel->load());
                                            });
        } catch (const Mail::Error &e) {
            result.failure = e.message();
        }
    }));
    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec();
    worker->wait();
    // Let the last progress reach the window before the report does.
    QCoreApplication::sendPostedEvents();
    if (!result.report.stopped.isEmpty())
        MailPassword::forget(settings); // perhaps it was the password: asked again next time
    return result;
}

} // namespace qv::MailSend
