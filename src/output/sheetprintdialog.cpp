#include "output/sheetprintdialog.h"

#include "core/clock.h"
#include "core/regional.h"
#include "output/sheets.h"
#include "ui/pictures.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

SheetPrintDialog::SheetPrintDialog(QWidget *card, Sheet sheet, const QString &objectName)
    : QDialog(card), m_card(card), m_sheet(std::move(sheet))
{
    applyRegionalSettings();
    setObjectName(objectName);
    setWindowTitle(QStringLiteral(" Stampa scheda corrente"));
    setWindowIcon(picture(QStringLiteral("print")));

    imgStampante = new QLabel(this);
    imgStampante->setObjectName(QStringLiteral("imgStampante"));
    imgStampante->setAlignment(Qt::AlignCenter);
    const QSize pictureSize(150, 150);
    QPixmap printer = pictureOfSize(QStringLiteral("printer_large"), pictureSize * devicePixelRatioF());
    printer.setDevicePixelRatio(devicePixelRatioF());
    imgStampante->setPixmap(printer);

    btnAnnulla = new QPushButton(picture(QStringLiteral("close")), QStringLiteral("Annulla"), this);
    btnAnnulla->setObjectName(QStringLiteral("btnAnnulla"));
    btnStampa = new QPushButton(picture(QStringLiteral("print")), QStringLiteral("Stampa"), this);
    btnStampa->setObjectName(QStringLiteral("btnStampa"));
    for (QPushButton *button : {btnAnnulla, btnStampa})
        button->setMinimumWidth(110);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    buttons->addStretch(1);
    buttons->addWidget(btnAnnulla);
    buttons->addWidget(btnStampa);
    buttons->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 18);
    layout->setSpacing(12);
    layout->addWidget(imgStampante, 1);
    layout->addLayout(buttons);

    setTabOrder(btnAnnulla, btnStampa);
    btnAnnulla->setFocus(Qt::OtherFocusReason);

    connect(btnAnnulla, &QPushButton::clicked, this, [this] { btnAnnullaClick(); });
    connect(btnStampa, &QPushButton::clicked, this, [this] { btnStampaClick(); });

    // Fixed size, no title-bar buttons, centred over the card that opened it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(364, 287);
    if (card) {
        QRect frame = frameGeometry();
        frame.moveCenter(card->window()->frameGeometry().center());
        move(frame.topLeft());
    }
}

void SheetPrintDialog::btnAnnullaClick()
{
    reject();
}

void SheetPrintDialog::btnStampaClick()
{
    // The card as it is now, saved or not.
    PageOutput::print(m_sheet(m_card, Clock::now()), this);
    accept();
}

void openEventSheetDialog(QWidget *card)
{
    TfrmStampaRegistro dialog(card);
    dialog.exec();
}

void openReservationSheetDialog(QWidget *card)
{
    TfrmStampaPrenotazione dialog(card);
    dialog.exec();
}

} // namespace qv

TfrmStampaRegistro::TfrmStampaRegistro(QWidget *card)
    : qv::SheetPrintDialog(card, qv::sheets::eventSheet, QStringLiteral("frmStampaRegistro"))
{
}

TfrmStampaPrenotazione::TfrmStampaPrenotazione(QWidget *card)
    : qv::SheetPrintDialog(card, qv::sheets::reservationSheet, QStringLiteral("frmStampaPrenotazione"))
{
}
