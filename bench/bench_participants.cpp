// Participant lists on a large participants archive: the search with every
// box empty and with one filter, the recontact list and the double-click,
// each as a ratio to one sequential read of the file.
//   cmake --build build --target bench_participants && QT_QPA_PLATFORM=offscreen build/bench/bench_participants [records]
#include "archive/records.h"
#include "benchsupport.h"
#include "core/programfolder.h"
#include "frame/windows.h"
#include "output/listscan.h"
#include "participants/participantlists.h"
#include "participants/tfrmclienti.h"
#include "participants/tfrmricontatta.h"
#include "participants/tfrmtrovaclienti.h"
#include "ui/style.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>

using namespace qv;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    applyHouseStyle(app);
    const int count = qvbench::recordCount(argc, argv);
    QTemporaryDir dir;
    ProgramFolder::setOverride(dir.path());
    QTextStream out(stdout);

    const double writing = qvbench::milliseconds([&] { qvbench::writeParticipants(TSchedaPartecipante::archivePath(), count); });
    out << "Partecipanti.pro: " << count << " records, "
        << QFile(TSchedaPartecipante::archivePath()).size() / (1 << 20) << " MiB (written in " << qRound(writing)
        << " ms)\n\n";

    const ListSource source = ParticipantLists::searchSource();
    qint64 seen = 0;
    const double read = qvbench::milliseconds([&] {
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
        cercaAll = qvbench::milliseconds([&] {
            window.btnCercaClick();
            window.lstRecords->viewport()->repaint();
            app.processEvents();
        });
        allCount = window.lines().size();
        // The double-click rereads the archive, rebuilds every line and loads the card.
        window.lblMemory->setText("clienti");
        window.selectRow(int(allCount / 2));
        dblClick = qvbench::milliseconds([&] {
            window.lstRecordsDblClick();
            app.processEvents();
        });
    }
    {
        TfrmTrovaClienti window;
        window.show();
        app.processEvents();
        window.txtCliente->setText("rossi");
        cercaOne = qvbench::milliseconds([&] {
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
        recontact = qvbench::milliseconds([&] {
            list.show();
            list.lstRecords->viewport()->repaint();
            app.processEvents();
        });
        recontactCount = list.lines().size();
    }
    windows().frmClienti = nullptr;

    qvbench::Report report(out, "read", read);
    report.row("Sequential read in 1 MiB blocks", read, QString("%1 records").arg(seen));
    report.row("Search, every box empty: read, build, sort, paint", cercaAll, QString("%1 lines").arg(allCount));
    report.row("Search, one filter (name)", cercaOne, QString("%1 lines").arg(oneCount));
    report.row("Participants to recontact: show and fill", recontact, QString("%1 lines").arg(recontactCount));
    report.row("Double-click: reread, compare, load the card", dblClick, QString("record %1").arg(card.lblPosizione->text()));
    return 0;
}
