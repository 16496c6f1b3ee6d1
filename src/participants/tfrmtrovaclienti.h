#pragma once
#include "output/summarylistwindow.h"

class QLineEdit;

// The participant search and picker: finds participants by up to ten filters
// and hands the double-clicked one to the window its mode word names.
class TfrmTrovaClienti : public qv::SummaryListWindow
{
    Q_OBJECT
public:
    explicit TfrmTrovaClienti(QWidget *parent = nullptr);

    // The filter boxes, in tab order.
    QLineEdit *txtCliente, *txtComuneRes, *txtPartitaIva, *txtCodFisc, *txtDocumento, *txtOccupazione, *txtProdotti,
        *txtZona, *txtQuestioni, *txtNote;

    static qv::SummaryListConfig configuration();
    // Hands a chosen participant to the window the mode word names ("clienti",
    // "organizzatore", "contatto", "prenotazioni"); an unknown word delivers nothing.
    static void deliver(const qv::Record &record, qint64 number, const QString &modeWord);
    // The personal data of a booking, written into the reservation card's boxes
    // found by name; its seat, notes, tick and record number are left alone.
    static void deliverToReservation(const qv::Record &record, QWidget *reservationCard);
};
