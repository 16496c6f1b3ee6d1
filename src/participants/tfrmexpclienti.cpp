#include "participants/tfrmexpclienti.h"

#include "archive/records.h"
#include "frame/guide.h"

using namespace qv;

ExportWindowConfig TfrmExpClienti::configuration()
{
    return {QStringLiteral("frmExpClienti"), QStringLiteral(" Esporta archivio partecipanti in Microsoft Excel"),
            ExportLayouts::participants(), [] { return TSchedaPartecipante::archivePath(); },
            [](QWidget *owner) { showGuide(owner, GuideTopic::ParticipantsExport); }};
}

TfrmExpClienti::TfrmExpClienti(QWidget *parent) : ExportWindow(configuration(), parent) {}

namespace qv {

void openParticipantsExport(QWidget *owner)
{
    TfrmExpClienti dialog(owner);
    dialog.exec();
}

} // namespace qv
