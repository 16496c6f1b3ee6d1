#include "participants/tfrmclienti.h"

TfrmClienti::TfrmClienti(QWidget *parent) : qv::Workspace(parent)
{
    setObjectName(QStringLiteral("frmClienti"));
    setWindowTitle(QStringLiteral(" Quorvane - Anagrafica Partecipanti"));
    qv::fillScreen(this);
}
