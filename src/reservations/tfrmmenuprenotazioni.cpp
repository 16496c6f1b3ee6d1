#include "reservations/tfrmmenuprenotazioni.h"

#include "app/appwindows.h"
#include "app/tfrmavvio.h"
#include "core/text.h"
#include "reservations/tfrmprenotazioni.h"

#include <QLabel>

TfrmMenuPrenotazioni::TfrmMenuPrenotazioni(QWidget *parent) : qv::Workspace(parent)
{
    setObjectName(QStringLiteral("frmMenuPrenotazioni"));
    setWindowTitle(QStringLiteral(" Quorvane - Posti Assegnati"));
    lblMemory = new QLabel(this);
    lblMemory->setObjectName(QStringLiteral("lblMemory"));
    lblMemory->hide();
    setWindowState(Qt::WindowMaximized);
}

void TfrmMenuPrenotazioni::showEvent(QShowEvent *event)
{
    qv::Workspace::showEvent(event);
    lblMemory->setText(QStringLiteral("avvio"));
}

QWidget *TfrmMenuPrenotazioni::windowAfterClose() const
{
    if (qv::trimmed(lblMemory->text()) == QLatin1String("prenotazioni"))
        return qv::windows().frmPrenotazioni;
    return qv::windows().frmAvvio;
}
