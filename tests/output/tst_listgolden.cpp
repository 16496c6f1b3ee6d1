// Every summary list on generated archives of a few thousand records, line
// for line against the list rules written out again plainly in this file:
// the lines (labels, columns cut and padded, trim of codes <= 32, the code
// page), their order (a-z read as A-Z and nothing else folded, a line that
// begins another first, equal lines in archive order), the filter rule and
// the double-click's way back from a line to its records. The archives hold
// what other programs leave behind: accents, the code page's punctuation and
// its undefined bytes, mixed case, equal lines, blanks, control characters,
// length bytes past the declared length and garbage after the text.
#include "archive/records.h"
#include "core/programfolder.h"
#include "output/eventlists.h"
#include "output/fixtures.h"
#include "output/listlines.h"
#include "output/listscan.h"
#include "output/pageoutput.h"
#include "output/summarylistwindow.h"
#include "participants/participantlists.h"
#include "reservations/reservationlists.h"
#include "support/testsupport.h"

#include <QCryptographicHash>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QtTest>

#include <algorithm>
#include <map>

using namespace qv;
using qvtest::Fields;

namespace {

// ---- The rules, plainly ------------------------------------------------

int offsetOf(const Fields &fields, const QString &name, int *declared = nullptr)
{
    int offset = 0;
    for (const auto &[field, length] : fields) {
        if (field == name) {
            if (declared)
                *declared = length;
            return offset;
        }
        offset += 1 + length;
    }
    qFatal("no field %s", qPrintable(name));
}

// The text of a field as stored: the length byte clamped to the declared length.
QString stored(const QByteArray &record, const Fields &fields, const QString &name)
{
    int declared = 0;
    const int offset = offsetOf(fields, name, &declared);
    const int used = std::min<int>(uchar(record.at(offset)), declared);
    return qvtest::fromWindows1252(record.mid(offset + 1, used));
}

struct Part
{
    QString label;
    QString field;
    int width; // -1: the trimmed text as it is
};

QString lineOf(const QByteArray &record, const Fields &fields, const QList<Part> &parts)
{
    QString line;
    for (const Part &part : parts) {
        const QString text = qvtest::trimCodes(stored(record, fields, part.field));
        line += part.label + (part.width < 0 ? text : text.leftJustified(part.width, QLatin1Char(' '), true));
    }
    return line;
}

QStringList inListOrder(QStringList lines)
{
    std::stable_sort(lines.begin(), lines.end(), qvtest::listBefore);
    return lines;
}

// A box counts when its trimmed text is not empty; it scores when its text,
// as typed and lower-cased on A-Z, is in the stored field lower-cased the same way.
bool passesFilter(const QByteArray &record, const Fields &fields, const QList<QPair<QString, QString>> &boxes)
{
    int filled = 0, points = 0;
    for (const auto &[field, typed] : boxes) {
        if (qvtest::trimCodes(typed).isEmpty())
            continue;
        ++filled;
        if (qvtest::lowerAZ(stored(record, fields, field)).contains(qvtest::lowerAZ(typed)))
            ++points;
    }
    return points >= filled;
}

// ---- Archives as other programs leave them -----------------------------

class Generator
{
public:
    explicit Generator(quint64 seed) : m_state(seed) {}

    quint32 next()
    {
        m_state = m_state * 6364136223846793005ull + 1442695040888963407ull;
        return quint32(m_state >> 33);
    }
    int below(int n) { return int(next() % quint32(n)); }
    bool chance(int percent) { return below(100) < percent; }
    QByteArray pick(const QList<QByteArray> &pool) { return pool.at(below(int(pool.size()))); }

    QByteArray randomBytes(int size)
    {
        QByteArray bytes;
        for (int i = 0; i < size; ++i)
            bytes += char(below(256));
        return bytes;
    }

    // A text: words of every kind, cut or long, blanks and control characters
    // around or inside, mixed case, now and then plain garbage.
    QByteArray text()
    {
        static const QList<QByteArray> words{
            "Rossi", "ROSSI", "rossi", "Mario", "mario", "Alfa", "alfa", "ALFA", "Alf", "Alfa 2", "Zo\xEB",
            "R\xF2ssi", "R\xD2SSI", "Perch\xE9", "\x93" "Caff\xE8\x94", "\x80 150,00", "\x96", "\x97",
            "\x85", "\x81\x8D\x8F\x90\x9D", "\x8A\x9A\x8E\x9E\x9F\xFF", "\xC0\xE0", "zz", "ZZ", "_", "[", "a_b",
            "A`B", "a{b", "~", "0", "00", "9", "06 123", "S\xEC", "No", "a\tb", "x\r\ny", "\x01\x02", "\x7F",
            "\xA0" "nbsp", "\x1F", "convegno", "Convegno", "CONVEGNO", "energia", "sede 1", "Sede 1"};
        switch (below(10)) {
        case 0:
            return {};
        case 1:
            return QByteArray(1 + below(4), ' ');
        case 2:
            return randomBytes(below(14));
        case 3: { // longer than any column
            QByteArray longText;
            while (longText.size() < 60)
                longText += pick(words) + ' ';
            return longText;
        }
        default: {
            QByteArray joined;
            const int count = 1 + below(3);
            for (int i = 0; i < count; ++i) {
                if (i)
                    joined += chance(80) ? " " : (chance(50) ? "  " : "\t");
                joined += pick(words);
            }
            if (chance(15))
                joined.prepend(chance(50) ? " " : "\x09\x0A ");
            if (chance(15))
                joined.append(chance(50) ? "  " : "\r\n");
            return joined;
        }
        }
    }

    // One record: each field its length byte and declared bytes. Now and then
    // a length byte past the declared length (read as the declared length);
    // the bytes after the text are garbage that readers must ignore.
    QByteArray record(const Fields &fields, const QHash<QString, QByteArray> &values)
    {
        QByteArray bytes;
        for (const auto &[name, declared] : fields) {
            QByteArray text = values.value(name).left(declared);
            int lengthByte = int(text.size());
            if (declared < 255 && chance(3)) {
                text += randomBytes(declared - int(text.size()));
                lengthByte = declared + 1 + below(255 - declared);
            }
            bytes += char(lengthByte);
            bytes += text;
            bytes += randomBytes(declared - int(text.size()));
        }
        return bytes;
    }

    // Another record like `earlier`: the same bytes, or the same line reached
    // another way (other garbage, other case, other blanks around a text, other
    // characters past a column's width).
    QByteArray variant(QByteArray earlier, const Fields &fields, const QStringList &shown)
    {
        const QString field = shown.at(below(int(shown.size())));
        int declared = 0;
        const int offset = offsetOf(fields, field, &declared);
        const int used = std::min<int>(uchar(earlier.at(offset)), declared);
        switch (below(5)) {
        case 0:
            break; // the very same bytes
        case 1:
            for (int i = offset + 1 + used; i < offset + 1 + declared; ++i)
                earlier[i] = char(below(256));
            break;
        case 2:
            for (int i = offset + 1; i < offset + 1 + used; ++i) {
                const char c = earlier.at(i);
                if (c >= 'a' && c <= 'z')
                    earlier[i] = char(c - 32);
                else if (c >= 'A' && c <= 'Z')
                    earlier[i] = char(c + 32);
            }
            break;
        case 3:
            if (used + 2 <= declared) {
                const QByteArray text = " " + earlier.mid(offset + 1, used) + "\t";
                earlier[offset] = char(text.size());
                earlier.replace(offset + 1, text.size(), text);
            }
            break;
        case 4:
            if (used > 40)
                earlier[offset + used] = char(below(256));
            break;
        }
        return earlier;
    }

private:
    quint64 m_state;
};

QByteArray yesNo(Generator &g)
{
    return g.pick({"S\xEC", "S\xEC", "No", "No", "", "s\xEC", " S\xEC", "S\xEC ", "SI", "No ", "\tNo"});
}

// `count` records of `fields`; `special` gives the fields that need values of their own.
QByteArray archiveOf(Generator &g, const Fields &fields, int count, const QStringList &shown,
                     const std::function<void(QHash<QString, QByteArray> &)> &special)
{
    QList<QByteArray> records;
    for (int i = 0; i < count; ++i) {
        if (!records.isEmpty() && g.chance(18)) {
            records.append(g.variant(records.at(g.below(int(records.size()))), fields, shown));
            continue;
        }
        QHash<QString, QByteArray> values;
        for (const auto &[name, declared] : fields)
            if (shown.contains(name) || g.chance(20))
                values.insert(name, g.text());
        special(values);
        records.append(g.record(fields, values));
    }
    QByteArray bytes;
    for (const QByteArray &r : records)
        bytes += r;
    return bytes;
}

QByteArray eventsArchive(int count)
{
    Generator g(25);
    return archiveOf(g, qvtest::eventFields(), count, {"Titolo", "DataInizio", "DataFine", "Contatto", "RecapitoCon", "Quota"},
                     [&](QHash<QString, QByteArray> &v) {
                         v["DataSca"] = g.pick({"31/12/2030", "1/1/2031", "01/01/2001", " 31/12/2030 ", "", "31-12-2030",
                                                "xx/yy/zzzz", "31/12/30", "15/06/2025", "14/06/2025"});
                         v["Completo"] = yesNo(g);
                         if (g.chance(30))
                             v["DataInizio"] = g.pick({"01/02/2025", "1/2/2025", " 01/02/2025", "31/12/2024"});
                     });
}

QByteArray participantsArchive(int count)
{
    Generator g(1252);
    return archiveOf(g, qvtest::participantFields(), count,
                     {"Cliente", "Recapito", "Occupazione", "Prodotti", "Note", "Questioni"},
                     [&](QHash<QString, QByteArray> &v) { v["Ricontatta"] = yesNo(g); });
}

QByteArray reservationsArchive(int count)
{
    Generator g(100000);
    return archiveOf(g, qvtest::reservationFields(), count,
                     {"Cliente", "Recapito", "TelCel", "Posto", "Numero", "Ubicazione", "Annotazioni"},
                     [&](QHash<QString, QByteArray> &v) {
                         v["Posto"] = g.pick({"1", "01", "12", "A5", "a5", " 7 ", "", "   ", "\t", "99999", "1234567",
                                              "\x80", "b", "B"});
                         v["Numero"] = g.pick({"00001", "00012", "00012", "0000A", "", " 0001", "99999"});
                         v["DaConfermare"] = yesNo(g);
                     });
}

// ---- The lists ----------------------------------------------------------

struct Case
{
    Fields fields;
    QList<Part> parts;
    ListSource source;
    QString archiveName;
    QByteArray (*archive)(int);
    // The records listed: a filter search (boxes) or a record test.
    QList<QPair<QString, QString>> boxes;
    RecordTest test;
    bool filtered = false;
};

const QList<Part> kEventParts{{"", "Titolo", 44},          {"  Da: ", "DataInizio", 10}, {"  A: ", "DataFine", 10},
                              {"  Info: ", "Contatto", 28}, {"  Tel. ", "RecapitoCon", 15},
                              {QString::fromUtf8("  Quota: \u20AC "), "Quota", -1}};
const QList<Part> kParticipantHead{{"", "Cliente", 26},
                                   {"  Tel. ", "Recapito", 15},
                                   {"  ", "Occupazione", 25},
                                   {"  Prod. ", "Prodotti", 30}};
const QList<Part> kBookedParts{{"Posto n. ", "Numero", 5},  {"   ", "Cliente", 34}, {"  Tel. ", "Recapito", 22},
                               {"  Cel. ", "TelCel", 22}, {"  ", "Ubicazione", -1}};
const QList<Part> kPendingParts{{"", "Cliente", 30}, {"  Tel. ", "Recapito", 22}, {"  Cel. ", "TelCel", 22},
                                {"  Posto n. ", "Posto", -1}};
const QList<Part> kSearchParts{{"", "Cliente", 30},          {"  Tel. ", "Recapito", 22}, {"  Cel. ", "TelCel", 22},
                               {"  Posto n. ", "Posto", 5}, {"  Note: ", "Annotazioni", -1}};
// Not a list of the program: a layout that a column of free width ends early,
// with a label first and a column of no width.
const QList<Part> kOddParts{{"Da ", "Cliente", -1}, {" / ", "Posto", 3}, {"|", "Annotazioni", 0}, {" ", "Ubicazione", 4}};

QString reservations() { return ProgramFolder::file("Posti_Riservati_Evento_7.pro"); }

QMap<QString, Case> cases()
{
    const auto path = [] { return reservations(); };
    const QDate today(2025, 6, 15);
    QMap<QString, Case> all;
    all["event search"] = {qvtest::eventFields(), kEventParts, EventLists::source(), "Eventi.pro", eventsArchive, {}, {}, true};
    all["event search, boxes"] = {qvtest::eventFields(), kEventParts, EventLists::source(), "Eventi.pro", eventsArchive,
                                  {{"Titolo", "O"}, {"Contatto", "  "}, {"DataInizio", "/"}}, {}, true};
    all["events open for joining"] = {qvtest::eventFields(), kEventParts, EventLists::source(), "Eventi.pro", eventsArchive,
                                      {}, [today](const RecordView &r) { return EventLists::openForJoining(r, today); }};
    all["participant search"] = {qvtest::participantFields(), kParticipantHead + QList<Part>{{"  ", "Note", -1}},
                                 ParticipantLists::searchSource(), "Partecipanti.pro", participantsArchive, {}, {}, true};
    all["participant search, boxes"] = {qvtest::participantFields(), kParticipantHead + QList<Part>{{"  ", "Note", -1}},
                                        ParticipantLists::searchSource(), "Partecipanti.pro", participantsArchive,
                                        {{"Cliente", "r"}, {"Note", QStringLiteral("\u00E8")}, {"Zona", ""}}, {}, true};
    all["participants to recontact"] = {qvtest::participantFields(), kParticipantHead + QList<Part>{{"  ", "Questioni", -1}},
                                        ParticipantLists::recontactSource(), "Partecipanti.pro", participantsArchive, {},
                                        ParticipantLists::toRecontact};
    all["booked seats"] = {qvtest::reservationFields(), kBookedParts, ReservationLists::bookedSource(path), "",
                           reservationsArchive, {}, ReservationLists::isBooked};
    all["pending confirmations"] = {qvtest::reservationFields(), kPendingParts, ReservationLists::pendingSource(path), "",
                                    reservationsArchive, {}, ReservationLists::isPending};
    all["reservation search"] = {qvtest::reservationFields(), kSearchParts, ReservationLists::searchSource(path), "",
                                 reservationsArchive, {}, {}, true};
    all["reservation search, boxes"] = {qvtest::reservationFields(), kSearchParts, ReservationLists::searchSource(path),
                                        "", reservationsArchive, {{"Posto", "a"}, {"Cliente", "o"}}, {}, true};
    ListSource odd{&TSchedaPrenotazione::layout(), path,
                   LineLayout(TSchedaPrenotazione::layout(),
                              {{"Da ", "Cliente", LineLayout::kTrimmed}, {" / ", "Posto", 3}, {"|", "Annotazioni", 0},
                               {" ", "Ubicazione", 4}})};
    all["a free column first"] = {qvtest::reservationFields(), kOddParts, odd, "", reservationsArchive, {},
                                  [](const RecordView &) { return true; }};
    return all;
}

// The archive of a case, written once per test into the program folder.
QByteArray writeArchive(const Case &c, int count)
{
    const QByteArray bytes = c.archive(count);
    QFile file(c.archiveName.isEmpty() ? reservations() : ProgramFolder::file(c.archiveName));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write the archive");
    return bytes;
}

struct Expected
{
    QStringList lines;         // in list order
    QList<QString> unsorted;   // every record's line, archive order
    QList<bool> listed;        // whether each record is in the list
};

Expected expectedOf(const Case &c, const QByteArray &bytes)
{
    int size = 0;
    for (const auto &field : c.fields)
        size += 1 + field.second;
    Expected e;
    QStringList lines;
    for (qsizetype at = 0; at + size <= bytes.size(); at += size) {
        const QByteArray record = bytes.mid(at, size);
        const bool listed = c.filtered ? passesFilter(record, c.fields, c.boxes)
                                       : c.test(RecordView(*c.source.layout, record.constData()));
        e.unsorted.append(lineOf(record, c.fields, c.parts));
        e.listed.append(listed);
        if (listed)
            lines.append(e.unsorted.last());
    }
    e.lines = inListOrder(lines);
    return e;
}

QStringList listOf(const Case &c)
{
    if (!c.filtered)
        return listLines(c.source, c.test).toStringList();
    QList<FilterRule::Box> boxes;
    for (const auto &[field, typed] : c.boxes)
        boxes.append({c.source.layout->indexOf(field), typed});
    return searchLines(c.source, FilterRule(boxes)).toStringList();
}

QByteArray digest(const QStringList &lines)
{
    return QCryptographicHash::hash(lines.join(QLatin1Char('\n')).toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
}

// The record numbers (1-based, file order) whose line, trimmed, is `chosen` trimmed.
QList<qint64> recordsOf(const Expected &e, const QString &chosen)
{
    QList<qint64> numbers;
    for (qsizetype i = 0; i < e.unsorted.size(); ++i)
        if (qvtest::trimCodes(e.unsorted.at(i)) == qvtest::trimCodes(chosen))
            numbers.append(i + 1);
    return numbers;
}

// Lines worth double-clicking: the first and the last, the one most records
// share, one that another line equals but for case, one with a control
// character, one with the code page's punctuation.
QStringList linesToChoose(const QStringList &lines)
{
    QStringList chosen{lines.first(), lines.last(), lines.at(lines.size() / 2)};
    std::map<QString, int> copies;
    for (const QString &line : lines)
        ++copies[line];
    const auto most = std::max_element(copies.begin(), copies.end(),
                                       [](const auto &a, const auto &b) { return a.second < b.second; });
    chosen.append(most->first);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines.at(i) != lines.at(i - 1) && !qvtest::listBefore(lines.at(i - 1), lines.at(i))) {
            chosen.append(lines.at(i));
            break;
        }
    }
    for (const QString &line : lines) {
        if (std::any_of(line.begin(), line.end(), [](QChar c) { return c.unicode() < 32 && c != QLatin1Char(' '); })) {
            chosen.append(line);
            break;
        }
    }
    for (const QString &line : lines) {
        if (line.contains(QChar(0x201C)) || line.contains(QChar(0x2013))) {
            chosen.append(line);
            break;
        }
    }
    return chosen;
}

constexpr int kRecords = 3000;

} // namespace

class TestListGolden : public QObject
{
    Q_OBJECT
private slots:
    void listsAreTheRulesLineForLine_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("count");
        QTest::addColumn<QByteArray>("pinned"); // the lines as this program has always listed them
        QTest::newRow("event search") << "event search" << kRecords << QByteArray("59e6a823fdf2aaf7");
        QTest::newRow("event search, boxes") << "event search, boxes" << 286 << QByteArray("2c8d92e933b1842f");
        QTest::newRow("events open for joining") << "events open for joining" << 249 << QByteArray("d08caab498cb55e1");
        QTest::newRow("participant search") << "participant search" << kRecords << QByteArray("4f6624a28c14cedc");
        QTest::newRow("participant search, boxes") << "participant search, boxes" << 65 << QByteArray("08e6628ac7aa2d07");
        QTest::newRow("participants to recontact") << "participants to recontact" << 815 << QByteArray("57f164a3f4caf7fb");
        QTest::newRow("booked seats") << "booked seats" << 2333 << QByteArray("742c871dfeab53ca");
        QTest::newRow("pending confirmations") << "pending confirmations" << 806 << QByteArray("47bfdec2a504df77");
        QTest::newRow("reservation search") << "reservation search" << kRecords << QByteArray("94edb0dce91723cf");
        QTest::newRow("reservation search, boxes") << "reservation search, boxes" << 134 << QByteArray("33ab2e9aac51de56");
        QTest::newRow("a free column first") << "a free column first" << kRecords << QByteArray("0af0b965767ce33c");
    }
    void listsAreTheRulesLineForLine()
    {
        QFETCH(QString, name);
        QFETCH(int, count);
        QFETCH(QByteArray, pinned);
        qvtest::TempProgramFolder folder;
        const Case c = cases().value(name);
        const Expected expected = expectedOf(c, writeArchive(c, kRecords));
        const QStringList lines = listOf(c);
        QCOMPARE(lines.size(), expected.lines.size());
        for (qsizetype i = 0; i < lines.size(); ++i)
            QVERIFY2(lines.at(i) == expected.lines.at(i), qPrintable(QString("line %1: \"%2\" instead of \"%3\"")
                                                                         .arg(i)
                                                                         .arg(lines.at(i), expected.lines.at(i))));
        QCOMPARE(lines.size(), count);
        QCOMPARE(digest(lines), pinned);
    }

    void doubleClickFindsEveryRecordOfTheLine_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString &name : {"event search", "participant search", "participants to recontact", "booked seats",
                                    "pending confirmations", "reservation search", "a free column first"})
            QTest::newRow(qPrintable(name)) << name;
    }
    void doubleClickFindsEveryRecordOfTheLine()
    {
        QFETCH(QString, name);
        qvtest::TempProgramFolder folder;
        const Case c = cases().value(name);
        const Expected expected = expectedOf(c, writeArchive(c, kRecords));
        bool severalRecords = false;
        for (const QString &chosen : linesToChoose(expected.lines)) {
            const QList<qint64> wanted = recordsOf(expected, chosen);
            severalRecords = severalRecords || wanted.size() > 1;
            // The line as shown and the line with blanks around it find the same records.
            for (const QString &asGiven : {chosen, "  " + chosen + "\t "}) {
                QList<qint64> numbers;
                QList<QByteArray> bytes;
                const int delivered = deliverChosen(c.source, asGiven, [&](const Record &record, qint64 number) {
                    numbers.append(number);
                    bytes.append(record.bytes());
                });
                QCOMPARE(delivered, numbers.size());
                QCOMPARE(numbers, wanted);
                QFile file(c.archiveName.isEmpty() ? reservations() : ProgramFolder::file(c.archiveName));
                QVERIFY(file.open(QIODevice::ReadOnly));
                const QByteArray all = file.readAll();
                const int size = c.source.layout->size();
                for (qsizetype i = 0; i < numbers.size(); ++i)
                    QCOMPARE(bytes.at(i), all.mid((numbers.at(i) - 1) * size, size));
            }
        }
        QVERIFY(severalRecords);
        QCOMPARE(deliverChosen(c.source, "nessuna riga", [](const Record &, qint64) {}), 0);
    }

    // The window: the same lines, shown one row each, printed, found by
    // Trova, and a double-click on one of several equal lines loads every
    // record of that line in file order, so the later one stays loaded.
    void windowShowsPrintsAndDeliversTheSameLines()
    {
        qvtest::TempProgramFolder folder;
        qvtest::MessageRecorder messages;
        const Case c = cases().value("booked seats");
        const Expected expected = expectedOf(c, writeArchive(c, kRecords));
        SummaryListConfig config;
        config.objectName = "frmProva";
        config.caption = " Prova";
        config.source = c.source;
        config.test = [](const RecordView &r, const QDate &) { return ReservationLists::isBooked(r); };
        config.printTitle = "Prova";
        QList<qint64> delivered;
        config.deliver = [&](const Record &, qint64 number, const QString &) { delivered.append(number); };
        SummaryListWindow w(config);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.lines(), expected.lines);
        const QAbstractItemModel *model = w.lstRecords->model();
        QCOMPARE(model->rowCount(), expected.lines.size());
        for (int row = 0; row < model->rowCount(); row += 7)
            QCOMPARE(model->index(row, 0).data().toString(), displayLine(expected.lines.at(row)));

        QStringList printed;
        PageOutput::setHandler([&](PageOutput::Destination, const page::Document &doc, QWidget *) {
            for (const page::Page &p : doc.pages)
                if (const page::TextBox *box = p.textBox("txtRiepilogo"))
                    printed += box->text.split('\n');
        });
        w.btnStampa->click();
        PageOutput::setHandler({});
        QStringList shown;
        for (const QString &line : expected.lines)
            shown.append(displayLine(line));
        QCOMPARE(printed, shown);

        // Trova walks the matches as the rule says, wrapping.
        int row = 0;
        QString last;
        w.selectRow(0);
        for (const char *key : {"rossi", "ROSSI", "\xE8", "zz", "  ", "nessuna riga"}) {
            w.txtTrova->setText(QString::fromLatin1(key));
            for (int i = 0; i < 3; ++i) {
                const int found = findInList(expected.lines, row, w.txtTrova->text(), last);
                w.btnTrovaClick();
                last = w.txtTrova->text();
                if (found >= 0)
                    row = found;
                QCOMPARE(w.selectedRow(), row);
            }
        }

        // The line most records share.
        std::map<QString, QList<int>> rows;
        for (int i = 0; i < expected.lines.size(); ++i)
            rows[expected.lines.at(i)].append(i);
        const auto most = std::max_element(rows.begin(), rows.end(),
                                           [](const auto &a, const auto &b) { return a.second.size() < b.second.size(); });
        const QList<qint64> wanted = recordsOf(expected, most->first);
        QVERIFY(wanted.size() > 1);
        w.selectRow(most->second.first());
        w.lstRecordsDblClick();
        QCOMPARE(delivered, wanted);
        QCOMPARE(delivered.last(), wanted.last());
        QVERIFY(!w.isVisible());
        QCOMPARE(messages.count(), 0);
    }
};

QTEST_MAIN(TestListGolden)
#include "tst_listgolden.moc"
