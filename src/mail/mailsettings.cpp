#include "mail/mailsettings.h"

#include "mail/mailerror.h"
#include "core/text.h"
#include "password/inifile.h"
#include "password/passwordstore.h"

namespace qv::Mail {

namespace {

const QString kSection = QStringLiteral("Posta");

QString value(const QString &key)
{
    return trimmed(IniFile::readValue(PasswordStore::filePath(), kSection, key));
}

} // namespace

QString securityName(Security security)
{
    switch (security) {
    case Security::None:
        return QStringLiteral("nessuna");
    case Security::StartTls:
        return QStringLiteral("starttls");
    case Security::Tls:
        return QStringLiteral("ssl");
    }
    return {};
}

Security securityFromName(const QString &name, bool *ok)
{
    const QString n = asciiLower(trimmed(name));
    if (ok)
        *ok = true;
    if (n == QLatin1String("nessuna"))
        return Security::None;
    if (n == QLatin1String("ssl") || n == QLatin1String("ssl/tls") || n == QLatin1String("tls"))
        return Security::Tls;
    if (ok)
        *ok = n == QLatin1String("starttls");
    return Security::StartTls;
}

int defaultPort(Security security)
{
    switch (security) {
    case Security::None:
        return 25;
    case Security::StartTls:
        return 587;
    case Security::Tls:
        return 465;
    }
    return 587;
}

QString Settings::missing() const
{
    if (server.isEmpty())
        return QStringLiteral("manca il server di posta in uscita");
    if (port < 1 || port > 65535)
        return QStringLiteral("la porta deve essere un numero da 1 a 65535");
    if (!plausibleAddress(sender))
        return QStringLiteral("manca l'indirizzo del mittente, o non \u00E8 un indirizzo di posta");
    if (!replyTo.isEmpty() && !plausibleAddress(replyTo))
        return QStringLiteral("l'indirizzo per le risposte non \u00E8 un indirizzo di posta");
    return {};
}

Settings readSettings()
{
    Settings s;
    try {
        s.server = value(QStringLiteral("Server"));
        s.security = securityFromName(value(QStringLiteral("Sicurezza")));
        bool ok = false;
        const int port = value(QStringLiteral("Porta")).toInt(&ok);
        s.port = ok && port > 0 && port <= 65535 ? port : defaultPort(s.security);
        s.user = value(QStringLiteral("Utente"));
        s.sender = value(QStringLiteral("Mittente"));
        s.senderName = value(QStringLiteral("NomeMittente"));
        s.replyTo = value(QStringLiteral("RispondiA"));
        const int perMinute = value(QStringLiteral("MessaggiAlMinuto")).toInt(&ok);
        s.perMinute = ok && perMinute > 0 ? perMinute : 0;
        s.caFile = value(QStringLiteral("CertificatoCA"));
    } catch (const IniFile::Error &) {
        return Settings();
    }
    return s;
}

void writeSettings(const Settings &s)
{
    const QString path = PasswordStore::filePath();
    try {
        IniFile::writeValue(path, kSection, QStringLiteral("Server"), trimmed(s.server));
        IniFile::writeValue(path, kSection, QStringLiteral("Porta"), QString::number(s.port));
        IniFile::writeValue(path, kSection, QStringLiteral("Sicurezza"), securityName(s.security));
        IniFile::writeValue(path, kSection, QStringLiteral("Utente"), trimmed(s.user));
        IniFile::writeValue(path, kSection, QStringLiteral("Mittente"), trimmed(s.sender));
        IniFile::writeValue(path, kSection, QStringLiteral("NomeMittente"), trimmed(s.senderName));
        IniFile::writeValue(path, kSection, QStringLiteral("RispondiA"), trimmed(s.replyTo));
        IniFile::writeValue(path, kSection, QStringLiteral("MessaggiAlMinuto"), QString::number(qMax(s.perMinute, 0)));
        IniFile::writeValue(path, kSection, QStringLiteral("CertificatoCA"), trimmed(s.caFile));
    } catch (const IniFile::Error &) {
        throw Error(QStringLiteral("impossibile scrivere le impostazioni della posta in %1.").arg(path));
    }
}

bool plausibleAddress(const QString &address)
{
    const qsizetype at = address.indexOf(QLatin1Char('@'));
    if (at <= 0 || at != address.lastIndexOf(QLatin1Char('@')) || at == address.size() - 1)
        return false;
    for (const QChar c : address)
        if (c.unicode() <= 32 || c.unicode() == 127 || c == QLatin1Char('<') || c == QLatin1Char('>')
            || c == QLatin1Char(',') || c == QLatin1Char(';') || c == QLatin1Char('"'))
            return false;
    return true;
}

} // namespace qv::Mail
