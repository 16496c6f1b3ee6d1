#pragma once
#include <QWidget>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {
class DailyBackup;
}

// The access window: the application's main window, shown first.
class TfrmPassword : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmPassword(QWidget *parent = nullptr);

    QLabel *imgLogo;
    QLabel *lblRigo05;
    QLineEdit *txtPassword;
    QFrame *effPassword;
    QPushButton *cmdOK;
    QPushButton *cmdEsci;
    QPushButton *btnCambiaPassword;
    QLabel *lblMemory;
    // The day's backup, started by a successful access.
    qv::DailyBackup *dailyBackup;

    void cmdOKClick();
    void cmdEsciClick();
    void btnCambiaPasswordClick();

    static const QString kWrongPassword;
    static const QString kReadError;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void txtPasswordChange();
};
