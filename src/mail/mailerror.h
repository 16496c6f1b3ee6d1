#pragma once
#include <QString>

#include <stdexcept>

namespace qv::Mail {

// The one error of the mail room: the outbox or the settings could not be
// read or written. Its text is a sentence for the user.
class Error : public std::runtime_error
{
public:
    explicit Error(const QString &message) : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

} // namespace qv::Mail
