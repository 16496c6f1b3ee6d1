#pragma once
#include <QDialog>
#include <QHash>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;

namespace qv {
// Opens the backups window modally, owned by `owner`, and destroys it on return.
void showBackupsWindow(QWidget *owner);
}

// "Copie di sicurezza": the backups of the program folder, made, verified and
// restored from here, and the two settings that rule them. A thin window over
// Backup (make, Verifier, restore) and backupdesk.h.
class TfrmCopie : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmCopie(QWidget *parent = nullptr);

    QLabel *lblCartella;
    QTreeWidget *lstCopie;
    QLabel *lblCopieConservate;
    QSpinBox *txtCopieConservate;
    QCheckBox *chkAllegati;
    QPushButton *cmdSalvaImpostazioni;
    QPushButton *cmdCrea;
    QPushButton *cmdVerifica;
    QPushButton *cmdRipristina;
    QPushButton *cmdGuida;
    QPushButton *cmdChiudi;
    QLabel *lblResoconto;
    QPlainTextEdit *txtResoconto;

    void cmdCreaClick();
    void cmdVerificaClick();
    void cmdRipristinaClick();
    void cmdSalvaImpostazioniClick();

    // The column of the verified state.
    static constexpr int kStateColumn = 2;

private:
    void fill();
    QString selectedPath() const;
    void report(const QStringList &lines);

    QHash<QString, QString> m_states; // backup path -> its verified state, as checked here
    bool m_writable = true;
};
