#include "reservations/tfrmexpprenotazioni.h"

#include "core/text.h"
#include "frame/guide.h"

using namespace qv;

ExportWindowConfig TfrmExpPrenotazioni::configuration(const QString &archiveFileName)
{
    return {QStringLiteral("frmExpPrenotazioni"), QStringLiteral(" Esporta archivio prenotazioni in Microsoft Excel"),
            ExportLayouts::reservations(), [path = trimmed(archiveFileName)] { return path; },
            [](QWidget *owner) { showGuide(owner, GuideTopic::ReservationsExport); }};
}

TfrmExpPrenotazioni::TfrmExpPrenotazioni(const QString &archiveFileName, QWidget *parent)
    : ExportWindow(configuration(archiveFileName), parent)
{
}

namespace qv {

void openReservationsExport(QWidget *owner, const QString &archiveFileName)
{
    TfrmExpPrenotazioni dialog(archiveFileName, owner);
    dialog.exec();
}

} // namespace qv
