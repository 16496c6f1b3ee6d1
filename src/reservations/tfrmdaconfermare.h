#pragma once
#include "output/summarylistwindow.h"

class TfrmPrenotazioni;

// The bookings of the card's event marked "Da confermare", by name; a
// double-click loads the booking into the card.
class TfrmDaConfermare : public qv::SummaryListWindow
{
    Q_OBJECT
public:
    explicit TfrmDaConfermare(TfrmPrenotazioni *card);
    static qv::SummaryListConfig configuration(TfrmPrenotazioni *card);
};
