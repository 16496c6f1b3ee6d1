// quorvane-cli certificates and signatures: the certificates of a two-day
// event by each rule and the signature sheet of a day, read back from the
// PDFs the real tool writes.
#include "clirunner.h"

#include "../eventday/certificatefixtures.h"

#include "core/programfolder.h"
#include "eventday/certificates.h"

#include <QtTest>

using namespace clitest;
using namespace certfixtures;

class TestCliCertificates : public QObject
{
    Q_OBJECT

    Result run(QStringList args) const { return runCli(args << "--folder" << m_folder->path(), {}, m_folder->path()); }

private slots:
    void init()
    {
        m_folder = std::make_unique<qvtest::TempProgramFolder>();
        writeTwoDayEvent(*m_folder);
    }
    void cleanup() { m_folder.reset(); }

    void certificatesByRule_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("pages");
        QTest::newRow("every day (default)") << QStringList{} << 4;
        QTest::newRow("any day") << QStringList{"--rule", "any-day"} << 5;
    }
    void certificatesByRule()
    {
        if (!hasPdfToText())
            QSKIP("pdftotext is not installed");
        QFETCH(QStringList, options);
        QFETCH(int, pages);
        const Result r = run(QStringList{"certificates", "1"} + options);
        QVERIFY2(r.exit == 0, r.err.constData());
        QVERIFY(r.outText().contains(QStringLiteral("N. 1/6  Colombo Paolo: escluso (assente)")));
        const QStringList text = pdfPages(m_folder->file(qv::Certificates::pdfName(1)));
        QCOMPARE(text.size(), pages);
        QStringList named;
        for (const QString &page : text) {
            const QString flat = page.simplified();
            QVERIFY(flat.contains(kTitle));
            QVERIFY(flat.contains(QStringLiteral("12/03/2026")) && flat.contains(QStringLiteral("13/03/2026")));
            for (const QString &name : kBothDays + QStringList{kOneDay, kAbsent})
                if (flat.contains(name))
                    named.append(name);
        }
        QStringList expected = kBothDays;
        if (pages == 5)
            expected.append(kOneDay);
        std::sort(expected.begin(), expected.end());
        QCOMPARE(named, expected);
    }

    // A text changed (as the window keeps it) shows on the next output.
    void templateChangeShowsNextTime()
    {
        if (!hasPdfToText())
            QSKIP("pdftotext is not installed");
        const QString out = m_folder->file(QStringLiteral("a.pdf"));
        QCOMPARE(run({"certificates", "1", "--output", out}).exit, 0);
        QVERIFY(pdfPages(out).first().contains(QStringLiteral("ATTESTATO DI PARTECIPAZIONE")));
        qv::ProgramFolder::setOverride(m_folder->path());
        qv::Certificates::Template tpl = qv::Certificates::load(1);
        tpl.titolo = QStringLiteral("ATTESTATO DI FREQUENZA");
        QVERIFY(qv::Certificates::save(tpl, qv::Certificates::eventTemplatePath(1)));
        QCOMPARE(run({"certificates", "1", "--output", out}).exit, 0);
        QVERIFY(pdfPages(out).first().contains(QStringLiteral("ATTESTATO DI FREQUENZA")));
    }

    void eachPersonAFile()
    {
        const Result r = run({"certificates", "1", "--each", "uno"});
        QVERIFY2(r.exit == 0, r.err.constData());
        QCOMPARE(QDir(m_folder->file("uno")).entryList(QDir::Files),
                 (QStringList{"Attestato_Evento_1_Bianchi_Anna.pdf", "Attestato_Evento_1_Esposito_Nicolo.pdf",
                              "Attestato_Evento_1_Rossi_Mario.pdf", "Attestato_Evento_1_Verdi_Luca.pdf"}));
        QVERIFY(!QFile::exists(m_folder->file(qv::Certificates::pdfName(1))));
    }

    void refusals_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exit");
        QTest::newRow("unknown rule") << QStringList{"certificates", "1", "--rule", "often"} << 2;
        QTest::newRow("no such event") << QStringList{"certificates", "9"} << 1;
        QTest::newRow("hours without exits") << QStringList{"certificates", "1", "--rule", "hours:80"} << 1;
        QTest::newRow("bad day") << QStringList{"signatures", "1", "--day", "31/02/2026"} << 2;
    }
    void refusals()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exit);
        const Result r = run(args);
        QCOMPARE(r.exit, exit);
        QVERIFY(!r.err.isEmpty());
        QVERIFY(!QFile::exists(m_folder->file(qv::Certificates::pdfName(1))));
    }

    void signatureSheet()
    {
        if (!hasPdfToText())
            QSKIP("pdftotext is not installed");
        const Result r = run({"signatures", "1", "--day", "13/03/2026"});
        QVERIFY2(r.exit == 0, r.err.constData());
        const QStringList pages = pdfPages(m_folder->file(QStringLiteral("Foglio_Firme_Evento_1_2026-03-13.pdf")));
        QCOMPARE(pages.size(), 1);
        const QString text = pages.first();
        for (const QString &heading : {QStringLiteral("Firma entrata"), QStringLiteral("Firma uscita"), kTitle,
                                       QStringLiteral("Palazzo dei Congressi"), QStringLiteral("13/03/2026"),
                                       QStringLiteral("Pagina 1 di 1")})
            QVERIFY2(text.contains(heading), qPrintable(heading));
        qsizetype at = 0;
        for (const QString &name : {"Bianchi Anna", "Colombo Paolo", "Esposito Nicol\u00F2", "Ferrari Giulia",
                                    "Rossi Mario", "Verdi Luca"}) {
            const qsizetype found = text.indexOf(name, at);
            QVERIFY2(found > at, qPrintable(name));
            at = found;
        }
    }

private:
    std::unique_ptr<qvtest::TempProgramFolder> m_folder;
};

QTEST_MAIN(TestCliCertificates)
#include "tst_clicertificates.moc"
