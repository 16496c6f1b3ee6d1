// Booking confirmations with their badge PDFs sent to a mail server on the
// loopback address (the tests' aiosmtpd server, STARTTLS and a password):
// messages composed and sent per second, and the peak memory of a batch of
// a quarter and of the whole (messages go through the outbox one at a time,
// so it should not grow with the batch).
//   cmake --build build --target bench_mail && QT_QPA_PLATFORM=offscreen build/bench/bench_mail [people]
#include "benchsupport.h"
#include "mailserver.h"

#include "archive/records.h"
#include "core/programfolder.h"
#include "mail/mailbatch.h"
#include "mail/mailings.h"

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>

using namespace qv;

namespace {

struct Run
{
    double composeMs = 0, sendMs = 0, peak = 0;
    int sent = 0;
};

Run confirm(const EventInfo &event, const QList<Booking> &bookings, const Mail::Settings &settings, const QString &folder)
{
    Run run;
    Mail::Outbox outbox(folder);
    run.peak = qvbench::peakAbove([&] {
        const Mailings::Plan plan = Mailings::confirmationsPlan(event, bookings, Mailings::defaultConfirmationText());
        Mailings::Queued queued;
        run.composeMs = qvbench::milliseconds([&] { queued = Mailings::queue(outbox, settings, plan.count(), plan.make); });
        run.sendMs = qvbench::milliseconds([&] {
            run.sent = Mail::sendBatch(outbox, settings, mailtest::kPassword, queued.ids).sent;
        });
    });
    return run;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const int count = qvbench::recordCount(argc, argv, 1000);
    QTextStream out(stdout);
    if (!mailtest::serverAvailable()) {
        out << "bench_mail needs Debian's python3-aiosmtpd and openssl\n";
        return 1;
    }
    QTemporaryDir dir;
    ProgramFolder::setOverride(dir.path());
    mailtest::MailServer server(dir.filePath(QStringLiteral("server")));

    Mail::Settings settings;
    settings.server = QStringLiteral("127.0.0.1");
    settings.port = server.port();
    settings.user = mailtest::kUser;
    settings.sender = QStringLiteral("segreteria@example.it");
    settings.senderName = QStringLiteral("Segreteria Congressi");
    settings.caFile = server.certificate();

    EventInfo event;
    event.number = 1;
    event.titolo = QStringLiteral("Congresso nazionale di cardiologia interventistica");
    event.dataInizio = QStringLiteral("12/03/2026");
    event.oraInizio = QStringLiteral("09:00");
    event.sede = QStringLiteral("Palazzo dei Congressi");
    event.indirizzo = QStringLiteral("Viale della Repubblica 1, Roma");
    QList<Booking> bookings;
    for (int i = 1; i <= count; ++i)
        bookings.append({i, QStringLiteral("Partecipante Numero %1 De Nicol\u00F2").arg(i), QString::number(i),
                         QStringLiteral("persona%1@example.it").arg(i), false});

    const Run quarter = confirm(event, bookings.mid(0, count / 4), settings, dir.filePath(QStringLiteral("quarto")));
    const Run whole = confirm(event, bookings, settings, dir.filePath(QStringLiteral("tutti")));

    out << count << " confirmations, each with its badge PDF, to aiosmtpd on 127.0.0.1 (STARTTLS, password)\n";
    out << QStringLiteral("Composed into the outbox: %1 ms, %2 messages/s\n")
               .arg(whole.composeMs, 0, 'f', 0)
               .arg(count * 1000.0 / whole.composeMs, 0, 'f', 0);
    out << QStringLiteral("Sent: %1 of %2 in %3 ms, %4 messages/s\n")
               .arg(whole.sent)
               .arg(count)
               .arg(whole.sendMs, 0, 'f', 0)
               .arg(whole.sent * 1000.0 / whole.sendMs, 0, 'f', 0);
    out << QStringLiteral("Peak memory above start: %1 MiB for %2, %3 MiB for %4\n")
               .arg(quarter.peak, 0, 'f', 1)
               .arg(count / 4)
               .arg(whole.peak, 0, 'f', 1)
               .arg(count);
    out << QStringLiteral("Received by the server: %1\n").arg(server.received().size());
    return whole.sent == count ? 0 : 1;
}
