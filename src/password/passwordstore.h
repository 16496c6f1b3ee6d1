#pragma once
#include <QString>

// The access password, kept scrambled in the INI file unins000.dll beside the
// program (section Accesso, key Valore).
namespace qv::PasswordStore {

QString filePath();
// The password of the first access, as the program ships.
inline QString firstAccessPassword() { return QStringLiteral("cartolinavespa"); }
// The stored password, decoded and trimmed; empty when the file, section or
// key is missing. Raises IniFile::Error or PasswordFormatError.
QString stored();
// Stores trim(ASCII-uppercase(password)) scrambled. Raises IniFile::Error.
void store(const QString &password);
// The comparison form of a typed password: ASCII upper case, trimmed.
QString comparable(const QString &typed);

} // namespace qv::PasswordStore
