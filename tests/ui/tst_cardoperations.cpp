#include "archive/archivelock.h"
#include "archive/records.h"
#include "archive/tarchivio.h"
#include "support/testsupport.h"
#include "ui/cardoperations.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>

using namespace qv;
using qvtest::MessageRecorder;
using qvtest::TempProgramFolder;

namespace {

// A booking card with the controls the record names, built the way the
// workspaces build theirs.
class TestCard : public QWidget
{
public:
    TestCard()
    {
        auto *layout = new QVBoxLayout(this);
        for (const auto &f : TSchedaPrenotazione::layout().fields()) {
            QWidget *control = nullptr;
            if (f.name == "DaConfermare") {
                control = check = new QCheckBox(this);
                control->setObjectName("chk" + f.name);
            } else if (f.name == "Numero") {
                control = new QLabel(this);
                control->setObjectName("txt" + f.name);
                control->hide();
            } else if (f.name == "ProvRes") {
                auto *combo = new QComboBox(this);
                combo->setEditable(true);
                combo->addItems({"AG", "RM"});
                combo->setEditText(QString());
                control = combo;
                control->setObjectName("txt" + f.name);
            } else {
                control = new QLineEdit(this);
                control->setObjectName("txt" + f.name);
            }
            layout->addWidget(control);
        }
        box("Ubicazione")->setText("Sala A"); // an initial text
        lblPosizione = new QLabel(this);
        layout->addWidget(lblPosizione);
        CardConfig config;
        config.layout = &TSchedaPrenotazione::layout();
        config.archivePath = [] { return TSchedaPrenotazione::archivePath(1); };
        config.lblPosizione = lblPosizione;
        config.firstField = box("Cliente");
        config.checksBeforeSave = [this] { return !box("Cliente")->text().trimmed().isEmpty(); };
        config.beforeStore = [this] {
            findChild<QLabel *>("txtNumero")->setText(TSchedaPrenotazione::Numero(box("Posto")->text()));
        };
        config.clearForDuplicate = [this] {
            box("Posto")->clear();
            check->setChecked(false);
        };
        ops = new CardOperations(this, config);
    }
    ~TestCard() override { delete ops; }
    QLineEdit *box(const QString &field) { return findChild<QLineEdit *>("txt" + field); }
    QString pos() const { return lblPosizione->text(); }

    QLabel *lblPosizione;
    QCheckBox *check;
    CardOperations *ops;
};

QString archiveFile() { return TSchedaPrenotazione::archivePath(1); }

void writeRecords(const QStringList &names)
{
    TArchivio archive(archiveFile(), 829);
    for (const QString &name : names) {
        TSchedaPrenotazione r;
        r.setText("Cliente", name);
        r.setText("Posto", QString::number(archive.Count() + 1));
        r.setYesNo("DaConfermare", false);
        archive.Append(r);
    }
}

} // namespace

class TestCardOperations : public QObject
{
    Q_OBJECT
private slots:
    void navigationOnEmptyOrMissingArchive_data()
    {
        QTest::addColumn<int>("operation");
        QTest::newRow("first") << 0;
        QTest::newRow("last") << 1;
        QTest::newRow("next") << 2;
        QTest::newRow("previous") << 3;
    }
    void navigationOnEmptyOrMissingArchive()
    {
        QFETCH(int, operation);
        TempProgramFolder folder;
        MessageRecorder messages;
        TestCard card;
        card.box("Cliente")->setText("kept");
        switch (operation) {
        case 0: card.ops->First(); break;
        case 1: card.ops->Last(); break;
        case 2: card.ops->Next(); break;
        case 3: card.ops->Previous(); break;
        }
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().kind, MessageKind::Information);
        QCOMPARE(messages.last().text, QStringLiteral("L'archivio non contiene nessuna scheda."));
        QCOMPARE(card.pos(), QString());
        QCOMPARE(card.box("Cliente")->text(), QStringLiteral("kept"));
        QVERIFY(QFile::exists(archiveFile()));
        QCOMPARE(QFileInfo(archiveFile()).size(), 0);
    }

    void browsingStopsSilentlyAtTheEnds()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        writeRecords({"Uno", "Due", "Tre"});
        TestCard card;

        card.ops->Next(); // a new card stands before record 1
        QCOMPARE(card.pos(), QStringLiteral("1"));
        QCOMPARE(card.box("Cliente")->text(), QStringLiteral("Uno"));
        card.ops->Previous(); // on record 1: nothing
        QCOMPARE(card.pos(), QStringLiteral("1"));
        card.ops->Last();
        QCOMPARE(card.pos(), QStringLiteral("3"));
        QCOMPARE(card.box("Cliente")->text(), QStringLiteral("Tre"));
        card.ops->Next(); // on the last record: nothing
        QCOMPARE(card.pos(), QStringLiteral("3"));
        card.ops->Previous();
        QCOMPARE(card.pos(), QStringLiteral("2"));
        QCOMPARE(card.box("Cliente")->text(), QStringLiteral("Due"));
        card.ops->First();
        QCOMPARE(card.box("Cliente")->text(), QStringLiteral("Uno"));

        card.ops->NuovaScheda();
        QCOMPARE(card.pos(), QString());
        QCOMPARE(card.box("Cliente")->text(), QString());
        QCOMPARE(card.box("Ubicazione")->text(), QStringLiteral("Sala A"));
        card.ops->Previous(); // from a new card: record 1
        QCOMPARE(card.pos(), QStringLiteral("1"));
        QCOMPARE(messages.count(), 0);
    }

    void saveAppendsThenOverwrites()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        writeRecords({"1", "2", "3", "4", "5", "6", "7"});
        TestCard card;
        card.box("Cliente")->setText("  Nuova Persona  ");
        card.box("Posto")->setText("9");
        card.check->setChecked(true);
        card.ops->Save();
        QCOMPARE(card.pos(), QStringLiteral("8"));
        QCOMPARE(messages.last().kind, MessageKind::Information);
        QCOMPARE(messages.last().text, QStringLiteral("La scheda corrente è stata inserita in archivio."));

        card.box("Cliente")->setText("Cambiata");
        card.ops->Save();
        QCOMPARE(card.pos(), QStringLiteral("8"));
        QCOMPARE(messages.last().text,
                 QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio."));

        const QByteArray file = folder.read(TSchedaPrenotazione::archiveName(1));
        QCOMPARE(file.size(), 8 * 829);
        const QByteArray rec = file.mid(7 * 829, 829);
        QCOMPARE(qvtest::countedAt(rec, 0), QByteArray("Cambiata"));
        QCOMPARE(qvtest::countedAt(rec, 312), QByteArray("9"));
        QCOMPARE(qvtest::countedAt(rec, 318), QByteArray("00009"));
        QCOMPARE(qvtest::countedAt(rec, 324), QByteArray("Sala A"));
        QCOMPARE(rec.mid(826, 3), QByteArray("\x02\x53\xEC"));
    }

    void failedChecksStopTheSave()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        TestCard card;
        card.ops->Save();
        QCOMPARE(messages.count(), 0);
        QVERIFY(!QFile::exists(archiveFile()));
    }

    void loadLeavesCheckBoxOnUnknownYesNo()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        {
            TArchivio archive(archiveFile(), 829);
            TSchedaPrenotazione r;
            r.setText("Cliente", "Senza flag"); // DaConfermare left empty, as by another tool
            archive.Append(r);
        }
        TestCard card;
        card.check->setChecked(true);
        card.ops->First();
        QVERIFY(card.check->isChecked());
        QCOMPARE(card.box("Cliente")->text(), QStringLiteral("Senza flag"));
    }

    void duplicateNeedsAStoredCard()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        TestCard card;
        card.box("Cliente")->setText("Bozza");
        card.ops->Duplicate();
        QCOMPARE(messages.last().kind, MessageKind::Warning);
        QCOMPARE(messages.last().text,
                 QStringLiteral("Attenzione: la duplicazione di una scheda può avvenire soltanto dopo che questa è "
                                "stata inserita in archivio."));
        QCOMPARE(card.box("Cliente")->text(), QStringLiteral("Bozza"));

        writeRecords({"Anna"});
        card.ops->First();
        card.check->setChecked(true);
        card.ops->Duplicate();
        QCOMPARE(messages.last().kind, MessageKind::Information);
        QCOMPARE(messages.last().text, QStringLiteral("E' ora possibile apportare le proprie modifiche alla scheda "
                                                      "corrente.\n\r\n\rAl termine premere Salva per inserire la "
                                                      "scheda in archivio."));
        QCOMPARE(card.pos(), QString());
        QCOMPARE(card.box("Cliente")->text(), QStringLiteral("Anna"));
        QCOMPARE(card.box("Posto")->text(), QString());
        QVERIFY(!card.check->isChecked());
        card.ops->Save();
        QCOMPARE(card.pos(), QStringLiteral("2"));
    }

    void failingArchiveLeavesTheCardAsItWas()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        writeRecords({"Anna", "Bruno"});
        TestCard card;
        card.ops->Last();
        card.box("Cliente")->setText("modificata");
        // The archive is replaced by a folder: every operation fails to open it.
        QFile::remove(archiveFile());
        QDir(folder.path()).mkdir(TSchedaPrenotazione::archiveName(1));

        const auto expectFailure = [&](auto operation, MessageKind kind) {
            messages.clear();
            (card.ops->*operation)();
            QCOMPARE(messages.count(), 1);
            QCOMPARE(messages.last().kind, kind);
            QCOMPARE(messages.last().text, Messages::kArchiveAccess);
        };
        expectFailure(&CardOperations::Save, MessageKind::Error);
        QCOMPARE(card.pos(), QStringLiteral("2"));
        QCOMPARE(card.box("Cliente")->text(), QStringLiteral("modificata"));
        expectFailure(&CardOperations::First, MessageKind::Error);
        expectFailure(&CardOperations::Next, MessageKind::Error);
        expectFailure(&CardOperations::Previous, MessageKind::Error);
        expectFailure(&CardOperations::Last, MessageKind::Error);
        QCOMPARE(card.pos(), QStringLiteral("2"));
        QCOMPARE(card.box("Cliente")->text(), QStringLiteral("modificata"));
        QVERIFY(QFileInfo(archiveFile()).isDir());
        expectFailure(&CardOperations::Duplicate, MessageKind::Error);
        QCOMPARE(card.pos(), QString());
    }

    void saveOverACardChangedElsewhereAsks_data()
    {
        QTest::addColumn<bool>("overwrite");
        QTest::newRow("no keeps the other desk's data") << false;
        QTest::newRow("yes overwrites") << true;
    }
    void saveOverACardChangedElsewhereAsks()
    {
        QFETCH(bool, overwrite);
        TempProgramFolder folder;
        MessageRecorder messages;
        writeRecords({"Anna", "Bruno", "Carla"});
        TestCard card;
        card.ops->Last();
        card.ops->Previous(); // record 2 on screen
        card.box("Cliente")->setText("Bruno Rossi");
        card.ops->Save(); // unchanged on disk: saved without a question
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().text, CardOperations::kUpdated);
        card.box("Cliente")->setText("Bruno Bianchi");
        card.ops->Save(); // this desk's own save is no change by another desk
        QCOMPARE(messages.count(), 2);
        QCOMPARE(messages.last().kind, MessageKind::Information);

        // Another desk saves record 2 while this card shows it.
        {
            TArchivio other(archiveFile(), 829);
            TSchedaPrenotazione r;
            r.setText("Cliente", "Bruno dell'altra postazione");
            other.Seek(1);
            other.Write(r);
        }
        const QByteArray otherDesk = folder.read(TSchedaPrenotazione::archiveName(1));
        card.box("Cliente")->setText("Bruno Verdi");
        messages.clear();
        messages.answers = {overwrite};
        card.ops->Save();
        QCOMPARE(messages.messages.first().kind, MessageKind::Question);
        QCOMPARE(messages.messages.first().text,
                 QStringLiteral("Attenzione: la scheda è stata modificata da un'altra postazione dopo che è stata "
                                "aperta.\r\n\r\nSi vuole sovrascriverla con i dati correnti?"));
        QCOMPARE(card.pos(), QStringLiteral("2"));
        QCOMPARE(card.box("Cliente")->text(), QStringLiteral("Bruno Verdi"));
        const QByteArray file = folder.read(TSchedaPrenotazione::archiveName(1));
        QCOMPARE(file.size(), 3 * 829);
        if (!overwrite) {
            QCOMPARE(messages.count(), 1);
            QCOMPARE(file, otherDesk);
        } else {
            QCOMPARE(messages.count(), 2);
            QCOMPARE(messages.last().text, CardOperations::kUpdated);
            QCOMPARE(qvtest::countedAt(file.mid(829, 829), 0), QByteArray("Bruno Verdi"));
            QCOMPARE(file.left(829), otherDesk.left(829));
            QCOMPARE(file.mid(2 * 829), otherDesk.mid(2 * 829));
        }
    }

    void readOnlyArchiveCanBeBrowsedButNotSaved()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        writeRecords({"Anna", "Bruno"});
        const QByteArray before = folder.read(TSchedaPrenotazione::archiveName(1));
        qvtest::ReadOnly file(archiveFile());
        if (!file.ok())
            QSKIP("this file system cannot make files read-only");
        TestCard card;
        card.ops->Last();
        QCOMPARE(card.pos(), QStringLiteral("2"));
        QCOMPARE(card.box("Cliente")->text(), QStringLiteral("Bruno"));
        QCOMPARE(messages.count(), 0);
        card.box("Cliente")->setText("Bruno Neri");
        card.ops->Save();
        card.ops->NuovaScheda();
        card.box("Cliente")->setText("Nuova");
        card.ops->Save();
        QCOMPARE(messages.count(), 2);
        QCOMPARE(messages.messages.at(0).text, Messages::kArchiveAccess);
        QCOMPARE(messages.messages.at(1).kind, MessageKind::Error);
        QCOMPARE(messages.messages.at(1).text, Messages::kArchiveAccess);
        QCOMPARE(card.pos(), QString());
        QCOMPARE(folder.read(TSchedaPrenotazione::archiveName(1)), before);
    }

    void archiveLockedByAnotherDeskEndsTheSave()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        writeRecords({"Anna"});
        ArchiveLock other(archiveFile());
        QVERIFY(other.acquire(0));
        TArchivio::setLockTimeout(200);
        TestCard card;
        card.box("Cliente")->setText("Nuova");
        card.ops->Save();
        TArchivio::setLockTimeout(-1);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().kind, MessageKind::Error);
        QCOMPARE(messages.last().text, Messages::kArchiveAccess);
        QCOMPARE(card.pos(), QString());
        QCOMPARE(QFileInfo(archiveFile()).size(), 829);
    }

    void failedSaveLeavesTheRecordWhole()
    {
        // The write stops part-way: the card stays as it was and so does the record.
        TempProgramFolder folder;
        MessageRecorder messages;
        writeRecords({"Anna", "Bruno"});
        const QByteArray before = folder.read(TSchedaPrenotazione::archiveName(1));
        TestCard card;
        card.ops->First();
        card.box("Cliente")->setText("Anna Blu");
        int calls = 0;
        TArchivio::setWriteHook([&](QFile &file, const char *data, qint64 size) -> qint64 {
            if (file.fileName().endsWith(QLatin1String(".journal")) || ++calls > 1)
                return file.write(data, size);
            file.write(data, size / 2);
            return -1;
        });
        card.ops->Save();
        TArchivio::setWriteHook({});
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().text, Messages::kArchiveAccess);
        QCOMPARE(card.pos(), QStringLiteral("1"));
        QCOMPARE(card.box("Cliente")->text(), QStringLiteral("Anna Blu"));
        QCOMPARE(folder.read(TSchedaPrenotazione::archiveName(1)), before);
    }

    void saveOfARecordMissingFromTheArchiveFails()
    {
        // The card shows record 5 but the file now holds 2 (replaced by another copy).
        TempProgramFolder folder;
        MessageRecorder messages;
        writeRecords({"Anna", "Bruno"});
        TestCard card;
        card.box("Cliente")->setText("Zeta");
        card.lblPosizione->setText("5");
        card.ops->Save();
        QCOMPARE(messages.last().text, Messages::kArchiveAccess);
        QCOMPARE(card.pos(), QStringLiteral("5"));
        QCOMPARE(QFileInfo(archiveFile()).size(), 2 * 829);
    }
};

QTEST_MAIN(TestCardOperations)
#include "tst_cardoperations.moc"
