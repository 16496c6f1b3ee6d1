#pragma once
#include "frame/workspace.h"
#include "reservations/tfrmmappaposti.h"

#include <QList>
#include <QPointer>

#include <functional>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {
class CardOperations;
class ClickablePicture;
class Form;
class InfoBar;
class Record;
class SeatStateLine;
struct EventInfo;
struct FormDescription;
}

// The reservation card workspace: one booking card of the chosen event's
// archive at a time (the path in lblFile), bound to its record by the number
// in lblPosizione. The event header is written by the event selection only.
class TfrmPrenotazioni : public qv::Workspace
{
    Q_OBJECT
public:
    explicit TfrmPrenotazioni(QWidget *parent = nullptr);
    ~TfrmPrenotazioni() override;

    // Shows a booking with its number (lists and search).
    void showRecord(const qv::Record &record, qint64 number);
    // The trimmed path of the event's archive.
    QString archivePath() const;
    // The event the card books seats of: its number (from the archive's
    // name) and its header.
    qv::EventInfo eventInfo() const;

    // The event the card books for: its archive (lblFile) and its header.
    qv::SeatMapEvent boundEvent() const;
    // Binds the card to `event`, as the event selection does; a card of
    // another event is emptied.
    void bindEvent(const qv::SeatMapEvent &event);
    // What the seat map's double-click does with this card: a free seat on a
    // new card of the map's event (or into the card being typed for it), a
    // held one shown from its record once typing may be left; the card comes
    // forward in place of the window shown.
    static TfrmMappaPosti::Desk seatDesk(TfrmPrenotazioni *card, const qv::SeatMapEvent &event);
    // Reads the seat's state from the archive into the line beside the seat.
    void updateSeatState();
    // The desk at the door hands the card over: it comes forward for `event`
    // showing booking `number`, or on a new card for a walk-in named `name`
    // (`saved` gets its record number once it is saved, and the card then
    // closes); closing the card brings `desk` back in front.
    void showForDesk(const qv::SeatMapEvent &event, qint64 number, QWidget *desk);
    void walkInForDesk(const qv::SeatMapEvent &event, const QString &name, QWidget *desk,
                       std::function<void(qint64 record)> saved);

    // Toolbar, left to right, then the navigation group.
    qv::ClickablePicture *btnNuovo, *btnDuplica, *btnSalva, *btnTrova, *btnStampa, *btnDaConfermare, *btnMappa,
        *btnEsporta, *btnGuida, *btnEsci;
    qv::ClickablePicture *btnCartellini = nullptr; // the badge of the card shown
    qv::ClickablePicture *btnPosta = nullptr;      // its confirmation by mail
    qv::ClickablePicture *cmdPrimo, *cmdIndietro;
    QLabel *lblPosizione; // the card's record number; empty for a new card
    qv::ClickablePicture *cmdAvanti, *cmdUltimo;

    QGroupBox *grpEvento, *grpPartecipante, *grpPosto;

    // The event header, read-only, never cleared here.
    QLineEdit *txtTitolo, *txtPosti, *txtDataInizio, *txtOraInizio, *txtDataFine, *txtOraFine, *txtSede,
        *txtIndirizzo;

    // The card, in tab order.
    QLineEdit *txtCliente, *txtIndirizzoRes, *txtComuneRes;
    QComboBox *txtProvRes;
    QLineEdit *txtCapRes, *txtCodFisc, *txtRecapito, *txtTelCel, *txtEmail;
    QPushButton *btnConferma;
    QLineEdit *txtPosto;
    qv::SeatStateLine *lblStatoPosto; // the seat's state beside it, read from the archive
    QPushButton *btnDisponibile, *btnPrenotati;
    QLineEdit *txtUbicazione, *txtAnnotazioni;
    QCheckBox *chkDaConfermare;

    qv::ClickablePicture *impPartecipante, *btnCodFisc;
    QLabel *lblCaption; // above the two seat buttons

    QLabel *lblFile;   // full path of the event's reservations archive
    QLabel *txtNumero; // the zero-padded seat, computed at every save
    QLabel *panInfo;

    // Handlers.
    void btnNuovoClick();
    void btnDuplicaClick();
    void btnSalvaClick();
    void btnTrovaClick();
    void btnStampaClick();
    void btnDaConfermareClick();
    void btnMappaClick();
    void btnEsportaClick();
    void btnCartelliniClick();
    void btnPostaClick();
    void btnGuidaClick();
    void btnEsciClick();
    void cmdPrimoClick();
    void cmdIndietroClick();
    void cmdAvantiClick();
    void cmdUltimoClick();
    void impPartecipanteClick();
    void btnCodFiscClick();
    void btnConfermaClick();
    void btnDisponibileClick();
    void btnPrenotatiClick();

    // The card's edit boxes with a focus highlight, in tab order.
    QList<QWidget *> highlightedBoxes() const;
    QFrame *highlightOf(const QWidget *box) const;
    qv::InfoBar *infoBar() const;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    QWidget *windowAfterClose() const override;

private:
    qv::FormDescription description();
    bool checksBeforeSave();
    void emptyCard();
    // True when the card may show something else: nothing typed would be
    // lost, or the user agreed to drop it.
    bool mayLeaveCard();
    // Warns and focuses `box` when its trimmed text is empty.
    bool requireText(QLineEdit *box, const QString &warning);
    // Comes forward bound to `event`, in place of the window shown, which it
    // returns (nullptr when the card was in view already).
    QWidget *comeForward(const qv::SeatMapEvent &event);
    // Shows record `number` of the archive; the access message when it cannot be read.
    void showRecordNumber(qint64 number);

    qv::Form *m_form = nullptr;
    QPointer<QWidget> m_desk;                      // the desk at the door that handed the card over
    QPointer<QWidget> m_afterDesk;                 // the window the card came in place of, then
    std::function<void(qint64 record)> m_walkIn;   // the desk's walk-in, until saved
};
