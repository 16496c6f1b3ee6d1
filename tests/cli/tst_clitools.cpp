// import, password reset, validate and export, driven through the real tool.
#include "clirunner.h"

#include "archive/records.h"
#include "output/exportformats.h"
#include "output/exportlayout.h"
#include "password/password.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include <unistd.h>

using namespace clitest;

namespace {
const qv::ExportLayout &exportLayoutOf(const QString &fileName)
{
    for (const qv::ExportLayout *layout : {&qv::ExportLayouts::events(), &qv::ExportLayouts::participants()})
        if (layout->fileName == fileName)
            return *layout;
    return qv::ExportLayouts::reservations();
}
} // namespace

class TestCliTools : public QObject
{
    Q_OBJECT

    QString path(const QString &name) const { return m_dir->filePath(name); }
    QString archive() const { return path("Partecipanti.pro"); }
    Result run(QStringList args, const QByteArray &input = {}) const
    {
        return runCli(args << "--folder" << m_dir->path(), input, m_dir->path());
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void importAppendsAThousandAccentedNames()
    {
        const QByteArray existing = participant("Gi\xE0 Presente");
        writeFile(archive(), existing);
        const QStringList names{QStringLiteral("Niccolò Àlvaro"), QStringLiteral("Chloé D'Angelo"),
                                QStringLiteral("Perù Müller"), QStringLiteral("Ìsola Ñandú")};
        QByteArray csv = "Cliente,ComuneNasc,Email,Ricontatta\r\n";
        for (int i = 0; i < 1000; ++i)
            csv += QStringLiteral("%1 %2,Forlì,p%2@esempio.it,%3\r\n").arg(names[i % 4]).arg(i).arg(i % 2 ? "sì" : "No")
                       .toUtf8();
        writeFile(path("nuovi.csv"), csv);

        const Result r = run({"import", "participants", "nuovi.csv"});
        QCOMPARE(r.exit, 0);
        QVERIFY2(r.outText().contains("Importati 1000 partecipanti"), r.out);
        QVERIFY2(r.outText().contains("(record da 2 a 1001)"), r.out);
        const QByteArray file = readFile(archive());
        QCOMPARE(file.size(), 1001 * kParticipantSize);
        QCOMPARE(file.left(kParticipantSize), existing);
        for (int i = 0; i < 1000; ++i) {
            QCOMPARE(counted(file, i + 1, kCliente), QStringLiteral("%1 %2").arg(names[i % 4]).arg(i).toLatin1());
            QCOMPARE(counted(file, i + 1, kComuneNasc), QByteArray("Forl\xEC"));
            QCOMPARE(counted(file, i + 1, kEmail), QStringLiteral("p%1@esempio.it").arg(i).toLatin1());
            QCOMPARE(counted(file, i + 1, kRicontatta), QByteArray(i % 2 ? "S\xEC" : "No"));
        }
        QCOMPARE(run({"check", archive()}).exit, 0);
    }

    void importReadsWindows1252AndTrimsAsTheCard()
    {
        // Semicolons as an Italian spreadsheet saves them; a quoted value
        // with the separator in it; blanks around values; no yes/no column.
        writeFile(path("vecchi.csv"), "Cliente;Note\r\n\"Caf\xE8, Bar\";  \x80 5 \x96 saldo  \r\n  Rossi  Mario ;\r\n\r\n;\r\n");
        const Result r = run({"import", "participants", "vecchi.csv"});
        QCOMPARE(r.exit, 0);
        const QByteArray file = readFile(archive());
        QCOMPARE(file.size(), 2 * kParticipantSize);
        QCOMPARE(counted(file, 0, kCliente), QByteArray("Caf\xE8, Bar"));
        QCOMPARE(counted(file, 0, kNote), QByteArray("\x80 5 \x96 saldo"));
        QCOMPARE(counted(file, 1, kCliente), QByteArray("Rossi  Mario"));
        QCOMPARE(counted(file, 1, kRicontatta), QByteArray("No"));
    }

    void refusedValuesImportNothingAndNameTheLine_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QString>("problem");
        QTest::addColumn<int>("forced"); // records appended with --force
        QTest::newRow("too long") << QByteArray("Cliente,Sesso\nRossi,M\n" + QByteArray(51, 'x') + ",F\n")
                                  << "riga 3, colonna 1 (Cliente): testo di 51 caratteri, il campo ne contiene al massimo 50"
                                  << 2;
        QTest::newRow("too long after a line break") << QByteArray("Note,Sesso,Cliente\n\"a\nb\",MF,Rossi\n")
                                                     << "riga 2, colonna 2 (Sesso): testo di 2 caratteri" << 1;
        QTest::newRow("outside the code page") << QStringLiteral("Cliente\nRossi\nŁukasz\n").toUtf8()
                                               << "riga 3, colonna 1 (Cliente): il carattere \"Ł\" non è rappresentabile"
                                               << 2;
        QTest::newRow("control character") << QByteArray("Cliente\nRos\x01si\n")
                                           << "riga 2, colonna 1 (Cliente): carattere di controllo di codice 1" << 1;
        QTest::newRow("no name") << QByteArray("Cliente,Email\nRossi,r@x.it\n ,b@x.it\n")
                                 << "riga 3, colonna 1 (Cliente): manca il cognome e nome" << 1;
        QTest::newRow("yes/no word") << QByteArray("Cliente,Ricontatta\nRossi,forse\n")
                                     << "riga 2, colonna 2 (Ricontatta): \"forse\" non è né Sì né No" << 0;
        // A row with fewer or more values than the heading has what it has.
        QTest::newRow("fewer values") << QByteArray("Cliente,Email\nRossi\n") << "riga 2, 1 valori invece di 2" << 1;
        QTest::newRow("more values") << QByteArray("Cliente,Email\nRossi,r@x.it,Roma\n")
                                     << "riga 2, 3 valori invece di 2" << 1;
    }
    void refusedValuesImportNothingAndNameTheLine()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QString, problem);
        QFETCH(int, forced);
        writeFile(path("in.csv"), csv);
        const QByteArray before = participant("Esistente");
        writeFile(archive(), before);

        for (const QStringList options : {QStringList(), QStringList{"--dry-run"}}) {
            const Result r = run(QStringList{"import", "participants", "in.csv"} + options);
            QCOMPARE(r.exit, 1);
            QVERIFY2(r.errText().contains(problem), r.err);
            QVERIFY2(r.errText().contains("nessun partecipante importato"), r.err);
            QCOMPARE(readFile(archive()), before);
        }
        const Result r = run({"import", "participants", "in.csv", "--force"});
        QCOMPARE(r.exit, 0);
        QVERIFY2(r.errText().contains(problem), r.err);
        const QByteArray file = readFile(archive());
        QCOMPARE(file.size(), (1 + forced) * kParticipantSize);
        for (int i = 1; i <= forced; ++i)
            QVERIFY(quint8(file.at(i * kParticipantSize)) <= 50);
        QCOMPARE(run({"check", archive()}).exit, 0);
    }

    void dryRunWritesNothing()
    {
        writeFile(path("in.csv"), "Cliente\nRossi\nBianchi\n");
        const Result r = run({"import", "participants", "in.csv", "--dry-run"});
        QCOMPARE(r.exit, 0);
        QVERIFY2(r.outText().contains("Prova: 2 partecipanti pronti"), r.out);
        QVERIFY(!QFile::exists(archive()));
    }

    void malformedFilesRefusedWhole_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<int>("exit");
        QTest::addColumn<QString>("message");
        QTest::newRow("open quote") << QByteArray("Cliente\n\"Rossi\nBianchi\n") << 1 << "riga 2: virgolette aperte e mai chiuse";
        QTest::newRow("quote inside") << QByteArray("Cliente\nRos\"si\n") << 1 << "riga 2: virgolette in mezzo a un valore";
        QTest::newRow("column twice") << QByteArray("Cliente,cliente\n") << 1 << "compare due volte";
        QTest::newRow("no name column") << QByteArray("Email\nr@x.it\n") << 1 << "manca la colonna Cliente";
        QTest::newRow("empty") << QByteArray() << 1 << "manca l'intestazione";
    }
    void malformedFilesRefusedWhole()
    {
        QFETCH(QByteArray, csv);
        QFETCH(int, exit);
        QFETCH(QString, message);
        writeFile(path("in.csv"), csv);
        writeFile(archive(), participant("Esistente"));
        const Result r = run({"import", "participants", "in.csv", "--force"});
        QCOMPARE(r.exit, exit);
        QCOMPARE(r.err.count('\n'), 1);
        QVERIFY2(r.errText().contains(message), r.err);
        QCOMPARE(readFile(archive()), participant("Esistente"));
    }

    // A column that names no field is left out with a word, never fatal:
    // also one with no heading, and the record number of a dump.
    void unknownColumnsAreLeftOutWithAWarning_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QString>("warning");
        QTest::newRow("unknown heading") << QByteArray("Cliente,Colore\nRossi,blu\n")
                                         << "attenzione: la colonna 2 \"Colore\" non viene importata: non "
                                            "corrisponde a nessun campo della scheda (ha un valore in una riga).";
        QTest::newRow("no heading") << QByteArray("Cliente,,Email\nRossi,x,r@x.it\n")
                                    << "attenzione: la colonna 2, senza intestazione, non viene importata (ha un "
                                       "valore in una riga).";
        QTest::newRow("record number") << QByteArray("Record,Cliente\n7,Rossi\n")
                                       << "attenzione: la colonna 1 \"Record\" non viene importata";
    }
    void unknownColumnsAreLeftOutWithAWarning()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QString, warning);
        writeFile(path("in.csv"), csv);
        const Result r = run({"import", "participants", "in.csv"});
        QCOMPARE(r.exit, 0);
        QCOMPARE(r.err.count('\n'), 1);
        QVERIFY2(r.errText().contains(warning), r.err);
        QCOMPARE(counted(readFile(archive()), 0, kCliente), QByteArray("Rossi"));
    }

    // An address book's export with English headings: names, e-mails and
    // telephones find their fields by themselves; --map says where another
    // column goes, or that one stays out. A birth date not understood is
    // said and stored as typed, which holds nothing up.
    void addressBookWithMap()
    {
        writeFile(path("contatti.csv"), "First Name,Last Name,E-mail Address,Mobile Phone,Home Phone,Job Title,"
                                        "Company,Birthday\r\n"
                                        "Mario,Rossi,m@r.it,333 1,06 1,Medico,Acme,1975-03-05\r\n"
                                        "Anna,Bianchi,a@b.it,333 2,06 2,,,primavera 1980\r\n");
        const Result r = run({"import", "participants", "contatti.csv", "--map", "Company=Occupazione", "--map",
                              "job title = -", "--map=Home Phone=Tel. ufficio"});
        QCOMPARE(r.exit, 0);
        QVERIFY2(r.errText().contains("riga 3, colonna 8 (DataNasc): \"primavera 1980\" non è una data gg/mm/aaaa: "
                                      "registrata come scritta."),
                 r.err);
        QVERIFY2(r.errText().contains("la colonna 6 \"Job Title\" non viene importata (ha un valore in una riga)."), r.err);
        const QByteArray bytes = readFile(archive());
        QCOMPARE(bytes.size(), 2 * qv::TSchedaPartecipante::layout().size());
        qv::TSchedaPartecipante card;
        card.setBytes(bytes.left(qv::TSchedaPartecipante::layout().size()));
        QCOMPARE(card.text("Cliente"), "Rossi Mario");
        QCOMPARE(card.text("Email"), "m@r.it");
        QCOMPARE(card.text("TelCel"), "333 1");
        QCOMPARE(card.text("TelUff"), "06 1");
        QCOMPARE(card.text("TelCasa"), "");
        QCOMPARE(card.text("Occupazione"), "Acme");
        QCOMPARE(card.text("DataNasc"), "05/03/1975");
    }

    void mapRefusals_data()
    {
        QTest::addColumn<QString>("map");
        QTest::addColumn<QString>("message");
        QTest::newRow("no field") << "Company=Azienda" << "la scheda non ha un campo \"Azienda\"";
        QTest::newRow("no column") << "Ditta=Note" << "il file non ha una colonna \"Ditta\" (colonne: First Name, Company)";
        QTest::newRow("no equals") << "Company" << "--map vuole \"Intestazione=Campo\"";
    }
    void mapRefusals()
    {
        QFETCH(QString, map);
        QFETCH(QString, message);
        writeFile(path("contatti.csv"), "First Name,Company\r\nMario,Acme\r\n");
        const Result r = run({"import", "participants", "contatti.csv", "--map", map});
        QCOMPARE(r.exit, 2);
        QVERIFY2(r.errText().contains(message), r.err);
        QVERIFY(!QFileInfo::exists(archive()));
    }

    // Every card the program wrote comes back byte for byte.
    void dumpThenImportGivesTheSameCards()
    {
        QByteArray cards;
        for (int i = 0; i < 3; ++i) {
            qv::TSchedaPartecipante card;
            const QList<qv::RecordLayout::Field> &fields = card.layout().fields();
            for (int f = 0; f < fields.size(); ++f)
                card.setText(f, QStringLiteral("Perù, \"€\" %1·%2").arg(i).arg(f).left(fields.at(f).length));
            card.setText("Cliente", i == 2 ? QStringLiteral("D'Angelo Niccolò") : QStringLiteral("Rossi  Mario %1").arg(i));
            card.setText("DataNasc", "07/08/1970");
            card.setText("ProvNasc", "FC");
            card.setText("ProvRes", "RM");
            card.setText("Sesso", "F");
            card.setText("CapRes", "00100");
            card.setText("CodFisc", QStringLiteral("RSSMRA70A01H50%1U").arg(i));
            card.setText("Carta", "4111111111111111");
            card.setText("PartitaIva", "01234567890");
            card.setText("Iban", "IT60X0542811101000000123456");
            card.setYesNo("Ricontatta", i == 1);
            cards += card.bytes();
        }
        writeFile(path("Partecipanti.pro"), cards);
        const Result dump = run({"dump", "Partecipanti.pro"});
        QCOMPARE(dump.exit, 0);
        QDir(m_dir->path()).mkpath("altra");
        writeFile(path("altra/dump.csv"), dump.out);
        const Result r = runCli({"import", "participants", "dump.csv", "--folder", path("altra")}, {}, path("altra"));
        QCOMPARE(r.exit, 0);
        QVERIFY2(r.errText().contains("\"Record\" non viene importata"), r.err);
        QCOMPARE(readFile(path("altra/Partecipanti.pro")), cards);
    }

    // One bad byte no longer turns a UTF-8 file into Windows-1252.
    void mixedEncodingsRefusedNamingTheLine_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<int>("exit");
        QTest::addColumn<QString>("message"); // or the name stored, for a file taken
        QTest::newRow("UTF-8 with one Windows-1252 byte")
            << QByteArray("Cliente\nNiccol\xC3\xB2\nRossi\nCaff\xE8\n") << 1
            << "la riga 4 contiene caratteri non validi in UTF-8";
        QTest::newRow("byte-order mark, then Windows-1252") << QByteArray("\xEF\xBB\xBF" "Cliente\nCaff\xE8\n") << 1
                                                            << "la riga 2 contiene";
        QTest::newRow("UTF-16") << QByteArray("\xFF\xFE" "C\0l\0") << 1 << "in UTF-16";
        QTest::newRow("all UTF-8") << QByteArray("Cliente\nNiccol\xC3\xB2\n") << 0 << QString::fromUtf8("Niccolò");
        QTest::newRow("all Windows-1252") << QByteArray("Cliente\nNiccol\xF2\n") << 0 << QString::fromUtf8("Niccolò");
    }
    void mixedEncodingsRefusedNamingTheLine()
    {
        QFETCH(QByteArray, csv);
        QFETCH(int, exit);
        QFETCH(QString, message);
        writeFile(path("in.csv"), csv);
        const Result r = run({"import", "participants", "in.csv", "--force"});
        QCOMPARE(r.exit, exit);
        if (exit == 0) {
            QCOMPARE(counted(readFile(archive()), 0, kCliente), message.toLatin1());
            return;
        }
        QCOMPARE(r.err.count('\n'), 1);
        QVERIFY2(r.errText().contains(message), r.err);
        QVERIFY(!QFile::exists(archive()));
    }

    // Alt+Enter in a spreadsheet cell: a blank, no problem.
    void quotedLineBreakIsABlank()
    {
        writeFile(path("in.csv"), "Cliente;Note\r\n\"Rossi\";\"due\r\nrighe\ne\rtre\"\r\nBianchi;x\r\n");
        const Result r = run({"import", "participants", "in.csv"});
        QCOMPARE(r.exit, 0);
        QCOMPARE(r.err, QByteArray());
        const QByteArray file = readFile(archive());
        QCOMPARE(counted(file, 0, kNote), QByteArray("due righe e tre"));
        QCOMPARE(counted(file, 1, kCliente), QByteArray("Bianchi"));
    }

    void duplicatesLeftOutUnlessAsked()
    {
        qv::TSchedaPartecipante known;
        known.setText("Cliente", "Rossi Mario");
        known.setText("CodFisc", "RSSMRA70A01H501U");
        writeFile(archive(), known.bytes());
        writeFile(path("in.csv"), "Cognome;Nome;Codice fiscale\nVerdi;Anna;rssmra70a01h501u\nBianchi;Luca;\n"
                                  "Bianchi;Luca;\n");
        const Result r = run({"import", "participants", "in.csv"});
        QCOMPARE(r.exit, 0);
        QVERIFY2(r.errText().contains("riga 2: doppione della scheda 1 in archivio (stesso codice fiscale), non "
                                      "importata."),
                 r.err);
        QVERIFY2(r.errText().contains("riga 4: doppione della riga 3 del file (stessi cognome e nome e data di "
                                      "nascita), non importata."),
                 r.err);
        QVERIFY2(r.outText().contains("Importati 1 partecipanti"), r.out);
        QVERIFY2(r.outText().contains("2 doppioni non importati"), r.out);
        QCOMPARE(counted(readFile(archive()), 1, kCliente), QByteArray("Bianchi Luca"));

        const Result again = run({"import", "participants", "in.csv", "--with-duplicates"});
        QCOMPARE(again.exit, 0);
        QCOMPARE(readFile(archive()).size(), 5 * kParticipantSize);
    }

    void importBadArguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exit");
        QTest::addColumn<QString>("message");
        QTest::newRow("events") << QStringList{"import", "events", "in.csv"} << 2 << "solo i partecipanti";
        QTest::newRow("missing file") << QStringList{"import", "participants", "nessuno.csv"} << 3 << "non esiste";
        QTest::newRow("folder") << QStringList{"import", "participants", "cartella"} << 3 << "è una cartella";
        QTest::newRow("archive is a folder") << QStringList{"import", "participants", "in.csv"} << 3
                                             << "impossibile scrivere l'archivio";
    }
    void importBadArguments()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exit);
        QFETCH(QString, message);
        writeFile(path("in.csv"), "Cliente\nRossi\n");
        QDir(m_dir->path()).mkpath("cartella");
        if (QTest::currentDataTag() == QLatin1String("archive is a folder"))
            QDir(m_dir->path()).mkpath("Partecipanti.pro");
        const Result r = run(args);
        QCOMPARE(r.exit, exit);
        QVERIFY2(r.errText().contains(message), r.err);
    }

    void importOfAnUnreadableFile()
    {
        if (geteuid() == 0)
            QSKIP("root reads every file");
        writeFile(path("in.csv"), "Cliente\nRossi\n");
        QFile::setPermissions(path("in.csv"), QFile::WriteOwner);
        const Result r = run({"import", "participants", "in.csv"});
        QCOMPARE(r.exit, 3);
        QVERIFY2(r.errText().contains("impossibile leggere"), r.err);
        QVERIFY(!QFile::exists(archive()));
    }

    void passwordResetKeepsTheRestOfTheFile()
    {
        const QByteArray before = "; impostazioni\r\n[Altro]\r\nChiave=1\r\n\r\n[Accesso]\r\nValore="
                                  + qv::CodificaPassword("DIMENTICATA").toLatin1() + "\r\nAltra=x\r\n";
        writeFile(path("unins000.dll"), before);

        // Asked first: anything but yes leaves the file alone.
        for (const QByteArray answer : {QByteArray("n\n"), QByteArray()}) {
            const Result r = run({"password", "reset"}, answer);
            QCOMPARE(r.exit, 1);
            QVERIFY2(r.outText().contains("Annullato"), r.out);
            QCOMPARE(readFile(path("unins000.dll")), before);
        }
        const Result r = run({"password", "reset"}, "s\n");
        QCOMPARE(r.exit, 0);
        const QByteArray after = readFile(path("unins000.dll"));
        QCOMPARE(after, QByteArray(before).replace(qv::CodificaPassword("DIMENTICATA").toLatin1(),
                                                   "4F187C3F84C849F04D26EE84D997"));
        QCOMPARE(qv::DecodificaPassword("4F187C3F84C849F04D26EE84D997"), QStringLiteral("CARTOLINAVESPA"));
        // No temporary file is left behind.
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"unins000.dll"});

        QCOMPARE(run({"password", "reset", "--yes"}).exit, 0);
        QCOMPARE(readFile(path("unins000.dll")), after);
    }

    void passwordResetInTheToolsOwnFolder()
    {
        // Without --folder the program folder is the executable's.
        const QString tool = path("quorvane-cli");
        QVERIFY(QFile::copy(QV_CLI_TOOL, tool));
        const Result r = runCli({"password", "reset", "--yes"}, {}, m_dir->path(), tool);
        QCOMPARE(r.exit, 0);
        QCOMPARE(readFile(path("unins000.dll")), QByteArray("[Accesso]\r\nValore=4F187C3F84C849F04D26EE84D997\r\n"));
    }

    void passwordResetFailureLeavesTheFile()
    {
        QDir(m_dir->path()).mkpath("unins000.dll");
        const Result r = run({"password", "reset", "--yes"});
        QCOMPARE(r.exit, 3);
        QVERIFY2(r.errText().contains("la password non è stata cambiata"), r.err);
        QVERIFY(QFileInfo(path("unins000.dll")).isDir());
        if (geteuid() == 0)
            return; // root writes every file
        QDir(m_dir->path()).rmdir("unins000.dll");
        writeFile(path("unins000.dll"), "[Accesso]\r\nValore=00\r\n");
        QFile::setPermissions(path("unins000.dll"), QFile::ReadOwner);
        QCOMPARE(run({"password", "reset", "--yes"}).exit, 3);
        QCOMPARE(readFile(path("unins000.dll")), QByteArray("[Accesso]\r\nValore=00\r\n"));
    }

    void validateGivesTheDialogsVerdicts_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("exit");
        QTest::addColumn<QString>("verdict");
        QTest::newRow("cf valid") << "cf" << "RSSMRA85T10A562S" << 0 << "Il codice fiscale digitato è VALIDO.\n";
        QTest::newRow("cf lower case") << "cf" << "rssmra85t10a562s" << 0 << "Il codice fiscale digitato è VALIDO.\n";
        QTest::newRow("cf wrong") << "cf" << "RSSMRA85T10A562T" << 1 << "Attenzione: il codice fiscale digitato è ERRATO.\n";
        QTest::newRow("cf short") << "cf" << "RSSMRA" << 1
                                  << "Attenzione: il codice fiscale deve essere composto da 16 caratteri alfanumerici.\n";
        // A company's fiscal code is its VAT number, as the card's button has it.
        QTest::newRow("cf of a company") << "cf" << " 00743110157 " << 0
                                         << "Il numero di partita IVA digitato risulta VALIDO.\nE' stato rilasciato "
                                            "dall'Ufficio IVA del Comune di Milano 1.\n";
        QTest::newRow("cf of a company, wrong") << "cf" << "00743110158" << 1
                                                << "Attenzione: il numero di partita IVA digitato risulta ERRATO!\nNon "
                                                   "è quindi possibile fornire informazioni relative all'Ufficio IVA "
                                                   "che lo ha rilasciato.\n";
        QTest::newRow("cf digits, too few") << "cf" << "0074311015" << 1
                                            << "Attenzione: la partita IVA deve essere composta da 11 caratteri "
                                               "numerici.\n";
        QTest::newRow("piva office") << "piva" << "00743110157" << 0
                                     << "Il numero di partita IVA digitato risulta VALIDO.\nE' stato rilasciato "
                                        "dall'Ufficio IVA del Comune di Milano 1.\n";
        QTest::newRow("piva wrong") << "piva" << "00743110158" << 1
                                    << "Attenzione: il numero di partita IVA digitato risulta ERRATO!\nNon è quindi "
                                       "possibile fornire informazioni relative all'Ufficio IVA che lo ha rilasciato.\n";
        QTest::newRow("carta visa") << "carta" << "4111111111111111" << 0
                                    << "Il numero di carta di credito 4111111111111111 risulta valido.\nLa carta di "
                                       "credito è del tipo Visa.\n";
        QTest::newRow("carta wrong") << "carta" << "4111111111111112" << 1
                                     << "Attenzione: il numero digitato risulta ERRATO!\nNon è quindi possibile fornire "
                                        "informazioni relative al tipo di carta di credito.\n";
        QTest::newRow("iban valid") << "iban" << "IT60X0542811101000000123456" << 0 << "L'IBAN digitato è VALIDO.\n";
        QTest::newRow("iban wrong") << "iban" << "IT60X0542811101000000123457" << 1
                                    << "Attenzione: l'IBAN digitato è ERRATO!\n";
    }
    void validateGivesTheDialogsVerdicts()
    {
        QFETCH(QString, what);
        QFETCH(QString, text);
        QFETCH(int, exit);
        QFETCH(QString, verdict);
        const Result r = runCli({"validate", what, text});
        QCOMPARE(r.exit, exit);
        QCOMPARE(r.outText(), verdict);
    }

    void twoImportsAtOnceLandAsTwoWholeBlocks()
    {
        writeFile(archive(), QByteArray());
        for (const char *desk : {"A", "B"}) {
            QByteArray csv = "Cliente\r\n";
            for (int i = 0; i < 1000; ++i)
                csv += QByteArray("Sportello ") + desk + ' ' + QByteArray::number(i) + "\r\n";
            writeFile(path(QString("%1.csv").arg(desk)), csv);
        }
        QProcess a, b;
        for (QProcess *p : {&a, &b})
            p->setWorkingDirectory(m_dir->path());
        a.start(QV_CLI_TOOL, {"import", "participants", "A.csv", "--folder", m_dir->path()});
        b.start(QV_CLI_TOOL, {"import", "participants", "B.csv", "--folder", m_dir->path()});
        for (QProcess *p : {&a, &b}) {
            QVERIFY(p->waitForFinished(60000));
            QCOMPARE(p->exitCode(), 0);
        }

        const QByteArray file = readFile(archive());
        QCOMPARE(file.size(), 2000 * kParticipantSize);
        QMap<QByteArray, qint64> seen; // name -> record number, 1-based
        for (qint64 n = 0; n < 2000; ++n) {
            const QByteArray name = counted(file, n, kCliente);
            QVERIFY2(!seen.contains(name), name);
            seen.insert(name, n + 1);
        }
        // Each import is one block, and says where it landed.
        for (QProcess *p : {&a, &b}) {
            const QByteArray desk = p == &a ? "A" : "B";
            const qint64 first = seen.value("Sportello " + desk + " 0");
            QVERIFY(first == 1 || first == 1001);
            for (int i = 0; i < 1000; ++i)
                QCOMPARE(seen.value("Sportello " + desk + ' ' + QByteArray::number(i)), first + i);
            const QByteArray out = p->readAllStandardOutput();
            QVERIFY2(out.contains(QByteArray("(record da ") + QByteArray::number(first) + " a "
                                  + QByteArray::number(first + 999) + ")"),
                     out);
        }
        QCOMPARE(run({"check", archive()}).exit, 0);
    }

    void exportRefusesWrongArguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no event number") << QStringList{"export", "reservations"};
        QTest::newRow("bad event number") << QStringList{"export", "reservations", "0"};
        QTest::newRow("number for events") << QStringList{"export", "events", "3"};
        QTest::newRow("unknown kind") << QStringList{"export", "clienti"};
    }
    void exportRefusesWrongArguments()
    {
        QFETCH(QStringList, args);
        const Result r = run(args);
        QCOMPARE(r.exit, 2);
        QCOMPARE(r.err.count('\n'), 1);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList());
    }

    void exportWritesTheWindowsFile_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("archiveName");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<int>("records");
        for (const int records : {3, 0}) {
            const QByteArray suffix = records ? "" : ", empty archive";
            QTest::newRow("events" + suffix) << QStringList{"export", "events"} << "Eventi.pro"
                                             << "Riepilogo_Eventi.xls" << records;
            QTest::newRow("participants" + suffix) << QStringList{"export", "participants"} << "Partecipanti.pro"
                                                   << "Partecipanti.xls" << records;
            QTest::newRow("reservations" + suffix) << QStringList{"export", "reservations", "7"}
                                                   << "Posti_Riservati_Evento_7.pro" << "Prenotazioni_Posti.xls"
                                                   << records;
        }
    }
    void exportWritesTheWindowsFile()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, archiveName);
        QFETCH(QString, fileName);
        QFETCH(int, records);
        const qv::ExportLayout &layout = exportLayoutOf(fileName);
        QByteArray bytes;
        for (int r = 0; r < records; ++r) {
            qv::Record record(*layout.record);
            for (int f = 0; f < layout.record->fieldCount(); ++f)
                record.setText(f, QStringLiteral("Perù %1 · %2").arg(r).arg(f));
            bytes += record.bytes();
        }
        writeFile(path(archiveName), bytes);
        if (archiveName.startsWith("Posti")) // bookings only of an event that exists
            writeFile(path("Eventi.pro"), QByteArray(7 * qv::TSchedaEvento::layout().size(), '\0'));
        QDir().mkpath(path("attesa"));
        qv::exportArchive(layout, path(archiveName), path("attesa/" + fileName));

        const Result r = run(args);
        QCOMPARE(r.exit, 0);
        QCOMPARE(r.err, QByteArray());
        QVERIFY2(r.outText().contains(path(fileName)), r.out);
        const QByteArray expected = readFile(path("attesa/" + fileName));
        QVERIFY(!expected.isEmpty());
        QCOMPARE(readFile(path(fileName)), expected);
    }

    void exportInEveryFormat_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("fileName"); // in the program folder, "" for --output
        QTest::addColumn<QByteArray>("starts");
        QTest::newRow("csv, named") << QStringList{"export", "participants", "--format", "csv", "--output", "p.csv"}
                                    << "" << QByteArray("\xEF\xBB\xBF" "Cognome e nome;Data di nascita;");
        QTest::newRow("xlsx") << QStringList{"export", "participants", "--format=xlsx"} << "Partecipanti.xlsx"
                              << QByteArray("PK\x03\x04");
        QTest::newRow("vcf") << QStringList{"export", "participants", "--format", "vcf"} << "Partecipanti.vcf"
                             << QByteArray("BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Perù 0 · 0\r\n");
        QTest::newRow("ics") << QStringList{"export", "events", "--format", "ics"} << "Riepilogo_Eventi.ics"
                             << QByteArray("BEGIN:VCALENDAR\r\n");
        QTest::newRow("reservations csv") << QStringList{"export", "reservations", "1", "--format", "csv"}
                                          << "Prenotazioni_Posti.csv"
                                          << QByteArray("\xEF\xBB\xBF" "Cognome e nome partecipante;");
    }
    void exportInEveryFormat()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, fileName);
        QFETCH(QByteArray, starts);
        for (const auto &[archive, layout] : {std::pair{"Partecipanti.pro", &qv::ExportLayouts::participants()},
                                              std::pair{"Eventi.pro", &qv::ExportLayouts::events()},
                                              std::pair{"Posti_Riservati_Evento_1.pro",
                                                        &qv::ExportLayouts::reservations()}}) {
            qv::Record record(*layout->record);
            for (int f = 0; f < layout->record->fieldCount(); ++f)
                record.setText(f, QStringLiteral("Perù 0 · %1").arg(f));
            if (layout == &qv::ExportLayouts::events())
                record.setText("DataInizio", "01/03/2025");
            writeFile(path(archive), record.bytes());
        }
        const Result r = run(args);
        QCOMPARE(r.exit, 0);
        QCOMPARE(r.err, QByteArray());
        const QString written = path(fileName.isEmpty() ? "p.csv" : fileName);
        QVERIFY2(r.outText().contains(written), r.out);
        QVERIFY2(readFile(written).startsWith(starts), readFile(written).left(200));
        if (fileName.isEmpty()) { // the same bytes as the export windows' writer gives
            qv::writeExport(qv::ExportFormat::Csv, path("attesa.csv"), qv::ExportLayouts::participants(),
                            qv::archiveRows(qv::ExportLayouts::participants(), path("Partecipanti.pro")));
            QCOMPARE(readFile(written), readFile(path("attesa.csv")));
        }
    }

    void exportSaysWhichEventsItLeftOut()
    {
        QByteArray bytes;
        for (const char *start : {"01/03/2025", "", "5/3/2025"}) {
            qv::TSchedaEvento event;
            event.setText("Titolo", "Convegno");
            event.setText("DataInizio", start);
            bytes += event.bytes();
        }
        writeFile(path("Eventi.pro"), bytes);
        const Result r = run({"export", "events", "--format", "ics", "--output", "e.ics"});
        QCOMPARE(r.exit, 0);
        QCOMPARE(r.err.count('\n'), 1);
        QVERIFY2(r.errText().contains("l'evento 2 non ha una data di inizio valida"), r.err);
        QCOMPARE(readFile(path("e.ics")).count("BEGIN:VEVENT"), 2);
    }

    // Nothing is written, and no archive created, for what does not exist.
    void exportOfWhatIsNotThere_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exit");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("files"); // afterwards, beside Eventi.pro
        QTest::newRow("event not there") << QStringList{"export", "reservations", "3"} << 1
                                         << "l'evento numero 3 non esiste" << QStringList();
        QTest::newRow("calendar of participants") << QStringList{"export", "participants", "--format", "ics"} << 2
                                                  << "formato \"ics\" non disponibile per participants: usare xls, "
                                                     "xlsx, csv, vcf"
                                                  << QStringList();
        QTest::newRow("unknown format") << QStringList{"export", "events", "--format", "ods"} << 2
                                        << "formato \"ods\" non disponibile" << QStringList();
        QTest::newRow("event without bookings") << QStringList{"export", "reservations", "2"} << 0 << ""
                                                << QStringList{"Prenotazioni_Posti.xls"};
    }
    void exportOfWhatIsNotThere()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exit);
        QFETCH(QString, message);
        QFETCH(QStringList, files);
        writeFile(path("Eventi.pro"), qv::TSchedaEvento().bytes() + qv::TSchedaEvento().bytes());
        const Result r = run(args);
        QCOMPARE(r.exit, exit);
        QVERIFY2(r.errText().contains(message), r.err);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList{"Eventi.pro"} + files);
    }

    void exportIntoAFolderFailsAndLeavesNoFile()
    {
        writeFile(archive(), participant("Rossi Mario"));
        QVERIFY(QDir().mkpath(path("Partecipanti.xls")));
        const Result r = run({"export", "participants"});
        QCOMPARE(r.exit, 3);
        QCOMPARE(r.out, QByteArray());
        QCOMPARE(r.err.count('\n'), 1);
        QVERIFY2(r.errText().contains("Partecipanti.xls"), r.err);
        QVERIFY(QFileInfo(path("Partecipanti.xls")).isDir());
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList{"Partecipanti.pro"});
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestCliTools)
#include "tst_clitools.moc"
