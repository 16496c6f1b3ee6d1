#include "app/infowindows.h"

#include "core/regional.h"
#include "core/tmisc.h"
#include "frame/workspace.h"
#include "ui/desktop.h"
#include "ui/keyboard.h"
#include "ui/pictures.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace qv;

namespace {

void mailMaker(QWidget *owner)
{
    Desktop::composeMail(kInfoEmail, QStringLiteral("Software Quorvane"),
                         QStringLiteral("Salve, desidererei avere le seguenti informazioni sul software in oggetto:"),
                         {}, owner);
}

void openWebsite(QWidget *owner)
{
    Desktop::openAddress(kWebAddress, owner);
}

QLabel *pictureLabel(const QString &objectName, const QString &picture, int size, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setPixmap(pictureOfSize(picture, QSize(size, size)));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QLabel *textLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setProperty("about", true);
    return label;
}

QFrame *separator(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
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

TfrmInfo::TfrmInfo(QWidget *parent) : ButtonClosedDialog(parent)
{
    applyRegionalSettings();
    setObjectName(QStringLiteral("frmInfo"));
    setWindowTitle(QStringLiteral(" Informazioni su Quorvane"));
    setWindowIcon(picture(QStringLiteral("info")));
    imgLogo = pictureLabel(QStringLiteral("imgLogo"), QStringLiteral("logo"), 80, this);
    imgInfo = pictureLabel(QStringLiteral("imgInfo"), QStringLiteral("info"), 40, this);
    auto *product = new QLabel(QStringLiteral("Quorvane"), this);
    product->setProperty("productName", true);
    auto *about = textLabel(QStringLiteral("Software per gestire la prenotazione dei posti a sedere in eventi quali "
                                           "convegni, conferenze, congressi e meeting di ogni genere."),
                            this);
    auto *version = textLabel(QStringLiteral("Versione %1").arg(QStringLiteral(QV_VERSION_TEXT)), this);
    auto *ask = textLabel(QStringLiteral("Per ricevere informazioni sul programma, scrivere a:"), this);
    ask->setWordWrap(false);
    imgEmail = new ClickablePicture(QStringLiteral("imgEmail"), picture(QStringLiteral("mail")), kInfoEmail, this);
    imgEmail->setIconSize(QSize(24, 24));
    const auto writeToMaker = [this] { mailMaker(this); };
    lnkWeb = makeLink(kInfoEmail, writeToMaker, this);
    linkPicture(imgEmail, lnkWeb, writeToMaker);
    btnChiudi = closeButton(this);
    // The link is for the mouse; the keyboard reaches the picture, after "Chiudi",
    // which keeps the focus first so that Enter still closes the window.
    makeKeyboardStop(imgEmail);
    setTabOrder(btnChiudi, imgEmail);
    btnChiudi->setFocus();
    btnChiudi->setDefault(true);

    auto *text = new QVBoxLayout;
    text->setSpacing(6);
    text->addWidget(product);
    text->addWidget(about);
    text->addWidget(version);
    auto *head = new QHBoxLayout;
    head->setSpacing(16);
    head->addWidget(imgLogo, 0, Qt::AlignTop);
    head->addLayout(text, 1);
    auto *mail = new QHBoxLayout;
    mail->addWidget(imgInfo);
    mail->addSpacing(6);
    mail->addWidget(ask);
    mail->addStretch(1);
    auto *address = new QHBoxLayout;
    address->addSpacing(52);
    address->addWidget(imgEmail);
    address->addWidget(lnkWeb);
    address->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 14);
    layout->setSpacing(10);
    layout->addLayout(head);
    layout->addWidget(separator(this));
    layout->addLayout(mail);
    layout->addLayout(address);
    layout->addWidget(btnChiudi, 0, Qt::AlignRight);
    about->setFixedWidth(340);
    makeFixedCentred(this);
}

TfrmSplash::TfrmSplash(QWidget *parent) : ButtonClosedDialog(parent)
{
    applyRegionalSettings();
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral(" Riconoscimenti"));
    setWindowIcon(picture(QStringLiteral("credits")));
    imgLogo = pictureLabel(QStringLiteral("imgLogo"), QStringLiteral("credits"), 150, this);
    auto *product = new QLabel(QStringLiteral("Quorvane"), this);
    product->setProperty("productName", true);
    product->setAlignment(Qt::AlignCenter);
    auto *credits = textLabel(QStringLiteral("Ideato, progettato e sviluppato dal gruppo di lavoro Quorvane.\n"
                                             "Grazie a tutti gli organizzatori di eventi che con i loro suggerimenti "
                                             "hanno contribuito a migliorarlo."),
                              this);
    credits->setAlignment(Qt::AlignCenter);
    credits->setFixedWidth(360);
    imgWeb = new ClickablePicture(QStringLiteral("imgWeb"), picture(QStringLiteral("globe")), kWebAddress, this);
    imgWeb->setIconSize(QSize(24, 24));
    const auto website = [this] { openWebsite(this); };
    lnkWeb = makeLink(kWebAddress, website, this);
    linkPicture(imgWeb, lnkWeb, website);
    btnChiudi = closeButton(this);
    makeKeyboardStop(imgWeb);
    setTabOrder(btnChiudi, imgWeb);
    btnChiudi->setFocus();
    btnChiudi->setDefault(true);

    auto *web = new QHBoxLayout;
    web->addStretch(1);
    web->addWidget(imgWeb);
    web->addWidget(lnkWeb);
    web->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 14);
    layout->setSpacing(10);
    layout->addWidget(imgLogo);
    layout->addWidget(product);
    layout->addWidget(credits, 0, Qt::AlignHCenter);
    layout->addLayout(web);
    layout->addWidget(btnChiudi, 0, Qt::AlignRight);
    makeFixedCentred(this);
    // Centred on the window that opened it (the main menu), not on the screen.
    if (parent) {
        QRect frame = frameGeometry();
        frame.moveCenter(parent->window()->frameGeometry().center());
        move(frame.topLeft());
    }
}
