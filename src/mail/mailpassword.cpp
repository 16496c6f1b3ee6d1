#include "mail/mailpassword.h"

#include <QEventLoop>
#include <QHash>
#include <QInputDialog>
#include <QLineEdit>
#include <QTimer>

#include <qt6keychain/keychain.h>

namespace qv::MailPassword {

namespace {

const QString kService = QStringLiteral("Quorvane");

// A keyring that does not answer within this time is taken for absent (a
// desktop without one may otherwise keep the window waiting).
constexpr int kKeyringWaitMs = 4000;

// Runs a job of the keyring to its end; false when it failed or took too long.
bool runJob(QKeychain::Job &job, QString *why)
{
    QEventLoop loop;
    bool finished = false;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    QTimer::singleShot(kKeyringWaitMs, &loop, &QEventLoop::quit);
    job.setAutoDelete(false);
    job.start();
    if (!finished)
        loop.exec();
    if (!finished) {
        if (why)
            *why = QStringLiteral("il portachiavi di sistema non risponde");
        return false;
    }
    if (job.error() != QKeychain::NoError) {
        if (why)
            *why = job.errorString();
        return false;
    }
    return true;
}

class SystemKeyring : public Keyring
{
public:
    std::optional<QString> read(const QString &key) override
    {
        QKeychain::ReadPasswordJob job(kService);
        job.setKey(key);
        job.setInsecureFallback(false);
        if (!runJob(job, nullptr))
            return std::nullopt;
        return job.textData();
    }
    bool write(const QString &key, const QString &password, QString *why) override
    {
        QKeychain::WritePasswordJob job(kService);
        job.setKey(key);
        // Never a plain file in place of a keyring.
        job.setInsecureFallback(false);
        job.setTextData(password);
        return runJob(job, why);
    }
    void remove(const QString &key) override
    {
        QKeychain::DeletePasswordJob job(kService);
        job.setKey(key);
        runJob(job, nullptr);
    }
};

std::shared_ptr<Keyring> &keyring()
{
    static std::shared_ptr<Keyring> ring = std::make_shared<SystemKeyring>();
    return ring;
}

// Held for the life of the program, by server and user.
QHash<QString, QString> &held()
{
    static QHash<QString, QString> passwords;
    return passwords;
}

} // namespace

void setKeyring(std::shared_ptr<Keyring> ring)
{
    keyring() = ring ? std::move(ring) : std::make_shared<SystemKeyring>();
    held().clear();
}

QString keyOf(const Settings &s)
{
    return QStringLiteral("smtp://%1@%2:%3").arg(s.user, s.server).arg(s.port);
}

std::optional<QString> obtain(QWidget *owner, const Settings &settings)
{
    if (settings.user.isEmpty())
        return QString();
    const QString key = keyOf(settings);
    if (held().contains(key))
        return held().value(key);
    if (const std::optional<QString> kept = keyring()->read(key)) {
        held().insert(key, *kept);
        return kept;
    }
    QInputDialog ask(owner);
    ask.setObjectName(QStringLiteral("frmPasswordPosta"));
    ask.setWindowTitle(QStringLiteral(" Password della posta elettronica"));
    ask.setLabelText(QStringLiteral("Password di %1 sul server %2:").arg(settings.user, settings.server));
    ask.setTextEchoMode(QLineEdit::Password);
    ask.setOkButtonText(QStringLiteral("OK"));
    ask.setCancelButtonText(QStringLiteral("Annulla"));
    if (ask.exec() != QDialog::Accepted)
        return std::nullopt;
    held().insert(key, ask.textValue());
    return ask.textValue();
}

bool store(const Settings &settings, const QString &password, QString *why)
{
    const QString key = keyOf(settings);
    held().insert(key, password);
    return keyring()->write(key, password, why);
}

void forget(const Settings &settings)
{
    held().remove(keyOf(settings));
}

} // namespace qv::MailPassword
