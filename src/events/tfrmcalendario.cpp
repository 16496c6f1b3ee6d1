#include "events/tfrmcalendario.h"

#include "frame/windows.h"
#include "core/clock.h"
#include "core/regional.h"
#include "core/text.h"
#include "events/tfrmregistro.h"
#include "ui/pictures.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace qv;

TfrmCalendario::TfrmCalendario(QWidget *parent) : QDialog(parent)
{
    applyRegionalSettings();
    setObjectName(QStringLiteral("frmCalendario"));
    setWindowTitle(QStringLiteral(" Importazione data"));
    setWindowIcon(picture(QStringLiteral("calendar_import")));

    lblCampo001 = new QLabel(QStringLiteral("Importare una data:"), this);
    lblCampo001->setObjectName(QStringLiteral("lblCampo001"));
    lblCampo001->setStyleSheet(QStringLiteral("font-weight: 600; color: #1F4E79;"));

    calAppuntamenti = new QCalendarWidget(this);
    calAppuntamenti->setObjectName(QStringLiteral("calAppuntamenti"));
    calAppuntamenti->setLocale(QLocale(QLocale::Italian, QLocale::Italy));
    calAppuntamenti->setFirstDayOfWeek(Qt::Monday);
    calAppuntamenti->setGridVisible(true);
    calAppuntamenti->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calAppuntamenti->setSelectionMode(QCalendarWidget::SingleSelection);
    calAppuntamenti->setSelectedDate(Clock::today());
    lblCampo001->setBuddy(calAppuntamenti);

    btnImportaData = new QPushButton(QStringLiteral("Importa"), this);
    btnImportaData->setObjectName(QStringLiteral("btnImportaData"));
    btnImportaData->setDefault(true);
    btnAnnulla = new QPushButton(QStringLiteral("Annulla"), this);
    btnAnnulla->setObjectName(QStringLiteral("btnAnnulla"));

    lblMemory = new QLabel(this);
    lblMemory->setObjectName(QStringLiteral("lblMemory"));
    lblMemory->hide();

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnImportaData);
    buttons->addWidget(btnAnnulla);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(10);
    layout->addWidget(lblCampo001);
    layout->addWidget(calAppuntamenti);
    layout->addLayout(buttons);

    setTabOrder(calAppuntamenti, btnImportaData);
    setTabOrder(btnImportaData, btnAnnulla);

    connect(btnImportaData, &QPushButton::clicked, this, [this] { btnImportaDataClick(); });
    connect(btnAnnulla, &QPushButton::clicked, this, [this] { btnAnnullaClick(); });
    // Double-clicking a day or pressing Enter on it imports it, as "Importa" does.
    connect(calAppuntamenti, &QCalendarWidget::activated, this, [this] { btnImportaDataClick(); });

    // Fixed size, no title-bar buttons, centred on the window that opened it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    adjustSize();
    setFixedSize(sizeHint());
    if (parent) {
        QRect frame = frameGeometry();
        frame.moveCenter(parent->window()->frameGeometry().center());
        move(frame.topLeft());
    }
    calAppuntamenti->setFocus(Qt::OtherFocusReason);
}

QLineEdit *TfrmCalendario::receivingBox() const
{
    TfrmRegistro *card = windows().frmRegistro;
    if (!card)
        return nullptr;
    const QString word = trimmed(lblMemory->text());
    if (word == QLatin1String("data_inizio"))
        return card->txtDataInizio;
    if (word == QLatin1String("data_fine"))
        return card->txtDataFine;
    if (word == QLatin1String("registro"))
        return card->txtDataSca;
    return nullptr;
}

void TfrmCalendario::btnImportaDataClick()
{
    QLineEdit *box = receivingBox();
    if (!box)
        return; // an unknown word delivers nothing and the dialog stays open
    box->setText(formatDate(calAppuntamenti->selectedDate()));
    accept();
}

void TfrmCalendario::btnAnnullaClick()
{
    reject();
}

void TfrmCalendario::showModal(QWidget *owner, const QString &modeWord)
{
    auto *dialog = new TfrmCalendario(owner);
    dialog->lblMemory->setText(modeWord);
    dialog->exec();
    delete dialog;
}
