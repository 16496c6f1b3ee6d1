#pragma once
#include "output/pageoutput.h"
#include "eventday/badges.h"
#include "eventday/bookingchoice.h"
#include "eventday/bookings.h"

#include <QDialog>

#include <optional>

class QLabel;
class QPushButton;
class QRadioButton;
namespace qv {
class ClickablePicture;
}

// The name badges' window: which bookings get a badge and on which sheet of
// labels, then preview, print or "Cartellini_Evento_<n>.pdf". Opened from
// the event selection, the booked-seats list and the reservation card;
// shown modally and destroyed when it closes.
class TfrmCartellini : public QDialog
{
    Q_OBJECT
public:
    // `current`: opened from the reservation card, the number of the booking
    // it shows (0 for a card not saved yet, which has no badge); none when
    // opened elsewhere.
    TfrmCartellini(const QString &reservationArchive, const qv::EventInfo &event, QWidget *owner,
                   std::optional<qint64> current = std::nullopt);

    QLabel *lblInformazioni;
    QRadioButton *optTutte, *optConfermate, *optScheda;
    QRadioButton *optFoglio8, *optFoglio10;
    QLabel *lblConta; // how many badges, on how many sheets
    QPushButton *cmdAnteprima, *cmdStampa, *cmdPDF, *btnChiudi;
    qv::ClickablePicture *cmdGuida;

    void cmdAnteprimaClick();
    void cmdStampaClick();
    void cmdPDFClick();

    // The badges as chosen now, read from the archive as it is now.
    QList<qv::Booking> chosenBookings() const;
    const qv::Badges::LabelSheet &chosenSheet() const;

private:
    // The document of the chosen badges; none (and a word to the user) when
    // there are none or the archive cannot be read.
    std::optional<qv::page::Document> badges();
    void updateCount();

    QString m_archive;
    qv::EventInfo m_event;
    qint64 m_current = 0;
    qv::BookingChoice m_choice;
};

// The event as a window shows it in its header boxes (txtTitolo,
// txtDataInizio, txtOraInizio, txtSede, txtIndirizzo, which the event
// selection and the reservation card name alike), with its number.
qv::EventInfo eventShownIn(const QWidget *window, qint64 number);

// Opens the badges' window for the bookings of `reservationArchive`.
void openBadges(QWidget *owner, const QString &reservationArchive, const qv::EventInfo &event,
                std::optional<qint64> current = std::nullopt);
