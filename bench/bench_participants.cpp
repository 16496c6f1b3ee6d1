// Participant lists on a large participants archive: the search with every
// box empty and with one filter, the recontact list and the double-click,
// each as a ratio to one sequential read of the file.
//   cmake --build build --target bench_participants && QT_QPA_PLATFORM=offscreen build/bench/bench_participants [records]
#include "archive/records.h"
#include "core/programfolder.h"
#include "frame/windows.h"
#include "output/listscan.h"
#include "participants/participantlists.h"
#include "participants/tfrmclienti.h"
#include "participants/tfrmricontatta.h"
#include "participants/tfrmtrovaclienti.h"
#include "ui/style.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>

using namespace qv;

namespace {

double run(const std::function<void()> &step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    return timer.nsecsElapsed() / 1e6;
}

void writeParticipants(int count)
{
    const QStringList surnames{"Rossi", "Bianchi", "Esposito", "Romano", "Colombo", "Ricci", "Marino", "Greco"};
    const QStringList names{"Mario", "Laura", "Giuseppe", "Anna", "Luca", "Chiara", "Paolo"};
    const QStringList jobs{"Ingegnere", "Medico", "Avvocato", "Insegnante", "Commerciante"};
    const QStringList products{"Convegni di cardiologia", "Corsi di formazione", "Seminari", "Congressi"};
    QFile file(TSchedaPartecipante::archivePath());
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QByteArray block;
    for (int i = 0; i < count; ++i) {
        TSchedaPartecipante p;
        // Pseudo-random order, so the sort has work to do.
        const quint32 k = quint32(i) * 2654435761u;
        p.setText("Cliente", QString("%1 %2 %3").arg(surnames[k % 8], names[(k >> 8) % 7]).arg(k % 100000));
        p.setText("Recapito", QString("347 %1").arg(k % 9999999));
        p.setText("IndirizzoRes", QString("Via Roma %1").arg(k % 300));
        p.setText("ComuneRes", QString("Comune %1").arg(k % 811));
        p.setText("ProvRes", "RM");
        p.setText("CodFisc", QString("RSSMRA%1A01H501U").arg(k % 100, 2, 10, QChar('0')));
        p.setText("Occupazione", jobs[(k >> 4) % 5]);
        p.setText("Prodotti", products[(k >> 6) % 4]);
        p.setText("Questioni", i % 7 ? QString() : QString("Richiamare per il saldo"));
        p.setText("Note", i % 10 ? QString() : QString("Cliente storico"));
        p.setYesNo("Ricontatta", k % 9 == 0);
        block += p.bytes();
        if (block.size() > (8 << 20)) {
            file.write(block);
            block.clear();
        }
    }
    file.write(block);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    applyHouseStyle(app);
    const int count = argc > 1 ? QString(argv[1]).toInt() : 100000;
    QTemporaryDir dir;
    ProgramFolder::setOverride(dir.path());
    QTextStream out(stdout);

    const double writing = run([&] { writeParticipants(count); });
    out << "Partecipanti.pro: " << count << " records, "
        << QFile(TSchedaPartecipante::archivePath()).size() / (1 << 20) << " MiB (written in " << qRound(writing)
        << " ms)\n\n";

    const ListSource source = ParticipantLists::searchSource();
    qint64 seen = 0;
    const double read = run([&] {
        scanArchive(source.archivePath(), *source.layout, [&](const RecordView &, qint64) { ++seen; });
    });

    TfrmClienti card;
    windows().frmClienti = &card;

    // The search window: Cerca with every box empty, then the list painted once.
    double cercaAll = 0, cercaOne = 0, dblClick = 0;
    qsizetype allCount = 0, oneCount = 0;
    {
        TfrmTrovaClienti window;
        window.show();
        app.processEvents();
        cercaAll = run([&] {
            window.btnCercaClick();
            window.lstRecords->viewport()->repaint();
            app.processEvents();
        });
        allCount = window.lines().size();
        // The double-click rereads the archive, rebuilds every line and loads the card.
        window.lblMemory->setText("clienti");
        window.selectRow(int(allCount / 2));
        dblClick = run([&] {
            window.lstRecordsDblClick();
            app.processEvents();
        });
    }
    {
        TfrmTrovaClienti window;
        window.show();
        app.processEvents();
        window.txtCliente->setText("rossi");
        cercaOne = run([&] {
            window.btnCercaClick();
            window.lstRecords->viewport()->repaint();
            app.processEvents();
        });
        oneCount = window.lines().size();
    }
    double recontact = 0;
    qsizetype recontactCount = 0;
    {
        TfrmRicontatta list;
        recontact = run([&] {
            list.show();
            list.lstRecords->viewport()->repaint();
            app.processEvents();
        });
        recontactCount = list.lines().size();
    }
    windows().frmClienti = nullptr;

    auto row = [&](const char *what, double ms, const QString &note = {}) {
        out << QString("%1 %2 ms  %3x read").arg(QString(what).leftJustified(52, '.')).arg(ms, 8, 'f', 1).arg(ms / read, 5, 'f', 1);
        if (!note.isEmpty())
            out << "  (" << note << ")";
        out << "\n";
    };
    row("Sequential read in 1 MiB blocks", read, QString("%1 records").arg(seen));
    row("Search, every box empty: read, build, sort, paint", cercaAll, QString("%1 lines").arg(allCount));
    row("Search, one filter (name)", cercaOne, QString("%1 lines").arg(oneCount));
    row("Participants to recontact: show and fill", recontact, QString("%1 lines").arg(recontactCount));
    row("Double-click: reread, compare, load the card", dblClick, QString("record %1").arg(card.lblPosizione->text()));
    return 0;
}
