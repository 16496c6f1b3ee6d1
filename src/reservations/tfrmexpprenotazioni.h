#pragma once
#include "output/exportwindow.h"

// The bookings of one event exported to Prenotazioni_Posti.xls; the grid is
// read-only.
class TfrmExpPrenotazioni : public qv::ExportWindow
{
    Q_OBJECT
public:
    // archiveFileName: the reservations archive, as the card's lblFile names it.
    explicit TfrmExpPrenotazioni(const QString &archiveFileName, QWidget *parent = nullptr);

    static qv::ExportWindowConfig configuration(const QString &archiveFileName);
};

namespace qv {
// The reservation card's export of the archive its lblFile names: opens the
// window modally, owned by `owner`, and destroys it on return.
void openReservationsExport(QWidget *owner, const QString &archiveFileName);
}
