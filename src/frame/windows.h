#pragma once
#include <QtGlobal>

#include <functional>

class QWidget;
class TfrmPassword;
class TfrmAvvio;
class TfrmCambiaPassword;
class TfrmClienti;
class TfrmRegistro;
class TfrmMenuPrenotazioni;
class TfrmPrenotazioni;

namespace qv {

// The seven long-lived windows, created once at start (by the program's shell)
// and reached by name.
struct AppWindows
{
    TfrmPassword *frmPassword = nullptr;
    TfrmAvvio *frmAvvio = nullptr;
    TfrmCambiaPassword *frmCambiaPassword = nullptr;
    TfrmClienti *frmClienti = nullptr;
    TfrmRegistro *frmRegistro = nullptr;
    TfrmMenuPrenotazioni *frmMenuPrenotazioni = nullptr;
    TfrmPrenotazioni *frmPrenotazioni = nullptr;
    // frmAvvio and frmCambiaPassword as plain windows: the registers return
    // to the main menu, and the password window opens the password change,
    // without knowing their classes.
    QWidget *mainMenu = nullptr;
    QWidget *passwordChange = nullptr;
    // The statistics of an event (from the event selection) and of a year
    // (from the events card), which stand above the registers.
    std::function<void(QWidget *owner, qint64 event)> eventStatistics;
    std::function<void(QWidget *owner, int year)> yearStatistics;
};

AppWindows &windows();

// Shows `next` first, then hides `current`, so one long-lived window is always visible.
void switchWindow(QWidget *current, QWidget *next);

// Ends the program at once, without asking anything.
void endProgram();

} // namespace qv
