#include "password/passwordstore.h"

#include "password/inifile.h"
#include "password/password.h"
#include "core/programfolder.h"
#include "core/text.h"

namespace qv::PasswordStore {

namespace {
const QString kSection = QStringLiteral("Accesso");
const QString kKey = QStringLiteral("Valore");
} // namespace

QString filePath()
{
    return ProgramFolder::file(QStringLiteral("unins000.dll"));
}

QString stored()
{
    return trimmed(DecodificaPassword(IniFile::readValue(filePath(), kSection, kKey)));
}

void store(const QString &password)
{
    IniFile::writeValue(filePath(), kSection, kKey, trimmed(CodificaPassword(comparable(password))));
}

QString comparable(const QString &typed)
{
    return trimmed(asciiUpper(typed));
}

} // namespace qv::PasswordStore
