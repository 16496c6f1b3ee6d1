#pragma once
#include <QString>

#include <stdexcept>

// One value of an INI file, read and written without disturbing anything else
// in the file: other sections, keys, comments and line endings stay as they are.
namespace qv::IniFile {

class Error : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A missing file, section or key gives the empty text; a file that exists but
// cannot be read raises Error.
QString readValue(const QString &path, const QString &section, const QString &key);
// Creates the key, the section or the file where needed; raises Error when the
// file cannot be written.
void writeValue(const QString &path, const QString &section, const QString &key, const QString &value);

} // namespace qv::IniFile
