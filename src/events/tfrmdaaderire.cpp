#include "events/tfrmdaaderire.h"

#include "app/appwindows.h"
#include "archive/fields.h"
#include "archive/records.h"
#include "core/regional.h"
#include "events/tfrmregistro.h"
#include "events/tfrmtrovaregistro.h"

using namespace qv;

bool TfrmDaAderire::openForJoining(const RecordView &event, const QDate &today)
{
    static const int deadlineField = TSchedaEvento::layout().indexOf(QStringLiteral("DataSca"));
    static const int fullField = TSchedaEvento::layout().indexOf(QStringLiteral("Completo"));
    const QDate deadline = parseDate(event.text(deadlineField));
    if (!deadline.isValid() || today > deadline)
        return false;
    return event.text(fullField) == kNo;
}

SummaryListConfig TfrmDaAderire::configuration()
{
    SummaryListConfig config;
    config.objectName = QStringLiteral("frmDaAderire");
    config.caption = QStringLiteral(" Riepilogo eventi disponibili per adesione");
    config.source = TfrmTrovaRegistro::eventSource();
    config.test = &TfrmDaAderire::openForJoining;
    config.printTitle = QStringLiteral("Riepilogo eventi disponibili per adesione");
    config.deliver = [](const Record &record, qint64 number, const QString &) {
        if (TfrmRegistro *card = windows().frmRegistro)
            card->showRecord(record, number);
    };
    return config;
}

TfrmDaAderire::TfrmDaAderire(QWidget *parent) : SummaryListWindow(configuration(), parent) {}
