#pragma once
#include "output/summarylistwindow.h"

class QLineEdit;

// The event search and picker: finds events by up to ten filters and hands
// the double-clicked one to the window its mode word names ("registro": the
// event card; "menu_prenotazioni": the event selection for seat booking).
class TfrmTrovaRegistro : public qv::SummaryListWindow
{
    Q_OBJECT
public:
    explicit TfrmTrovaRegistro(QWidget *parent = nullptr);

    // The filter boxes, in tab order.
    QLineEdit *txtTitolo, *txtTipologia, *txtMaterie, *txtRelatori, *txtDataInizio, *txtOrganizzatore,
        *txtContatto, *txtSede, *txtCollaboratori, *txtNote;

    static qv::SummaryListConfig configuration();
    // Hands a chosen event to the window the mode word names; an unknown word
    // delivers nothing.
    static void deliver(const qv::Record &record, qint64 number, const QString &modeWord);
};
