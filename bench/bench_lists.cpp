// Summary lists on a large events archive: reads, builds, sorts and shows
// 100 000 records, and reports how long each step takes.
//   cmake --build build --target bench_lists && QT_QPA_PLATFORM=offscreen build/bench/bench_lists [records]
#include "archive/records.h"
#include "core/programfolder.h"
#include "events/tfrmdaaderire.h"
#include "events/tfrmtrovaregistro.h"
#include "output/eventlists.h"
#include "output/listreport.h"
#include "output/listscan.h"
#include "ui/style.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

using namespace qv;

namespace {

double run(const std::function<void()> &step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    return timer.nsecsElapsed() / 1e6;
}

void writeEvents(int count)
{
    const QStringList titles{"Convegno", "Congresso", "Seminario", "Meeting", "Corso", "Conferenza", "Giornata"};
    const QStringList topics{"sicurezza", "sanit\u00E0", "energia", "informatica", "diritto", "finanza", "ambiente"};
    const QStringList contacts{"Mario Rossi", "Laura Bianchi", "Giuseppe Verdi", "Anna Esposito"};
    QFile file(TSchedaEvento::archivePath());
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QByteArray block;
    for (int i = 0; i < count; ++i) {
        TSchedaEvento e;
        // Pseudo-random order, so the sort has work to do.
        const quint32 k = quint32(i) * 2654435761u;
        e.setText("Titolo", QString("%1 %2 n. %3").arg(titles[k % 7], topics[(k >> 8) % 7]).arg(k % 100000));
        e.setText("Tipologia", titles[k % 7]);
        e.setText("Materie", QString("Materia %1").arg(k % 977));
        e.setText("DataInizio", QString("%1/%2/%3").arg(1 + k % 28, 2, 10, QChar('0')).arg(1 + (k >> 4) % 12, 2, 10, QChar('0')).arg(2020 + (k >> 9) % 8));
        e.setText("DataFine", e.text("DataInizio"));
        e.setText("Sede", QString("Sede %1").arg(k % 313));
        e.setText("Contatto", contacts[(k >> 3) % 4]);
        e.setText("RecapitoCon", QString("06 %1").arg(k % 9999999));
        e.setText("Quota", "150,00");
        e.setText("Note", i % 10 ? QString() : QString("Posti limitati"));
        e.setText("DataSca", QString("31/12/%1").arg(2020 + (k >> 9) % 10));
        e.setYesNo("Completo", k % 5 == 0);
        block += e.bytes();
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

    const double writing = run([&] { writeEvents(count); });
    out << "Eventi.pro: " << count << " records, " << QFile(TSchedaEvento::archivePath()).size() / (1 << 20)
        << " MiB (written in " << qRound(writing) << " ms)\n\n";

    const ListSource source = EventLists::source();
    qint64 seen = 0;
    const double read = run([&] { scanArchive(source.archivePath(), *source.layout, [&](const RecordView &, qint64) { ++seen; }); });
    QStringList lines;
    const double build = run([&] {
        scanArchive(source.archivePath(), *source.layout, [&](const RecordView &r, qint64) { lines.append(source.lines.line(r)); });
    });
    const double sort = run([&] { sortLines(lines); });
    QStringList found;
    const double searchAll = run([&] { found = searchLines(source, FilterRule({})); });
    const double searchOne = run([&] { found = searchLines(source, FilterRule({{0, "convegno"}})); });
    const qsizetype oneCount = found.size();
    const double searchThree = run([&] {
        found = searchLines(source, FilterRule({{0, "energia"}, {8, "sede 1"}, {12, "rossi"}}));
    });
    const qsizetype threeCount = found.size();

    // The window: Cerca with every box empty, then the list painted once.
    TfrmTrovaRegistro window;
    window.show();
    app.processEvents();
    const double cerca = run([&] {
        window.btnCercaClick();
        window.lstRecords->viewport()->repaint();
        app.processEvents();
    });
    const qsizetype listed = window.lines().size();
    // Trova for a key found nowhere: one full pass over the list.
    window.txtTrova->setText("rossi 06 x");
    const double trova = run([&] { window.btnTrovaClick(); });
    const int trovaRow = window.selectedRow();
    const double scroll = run([&] {
        window.lstRecords->scrollToBottom();
        window.lstRecords->viewport()->repaint();
        app.processEvents();
    });
    // The double-click rereads the archive and rebuilds every line.
    int delivered = 0;
    const QString chosen = window.lines().at(listed / 2);
    const double dblClick = run([&] { delivered = deliverChosen(source, chosen, [](const Record &, qint64) {}); });
    const double printLayout = run([&] { ListReport::document("Riepilogo eventi programmati", window.lines(), QDate(2025, 1, 1)); });
    window.hide();

    double aderire = 0;
    qsizetype open = 0;
    {
        TfrmDaAderire list;
        aderire = run([&] {
            list.show();
            app.processEvents();
        });
        open = list.lines().size();
    }

    auto row = [&](const char *what, double ms, const QString &note = {}) {
        out << QString("%1 %2 ms  %3x read").arg(QString(what).leftJustified(52, '.')).arg(ms, 8, 'f', 1).arg(ms / read, 5, 'f', 1);
        if (!note.isEmpty())
            out << "  (" << note << ")";
        out << "\n";
    };
    row("Sequential read in 1 MiB blocks", read, QString("%1 records").arg(seen));
    row("Read + build every line", build);
    row("Sort every line once", sort);
    row("Filter search, every box empty (read+build+sort)", searchAll, QString("%1 lines").arg(count));
    row("Filter search, one box", searchOne, QString("%1 lines").arg(oneCount));
    row("Filter search, three boxes", searchThree, QString("%1 lines").arg(threeCount));
    row("Window Cerca, every box empty, first paint", cerca, QString("%1 lines").arg(listed));
    row("Trova: a key found nowhere (full pass)", trova, QString("selected row %1").arg(trovaRow));
    row("Scroll to the end and paint", scroll);
    row("Double-click: reread and compare every line", dblClick, QString("%1 delivered").arg(delivered));
    row("Print layout of the whole list", printLayout);
    row("Events open for joining: show and fill", aderire, QString("%1 lines").arg(open));
    return 0;
}
