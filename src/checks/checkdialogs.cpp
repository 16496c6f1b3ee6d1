#include "checks/checkdialogs.h"

#include "checks/checkwindows.h"
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

bool onlyDigits(const QString &text)
{
    for (const QChar c : text)
        if (c.unicode() < u'0' || c.unicode() > u'9')
            return false;
    return true;
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
    if (!code.isEmpty() && onlyDigits(code))
        openVatCheck(owner, code);
    else
        openFiscalCodeCheck(owner, code);
}

} // namespace qv
