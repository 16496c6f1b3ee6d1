#include "archive/records.h"
#include "events/tfrmexpregistro.h"
#include "events/tfrmregistro.h"
#include "frame/guide.h"
#include "output/fixtures.h"
#include "output/spreadsheetdoc.h"
#include "support/testsupport.h"
#include "ui/widgets.h"

#include <QtTest>

using namespace qv;
using qvtest::MessageRecorder;
using qvtest::ShellRecorder;
using qvtest::TempProgramFolder;

namespace {

const QString kYes = QString::fromUtf8("S\u00EC");

void writeEvents()
{
    qvtest::writeRecords(
        TSchedaEvento::archivePath(), qvtest::eventFields(),
        {{{"Titolo", "Convegno R&D"}, {"DataInizio", " 1/2/2025 "}, {"OraInizio", "9:30"}, {"DataFine", "02/02/2025"},
          {"Quota", "0,00"}, {"Posti", "0100"}, {"Completo", kYes}, {"Materie", QString::fromUtf8("Sanità")}},
         {{"Titolo", "Seminario"}, {"DataInizio", "03/03/2025"}, {"Completo", "No"}, {"Note", "=1+1"}}});
}

qvtest::Headings eventHeadings()
{
    return {{"Titolo evento", 250}, {"Tipologia", 250}, {"Materie trattate", 350}, {"Relatori", 350},
            {"Inizio", 250}, {"Fine", 250}, {"Sede", 250}, {"Indirizzo", 250}, {"Organizzatore", 250},
            {"Recapito organizzatore", 200}, {"Contatto per info", 250}, {"Recapito contatto", 200},
            {"Collaboratori", 350}, {"Criteri ammissione", 350}, {"Modalit\xE0 pagamento", 250},
            {"Quota partecipazione", 200}, {"Intestatario C/C", 250}, {"IBAN", 250}, {"Banca d'appoggio", 250},
            {"Anticipo", 200}, {"Note", 300}, {"Termine adesione", 200}, {"N. totale posti", 180},
            {"Al completo", 120}};
}

QList<QByteArray> eventRow(const QHash<int, QByteArray> &cells)
{
    QList<QByteArray> row(24);
    // No date: "Data:  - Ora:", its two blanks kept as a space run.
    row[4] = "Data:<span style=\"mso-spacerun:yes\">&#32;&#32;</span>- Ora:";
    row[5] = row[4];
    for (auto it = cells.begin(); it != cells.end(); ++it)
        row[it.key()] = it.value();
    return row;
}

} // namespace

class TestEventsExport : public QObject
{
    Q_OBJECT
private slots:
    // From the card: export, Yes, Yes; the file in the program folder is
    // handed to the opener.
    void cardExportsTheArchive()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        ShellRecorder shell;
        writeEvents();
        TfrmRegistro card;
        QString caption;
        int rows = -1;
        QString start, end;
        qvtest::whenModal([&](QWidget *dialog) {
            auto *w = qobject_cast<TfrmExpRegistro *>(dialog);
            QVERIFY(w);
            caption = w->windowTitle();
            rows = w->model()->rowCount();
            start = w->model()->cellText(0, 5);
            end = w->model()->cellText(1, 6);
            w->model()->setData(w->model()->index(1, 23), "250", Qt::EditRole); // N. totale posti
            w->cmdEsporta->click();
        });
        card.cmdEsporta->click();

        QCOMPARE(caption, " Esporta archivio eventi in Microsoft Excel");
        QCOMPARE(rows, 2);
        QCOMPARE(start, "Data: 1/2/2025 - Ora: 9:30");
        QCOMPARE(end, "Data:  - Ora: ");
        QCOMPARE(messages.count(), 2);
        QCOMPARE(qvtest::readFile(folder.file("Riepilogo_Eventi.xls")),
                 qvtest::spreadsheetDocument(
                     "Riepilogo Eventi", eventHeadings(),
                     {eventRow({{0, "Convegno R&amp;D"}, {2, "Sanit\xE0"}, {4, "Data: 1/2/2025 - Ora: 9:30"},
                                {5, "Data: 02/02/2025 - Ora:"}, {15, "0,00"}, {22, "0100"}, {23, "S\xEC"}}),
                      eventRow({{0, "Seminario"}, {4, "Data: 03/03/2025 - Ora:"}, {20, "=1+1"}, {22, "250"},
                                {23, "No"}})}));
        QCOMPARE(shell.commands, QStringList{'"' + folder.file("Riepilogo_Eventi.xls") + '"'});
        QVERIFY(!card.findChild<TfrmExpRegistro *>());
    }

    void guidePictureOpensTheEventsTopic()
    {
        TempProgramFolder folder;
        TfrmExpRegistro w;
        QString seen;
        qvtest::whenModal([&](QWidget *dialog) {
            if (auto *guide = qobject_cast<TfrmGuida *>(dialog))
                seen = guide->lblTitolo->text();
        });
        w.cmdGuida->click();
        QCOMPARE(seen, "Esportazione archivio eventi in Microsoft Excel.");
    }
};

QTEST_MAIN(TestEventsExport)
#include "tst_eventsexport.moc"
