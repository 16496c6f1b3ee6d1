#pragma once
#include "eventday/bookingchoice.h"
#include "eventday/bookings.h"
#include "eventday/certificates.h"
#include "mail/mailings.h"

#include <QDialog>

#include <atomic>
#include <optional>

class QLabel;
class QListWidget;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTimer;

// What the program sends for an event.
enum class MailUse { Confirmations, Notice, Certificates };

// "Invio per posta elettronica": one window for the three uses of an event
// (confirmations with seat and badge, the notice to everyone one person at
// a time, certificates of attendance), each with the first message shown,
// the count, the bookings without an address, progress and cancel.
class TfrmInvioPosta : public QDialog
{
    Q_OBJECT
public:
    // `current`: the reservation card the window was opened from (0 when not
    // saved yet), offered as "Solo la scheda corrente". `certificates`: the
    // people the certificates window chose, when opened from there.
    TfrmInvioPosta(const qv::EventInfo &event, MailUse use, QWidget *owner, std::optional<qint64> current = {},
                   std::optional<QList<qv::Certificates::Person>> certificates = {});

    QLabel *lblInformazioni;
    QRadioButton *optConferme;
    QRadioButton *optAvviso;
    QRadioButton *optAttestati;
    QRadioButton *optTutte;
    QRadioButton *optConfermate;
    QRadioButton *optScheda;
    QLineEdit *txtOggetto;
    QPlainTextEdit *txtTesto;
    QPlainTextEdit *txtAnteprima;
    QLabel *lblConta;
    QListWidget *lstSenzaIndirizzo;
    QProgressBar *prgInvio;
    QPlainTextEdit *txtResoconto;
    QPushButton *cmdInvia;
    QPushButton *cmdAnnulla;
    QPushButton *cmdImpostazioni;
    QPushButton *cmdGuida;
    QPushButton *btnChiudi;

    void cmdInviaClick();
    MailUse use() const;
    // The plan of the use and choices shown, read afresh; nothing (and a
    // message) when the archives cannot be read.
    std::optional<qv::Mailings::Plan> plan();

private:
    void useChanged();
    void refresh();
    void setSending(bool sending);

    qv::EventInfo m_event;
    qint64 m_current = 0;
    qv::BookingChoice m_choice;
    std::optional<QList<qv::Certificates::Person>> m_certificates;
    MailUse m_shownUse;
    QHash<int, std::pair<QString, QString>> m_texts; // subject and text typed, per use
    QTimer *m_preview;
    std::atomic<bool> m_cancel{false};
    bool m_sending = false;
};

// "Avviso a tutti": sent by the program, one message per person, once the
// mail server is set; until then the user's mail program with everyone in
// Bcc, as before.
void noticeToEveryoneByMail(QWidget *owner, const qv::EventInfo &event);

// Opens the window modally, owned by `owner`.
void openMailSending(QWidget *owner, const qv::EventInfo &event, MailUse use = MailUse::Confirmations,
                     std::optional<qint64> current = {},
                     std::optional<QList<qv::Certificates::Person>> certificates = {});
