#pragma once
#include <QString>

#include <stdexcept>

namespace qv::Backup {

// Every failure of a backup, a verify or a restore, with the program's words.
class Error : public std::runtime_error
{
public:
    enum Kind {
        Failed,  // a file could not be read or written
        Busy,    // an archive is being written, or another backup is running
        Damaged, // a backup that does not verify
    };
    Error(Kind kind, const QString &message)
        : std::runtime_error(message.toStdString()), m_kind(kind), m_message(message)
    {
    }
    Kind kind() const { return m_kind; }
    const QString &message() const { return m_message; }

private:
    Kind m_kind;
    QString m_message;
};

} // namespace qv::Backup
