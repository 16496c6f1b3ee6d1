// The participants export on a large archive: how long the grid takes to fill
// and show and the file to be written, as ratios to one plain sequential
// write of the same number of bytes, and the peak memory above idle; then
// the same grid saved as .xlsx, CSV and vCard.
//   cmake --build build --target bench_exports && QT_QPA_PLATFORM=offscreen build/bench/bench_exports [records]
#include "archive/records.h"
#include "core/programfolder.h"
#include "output/exportformats.h"
#include "participants/tfrmexpclienti.h"
#include "ui/messages.h"
#include "ui/style.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
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

// Kilobytes of a line of /proc/self/status ("VmRSS", "VmHWM").
qint64 statusKb(const char *key)
{
    QFile file("/proc/self/status");
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : file.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qstrlen(key) + 1).trimmed().split(' ').first().toLongLong();
    return 0;
}

// Runs a step and returns the peak resident memory above what was resident
// before it, in MiB (Linux resets the peak through clear_refs).
double peakAbove(const std::function<void()> &step)
{
    QFile reset("/proc/self/clear_refs");
    if (reset.open(QIODevice::WriteOnly))
        reset.write("5");
    reset.close();
    const qint64 before = statusKb("VmRSS:");
    step();
    return (statusKb("VmHWM:") - before) / 1024.0;
}

void writeParticipants(int count)
{
    const QStringList surnames{"Rossi", "Bianchi", "Esposito", "Ferrari", "Romano", "Colombo", "Ricci", "Marino"};
    const QStringList names{"Mario", "Laura", "Giuseppe", "Anna", "Niccol\u00F2", "Zo\u00EB", "Luca", "Chiara"};
    const QStringList towns{"Roma", "Milano", "Napoli", "Torino", "Forl\u00EC", "Bologna", "Cant\u00F9"};
    QFile file(TSchedaPartecipante::archivePath());
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QByteArray block;
    for (int i = 0; i < count; ++i) {
        const quint32 k = quint32(i) * 2654435761u;
        TSchedaPartecipante p;
        p.setText("Cliente", surnames[k % 8] + ' ' + names[(k >> 3) % 8]);
        p.setText("DataNasc", QString("%1/%2/19%3").arg(1 + k % 28, 2, 10, QChar('0')).arg(1 + (k >> 5) % 12, 2, 10, QChar('0')).arg(40 + k % 60));
        p.setText("ComuneNasc", towns[(k >> 7) % 7]);
        p.setText("ProvNasc", "RM");
        p.setText("Recapito", QString("06 %1").arg(k % 9999999));
        p.setText("IndirizzoRes", QString("Via Garibaldi %1").arg(k % 200));
        p.setText("ComuneRes", towns[k % 7]);
        p.setText("ProvRes", "MI");
        p.setText("CapRes", "00100");
        p.setText("Estremi", "Bonifico bancario");
        p.setText("TelCasa", QString("06%1").arg(k % 9999999));
        p.setText("TelCel", QString("333 %1").arg(k % 9999999));
        p.setText("Email", QString("persona%1@esempio.it").arg(i));
        p.setText("CodFisc", "RSSMRA70A01H501U");
        p.setText("PartitaIva", QString("%1").arg(k % 100000000000ull, 11, 10, QChar('0')));
        p.setText("Occupazione", "Impiegato");
        p.setText("Zona", "Centro");
        p.setText("Note", i % 10 ? QString() : QString("Richiamare dopo le 18 & non prima"));
        p.setYesNo("Ricontatta", k % 3 == 0);
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
    // Export Yes, open No.
    int asked = 0;
    Messages::setHandler([&](MessageKind, const QString &) { return ++asked % 2 == 1; });

    const double writing = run([&] { writeParticipants(count); });
    out << "Partecipanti.pro: " << count << " records, " << QFile(TSchedaPartecipante::archivePath()).size() / (1 << 20)
        << " MiB (written in " << qRound(writing) << " ms)\n\n";

    TfrmExpClienti window;
    double show = 0;
    const double showPeak = peakAbove([&] {
        show = run([&] {
            window.show();
            app.processEvents();
        });
    });
    double exportMs = 0;
    const double exportPeak = peakAbove([&] { exportMs = run([&] { window.cmdEsportaClick(); }); });
    const QString file = window.filePath();
    const qint64 bytes = QFile(file).size();

    // The yardstick: the same number of bytes in one sequential write.
    const QByteArray blob(bytes, 'x');
    const double plain = run([&] {
        QFile f(dir.filePath("plain.bin"));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(blob);
        f.close();
    });
    const double scroll = run([&] {
        window.grdRecords->scrollToBottom();
        window.grdRecords->viewport()->repaint();
        app.processEvents();
    });

    auto row = [&](const QString &what, double ms, const QString &note = {}) {
        out << QString("%1 %2 ms  %3x plain write").arg(what.leftJustified(46, '.')).arg(ms, 8, 'f', 1).arg(ms / plain, 6, 'f', 1);
        if (!note.isEmpty())
            out << "  (" << note << ")";
        out << "\n";
    };
    row("One plain write of the file's size", plain, QString("%1 MiB").arg(bytes / double(1 << 20), 0, 'f', 1));
    row("Grid: read the archive, fill, first paint", show,
        QString("%1 rows, peak %2 MiB above idle").arg(window.model()->rowCount()).arg(showPeak, 0, 'f', 1));
    row("Scroll to the last row and paint", scroll);
    row("Export: write the document, replace the file", exportMs,
        QString("peak %1 MiB above the shown grid").arg(exportPeak, 0, 'f', 1));

    // "Salva come...": the grid, edits included, in the other formats.
    const RowSource grid = [&window](RowSink &sink) { window.model()->writeRows(sink); };
    for (const ExportFormat format : {ExportFormat::Xlsx, ExportFormat::Csv, ExportFormat::Vcf}) {
        const QString path = dir.filePath("Partecipanti." + formatSuffix(format));
        double ms = 0;
        const double peak = peakAbove([&] { ms = run([&] { writeExport(format, path, window.config().layout, grid); }); });
        row("Save as ." + formatSuffix(format), ms,
            QString("%1 MiB, peak %2 MiB above the shown grid").arg(QFile(path).size() / double(1 << 20), 0, 'f', 1).arg(peak, 0, 'f', 1));
    }
    return 0;
}
