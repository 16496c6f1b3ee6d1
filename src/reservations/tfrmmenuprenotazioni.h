#pragma once
#include "frame/workspace.h"
#include "reservations/seatmap.h"

class QLabel;
class QLineEdit;
class QPushButton;
namespace qv {
class ClickablePicture;
struct EventInfo;
}

// Chooses the event whose seats are booked, then hands over to the
// reservation card bound to that event's archive.
class TfrmMenuPrenotazioni : public qv::Workspace
{
    Q_OBJECT
public:
    explicit TfrmMenuPrenotazioni(QWidget *parent = nullptr);

    QLabel *lblInformazioni;
    QPushButton *btnSeleziona;
    QLabel *icoUno, *icoMano01;
    // The chosen event, as the picker writes it; never editable.
    QLineEdit *txtTitolo, *txtDataInizio, *txtOraInizio, *txtDataFine, *txtOraFine, *txtSede, *txtIndirizzo,
        *txtPosti;
    QPushButton *btnAssegna;
    QLabel *icoDue, *icoMano02;
    qv::ClickablePicture *imgMappa; // the seat map of the chosen event
    QLabel *lblPrenotati;           // SeatMap::selectionText(): "12 prenotati (2 da confermare), 10 posti occupati su 100, 90 liberi"
    // The day of the event, once one is chosen: check-in at the door, badges.
    qv::ClickablePicture *imgAccoglienza, *imgCartellini, *imgAttestati, *imgFoglioFirme, *imgPosta;
    qv::ClickablePicture *imgStatistiche; // the chosen event's statistics
    QLabel *lblPosizione; // the chosen event's record number
    QLabel *lblMemory;    // "avvio" while shown; "prenotazioni" once the seats are to be assigned
    qv::ClickablePicture *imgGuida, *imgEsci;

    void btnSelezionaClick();
    void btnAssegnaClick();
    void imgMappaClick();
    // The chosen event, with the path of its reservations archive.
    qv::SeatMapEvent chosenEvent() const;
    // Counts the chosen event's bookings and seats into lblPrenotati, as the map counts them.
    void updateBookedCount();
    void imgAccoglienzaClick();
    void imgCartelliniClick();
    void imgAttestatiClick();
    void imgFoglioFirmeClick();
    void imgPostaClick();
    void imgStatisticheClick();

protected:
    void showEvent(QShowEvent *event) override;
    QWidget *windowAfterClose() const override;

private:
    QList<QLineEdit *> eventBoxes() const;
    void txtTitoloChange();
    void discardChoice();
    void enableDayOfEvent(bool chosen);
    // The chosen event as the day of the event's windows take it.
    qv::EventInfo chosenEventInfo() const;
};
