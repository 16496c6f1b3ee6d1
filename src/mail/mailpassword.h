#pragma once
#include "mail/mailsettings.h"

#include <QString>

#include <memory>
#include <optional>

class QWidget;

// The password of the mail server. Never written to a file of the program
// folder: kept in the system's keyring where there is one, otherwise asked
// once after each access to the program and held in memory until it ends.
namespace qv::MailPassword {

using Mail::Settings;

// The system's keyring, behind a seam so tests can stand one in.
class Keyring
{
public:
    virtual ~Keyring() = default;
    // Nothing when there is no entry or no keyring.
    virtual std::optional<QString> read(const QString &key) = 0;
    // False, with the reason, when there is no keyring to keep it in.
    virtual bool write(const QString &key, const QString &password, QString *why) = 0;
    virtual void remove(const QString &key) = 0;
};
// An empty pointer restores the system's keyring.
void setKeyring(std::shared_ptr<Keyring> keyring);

// The entry of a server and user: "smtp://utente@server:porta".
QString keyOf(const Settings &settings);

// The password to send with: the one held in memory, or the keyring's, or
// asked of the user (held in memory then). Nothing when the user cancels.
// A server without a user name needs none (an empty password).
std::optional<QString> obtain(QWidget *owner, const Settings &settings);

// From the settings window: into the keyring when there is one, else held
// in memory; returns whether the keyring took it.
bool store(const Settings &settings, const QString &password, QString *why = nullptr);

// After the server refused it: forgotten, so it is asked again next time.
void forget(const Settings &settings);

} // namespace qv::MailPassword
