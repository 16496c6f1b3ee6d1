#pragma once
#include <QWidget>

class QLabel;
namespace qv {
class ClickableLabel;
class ClickablePicture;
}

// The main menu: the hub from which the three workspaces are reached.
class TfrmAvvio : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmAvvio(QWidget *parent = nullptr);

    QLabel *imgTitolo;
    QLabel *imgSottotitolo;
    QLabel *imgIcona;
    qv::ClickablePicture *imgAnagrafica, *btnAnagrafica;
    qv::ClickableLabel *infAnagrafica;
    qv::ClickablePicture *imgEventi, *btnEventi;
    qv::ClickableLabel *infEventi;
    qv::ClickablePicture *imgPosti, *btnPosti;
    qv::ClickableLabel *infPosti;
    qv::ClickablePicture *imgInfo;
    qv::ClickablePicture *imgGuida;
    qv::ClickablePicture *imgCrediti;
    qv::ClickablePicture *imgCopie;
    qv::ClickablePicture *imgPosta;
    qv::ClickablePicture *imgEsci;
    qv::ClickablePicture *imgSito;

    void EventiClick();
    void AnagraficaClick();
    void PostiClick();
    void imgInfoClick();
    void imgGuidaClick();
    void imgCreditiClick();
    void imgCopieClick();
    void imgPostaClick();
    void imgEsciClick();
    void imgSitoClick();

    static const QString kSubtitle;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *column(const QString &picture, qv::ClickablePicture **image, qv::ClickablePicture **button,
                    qv::ClickableLabel **info, const QString &key, const QString &title, const QString &text,
                    void (TfrmAvvio::*action)());
};
