#pragma once
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {
class ClickablePicture;
}

// Up to three files attached to an event or participant card: each copied
// into Documenti_Allegati, named and described. "Applica e chiudi" hands the
// six values to the card named by the mode word; the card stores them when
// the user saves it.
class TfrmAllegaCartella : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmAllegaCartella(QWidget *parent = nullptr);

    static constexpr int kSlots = 3;
    // Slot k (0-based) of the controls txtFile01.., imgCancella01.., btnSfoglia01.., btnApri01.., txtDesc01..
    QLineEdit *txtFile[kSlots];
    qv::ClickablePicture *imgCancella[kSlots];
    QPushButton *btnSfoglia[kSlots];
    QPushButton *btnApri[kSlots];
    QLineEdit *txtDesc[kSlots];

    QPushButton *btnApplica;
    QPushButton *btnAnnulla;
    QLabel *lblMemory;

    void btnSfogliaClick(int slot);
    void imgCancellaClick(int slot);
    void btnApriClick(int slot);
    void btnApplicaClick();
    void btnAnnullaClick();

    // The names of the six hidden labels of a card, in the order the boxes
    // are filled: lblFile01, lblDesc01, lblFile02, ...
    static QStringList cardLabelNames();
    // The six boxes in the same order.
    QList<QLineEdit *> boxes() const;

private:
    // The card named by the mode word; nullptr for an unknown word.
    QWidget *receivingCard() const;
};
