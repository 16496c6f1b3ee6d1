#include "events/tfrmdaaderire.h"

#include "frame/windows.h"
#include "events/tfrmregistro.h"
#include "output/eventlists.h"

using namespace qv;

SummaryListConfig TfrmDaAderire::configuration()
{
    SummaryListConfig config;
    config.objectName = QStringLiteral("frmDaAderire");
    config.caption = QStringLiteral(" Riepilogo eventi disponibili per adesione");
    config.source = EventLists::source();
    config.test = &EventLists::openForJoining;
    config.printTitle = QStringLiteral("Riepilogo eventi disponibili per adesione");
    config.deliver = [](const Record &record, qint64 number, const QString &) {
        if (TfrmRegistro *card = windows().frmRegistro)
            card->showRecord(record, number);
    };
    return config;
}

TfrmDaAderire::TfrmDaAderire(QWidget *parent) : SummaryListWindow(configuration(), parent) {}
