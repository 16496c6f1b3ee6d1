#pragma once
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {
namespace checks {
struct Verdict;
}

// What the four check windows share: a heading strip, a line of
// instructions, one box, "Controlla" and "Chiudi". Fixed size, centred, no
// title-bar buttons. They only inform: nothing is written back.
class CheckWindow : public QDialog
{
    Q_OBJECT
public:
    // Pre-fills the box. The box's maximum length limits what the user types,
    // not what the caller hands over, so a longer text is kept whole and the
    // check can tell the user it has the wrong length.
    void setBoxText(const QString &text);

    QLabel *imgLogo;
    QLabel *lblTitolo;
    QPushButton *btnControlla;
    QPushButton *btnChiudi;

protected:
    enum class Keys {
        Any,    // every key works; typed text is trimmed and put in capitals
        Digits, // only digits, Backspace, Delete, Left and Right get through
    };
    struct Setup
    {
        QString caption;
        QSize size;
        QString heading;     // shown on the strip
        QString instruction; // lblTitolo
        QString boxName;
        int maxLength;
        Keys keys;
        bool reshapeTyping;  // trim and capitals after each typed change
    };
    CheckWindow(QWidget *parent, const Setup &setup);

    QLineEdit *box() const { return m_box; }
    // A check that could not run: the message, and the focus back in the box.
    void retry(const QString &warning);
    // The verdict in its message box; the window closes unless it asks to retry.
    void showVerdict(const checks::Verdict &verdict);
    virtual void btnControllaClick() = 0;
    void showEvent(QShowEvent *event) override;

private:
    void boxEdited();
    QLineEdit *m_box;
    int m_limit;
    bool m_reshape;
};

} // namespace qv

// The fiscal code check (16 characters, check letter).
class TfrmCodFisc : public qv::CheckWindow
{
    Q_OBJECT
public:
    explicit TfrmCodFisc(QWidget *parent = nullptr);
    QLineEdit *txtCodFisc;
    void btnControllaClick() override;
};

// The VAT number check (11 digits) and the office that issued it.
class TfrmPartitaIva : public qv::CheckWindow
{
    Q_OBJECT
public:
    explicit TfrmPartitaIva(QWidget *parent = nullptr);
    QLineEdit *txtPartitaIva;
    void btnControllaClick() override;
};

// The credit card number check (Luhn) and the kind of card.
class TfrmCarta : public qv::CheckWindow
{
    Q_OBJECT
public:
    explicit TfrmCarta(QWidget *parent = nullptr);
    QLineEdit *txtNumero;
    void btnControllaClick() override;
};

// The IBAN check (27 characters, MOD 97-10).
class TfrmIban : public qv::CheckWindow
{
    Q_OBJECT
public:
    explicit TfrmIban(QWidget *parent = nullptr);
    QLineEdit *txtIban;
    void btnControllaClick() override;
};
