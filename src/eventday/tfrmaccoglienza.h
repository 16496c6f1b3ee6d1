#pragma once
#include "archive/record.h"
#include "output/summarylistwindow.h"
#include "eventday/attendance.h"

#include <QDialog>
#include <QHash>
#include <QTimer>

#include <optional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
namespace qv {
class ClickablePicture;
class Form;
struct FormDescription;
}

// Check-in at the door of one event: one box takes what a badge scanner
// types (the code, then Enter), a seat number or part of a name; the
// entries go to the event's attendance archive, which several desks may
// write at once. Opened from the event selection; modal, destroyed on close.
class TfrmAccoglienza : public QDialog
{
    Q_OBJECT
public:
    TfrmAccoglienza(const qv::EventInfo &event, const QString &reservationArchive, QWidget *owner);
    ~TfrmAccoglienza() override;

    qv::ClickablePicture *btnPresenze, *btnAnnullaIngresso, *btnGuida, *btnEsci;
    QGroupBox *grpIngresso, *grpPresenze, *grpEvento;
    QLabel *lblIstruzioni;
    QLineEdit *txtCodice;
    // What the last action did, large: its property "esito" is "registrato",
    // "gia", "rifiutato" or "avviso", which colours it (house style).
    QLabel *lblEsito;
    QListWidget *lstCorrispondenze; // the bookings a seat or a name part found
    QLabel *lblTotali;              // "Presenti X su Y prenotati"
    QListWidget *lstIngressi;       // the entries in force, the latest first
    QLineEdit *txtTitolo, *txtDataInizio, *txtOraInizio, *txtSede, *txtIndirizzo;
    QLabel *panInfo;

    void txtCodiceEnter();
    void lstCorrispondenzeChoose();
    void btnPresenzeClick();
    void btnAnnullaIngressoClick();
    void btnGuidaClick();
    void btnEsciClick();

    QString reservationArchive() const { return m_archive; }
    QString attendanceArchive() const;
    const qv::EventInfo &event() const { return m_event; }

    // The booking whose card the attendance list asked for (then the window
    // closes, and the event selection shows the card).
    const std::optional<qv::Record> &chosenRecord() const { return m_chosen; }
    qint64 chosenNumber() const { return m_chosenNumber; }
    void chooseBooking(const qv::Record &record, qint64 number);

protected:
    void showEvent(QShowEvent *event) override;

private:
    qv::FormDescription description();
    void placeLists();
    // The event's bookings as they are now; none (and the archive access
    // message) when they cannot be read.
    std::optional<QList<qv::Booking>> readBookings();
    void checkIn(const qv::Booking &booking, const QString &note = {});
    void listMatches(const QList<qv::Booking> &matches, const QString &message);
    void hideMatches();
    void showOutcome(const QString &kind, const QString &text);
    // Reads both archives again: the totals and the latest entries, as every
    // desk left them. False (and the archive access message) on a failure.
    bool refresh();
    void selectEntry(qint64 number);

    qv::EventInfo m_event;
    QString m_archive;
    qv::Form *m_form = nullptr;
    QHash<qint64, qv::Attendance::Entry> m_shown; // the latest entries listed, by entry number
    QHash<qint64, qv::Booking> m_bookings;        // by record number
    QTimer m_flash;
    std::optional<qv::Record> m_chosen;
    qint64 m_chosenNumber = 0;
};

// Every booking of the event, present or not, with its entry time: a summary
// list (print, find, Enter or double-click for the reservation card).
class TfrmPresenze : public qv::SummaryListWindow
{
    Q_OBJECT
public:
    TfrmPresenze(TfrmAccoglienza *desk, const QList<qv::Booking> &bookings,
                 const QHash<qint64, qv::Attendance::Entry> &present);
    static qv::SummaryListConfig configuration(TfrmAccoglienza *desk, const QList<qv::Booking> &bookings,
                                               const QHash<qint64, qv::Attendance::Entry> &present);
};

