#pragma once
#include <QString>

// The mail server the program sends through, kept in the program's INI file
// under [Posta]. The password is not among them: it lives in the system's
// keyring or in memory (MailPassword), never in a file of the folder.
namespace qv::Mail {

enum class Security { None, StartTls, Tls };

struct Settings
{
    QString server;
    int port = 587;
    Security security = Security::StartTls;
    QString user;
    QString sender;     // the address messages come from
    QString senderName; // the name shown beside it
    QString replyTo;    // optional
    int perMinute = 0;  // 0: as fast as the server takes them
    QString caFile;     // a PEM file trusted besides the system's authorities

    // What is missing before anything can be sent, in words; empty when the
    // settings are complete.
    QString missing() const;
};

QString securityName(Security security);                 // "nessuna", "starttls", "ssl"
Security securityFromName(const QString &name, bool *ok = nullptr);
int defaultPort(Security security);                      // 25, 587, 465

// A missing or unreadable INI file gives the defaults.
Settings readSettings();
// Raises Error when the file cannot be written.
void writeSettings(const Settings &settings);

// Whether an address looks like one a server will take: one '@', something
// on both sides, no blanks, no angle brackets, no control characters.
bool plausibleAddress(const QString &address);

} // namespace qv::Mail
