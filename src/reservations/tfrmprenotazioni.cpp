#include "reservations/tfrmprenotazioni.h"

TfrmPrenotazioni::TfrmPrenotazioni(QWidget *parent) : qv::Workspace(parent)
{
    setObjectName(QStringLiteral("frmPrenotazioni"));
    setWindowTitle(QStringLiteral(" Quorvane - Posti Assegnati"));
    setWindowState(Qt::WindowMaximized);
}
