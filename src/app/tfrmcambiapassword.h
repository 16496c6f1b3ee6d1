#pragma once
#include <QWidget>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

// Changes the access password; closing it returns to the access window.
class TfrmCambiaPassword : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmCambiaPassword(QWidget *parent = nullptr);

    QLabel *imgLogo;
    QLabel *lblRigo05;
    QLineEdit *txtPasswordOld;
    QLabel *lblRigo06;
    QLineEdit *txtPasswordNew;
    QLabel *lblRigo07;
    QLineEdit *txtConferma;
    QPushButton *cmdEsci;
    QPushButton *cmdOK;
    QFrame *effPasswordOld;
    QFrame *effPasswordNew;
    QFrame *effConferma;
    QLabel *lblMemory;

    void cmdOKClick();

    static const QString kWrongOld;
    static const QString kNotConfirmed;
    static const QString kNotStorable;
    static const QString kDone;
    static const QString kWriteError;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void boxesChanged();
};
