#include "events/tfrmregistro.h"

TfrmRegistro::TfrmRegistro(QWidget *parent) : qv::Workspace(parent)
{
    setObjectName(QStringLiteral("frmRegistro"));
    setWindowTitle(QStringLiteral(" Quorvane - Eventi Programmati"));
    setWindowState(Qt::WindowMaximized);
}

void TfrmRegistro::showRecord(const qv::Record &, qint64) {}
