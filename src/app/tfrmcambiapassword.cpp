#include "app/tfrmcambiapassword.h"

#include "app/tfrmpassword.h"
#include "core/regional.h"
#include "core/text.h"
#include "frame/windows.h"
#include "frame/workspace.h"
#include "password/password.h"
#include "password/passwordstore.h"
#include "ui/messages.h"
#include "ui/pictures.h"
#include "ui/widgets.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <stdexcept>

using namespace qv;

const QString TfrmCambiaPassword::kWrongOld = QStringLiteral("Attenzione: vecchia password errata.");
const QString TfrmCambiaPassword::kNotConfirmed = QStringLiteral(
    "Attenzione: la nuova password non \u00E8 stata confermata correttamente. "
    "E' necessario reinserire entrambi i valori.");
const QString TfrmCambiaPassword::kNotStorable = QStringLiteral(
    "Attenzione: la nuova password pu\u00F2 contenere al massimo 255 caratteri, scelti tra lettere, "
    "cifre e simboli dell'alfabeto latino occidentale. E' necessario reinserire entrambi i valori.");
const QString TfrmCambiaPassword::kDone = QStringLiteral("Modifica della password completata con successo.");
const QString TfrmCambiaPassword::kWriteError = QStringLiteral(
    "Attenzione: si \u00E8 verificato un errore durante la procedura di modifica della password. "
    "Si consiglia di reinstallare il software.");

namespace {
QLineEdit *passwordBox(const QString &name, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setEchoMode(QLineEdit::Password);
    box->setMinimumWidth(240);
    return box;
}
QLabel *rowLabel(const QString &name, const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setBuddy(buddy);
    return label;
}
} // namespace

TfrmCambiaPassword::TfrmCambiaPassword(QWidget *parent) : QWidget(parent)
{
    applyRegionalSettings();
    setObjectName(QStringLiteral("frmCambiaPassword"));
    setWindowTitle(QStringLiteral(" Cambia password"));

    imgLogo = new QLabel(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(pictureOfSize(QStringLiteral("logo"), QSize(56, 56)));
    auto *title = new QLabel(QStringLiteral("Cambia password"), this);
    title->setStyleSheet(QStringLiteral("font-size: 16pt; font-weight: 600; color: #1F4E79;"));

    txtPasswordOld = passwordBox(QStringLiteral("txtPasswordOld"), this);
    txtPasswordNew = passwordBox(QStringLiteral("txtPasswordNew"), this);
    txtConferma = passwordBox(QStringLiteral("txtConferma"), this);
    lblRigo05 = rowLabel(QStringLiteral("lblRigo05"), QStringLiteral("Vecchia password:"), txtPasswordOld, this);
    lblRigo06 = rowLabel(QStringLiteral("lblRigo06"), QStringLiteral("Nuova password:"), txtPasswordNew, this);
    lblRigo07 = rowLabel(QStringLiteral("lblRigo07"), QStringLiteral("Conferma nuova password:"), txtConferma, this);

    cmdEsci = new QPushButton(QStringLiteral("Chiudi"), this);
    cmdEsci->setObjectName(QStringLiteral("cmdEsci"));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setEnabled(false);
    lblMemory = new QLabel(this);
    lblMemory->setObjectName(QStringLiteral("lblMemory"));
    lblMemory->hide();

    auto *heading = new QHBoxLayout;
    heading->addWidget(imgLogo);
    heading->addWidget(title, 1);
    auto *form = new QFormLayout;
    form->setVerticalSpacing(10);
    form->addRow(lblRigo05, txtPasswordOld);
    form->addRow(lblRigo06, txtPasswordNew);
    form->addRow(lblRigo07, txtConferma);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdEsci);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->setSpacing(12);
    layout->addLayout(heading);
    layout->addLayout(form);
    layout->addLayout(buttons);

    effPasswordOld = attachHighlight(txtPasswordOld, QStringLiteral("effPasswordOld"));
    effPasswordNew = attachHighlight(txtPasswordNew, QStringLiteral("effPasswordNew"));
    effConferma = attachHighlight(txtConferma, QStringLiteral("effConferma"));

    setTabOrder(txtPasswordOld, txtPasswordNew);
    setTabOrder(txtPasswordNew, txtConferma);
    setTabOrder(txtConferma, cmdEsci);
    setTabOrder(cmdEsci, cmdOK);

    // Enter moves round the three boxes; it never presses OK.
    moveFocusOnEnter(txtPasswordOld, txtPasswordNew);
    moveFocusOnEnter(txtPasswordNew, txtConferma);
    moveFocusOnEnter(txtConferma, txtPasswordOld);
    for (QLineEdit *box : {txtPasswordOld, txtPasswordNew, txtConferma})
        connect(box, &QLineEdit::textChanged, this, [this] { boxesChanged(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOKClick(); });
    connect(cmdEsci, &QPushButton::clicked, this, [this] { close(); });

    makeFixedCentred(this);
}

void TfrmCambiaPassword::boxesChanged()
{
    cmdOK->setEnabled(!trimmed(txtPasswordOld->text()).isEmpty() && !trimmed(txtPasswordNew->text()).isEmpty()
                      && !trimmed(txtConferma->text()).isEmpty());
}

void TfrmCambiaPassword::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    txtPasswordOld->clear();
    txtPasswordNew->clear();
    txtConferma->clear();
    lblMemory->clear();
    txtPasswordOld->setFocus(Qt::OtherFocusReason);
}

void TfrmCambiaPassword::cmdOKClick()
{
    try {
        if (PasswordStore::stored() != PasswordStore::comparable(txtPasswordOld->text())) {
            Messages::plain(kWrongOld, this);
            txtPasswordOld->clear();
            txtPasswordOld->setFocus(Qt::OtherFocusReason);
            return;
        }
        const QString newPassword = trimmed(txtPasswordNew->text());
        const bool confirmed = newPassword == trimmed(txtConferma->text());
        // The scrambler keeps 8-bit codes only: anything else could never be
        // typed again, so it is refused rather than stored.
        if (!confirmed || !isStorablePassword(PasswordStore::comparable(newPassword))) {
            Messages::plain(confirmed ? kNotStorable : kNotConfirmed, this);
            txtPasswordNew->clear();
            txtConferma->clear();
            txtPasswordNew->setFocus(Qt::OtherFocusReason);
            return;
        }
        PasswordStore::store(newPassword);
    } catch (const std::exception &) {
        Messages::plain(kWriteError, this);
        return;
    }
    Messages::plain(kDone, this);
    close();
}

void TfrmCambiaPassword::closeEvent(QCloseEvent *event)
{
    event->ignore();
    TfrmPassword *access = windows().frmPassword;
    access->txtPassword->clear();
    access->lblMemory->clear();
    switchWindow(this, access);
    access->txtPassword->setFocus(Qt::OtherFocusReason);
}
