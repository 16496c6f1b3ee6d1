#pragma once
#include <QDialog>

class QCalendarWidget;
class QLabel;
class QLineEdit;
class QPushButton;

// Picks one of the event card's three dates. The mode word in lblMemory names
// the box of the event card that receives the day.
class TfrmCalendario : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmCalendario(QWidget *parent = nullptr);

    QLabel *lblCampo001;
    QCalendarWidget *calAppuntamenti;
    QPushButton *btnImportaData;
    QPushButton *btnAnnulla;
    QLabel *lblMemory;

    void btnImportaDataClick();
    void btnAnnullaClick();

    // Opens the dialog modally over `owner` with `modeWord`, then destroys it.
    static void showModal(QWidget *owner, const QString &modeWord);

private:
    // The event card's box named by the mode word; nullptr for an unknown word.
    QLineEdit *receivingBox() const;
};
