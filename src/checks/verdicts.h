#pragma once
#include <QString>
#include <QStringList>

// What each of the four checks tells the user about a text, in the words of
// the check dialogs; the dialogs show it in a message box, the command-line
// tool prints it.
namespace qv::checks {

struct Verdict
{
    enum class Outcome {
        Retry,   // the check could not run (wrong length, nothing typed)
        Valid,
        Invalid,
    };
    Outcome outcome = Outcome::Invalid;
    QStringList paragraphs;

    // The paragraphs as one message box text (a blank line between them).
    QString text() const { return paragraphs.join(QStringLiteral("\r\n\r\n")); }
};

// The text as the dialog's box holds it.
Verdict fiscalCodeVerdict(const QString &text);
// What the card's fiscal code button tells: a company's numeric fiscal code
// (digits only) is checked as the VAT number it is, anything else as a
// person's fiscal code.
Verdict fiscalCodeBoxVerdict(const QString &text);
Verdict vatNumberVerdict(const QString &text); // with the issuing office
Verdict cardVerdict(const QString &text);      // with the card's kind
Verdict ibanVerdict(const QString &text);

} // namespace qv::checks
