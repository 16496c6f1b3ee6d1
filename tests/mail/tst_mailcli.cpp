// quorvane-cli mail against a real mail server on the loopback address
// (STARTTLS on a certificate made for the test, a user name and password):
// what arrives, with which headers, text and attachments; a temporary then a
// permanent refusal; a wrong password; a batch killed half-way and resumed.
#include "mailserver.h"

#include <QtTest>

#include "../cli/clirunner.h"
#include "../eventday/certificatefixtures.h"

#include "core/programfolder.h"
#include "eventday/attendance.h"
#include "mail/mailsettings.h"

#include <QDirIterator>
#include <QtTest>

using namespace mailtest;

namespace {

const QString kTitle = QStringLiteral("Giornata di studio sulla sanit\u00E0 pubblica");

struct Person
{
    QString name, seat, email;
};

const QList<Person> kFive{
    {QStringLiteral("Rossi Mario"), QStringLiteral("1"), QStringLiteral("rossi@example.it")},
    {QStringLiteral("Bianchi Anna"), QStringLiteral("2"), QString()},
    {QStringLiteral("Esposito Nicol\u00F2"), QStringLiteral("3"), QStringLiteral("nicolo@example.it")},
    {QStringLiteral("Verdi Luca"), QStringLiteral("4"), QString()},
    {QStringLiteral("Ferrari Giulia"), QStringLiteral("5"), QStringLiteral("inesistente@example.it")},
};

QString flat(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

} // namespace

class TestMailCli : public QObject
{
    Q_OBJECT

    std::unique_ptr<qvtest::TempProgramFolder> m_folder;
    QTemporaryDir m_work;

    void writeEvent(const QList<Person> &people)
    {
        qv::TSchedaEvento event;
        event.setText("Titolo", kTitle);
        event.setText("DataInizio", QStringLiteral("12/03/2026"));
        event.setText("DataFine", QStringLiteral("13/03/2026"));
        event.setText("OraInizio", QStringLiteral("09:00"));
        event.setText("OraFine", QStringLiteral("13:00"));
        event.setText("Sede", QStringLiteral("Palazzo dei Congressi"));
        event.setText("Indirizzo", QStringLiteral("Via Matteotti 12, Firenze"));
        m_folder->write(QStringLiteral("Eventi.pro"), event.bytes());
        QList<dayfixtures::Guest> guests;
        for (const Person &p : people)
            guests.append({p.name, p.seat, p.email});
        dayfixtures::writeBookings(*m_folder, 1, guests);
    }

    void useServer(const MailServer &server)
    {
        qv::Mail::Settings s;
        s.server = QStringLiteral("127.0.0.1");
        s.port = server.port();
        s.security = qv::Mail::Security::StartTls;
        s.user = kUser;
        s.sender = QStringLiteral("segreteria@example.it");
        s.senderName = QStringLiteral("Segreteria Convegni Citt\u00E0");
        s.caFile = server.certificate();
        qv::Mail::writeSettings(s);
    }

    QProcessEnvironment environment(const QString &password) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QUORVANE_SMTP_PASSWORD"), password);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return env;
    }

    clitest::Result run(QStringList args, const QString &password = kPassword) const
    {
        QProcess process;
        process.setProcessEnvironment(environment(password));
        process.start(QStringLiteral(QV_CLI_TOOL), args << QStringLiteral("--folder") << m_folder->path());
        process.closeWriteChannel();
        process.waitForFinished(300000);
        clitest::Result r;
        r.exit = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
        r.out = process.readAllStandardOutput();
        r.err = process.readAllStandardError();
        return r;
    }

    QString mailbox(const QString &name) const { return m_work.filePath(name); }

    // How many lines of `mail outbox` are in each state.
    QMap<QString, int> states() const
    {
        QMap<QString, int> count;
        const clitest::Result r = run({QStringLiteral("mail"), QStringLiteral("outbox")});
        for (const QString &line : r.outText().split(QLatin1Char('\n')))
            for (const QString &state : {QStringLiteral("da inviare"), QStringLiteral("inviato"),
                                         QStringLiteral("rifiutato"), QStringLiteral("esito incerto")})
                if (line.contains(QStringLiteral("  ") + state + QStringLiteral("  ")))
                    ++count[state];
        return count;
    }

private slots:
    void initTestCase()
    {
        if (!serverAvailable())
            QSKIP("the tests' mail server needs Debian's python3-aiosmtpd and openssl");
    }
    void init() { m_folder = std::make_unique<qvtest::TempProgramFolder>(); }
    void cleanup() { m_folder.reset(); }

    void confirmationsReachEachPersonOnce()
    {
        writeEvent(kFive);
        MailServer server(mailbox(QStringLiteral("conferme")),
                          ServerOptions{{QStringLiteral("inesistente@example.it")}, {QStringLiteral("nicolo@example.it:1")}});
        QVERIFY(server.port() > 0);
        useServer(server);

        // Nicolò is refused for now, then taken on the second try; Giulia's
        // address is refused for good.
        const clitest::Result r = run({"mail", "confirmations", "1", "--wait", "1"});
        const QString out = r.outText();
        QVERIFY2(r.exit == 1, qPrintable(out + r.errText()));
        QVERIFY2(out.contains(QStringLiteral("Prenotati senza indirizzo di posta elettronica, a cui non si scrive: 2.")), qPrintable(out));
        QVERIFY(out.contains(QStringLiteral("Posto 2  Bianchi Anna")) && out.contains(QStringLiteral("Posto 4  Verdi Luca")));
        QVERIFY(out.contains(QStringLiteral("Messaggi inviati: 2.")));
        QVERIFY(out.contains(QStringLiteral("Rifiutati dal server: 1.")));
        QVERIFY(out.contains(QStringLiteral("Ferrari Giulia <inesistente@example.it>: 550 5.1.1 Indirizzo inesistente")));
        QCOMPARE(server.received(), (QStringList{"rossi@example.it", "nicolo@example.it"}));

        const QList<QJsonObject> messages = server.messages();
        QCOMPARE(messages.size(), 2);
        const QStringList names{QStringLiteral("Rossi Mario"), QStringLiteral("Esposito Nicol\u00F2")};
        const QStringList seats{QStringLiteral("1"), QStringLiteral("3")};
        QStringList ids;
        for (int i = 0; i < 2; ++i) {
            const QJsonObject m = messages.at(i);
            const QJsonObject h = m.value("headers").toObject();
            QCOMPARE(h.value("subject").toString(), QStringLiteral("Conferma di prenotazione: ") + kTitle);
            QCOMPARE(h.value("from").toString(), QStringLiteral("Segreteria Convegni Citt\u00E0 <segreteria@example.it>"));
            QCOMPARE(h.value("to").toString(), names.at(i) + QStringLiteral(" <") + m.value("envelope_to").toArray().at(0).toString() + ">");
            QVERIFY(m.value("raw_headers").toString().contains(QStringLiteral("Subject: =?UTF-8?B?")));
            const QString id = h.value("message-id").toString();
            QVERIFY(id.startsWith('<') && id.endsWith(QStringLiteral("@example.it>")));
            ids << id;
            QCOMPARE(m.value("text_charset").toString(), QStringLiteral("utf-8"));
            const QString text = flat(m.value("text").toString());
            QVERIFY2(text.startsWith(QStringLiteral("Gentile ") + names.at(i) + QStringLiteral(",\n")), qPrintable(text));
            for (const QString &line : {QStringLiteral("Evento: ") + kTitle, QStringLiteral("Data: dal 12/03/2026 al 13/03/2026"),
                                        QStringLiteral("Orario: dalle 09:00 alle 13:00"), QStringLiteral("Sede: Palazzo dei Congressi"),
                                        QStringLiteral("Indirizzo: Via Matteotti 12, Firenze"), QStringLiteral("Posto: ") + seats.at(i)})
                QVERIFY2(text.contains(line + QLatin1Char('\n')), qPrintable(line));
            const QJsonArray files = m.value("attachments").toArray();
            QCOMPARE(files.size(), 1);
            const QJsonObject pdf = files.at(0).toObject();
            QCOMPARE(pdf.value("type").toString(), QStringLiteral("application/pdf"));
            QCOMPARE(pdf.value("encoding").toString(), QStringLiteral("base64"));
            QVERIFY(pdf.value("filename").toString().startsWith(QStringLiteral("Cartellino_Evento_1_")));
            if (certfixtures::hasPdfToText()) {
                const QStringList pages = certfixtures::pdfPages(pdf.value("path").toString());
                QCOMPARE(pages.size(), 1);
                const QString badge = pages.first().simplified();
                QVERIFY2(badge.contains(names.at(i)) && badge.contains(QStringLiteral("Posto ") + seats.at(i)), qPrintable(badge));
            }
        }
        QVERIFY(ids.at(0) != ids.at(1));

        // Run again: nothing goes twice, the refused address included.
        const clitest::Result again = run({"mail", "confirmations", "1", "--wait", "1"});
        QCOMPARE(again.exit, 0);
        QVERIFY2(again.outText().contains(QStringLiteral("Nessun messaggio da inviare (gi\u00E0 nella posta in uscita: 3).")),
                 again.out.constData());
        QCOMPARE(server.received().size(), 2);
        const QMap<QString, int> count = states();
        QCOMPARE(count.value("inviato"), 2);
        QCOMPARE(count.value("rifiutato"), 1);

        // The password is in no file of the folder, in clear or otherwise kept.
        QDirIterator files(m_folder->path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile f(files.next());
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QByteArray bytes = f.readAll();
            QVERIFY2(!bytes.contains(kPassword.toUtf8()) && !bytes.contains(kPassword.toLatin1()), qPrintable(f.fileName()));
        }
    }

    void testMessageGoesToTheSender()
    {
        MailServer server(mailbox(QStringLiteral("prova")));
        useServer(server);
        const clitest::Result r = run({"mail", "test"});
        QVERIFY2(r.exit == 0, r.err.constData());
        QCOMPARE(server.received(), QStringList{QStringLiteral("segreteria@example.it")});
        QCOMPARE(server.messages().first().value("headers").toObject().value("subject").toString(),
                 QStringLiteral("Messaggio di prova di Quorvane"));
        // Without settings the tool says what is missing.
        QFile::remove(m_folder->file(QStringLiteral("unins000.dll")));
        const clitest::Result unset = run({"mail", "test"});
        QCOMPARE(unset.exit, 2);
        QVERIFY2(unset.errText().contains(QStringLiteral("posta elettronica non impostata: manca il server di posta in uscita")),
                 unset.err.constData());
    }

    void wrongPasswordSendsNothing()
    {
        writeEvent(kFive);
        MailServer server(mailbox(QStringLiteral("password")));
        useServer(server);
        const clitest::Result r = run({"mail", "confirmations", "1"}, QStringLiteral("sbagliata"));
        QCOMPARE(r.exit, 3);
        QVERIFY2(r.outText().contains(QStringLiteral("il server ha rifiutato il nome utente o la password")), r.out.constData());
        QCOMPARE(server.stored(), 0);
        QCOMPARE(states().value("da inviare"), 3);

        // With the right one, the same three messages go, once each.
        const clitest::Result retry = run({"mail", "outbox", "--retry"});
        QCOMPARE(retry.exit, 0);
        QStringList got = server.received();
        got.sort();
        QCOMPARE(got, (QStringList{"inesistente@example.it", "nicolo@example.it", "rossi@example.it"}));
    }

    void killedMidBatchThenResumed()
    {
        QList<Person> six;
        for (int n = 1; n <= 6; ++n)
            six.append({QStringLiteral("Ospite %1").arg(n), QString::number(n), QStringLiteral("ospite%1@example.it").arg(n)});
        writeEvent(six);
        QStringList got;
        {
            // The third message is stored and its answer never comes.
            ServerOptions hang;
            hang.hangAfter = 2;
            MailServer server(mailbox(QStringLiteral("prima")), hang);
            useServer(server);
            QProcess sender;
            sender.setProcessEnvironment(environment(kPassword));
            sender.start(QStringLiteral(QV_CLI_TOOL), {"mail", "confirmations", "1", "--folder", m_folder->path()});
            QTRY_COMPARE_WITH_TIMEOUT(server.stored(), 3, 120000);
            QTest::qWait(300);
            sender.kill();
            QVERIFY(sender.waitForFinished(10000));
            got = server.received();
        }
        QCOMPARE(got.size(), 3);
        QMap<QString, int> count = states();
        QCOMPARE(count.value("inviato"), 2);
        QCOMPARE(count.value("esito incerto"), 1);
        QCOMPARE(count.value("da inviare"), 3);

        // Resumed: the three left go; the uncertain one is not sent again.
        MailServer server(mailbox(QStringLiteral("dopo")));
        useServer(server);
        const clitest::Result r = run({"mail", "confirmations", "1"});
        QCOMPARE(r.exit, 0);
        QVERIFY(r.outText().contains(QStringLiteral("Messaggi inviati: 3.")));
        got += server.received();
        got.sort();
        QStringList expected;
        for (const Person &p : six)
            expected << p.email;
        QCOMPARE(got, expected);
        count = states();
        QCOMPARE(count.value("inviato"), 5);
        QCOMPARE(count.value("esito incerto"), 1);
    }

    void noticeAndCertificatesOnePerPerson()
    {
        writeEvent(kFive);
        // Rossi and Nicolò came both days; Giulia only the first.
        const QString entries = qv::Attendance::archiveBeside(m_folder->file(qv::TSchedaPrenotazione::archiveName(1)));
        for (int day = 12; day <= 13; ++day)
            for (int record : {1, 3, 5})
                if (day == 12 || record != 5)
                    qv::Attendance::checkIn(entries, record, kFive.at(record - 1).seat, QDateTime(QDate(2026, 3, day), QTime(9, 0)));
        MailServer server(mailbox(QStringLiteral("avvisi")));
        useServer(server);

        const QString bodyFile = m_work.filePath(QStringLiteral("avviso.txt"));
        clitest::writeFile(bodyFile, QStringLiteral("La sala \u00E8 cambiata: ci vediamo nell'Aula Verdi.\n\nLa segreteria\n").toUtf8());
        const QString subject = QStringLiteral("Novit\u00E0: cambio di sala");
        const clitest::Result notice = run({"mail", "notice", "1", "--subject", subject, "--body-file", bodyFile});
        QCOMPARE(notice.exit, 0);
        const QList<QJsonObject> notices = server.messages();
        QCOMPARE(notices.size(), 3);
        for (const QJsonObject &m : notices) {
            QCOMPARE(m.value("envelope_to").toArray().size(), 1); // one person, no list of addresses
            QCOMPARE(m.value("headers").toObject().value("subject").toString(), subject);
            QCOMPARE(flat(m.value("text").toString()), QStringLiteral("La sala \u00E8 cambiata: ci vediamo nell'Aula Verdi.\n\nLa segreteria\n"));
            QVERIFY(m.value("attachments").toArray().isEmpty());
        }

        const clitest::Result certificates = run({"mail", "certificates", "1"});
        QCOMPARE(certificates.exit, 0);
        const QList<QJsonObject> all = server.messages();
        QCOMPARE(all.size(), 5);
        for (int i = 3; i < 5; ++i) {
            const QJsonObject m = all.at(i);
            const QString to = m.value("envelope_to").toArray().at(0).toString();
            const QString name = to.startsWith(QStringLiteral("rossi")) ? QStringLiteral("Rossi Mario") : QStringLiteral("Esposito Nicol\u00F2");
            QCOMPARE(m.value("headers").toObject().value("subject").toString(), QStringLiteral("Attestato di partecipazione: ") + kTitle);
            const QJsonArray files = m.value("attachments").toArray();
            QCOMPARE(files.size(), 1);
            if (certfixtures::hasPdfToText()) {
                const QString page = certfixtures::pdfPages(files.at(0).toObject().value("path").toString()).join(' ').simplified();
                QVERIFY2(page.contains(name), qPrintable(page));
            }
        }
    }
};

QTEST_MAIN(TestMailCli)
#include "tst_mailcli.moc"
