#include "events/tfrmtrovaregistro.h"

#include "frame/windows.h"
#include "events/tfrmregistro.h"
#include "output/eventlists.h"
#include "reservations/tfrmmenuprenotazioni.h"

#include <QLabel>
#include <QLineEdit>

using namespace qv;

SummaryListConfig TfrmTrovaRegistro::configuration()
{
    SummaryListConfig config;
    config.objectName = QStringLiteral("frmTrovaRegistro");
    config.caption = QStringLiteral(" Trova eventi in archivio");
    config.source = EventLists::source();
    config.filters = {
        {QStringLiteral("txtTitolo"), QStringLiteral("Titolo evento:"), QStringLiteral("effCampo01"), QStringLiteral("Titolo")},
        {QStringLiteral("txtTipologia"), QStringLiteral("Tipologia:"), QStringLiteral("effCampo02"), QStringLiteral("Tipologia")},
        {QStringLiteral("txtMaterie"), QStringLiteral("Materie trattate:"), QStringLiteral("effCampo09"), QStringLiteral("Materie")},
        {QStringLiteral("txtRelatori"), QStringLiteral("Relatori:"), QStringLiteral("effCampo10"), QStringLiteral("Relatori")},
        {QStringLiteral("txtDataInizio"), QStringLiteral("Data inizio:"), QStringLiteral("effCampo05"), QStringLiteral("DataInizio")},
        {QStringLiteral("txtOrganizzatore"), QStringLiteral("Organizzatore:"), QStringLiteral("effCampo06"), QStringLiteral("Organizzatore")},
        {QStringLiteral("txtContatto"), QStringLiteral("Contatto per info:"), QStringLiteral("effCampo07"), QStringLiteral("Contatto")},
        {QStringLiteral("txtSede"), QStringLiteral("Sede:"), QStringLiteral("effCampo08"), QStringLiteral("Sede")},
        {QStringLiteral("txtCollaboratori"), QStringLiteral("Collaboratori:"), QStringLiteral("effCampo03"), QStringLiteral("Collaboratori")},
        {QStringLiteral("txtNote"), QStringLiteral("Note:"), QStringLiteral("effCampo04"), QStringLiteral("Note")},
    };
    config.printTitle = QStringLiteral("Riepilogo eventi programmati");
    config.deliver = &TfrmTrovaRegistro::deliver;
    return config;
}

void TfrmTrovaRegistro::deliver(const Record &record, qint64 number, const QString &modeWord)
{
    if (modeWord == QLatin1String("registro")) {
        if (TfrmRegistro *card = windows().frmRegistro)
            card->showRecord(record, number);
    } else if (modeWord == QLatin1String("menu_prenotazioni")) {
        TfrmMenuPrenotazioni *selection = windows().frmMenuPrenotazioni;
        if (!selection)
            return;
        selection->txtTitolo->setText(record.text(QStringLiteral("Titolo")));
        selection->txtDataInizio->setText(record.text(QStringLiteral("DataInizio")));
        selection->txtOraInizio->setText(record.text(QStringLiteral("OraInizio")));
        selection->txtDataFine->setText(record.text(QStringLiteral("DataFine")));
        selection->txtOraFine->setText(record.text(QStringLiteral("OraFine")));
        selection->txtSede->setText(record.text(QStringLiteral("Sede")));
        selection->txtIndirizzo->setText(record.text(QStringLiteral("Indirizzo")));
        selection->txtPosti->setText(record.text(QStringLiteral("Posti")));
        selection->lblPosizione->setText(QString::number(number));
    }
}

TfrmTrovaRegistro::TfrmTrovaRegistro(QWidget *parent) : SummaryListWindow(configuration(), parent)
{
    txtTitolo = filterBox(QStringLiteral("txtTitolo"));
    txtTipologia = filterBox(QStringLiteral("txtTipologia"));
    txtMaterie = filterBox(QStringLiteral("txtMaterie"));
    txtRelatori = filterBox(QStringLiteral("txtRelatori"));
    txtDataInizio = filterBox(QStringLiteral("txtDataInizio"));
    txtOrganizzatore = filterBox(QStringLiteral("txtOrganizzatore"));
    txtContatto = filterBox(QStringLiteral("txtContatto"));
    txtSede = filterBox(QStringLiteral("txtSede"));
    txtCollaboratori = filterBox(QStringLiteral("txtCollaboratori"));
    txtNote = filterBox(QStringLiteral("txtNote"));
}
