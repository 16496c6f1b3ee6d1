// check and dump on archives written byte by byte, and bad input of every kind.
#include "archive/archivejournal.h"
#include "clirunner.h"
#include "output/fixtures.h"

#include <QCryptographicHash>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include <unistd.h>

using namespace clitest;

class TestCliArchives : public QObject
{
    Q_OBJECT

    QString path(const QString &name) const { return m_dir->filePath(name); }
    // Runs the tool in the test's folder: file names in arguments are relative to it.
    Result run(const QStringList &args) const { return runCli(args, {}, m_dir->path()); }

    // Three good participants, as the program writes them.
    QByteArray healthy() const
    {
        return participant("Rossi Mario", "S\xEC") + participant("Bianchi Anna") + participant("Verdi Luca");
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void healthyArchiveIsClean_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("options");
        QTest::newRow("by name") << "Partecipanti.pro" << QStringList();
        QTest::newRow("by --kind") << "copia.dat" << QStringList{"--kind", "participants"};
        QTest::newRow("--kind=") << "copia.dat" << QStringList{"--kind=participants"};
    }
    void healthyArchiveIsClean()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, options);
        writeFile(path(name), healthy());
        const Result r = run(QStringList{"check", path(name)} + options);
        QCOMPARE(r.exit, 0);
        QVERIFY2(r.outText().contains("3 record."), r.out);
        QVERIFY(r.outText().endsWith(QStringLiteral("Nessun difetto.\n")));
        QVERIFY(r.err.isEmpty());
    }

    void emptyYesNoIsNoDefect()
    {
        // Other tools leave the yes/no field empty; the program copes with it.
        writeFile(path("Partecipanti.pro"), participant("Rossi Mario", ""));
        QCOMPARE(run({"check", path("Partecipanti.pro")}).exit, 0);
    }

    void everyDefectNamedAndOriginalUnchanged()
    {
        QByteArray bytes = healthy();
        put(bytes, At{kParticipantSize + kCliente.offset, 50}, "Bianchi Anna", 255);
        put(bytes, At{2 * kParticipantSize + kRicontatta.offset, 2}, "Fo");
        put(bytes, kNote, QByteArray("riga\x07" "campanello"));
        bytes += QByteArray(100, 'x'); // a torn last record
        writeFile(path("Partecipanti.pro"), bytes);

        const Result r = run({"check", path("Partecipanti.pro")});
        QCOMPARE(r.exit, 1);
        const QString out = r.outText();
        QVERIFY2(out.contains("3 record."), r.out);
        QVERIFY2(out.contains("Record 2, campo Cliente: lunghezza 255 oltre i 50 caratteri dichiarati."), r.out);
        QVERIFY2(out.contains(QStringLiteral("Record 3, campo Ricontatta: \"Fo\" non è né \"Sì\" né \"No\".")), r.out);
        QVERIFY2(out.contains("Record 1, campo Note: carattere non stampabile (byte 0x07) in posizione 5."), r.out);
        QVERIFY2(out.contains("Coda incompleta: 100 byte dopo l'ultimo record intero (record 4 troncato)."), r.out);
        // The clamped text holds the zero bytes after the name, which show nothing.
        QVERIFY2(out.contains("Record 2, campo Cliente: carattere non stampabile (byte 0x00) in posizione 13."), r.out);
        QVERIFY2(out.endsWith("5 difetti.\n"), r.out);
        QCOMPARE(readFile(path("Partecipanti.pro")), bytes);
        QVERIFY(!QFile::exists(path("Partecipanti_riparato.pro")));

        // --repair: a copy beside it, torn tail dropped and lengths clamped;
        // what cannot be mended stays for the user to see.
        const Result repaired = run({"check", path("Partecipanti.pro"), "--repair"});
        QCOMPARE(repaired.exit, 1);
        QVERIFY2(repaired.outText().contains("Copia riparata scritta in"), repaired.out);
        QCOMPARE(readFile(path("Partecipanti.pro")), bytes);
        const QByteArray copy = readFile(path("Partecipanti_riparato.pro"));
        QCOMPARE(copy.size(), 3 * kParticipantSize);
        QCOMPARE(quint8(copy.at(kParticipantSize)), quint8(50));
        QCOMPARE(copy.mid(kParticipantSize + 1, 12), QByteArray("Bianchi Anna"));
        QCOMPARE(copy.left(kParticipantSize), bytes.left(kParticipantSize));
        const Result again = run({"check", path("Partecipanti_riparato.pro")});
        QCOMPARE(again.exit, 1);
        QVERIFY2(again.outText().endsWith("3 difetti.\n"), again.out);
        QVERIFY(!again.outText().contains("lunghezza"));
    }

    void interruptedWriteIsUndoneFirst()
    {
        // A desk died appending a record: half of it on the disk, its journal beside.
        writeFile(path("Partecipanti.pro"), healthy() + participant("Nuovo").left(1000));
        writeFile(path("Partecipanti.pro.journal"), qv::ArchiveJournal{3 * kParticipantSize, 3 * kParticipantSize, {}}.encode());
        const Result r = run({"check", path("Partecipanti.pro")});
        QCOMPARE(r.exit, 0);
        QVERIFY2(r.outText().contains(QStringLiteral("Una scrittura interrotta \u00E8 stata annullata")), r.out);
        QVERIFY2(r.outText().contains("3 record."), r.out);
        QCOMPARE(readFile(path("Partecipanti.pro")), healthy());
        QVERIFY(!QFile::exists(path("Partecipanti.pro.journal")));
    }

    void yesNoSpillingOverTheNextFieldShownAsWritten()
    {
        QByteArray bytes = participant("Rossi Mario");
        put(bytes, At{kRicontatta.offset, 5}, "Forse");
        writeFile(path("Partecipanti.pro"), bytes);
        const Result r = run({"check", path("Partecipanti.pro")});
        QCOMPARE(r.exit, 1);
        QVERIFY2(r.outText().contains("Record 1, campo Ricontatta: lunghezza 5 oltre i 2 caratteri dichiarati."), r.out);
        QVERIFY2(r.outText().contains(QStringLiteral("Record 1, campo Ricontatta: \"Forse\" non è né")), r.out);
        QCOMPARE(readFile(path("Partecipanti.pro")), bytes);
    }

    // A file's text never drives the terminal: escape sequences are shown.
    void controlCharactersShownEscaped()
    {
        QByteArray bytes = participant("Rossi Mario") + participant("Bianchi");
        put(bytes, At{kParticipantSize + kRicontatta.offset, 6}, "x\x1B[31m");
        writeFile(path("Partecipanti\x07.pro"), bytes);
        const Result r = run({"check", path("Partecipanti\x07.pro")});
        QCOMPARE(r.exit, 1);
        QVERIFY2(r.outText().contains(QStringLiteral("Record 2, campo Ricontatta: \"x\\x1B[31m\" non è")), r.out);
        QVERIFY2(r.outText().contains("Partecipanti\\x07.pro: archivio dei partecipanti"), r.out);
        for (const QByteArray &stream : {r.out, r.err})
            for (const char c : stream)
                QVERIFY2(uchar(c) >= 0x20 || c == '\n', stream);
    }

    // Most records with a broken frame: not this kind of archive at all,
    // and no "repaired" copy of it.
    void mostlyDamagedIsNoArchive_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("recordSize");
        QTest::addColumn<QString>("verdict");
        QTest::newRow("participants") << "Partecipanti.pro" << kParticipantSize << "non è un archivio di partecipanti";
        QTest::newRow("events") << "Eventi.pro" << 3645 << "non è un archivio di eventi";
        QTest::newRow("reservations") << "Posti_Riservati_Evento_3.pro" << 829 << "non è un archivio di prenotazioni";
    }
    void mostlyDamagedIsNoArchive()
    {
        QFETCH(QString, name);
        QFETCH(int, recordSize);
        QFETCH(QString, verdict);
        QByteArray text;
        while (text.size() < 4 * recordSize)
            text += "Cognome;Nome;Codice fiscale;E-mail\r\nRossi;Mario;RSSMRA70A01H501U;mario@esempio.it\r\n";
        writeFile(path(name), text.left(4 * recordSize));
        const Result r = run({"check", path(name), "--repair"});
        QCOMPARE(r.exit, 1);
        QVERIFY2(r.outText().contains(path(name) + " " + verdict + ": 4 record su 4 sono danneggiati"), r.out);
        QVERIFY2(r.outText().contains("Nessuna copia riparata"), r.out);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{name});

        // One damaged record in three is damage, and is repaired.
        QByteArray bytes = healthy();
        put(bytes, At{kParticipantSize + kCliente.offset, 50}, "Bianchi Anna", 255);
        writeFile(path("Partecipanti.pro"), bytes);
        const Result repaired = run({"check", path("Partecipanti.pro"), "--repair"});
        QVERIFY2(!repaired.outText().contains("non è un archivio"), repaired.out);
        QVERIFY(QFile::exists(path("Partecipanti_riparato.pro")));
    }

    void wrongKindIsHinted()
    {
        writeFile(path("dati.bin"), QByteArray(2 * 829, '\0'));
        const Result r = run({"check", path("dati.bin"), "--kind", "participants"});
        QCOMPARE(r.exit, 1);
        QVERIFY2(r.outText().contains("corrisponde invece a un archivio dei posti assegnati"), r.out);
    }

    void repairOfACleanArchiveWritesNothing()
    {
        writeFile(path("Partecipanti.pro"), healthy());
        QCOMPARE(run({"check", path("Partecipanti.pro"), "--repair"}).exit, 0);
        QVERIFY(!QFile::exists(path("Partecipanti_riparato.pro")));
    }

    void repairCopyThatCannotBeWritten()
    {
        QByteArray bytes = healthy() + "coda";
        writeFile(path("Partecipanti.pro"), bytes);
        QDir(m_dir->path()).mkpath("Partecipanti_riparato.pro");
        const Result r = run({"check", path("Partecipanti.pro"), "--repair"});
        QCOMPARE(r.exit, 3);
        QVERIFY2(r.errText().contains("impossibile scrivere la copia riparata"), r.err);
        QCOMPARE(readFile(path("Partecipanti.pro")), bytes);
        QVERIFY(QFileInfo(path("Partecipanti_riparato.pro")).isDir());
    }

    void otherKindsByName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("yesNoOffset");
        QTest::addColumn<QString>("field");
        QTest::newRow("events") << "Eventi.pro" << 3645 << 2136 << "Completo";
        QTest::newRow("reservations") << "Posti_Riservati_Evento_12.pro" << 829 << 826 << "DaConfermare";
        QTest::newRow("attendance") << "Presenze_Evento_3.pro" << 40 << 37 << "Annullato";
        QTest::newRow("exits") << "Uscite_Evento_3.pro" << 40 << 37 << "Annullato";
    }
    void otherKindsByName()
    {
        QFETCH(QString, name);
        QFETCH(int, size);
        QFETCH(int, yesNoOffset);
        QFETCH(QString, field);
        QByteArray record(size, '\0');
        put(record, At{0, 50}, "Convegno");
        put(record, At{yesNoOffset, 2}, "No");
        writeFile(path(name), record + record);
        QCOMPARE(run({"check", path(name)}).exit, 0);
        put(record, At{yesNoOffset, 2}, "Ma");
        writeFile(path(name), record + record);
        const Result r = run({"check", path(name)});
        QCOMPARE(r.exit, 1);
        QVERIFY2(r.outText().contains(QStringLiteral("Record 2, campo %1: \"Ma\"").arg(field)), r.out);
    }

    void dumpGivesEveryFieldBackExactly()
    {
        // Accents and the code page's punctuation (curly quotes, en dash,
        // euro), a comma, a quote and a line end that CSV must enclose.
        QByteArray first = participant("Perch\xE9 \x93" "Caff\xE8\x94 \x96 \x80" "5", "S\xEC");
        put(first, kComuneNasc, "Forl\xEC");
        put(first, kEmail, "a,b\"c");
        put(first, kNote, " due\r\nrighe ");
        QByteArray second = participant("Bianchi", "No");
        put(second, kCliente, QByteArray("Troppo lungo"), 200); // read as 50 bytes
        writeFile(path("Partecipanti.pro"), first + second);

        const QString cliente = QStringLiteral("Perché “Caffè” – €5");
        const Result csv = run({"dump", path("Partecipanti.pro")});
        QCOMPARE(csv.exit, 0);
        const QStringList lines = csv.outText().split("\r\n");
        QVERIFY(lines.first().startsWith("Record,Cliente,DataNasc,ComuneNasc,ProvNasc,Sesso,"));
        QVERIFY(lines.first().endsWith(",Ricontatta,File01,File02,File03,Desc01,Desc02,Desc03"));
        QCOMPARE(lines.first().count(','), 36);
        QVERIFY2(lines.at(1).startsWith(QStringLiteral("1,%1,,Forlì,").arg(cliente)), csv.out);
        QVERIFY2(csv.outText().contains(",\"a,b\"\"c\","), csv.out);
        QVERIFY2(csv.outText().contains(",\" due\r\nrighe \",Sì,"), csv.out);

        const Result json = run({"dump", path("Partecipanti.pro"), "--format", "jsonl"});
        QCOMPARE(json.exit, 0);
        const QList<QByteArray> objects = json.out.trimmed().split('\n');
        QCOMPARE(objects.size(), 2);
        const QJsonObject one = QJsonDocument::fromJson(objects.at(0)).object();
        QCOMPARE(one.size(), 37);
        QCOMPARE(one.value("Record").toInt(), 1);
        QCOMPARE(one.value("Cliente").toString(), cliente);
        QCOMPARE(one.value("ComuneNasc").toString(), QStringLiteral("Forlì"));
        QCOMPARE(one.value("Email").toString(), QStringLiteral("a,b\"c"));
        QCOMPARE(one.value("Note").toString(), QStringLiteral(" due\r\nrighe "));
        QCOMPARE(one.value("Ricontatta").toString(), QStringLiteral("Sì"));
        QCOMPARE(one.value("Desc03").toString(), QString());
        const QJsonObject two = QJsonDocument::fromJson(objects.at(1)).object();
        QCOMPARE(two.value("Record").toInt(), 2);
        QCOMPARE(two.value("Cliente").toString().size(), 50);
        QVERIFY(two.value("Cliente").toString().startsWith("Troppo lungo"));
    }

    // Every byte value in every field, length bytes past the declared length,
    // garbage after the texts, over several read blocks: the dump as the
    // formats say, written out again here, and pinned as the tool has always
    // written it.
    void dumpOfEveryByteIsExact_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QByteArray>("pinned");
        QTest::newRow("csv") << "csv" << QByteArray("482fd461956a2fd3");
        QTest::newRow("jsonl") << "jsonl" << QByteArray("62f8a5193ec59dbb");
    }
    void dumpOfEveryByteIsExact()
    {
        QFETCH(QString, format);
        QFETCH(QByteArray, pinned);
        const qvtest::Fields &fields = qvtest::participantFields();
        quint64 state = 21;
        const auto below = [&state](int n) {
            state = state * 6364136223846793005ull + 1442695040888963407ull;
            return int((state >> 33) % quint64(n));
        };
        QByteArray archive;
        for (int n = 0; n < 700; ++n) {
            for (const auto &[name, declared] : fields) {
                const int kind = below(10);
                const int length = kind == 0 ? declared + below(256 - declared) : kind < 4 ? 0 : below(std::min(declared, 40) + 1);
                archive += char(std::min(length, 255));
                for (int i = 0; i < declared; ++i)
                    archive += char(i < length && kind > 6 ? "a,\"\\\r\n\t z"[below(10)] : below(256));
            }
        }
        writeFile(path("Partecipanti.pro"), archive);

        const bool csv = format == "csv";
        QByteArray expected;
        if (csv) {
            expected = "Record";
            for (const auto &field : fields)
                expected += ',' + field.first.toUtf8();
            expected += "\r\n";
        }
        int size = 0;
        for (const auto &field : fields)
            size += 1 + field.second;
        for (qsizetype at = 0, number = 1; at < archive.size(); at += size, ++number) {
            expected += csv ? QByteArray::number(number) : "{\"Record\":" + QByteArray::number(number);
            int offset = int(at);
            for (const auto &[name, declared] : fields) {
                const QString text = qvtest::fromWindows1252(
                    archive.mid(offset + 1, std::min<int>(uchar(archive.at(offset)), declared)));
                offset += 1 + declared;
                QByteArray value;
                if (csv) {
                    value = text.toUtf8();
                    if (value.contains(',') || value.contains('"') || value.contains('\r') || value.contains('\n'))
                        value = '"' + value.replace("\"", "\"\"") + '"';
                } else {
                    value = "\"";
                    for (const QChar c : text) {
                        const char16_t u = c.unicode();
                        if (u == '"' || u == '\\')
                            value += QByteArray("\\") + char(u);
                        else if (u == '\n' || u == '\r' || u == '\t')
                            value += u == '\n' ? "\\n" : u == '\r' ? "\\r" : "\\t";
                        else if (u < 0x20)
                            value += "\\u" + QByteArray::number(u, 16).rightJustified(4, '0');
                        else
                            value += QString(c).toUtf8();
                    }
                    value += '"';
                    value.prepend("\"" + name.toUtf8() + "\":");
                }
                expected += ',' + value;
            }
            expected += csv ? "\r\n" : "}\n";
        }

        const Result r = run({"dump", path("Partecipanti.pro"), "--format", format});
        QCOMPARE(r.exit, 0);
        QCOMPARE(r.err, QByteArray());
        QCOMPARE(r.out.size(), expected.size());
        QVERIFY(r.out == expected);
        QCOMPARE(QCryptographicHash::hash(r.out, QCryptographicHash::Sha256).toHex().left(16), pinned);
    }

    void dumpSkipsATornTailAndSaysSo()
    {
        writeFile(path("Partecipanti.pro"), healthy() + "xyz");
        const Result r = run({"dump", path("Partecipanti.pro"), "--format=jsonl"});
        QCOMPARE(r.exit, 0);
        QCOMPARE(r.out.count('\n'), 3);
        QVERIFY2(r.errText().contains("3 byte di coda incompleta ignorati"), r.err);
    }

    // A desk died part-way through an import: dump undoes the write as check
    // does, and hands out only the records that were there before it; its
    // output could otherwise carry the aborted records elsewhere.
    void dumpNeverHandsOutAnAbortedWrite()
    {
        writeFile(path("Partecipanti.pro"), healthy() + participant("Importato 1") + participant("Importato 2"));
        writeFile(path("Partecipanti.pro.journal"),
                  qv::ArchiveJournal{3 * kParticipantSize, 3 * kParticipantSize, {}}.encode());
        const Result r = run({"dump", path("Partecipanti.pro"), "--format=jsonl"});
        QCOMPARE(r.exit, 0);
        QCOMPARE(r.out.count('\n'), 3);
        QVERIFY(!r.out.contains("Importato"));
        QVERIFY2(r.errText().contains("una scrittura interrotta \u00E8 stata annullata"), r.err);
        QVERIFY(!QFile::exists(path("Partecipanti.pro.journal")));
        QCOMPARE(readFile(path("Partecipanti.pro")), healthy());
    }

    void badInputGivesOneLineAndNonZeroStatus_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exit");
        QTest::addColumn<QString>("message");
        const QString archive = "Partecipanti.pro";
        QTest::newRow("no command") << QStringList() << 2 << "manca il comando";
        QTest::newRow("unknown command") << QStringList{"riordina"} << 2 << "comando sconosciuto \"riordina\"";
        QTest::newRow("unknown option") << QStringList{"check", archive, "--fast"} << 2 << "opzione sconosciuta --fast";
        QTest::newRow("option without value") << QStringList{"dump", archive, "--format"} << 2
                                              << "manca il valore dell'opzione --format";
        QTest::newRow("extra argument") << QStringList{"check", archive, "altro"} << 2 << "argomento in più \"altro\"";
        QTest::newRow("missing file") << QStringList{"check", "Eventi.pro"} << 3 << "non esiste";
        QTest::newRow("folder in its place") << QStringList{"dump", "cartella.pro", "--kind", "events"} << 3
                                             << "è una cartella";
        QTest::newRow("kind not told") << QStringList{"check", "dati.bin"} << 2 << "indicarlo con --kind";
        QTest::newRow("wrong kind word") << QStringList{"check", archive, "--kind", "clienti"} << 2
                                         << "tipo di archivio sconosciuto \"clienti\"";
        QTest::newRow("wrong format") << QStringList{"dump", archive, "--format", "xml"} << 2
                                      << "formato sconosciuto \"xml\"";
        QTest::newRow("missing folder") << QStringList{"check", archive, "--folder", "nessuna"} << 3
                                        << "la cartella del programma";
        QTest::newRow("export of entries") << QStringList{"export", "attendance"} << 2
                                           << "attendance non si esporta";
        QTest::newRow("validate what") << QStringList{"validate", "cap", "00100"} << 2 << "controllo sconosciuto";
        QTest::newRow("password what") << QStringList{"password", "show"} << 2 << "sottocomando sconosciuto";
    }
    void badInputGivesOneLineAndNonZeroStatus()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exit);
        QFETCH(QString, message);
        writeFile(path("Partecipanti.pro"), healthy());
        writeFile(path("dati.bin"), healthy());
        QDir(m_dir->path()).mkpath("cartella.pro");
        const Result r = run(args);
        QCOMPARE(r.exit, exit);
        QVERIFY(r.out.isEmpty());
        QCOMPARE(r.err.count('\n'), 1);
        QVERIFY2(r.errText().startsWith("quorvane-cli: "), r.err);
        QVERIFY2(r.errText().contains(message), r.err);
        QCOMPARE(readFile(path("Partecipanti.pro")), healthy());
    }

    void unreadableArchive()
    {
        if (geteuid() == 0)
            QSKIP("root reads every file");
        writeFile(path("Partecipanti.pro"), healthy());
        QFile::setPermissions(path("Partecipanti.pro"), QFile::WriteOwner);
        const Result r = run({"check", path("Partecipanti.pro")});
        QCOMPARE(r.exit, 3);
        QVERIFY2(r.errText().contains("impossibile leggere"), r.err);
    }

    void everyCommandHasHelp_data()
    {
        QTest::addColumn<QString>("command");
        for (const char *c : {"check", "dump", "import", "export", "password", "validate", "attendance", "checkin"})
            QTest::newRow(c) << QString(c);
    }
    void everyCommandHasHelp()
    {
        QFETCH(QString, command);
        const Result r = run({command, "--help"});
        QCOMPARE(r.exit, 0);
        QVERIFY2(r.outText().startsWith("Uso: quorvane-cli " + command), r.out);
        QVERIFY(run({"--help"}).outText().contains("\n  " + command + " "));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestCliArchives)
#include "tst_cliarchives.moc"
