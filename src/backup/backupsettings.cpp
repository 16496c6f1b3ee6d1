// The backup settings live in the program's INI file, beside the password.
#include "backup/backup.h"

#include "password/inifile.h"
#include "password/passwordstore.h"
#include "core/text.h"

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

} // namespace qv::Backup
