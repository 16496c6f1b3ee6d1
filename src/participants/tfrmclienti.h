#pragma once
#include "frame/workspace.h"

#include <QList>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace qv {
class CardOperations;
class ClickablePicture;
class Form;
class InfoBar;
class ProvinceBox;
class Record;
struct FormDescription;
}

// The participants workspace: one card of Partecipanti.pro at a time, bound
// to its record by the number in lblPosizione. The address book every other
// register imports people from.
class TfrmClienti : public qv::Workspace
{
    Q_OBJECT
public:
    explicit TfrmClienti(QWidget *parent = nullptr);
    ~TfrmClienti() override;

    // Shows a participant record with its number (search and recontact list).
    void showRecord(const qv::Record &record, qint64 number);

    // The button column, top to bottom.
    qv::ClickablePicture *cmdNuovo, *cmdDuplica, *cmdFile, *cmdSalva, *cmdTrova, *cmdAnteprima, *cmdStampa, *cmdPDF,
        *cmdRicontatta, *cmdEsporta, *cmdImporta, *cmdGuida, *cmdEsci;
    // Navigation at the bottom right, around the record number.
    qv::ClickablePicture *cmdPrimo, *cmdIndietro, *cmdAvanti, *cmdUltimo;
    QLabel *lblPosizione; // the card's record number; empty for a new card

    // The five sections.
    QGroupBox *grpAnagrafica, *grpRecapiti, *grpPagamenti, *grpProfilo, *grpQuestioni;

    // The card, in tab order.
    QLineEdit *txtCliente, *txtDataNasc, *txtComuneNasc;
    qv::ProvinceBox *txtProvNasc;
    QLineEdit *txtSesso, *txtRecapito, *txtIndirizzoRes;
    qv::ProvinceBox *txtProvRes;
    QLineEdit *txtComuneRes, *txtCapRes, *txtEstremi;
    QLineEdit *txtTelCasa, *txtTelUff, *txtTelCel, *txtFax, *txtEmail;
    QLineEdit *txtCodFisc, *txtCarta, *txtScadeCarta, *txtPartitaIva, *txtIban;
    QLineEdit *txtDocumento, *txtOccupazione, *txtCivile, *txtTitoli, *txtProdotti, *txtZona;
    QLineEdit *txtQuestioni;
    QCheckBox *chkRicontatta;
    QLineEdit *txtNote;

    // Pictures beside the boxes.
    qv::ClickablePicture *btnEmail, *btnCodFisc, *btnCarta, *btnPartitaIva, *btnIban;

    // The attachments of the card, never shown.
    QLabel *lblFile01, *lblFile02, *lblFile03, *lblDesc01, *lblDesc02, *lblDesc03;

    QLabel *panInfo;

    // Handlers.
    void cmdNuovoClick();
    void cmdDuplicaClick();
    void cmdFileClick();       // attachments: their dialog is not built yet
    void cmdSalvaClick();
    void cmdTrovaClick();
    void cmdAnteprimaClick();  // participant sheet: not built yet
    void cmdStampaClick();     // participant sheet: not built yet
    void cmdPDFClick();        // participant sheet: not built yet
    void cmdRicontattaClick();
    void cmdEsportaClick();
    void cmdImportaClick();    // participants from a file people exchange
    void cmdGuidaClick();
    void cmdEsciClick();
    void cmdPrimoClick();
    void cmdIndietroClick();
    void cmdAvantiClick();
    void cmdUltimoClick();
    void btnEmailClick();
    void btnCodFiscClick();
    void btnCartaClick();
    void btnPartitaIvaClick();
    void btnIbanClick();

    // The 29 edit and province boxes in tab order (the check box left out).
    QList<QWidget *> editBoxes() const;
    // The highlight rectangle of a box.
    QFrame *highlightOf(const QWidget *box) const;
    qv::InfoBar *infoBar() const;
    qv::CardOperations &cardOperations();

protected:
    void showEvent(QShowEvent *event) override;

private:
    qv::FormDescription description();
    // The new-card reset, province list selections included.
    void newCard();
    bool checksBeforeSave();
    void clearForDuplicate();

    qv::Form *m_form = nullptr;
};
