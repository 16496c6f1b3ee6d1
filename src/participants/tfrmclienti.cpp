#include "participants/tfrmclienti.h"

TfrmClienti::TfrmClienti(QWidget *parent) : qv::Workspace(parent)
{
    setObjectName(QStringLiteral("frmClienti"));
    setWindowTitle(QStringLiteral(" Quorvane - Anagrafica Partecipanti"));
    setWindowState(Qt::WindowMaximized);
}
