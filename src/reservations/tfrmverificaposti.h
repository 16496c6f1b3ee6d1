#pragma once
#include "output/summarylistwindow.h"

class TfrmPrenotazioni;

// Every booked seat of the card's event, in seat order; a double-click loads
// the booking into the card.
class TfrmVerificaPosti : public qv::SummaryListWindow
{
    Q_OBJECT
public:
    explicit TfrmVerificaPosti(TfrmPrenotazioni *card);
    static qv::SummaryListConfig configuration(TfrmPrenotazioni *card);
};
