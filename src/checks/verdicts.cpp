#include "checks/verdicts.h"

#include "checks/validators.h"
#include "core/text.h"

namespace qv::checks {
namespace {

Verdict verdict(Verdict::Outcome outcome, QStringList paragraphs)
{
    return {outcome, std::move(paragraphs)};
}

} // namespace

Verdict fiscalCodeVerdict(const QString &text)
{
    switch (checkFiscalCode(text)) {
    case FiscalCodeVerdict::WrongLength:
        return verdict(Verdict::Outcome::Retry,
                       {QStringLiteral("Attenzione: il codice fiscale deve essere composto da 16 caratteri "
                                       "alfanumerici.")});
    case FiscalCodeVerdict::Valid:
        return verdict(Verdict::Outcome::Valid, {QStringLiteral("Il codice fiscale digitato \u00E8 VALIDO.")});
    case FiscalCodeVerdict::Invalid:
        break;
    }
    // Also a code with a character that is neither a letter nor a digit.
    return verdict(Verdict::Outcome::Invalid, {QStringLiteral("Attenzione: il codice fiscale digitato \u00E8 ERRATO.")});
}

Verdict fiscalCodeBoxVerdict(const QString &text)
{
    const QString code = trimmed(text);
    return isNumericFiscalCode(code) ? vatNumberVerdict(code) : fiscalCodeVerdict(text);
}

Verdict vatNumberVerdict(const QString &text)
{
    // Blanks count here: a number with a blank is of the right length and wrong.
    const QString number = asciiUpper(text);
    if (number.size() != 11)
        return verdict(Verdict::Outcome::Retry,
                       {QStringLiteral("Attenzione: la partita IVA deve essere composta da 11 caratteri numerici.")});
    if (!isVatNumberValid(number))
        return verdict(Verdict::Outcome::Invalid,
                       {QStringLiteral("Attenzione: il numero di partita IVA digitato risulta ERRATO!"),
                        QStringLiteral("Non \u00E8 quindi possibile fornire informazioni relative all'Ufficio IVA "
                                       "che lo ha rilasciato.")});
    const QString code = number.mid(7, 3);
    const QString office = vatOfficeName(code);
    const QString valid = QStringLiteral("Il numero di partita IVA digitato risulta VALIDO.");
    if (!office.isEmpty())
        return verdict(Verdict::Outcome::Valid,
                       {valid, QStringLiteral("E' stato rilasciato dall'Ufficio IVA del Comune di ") + office
                                   + QStringLiteral(".")});
    return verdict(Verdict::Outcome::Valid,
                   {valid, QStringLiteral("Non \u00E8 possibile identificare l'Ufficio IVA che lo ha rilasciato: il "
                                          "codice ufficio ")
                               + code + QStringLiteral(" non \u00E8 tra quelli conosciuti.")});
}

Verdict cardVerdict(const QString &text)
{
    const QString shown = trimmed(text);
    if (shown.isEmpty())
        return verdict(Verdict::Outcome::Retry,
                       {QStringLiteral("Attenzione: immettere il numero di carta di credito prima di premere il "
                                       "pulsante di controllo.")});
    const int kind = cardKindCode(text);
    const QString name = cardKindName(kind, shown);
    const QString valid = QStringLiteral("Il numero di carta di credito ") + shown + QStringLiteral(" risulta valido.");
    if (!name.isEmpty())
        return verdict(Verdict::Outcome::Valid,
                       {valid, QStringLiteral("La carta di credito \u00E8 del tipo ") + name + QStringLiteral(".")});
    // Passes the check and starts with 3, but with no prefix we know.
    if (kind == 1)
        return verdict(Verdict::Outcome::Valid,
                       {valid, QStringLiteral("Non \u00E8 possibile identificare il tipo di carta di credito.")});
    return verdict(Verdict::Outcome::Invalid,
                   {QStringLiteral("Attenzione: il numero digitato risulta ERRATO!"),
                    QStringLiteral("Non \u00E8 quindi possibile fornire informazioni relative al tipo di carta di "
                                   "credito.")});
}

Verdict ibanVerdict(const QString &text)
{
    const QString iban = trimmed(text);
    if (iban.size() != 27)
        return verdict(Verdict::Outcome::Retry,
                       {QStringLiteral("Attenzione: l'IBAN deve essere composto da 27 caratteri alfanumerici.")});
    if (isIbanValid(iban))
        return verdict(Verdict::Outcome::Valid, {QStringLiteral("L'IBAN digitato \u00E8 VALIDO.")});
    return verdict(Verdict::Outcome::Invalid, {QStringLiteral("Attenzione: l'IBAN digitato \u00E8 ERRATO!")});
}

} // namespace qv::checks
