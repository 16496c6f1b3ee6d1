#include "app/tfrmpassword.h"

#include "app/dailybackup.h"
#include "core/regional.h"
#include "core/text.h"
#include "frame/windows.h"
#include "frame/workspace.h"
#include "password/passwordstore.h"
#include "ui/messages.h"
#include "ui/pictures.h"
#include "ui/widgets.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <stdexcept>

using namespace qv;

const QString TfrmPassword::kWrongPassword = QStringLiteral("Attenzione: password errata.");
const QString TfrmPassword::kReadError = QStringLiteral(
    "Attenzione: si \u00E8 verificato un errore durante la procedura di lettura della password. "
    "Si consiglia di reinstallare il software.");

TfrmPassword::TfrmPassword(QWidget *parent) : QWidget(parent)
{
    applyRegionalSettings();
    setObjectName(QStringLiteral("frmPassword"));
    setWindowTitle(QStringLiteral(" Quorvane - Accesso al programma"));

    imgLogo = new QLabel(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(pictureOfSize(QStringLiteral("logo"), QSize(72, 72)));
    auto *product = new QLabel(QStringLiteral("Quorvane"), this);
    product->setStyleSheet(QStringLiteral("font-size: 22pt; font-weight: 600; color: #1F4E79;"));

    lblRigo05 = new QLabel(QStringLiteral("Immetti la password e premi OK."), this);
    lblRigo05->setObjectName(QStringLiteral("lblRigo05"));
    txtPassword = new QLineEdit(this);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setMinimumWidth(260);
    lblRigo05->setBuddy(txtPassword);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setEnabled(false);
    cmdEsci = new QPushButton(QStringLiteral("Esci"), this);
    cmdEsci->setObjectName(QStringLiteral("cmdEsci"));
    btnCambiaPassword = new QPushButton(QStringLiteral("Cambia password"), this);
    btnCambiaPassword->setObjectName(QStringLiteral("btnCambiaPassword"));
    lblMemory = new QLabel(this);
    lblMemory->setObjectName(QStringLiteral("lblMemory"));
    lblMemory->hide();
    dailyBackup = new DailyBackup(this);

    auto *heading = new QHBoxLayout;
    heading->addWidget(imgLogo);
    heading->addWidget(product, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btnCambiaPassword);
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdEsci);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->setSpacing(10);
    layout->addLayout(heading);
    layout->addSpacing(6);
    layout->addWidget(lblRigo05);
    layout->addWidget(txtPassword);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    effPassword = attachHighlight(txtPassword, QStringLiteral("effPassword"));
    setTabOrder(txtPassword, cmdOK);
    setTabOrder(cmdOK, cmdEsci);
    setTabOrder(cmdEsci, btnCambiaPassword);

    connect(txtPassword, &QLineEdit::textChanged, this, [this] { txtPasswordChange(); });
    onKeyPress(txtPassword, [this](QKeyEvent *event) {
        if (!isEnterKey(event))
            return false;
        if (!trimmed(txtPassword->text()).isEmpty())
            cmdOKClick();
        return true;
    });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOKClick(); });
    connect(cmdEsci, &QPushButton::clicked, this, [this] { cmdEsciClick(); });
    connect(btnCambiaPassword, &QPushButton::clicked, this, [this] { btnCambiaPasswordClick(); });

    makeFixedCentred(this);
}

void TfrmPassword::txtPasswordChange()
{
    cmdOK->setEnabled(!trimmed(txtPassword->text()).isEmpty());
}

void TfrmPassword::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    txtPassword->setFocus(Qt::OtherFocusReason);
}

void TfrmPassword::cmdOKClick()
{
    bool correct = false;
    try {
        correct = PasswordStore::stored() == PasswordStore::comparable(txtPassword->text());
    } catch (const std::exception &) {
        lblMemory->clear();
        Messages::plain(kReadError, this);
        return;
    }
    lblMemory->clear();
    if (correct) {
        switchWindow(this, windows().mainMenu);
        dailyBackup->start();
        return;
    }
    Messages::plain(kWrongPassword, this);
    txtPassword->clear();
    txtPassword->setFocus(Qt::OtherFocusReason);
}

void TfrmPassword::cmdEsciClick()
{
    endProgram();
}

void TfrmPassword::btnCambiaPasswordClick()
{
    switchWindow(this, windows().passwordChange);
}

void TfrmPassword::closeEvent(QCloseEvent *event)
{
    // The application's main window: closing it ends the program.
    event->accept();
    endProgram();
}
