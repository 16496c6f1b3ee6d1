// Certificates of attendance and the signature sheet: who qualifies by
// which rule, the template and its fields, the pages as a PDF reader sees
// them, and the window.
#include "certificatefixtures.h"

#include "app/appwindows.h"
#include "core/clock.h"
#include "frame/windows.h"
#include "reservations/tfrmmenuprenotazioni.h"

#include "core/programfolder.h"
#include "eventday/certificatepages.h"
#include "eventday/certificates.h"
#include "eventday/tfrmattestati.h"
#include "output/pageoutput.h"
#include "support/testsupport.h"
#include "ui/widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QtTest>

using namespace qv;
using namespace certfixtures;

namespace {

QStringList chosenNames(const Certificates::Assessment &a)
{
    QStringList names;
    for (const Certificates::Person &p : a.people)
        if (p.chosen)
            names.append(p.booking.cliente);
    return names;
}

Certificates::Person person(const QString &name, qint64 number, QList<QDate> days, std::optional<qint64> seconds)
{
    Certificates::Person p;
    p.booking.cliente = name;
    p.booking.number = number;
    p.days = days;
    p.seconds = seconds;
    return p;
}

} // namespace

class TestCertificates : public QObject
{
    Q_OBJECT

private slots:
    void rulesAreParsed_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("percent");
        QTest::newRow("every-day") << "every-day" << true << int(Certificates::Rule::EveryDay) << 90;
        QTest::newRow("any-day, case and blanks") << " Any-Day " << true << int(Certificates::Rule::AnyDay) << 90;
        QTest::newRow("hours:75") << "hours:75" << true << int(Certificates::Rule::Hours) << 75;
        QTest::newRow("hours:100") << "hours:100" << true << int(Certificates::Rule::Hours) << 100;
        QTest::newRow("hours:0") << "hours:0" << false << 0 << 0;
        QTest::newRow("hours:101") << "hours:101" << false << 0 << 0;
        QTest::newRow("hours:-5") << "hours:-5" << false << 0 << 0;
        QTest::newRow("hours: no number") << "hours:" << false << 0 << 0;
        QTest::newRow("unknown") << "sometimes" << false << 0 << 0;
    }
    void rulesAreParsed()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        const auto rule = Certificates::parseRule(text);
        QCOMPARE(rule.has_value(), valid);
        if (!valid)
            return;
        QFETCH(int, kind);
        QFETCH(int, percent);
        QCOMPARE(int(rule->kind), kind);
        if (rule->kind == Certificates::Rule::Hours) {
            QCOMPARE(rule->percent, percent);
            QCOMPARE(Certificates::parseRule(Certificates::ruleName(*rule)), rule);
        }
    }

    // Who qualifies, by each rule, on the event of the fixtures.
    void whoQualifies_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<bool>("exits");
        QTest::addColumn<QStringList>("chosen");
        // In name order: Bianchi, Esposito, Ferrari, Rossi, Verdi (and Colombo absent).
        QTest::newRow("every day") << "every-day" << false
                                   << QStringList{"Bianchi Anna", "Esposito Nicol\u00F2", "Rossi Mario", "Verdi Luca"};
        QTest::newRow("any day") << "any-day" << false
                                 << QStringList{"Bianchi Anna", "Esposito Nicol\u00F2", "Ferrari Giulia",
                                                "Rossi Mario", "Verdi Luca"};
        // 8 hours planned; Rossi left at 10 both days (2 h), Ferrari came one day (4 h).
        QTest::newRow("hours:90") << "hours:90" << true
                                  << QStringList{"Bianchi Anna", "Esposito Nicol\u00F2", "Verdi Luca"};
        QTest::newRow("hours:50") << "hours:50" << true
                                  << QStringList{"Bianchi Anna", "Esposito Nicol\u00F2", "Ferrari Giulia", "Verdi Luca"};
        QTest::newRow("hours without exits") << "hours:50" << false << QStringList{};
    }
    void whoQualifies()
    {
        QFETCH(QString, rule);
        QFETCH(bool, exits);
        QFETCH(QStringList, chosen);
        qvtest::TempProgramFolder folder;
        const QString archive = writeTwoDayEvent(folder, exits);
        const auto a = Certificates::assess(Certificates::readEvent(1), archive, *Certificates::parseRule(rule));
        QCOMPARE(a.people.size(), 6);
        QCOMPARE(chosenNames(a), chosen);
        QCOMPARE(a.exitsRecorded, exits);
        for (const Certificates::Person &p : a.people) {
            QVERIFY2(!p.why.isEmpty(), qPrintable(p.booking.cliente));
            if (p.booking.cliente == kAbsent)
                QCOMPARE(p.why, QStringLiteral("assente"));
        }
    }

    void whyIsSaid()
    {
        qvtest::TempProgramFolder folder;
        const QString archive = writeTwoDayEvent(folder, true);
        const auto every = Certificates::assess(Certificates::readEvent(1), archive, {});
        const auto hours = Certificates::assess(Certificates::readEvent(1), archive, {Certificates::Rule::Hours, 90});
        const auto whyOf = [](const Certificates::Assessment &a, const QString &name) {
            for (const Certificates::Person &p : a.people)
                if (p.booking.cliente == name)
                    return p.why;
            return QString();
        };
        QCOMPARE(whyOf(every, kOneDay), QStringLiteral("assente il 13/03/2026"));
        QCOMPARE(whyOf(hours, QStringLiteral("Rossi Mario")), QStringLiteral("presente 2:00 ore su 8:00 (25%)"));
        QCOMPARE(hours.eventSeconds, std::optional<qint64>(8 * 3600));
    }

    void fieldsAreFilled()
    {
        Certificates::Template tpl;
        tpl.titolo = QStringLiteral("Attestato {Titolo}");
        tpl.testo = QStringLiteral("{Cliente} dal {DataInizio} al {DataFine}\n"
                                   "giorni {Giorni}\n"
                                   "ore {Ore}\n"
                                   "relatori {Relatori}\n"
                                   "sede {Sede} {Sconosciuto}");
        tpl.luogo = QStringLiteral("Torino");
        EventInfo event;
        event.number = 7;
        event.titolo = QStringLiteral("Corso {Ore}"); // a value holding a field's name stays as it is
        event.dataInizio = QStringLiteral("12/03/2026");
        event.sede = QStringLiteral("Aula 3");
        const auto f = Certificates::fill(tpl, event,
                                          person(QStringLiteral("Rossi Mario"), 12, {QDate(2026, 3, 12)}, std::nullopt),
                                          QDate(2026, 3, 20));
        QCOMPARE(f.titolo, QStringLiteral("Attestato Corso {Ore}"));
        // No end date: the event ends the day it starts; lines with an empty
        // field (hours not known, no speakers) are left out.
        QCOMPARE(f.lines, (QStringList{QStringLiteral("Rossi Mario dal 12/03/2026 al 12/03/2026"),
                                       QStringLiteral("giorni 12/03/2026"),
                                       QStringLiteral("sede Aula 3 {Sconosciuto}")}));
        QCOMPARE(f.numero, QStringLiteral("N. 7/12"));
        QCOMPARE(f.rilascio, QStringLiteral("Torino, 20/03/2026"));
    }

    void templateTextRoundTrips()
    {
        Certificates::Template tpl = Certificates::Template::standard();
        tpl.testo = QStringLiteral("riga uno\nC:\\cartella\\n non \u00E8 un a capo\n\u00ABfine\u00BB");
        tpl.firmatario = QStringLiteral("Dott.ssa Bruni = presidente");
        tpl.logo = QStringLiteral("Attestato_Logo.png");
        QCOMPARE(Certificates::Template::fromText(tpl.toText()), tpl);

        // Damaged or hostile files: unknown keys ignored, missing keys
        // standard, pictures only by bare name.
        const auto read = Certificates::Template::fromText(
            "Titolo=Mio titolo\r\nnonsense\r\nLogo=../../etc/passwd\r\nFirma=/tmp/x.png\r\nAltro=1\r\n");
        QCOMPARE(read.titolo, QStringLiteral("Mio titolo"));
        QCOMPARE(read.testo, Certificates::Template::standard().testo);
        QVERIFY(read.logo.isEmpty());
        QVERIFY(read.firma.isEmpty());
    }

    void templatesAreFoundByEventThenFolder()
    {
        qvtest::TempProgramFolder folder;
        QCOMPARE(Certificates::load(1), Certificates::Template::standard());
        Certificates::Template all = Certificates::Template::standard();
        all.titolo = QStringLiteral("Per tutti");
        QVERIFY(Certificates::save(all, Certificates::folderTemplatePath()));
        QCOMPARE(Certificates::load(1).titolo, QStringLiteral("Per tutti"));
        Certificates::Template own = all;
        own.titolo = QStringLiteral("Solo il primo");
        QVERIFY(Certificates::save(own, Certificates::eventTemplatePath(1)));
        QCOMPARE(Certificates::load(1).titolo, QStringLiteral("Solo il primo"));
        QCOMPARE(Certificates::load(2).titolo, QStringLiteral("Per tutti"));
    }

    void fileNamesAreSafe_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("safe");
        QTest::newRow("plain") << "Rossi Mario" << "Rossi_Mario";
        QTest::newRow("accents") << "Nicol\u00F2 D'Amb\u00E9" << "Nicolo_D_Ambe";
        QTest::newRow("separators") << "../..\\a/b:c*?\"<>|" << "a_b_c";
        QTest::newRow("controls") << "\tA\x01" "B " << "A_B";
        QTest::newRow("nothing usable") << "???" << "Senza_nome";
        QTest::newRow("reserved") << "con" << "con_";
        QTest::newRow("long") << QString(200, QLatin1Char('x')) << QString(80, QLatin1Char('x'));
    }
    void fileNamesAreSafe()
    {
        QFETCH(QString, name);
        QFETCH(QString, safe);
        QCOMPARE(Certificates::safeName(name), safe);
    }

    void namesOfEachFileAreDistinct()
    {
        const QList<Certificates::Person> people{person(QStringLiteral("Rossi Mario"), 4, {}, {}),
                                                 person(QStringLiteral("ROSSI MARIO"), 9, {}, {}),
                                                 person(QStringLiteral("Bianchi Anna"), 2, {}, {})};
        QCOMPARE(Certificates::eachNames(5, people),
                 (QStringList{"Attestato_Evento_5_Rossi_Mario_4.pdf", "Attestato_Evento_5_ROSSI_MARIO_9.pdf",
                              "Attestato_Evento_5_Bianchi_Anna.pdf"}));
    }

    // One page a person chosen, each naming that person with the event's
    // title and both dates, and the certificate's number.
    void certificatesPdf()
    {
        if (!hasPdfToText())
            QSKIP("pdftotext is not installed");
        qvtest::TempProgramFolder folder;
        const QString archive = writeTwoDayEvent(folder);
        const EventInfo event = Certificates::readEvent(1);
        QImage logo(300, 100, QImage::Format_RGB32);
        logo.fill(Qt::darkGreen);
        QVERIFY(logo.save(folder.file(QStringLiteral("logo.png"))));
        Certificates::Template tpl = Certificates::Template::standard();
        tpl.logo = QStringLiteral("logo.png");
        const auto setting = CertificatePages::Setting::make(event, tpl, QDate(2026, 3, 14));
        QVERIFY(!setting.logo.isNull());
        const auto a = Certificates::assess(event, archive, {});
        const QString pdf = folder.file(Certificates::pdfName(1));
        QVERIFY(CertificatePages::writePdf(setting, CertificatePages::chosen(a.people), pdf));
        const QStringList pages = pdfPages(pdf);
        QCOMPARE(pages.size(), 4);
        QStringList expected = kBothDays;
        std::sort(expected.begin(), expected.end());
        for (int i = 0; i < 4; ++i) {
            const QString text = pages.at(i).simplified();
            QVERIFY2(text.contains(expected.at(i)), qPrintable(text));
            QVERIFY(text.contains(kTitle));
            QVERIFY(text.contains(QStringLiteral("dal 12/03/2026 al 13/03/2026")));
            QVERIFY(text.contains(QStringLiteral("ATTESTATO DI PARTECIPAZIONE")));
            QVERIFY(text.contains(QStringLiteral("Prof. Neri")));
            QVERIFY(text.contains(QStringLiteral("14/03/2026")));
            QVERIFY(!text.contains(QStringLiteral("{")));
        }
        QVERIFY(pages.at(0).contains(QStringLiteral("N. 1/2"))); // Bianchi Anna, the second record

        // One file a person, in the folder of its own.
        const QString each = folder.file(Certificates::folderName(1));
        QVERIFY(CertificatePages::writeEach(setting, CertificatePages::chosen(a.people), each));
        QCOMPARE(QDir(each).entryList(QDir::Files).size(), 4);
        const QStringList esposito = pdfPages(each + QStringLiteral("/Attestato_Evento_1_Esposito_Nicolo.pdf"));
        QCOMPARE(esposito.size(), 1);
        QVERIFY(esposito.first().contains(QStringLiteral("Esposito Nicol\u00F2")));
    }

    // The streamed writer replaces an old file only when whole.
    void aFailedPdfLeavesTheOldFile()
    {
        qvtest::TempProgramFolder folder;
        QString reason;
        QVERIFY(!CertificatePages::writePdf(CertificatePages::Setting{}, {person("A", 1, {}, {})},
                                            folder.file(QStringLiteral("nessuna/cartella.pdf")), &reason));
        QVERIFY(!reason.isEmpty());
        folder.write(QStringLiteral("vecchio.pdf"), "old");
        {
            PageOutput::PdfStream stream(folder.file(QStringLiteral("vecchio.pdf")), page::Document{});
            stream.add(page::Page{});
            // Dropped without finish(): nothing replaces the old file.
        }
        QCOMPARE(folder.read(QStringLiteral("vecchio.pdf")), QByteArray("old"));
    }

    // The signature sheet of a day lists every booking in name order.
    void signatureSheet()
    {
        qvtest::TempProgramFolder folder;
        const QString archive = writeTwoDayEvent(folder);
        const page::Document doc = CertificatePages::signatureSheet(Certificates::readEvent(1),
                                                                    Bookings::read(archive), QDate(2026, 3, 13));
        QCOMPARE(doc.pages.size(), 1);
        const page::Page &p = doc.pages.first();
        QStringList names;
        for (int r = 1; const page::TextBox *box = p.textBox(QStringLiteral("txtRiga%1_2").arg(r)); ++r)
            names.append(box->text);
        QCOMPARE(names, (QStringList{"Bianchi Anna", "Colombo Paolo", "Esposito Nicol\u00F2", "Ferrari Giulia",
                                     "Rossi Mario", "Verdi Luca"}));
        QCOMPARE(p.textBox(QStringLiteral("txtGiorno"))->text, QStringLiteral("Giorno: 13/03/2026"));
        QCOMPARE(p.textBox(QStringLiteral("txtPagina"))->text, QStringLiteral("Pagina 1 di 1"));
        QCOMPARE(Certificates::signaturePdfName(1, QDate(2026, 3, 13)),
                 QStringLiteral("Foglio_Firme_Evento_1_2026-03-13.pdf"));

        // Many bookings: every page says which of how many it is.
        const QList<Booking> many = Bookings::read(
            dayfixtures::writeBookings(folder, 2, dayfixtures::numberedGuests(CertificatePages::signatureRowsPerPage() * 2 + 1)));
        const page::Document long_ = CertificatePages::signatureSheet(Certificates::readEvent(1), many, QDate(2026, 3, 13));
        QCOMPARE(long_.pages.size(), 3);
        QCOMPARE(long_.pages.at(2).textBox(QStringLiteral("txtPagina"))->text, QStringLiteral("Pagina 3 di 3"));
    }

    // The window: rule, a choice by hand, and a text changed in the window
    // shows on the next PDF and is kept for the next printing.
    void windowChoosesAndKeepsTheText()
    {
        if (!hasPdfToText())
            QSKIP("pdftotext is not installed");
        qvtest::TempProgramFolder folder;
        qvtest::MessageRecorder messages;
        messages.answers = {false, false}; // do not open the PDFs
        const QString archive = writeTwoDayEvent(folder);
        TfrmAttestati window(Certificates::readEvent(1), archive, nullptr);
        QCOMPARE(window.lstPartecipanti->topLevelItemCount(), 6);
        window.optUnGiorno->click();
        QCOMPARE(window.lblConta->text(), QStringLiteral("5 attestati su 6 prenotati."));
        // Rossi Mario by hand: not this time.
        for (int i = 0; i < window.lstPartecipanti->topLevelItemCount(); ++i) {
            QTreeWidgetItem *item = window.lstPartecipanti->topLevelItem(i);
            if (item->text(1) == QLatin1String("Rossi Mario"))
                item->setCheckState(0, Qt::Unchecked);
        }
        QCOMPARE(window.lblConta->text(), QStringLiteral("4 attestati su 6 prenotati."));
        // The hand's choice outlasts a change of rule.
        window.optOgniGiorno->click();
        QCOMPARE(window.lblConta->text(), QStringLiteral("3 attestati su 6 prenotati."));

        window.txtTitoloAttestato->setText(QStringLiteral("CERTIFICATO DI FREQUENZA"));
        window.optSoloEvento->setChecked(true);
        window.cmdPDF->click();
        const QStringList pages = pdfPages(folder.file(Certificates::pdfName(1)));
        QCOMPARE(pages.size(), 3);
        for (const QString &page : pages) {
            QVERIFY(page.contains(QStringLiteral("CERTIFICATO DI FREQUENZA")));
            QVERIFY(!page.contains(QStringLiteral("Rossi Mario")));
        }
        QCOMPARE(messages.last().kind, MessageKind::Question);
        QCOMPARE(Certificates::load(1).titolo, QStringLiteral("CERTIFICATO DI FREQUENZA"));
        QCOMPARE(Certificates::load(2).titolo, Certificates::Template::standard().titolo);
    }

    // The event selection opens both windows on the event chosen; the
    // signature sheet on today.
    void eventSelectionOpensBothWindows()
    {
        qvtest::TempProgramFolder folder;
        writeTwoDayEvent(folder);
        Clock::setFixed(QDateTime(QDate(2026, 3, 13), QTime(8, 0)));
        createWindows();
        qvtest::MessageRecorder messages;
        TfrmMenuPrenotazioni *selection = windows().frmMenuPrenotazioni;
        selection->show();
        QVERIFY(!selection->imgAttestati->isEnabled());
        QVERIFY(!selection->imgFoglioFirme->isEnabled());
        selection->lblPosizione->setText("1");
        selection->txtTitolo->setText(kTitle);
        QVERIFY(selection->imgAttestati->isEnabled());
        int listed = 0;
        qvtest::whenModal([&](QWidget *dialog) {
            auto *window = qobject_cast<TfrmAttestati *>(dialog);
            QVERIFY(window);
            listed = window->lstPartecipanti->topLevelItemCount();
        });
        selection->imgAttestati->click();
        QCOMPARE(listed, 6);
        QDate day;
        qvtest::whenModal([&](QWidget *dialog) {
            auto *window = qobject_cast<TfrmFoglioFirme *>(dialog);
            QVERIFY(window);
            day = window->day();
            QCOMPARE(window->cboGiorno->count(), 2); // the event's two days, today among them
        });
        selection->imgFoglioFirme->click();
        QCOMPARE(day, QDate(2026, 3, 13));
        QVERIFY(messages.messages.isEmpty());
        Clock::setFixed({});
    }
};

QTEST_MAIN(TestCertificates)
#include "tst_certificates.moc"
