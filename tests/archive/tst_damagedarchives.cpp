// Archives damaged by other tools or by a crash (sizes that are no multiple of
// the record length, length bytes above the declared length, yes/no fields
// holding anything, random bytes) run through the readers, the card display
// and the list lines. Nothing may crash or read outside the record; the
// sanitizer build runs this too.
#include "archive/fields.h"
#include "archive/records.h"
#include "archive/tarchivio.h"
#include "core/programfolder.h"
#include "events/tfrmregistro.h"
#include "output/eventlists.h"
#include "output/listscan.h"
#include "support/testsupport.h"
#include "ui/cardbinding.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QVBoxLayout>
#include <QtTest>

using namespace qv;

namespace {

const RecordLayout &layoutOf(int kind)
{
    return kind == 0 ? TSchedaEvento::layout() : kind == 1 ? TSchedaPartecipante::layout() : TSchedaPrenotazione::layout();
}

bool isYesNo(const QString &field)
{
    return field == "Completo" || field == "Ricontatta" || field == "DaConfermare";
}

QString randomText(QRandomGenerator &random, int maxLength)
{
    static const QString alphabet = QStringLiteral(
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ,.;:/'-\u00E0\u00E8\u00E9\u00EC\u00F2\u00F9"
        "\u00C8\u20AC\u201C\u201D\t\r\n\x01\x1F");
    QString text;
    const int length = int(random.bounded(maxLength + 1));
    for (int i = 0; i < length; ++i)
        text.append(alphabet.at(int(random.bounded(int(alphabet.size())))));
    return text;
}

// A file of well-formed records, then damaged: length bytes set anywhere up
// to 255, yes/no fields and single bytes overwritten, the end cut or extended.
QByteArray mutatedArchive(QRandomGenerator &random, const RecordLayout &layout)
{
    QByteArray file;
    const int records = int(random.bounded(6));
    for (int r = 0; r < records; ++r) {
        Record record(layout);
        for (const auto &field : layout.fields()) {
            if (isYesNo(field.name))
                record.setYesNo(field.name, random.bounded(2) == 1);
            else
                record.setText(field.name, randomText(random, std::min(field.length + 10, 60)));
        }
        file += record.bytes();
    }
    const int mutations = int(random.bounded(12));
    for (int m = 0; m < mutations && !file.isEmpty(); ++m) {
        const auto &field = layout.field(int(random.bounded(layout.fieldCount())));
        const qint64 base = qint64(random.bounded(int(file.size() / layout.size() + 1))) * layout.size();
        const qint64 at = base + field.offset;
        switch (random.bounded(5)) {
        case 0: // a length byte above the declared length
            if (at < file.size())
                file[at] = char(field.length + 1 + random.bounded(255 - field.length));
            break;
        case 1: // a yes/no field or any field holding anything
            for (int i = 0; i <= field.length && at + i < file.size(); ++i)
                file[at + i] = char(random.bounded(256));
            break;
        case 2: // one byte anywhere
            file[random.bounded(int(file.size()))] = char(random.bounded(256));
            break;
        case 3: // a torn end
            file.truncate(random.bounded(int(file.size()) + 1));
            break;
        default: // bytes after the last record
            for (int i = int(random.bounded(layout.size())); i > 0; --i)
                file.append(char(random.bounded(256)));
            break;
        }
    }
    return file;
}

QByteArray randomArchive(QRandomGenerator &random, const RecordLayout &layout)
{
    QByteArray file(int(random.bounded(layout.size() * 4)), '\0');
    for (char &c : file)
        c = char(random.bounded(256));
    if (random.bounded(3) == 0) // every length byte at its worst
        for (qint64 r = 0; r * layout.size() < file.size(); ++r)
            for (const auto &field : layout.fields())
                if (r * layout.size() + field.offset < file.size())
                    file[r * layout.size() + field.offset] = char(255);
    return file;
}

QList<QByteArray> corpus(int kind, int size)
{
    QRandomGenerator random(quint32(20261210 + kind));
    QList<QByteArray> files;
    for (int i = 0; i < size; ++i)
        files.append(i % 3 == 0 ? randomArchive(random, layoutOf(kind)) : mutatedArchive(random, layoutOf(kind)));
    return files;
}

// A card with a control for every field of a layout, as the workspaces name them.
class GenericCard : public QWidget
{
public:
    explicit GenericCard(const RecordLayout &layout)
    {
        auto *column = new QVBoxLayout(this);
        for (const auto &field : layout.fields()) {
            QWidget *control;
            if (isYesNo(field.name)) {
                control = new QCheckBox(this);
                control->setObjectName("chk" + field.name);
            } else {
                auto *box = new QLineEdit(this);
                box->setMaxLength(field.length);
                control = box;
                control->setObjectName("txt" + field.name);
            }
            column->addWidget(control);
        }
        binding = std::make_unique<CardBinding>(this, layout);
    }
    std::unique_ptr<CardBinding> binding;
};

} // namespace

class TestDamagedArchives : public QObject
{
    Q_OBJECT
private slots:
    void readersStayInsideEveryRecord_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("events") << 0;
        QTest::newRow("participants") << 1;
        QTest::newRow("reservations") << 2;
    }
    void readersStayInsideEveryRecord()
    {
        QFETCH(int, kind);
        const RecordLayout &layout = layoutOf(kind);
        qvtest::TempProgramFolder folder;
        const QString path = folder.file("Danneggiato.pro");
        GenericCard card(layout);
        const FilterRule anything({{0, "a"}, {layout.fieldCount() - 1, "\u00EC"}});
        ListSource source;
        source.layout = &layout;
        source.archivePath = [&] { return path; };
        source.lines = kind == 0 ? EventLists::lines()
                                 : LineLayout(layout, {{"", layout.field(0).name.toLatin1().constData(), 30},
                                                       {" - ", layout.field(1).name.toLatin1().constData(), LineLayout::kTrimmed}});
        int records = 0;
        for (const QByteArray &file : corpus(kind, 400)) {
            folder.write("Danneggiato.pro", file);
            const qint64 count = file.size() / layout.size();
            TArchivio archive(path, layout.size(), TArchivio::Access::Read);
            QCOMPARE(archive.Count(), count);
            QByteArray block;
            QCOMPARE(archive.ReadBlock(block, count + 5), count);
            QCOMPARE(block, file.left(count * layout.size()));
            QVERIFY(archive.AtEnd());
            QByteArray bytes;
            QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.Read(bytes));
            QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.Seek(count + 1));
            archive.Seek(0);
            for (qint64 i = 0; i < count; ++i) {
                Record record(layout);
                archive.Read(record);
                QCOMPARE(record.bytes(), file.mid(i * layout.size(), layout.size()));
                const RecordView view(layout, block.constData() + i * layout.size());
                for (int f = 0; f < layout.fieldCount(); ++f) {
                    const QString text = record.text(f);
                    QVERIFY(text.size() <= layout.field(f).length);
                    QVERIFY(view.stored(f).size() <= layout.field(f).length);
                    QCOMPARE(view.text(f), text);
                    if (isYesNo(layout.field(f).name))
                        QCOMPARE(record.yesNo(layout.field(f).name).value_or(false), text == kYes);
                }
                card.binding->fromRecord(record);
                const QString line = displayLine(source.lines.line(view));
                QVERIFY(!line.contains('\n') && !line.contains('\r'));
                QVERIFY(anything.points(view) <= anything.filledCount());
                if (kind == 0)
                    EventLists::openForJoining(view, QDate(2026, 12, 10));
                ++records;
            }
            archive.Close();
            QCOMPARE(searchLines(source, FilterRule({})).size(), count);
            bool failed = true;
            listLines(source, [](const RecordView &) { return true; }, &failed);
            QVERIFY(!failed);
            if (count > 0) {
                const QString chosen = source.lines.line(RecordView(layout, file.constData()));
                QVERIFY(deliverChosen(source, chosen, [](const Record &, qint64) {}) >= 1);
            }
            QCOMPARE(folder.read("Danneggiato.pro"), file); // reading changes nothing
        }
        QVERIFY(records > 400);
    }

    void eventCardBrowsesDamagedArchives()
    {
        qvtest::TempProgramFolder folder;
        qvtest::MessageRecorder messages;
        TfrmRegistro card;
        auto *first = card.findChild<QAbstractButton *>("cmdPrimo");
        auto *next = card.findChild<QAbstractButton *>("cmdAvanti");
        auto *position = card.findChild<QLabel *>("lblPosizione");
        QVERIFY(first && next && position);
        for (const QByteArray &file : corpus(0, 60)) {
            folder.write("Eventi.pro", file);
            const qint64 count = file.size() / TSchedaEvento::layout().size();
            messages.clear();
            first->click();
            for (qint64 i = 1; i < count; ++i)
                next->click();
            if (count == 0) {
                QCOMPARE(messages.count(), 1);
                QCOMPARE(messages.last().text, QStringLiteral("L'archivio non contiene nessuna scheda."));
                continue;
            }
            QCOMPARE(messages.count(), 0);
            QCOMPARE(position->text(), QString::number(count));
            for (const QLineEdit *box : card.findChildren<QLineEdit *>())
                QVERIFY(box->text().size() <= box->maxLength());
        }
    }
};

QTEST_MAIN(TestDamagedArchives)
#include "tst_damagedarchives.moc"
