#include "checks/checkdialogs.h"

#include "checks/checkwindows.h"
#include "checks/validators.h"
#include "core/text.h"

namespace qv {

namespace {

template<typename Window>
void openCheck(QWidget *owner, const QString &text)
{
    Window window(owner);
    window.setBoxText(trimmed(text));
    window.exec();
}

} // namespace

void openFiscalCodeCheck(QWidget *owner, const QString &text)
{
    openCheck<TfrmCodFisc>(owner, text);
}

void openVatCheck(QWidget *owner, const QString &text)
{
    openCheck<TfrmPartitaIva>(owner, text);
}

void openCardCheck(QWidget *owner, const QString &text)
{
    openCheck<TfrmCarta>(owner, text);
}

void openIbanCheck(QWidget *owner, const QString &text)
{
    openCheck<TfrmIban>(owner, text);
}

void openFiscalCodeButton(QWidget *owner, const QString &text)
{
    const QString code = trimmed(text);
    if (checks::isNumericFiscalCode(code))
        openVatCheck(owner, code);
    else
        openFiscalCodeCheck(owner, code);
}

} // namespace qv
