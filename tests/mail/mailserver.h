#pragma once
// The tests' mail server: Debian's aiosmtpd on the loopback address
// (smtpserver.py beside this file), with STARTTLS on a certificate made for
// the test and a user name and password, and the messages it received as
// Python's own e-mail parser read them.
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QString>
#include <QStringList>

namespace mailtest {

inline const QString kUser = QStringLiteral("segreteria");
inline const QString kPassword = QStringLiteral("S3greta-Pà55");

inline QString python()
{
    // Debian's interpreter, which has aiosmtpd, whatever else is on the PATH.
    return QFile::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                           : QStandardPaths::findExecutable(QStringLiteral("python3"));
}

inline bool serverAvailable()
{
    QProcess probe;
    probe.start(python(), {QStringLiteral("-c"), QStringLiteral("import aiosmtpd")});
    return probe.waitForFinished(20000) && probe.exitCode() == 0
           && !QStandardPaths::findExecutable(QStringLiteral("openssl")).isEmpty();
}

struct ServerOptions
{
    QStringList refuse;
    QStringList defer; // "address:count"
    int hangAfter = 0;
    bool tls = true;
    bool auth = true;
};

class MailServer
{
public:
    explicit MailServer(const QString &mailbox, const ServerOptions &options = ServerOptions()) : m_mailbox(mailbox)
    {
        QDir().mkpath(mailbox);
        if (options.tls)
            makeCertificate();
        QStringList args{QStringLiteral(QV_SMTP_SERVER), QStringLiteral("--mailbox"), mailbox};
        if (options.tls)
            args << QStringLiteral("--cert") << certificate() << QStringLiteral("--key") << m_certDir.filePath(QStringLiteral("key.pem"));
        if (options.auth)
            args << QStringLiteral("--user") << kUser << QStringLiteral("--password") << kPassword;
        for (const QString &a : options.refuse)
            args << QStringLiteral("--refuse") << a;
        for (const QString &d : options.defer)
            args << QStringLiteral("--defer") << d;
        if (options.hangAfter > 0)
            args << QStringLiteral("--hang-after") << QString::number(options.hangAfter);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(python(), args);
        if (m_process.waitForStarted(10000)) {
            for (int i = 0; i < 200 && m_port == 0; ++i) {
                m_process.waitForReadyRead(100);
                const QByteArray line = m_process.readLine().trimmed();
                if (line.startsWith("PORT "))
                    m_port = line.mid(5).toInt();
            }
        }
    }
    ~MailServer()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }

    int port() const { return m_port; }
    QString certificate() const { return m_certDir.filePath(QStringLiteral("cert.pem")); }

    // The messages received, in order.
    QList<QJsonObject> messages() const
    {
        QList<QJsonObject> out;
        const QDir dir(m_mailbox);
        for (const QString &name : dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name)) {
            QFile f(dir.filePath(name));
            if (f.open(QIODevice::ReadOnly))
                out.append(QJsonDocument::fromJson(f.readAll()).object());
        }
        return out;
    }
    // Every recipient of every message received, one entry a delivery.
    QStringList received() const
    {
        QFile f(QDir(m_mailbox).filePath(QStringLiteral("received.log")));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    int stored() const { return int(QDir(m_mailbox).entryList({QStringLiteral("*.eml")}, QDir::Files).size()); }

private:
    void makeCertificate()
    {
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"),
                      {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("rsa:2048"),
                       QStringLiteral("-nodes"), QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"),
                       QStringLiteral("/CN=localhost"), QStringLiteral("-addext"),
                       QStringLiteral("subjectAltName=IP:127.0.0.1,DNS:localhost"), QStringLiteral("-keyout"),
                       m_certDir.filePath(QStringLiteral("key.pem")), QStringLiteral("-out"), certificate()});
        openssl.waitForFinished(60000);
    }

    QString m_mailbox;
    QTemporaryDir m_certDir;
    QProcess m_process;
    int m_port = 0;
};

} // namespace mailtest
