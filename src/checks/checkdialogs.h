#pragma once
#include <QString>

class QWidget;

// The four check dialogs, opened modally over `owner` with their box
// pre-filled with the caller's trimmed text. They write nothing back.
namespace qv {

void openFiscalCodeCheck(QWidget *owner, const QString &text);
void openVatCheck(QWidget *owner, const QString &text);
void openCardCheck(QWidget *owner, const QString &text);
void openIbanCheck(QWidget *owner, const QString &text);

// What the fiscal-code button of a card opens for the text of its box: a
// text of digits 0-9 only (not empty) is a company's numeric code and gets
// the VAT number check; anything else, the empty text included, gets the
// fiscal code check.
void openFiscalCodeButton(QWidget *owner, const QString &text);

} // namespace qv
