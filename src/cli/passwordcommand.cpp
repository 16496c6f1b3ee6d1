#include "cli/passwordcommand.h"

#include "core/text.h"
#include "password/inifile.h"
#include "password/passwordstore.h"

namespace qv::cli {

QString PasswordCommand::synopsis() const
{
    return QStringLiteral("password reset [--yes]");
}

QString PasswordCommand::help() const
{
    return QStringLiteral(
        "Uso: quorvane-cli password reset [--yes]\n"
        "\n"
        "Riporta la password d'accesso a quella del primo accesso, scrivendola in unins000.dll nella cartella\n"
        "del programma; le altre sezioni e chiavi del file restano come sono. Il file viene sostituito per\n"
        "intero, mai scritto a met\u00E0. Chiede conferma, a meno di --yes.\n"
        "\n"
        "Stato di uscita: 0 password ripristinata, 1 annullato, 2 uso errato, 3 file non scrivibile.");
}

int PasswordCommand::run(const Arguments &args)
{
    if (args.positional.at(0) != QLatin1String("reset"))
        throw usageError(QStringLiteral("sottocomando sconosciuto %1: quorvane-cli password reset [--yes].")
                             .arg(quoted(args.positional.at(0))));
    const QString path = PasswordStore::filePath();
    if (!args.has(QStringLiteral("--yes"))
        && !console::confirm(QStringLiteral("Ripristinare la password del primo accesso in %1?").arg(path))) {
        console::out(QStringLiteral("Annullato: la password non \u00E8 stata cambiata."));
        return ExitNegative;
    }
    try {
        PasswordStore::store(PasswordStore::firstAccessPassword());
    } catch (const IniFile::Error &) {
        throw fileError(QStringLiteral("impossibile scrivere %1 (accertarsi di possedere i privilegi di scrittura "
                                       "nella cartella del programma); la password non \u00E8 stata cambiata.")
                            .arg(quoted(path)));
    }
    console::out(QStringLiteral("Password del primo accesso ripristinata in %1.").arg(path));
    return ExitOk;
}

} // namespace qv::cli
