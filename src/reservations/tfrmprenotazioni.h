#pragma once
#include "frame/workspace.h"

#include <QList>

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

    // Toolbar, left to right, then the navigation group.
    qv::ClickablePicture *btnNuovo, *btnDuplica, *btnSalva, *btnTrova, *btnStampa, *btnDaConfermare, *btnEsporta,
        *btnGuida, *btnEsci;
    qv::ClickablePicture *btnCartellini = nullptr; // the badge of the card shown
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
    void btnEsportaClick();
    void btnCartelliniClick();
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

private:
    qv::FormDescription description();
    bool checksBeforeSave();
    void emptyCard();
    // Warns and focuses `box` when its trimmed text is empty.
    bool requireText(QLineEdit *box, const QString &warning);

    qv::Form *m_form = nullptr;
};
