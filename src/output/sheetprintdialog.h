#pragma once
#include "output/pageoutput.h"

#include <QDateTime>
#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;

namespace qv {

// The small print window of a card sheet: a printer picture, "Annulla" and
// "Stampa". "Stampa" fills the sheet from the card as it is at that moment,
// sends it through the printer dialog and closes the window; nothing is
// written back into the card.
class SheetPrintDialog : public QDialog
{
    Q_OBJECT
public:
    using Sheet = std::function<page::Document(const QWidget *card, const QDateTime &moment)>;
    SheetPrintDialog(QWidget *card, Sheet sheet, const QString &objectName);

    QLabel *imgStampante;
    QPushButton *btnAnnulla;
    QPushButton *btnStampa;

    void btnAnnullaClick();
    void btnStampaClick();

private:
    QWidget *m_card;
    Sheet m_sheet;
};

// Opened by the event card and the reservation card; shown modally over the
// card and destroyed when it closes.
void openEventSheetDialog(QWidget *card);
void openReservationSheetDialog(QWidget *card);

} // namespace qv

// The event sheet's print window.
class TfrmStampaRegistro : public qv::SheetPrintDialog
{
    Q_OBJECT
public:
    explicit TfrmStampaRegistro(QWidget *card);
};

// The reservation sheet's print window.
class TfrmStampaPrenotazione : public qv::SheetPrintDialog
{
    Q_OBJECT
public:
    explicit TfrmStampaPrenotazione(QWidget *card);
};
