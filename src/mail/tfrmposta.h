#pragma once
#include "mail/mailsettings.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTreeWidget;

namespace qv {
// Opens the mail window modally, owned by `owner`, on its settings or, with
// `outbox`, on the outbox.
void showMailWindow(QWidget *owner, bool outbox = false);
}

// "Posta elettronica": the server the program sends through, a test
// message, and the outbox with the state of every message (what waits, what
// went, what the server refused, what was cut and of unknown fate, sent
// again only from here).
class TfrmPosta : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmPosta(QWidget *parent = nullptr);

    QTabWidget *tabPagine;
    QLineEdit *txtServer;
    QSpinBox *txtPorta;
    QComboBox *cboSicurezza;
    QLineEdit *txtUtente;
    QLineEdit *txtPassword;
    QLabel *lblDovePassword;
    QLineEdit *txtMittente;
    QLineEdit *txtNomeMittente;
    QLineEdit *txtRispondiA;
    QSpinBox *txtMessaggiAlMinuto;
    QLineEdit *txtCertificatoCA;
    QPushButton *cmdSfoglia;
    QPushButton *cmdSalva;
    QPushButton *cmdProva;
    QTreeWidget *lstPosta;
    QPushButton *cmdAggiorna;
    QPushButton *cmdInviaOra;
    QPushButton *cmdInviaDiNuovo;
    QPlainTextEdit *txtResoconto;
    QPushButton *cmdGuida;
    QPushButton *cmdChiudi;

    void cmdSalvaClick();
    void cmdProvaClick();
    void cmdInviaOraClick();
    void cmdInviaDiNuovoClick();
    void fillOutbox();

    static constexpr int kStateColumn = 3;

private:
    qv::Mail::Settings typed() const;
    bool save();
    void sendIds(const QStringList &ids, bool ignoreWait);
};
