#pragma once
#include "eventday/attendance.h"
#include "output/summarylistwindow.h"

#include <QDate>
#include <QDialog>
#include <QHash>
#include <QTimer>

#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QRadioButton;
namespace qv {
class ClickablePicture;
class Form;
struct FormDescription;
}

// Check-in at the door of one event, day by day: one box takes what a badge
// scanner types (the code, then Enter), a seat number or part of a name; the
// desk records entries, or exits where the hours present count. Records go
// to the event's attendance archives, which several desks may write at once.
// Opened from the event selection, beside the other windows: a booking's
// card opened from the desk comes forward, and closing it returns here.
class TfrmAccoglienza : public QDialog
{
    Q_OBJECT
public:
    // How the desk reaches the event's reservation card: `show` brings it
    // forward on a booking, `walkIn` on a new card with the name typed,
    // calling `saved` with the record number once the card is saved. Both
    // return to the desk when the card is closed.
    struct BookingCard
    {
        std::function<void(qint64 record)> show;
        std::function<void(const QString &name, std::function<void(qint64 record)> saved)> walkIn;
    };

    TfrmAccoglienza(const qv::EventInfo &event, const QString &reservationArchive, QWidget *owner);
    ~TfrmAccoglienza() override;

    // The desk of the event, opened or brought forward; it closes itself.
    static TfrmAccoglienza *open(const qv::EventInfo &event, const QString &reservationArchive, BookingCard card);
    void setBookingCard(BookingCard card) { m_card = std::move(card); }

    qv::ClickablePicture *btnPresenze, *btnAnnullaIngresso, *btnNuovoIngresso, *btnFoglioFirme, *btnAttestati,
        *btnGuida, *btnEsci;
    QGroupBox *grpIngresso, *grpPresenze, *grpEvento;
    QLabel *lblIstruzioni;
    QRadioButton *optIngressi, *optUscite; // what the desk records
    QLineEdit *txtCodice;
    // What the last action did, large: its property "esito" is "registrato",
    // "sospeso", "gia", "rifiutato" or "avviso", which colours it (house style).
    QLabel *lblEsito;
    QListWidget *lstCorrispondenze; // the bookings a seat or a name part found
    QComboBox *cboGiorno;           // the day the counter and the list show
    QLabel *lblTotali;              // "Presenti oggi X su Y prenotati"
    QListWidget *lstIngressi;       // the day's entries and exits in force, the latest first
    QLineEdit *txtTitolo, *txtDataInizio, *txtOraInizio, *txtSede, *txtIndirizzo;
    QLabel *panInfo;

    void txtCodiceEnter();
    void lstCorrispondenzeChoose();
    void btnPresenzeClick();
    void btnAnnullaIngressoClick();
    void btnNuovoIngressoClick();
    void btnFoglioFirmeClick();
    void btnAttestatiClick();
    void btnGuidaClick();
    void btnEsciClick();

    QString reservationArchive() const { return m_archive; }
    const qv::EventInfo &event() const { return m_event; }
    qv::Attendance::Passage passage() const;
    // The day shown (today unless another was chosen).
    QDate dayShown() const;
    void showDay(const QDate &day);

    // A booking chosen in the attendance list: its card comes forward once
    // the list has closed.
    void chooseBooking(qint64 number) { m_chosen = number; }
    void openCard(qint64 number);
    // A booking just saved on the card for a walk-in: it comes in.
    void walkInSaved(qint64 number);

protected:
    void showEvent(QShowEvent *event) override;

private:
    qv::FormDescription description();
    void placeLists();
    void passageChanged();
    void act(qv::Attendance::Passage passage, const std::function<qv::Attendance::DeskAnswer()> &action);
    void listMatches(const qv::Attendance::DeskAnswer &answer);
    void hideMatches();
    void showOutcome(const QString &kind, const QString &text);
    // Reads the archives again: the day's totals and latest records, as
    // every desk left them. False (and the archive access message) on a failure.
    bool refresh();
    void selectRecord(const QString &key);

    qv::EventInfo m_event;
    QString m_archive;
    qv::Attendance::Desk m_desk;
    qv::Form *m_form = nullptr;
    BookingCard m_card;
    struct Shown
    {
        qv::Attendance::Passage passage;
        qv::Attendance::Entry entry;
        bool hasExit = false; // an entry whose day has an exit in force
    };
    QHash<QString, Shown> m_shown;         // the records listed, by key
    QHash<qint64, qv::Booking> m_bookings; // by record number
    QTimer m_flash;
    qint64 m_chosen = 0;
    QDate m_day; // the day shown, when not today
};

// Every booking of the event on one day, present or not, with the times of
// that day: a summary list (print, find, Enter or double-click for the
// reservation card, the desk staying open).
class TfrmPresenze : public qv::SummaryListWindow
{
    Q_OBJECT
public:
    TfrmPresenze(TfrmAccoglienza *desk, const QList<qv::Booking> &bookings, const QDate &day,
                 const QHash<qint64, qv::Attendance::Day> &days);
    static qv::SummaryListConfig configuration(TfrmAccoglienza *desk, const QList<qv::Booking> &bookings,
                                               const QDate &day, const QHash<qint64, qv::Attendance::Day> &days);
};
