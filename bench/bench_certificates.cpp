// Certificates of attendance as one PDF, with a logo, against the name
// badges' PDF on the same machine: time per page, and the peak memory of
// 500 and of 2 000 certificates (pages streamed: it should not grow).
//   cmake --build build --target bench_certificates && QT_QPA_PLATFORM=offscreen build/bench/bench_certificates [people]
#include "benchsupport.h"

#include "core/programfolder.h"
#include "eventday/badges.h"
#include "eventday/certificatepages.h"
#include "eventday/certificates.h"
#include "output/pageoutput.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QTemporaryDir>

using namespace qv;

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const int count = qvbench::recordCount(argc, argv, 2000);
    QTemporaryDir dir;
    ProgramFolder::setOverride(dir.path());
    QTextStream out(stdout);

    // A logo as people make them: a colour picture of 1200 x 400 pixels.
    QImage logo(1200, 400, QImage::Format_RGB32);
    {
        QPainter p(&logo);
        QLinearGradient g(0, 0, 1200, 400);
        g.setColorAt(0, QColor(0x1F, 0x4E, 0x79));
        g.setColorAt(1, QColor(0xF4, 0xB1, 0x83));
        p.fillRect(logo.rect(), g);
        p.setPen(Qt::white);
        p.setFont(QFont(QStringLiteral("Arial"), 90, QFont::Bold));
        p.drawText(logo.rect(), Qt::AlignCenter, QStringLiteral("Congressi"));
    }
    logo.save(dir.filePath(QStringLiteral("Attestato_Logo.png")));

    EventInfo event;
    event.number = 1;
    event.titolo = QStringLiteral("Congresso nazionale di cardiologia interventistica");
    event.dataInizio = QStringLiteral("12/03/2026");
    event.dataFine = QStringLiteral("13/03/2026");
    event.sede = QStringLiteral("Palazzo dei Congressi");
    event.relatori = QStringLiteral("Prof. Neri, Dott.ssa Bruni");
    QList<Certificates::Person> people;
    QList<Booking> bookings;
    for (int i = 1; i <= count; ++i) {
        Certificates::Person p;
        p.booking.number = i;
        p.booking.cliente = QStringLiteral("Partecipante Numero %1 De Nicol\u00F2").arg(i);
        p.booking.posto = QString::number(i);
        p.days = {QDate(2026, 3, 12), QDate(2026, 3, 13)};
        p.seconds = 15 * 3600 + i % 3600;
        p.chosen = true;
        people.append(p);
        bookings.append(p.booking);
    }
    Certificates::Template tpl = Certificates::Template::standard();
    tpl.logo = QStringLiteral("Attestato_Logo.png");
    tpl.firmatario = QStringLiteral("Dott. Mario Bianchi");
    const auto setting = CertificatePages::Setting::make(event, tpl, QDate(2026, 3, 14));

    // Certificates first: memory the badges' document held and freed would
    // hide their peak.
    const QString certificatesPdf = dir.filePath(Certificates::pdfName(1));
    const double certMs = qvbench::milliseconds([&] { CertificatePages::writePdf(setting, people, certificatesPdf); });
    const double quarterPeak = qvbench::peakAbove(
        [&] { CertificatePages::writePdf(setting, people.mid(0, count / 4), certificatesPdf + QStringLiteral(".q")); });
    const double certPeak = qvbench::peakAbove([&] { CertificatePages::writePdf(setting, people, certificatesPdf); });

    const QString badgesPdf = dir.filePath(Badges::pdfName(1));
    const page::Document badges = Badges::document(event, bookings, Badges::eightPerPage());
    const double badgeMs = qvbench::milliseconds([&] { PageOutput::writePdf(badges, badgesPdf); });
    const double badgePage = badgeMs / badges.pages.size();
    const double badgePeak = qvbench::peakAbove([&] {
        PageOutput::writePdf(Badges::document(event, bookings, Badges::eightPerPage()), badgesPdf);
    });


    out << count << " certificates with a logo, " << badges.pages.size() << " pages of " << count << " badges\n";
    qvbench::Report report(out, "badge page", badgePage, 62);
    report.row(QStringLiteral("Badges PDF, per page (8 badges, QR codes)"), badgePage);
    report.row(QStringLiteral("Certificates PDF, per page (streamed, logo)"), certMs / count);
    report.row(QStringLiteral("Certificates PDF, whole"), certMs);
    out << QStringLiteral("Peak memory above start: badges %1 MiB; certificates %2 MiB for %3, %4 MiB for %5\n")
               .arg(badgePeak, 0, 'f', 1)
               .arg(quarterPeak, 0, 'f', 1)
               .arg(count / 4)
               .arg(certPeak, 0, 'f', 1)
               .arg(count);
    out << QStringLiteral("Certificates PDF: %1 KiB\n").arg(QFileInfo(certificatesPdf).size() / 1024);
    return 0;
}
