// Summary lists on a large events archive: reads, builds, sorts and shows
// 100 000 records, and reports how long each step takes.
//   cmake --build build --target bench_lists && QT_QPA_PLATFORM=offscreen build/bench/bench_lists [records]
#include "archive/records.h"
#include "benchsupport.h"
#include "core/programfolder.h"
#include "events/tfrmdaaderire.h"
#include "events/tfrmtrovaregistro.h"
#include "output/eventlists.h"
#include "output/listreport.h"
#include "output/listscan.h"
#include "ui/style.h"

#include <QApplication>
#include <QFile>
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

    const double writing = qvbench::milliseconds([&] { qvbench::writeEvents(TSchedaEvento::archivePath(), count); });
    out << "Eventi.pro: " << count << " records, " << QFile(TSchedaEvento::archivePath()).size() / (1 << 20)
        << " MiB (written in " << qRound(writing) << " ms)\n\n";

    const ListSource source = EventLists::source();
    qint64 seen = 0;
    const double read = qvbench::milliseconds([&] { scanArchive(source.archivePath(), *source.layout, [&](const RecordView &, qint64) { ++seen; }); });
    QStringList lines;
    const double build = qvbench::milliseconds([&] {
        scanArchive(source.archivePath(), *source.layout, [&](const RecordView &r, qint64) { lines.append(source.lines.line(r)); });
    });
    const double sort = qvbench::milliseconds([&] { sortLines(lines); });
    LineList found;
    const double searchAll = qvbench::milliseconds([&] { found = searchLines(source, FilterRule({})); });
    const double searchOne = qvbench::milliseconds([&] { found = searchLines(source, FilterRule({{0, "convegno"}})); });
    const qsizetype oneCount = found.size();
    const double searchThree = qvbench::milliseconds([&] {
        found = searchLines(source, FilterRule({{0, "energia"}, {8, "sede 1"}, {12, "rossi"}}));
    });
    const qsizetype threeCount = found.size();

    // The window: Cerca with every box empty, then the list painted once.
    TfrmTrovaRegistro window;
    window.show();
    app.processEvents();
    const double cerca = qvbench::milliseconds([&] {
        window.btnCercaClick();
        window.lstRecords->viewport()->repaint();
        app.processEvents();
    });
    const qsizetype listed = window.lines().size();
    // Trova for a key found nowhere: one full pass over the list.
    window.txtTrova->setText("rossi 06 x");
    const double trova = qvbench::milliseconds([&] { window.btnTrovaClick(); });
    const int trovaRow = window.selectedRow();
    const double scroll = qvbench::milliseconds([&] {
        window.lstRecords->scrollToBottom();
        window.lstRecords->viewport()->repaint();
        app.processEvents();
    });
    // The double-click rereads the archive and rebuilds every line.
    int delivered = 0;
    const QString chosen = window.lines().at(listed / 2);
    const double dblClick = qvbench::milliseconds([&] { delivered = deliverChosen(source, chosen, [](const Record &, qint64) {}); });
    const double printLayout = qvbench::milliseconds([&] { ListReport::document("Riepilogo eventi programmati", window.lines(), QDate(2025, 1, 1)); });
    window.hide();

    double aderire = 0;
    qsizetype open = 0;
    {
        TfrmDaAderire list;
        aderire = qvbench::milliseconds([&] {
            list.show();
            app.processEvents();
        });
        open = list.lines().size();
    }

    qvbench::Report report(out, "read", read);
    report.row("Sequential read in 1 MiB blocks", read, QString("%1 records").arg(seen));
    report.row("Read + build every line", build);
    report.row("Sort every line once", sort);
    report.row("Filter search, every box empty (read+build+sort)", searchAll, QString("%1 lines").arg(count));
    report.row("Filter search, one box", searchOne, QString("%1 lines").arg(oneCount));
    report.row("Filter search, three boxes", searchThree, QString("%1 lines").arg(threeCount));
    report.row("Window Cerca, every box empty, first paint", cerca, QString("%1 lines").arg(listed));
    report.row("Trova: a key found nowhere (full pass)", trova, QString("selected row %1").arg(trovaRow));
    report.row("Scroll to the end and paint", scroll);
    report.row("Double-click: reread and compare every line", dblClick, QString("%1 delivered").arg(delivered));
    report.row("Print layout of the whole list", printLayout);
    report.row("Events open for joining: show and fill", aderire, QString("%1 lines").arg(open));
    return 0;
}
