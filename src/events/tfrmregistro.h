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
class Record;
struct FormDescription;
}

// The event card workspace: one card of Eventi.pro at a time, bound to its
// record by the number in lblPosizione.
class TfrmRegistro : public qv::Workspace
{
    Q_OBJECT
public:
    explicit TfrmRegistro(QWidget *parent = nullptr);
    ~TfrmRegistro() override;

    // Shows an event record with its number (search results and lists).
    void showRecord(const qv::Record &record, qint64 number);

    // Toolbar, left to right.
    qv::ClickablePicture *cmdNuovo, *cmdDuplica, *cmdSalva, *cmdTrova, *cmdFile, *cmdStampa, *cmdCalendario,
        *cmdPrimo, *cmdIndietro;
    QLabel *lblPosizione; // the card's record number; empty for a new card
    qv::ClickablePicture *cmdAvanti, *cmdUltimo, *cmdEsporta, *cmdDisponibili, *cmdStatistiche, *cmdGuida,
        *cmdEsci;

    // The four sections.
    QGroupBox *grpEvento, *grpPersone, *grpPagamento, *grpAdesioni;

    // The card, in tab order.
    QLineEdit *txtTitolo, *txtTipologia, *txtMaterie, *txtRelatori, *txtDataInizio, *txtOraInizio, *txtDataFine,
        *txtOraFine, *txtSede, *txtIndirizzo;
    QLineEdit *txtOrganizzatore, *txtRecapitoOrg, *txtContatto, *txtRecapitoCon, *txtCollaboratori, *txtCriteri;
    QLineEdit *txtPagamento, *txtQuota, *txtIntestatario, *txtIban, *txtBanca, *txtAnticipo;
    QLineEdit *txtNote, *txtDataSca, *txtPosti;
    QCheckBox *chkCompleto;

    // Pictures inside the card.
    qv::ClickablePicture *impDataInizio, *impDataFine, *impTermine, *impContatto01, *impContatto02, *btnIban;

    // The attachments of the card, never shown.
    QLabel *lblFile01, *lblFile02, *lblFile03, *lblDesc01, *lblDesc02, *lblDesc03;

    QLabel *panInfo;

    static const QString kCalendarUnsaved;
    static const QString kCalendarNoStart;
    static const QString kCalendarFailed;

    // Handlers.
    void cmdNuovoClick();
    void cmdDuplicaClick();
    void cmdSalvaClick();
    void cmdTrovaClick();
    void cmdFileClick();
    void cmdStampaClick();
    void cmdCalendarioClick(); // the event as saved, into the user's calendar
    void cmdPrimoClick();
    void cmdIndietroClick();
    void cmdAvantiClick();
    void cmdUltimoClick();
    void cmdEsportaClick();
    void cmdDisponibiliClick();
    void cmdStatisticheClick();
    void cmdGuidaClick();
    void cmdEsciClick();
    void impDataInizioClick();
    void impDataFineClick();
    void impTermineClick();
    void impContatto01Click(); // participant picker, organiser
    void impContatto02Click(); // participant picker, contact person
    void btnIbanClick();

    // The 25 edit boxes in tab order.
    QList<QLineEdit *> editBoxes() const;
    // The highlight rectangle of an edit box.
    QFrame *highlightOf(const QLineEdit *box) const;
    qv::InfoBar *infoBar() const;
    qv::CardOperations &cardOperations();

protected:
    void showEvent(QShowEvent *event) override;

private:
    qv::FormDescription description();
    bool checksBeforeSave();
    void clearForDuplicate();
    void openCalendar(const QString &modeWord);

    qv::Form *m_form = nullptr;
};
