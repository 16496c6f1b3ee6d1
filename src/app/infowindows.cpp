#include "app/infowindows.h"

#include "core/regional.h"
#include "core/tmisc.h"
#include "frame/workspace.h"
#include "ui/keyboard.h"
#include "ui/pictures.h"
#include "ui/widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

using namespace qv;

namespace {

void mailMaker()
{
    composeMail(kInfoEmail, QStringLiteral("Software Quorvane"),
                QStringLiteral("Salve, desidererei avere le seguenti informazioni sul software in oggetto:"));
}

void openWebsite()
{
    TMisc::Open(kWebAddress);
}

} // namespace

namespace qv {

void showInfoWindow(QWidget *owner)
{
    TfrmInfo dialog(owner);
    dialog.exec();
}

void showCreditsWindow(QWidget *owner)
{
    TfrmSplash dialog(owner);
    dialog.exec();
}

} // namespace qv

TfrmInfo::TfrmInfo(QWidget *parent) : QDialog(parent)
{
    applyRegionalSettings();
    setWindowTitle(QStringLiteral(" Informazioni su Quorvane"));
    imgLogo = new QLabel(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(pictureOfSize(QStringLiteral("logo"), QSize(72, 72)));
    auto *about = new QLabel(QStringLiteral("<b style='font-size:16pt;color:#1F4E79'>Quorvane</b><br>"
                                            "Prenotazione dei posti a sedere per convegni, conferenze, congressi "
                                            "e meeting.<br><br>Per informazioni scrivere a:"),
                             this);
    about->setWordWrap(true);
    imgEmail = new ClickablePicture(QStringLiteral("imgEmail"), picture(QStringLiteral("mail")), kInfoEmail, this);
    imgEmail->setIconSize(QSize(24, 24));
    lnkWeb = makeLink(kInfoEmail, mailMaker, this);
    btnChiudi = closeButton(this);
    connect(imgEmail, &QToolButton::clicked, this, mailMaker);
    // The link is for the mouse; the keyboard reaches the picture, after "Chiudi",
    // which keeps the focus first so that Enter still closes the window.
    makeKeyboardStop(imgEmail);
    setTabOrder(btnChiudi, imgEmail);
    btnChiudi->setFocus();

    auto *head = new QHBoxLayout;
    head->addWidget(imgLogo, 0, Qt::AlignTop);
    head->addWidget(about, 1);
    auto *mail = new QHBoxLayout;
    mail->addWidget(imgEmail);
    mail->addWidget(lnkWeb);
    mail->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addLayout(mail);
    layout->addWidget(btnChiudi, 0, Qt::AlignRight);
    setMinimumWidth(420);
    makeFixedCentred(this);
}

TfrmSplash::TfrmSplash(QWidget *parent) : QDialog(parent)
{
    applyRegionalSettings();
    setWindowTitle(QStringLiteral(" Riconoscimenti"));
    imgLogo = new QLabel(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(pictureOfSize(QStringLiteral("credits"), QSize(160, 160)));
    imgLogo->setAlignment(Qt::AlignCenter);
    auto *credits = new QLabel(QStringLiteral("<b style='font-size:16pt;color:#1F4E79'>Quorvane</b><br>"
                                              "Progettato e sviluppato dal gruppo Quorvane."),
                               this);
    credits->setAlignment(Qt::AlignCenter);
    imgWeb = new ClickablePicture(QStringLiteral("imgWeb"), picture(QStringLiteral("globe")), kWebAddress, this);
    imgWeb->setIconSize(QSize(24, 24));
    lnkWeb = makeLink(kWebAddress, openWebsite, this);
    btnChiudi = closeButton(this);
    connect(imgWeb, &QToolButton::clicked, this, openWebsite);
    makeKeyboardStop(imgWeb);
    setTabOrder(btnChiudi, imgWeb);
    btnChiudi->setFocus();

    auto *web = new QHBoxLayout;
    web->addStretch(1);
    web->addWidget(imgWeb);
    web->addWidget(lnkWeb);
    web->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(imgLogo);
    layout->addWidget(credits);
    layout->addLayout(web);
    layout->addWidget(btnChiudi, 0, Qt::AlignRight);
    makeFixedCentred(this);
    // Centred on the main menu rather than the screen.
    if (parent) {
        QRect frame = frameGeometry();
        frame.moveCenter(parent->frameGeometry().center());
        move(frame.topLeft());
    }
}
