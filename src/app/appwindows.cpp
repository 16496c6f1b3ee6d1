#include "app/appwindows.h"

#include "app/tfrmavvio.h"
#include "app/tfrmcambiapassword.h"
#include "app/tfrmpassword.h"
#include "events/tfrmregistro.h"
#include "participants/tfrmclienti.h"
#include "reservations/tfrmmenuprenotazioni.h"
#include "reservations/tfrmprenotazioni.h"
#include "stats/tfrmstatistiche.h"

namespace qv {

void createWindows()
{
    AppWindows &w = windows();
    w.frmPassword = new TfrmPassword;
    w.frmAvvio = new TfrmAvvio;
    w.mainMenu = w.frmAvvio;
    w.frmCambiaPassword = new TfrmCambiaPassword;
    w.passwordChange = w.frmCambiaPassword;
    w.frmClienti = new TfrmClienti;
    w.frmRegistro = new TfrmRegistro;
    w.frmMenuPrenotazioni = new TfrmMenuPrenotazioni;
    w.frmPrenotazioni = new TfrmPrenotazioni;
    w.eventStatistics = openEventStatistics;
    w.yearStatistics = openYearStatistics;
}

void destroyWindows()
{
    AppWindows &w = windows();
    delete w.frmPrenotazioni;
    delete w.frmMenuPrenotazioni;
    delete w.frmRegistro;
    delete w.frmClienti;
    delete w.frmCambiaPassword;
    delete w.frmAvvio;
    delete w.frmPassword;
    w = AppWindows{};
}

} // namespace qv
