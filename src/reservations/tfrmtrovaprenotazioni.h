#pragma once
#include "output/summarylistwindow.h"

class QLineEdit;
class TfrmPrenotazioni;

// The reservation search: the bookings of the card's event found by up to ten
// filters; a double-click loads the chosen one into the card when the mode
// word is "prenotazioni".
class TfrmTrovaPrenotazioni : public qv::SummaryListWindow
{
    Q_OBJECT
public:
    explicit TfrmTrovaPrenotazioni(TfrmPrenotazioni *card);
    static qv::SummaryListConfig configuration(TfrmPrenotazioni *card);

    // The filter boxes, in tab order.
    QLineEdit *txtCliente, *txtCodFisc, *txtIndirizzoRes, *txtComuneRes, *txtProvRes, *txtTelCel, *txtEmail,
        *txtPosto, *txtUbicazione, *txtAnnotazioni;
};
