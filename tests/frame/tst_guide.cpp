#include "app/tfrmavvio.h"
#include "core/cp1252.h"
#include "events/tfrmregistro.h"
#include "frame/guide.h"
#include "frame/shortcuttable.h"
#include "frame/guidedocument.h"
#include "frame/windows.h"
#include "output/pdftext.h"
#include "reservations/tfrmmenuprenotazioni.h"
#include "support/testsupport.h"
#include "ui/widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QtTest>

using namespace qv;
using qvtest::MessageRecorder;
using qvtest::ShellRecorder;
using qvtest::TempProgramFolder;

Q_DECLARE_METATYPE(qv::GuideTopic)

namespace {

const QString kBreak = QStringLiteral("\r\n\r\n");

// Opens the guide that `action` shows and returns its title and text.
QPair<QString, QString> guideShownBy(const std::function<void()> &action)
{
    QPair<QString, QString> shown;
    qvtest::whenModal([&](QWidget *dialog) {
        auto *guide = qobject_cast<TfrmGuida *>(dialog);
        QVERIFY(guide);
        shown = {guide->lblTitolo->text(), guide->txtGuida->toPlainText()};
        QTest::mouseClick(guide->btnChiudi, Qt::LeftButton);
    });
    action();
    return shown;
}

QString plain(const QString &text)
{
    // A plain-text box shows CR LF as one line break.
    QString t = text;
    return t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

QString eventsParagraph(const QString &start)
{
    for (const QString &p : guideParagraphs(GuideTopic::Events))
        if (p.startsWith(start))
            return p;
    return {};
}

} // namespace

class TestGuide : public QObject
{
    Q_OBJECT
private slots:
    void topics_data()
    {
        QTest::addColumn<GuideTopic>("topic");
        QTest::addColumn<QString>("title");
        QTest::newRow("general") << GuideTopic::General << "Uno sguardo a Quorvane.";
        QTest::newRow("events") << GuideTopic::Events << "Applicazione Eventi Programmati.";
        QTest::newRow("participants") << GuideTopic::Participants << "Anagrafica Partecipanti.";
        QTest::newRow("reservations") << GuideTopic::Reservations << "Applicazione Posti Assegnati.";
        QTest::newRow("events export") << GuideTopic::EventsExport << "Esportazione archivio eventi in Microsoft Excel.";
        QTest::newRow("participants export")
            << GuideTopic::ParticipantsExport << "Esportazione archivio partecipanti in Microsoft Excel.";
        QTest::newRow("reservations export")
            << GuideTopic::ReservationsExport << "Esportazione archivio prenotazioni in Microsoft Excel.";
        QTest::newRow("seat map") << GuideTopic::SeatMap << "Mappa dei posti.";
        QTest::newRow("badges") << GuideTopic::Badges << "Cartellini con codice QR.";
        QTest::newRow("check-in") << GuideTopic::CheckIn << "Accoglienza partecipanti.";
        QTest::newRow("backups") << GuideTopic::Backups << "Copie di sicurezza.";
        QTest::newRow("certificates") << GuideTopic::Certificates << "Attestati di partecipazione e foglio firme.";
        QTest::newRow("statistics") << GuideTopic::Statistics << "Statistiche.";
    }
    void topics()
    {
        QFETCH(GuideTopic, topic);
        QFETCH(QString, title);
        QCOMPARE(guideTitle(topic), title);
        QVERIFY(guideTopics().contains(topic));
        const QStringList paragraphs = guideParagraphs(topic);
        QVERIFY(paragraphs.size() >= 3);
        QCOMPARE(guideText(topic), paragraphs.join(kBreak));
        // Written out, in Italian typography: no empty or padded paragraph,
        // accents as letters (è, not e'), every character printable in the PDF.
        static const QRegularExpression oldAccent(QStringLiteral("[aeiouAEIOU]' |[aeiouAEIOU]'$"));
        for (const QString &p : paragraphs) {
            QVERIFY2(p.size() > 80, qPrintable(p));
            QCOMPARE(p.trimmed(), p);
            QVERIFY(!p.contains(kBreak));
            QVERIFY2(!oldAccent.match(p).hasMatch(), qPrintable(p));
            const QString oneLine = QString(p).remove(QLatin1String("\r\n"));
            for (const QChar c : oneLine)
                QVERIFY2(cp1252::canEncode(c) && c.unicode() >= 32, qPrintable(p));
        }
    }

    // The general guide repeats the three application topics word for word.
    void generalRepeatsTheApplications()
    {
        const QStringList general = guideParagraphs(GuideTopic::General);
        const QStringList repeated = guideParagraphs(GuideTopic::Participants) + guideParagraphs(GuideTopic::Events)
                                     + guideParagraphs(GuideTopic::Reservations);
        QCOMPARE(general.mid(1, repeated.size()), repeated);
        const QString after = general.mid(1 + repeated.size()).join(kBreak);
        QVERIFY(after.contains("rete locale"));
        QVERIFY(after.contains("Eventi.pro.lock"));
        QVERIFY(after.contains("modificato da un'altra postazione") || after.contains("un'altra postazione ha modificato"));
        QVERIFY(after.contains("soltanto la lettura"));
        QVERIFY(after.contains("chiavetta USB"));
        QVERIFY(after.contains("copia di sicurezza"));
        QVERIFY(after.contains("cartolinavespa, da digitare senza virgolette"));
        // Where the backups are, how many are kept, how to restore one.
        QVERIFY(after.contains("nella cartella Backup della cartella del programma"));
        QVERIFY(after.contains("Si conservano le 14 copie più recenti"));
        QVERIFY(after.contains("chiave Copie"));
        QVERIFY(after.contains("quorvane-cli restore seguito dal nome della copia"));
        QVERIFY(general.last().contains("aziende, associazioni ed enti"));
    }

    // The seat map has its topic, with its keys; the event selection and the
    // reservation card, which open it, tell of it in theirs.
    void seatMapTopic()
    {
        QVERIFY(guideTopics().indexOf(GuideTopic::SeatMap) == guideTopics().indexOf(GuideTopic::Reservations) + 1);
        const QString map = guideText(GuideTopic::SeatMap);
        for (const QString &words : {"Ctrl+M", "a5 e A5 sono lo stesso posto", "unins000.dll, sezione MappaPosti",
                                     "A4 orizzontali", "mai come liberi", "Aggiorna"})
            QVERIFY2(map.contains(words), qPrintable(words));
        const QString reservations = guideText(GuideTopic::Reservations);
        QVERIFY(reservations.contains("Mappa dei posti accanto ad Assegna posti"));
        QVERIFY(reservations.contains("oltre il numero totale dei posti"));
        QVERIFY(shortcutTable(GuideTopic::SeatMap).startsWith("Tasti rapidi:\r\nTab: entra nella mappa ed esce."));
        QVERIFY(shortcutTable(GuideTopic::SeatMap).contains("\r\nF5: aggiorna la mappa dei posti."));
    }

    // A paragraph shared by two topics reads the same in both.
    void sharedParagraphsReadTheSame()
    {
        const QStringList events = guideParagraphs(GuideTopic::Events);
        const QStringList participants = guideParagraphs(GuideTopic::Participants);
        int shared = 0;
        for (const QString &p : events)
            shared += participants.contains(p);
        QCOMPARE(shared, 2); // the two attachment paragraphs
        QCOMPARE(guideParagraphs(GuideTopic::EventsExport).size(), 3);
        QVERIFY(guideText(GuideTopic::ParticipantsExport).contains("Partecipanti.xls"));
        QVERIFY(guideText(GuideTopic::ReservationsExport).contains("Prenotazioni_Posti.xls"));
    }

    // What the events topic says Duplica keeps and clears is what the card does.
    void duplicateAsTheCardDoesIt_data()
    {
        QTest::addColumn<QStringList>("controls");
        QTest::addColumn<QString>("words");
        QTest::addColumn<bool>("cleared");
        QTest::newRow("title") << QStringList{"txtTitolo"} << "titolo" << false;
        QTest::newRow("kind") << QStringList{"txtTipologia"} << "tipologia" << false;
        QTest::newRow("subjects") << QStringList{"txtMaterie"} << "materie" << false;
        QTest::newRow("speakers") << QStringList{"txtRelatori"} << "relatori" << false;
        QTest::newRow("dates") << QStringList{"txtDataInizio", "txtOraInizio", "txtDataFine", "txtOraFine"}
                               << "le date e gli orari di inizio e di fine" << true;
        QTest::newRow("venue") << QStringList{"txtSede", "txtIndirizzo"} << "sede, indirizzo" << false;
        QTest::newRow("people") << QStringList{"txtOrganizzatore", "txtRecapitoOrg", "txtContatto", "txtRecapitoCon",
                                               "txtCollaboratori"}
                                << "organizzazione e contatti" << false;
        QTest::newRow("criteria") << QStringList{"txtCriteri"} << "criteri di ammissione" << false;
        QTest::newRow("payment") << QStringList{"txtPagamento", "txtQuota", "txtIntestatario", "txtIban", "txtBanca",
                                                "txtAnticipo"}
                                 << "dati di pagamento" << false;
        QTest::newRow("notes") << QStringList{"txtNote"} << "note" << false;
        QTest::newRow("deadline") << QStringList{"txtDataSca"} << "il termine di adesione" << true;
        QTest::newRow("seats") << QStringList{"txtPosti"} << "numero dei posti" << false;
        QTest::newRow("full") << QStringList{"chkCompleto"} << "la casella Al completo" << true;
        QTest::newRow("attachments") << QStringList{"lblFile01", "lblFile02", "lblFile03", "lblDesc01", "lblDesc02",
                                                    "lblDesc03"}
                                     << "i file allegati" << true;
    }
    void duplicateAsTheCardDoesIt()
    {
        QFETCH(QStringList, controls);
        QFETCH(QString, words);
        QFETCH(bool, cleared);

        const QString paragraph = eventsParagraph("Il pulsante Duplica");
        const qsizetype split = paragraph.indexOf("mentre svuota");
        QVERIFY(split > 0);
        QVERIFY2((cleared ? paragraph.mid(split) : paragraph.left(split)).contains(words), qPrintable(words));

        TempProgramFolder folder;
        MessageRecorder messages;
        TfrmRegistro card;
        for (QLineEdit *box : card.editBoxes())
            box->setText(box == card.txtPosti ? "120" : "Valore");
        card.chkCompleto->setChecked(true);
        for (QLabel *label : card.findChildren<QLabel *>(QRegularExpression("^lbl(File|Desc)0[123]$")))
            label->setText("allegato.pdf");
        card.cmdSalvaClick();
        QCOMPARE(card.lblPosizione->text(), QStringLiteral("1"));
        card.cmdDuplicaClick();
        QCOMPARE(card.lblPosizione->text(), QString());
        for (const QString &name : controls) {
            QObject *control = card.findChild<QObject *>(name);
            QVERIFY2(control, qPrintable(name));
            bool empty = false;
            if (auto *box = qobject_cast<QLineEdit *>(control))
                empty = box->text().isEmpty();
            else if (auto *label = qobject_cast<QLabel *>(control))
                empty = label->text().isEmpty();
            else if (auto *check = qobject_cast<QCheckBox *>(control))
                empty = !check->isChecked();
            QVERIFY2(empty == cleared, qPrintable(name));
        }
    }

    void window()
    {
        TfrmGuida guide;
        QCOMPARE(guide.windowTitle(), QStringLiteral(" Guida all'utilizzo del software"));
        QCOMPARE(guide.lblTitolo->text(), QStringLiteral("Argomento della guida."));
        QVERIFY(guide.txtGuida->isReadOnly());
        QCOMPARE(guide.txtGuida->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QVERIFY(guide.txtGuida->toPlainText().isEmpty());
        QCOMPARE(guide.lnkWeb->text(), QStringLiteral("Visualizza guida in formato PDF"));
        QCOMPARE(guide.btnChiudi->text(), QStringLiteral("Chiudi"));
        QCOMPARE(guide.minimumSize(), guide.maximumSize());
        QVERIFY(!(guide.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint)));
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(qAbs(guide.frameGeometry().center().x() - screen.center().x()) <= 1);
    }

    void showGuideFillsTheWindow()
    {
        const auto shown = guideShownBy([] { showGuide(nullptr, GuideTopic::Reservations); });
        QCOMPARE(shown.first, guideTitle(GuideTopic::Reservations));
        // The topic, then its "Tasti rapidi" table.
        QCOMPARE(shown.second, plain(guideText(GuideTopic::Reservations) + "\r\n\r\n" + shortcutTable(GuideTopic::Reservations)));
        QVERIFY(shown.second.contains("Tasti rapidi"));
    }

    // Escape and the window's close box leave the guide open: only "Chiudi" closes it.
    void closesOnlyThroughChiudi()
    {
        TfrmGuida guide;
        guide.show();
        QVERIFY(QTest::qWaitForWindowExposed(&guide));
        QTest::keyClick(&guide, Qt::Key_Escape);
        QVERIFY(guide.isVisible());
        guide.close();
        QVERIFY(guide.isVisible());
        QTest::mouseClick(guide.btnChiudi, Qt::LeftButton);
        QVERIFY(!guide.isVisible());
    }

    void pdfLinkOpensTheGuideBesideTheProgram()
    {
        TempProgramFolder folder; // no Guida.pdf in it: still handed over, nothing shown
        MessageRecorder messages;
        ShellRecorder shell;
        TfrmGuida guide;
        guide.show();
        const QString expected = '"' + folder.path() + "Guida.pdf\"";

        QTest::mousePress(guide.lnkWeb, Qt::LeftButton);
        QVERIFY(guide.lnkWeb->styleSheet().contains("#FF8C00"));
        QVERIFY(shell.commands.isEmpty());
        QTest::mouseRelease(guide.lnkWeb, Qt::LeftButton);
        QVERIFY(guide.lnkWeb->styleSheet().contains("#00008B"));
        QCOMPARE(shell.commands, QStringList{expected});

        QTest::mousePress(guide.imgPDF, Qt::LeftButton);
        QVERIFY(guide.lnkWeb->styleSheet().contains("#FF8C00"));
        QTest::mouseRelease(guide.imgPDF, Qt::LeftButton);
        QVERIFY(guide.lnkWeb->styleSheet().contains("#00008B"));
        QCOMPARE(shell.commands, (QStringList{expected, expected}));
        QCOMPARE(messages.count(), 0);
        QVERIFY(guide.isVisible());
    }

    // Each place opens its own topic; the event selection and the reservation
    // card share one.
    void eachPlaceOpensItsTopic()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        {
            TfrmAvvio menu;
            QCOMPARE(guideShownBy([&] { QTest::mouseClick(menu.imgGuida, Qt::LeftButton); }).first,
                     QStringLiteral("Uno sguardo a Quorvane."));
        }
        {
            TfrmRegistro card;
            QCOMPARE(guideShownBy([&] { QTest::mouseClick(card.cmdGuida, Qt::LeftButton); }).first,
                     QStringLiteral("Applicazione Eventi Programmati."));
        }
        {
            TfrmMenuPrenotazioni selection;
            const auto shown = guideShownBy([&] { QTest::mouseClick(selection.imgGuida, Qt::LeftButton); });
            QCOMPARE(shown.first, QStringLiteral("Applicazione Posti Assegnati."));
            QVERIFY(shown.second.startsWith(plain(guideText(GuideTopic::Reservations))));
        }
    }

    // The PDF guide as built: title page, contents with the right page numbers,
    // one section per topic, numbered pages, lines that fit the page.
    void pdfDocument()
    {
        const page::Document document = GuideDocument::build();
        QVERIFY(document.pages.size() > guideTopics().size() + 2);
        QCOMPARE(document.setup.size, QPageSize::A4);
        const double width = document.setup.printableSize().width();
        const int count = int(document.pages.size());

        auto texts = [&](int page) {
            QStringList all;
            for (const page::TextBox *box : document.pages.at(page).textBoxes())
                all << box->text;
            return all;
        };
        QVERIFY(texts(0).contains("Quorvane"));
        QVERIFY(texts(0).contains("Guida all'utilizzo del software"));
        const QStringList contents = texts(1);
        for (const GuideTopic topic : guideTopics()) {
            const qsizetype at = contents.indexOf(guideTitle(topic));
            QVERIFY(at >= 0);
            const int number = contents.at(at + 1).toInt();
            QVERIFY(number >= 3 && number <= count);
            QCOMPARE(document.pages.at(number - 1).textBox("titSezione")->text, guideTitle(topic));
        }
        for (int i = 1; i < count; ++i) {
            QCOMPARE(document.pages.at(i).textBox("txtPagina")->text,
                     QStringLiteral("Pagina %1 di %2").arg(i + 1).arg(count));
            for (const page::TextBox *box : document.pages.at(i).textBoxes())
                for (const QString &line : box->text.split('\n'))
                    QVERIFY2(page::textWidth(line, box->font) <= box->rect.width() + 0.01, qPrintable(line));
        }
        // Every word of every topic is on the pages, in order.
        QString all;
        for (int i = 2; i < count; ++i)
            for (const page::TextBox *box : document.pages.at(i).textBoxes())
                if (box->name == QLatin1String("txtParagrafo"))
                    all += box->text + ' ';
        const QString words = all.simplified();
        qsizetype from = 0;
        for (const GuideTopic topic : guideTopics()) {
            const QString body = QString(guideText(topic)).replace(kBreak, " ").replace("\r\n", " ").simplified();
            const qsizetype at = words.indexOf(body, from);
            QVERIFY2(at >= 0, qPrintable(guideTitle(topic)));
            from = at + body.size();
        }
    }

    void wrapping_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("width");
        QTest::addColumn<int>("lines");
        QTest::newRow("fits") << "Una riga breve" << 100.0 << 1;
        QTest::newRow("own breaks") << "Prima\r\nSeconda\nTerza" << 100.0 << 3;
        QTest::newRow("long word") << QString(200, 'W') << 30.0 << -1;
        QTest::newRow("empty") << "" << 50.0 << 1;
    }
    void wrapping()
    {
        QFETCH(QString, text);
        QFETCH(double, width);
        QFETCH(int, lines);
        const QFont font = page::font("Arial", 11);
        const QStringList wrapped = page::wrapText(text, font, width);
        if (lines > 0)
            QCOMPARE(wrapped.size(), lines);
        else
            QVERIFY(wrapped.size() > 1);
        for (const QString &line : wrapped)
            QVERIFY(page::textWidth(line, font) <= width);
        QCOMPARE(wrapped.join("").remove(' '), QString(text).remove(' ').remove('\r').remove('\n'));
    }

    // The file the build put beside the executable, read back by two readers.
    void builtGuideInTheProgramFolder()
    {
        QFile file(QStringLiteral(QV_GUIDE_PDF));
        QVERIFY2(file.open(QIODevice::ReadOnly), QV_GUIDE_PDF);
        const qvtest::PdfContent pdf = qvtest::readPdf(file.readAll());
        QVERIFY(pdf.valid);
        QCOMPARE(pdf.title, GuideDocument::kTitle);
        QString all;
        for (int i = 0; i < pdf.pageTexts.size(); ++i)
            all += pdf.pageText(i) + '\n';
        for (const GuideTopic topic : guideTopics())
            QVERIFY2(all.contains(guideTitle(topic)), qPrintable(guideTitle(topic)));
        QVERIFY(all.contains("cartolinavespa"));
        QVERIFY(all.contains("2024-05-01_093000"));

        // An independent reader, where the machine has one.
        const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
        if (pdftotext.isEmpty())
            return;
        QProcess reader;
        reader.start(pdftotext, {QStringLiteral(QV_GUIDE_PDF), "-"});
        QVERIFY(reader.waitForFinished(30000));
        const QString text = QString::fromUtf8(reader.readAllStandardOutput());
        for (const GuideTopic topic : guideTopics())
            QVERIFY2(text.contains(guideTitle(topic)), qPrintable(guideTitle(topic)));
        QVERIFY(text.contains("cartolinavespa"));
    }
};

QTEST_MAIN(TestGuide)
#include "tst_guide.moc"
