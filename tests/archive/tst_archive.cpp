#include "archive/archivejournal.h"
#include "archive/archivelock.h"
#include "archive/fields.h"
#include "archive/records.h"
#include "archive/tarchivio.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <unistd.h>

using namespace qv;
using qvtest::TempProgramFolder;

struct FieldPlace
{
    QString name;
    int offset;
    int length;
};
using Table = QList<FieldPlace>;

namespace {

QByteArray filled(char c, int length = 829) { return QByteArray(length, c); }

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool isJournal(const QFile &file) { return file.fileName().endsWith(QLatin1String(".journal")); }

// The archive's writes stop after `limit` bytes on the `failing`-th write
// (1-based) and report failure, as a full disk or a dropped network would.
// The journal's writes are counted apart and never fail.
class FailingWrites
{
public:
    FailingWrites(int failing, qint64 limit)
    {
        TArchivio::setWriteHook([=, this](QFile &file, const char *data, qint64 size) -> qint64 {
            if (isJournal(file)) {
                ++journalWrites;
                return file.write(data, size);
            }
            if (++calls != failing)
                return file.write(data, size);
            file.write(data, std::min(size, limit));
            return -1;
        });
    }
    ~FailingWrites() { TArchivio::setWriteHook({}); }
    int calls = 0;
    int journalWrites = 0;
};

// The lock file stays beside the archive, free, and no journal is left.
bool writeEndedCleanly(const QString &path)
{
    return QFile::exists(TArchivio::lockPath(path)) && !ArchiveLock::heldElsewhere(path)
           && !QFile::exists(TArchivio::journalPath(path));
}

} // namespace

class TestArchive : public QObject
{
    Q_OBJECT
private slots:
    void recordLayoutsHaveEveryFieldInPlace_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("size");
        QTest::addColumn<Table>("table");
        // (field, offset, declared length) in record order, as the file format gives them.
        QTest::newRow("event") << 0 << 3645 << Table{
        {"Titolo", 0, 50}, {"Tipologia", 51, 50}, {"Materie", 102, 250}, {"Relatori", 353, 250},
        {"DataInizio", 604, 10}, {"OraInizio", 615, 5}, {"DataFine", 621, 10}, {"OraFine", 632, 5},
        {"Sede", 638, 120}, {"Indirizzo", 759, 120}, {"Organizzatore", 880, 50}, {"RecapitoOrg", 931, 50},
        {"Contatto", 982, 50}, {"RecapitoCon", 1033, 50}, {"Collaboratori", 1084, 250}, {"Criteri", 1335, 250},
        {"Pagamento", 1586, 120}, {"Quota", 1707, 15}, {"Intestatario", 1723, 50}, {"Iban", 1774, 27},
        {"Banca", 1802, 50}, {"Anticipo", 1853, 15}, {"Note", 1869, 250}, {"DataSca", 2120, 10},
        {"Posti", 2131, 4}, {"Completo", 2136, 2}, {"File01", 2139, 250}, {"File02", 2390, 250},
        {"File03", 2641, 250}, {"Desc01", 2892, 250}, {"Desc02", 3143, 250}, {"Desc03", 3394, 250},
        };
        QTest::newRow("participant") << 1 << 3372 << Table{
        {"Cliente", 0, 50}, {"DataNasc", 51, 30}, {"ComuneNasc", 82, 50}, {"ProvNasc", 133, 2},
        {"Sesso", 136, 1}, {"Recapito", 138, 50}, {"IndirizzoRes", 189, 50}, {"ProvRes", 240, 2},
        {"ComuneRes", 243, 50}, {"CapRes", 294, 5}, {"Estremi", 300, 250}, {"TelCasa", 551, 30},
        {"TelUff", 582, 30}, {"TelCel", 613, 30}, {"Fax", 644, 30}, {"Email", 675, 50},
        {"CodFisc", 726, 16}, {"Carta", 743, 30}, {"ScadeCarta", 774, 30}, {"PartitaIva", 805, 11},
        {"Iban", 817, 27}, {"Documento", 845, 120}, {"Occupazione", 966, 50}, {"Civile", 1017, 50},
        {"Titoli", 1068, 120}, {"Prodotti", 1189, 120}, {"Zona", 1310, 50}, {"Questioni", 1361, 250},
        {"Note", 1612, 250}, {"Ricontatta", 1863, 2}, {"File01", 1866, 250}, {"File02", 2117, 250},
        {"File03", 2368, 250}, {"Desc01", 2619, 250}, {"Desc02", 2870, 250}, {"Desc03", 3121, 250},
        };
        QTest::newRow("reservation") << 2 << 829 << Table{
        {"Cliente", 0, 50}, {"IndirizzoRes", 51, 50}, {"ComuneRes", 102, 50}, {"ProvRes", 153, 2},
        {"CapRes", 156, 5}, {"CodFisc", 162, 16}, {"Recapito", 179, 50}, {"TelCel", 230, 30},
        {"Email", 261, 50}, {"Posto", 312, 5}, {"Numero", 318, 5}, {"Ubicazione", 324, 250},
        {"Annotazioni", 575, 250}, {"DaConfermare", 826, 2},
        };
        QTest::newRow("attendance") << 3 << 40 << Table{
        {"Prenotazione", 0, 10}, {"Posto", 11, 5}, {"DataIngresso", 17, 10}, {"OraIngresso", 28, 8},
        {"Annullato", 37, 2},
        };
    }
    void recordLayoutsHaveEveryFieldInPlace()
    {
        QFETCH(int, kind);
        QFETCH(int, size);
        QFETCH(Table, table);
        const RecordLayout &layout = kind == 0 ? TSchedaEvento::layout()
                                     : kind == 1 ? TSchedaPartecipante::layout()
                                     : kind == 2 ? TSchedaPrenotazione::layout()
                                                 : TSchedaPresenza::layout();
        QCOMPARE(layout.size(), size);
        QCOMPARE(layout.fieldCount(), int(table.size()));
        for (int i = 0; i < int(table.size()); ++i) {
            const RecordLayout::Field &field = layout.field(i);
            QCOMPARE(field.name, table[i].name);
            QCOMPARE(field.offset, table[i].offset);
            QCOMPARE(field.length, table[i].length);
        }
    }

    void campoDaTestoTrimsEncodesAndCuts()
    {
        const QByteArray f = CampoDaTesto(QStringLiteral("  Perché sì  "), 10);
        QCOMPARE(f.size(), 11);
        QCOMPARE(f.at(0), char(9));
        QCOMPARE(f.mid(1, 9), QByteArray("Perch\xE9 s\xEC"));
        const QByteArray cut = CampoDaTesto(QString(60, QLatin1Char('x')) + "  ", 50);
        QCOMPARE(int(cut.at(0)), 50);
        QCOMPARE(cut.size(), 51);
        QCOMPARE(CampoDaTesto(QString(300, 'y'), 250).at(0), char(250));
    }

    void testoDaCampoClampsLengthAndTrims()
    {
        QByteArray f = CampoDaTesto(QStringLiteral("abc"), 5);
        f[0] = char(200); // written by another tool: beyond the declared length
        f.replace(4, 2, "de");
        QCOMPARE(TestoDaCampo(f.constData(), 5), QStringLiteral("abcde"));
        const QByteArray padded("\x05 \x80x\t ", 6);
        QCOMPARE(TestoDaCampo(padded.constData(), 5), QStringLiteral("\u20ACx"));
    }

    void yesNoFieldsAreExactBytes()
    {
        TSchedaEvento r;
        r.setYesNo("Completo", true);
        QCOMPARE(r.bytes().mid(2136, 3), QByteArray("\x02\x53\xEC"));
        QCOMPARE(r.yesNo("Completo"), std::optional<bool>(true));
        r.setYesNo("Completo", false);
        QCOMPARE(r.bytes().mid(2136, 3), QByteArray("\x02\x4E\x6F"));
        r.setText("Completo", "X");
        QVERIFY(!r.yesNo("Completo").has_value());
    }

    void reservationNamesAndSeatKey()
    {
        QCOMPARE(TSchedaPrenotazione::archiveName(1), QStringLiteral("Posti_Riservati_Evento_1.pro"));
        QCOMPARE(TSchedaPrenotazione::archiveName(12), QStringLiteral("Posti_Riservati_Evento_12.pro"));
        QCOMPARE(TSchedaPrenotazione::Numero(" 9 "), QStringLiteral("00009"));
        QCOMPARE(TSchedaPrenotazione::Numero("A12"), QStringLiteral("00A12"));
        QCOMPARE(TSchedaPrenotazione::Numero("12345"), QStringLiteral("12345"));
        QCOMPARE(TSchedaPrenotazione::Numero(""), QStringLiteral("00000"));
        QCOMPARE(TSchedaPresenza::archiveName(12), QStringLiteral("Presenze_Evento_12.pro"));
    }

    void missingArchiveIsCreatedEmpty()
    {
        TempProgramFolder folder;
        TArchivio archive(folder.file("Eventi.pro"), 3645);
        QCOMPARE(archive.Count(), 0);
        QVERIFY(archive.AtEnd());
        archive.Close();
        QVERIFY(QFile::exists(folder.file("Eventi.pro")));
        QCOMPARE(QFileInfo(folder.file("Eventi.pro")).size(), 0);
    }

    void appendOverwriteAndReadBack()
    {
        TempProgramFolder folder;
        const QString path = folder.file("Posti.pro");
        {
            TArchivio archive(path, 829);
            for (int i = 1; i <= 3; ++i) {
                TSchedaPrenotazione r;
                r.setText("Cliente", QStringLiteral("Persona %1").arg(i));
                QCOMPARE(archive.Append(r), qint64(i));
                QCOMPARE(archive.Position(), qint64(i));
            }
            TSchedaPrenotazione changed;
            changed.setText("Cliente", "Seconda");
            archive.Seek(1);
            archive.Write(changed);
            QCOMPARE(archive.Position(), qint64(2));
            QCOMPARE(archive.Count(), qint64(3));
        }
        TArchivio archive(path, 829);
        QStringList names;
        while (!archive.AtEnd()) {
            TSchedaPrenotazione r;
            archive.Read(r);
            names << r.text("Cliente");
        }
        QCOMPARE(names, QStringList({"Persona 1", "Seconda", "Persona 3"}));
        QCOMPARE(QFileInfo(path).size(), 3 * 829);
    }

    void trailingPartialRecordIsNotCounted()
    {
        TempProgramFolder folder;
        folder.write("p.pro", QByteArray(829 * 2 + 100, 'x'));
        TArchivio archive(folder.file("p.pro"), 829);
        QCOMPARE(archive.Count(), qint64(2));
        archive.Seek(2);
        QByteArray bytes;
        QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.Read(bytes));
        QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.Seek(3));
    }

    void unopenableArchiveRaisesAndIsNotReplaced()
    {
        TempProgramFolder folder;
        QDir(folder.path()).mkdir("Eventi.pro"); // a folder in the file's place
        QVERIFY_THROWS_EXCEPTION(ArchiveError, TArchivio(folder.file("Eventi.pro"), 3645));
        QVERIFY(QFileInfo(folder.file("Eventi.pro")).isDir());

        if (geteuid() != 0) { // root ignores file permissions
            folder.write("ro.pro", QByteArray(829, 'k'));
            QFile::setPermissions(folder.file("ro.pro"), QFile::ReadOwner);
            QVERIFY_THROWS_EXCEPTION(ArchiveError, TArchivio(folder.file("ro.pro"), 829));
            QCOMPARE(folder.read("ro.pro"), QByteArray(829, 'k'));
        }
        QVERIFY_THROWS_EXCEPTION(ArchiveError, TArchivio(folder.file("nofolder/x.pro"), 829));
    }

    void recordsAreAddedOnlyByAppend()
    {
        // A position taken at the end before another desk appended must not
        // become that desk's record: a Write() there is refused and writes
        // nothing; Append() takes its place under the lock.
        TempProgramFolder folder;
        const QString path = folder.file("p.pro");
        TArchivio mine(path, 829);
        mine.Seek(mine.Count()); // a new card, about to be saved
        {
            TArchivio other(path, 829); // another desk saves first
            QCOMPARE(other.Append(filled('b')), qint64(1));
        }
        QVERIFY_THROWS_EXCEPTION(ArchiveError, mine.Write(filled('a')));
        QCOMPARE(fileBytes(path), filled('b'));
        QCOMPARE(mine.Append(filled('a')), qint64(2)); // the number actually written
        QCOMPARE(mine.Position(), qint64(2));
        mine.Seek(mine.Count());
        QVERIFY_THROWS_EXCEPTION(ArchiveError, mine.Write(filled('x'))); // the end, with nobody else
        mine.Seek(0);
        mine.Write(filled('B')); // an overwrite stays in place
        QCOMPARE(mine.Position(), qint64(1));
        mine.Close();
        QCOMPARE(fileBytes(path), filled('B') + filled('a'));
        QVERIFY(writeEndedCleanly(path));
    }

    void appendOfSeveralRecordsIsWholeOrNothing()
    {
        TempProgramFolder folder;
        const QString path = folder.file("p.pro");
        folder.write("p.pro", filled('x') + "torn");
        TArchivio archive(path, 829);
        QCOMPARE(archive.Append(filled('a') + filled('b')), qint64(3)); // the torn tail is no record
        QCOMPARE(fileBytes(path), filled('x') + filled('a') + filled('b'));
        {
            FailingWrites failing(1, 829 + 100);
            QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.Append(filled('c') + filled('d')));
        }
        QCOMPARE(fileBytes(path), filled('x') + filled('a') + filled('b'));
        QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.Append(QByteArray(829 + 1, 'e')));
        QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.Write(filled('f') + filled('g')));
        QCOMPARE(archive.Count(), qint64(3));
    }

    // An import too large to hold in memory hands its records over block by
    // block: still one write, all or nothing.
    void streamedAppendIsWholeOrNothing_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::newRow("disk full in the second block") << "disk";
        QTest::newRow("the source fails part-way") << "source";
        QTest::newRow("a block of the wrong length") << "length";
    }
    void streamedAppendIsWholeOrNothing()
    {
        QFETCH(QString, failure);
        TempProgramFolder folder;
        const QString path = folder.file("p.pro");
        folder.write("p.pro", filled('x') + "torn");
        TArchivio archive(path, 829);
        const QList<QByteArray> blocks{filled('a') + filled('b'), filled('c'), filled('d') + filled('e')};
        const auto blocksOf = [](QList<QByteArray> list) {
            return [list](QByteArray &block) mutable {
                if (list.isEmpty())
                    return false;
                block = list.takeFirst();
                return true;
            };
        };
        QCOMPARE(archive.Append(blocksOf(blocks)), qint64(6)); // the torn tail is no record
        const QByteArray stored = filled('x') + blocks.join();
        QCOMPARE(fileBytes(path), stored);
        QCOMPARE(archive.Count(), qint64(6));

        if (failure == "disk") {
            FailingWrites failing(2, 100);
            QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.Append(blocksOf(blocks)));
            QCOMPARE(failing.journalWrites, 1);
        } else if (failure == "source") {
            int calls = 0;
            QVERIFY_THROWS_EXCEPTION(std::runtime_error, archive.Append([&](QByteArray &block) {
                if (++calls == 3)
                    throw std::runtime_error("cancelled");
                block = filled('n');
                return true;
            }));
        } else {
            QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.Append(blocksOf({filled('n'), QByteArray(100, 'n')})));
        }
        QCOMPARE(fileBytes(path), stored);
        QVERIFY(writeEndedCleanly(path));
        QCOMPARE(archive.Append(blocksOf({})), qint64(6));
        QCOMPARE(fileBytes(path), stored);
    }

    void writeStoppingPartWayLosesNoStoredRecord_data()
    {
        QTest::addColumn<int>("index");  // -1: append
        QTest::addColumn<qint64>("limit");
        QTest::newRow("append, nothing written") << -1 << qint64(0);
        QTest::newRow("append, half a record") << -1 << qint64(400);
        QTest::newRow("append, all but one byte") << -1 << qint64(828);
        QTest::newRow("overwrite first, one byte") << 0 << qint64(1);
        QTest::newRow("overwrite middle, half") << 1 << qint64(400);
        QTest::newRow("overwrite last, all but one byte") << 2 << qint64(828);
    }
    void writeStoppingPartWayLosesNoStoredRecord()
    {
        QFETCH(int, index);
        QFETCH(qint64, limit);
        TempProgramFolder folder;
        const QString path = folder.file("p.pro");
        const QByteArray before = filled('a') + filled('b') + filled('c');
        folder.write("p.pro", before);
        TArchivio archive(path, 829);
        const auto write = [&] {
            if (index < 0) {
                archive.Append(filled('n'));
            } else {
                archive.Seek(index);
                archive.Write(filled('n'));
            }
        };
        {
            FailingWrites failing(1, limit);
            QVERIFY_THROWS_EXCEPTION(ArchiveError, write());
            QCOMPARE(failing.calls, index < 0 ? 1 : 2); // an overwrite puts the old bytes back
            QCOMPARE(failing.journalWrites, 1);
        }
        QCOMPARE(fileBytes(path), before);
        QCOMPARE(archive.Count(), qint64(3));
        QVERIFY(writeEndedCleanly(path));
        write(); // the archive still works
        QCOMPARE(archive.Count(), qint64(index < 0 ? 4 : 3));
    }

    void fileCutOrRemovedBeforeTheWriteIsReported()
    {
        TempProgramFolder folder;
        const QString path = folder.file("p.pro");
        folder.write("p.pro", filled('a') + filled('b'));
        TArchivio archive(path, 829);
        archive.Seek(1);
        folder.write("p.pro", filled('z')); // replaced by a shorter file
        QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.Write(filled('c')));
        QCOMPARE(fileBytes(path), filled('z'));
        QFile::remove(path);
        QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.Append(filled('c')));
        QVERIFY(!QFile::exists(path));
    }

    void lockHeldElsewhereEndsTheWrite()
    {
        TempProgramFolder folder;
        const QString path = folder.file("p.pro");
        folder.write("p.pro", filled('a'));
        ArchiveLock other(path); // another desk in the middle of a write
        QVERIFY(other.acquire(0));
        QVERIFY(ArchiveLock::heldElsewhere(path));
        TArchivio::setLockTimeout(300);
        TArchivio archive(path, 829);
        QElapsedTimer waited;
        waited.start();
        QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.Append(filled('b')));
        QVERIFY(waited.elapsed() >= 250);
        archive.Seek(0);
        QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.Write(filled('b')));
        QCOMPARE(fileBytes(path), filled('a'));
        other.release();
        QVERIFY(!ArchiveLock::heldElsewhere(path));
        QCOMPARE(archive.Append(filled('b')), qint64(2));
        TArchivio::setLockTimeout(-1);
        QCOMPARE(TArchivio::lockTimeout(), 5000);
    }

    void overwriteIfUnchanged()
    {
        TempProgramFolder folder;
        const QString path = folder.file("p.pro");
        folder.write("p.pro", filled('a') + filled('b'));
        TArchivio archive(path, 829);
        archive.Seek(1);
        QVERIFY(archive.WriteIfUnchanged(filled('c'), filled('b')));
        QCOMPARE(archive.Position(), qint64(2));
        archive.Seek(1);
        QVERIFY(!archive.WriteIfUnchanged(filled('d'), filled('b'))); // changed meanwhile
        QCOMPARE(archive.Position(), qint64(1));
        QCOMPARE(fileBytes(path), filled('a') + filled('c'));
        QVERIFY(archive.WriteIfUnchanged(filled('c'), filled('b'))); // already what we would write
        archive.Seek(2);
        QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.WriteIfUnchanged(filled('e'), filled('b')));
        QCOMPARE(fileBytes(path), filled('a') + filled('c'));
    }

    void readOnlyArchiveOpensForReading_data()
    {
        QTest::addColumn<bool>("folderReadOnly");
        QTest::newRow("file read-only") << false;
        QTest::newRow("read-only share") << true;
    }
    void readOnlyArchiveOpensForReading()
    {
        QFETCH(bool, folderReadOnly);
        TempProgramFolder folder;
        const QString path = folder.file("p.pro");
        folder.write("p.pro", filled('a') + filled('b'));
        qvtest::ReadOnly file(path);
        std::unique_ptr<qvtest::ReadOnly> share;
        if (folderReadOnly)
            share = std::make_unique<qvtest::ReadOnly>(folder.path());
        if (!file.ok() || (share && !share->ok()))
            QSKIP("this file system cannot make files read-only");

        QVERIFY_THROWS_EXCEPTION(ArchiveError, TArchivio(path, 829));
        TArchivio archive(path, 829, TArchivio::Access::Read);
        QVERIFY(archive.isReadOnly());
        QCOMPARE(archive.Count(), qint64(2));
        archive.Seek(1);
        QByteArray bytes;
        archive.Read(bytes);
        QCOMPARE(bytes, filled('b'));
        QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.Append(filled('c')));
        archive.Seek(0);
        QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.Write(filled('c')));
        archive.Close();
        QCOMPARE(fileBytes(path), filled('a') + filled('b'));
        // A missing archive is created where the folder allows it, and only there.
        if (folderReadOnly) {
            QVERIFY_THROWS_EXCEPTION(ArchiveError, TArchivio(folder.file("q.pro"), 829, TArchivio::Access::Read));
            QVERIFY(!QFile::exists(folder.file("q.pro")));
        } else {
            TArchivio created(folder.file("q.pro"), 829, TArchivio::Access::Read);
            QVERIFY(!created.isReadOnly());
            QVERIFY(QFile::exists(folder.file("q.pro")));
        }
    }

    // What a desk that died part-way leaves: the archive torn as it was on
    // the disk, and its journal, complete or cut.
    void interruptedWriteIsUndoneByTheNextWrite_data()
    {
        QTest::addColumn<QByteArray>("torn");     // the archive as the dead desk left it
        QTest::addColumn<QByteArray>("journal");  // its journal
        QTest::addColumn<QByteArray>("expected"); // the archive before the next write
        const QByteArray abc = filled('a') + filled('b') + filled('c');
        const auto journal = [](qint64 oldSize, qint64 offset, const QByteArray &old) {
            return ArchiveJournal{oldSize, offset, old}.encode();
        };
        const QByteArray overwrite = journal(3 * 829, 829, filled('b'));
        QTest::newRow("overwrite cut half-way: old record back")
            << filled('a') + filled('n', 400) + filled('b', 429) + filled('c') << overwrite << abc;
        QTest::newRow("append of two cut: none of them kept")
            << abc + filled('n', 829 + 300) << journal(3 * 829, 3 * 829, {}) << abc;
        QTest::newRow("append over a torn tail: the tail back")
            << filled('a') + filled('n', 829 + 10) << journal(829 + 100, 829, filled('t', 100))
            << filled('a') + filled('t', 100);
        QTest::newRow("journal cut while written: nothing to undo")
            << abc << overwrite.left(overwrite.size() - 1) << abc;
        QTest::newRow("journal with a wrong hash: nothing to undo")
            << abc << QByteArray(overwrite).replace(40, 1, "z") << abc;
        QTest::newRow("empty journal") << abc << QByteArray() << abc;
    }
    void interruptedWriteIsUndoneByTheNextWrite()
    {
        QFETCH(QByteArray, torn);
        QFETCH(QByteArray, journal);
        QFETCH(QByteArray, expected);
        for (const bool byOpen : {false, true}) {
            TempProgramFolder folder;
            const QString path = folder.file("p.pro");
            std::unique_ptr<TArchivio> archive;
            {
                ArchiveLock dying(path); // the dead desk's lock, as long as it lived
                QVERIFY(dying.acquire(0));
                folder.write("p.pro", torn);
                folder.write("p.pro.journal", journal);
                if (!byOpen)
                    archive = std::make_unique<TArchivio>(path, 829); // opened meanwhile: leaves it be
                QCOMPARE(fileBytes(path), torn);
            }
            if (byOpen) { // a desk that opens the archive afterwards reads the old state
                archive = std::make_unique<TArchivio>(path, 829);
                QCOMPARE(fileBytes(path), expected);
                QVERIFY(!QFile::exists(TArchivio::journalPath(path)));
            }
            archive->Append(filled('d'));
            archive->Close();
            QCOMPARE(fileBytes(path), expected.left(expected.size() / 829 * 829) + filled('d'));
            QVERIFY(writeEndedCleanly(path));
        }
    }

    // A reader that may not undo a write a desk left half done (a read-only
    // share, or another desk's write going on) reads the archive as the
    // journal says it was before that write, and changes nothing.
    void readerThatMayNotUndoReadsTheStateBefore_data() { interruptedWriteIsUndoneByTheNextWrite_data(); }
    void readerThatMayNotUndoReadsTheStateBefore()
    {
        QFETCH(QByteArray, torn);
        QFETCH(QByteArray, journal);
        QFETCH(QByteArray, expected);
        const QByteArray whole = expected.left(expected.size() / 829 * 829);
        for (const bool readOnlyShare : {false, true}) {
            TempProgramFolder folder;
            const QString path = folder.file("p.pro");
            folder.write("p.pro", torn);
            folder.write("p.pro.journal", journal);
            ArchiveLock writing(path);
            std::unique_ptr<qvtest::ReadOnly> file, share;
            if (readOnlyShare) {
                file = std::make_unique<qvtest::ReadOnly>(path);
                share = std::make_unique<qvtest::ReadOnly>(folder.path());
                if (!file->ok() || !share->ok())
                    QSKIP("this file system cannot make files read-only");
            } else {
                QVERIFY(writing.acquire(0));
            }
            TArchivio archive(path, 829, TArchivio::Access::Read);
            QCOMPARE(archive.Count(), qint64(whole.size() / 829));
            QByteArray all;
            archive.ReadBlock(all, 100);
            QCOMPARE(all, whole);
            if (archive.Count() > 1) { // one record at a time too, across the saved bytes
                archive.Seek(1);
                QByteArray second;
                archive.Read(second);
                QCOMPARE(second, whole.mid(829, 829));
            }
            QCOMPARE(fileBytes(path), torn);
            QCOMPARE(fileBytes(TArchivio::journalPath(path)), journal);
        }
    }

    void interruptedWriteIsUndoneOnRequest()
    {
        TempProgramFolder folder;
        const QString path = folder.file("p.pro");
        folder.write("p.pro", filled('a') + filled('n', 100));
        QCOMPARE(TArchivio::recoverInterruptedWrite(path), TArchivio::Recovery::Nothing);
        folder.write("p.pro.journal", ArchiveJournal{829, 829, {}}.encode());
        QCOMPARE(TArchivio::recoverInterruptedWrite(path), TArchivio::Recovery::RolledBack);
        QCOMPARE(fileBytes(path), filled('a'));
        folder.write("p.pro.journal", "QVJ1");
        QCOMPARE(TArchivio::recoverInterruptedWrite(path), TArchivio::Recovery::Discarded);
        QVERIFY(!QFile::exists(TArchivio::journalPath(path)));
        QCOMPARE(fileBytes(path), filled('a'));
        // Under another desk's write its journal is its own: not touched.
        folder.write("p.pro.journal", ArchiveJournal{0, 0, {}}.encode());
        ArchiveLock other(path);
        QVERIFY(other.acquire(0));
        TArchivio::setLockTimeout(100);
        QVERIFY_THROWS_EXCEPTION(ArchiveError, TArchivio::recoverInterruptedWrite(path));
        bool ran = false;
        QVERIFY_THROWS_EXCEPTION(ArchiveError, TArchivio::underWriteLock(path, [&] { ran = true; }));
        QVERIFY(!ran);
        TArchivio::setLockTimeout(-1);
        { TArchivio reader(path, 829, TArchivio::Access::Read); }
        QCOMPARE(fileBytes(path), filled('a'));
        QVERIFY(QFile::exists(TArchivio::journalPath(path)));
        // Work under the lock starts from a consistent archive.
        other.release();
        folder.write("p.pro.journal", ArchiveJournal{829, 829, {}}.encode());
        folder.write("p.pro", filled('a') + filled('x', 50));
        TArchivio::underWriteLock(path, [&] {
            ran = ArchiveLock::heldElsewhere(path) && fileBytes(path) == filled('a');
        });
        QVERIFY(ran);
        QVERIFY(writeEndedCleanly(path));
    }

    void journalThatCannotBeWrittenRefusesTheWrite_data()
    {
        QTest::addColumn<int>("index"); // -1: append
        QTest::addColumn<qint64>("limit");
        QTest::newRow("append, journal not written at all") << -1 << qint64(-1);
        QTest::newRow("overwrite, journal cut") << 1 << qint64(20);
    }
    void journalThatCannotBeWrittenRefusesTheWrite()
    {
        QFETCH(int, index);
        QFETCH(qint64, limit);
        TempProgramFolder folder;
        const QString path = folder.file("p.pro");
        const QByteArray before = filled('a') + filled('b');
        folder.write("p.pro", before);
        TArchivio archive(path, 829);
        int archiveWrites = 0;
        TArchivio::setWriteHook([&](QFile &file, const char *data, qint64 size) -> qint64 {
            if (!isJournal(file)) {
                ++archiveWrites;
                return file.write(data, size);
            }
            if (limit > 0)
                file.write(data, std::min(size, limit));
            return -1;
        });
        if (index < 0) {
            QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.Append(filled('n')));
        } else {
            archive.Seek(index);
            QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.Write(filled('n')));
        }
        TArchivio::setWriteHook({});
        QCOMPARE(archiveWrites, 0);
        QCOMPARE(fileBytes(path), before);
        QVERIFY(writeEndedCleanly(path));
        if (geteuid() != 0) { // root ignores file permissions
            // A folder where no journal can be created refuses the write too.
            QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner);
            QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.Append(filled('n')));
            QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QCOMPARE(fileBytes(path), before);
        }
    }

    void independentReaderFindsFieldsAtTheirOffsets()
    {
        TempProgramFolder folder;
        TSchedaEvento e;
        e.setText("Titolo", QString(70, 'T'));
        e.setText("DataInizio", "01/02/2027");
        e.setText("Quota", "0,00");
        e.setText("Iban", "IT60X0542811101000000123456");
        e.setText("Posti", "120");
        e.setYesNo("Completo", true);
        e.setText("Desc03", "ultimo");
        {
            TArchivio archive(TSchedaEvento::archivePath(), TSchedaEvento::layout().size());
            archive.Append(e);
        }
        const QByteArray file = folder.read("Eventi.pro");
        QCOMPARE(file.size(), 3645);
        QCOMPARE(qvtest::countedAt(file, 0), QByteArray(50, 'T'));
        QCOMPARE(qvtest::countedAt(file, 604), QByteArray("01/02/2027"));
        QCOMPARE(qvtest::countedAt(file, 1707), QByteArray("0,00"));
        QCOMPARE(qvtest::countedAt(file, 1774), QByteArray("IT60X0542811101000000123456"));
        QCOMPARE(qvtest::countedAt(file, 2131), QByteArray("120"));
        QCOMPARE(file.mid(2136, 3), QByteArray("\x02\x53\xEC"));
        QCOMPARE(qvtest::countedAt(file, 3394), QByteArray("ultimo"));
        QCOMPARE(qvtest::countedAt(file, 51), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestArchive)
#include "tst_archive.moc"
