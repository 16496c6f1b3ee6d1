#include "ui/desktop.h"

#include "core/tmisc.h"
#include "ui/messages.h"

#include <QDir>

namespace qv::Desktop {

const QString kMailProgramFailed =
    QStringLiteral("Attenzione: non \u00E8 stato possibile avviare il programma di posta elettronica.") + Messages::kBreak
    + QStringLiteral("Accertarsi che nel sistema sia indicato un programma di posta elettronica predefinito.");

bool openFile(const QString &path, QWidget *owner)
{
    if (TMisc::Open(TMisc::Wrapped(path)))
        return true;
    Messages::caution(QStringLiteral("Attenzione: non \u00E8 stato possibile avviare il programma che apre il file.")
                          + Messages::kBreak + QStringLiteral("Il file si trova in:\r\n")
                          + QDir::toNativeSeparators(path) + Messages::kBreak
                          + QStringLiteral("Aprirlo da l\u00EC con il programma adatto."),
                      owner);
    return false;
}

bool openAddress(const QString &address, QWidget *owner)
{
    if (TMisc::Open(address))
        return true;
    Messages::caution(QStringLiteral("Attenzione: non \u00E8 stato possibile avviare il browser per aprire "
                                     "l'indirizzo %1.")
                          .arg(address),
                      owner);
    return false;
}

bool composeMail(const QString &address, const QString &subject, const QString &body, const QStringList &bcc,
                 QWidget *owner)
{
    if (qv::composeMail(address, subject, body, bcc))
        return true;
    Messages::caution(kMailProgramFailed, owner);
    return false;
}

} // namespace qv::Desktop
