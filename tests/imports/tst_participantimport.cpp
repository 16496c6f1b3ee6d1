// The participant import the card's window and the command line share.
#include "archive/records.h"
#include "archive/tarchivio.h"
#include "core/text.h"
#include "imports/participantimport.h"
#include "output/exportformats.h"
#include "output/fixtures.h"
#include "output/spreadsheetdoc.h"
#include "support/testsupport.h"

#include <QtTest>

using namespace qv;
using namespace qv::imports;

namespace {

QString u(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

QList<TSchedaPartecipante> cardsOf(const QString &path)
{
    QList<TSchedaPartecipante> cards;
    const QByteArray bytes = qvtest::readFile(path);
    const int size = TSchedaPartecipante::layout().size();
    for (qsizetype at = 0; at + size <= bytes.size(); at += size) {
        TSchedaPartecipante card;
        card.setBytes(bytes.mid(at, size));
        cards.append(card);
    }
    return cards;
}

QByteArray card(const QString &name, const QString &fiscalCode = {}, const QString &birth = {})
{
    TSchedaPartecipante c;
    c.setText("Cliente", name);
    c.setText("CodFisc", fiscalCode);
    c.setText("DataNasc", birth);
    c.setYesNo("Ricontatta", false);
    return c.bytes();
}

QString describe(const ColumnTarget &target)
{
    return target.kind == ColumnTarget::Kind::Field ? TSchedaPartecipante::layout().field(target.field).name
                                                    : targetLabel(target);
}

} // namespace

class TestParticipantImport : public QObject
{
    Q_OBJECT
private slots:
    void headingsFindTheirFields_data()
    {
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QString>("target");
        const QList<std::pair<const char *, const char *>> cases{
            {"Nome", "Nome"},           {"Cognome", "Cognome"},         {"Cognome e nome", "Cliente"},
            {"E-mail", "Email"},        {"EMAIL", "Email"},             {"Cellulare", "TelCel"},
            {"Telefono", "TelCasa"},    {"Codice fiscale", "CodFisc"},  {"Partita IVA", "PartitaIva"},
            {"Indirizzo", "IndirizzoRes"}, {"CAP", "CapRes"},           {"Città", "ComuneRes"},
            {"citta", "ComuneRes"},     {"Comune", "ComuneRes"},        {"Provincia", "ProvRes"},
            {"Note", "Note"},           {"CodFisc", "CodFisc"},         {"Desc03", "Desc03"},
            {" Data di nascita: ", "DataNasc"}, {"Tel. ufficio", "TelUff"}, {"Da ricontattare", "Ricontatta"},
            {"Record", "(non importare)"}, {"", "(non importare)"},     {"Colore", "(non importare)"},
            // Address books and web forms.
            {"First Name", "Nome"},     {"Last Name", "Cognome"},       {"Given Name", "Nome"},
            {"Family Name", "Cognome"}, {"E-mail Address", "Email"},    {"E-mail 1 - Value", "Email"},
            {"Primary Email", "Email"}, {"Mobile Phone", "TelCel"},     {"Mobile Number", "TelCel"},
            {"Home Phone", "TelCasa"},  {"Business Phone", "TelUff"},   {"Work Phone", "TelUff"},
            {"Home Street", "IndirizzoRes"}, {"Home City", "ComuneRes"}, {"Home Postal Code", "CapRes"},
            {"Birthday", "DataNasc"},   {"Notes", "Note"},              {"Nome e cognome", "Cliente"},
            {"Prov. di residenza", "ProvRes"}, {"Prov. di nascita", "ProvNasc"},
            {"Phone 1 - Value", "(non importare)"},
        };
        for (const auto &[heading, target] : cases)
            QTest::newRow(heading) << u(heading) << QString(target);
    }
    void headingsFindTheirFields()
    {
        QFETCH(QString, heading);
        QFETCH(QString, target);
        QCOMPARE(describe(targetOfHeading(heading)), target);
    }

    void typingRulesOfTheCard_data()
    {
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("stored");
        QTest::newRow("fiscal code") << "Codice fiscale" << "  rssmra70a01h501u " << "CodFisc" << "RSSMRA70A01H501U";
        QTest::newRow("IBAN") << "IBAN" << "it60x0542811101000000123456" << "Iban" << "IT60X0542811101000000123456";
        QTest::newRow("province") << "Provincia" << " rm" << "ProvRes" << "RM";
        QTest::newRow("sex") << "Sesso" << "f" << "Sesso" << "F";
        QTest::newRow("postal code") << "CAP" << "i-001" << "CapRes" << "I-001";
        QTest::newRow("VAT number") << "Partita IVA" << "IT 012-345 678 90" << "PartitaIva" << "01234567890";
        QTest::newRow("card number") << "Carta di credito" << "4111 1111 1111 1111" << "Carta" << "4111111111111111";
        QTest::newRow("composed") << "Note" << u("  e\u0301 à ") << "Note" << u("é à");
        QTest::newRow("case kept elsewhere") << "E-mail" << " Mario@Esempio.it " << "Email" << "Mario@Esempio.it";
        QTest::newRow("upper case is ASCII only") << "Codice fiscale" << u("àbc") << "CodFisc" << u("àBC");
    }
    void typingRulesOfTheCard()
    {
        QFETCH(QString, heading);
        QFETCH(QString, value);
        QFETCH(QString, field);
        QFETCH(QString, stored);
        qvtest::TempProgramFolder folder;
        folder.write("in.csv", ("Cliente;" + heading + "\nRossi;" + value + "\n").toUtf8());
        ParticipantImport session(folder.file("in.csv"));
        const ImportedRow row = session.convert(session.preview().first());
        QVERIFY(row.problems.isEmpty());
        QCOMPARE(row.card.text(field), stored);
    }

    // Birth dates in the forms people and programs write them are stored
    // as the card writes them; anything else as typed, and said.
    void birthDatesInTheCommonForms_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("said");
        QTest::newRow("ISO") << "1975-03-05" << "05/03/1975" << false;
        QTest::newRow("ISO with a time") << "1975-03-05T00:00:00" << "05/03/1975" << false;
        QTest::newRow("compact") << "19750305" << "05/03/1975" << false;
        QTest::newRow("short") << "5/3/75" << "05/03/1975" << false;
        QTest::newRow("dots") << "05.03.1975" << "05/03/1975" << false;
        QTest::newRow("dashes") << "5-3-1975" << "05/03/1975" << false;
        QTest::newRow("two digits, this century") << "1/1/25" << "01/01/2025" << false;
        QTest::newRow("two digits, would be future") << "1/12/25" << "01/12/1925" << false;
        QTest::newRow("no such day") << "31/02/1975" << "31/02/1975" << true;
        QTest::newRow("free text") << "circa 1950" << "circa 1950" << true;
        QTest::newRow("no year") << "--03-05" << "--03-05" << true;
    }
    void birthDatesInTheCommonForms()
    {
        QFETCH(QString, value);
        QFETCH(QString, stored);
        QFETCH(bool, said);
        qvtest::FixedClock clock(QDateTime(QDate(2025, 6, 1), QTime(12, 0)));
        qvtest::TempProgramFolder folder;
        folder.write("in.csv", ("Cliente;Data di nascita\nRossi;" + value + "\n").toUtf8());
        ParticipantImport session(folder.file("in.csv"));
        const ImportedRow row = session.convert(session.preview().first());
        QCOMPARE(row.card.text("DataNasc"), stored);
        QCOMPARE(row.problems.size(), said ? 1 : 0);
        if (said) {
            QVERIFY(row.problems.first().notice);
            QVERIFY2(row.problems.first().text.contains("registrata come scritta"), qPrintable(row.problems.first().text));
            // Said, but it holds nothing up.
            const ImportAnalysis &a = session.analyse();
            QCOMPARE(a.problems, 0);
            QCOMPARE(a.notices, 1);
        }
    }

    // A card stored before with its birth date typed another way is still
    // the same person.
    void birthDatesComparedAsDates()
    {
        qvtest::TempProgramFolder folder;
        folder.write("Partecipanti.pro", card("Rossi Mario", QString(), "1975-03-05"));
        folder.write("in.csv", "Cliente;Data di nascita\nRossi Mario;5/3/1975\n");
        ParticipantImport session(folder.file("in.csv"));
        QCOMPARE(session.analyse().duplicates, 1);
    }

    // Address books' own layouts: a desktop mail client's (English
    // headings, phones by kind), a web mail's (phones labelled in a column
    // beside them, the whole name given name first as well), a web form's.
    void addressBookExports_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QStringList>("fields"); // "Field=value" of the card
        QTest::newRow("desktop client")
            << QByteArray("\"First Name\",\"Middle Name\",\"Last Name\",\"E-mail Address\",\"E-mail 2 Address\","
                          "\"Home Phone\",\"Business Phone\",\"Mobile Phone\",\"Home Street\",\"Home City\","
                          "\"Home Postal Code\",\"Birthday\",\"Notes\"\r\n"
                          "\"Mario\",\"\",\"Rossi\",\"m@r.it\",\"\",\"06 1\",\"02 2\",\"333 3\",\"Via Po 1\",\"Roma\","
                          "\"00186\",\"5/3/1975\",\"socio\"\r\n")
            << QStringList{"Cliente=Rossi Mario", "Email=m@r.it", "TelCasa=06 1", "TelUff=02 2", "TelCel=333 3",
                           "IndirizzoRes=Via Po 1", "ComuneRes=Roma", "CapRes=00186", "DataNasc=05/03/1975",
                           "Note=socio"};
        QTest::newRow("web mail")
            << QByteArray("Name,Given Name,Family Name,Birthday,E-mail 1 - Type,E-mail 1 - Value,Phone 1 - Type,"
                          "Phone 1 - Value,Phone 2 - Type,Phone 2 - Value,Phone 3 - Type,Phone 3 - Value\r\n"
                          "Anna Bianchi,Anna,Bianchi,1980-02-29,* Home,a@b.it,Mobile,333 1,Work,02 9,Home,06 5\r\n")
            << QStringList{"Cliente=Bianchi Anna", "DataNasc=29/02/1980", "Email=a@b.it", "TelCel=333 1",
                           "TelUff=02 9", "TelCasa=06 5"};
        QTest::newRow("web form") << QByteArray("Nome e cognome;Email;Telefono\r\nLuca Verdi;l@v.it;06 7\r\n")
                                  << QStringList{"Cliente=Luca Verdi", "Email=l@v.it", "TelCasa=06 7"};
    }
    void addressBookExports()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QStringList, fields);
        qvtest::TempProgramFolder folder;
        folder.write("contatti.csv", csv);
        ParticipantImport session(folder.file("contatti.csv"));
        QVERIFY2(session.mappingProblems().isEmpty(), qPrintable(session.mappingProblems().join(' ')));
        const ImportedRow row = session.convert(session.preview().first());
        QVERIFY2(row.problems.isEmpty(), qPrintable(row.problems.value(0).text));
        for (const QString &f : fields)
            QCOMPARE(row.card.text(f.section('=', 0, 0)), f.section('=', 1));
    }

    // What a vCard holds beyond the card's boxes is named, with how many
    // rows hold it, and can be sent to the notes.
    void vcardValuesWithoutABoxAreNamed()
    {
        qvtest::TempProgramFolder folder;
        folder.write("c.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Rossi;Mario;;;\r\nTEL;TYPE=CELL:333 1\r\n"
                              "TEL;TYPE=CELL:333 2\r\nORG:Acme\r\nEND:VCARD\r\n");
        ParticipantImport session(folder.file("c.vcf"));
        session.analyse();
        const QString ignored = session.ignoredColumns().join('\n');
        QVERIFY2(ignored.contains("\"Altri telefoni\" non viene importata: non corrisponde a nessun campo della scheda "
                                  "(ha un valore in una riga)."),
                 qPrintable(ignored));
        QVERIFY2(ignored.contains("\"Organizzazione\""), qPrintable(ignored));
        session.setTarget(int(session.heading().indexOf("Altri telefoni")), ColumnTarget::toField("Note"));
        QCOMPARE(session.convert(session.preview().first()).card.text("Note"), "333 2 (cellulare)");
    }

    // A semicolon list with "Nome" and "Cognome" columns, three of its
    // rows duplicates: of a card by fiscal code, of a card by name and
    // birth date, of an earlier row.
    void thousandRowsThreeDuplicates()
    {
        qvtest::TempProgramFolder folder;
        const QString archive = TSchedaPartecipante::archivePath();
        QFile file(archive);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(card("Verdi Anna", "VRDNNA80A41H501X") + card(u("Neri Niccolò"), QString(), "1/2/1990"));
        file.close();
        QByteArray csv = "Nome;Cognome;Codice fiscale;Data di nascita;E-mail\r\n";
        for (int i = 1; i <= 1000; ++i) {
            QString given = QStringLiteral("Nome%1").arg(i), surname = QStringLiteral("Cognome%1").arg(i);
            QString code = QStringLiteral("rssmra70a01h%1u").arg(i, 3, 10, QLatin1Char('0')).left(16);
            QString birth = "01/01/1970";
            if (i == 10)
                code = "vrdnna80a41h501x"; // card 1
            if (i == 20)
                given = u("Niccolò"), surname = "Neri", code.clear(), birth = "01/02/1990"; // card 2
            if (i == 30)
                given = "Nome5", surname = "Cognome5", code.clear(); // row 5
            csv += QStringLiteral("%1;%2;%3;%4;p%5@esempio.it\r\n").arg(given, surname, code, birth).arg(i).toUtf8();
        }
        folder.write("lista.csv", csv);

        ParticipantImport session(folder.file("lista.csv"));
        QVERIFY(session.mappingProblems().isEmpty());
        QVERIFY(session.ignoredColumns().isEmpty());
        const ImportAnalysis &a = session.analyse();
        QCOMPARE(a.rows, 1000);
        QCOMPARE(a.problems, 0);
        QCOMPARE(a.importable, 1000);
        QCOMPARE(a.duplicates, 3);
        QCOMPARE(a.listedDuplicates.size(), 3);
        QCOMPARE(a.listedDuplicates.at(0).text(), "doppione della scheda 1 in archivio (stesso codice fiscale)");
        QCOMPARE(a.listedDuplicates.at(0).line, 11);
        QCOMPARE(a.listedDuplicates.at(1).card, 2);
        QCOMPARE(a.listedDuplicates.at(2).text(),
                 "doppione della riga 6 del file (stessi cognome e nome e data di nascita)");
        QCOMPARE(cardsOf(archive).size(), 2); // nothing written yet

        const ImportResult result = session.commit(false);
        QCOMPARE(result.added, 997);
        QCOMPARE(result.first, 3);
        QCOMPARE(result.last, 999);
        QCOMPARE(result.duplicatesLeftOut, 3);
        const QList<TSchedaPartecipante> cards = cardsOf(archive);
        QCOMPARE(cards.size(), 999);
        QCOMPARE(cards.at(2).text("Cliente"), "Cognome1 Nome1");
        QCOMPARE(cards.at(2).text("CodFisc"), "RSSMRA70A01H001U");
        QCOMPARE(cards.at(2).text("Email"), "p1@esempio.it");
        QCOMPARE(cards.at(2).text("Ricontatta"), u("No"));
        QCOMPARE(cards.last().text("Cliente"), "Cognome1000 Nome1000");
        for (const TSchedaPartecipante &c : cards)
            QCOMPARE(c.text("CodFisc"), asciiUpper(c.text("CodFisc")));
    }

    void problemsPerRowBeforeAnythingIsWritten()
    {
        qvtest::TempProgramFolder folder;
        folder.write("in.csv", "Cognome;Nome;Sesso;Ricontatta\n"
                               "Rossi;Mario;Maschio;si\n"
                               ";;F;no\n"
                               "Bianchi;Anna;F;forse\n"
                               "Verdi;Luca\n"
                               + QByteArray(60, 'x') + ";Lungo;M;\n");
        ParticipantImport session(folder.file("in.csv"));
        const ImportAnalysis &a = session.analyse();
        QStringList problems;
        for (const RowProblem &p : a.listedProblems)
            problems.append(QStringLiteral("%1%2 %3").arg(p.line).arg(p.rowSkipped ? "!" : "").arg(p.text));
        QCOMPARE(problems, (QStringList{
                               "2 colonna 3 (Sesso): testo di 7 caratteri, il campo ne contiene al massimo 1 (viene "
                               "accorciato).",
                               "3! colonne 1 e 2 (Cliente): manca il cognome e nome (riga saltata).",
                               u("4! colonna 4 (Ricontatta): \"forse\" non è né Sì né No (riga saltata)."),
                               "5 2 valori invece di 4 (importata con i valori presenti).",
                               "6 colonne 1 e 2 (Cliente): testo di 66 caratteri, il campo ne contiene al massimo "
                               "50 (viene accorciato).",
                           }));
        QCOMPARE(a.rows, 5);
        QCOMPARE(a.skipped, 2);
        QCOMPARE(a.importable, 3);
        QCOMPARE(a.rowsWithProblems, 5);
        QVERIFY(!QFile::exists(TSchedaPartecipante::archivePath()));

        const ImportResult result = session.commit(false);
        QCOMPARE(result.added, 3);
        const QList<TSchedaPartecipante> cards = cardsOf(TSchedaPartecipante::archivePath());
        QCOMPARE(cards.at(0).text("Cliente"), "Rossi Mario");
        QCOMPARE(cards.at(0).text("Sesso"), "M");
        QCOMPARE(cards.at(0).yesNo("Ricontatta"), true);
        QCOMPARE(cards.at(1).text("Cliente"), "Verdi Luca");
        QCOMPARE(cards.at(2).text("Cliente").size(), 50);
    }

    void mappingIsTheUsersToChange()
    {
        qvtest::TempProgramFolder folder;
        folder.write("in.csv", "Nominativo;Telefono;Altro telefono;Colore\nRossi;06 1;333 2;blu\n");
        ParticipantImport session(folder.file("in.csv"));
        QCOMPARE(session.heading(), (QStringList{"Nominativo", "Telefono", "Altro telefono", "Colore"}));
        QCOMPARE(describe(session.mapping().at(2)), "(non importare)");
        QCOMPARE(session.ignoredColumns(),
                 (QStringList{"la colonna 3 \"Altro telefono\" non viene importata: non corrisponde a nessun campo "
                              "della scheda.",
                              "la colonna 4 \"Colore\" non viene importata: non corrisponde a nessun campo della "
                              "scheda."}));
        session.setTarget(2, ColumnTarget::toField("TelCasa"));
        QCOMPARE(session.mappingProblems(),
                 QStringList{"il campo TelCasa compare due volte (colonne 2 e 3): indicare quale importare."});
        session.setTarget(2, ColumnTarget::toField("TelCel"));
        session.setTarget(0, ColumnTarget::ignored());
        QCOMPARE(session.mappingProblems(),
                 QStringList{"manca la colonna Cliente (cognome e nome), o le colonne Cognome e Nome, senza la "
                             "quale nessuna scheda viene registrata."});
        session.setTarget(0, ColumnTarget::surname());
        QVERIFY(session.mappingProblems().isEmpty());
        QCOMPARE(session.ignoredColumns().size(), 1);
        const ImportedRow row = session.convert(session.preview().first());
        QCOMPARE(row.card.text("Cliente"), "Rossi");
        QCOMPARE(row.card.text("TelCasa"), "06 1");
        QCOMPARE(row.card.text("TelCel"), "333 2");
        // Every target can be chosen, and each has its words.
        QCOMPARE(targetChoices().size(), 4 + TSchedaPartecipante::layout().fieldCount());
        QCOMPARE(targetChoices().last().label, u("Telefono (secondo l'etichetta)"));
        QCOMPARE(targetChoices().at(3).label, "Cognome e nome");
    }

    // One append for all: a failure, a cancel or a file changed since the
    // analysis leaves the archive as it was.
    void allOrNothing_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::newRow("disk full part-way") << "disk";
        QTest::newRow("cancelled part-way") << "cancel";
    }
    void allOrNothing()
    {
        QFETCH(QString, failure);
        qvtest::TempProgramFolder folder;
        const QByteArray before = card("Esistente");
        folder.write("Partecipanti.pro", before);
        QByteArray csv = "Cliente\n";
        for (int i = 0; i < 2000; ++i)
            csv += "Persona " + QByteArray::number(i) + "\n";
        folder.write("in.csv", csv);
        ParticipantImport session(folder.file("in.csv"));
        session.analyse();
        int writes = 0;
        if (failure == "disk")
            TArchivio::setWriteHook([&](QFile &file, const char *data, qint64 size) -> qint64 {
                if (file.fileName().endsWith(".journal") || ++writes < 3)
                    return file.write(data, size);
                return -1;
            });
        int reports = 0;
        const ImportProgress progress = [&](qint64 done, qint64 total) {
            return failure != "cancel" || (done < total && ++reports < 3);
        };
        try {
            session.commit(false, progress);
            QFAIL("committed");
        } catch (const ArchiveError &) {
            QCOMPARE(failure, "disk");
        } catch (const ImportCancelled &) {
            QCOMPARE(failure, "cancel");
        }
        TArchivio::setWriteHook({});
        QCOMPARE(folder.read("Partecipanti.pro"), before);
        QVERIFY(!QFile::exists(TArchivio::journalPath(TSchedaPartecipante::archivePath())));
    }

    // What was analysed (and shown) is what is appended, whatever happens
    // to the file meanwhile; a changed mapping needs no new reading of it.
    void theRowsAnalysedAreTheRowsAppended()
    {
        qvtest::TempProgramFolder folder;
        folder.write("in.csv", "Cognome;Nome\nRossi;Mario\nBianchi;Anna\n");
        ParticipantImport session(folder.file("in.csv"));
        QCOMPARE(session.analyse().importable, 2);
        folder.write("in.csv", "Cognome;Nome\nVerdi;Luca\n");
        session.setTarget(1, ColumnTarget::ignored());
        QVERIFY(!session.analysis());
        QCOMPARE(session.analyse().importable, 2);
        QFile::remove(folder.file("in.csv"));
        const ImportResult result = session.commit(false);
        QCOMPARE(result.added, 2);
        const QList<TSchedaPartecipante> cards = cardsOf(TSchedaPartecipante::archivePath());
        QCOMPARE(cards.at(0).text("Cliente"), "Rossi");
        QCOMPARE(cards.at(1).text("Cliente"), "Bianchi");
    }

    void progressGoesUpToTheEnd()
    {
        qvtest::TempProgramFolder folder;
        QByteArray csv = "Cliente\n";
        for (int i = 0; i < 3000; ++i)
            csv += "Persona " + QByteArray::number(i) + "\n";
        folder.write("in.csv", csv);
        ParticipantImport session(folder.file("in.csv"));
        QList<qint64> seen;
        qint64 total = 0;
        const ImportProgress progress = [&](qint64 done, qint64 all) {
            seen.append(done);
            total = all;
            return true;
        };
        session.analyse(progress);
        QVERIFY(seen.size() >= 3);
        QVERIFY(std::is_sorted(seen.begin(), seen.end()));
        QCOMPARE(seen.last(), total);
        QCOMPARE(total, csv.size());
        seen.clear();
        QCOMPARE(session.commit(false, progress).added, 3000);
        QCOMPARE(seen.last(), total); // of the rows kept from the first reading
    }

    // What the exports write, the import reads back into an empty folder,
    // field for field: every field the export holds (the .vcf: those a
    // contact has), a town and its province each in its own.
    void ownExportsReadBack_data()
    {
        QTest::addColumn<int>("format");
        QTest::newRow("xlsx") << int(ExportFormat::Xlsx);
        QTest::newRow("csv") << int(ExportFormat::Csv);
        QTest::newRow("xls") << int(ExportFormat::Xls);
        QTest::newRow("vcf") << int(ExportFormat::Vcf);
    }
    void ownExportsReadBack()
    {
        QFETCH(int, format);
        qvtest::TempProgramFolder folder;
        QList<qvtest::Values> records{
            {{"Cliente", u("D'Angelo Niccolò")}, {"DataNasc", "07/08/1970"}, {"ComuneNasc", "Sansepolcro"},
             {"ProvNasc", "AR"}, {"Recapito", "Casa"}, {"IndirizzoRes", "Via Po, 3"},
             {"ComuneRes", u("Città di Castello")}, {"ProvRes", "PG"}, {"Estremi", "Bonifico"}, {"TelCasa", "0612345"},
             {"TelUff", "02 9"}, {"TelCel", "333 1"}, {"Fax", "06 2"}, {"Email", "n@esempio.it"},
             {"CodFisc", "DNGNCC70M07H501X"}, {"PartitaIva", "01234567890"}, {"Carta", "4111111111111111"},
             {"ScadeCarta", "12/27"}, {"Iban", "IT60X0542811101000000123456"}, {"Documento", "CI AB123"},
             {"Occupazione", "Medico"}, {"Civile", "Celibe"}, {"Titoli", "Dott."}, {"Prodotti", "Convegni"},
             {"Zona", "Centro"}, {"Questioni", "Nessuna"}, {"Note", "socio; \"storico\""}},
            {{"Cliente", "Rossi Mario"}, {"ProvRes", "RM"}, {"Note", "senza comune"}},
        };
        // The .xls cell "RM" alone cannot tell a province from a town.
        if (ExportFormat(format) == ExportFormat::Xls)
            records.removeLast();
        qvtest::writeRecords(folder.file("origine.pro"), qvtest::participantFields(), records);
        const QString file = folder.file("scambio." + formatSuffix(ExportFormat(format)));
        writeExport(ExportFormat(format), file, ExportLayouts::participants(),
                    archiveRows(ExportLayouts::participants(), folder.file("origine.pro")));
        ParticipantImport session(file);
        QVERIFY2(session.mappingProblems().isEmpty(), qPrintable(session.mappingProblems().join(' ')));
        QCOMPARE(session.analyse().problems, 0);
        QCOMPARE(session.commit(false).added, records.size());
        QStringList fields;
        if (ExportFormat(format) == ExportFormat::Vcf) {
            fields = {"Cliente", "DataNasc", "IndirizzoRes", "ComuneRes", "ProvRes", "TelCasa", "TelUff", "TelCel",
                      "Fax", "Email", "Note"};
        } else {
            for (const ExportColumn &column : ExportLayouts::participants().columns)
                for (const auto &[field, text] : column.cell.fieldsOf(QString()))
                    fields.append(TSchedaPartecipante::layout().field(field).name);
        }
        QVERIFY(fields.contains("ProvNasc") || ExportFormat(format) == ExportFormat::Vcf);
        const QList<TSchedaPartecipante> imported = cardsOf(TSchedaPartecipante::archivePath());
        const QList<TSchedaPartecipante> original = cardsOf(folder.file("origine.pro"));
        QCOMPARE(imported.size(), original.size());
        for (qsizetype i = 0; i < original.size(); ++i)
            for (const QString &field : std::as_const(fields))
                QCOMPARE(field + "=" + imported.at(i).text(field), field + "=" + original.at(i).text(field));
    }
};

QTEST_GUILESS_MAIN(TestParticipantImport)
#include "tst_participantimport.moc"
