// The backup settings live in the program's INI file, beside the password.
#include "backup/backup.h"

#include "password/inifile.h"
#include "password/passwordstore.h"
#include "core/text.h"

#include <algorithm>

namespace qv::Backup {

QString iniFilePath()
{
    return PasswordStore::filePath();
}

Settings readSettings()
{
    const QString section = QStringLiteral("Backup");
    Settings settings;
    try {
        bool ok = false;
        const int copies = trimmed(IniFile::readValue(iniFilePath(), section, QStringLiteral("Copie"))).toInt(&ok);
        // A value that is not a count keeps the default rather than turning
        // the backups off.
        if (ok && copies >= 0)
            settings.copies = copies;
        settings.attachments = trimmed(IniFile::readValue(iniFilePath(), section, QStringLiteral("Allegati")))
                               == QLatin1String("1");
    } catch (const IniFile::Error &) {
        // An unreadable file: the defaults.
    }
    return settings;
}

void writeSettings(const Settings &settings)
{
    const QString section = QStringLiteral("Backup");
    try {
        IniFile::writeValue(iniFilePath(), section, QStringLiteral("Copie"), QString::number(std::max(settings.copies, 0)));
        IniFile::writeValue(iniFilePath(), section, QStringLiteral("Allegati"),
                            settings.attachments ? QStringLiteral("1") : QStringLiteral("0"));
    } catch (const IniFile::Error &) {
        throw Error(Error::Failed, QStringLiteral("impossibile scrivere le impostazioni delle copie in %1.")
                                       .arg(iniFilePath()));
    }
}

} // namespace qv::Backup
