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

} // namespace qv
