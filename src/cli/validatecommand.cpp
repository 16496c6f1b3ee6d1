#include "cli/validatecommand.h"

#include "checks/verdicts.h"

namespace qv::cli {

QString ValidateCommand::synopsis() const
{
    return QStringLiteral("validate cf|piva|carta|iban TESTO");
}

QString ValidateCommand::help() const
{
    return QStringLiteral(
        "Uso: quorvane-cli validate cf|piva|carta|iban TESTO\n"
        "\n"
        "Controlla un codice fiscale (cf), una partita IVA (piva, con l'ufficio che l'ha rilasciata), un numero\n"
        "di carta di credito (carta, con il tipo di carta) o un IBAN (iban), con gli stessi esiti delle finestre\n"
        "di controllo del programma.\n"
        "\n"
        "Stato di uscita: 0 valido, 1 errato o di lunghezza sbagliata, 2 uso errato.");
}

int ValidateCommand::run(const Arguments &args)
{
    const QString what = args.positional.at(0);
    const QString text = args.positional.at(1);
    checks::Verdict verdict;
    if (what == QLatin1String("cf"))
        verdict = checks::fiscalCodeBoxVerdict(text); // as the card's button: digits are a company's code
    else if (what == QLatin1String("piva"))
        verdict = checks::vatNumberVerdict(text);
    else if (what == QLatin1String("carta"))
        verdict = checks::cardVerdict(text);
    else if (what == QLatin1String("iban"))
        verdict = checks::ibanVerdict(text);
    else
        throw usageError(QStringLiteral("controllo sconosciuto %1: usare cf, piva, carta o iban.").arg(quoted(what)));
    for (const QString &paragraph : std::as_const(verdict.paragraphs))
        console::out(paragraph);
    return verdict.outcome == checks::Verdict::Outcome::Valid ? ExitOk : ExitNegative;
}

} // namespace qv::cli
