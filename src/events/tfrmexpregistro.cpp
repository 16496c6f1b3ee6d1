#include "events/tfrmexpregistro.h"

#include "archive/records.h"
#include "frame/guide.h"

using namespace qv;

ExportWindowConfig TfrmExpRegistro::configuration()
{
    return {QStringLiteral("frmExpRegistro"), QStringLiteral(" Esporta archivio eventi in Microsoft Excel"),
            ExportLayouts::events(), [] { return TSchedaEvento::archivePath(); },
            [](QWidget *owner) { showGuide(owner, GuideTopic::EventsExport); }};
}

TfrmExpRegistro::TfrmExpRegistro(QWidget *parent) : ExportWindow(configuration(), parent) {}

namespace qv {

void openEventsExport(QWidget *owner)
{
    TfrmExpRegistro dialog(owner);
    dialog.exec();
}

} // namespace qv
