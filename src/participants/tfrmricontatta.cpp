#include "participants/tfrmricontatta.h"

#include "frame/windows.h"
#include "participants/participantlists.h"
#include "participants/tfrmclienti.h"

using namespace qv;

SummaryListConfig TfrmRicontatta::configuration()
{
    SummaryListConfig config;
    config.objectName = QStringLiteral("frmRicontatta");
    config.caption = QStringLiteral(" Riepilogo partecipanti da ricontattare");
    config.source = ParticipantLists::recontactSource();
    config.test = [](const RecordView &record, const QDate &) { return ParticipantLists::toRecontact(record); };
    config.printTitle = QStringLiteral("Riepilogo partecipanti da ricontattare");
    // An archive that could not be read must not pass for nobody to recontact.
    config.reportFillFailure = true;
    config.deliver = [](const Record &record, qint64 number, const QString &) {
        if (TfrmClienti *card = windows().frmClienti)
            card->showRecord(record, number);
    };
    return config;
}

TfrmRicontatta::TfrmRicontatta(QWidget *parent) : SummaryListWindow(configuration(), parent) {}
