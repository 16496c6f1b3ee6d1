// The participants export on a large archive: how long the grid takes to fill
// and show and the file to be written, as ratios to one plain sequential
// write of the same number of bytes, and the peak memory above idle; then
// the same grid saved as .xlsx, CSV and vCard.
//   cmake --build build --target bench_exports && QT_QPA_PLATFORM=offscreen build/bench/bench_exports [records]
#include "archive/records.h"
#include "benchsupport.h"
#include "core/programfolder.h"
#include "output/exportformats.h"
#include "participants/tfrmexpclienti.h"
#include "ui/messages.h"
#include "ui/style.h"

#include <QApplication>
#include <QFile>
#include <QHeaderView>
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
    // Export Yes, open No.
    int asked = 0;
    Messages::setHandler([&](MessageKind, const QString &) { return ++asked % 2 == 1; });

    const double writing = qvbench::milliseconds([&] { qvbench::writeParticipants(TSchedaPartecipante::archivePath(), count); });
    out << "Partecipanti.pro: " << count << " records, " << QFile(TSchedaPartecipante::archivePath()).size() / (1 << 20)
        << " MiB (written in " << qRound(writing) << " ms)\n\n";

    TfrmExpClienti window;
    double show = 0;
    const double showPeak = qvbench::peakAbove([&] {
        show = qvbench::milliseconds([&] {
            window.show();
            app.processEvents();
        });
    });
    double exportMs = 0;
    const double exportPeak = qvbench::peakAbove([&] { exportMs = qvbench::milliseconds([&] { window.cmdEsportaClick(); }); });
    const QString file = window.filePath();
    const qint64 bytes = QFile(file).size();

    // The yardstick: the same number of bytes in one sequential write.
    const QByteArray blob(bytes, 'x');
    const double plain = qvbench::milliseconds([&] {
        QFile f(dir.filePath("plain.bin"));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(blob);
        f.close();
    });
    const double scroll = qvbench::milliseconds([&] {
        window.grdRecords->scrollToBottom();
        window.grdRecords->viewport()->repaint();
        app.processEvents();
    });

    qvbench::Report report(out, "plain write", plain, 46);
    report.row("One plain write of the file's size", plain, QString("%1 MiB").arg(bytes / double(1 << 20), 0, 'f', 1));
    report.row("Grid: read the archive, fill, first paint", show,
        QString("%1 rows, peak %2 MiB above idle").arg(window.model()->rowCount()).arg(showPeak, 0, 'f', 1));
    report.row("Scroll to the last row and paint", scroll);
    report.row("Export: write the document, replace the file", exportMs,
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
