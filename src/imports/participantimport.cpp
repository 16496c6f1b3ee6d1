#include "imports/participantimport.h"

#include "archive/fields.h"
#include "archive/tarchivio.h"
#include "imports/opentable.h"
#include "core/clock.h"
#include "core/cp1252.h"
#include "core/regional.h"
#include "core/text.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <algorithm>
#include <cstring>

namespace qv::imports {

namespace {

const QString kName = QStringLiteral("Cliente");
const QString kYesNo = QStringLiteral("Ricontatta");
const QString kBirth = QStringLiteral("DataNasc");
constexpr int kBlockRecords = 256; // records handed to the archive at a time
constexpr int kProgressRows = 512; // rows between two progress reports

const RecordLayout &layout()
{
    return TSchedaPartecipante::layout();
}

// The card's labels of the fields, as the card shows them.
const QHash<QString, QString> &cardLabels()
{
    static const QHash<QString, QString> labels{
        {"Cliente", "Cognome e nome"},       {"DataNasc", "Data di nascita"},
        {"ComuneNasc", "Comune di nascita"}, {"ProvNasc", "Provincia di nascita"},
        {"Sesso", "Sesso"},                  {"Recapito", "Recapito preferenziale"},
        {"IndirizzoRes", "Indirizzo di residenza"}, {"ProvRes", "Provincia di residenza"},
        {"ComuneRes", "Comune di residenza"}, {"CapRes", "CAP"},
        {"Estremi", "Modalit\u00E0 di pagamento"}, {"TelCasa", "Tel. casa"},
        {"TelUff", "Tel. ufficio"},          {"TelCel", "Tel. cellulare"},
        {"Fax", "Fax"},                      {"Email", "E-mail"},
        {"CodFisc", "Codice fiscale"},       {"Carta", "Carta di credito n."},
        {"ScadeCarta", "Scadenza carta"},    {"PartitaIva", "Partita IVA"},
        {"Iban", "IBAN"},                    {"Documento", "Estremi documento"},
        {"Occupazione", "Occupazione"},      {"Civile", "Stato civile"},
        {"Titoli", "Titoli e qualifiche"},   {"Prodotti", "Prodotti o servizi di interesse"},
        {"Zona", "Zona di appartenenza"},    {"Questioni", "Questioni in sospeso"},
        {"Note", "Note"},                    {"Ricontatta", "Da ricontattare"},
        {"File01", "Allegato 1"},            {"File02", "Allegato 2"},
        {"File03", "Allegato 3"},            {"Desc01", "Descrizione allegato 1"},
        {"Desc02", "Descrizione allegato 2"}, {"Desc03", "Descrizione allegato 3"},
    };
    return labels;
}

// A heading reduced to what tells it: letters and digits, accents off,
// lower case ("E-mail" and "email", "Città" and "citta" alike).
QString headingKey(const QString &heading)
{
    const QString decomposed = heading.normalized(QString::NormalizationForm_D);
    QString key;
    for (const QChar c : decomposed) {
        const char16_t u = asciiLower(c.unicode());
        if ((u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9'))
            key += QChar(u);
    }
    return key;
}

// The headings people use besides the field names and the card's labels.
const QHash<QString, ColumnTarget> &headingTargets()
{
    static const QHash<QString, ColumnTarget> targets = [] {
        QHash<QString, ColumnTarget> t;
        for (int f = 0; f < layout().fieldCount(); ++f) {
            t.insert(headingKey(layout().field(f).name), ColumnTarget::toField(f));
            t.insert(headingKey(cardLabels().value(layout().field(f).name)), ColumnTarget::toField(f));
        }
        const std::initializer_list<std::pair<const char *, const char *>> words{
            {"Cliente", "Cognome e nome partecipante"}, {"Cliente", "Cognome nome"}, {"Cliente", "Nominativo"},
            {"DataNasc", "Data nascita"},              {"DataNasc", "Nato il"},     {"DataNasc", "Nata il"},
            {"ComuneNasc", "Luogo di nascita"},        {"ComuneNasc", "Comune / Stato estero di nascita"},
            {"ComuneNasc", "Nato a"},                  {"ComuneNasc", "Nata a"},    {"ProvNasc", "Prov. di nascita"},
            {"Sesso", "Genere"},                       {"Recapito", "Recapito"},
            {"IndirizzoRes", "Indirizzo"},             {"IndirizzoRes", "Via"},
            {"IndirizzoRes", "Residente in Via / Piazza e numero civico"},
            {"ProvRes", "Provincia"},                  {"ProvRes", "Prov."},        {"ProvRes", "Prov"},
            {"ComuneRes", "Comune"},                   {"ComuneRes", "Citt\u00E0"}, {"ComuneRes", "Localit\u00E0"},
            {"ComuneRes", "Citt\u00E0 di residenza"},  {"CapRes", "Codice postale"},
            {"Estremi", "Pagamento"},                  {"TelCasa", "Telefono"},     {"TelCasa", "Tel."},
            {"TelCasa", "Telefono casa"},              {"TelCasa", "Telefono fisso"},
            {"TelUff", "Telefono ufficio"},            {"TelCel", "Cellulare"},     {"TelCel", "Cell."},
            {"TelCel", "Telefono cellulare"},          {"TelCel", "Mobile"},        {"Email", "Mail"},
            {"Email", "Posta elettronica"},            {"Email", "Indirizzo e-mail"},
            {"CodFisc", "C.F."},                       {"CodFisc", "Cod. fiscale"}, {"Carta", "Carta di credito"},
            {"Carta", "Numero carta"},                 {"ScadeCarta", "Scadenza"},  {"PartitaIva", "P. IVA"},
            {"PartitaIva", "P.IVA"},                   {"Documento", "Documento"},  {"Occupazione", "Professione"},
            {"Titoli", "Titoli"},                      {"Prodotti", "Prodotti e servizi di interesse"},
            {"Zona", "Zona"},                          {"Questioni", "Questioni"},  {"Note", "Annotazioni"},
            {"Ricontatta", "Ricontattare"},
            // Address books and web forms, in English and Italian.
            {"Cliente", "Nome e cognome"},             {"Cliente", "Nome completo"}, {"Cliente", "Full Name"},
            {"Cliente", "Name"},                       {"Cliente", "Display Name"},
            {"DataNasc", "Birthday"},                  {"DataNasc", "Date of Birth"}, {"DataNasc", "Compleanno"},
            {"IndirizzoRes", "Home Street"},           {"IndirizzoRes", "Home Address"},
            {"IndirizzoRes", "Address 1 - Street"},    {"IndirizzoRes", "Street"},
            {"ComuneRes", "Home City"},                {"ComuneRes", "Address 1 - City"}, {"ComuneRes", "City"},
            {"ProvRes", "Home State"},                 {"ProvRes", "Address 1 - Region"},
            {"ProvRes", "Prov. di residenza"},         {"CapRes", "Home Postal Code"},
            {"CapRes", "Home ZipCode"},                {"CapRes", "Address 1 - Postal Code"},
            {"CapRes", "Postal Code"},                 {"CapRes", "ZIP"},
            {"TelCasa", "Home Phone"},                 {"TelUff", "Business Phone"}, {"TelUff", "Work Phone"},
            {"TelCel", "Mobile Phone"},                {"TelCel", "Mobile Number"}, {"TelCel", "Cell Phone"},
            {"Fax", "Business Fax"},                   {"Fax", "Fax Number"},
            {"Email", "E-mail Address"},               {"Email", "Email Address"},
            {"Email", "E-mail 1 - Value"},             {"Email", "Primary Email"},
            {"Occupazione", "Job Title"},              {"Occupazione", "Organization Title"},
            {"Note", "Notes"},
        };
        for (const auto &[field, heading] : words)
            t.insert(headingKey(QString::fromUtf8(heading)), ColumnTarget::toField(QString::fromLatin1(field)));
        for (const char *heading : {"Cognome", "Last Name", "Family Name", "Surname"})
            t.insert(headingKey(QString::fromLatin1(heading)), ColumnTarget::surname());
        for (const char *heading : {"Nome", "First Name", "Given Name"})
            t.insert(headingKey(QString::fromLatin1(heading)), ColumnTarget::givenName());
        return t;
    }();
    return targets;
}

// Headings of a whole name written given name first ("Mario Rossi"): the
// card's name only where the file has no surname and given name apart.
bool givenNameFirst(const QString &heading)
{
    static const QStringList keys{QStringLiteral("nomeecognome"), QStringLiteral("nomecompleto"),
                                  QStringLiteral("fullname"), QStringLiteral("name"), QStringLiteral("displayname")};
    return keys.contains(headingKey(heading));
}

// "Phone 1 - Value" and the column that names its kind, "Phone 1 - Label"
// (or "- Type").
const QRegularExpression &labelledPhone()
{
    static const QRegularExpression re(QStringLiteral("^phone(\\d+)value$"));
    return re;
}

// The box a telephone goes to by the words of its kind.
QString phoneFieldOf(const QString &label)
{
    const QString words = asciiLower(label);
    for (const auto &[word, field] : {std::pair{"fax", "Fax"}, std::pair{"mobile", "TelCel"}, std::pair{"cell", "TelCel"},
                                      std::pair{"work", "TelUff"}, std::pair{"business", "TelUff"},
                                      std::pair{"ufficio", "TelUff"}, std::pair{"lavoro", "TelUff"}})
        if (words.contains(QLatin1String(word)))
            return QString::fromLatin1(field);
    return QStringLiteral("TelCasa");
}

// "Città di Castello PG" or "Città di Castello (PG)": a town with its
// province after it, as the exports write them in one cell.
std::optional<std::pair<QString, QString>> townAndProvince(const QString &value)
{
    static const QRegularExpression re(QStringLiteral("^(.*[^\\s(])\\s+\\(?([A-Z]{2})\\)?$"));
    const QRegularExpressionMatch m = re.match(value);
    if (!m.hasMatch())
        return std::nullopt;
    return std::pair{trimmed(m.captured(1)), m.captured(2)};
}

// The words a spreadsheet may hold in the yes/no column.
std::optional<bool> yesNoWord(const QString &value)
{
    static const QStringList yes{QStringLiteral("s\u00EC"), QStringLiteral("s\u00CC"), QStringLiteral("si"),
                                 QStringLiteral("s"),       QStringLiteral("yes"),     QStringLiteral("y"),
                                 QStringLiteral("1"),       QStringLiteral("x"),       QStringLiteral("vero"),
                                 QStringLiteral("true")};
    static const QStringList no{QString(), QStringLiteral("no"), QStringLiteral("n"), QStringLiteral("0"),
                                QStringLiteral("falso"), QStringLiteral("false")};
    const QString word = asciiLower(trimmed(value));
    if (yes.contains(word))
        return true;
    if (no.contains(word))
        return false;
    return std::nullopt;
}

bool isControl(char16_t u)
{
    return u < 0x20 || u == 0x7F || (u >= 0x80 && u <= 0x9F);
}

bool isBlank(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() <= 32; });
}

// Composed (NFC). Below U+0300 there is nothing to compose, which spares
// the work for nearly every text of a list.
QString composed(const QString &text)
{
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x300; }))
        return text;
    return text.normalized(QString::NormalizationForm_C);
}

QString digitsOf(const QString &text)
{
    QString digits;
    for (const QChar c : text)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
    return digits;
}

// The card's typing rules for a field's text.
QString typed(const QString &field, const QString &text)
{
    static const QStringList upper{QStringLiteral("CodFisc"), QStringLiteral("Iban"),  QStringLiteral("ProvNasc"),
                                   QStringLiteral("ProvRes"), QStringLiteral("Sesso"), QStringLiteral("CapRes")};
    if (field == QLatin1String("Carta") || field == QLatin1String("PartitaIva"))
        return digitsOf(text);
    if (upper.contains(field))
        return asciiUpper(trimmed(text));
    return trimmed(text);
}

// "1", "1 e 3", "1, 2 e 3".
QString columnList(const QList<int> &columns)
{
    QStringList numbers;
    for (const int c : columns)
        numbers.append(QString::number(c + 1));
    if (numbers.size() < 2)
        return numbers.join(QString());
    const QString last = numbers.takeLast();
    return numbers.join(QStringLiteral(", ")) + QStringLiteral(" e ") + last;
}

QString where(const QList<int> &columns, const QString &field)
{
    return (columns.size() > 1 ? QStringLiteral("colonne %1 (%2): ") : QStringLiteral("colonna %1 (%2): "))
        .arg(columnList(columns), field);
}

// Duplicate keys: 64 bits of a SHA-1, so that a large archive's keys take
// little memory (two different keys meet once in billions of billions).
quint64 keyOf(char kind, const QString &text)
{
    QByteArray bytes = text.toUtf8();
    bytes.prepend(kind);
    const QByteArray digest = QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
    quint64 key = 0;
    std::memcpy(&key, digest.constData(), sizeof key);
    return key;
}

struct Keys
{
    std::optional<quint64> fiscal;
    quint64 person = 0;
};

// A name compared as the list order compares it, blanks folded; a birth
// date as a date where it is one.
Keys keysOf(const QString &name, const QString &birth, const QString &fiscalCode)
{
    Keys keys;
    const QString code = trimmedUpper(fiscalCode);
    if (!code.isEmpty())
        keys.fiscal = keyOf('F', code);
    QString folded;
    bool blank = false;
    for (const QChar c : trimmed(name)) {
        if (c.unicode() <= 32) {
            blank = true;
            continue;
        }
        if (blank)
            folded += QLatin1Char(' ');
        blank = false;
        folded += asciiUpper(c);
    }
    const QDate date = parseCommonDate(birth, Clock::today());
    keys.person = keyOf('N', folded + QChar(0x1F) + (date.isValid() ? formatDate(date) : trimmedUpper(birth)));
    return keys;
}

Keys keysOf(const Record &card)
{
    return keysOf(card.text(kName), card.text(kBirth), card.text(QStringLiteral("CodFisc")));
}

void report(const ImportProgress &progress, qint64 done, qint64 total)
{
    if (progress && !progress(std::min(done, total), total))
        throw ImportCancelled();
}

} // namespace

// ---------------------------------------------------------------------------

ColumnTarget ColumnTarget::toField(const QString &name)
{
    const int index = layout().indexOf(name);
    return index < 0 ? ignored() : toField(index);
}

ColumnTarget targetOfHeading(const QString &heading)
{
    return headingTargets().value(headingKey(heading));
}

QStringList importFileFilters()
{
    return {QStringLiteral("Elenchi di partecipanti (*.csv *.txt *.xlsx *.xls *.vcf)"),
            QStringLiteral("CSV (*.csv *.txt)"), QStringLiteral("Cartella di lavoro di Excel (*.xlsx)"),
            QStringLiteral("Esportazioni del programma (*.xls)"), QStringLiteral("Contatti vCard (*.vcf)")};
}

const QList<TargetChoice> &targetChoices()
{
    static const QList<TargetChoice> choices = [] {
        QList<TargetChoice> list{{ColumnTarget::ignored(), targetLabel(ColumnTarget::ignored())},
                                 {ColumnTarget::surname(), targetLabel(ColumnTarget::surname())},
                                 {ColumnTarget::givenName(), targetLabel(ColumnTarget::givenName())}};
        for (int f = 0; f < layout().fieldCount(); ++f)
            list.append({ColumnTarget::toField(f), targetLabel(ColumnTarget::toField(f))});
        list.append({ColumnTarget::phone(), targetLabel(ColumnTarget::phone())});
        return list;
    }();
    return choices;
}

QString targetLabel(const ColumnTarget &target)
{
    switch (target.kind) {
    case ColumnTarget::Kind::Ignored: return QStringLiteral("(non importare)");
    case ColumnTarget::Kind::Surname: return QStringLiteral("Cognome");
    case ColumnTarget::Kind::GivenName: return QStringLiteral("Nome");
    case ColumnTarget::Kind::Phone: return QStringLiteral("Telefono (secondo l'etichetta)");
    case ColumnTarget::Kind::Field: break;
    }
    return cardLabels().value(layout().field(target.field).name);
}

QString DuplicateRow::text() const
{
    const QString same = sameFiscalCode ? QStringLiteral("stesso codice fiscale")
                                        : QStringLiteral("stessi cognome e nome e data di nascita");
    return card > 0 ? QStringLiteral("doppione della scheda %1 in archivio (%2)").arg(card).arg(same)
                    : QStringLiteral("doppione della riga %1 del file (%2)").arg(earlierLine).arg(same);
}

// ---------------------------------------------------------------------------

// One reading of the file, row after row, with the duplicates of the rows
// seen so far; the analysis and the append read alike.
struct ParticipantImport::Pass
{
    const ParticipantImport &session;
    std::unique_ptr<SourceTable> table;
    QHash<quint64, qint64> rowKeys; // keys of the rows so far -> line
    qint64 rows = 0;

    Pass(const ParticipantImport &s, std::unique_ptr<SourceTable> rows) : session(s), table(std::move(rows)) {}

    // The next row that holds anything; false at the end.
    bool next(SourceRow &row, ImportedRow &imported, std::optional<DuplicateRow> &duplicate)
    {
        while (table->next(row)) {
            // Spreadsheets end their lists with rows of empty cells.
            if (std::all_of(row.values.begin(), row.values.end(), [](const QString &v) { return isBlank(v); }))
                continue;
            ++rows;
            imported = session.convert(row);
            duplicate.reset();
            if (!imported.skipped)
                duplicate = duplicateOf(imported.card, row.line);
            return true;
        }
        return false;
    }

    std::optional<DuplicateRow> duplicateOf(const Record &card, qint64 line)
    {
        const Keys keys = keysOf(card);
        std::optional<DuplicateRow> found;
        const auto look = [&](quint64 key, bool fiscal) {
            if (found)
                return;
            if (const auto it = session.m_archiveKeys.constFind(key); it != session.m_archiveKeys.constEnd())
                found = DuplicateRow{line, *it, 0, fiscal};
            else if (const auto row = rowKeys.constFind(key); row != rowKeys.constEnd())
                found = DuplicateRow{line, 0, *row, fiscal};
        };
        if (keys.fiscal)
            look(*keys.fiscal, true);
        look(keys.person, false);
        if (keys.fiscal)
            rowKeys.insert(*keys.fiscal, rowKeys.value(*keys.fiscal, line));
        rowKeys.insert(keys.person, rowKeys.value(keys.person, line));
        return found;
    }
};

// Rows in a temporary file: line, count, then each value in UTF-8, each
// with its length.
class ParticipantImport::RowSpool
{
public:
    RowSpool() : m_file(QDir::tempPath() + QStringLiteral("/quorvane_importa_XXXXXX")) {}
    bool open() { return m_file.open(); }
    void write(const SourceRow &row)
    {
        QDataStream out(&m_file);
        out << row.line << quint32(row.values.size());
        for (const QString &value : row.values)
            out << value.toUtf8();
        if (out.status() != QDataStream::Ok)
            throw ImportError(QStringLiteral("impossibile scrivere il file temporaneo dell'importazione (disco pieno?)."));
    }
    void finish()
    {
        if (!m_file.flush())
            throw ImportError(QStringLiteral("impossibile scrivere il file temporaneo dell'importazione (disco pieno?)."));
    }
    std::unique_ptr<SourceTable> reader(const QStringList &heading) const
    {
        return std::make_unique<Reader>(m_file.fileName(), heading);
    }

private:
    class Reader : public SourceTable
    {
    public:
        Reader(const QString &path, const QStringList &heading) : m_file(path), m_heading(heading)
        {
            if (!m_file.open(QIODevice::ReadOnly))
                throw ImportError(QStringLiteral("impossibile leggere il file temporaneo dell'importazione."));
            m_in.setDevice(&m_file);
        }
        QStringList heading() const override { return m_heading; }
        bool next(SourceRow &row) override
        {
            if (m_in.atEnd())
                return false;
            quint32 count = 0;
            m_in >> row.line >> count;
            row.values.clear();
            QByteArray value;
            for (quint32 i = 0; i < count && m_in.status() == QDataStream::Ok; ++i) {
                m_in >> value;
                row.values.append(QString::fromUtf8(value));
            }
            if (m_in.status() != QDataStream::Ok)
                throw ImportError(QStringLiteral("impossibile leggere il file temporaneo dell'importazione."));
            return true;
        }
        qint64 done() const override { return m_file.pos(); }
        qint64 total() const override { return m_file.size(); }

    private:
        QFile m_file;
        QDataStream m_in;
        QStringList m_heading;
    };

    QTemporaryFile m_file;
};

std::unique_ptr<SourceTable> ParticipantImport::rows() const
{
    return m_spool ? m_spool->reader(m_heading) : openSourceTable(m_path);
}

ParticipantImport::ParticipantImport(const QString &path, const QString &archivePath)
    : m_path(path), m_archivePath(archivePath)
{
    const std::unique_ptr<SourceTable> table = openSourceTable(path);
    m_heading = table->heading();
    SourceRow row;
    while (m_preview.size() < kPreviewRows && table->next(row))
        m_preview.append(row);
    QHash<QString, int> columnOfKey;
    for (int c = 0; c < m_heading.size(); ++c)
        columnOfKey.insert(headingKey(m_heading.at(c)), c);
    bool parts = false;
    for (int c = 0; c < m_heading.size(); ++c) {
        ColumnTarget target = targetOfHeading(m_heading.at(c));
        m_labelColumns.append(-1);
        if (const QRegularExpressionMatch m = labelledPhone().match(headingKey(m_heading.at(c))); m.hasMatch()) {
            const QString stem = QStringLiteral("phone") + m.captured(1);
            m_labelColumns.last() = columnOfKey.value(stem + QStringLiteral("label"),
                                                      columnOfKey.value(stem + QStringLiteral("type"), -1));
            target = ColumnTarget::phone();
        }
        parts = parts || target.kind == ColumnTarget::Kind::Surname || target.kind == ColumnTarget::Kind::GivenName;
        m_mapping.append(target);
    }
    // "Name" beside "Given Name" and "Family Name" is the same name the
    // other way round.
    for (int c = 0; c < m_heading.size(); ++c)
        if (parts && givenNameFirst(m_heading.at(c)))
            m_mapping[c] = ColumnTarget::ignored();
}

ParticipantImport::~ParticipantImport() = default;

void ParticipantImport::setTarget(int column, const ColumnTarget &target)
{
    if (column < 0 || column >= m_mapping.size() || m_mapping.at(column) == target)
        return;
    m_mapping[column] = target;
    m_analysed = false;
}

QStringList ParticipantImport::mappingProblems() const
{
    QStringList problems;
    QHash<int, QList<int>> columnsOf; // field (-2 surname, -3 given name) -> columns
    for (int c = 0; c < m_mapping.size(); ++c) {
        const ColumnTarget &t = m_mapping.at(c);
        if (t.kind == ColumnTarget::Kind::Field)
            columnsOf[t.field].append(c);
        else if (t.kind == ColumnTarget::Kind::Surname)
            columnsOf[-2].append(c);
        else if (t.kind == ColumnTarget::Kind::GivenName)
            columnsOf[-3].append(c);
    }
    for (auto it = columnsOf.cbegin(); it != columnsOf.cend(); ++it) {
        if (it->size() < 2)
            continue;
        const QString field = it.key() == -2   ? QStringLiteral("Cognome")
                              : it.key() == -3 ? QStringLiteral("Nome")
                                               : layout().field(it.key()).name;
        problems.append(QStringLiteral("il campo %1 compare due volte (colonne %2): indicare quale importare.")
                            .arg(field, columnList(*it)));
    }
    std::sort(problems.begin(), problems.end());
    if (!columnsOf.contains(layout().indexOf(kName)) && !columnsOf.contains(-2) && !columnsOf.contains(-3))
        problems.append(QStringLiteral("manca la colonna Cliente (cognome e nome), o le colonne Cognome e Nome, "
                                       "senza la quale nessuna scheda viene registrata."));
    return problems;
}

QStringList ParticipantImport::ignoredColumns() const
{
    QStringList lines;
    for (int c = 0; c < m_mapping.size(); ++c) {
        if (m_mapping.at(c).kind != ColumnTarget::Kind::Ignored)
            continue;
        const QString heading = trimmed(m_heading.at(c));
        if (heading.isEmpty())
            lines.append(QStringLiteral("la colonna %1, senza intestazione, non viene importata.").arg(c + 1));
        else if (heading == QLatin1String("Record"))
            lines.append(QStringLiteral("la colonna %1 \"Record\" non viene importata: \u00E8 il numero della scheda "
                                        "nell'archivio di provenienza, le schede aggiunte ne ricevono uno nuovo.")
                             .arg(c + 1));
        else if (targetOfHeading(heading).kind == ColumnTarget::Kind::Ignored)
            lines.append(QStringLiteral("la colonna %1 \"%2\" non viene importata: non corrisponde a nessun campo "
                                        "della scheda.")
                             .arg(QString::number(c + 1), heading));
        else
            lines.append(QStringLiteral("la colonna %1 \"%2\" non viene importata.").arg(QString::number(c + 1), heading));
        const qint64 filled = m_analysed ? m_analysis.ignoredFilled.value(c) : 0;
        if (filled > 0 && heading != QLatin1String("Record")) {
            QString &line = lines.last();
            line.chop(1);
            line += filled == 1 ? QStringLiteral(" (ha un valore in una riga).")
                                : QStringLiteral(" (ha un valore in %1 righe).").arg(filled);
        }
    }
    return lines;
}

ImportedRow ParticipantImport::convert(const SourceRow &row) const
{
    ImportedRow out;
    out.card.setYesNo(kYesNo, false);
    const auto problem = [&](const QString &text, bool skip = false) {
        out.problems.append({row.line, text, skip});
        out.skipped = out.skipped || skip;
    };
    const auto notice = [&](const QString &text) { out.problems.append({row.line, text, false, true}); };
    const qsizetype columns = m_heading.size();
    const bool extra = std::any_of(row.values.begin() + std::min(columns, row.values.size()), row.values.end(),
                                   [](const QString &v) { return !isBlank(v); });
    if (row.values.size() < columns || extra)
        problem(QStringLiteral("%1 valori invece di %2 (importata con i valori presenti).")
                    .arg(row.values.size())
                    .arg(columns));

    // The characters a field can hold: composed, control characters as
    // blanks, the rest of what the code page lacks told (stored as '?').
    const auto cleaned = [&](const QString &raw, int column, const QString &field) {
        QString value = composed(raw);
        QString what;
        for (qsizetype i = 0; i < value.size(); ++i) {
            const char16_t u = value.at(i).unicode();
            if (isControl(u)) {
                if (what.isEmpty())
                    what = QStringLiteral("carattere di controllo di codice %1 (diventa uno spazio).").arg(int(u));
                value[i] = QLatin1Char(' ');
            } else if (u >= 0x80 && !cp1252::canEncode(value.at(i)) && what.isEmpty()) {
                const bool pair = value.at(i).isHighSurrogate() && i + 1 < value.size();
                what = QStringLiteral("il carattere \"%1\" non \u00E8 rappresentabile in Windows-1252 (diventa ?).")
                           .arg(value.mid(i, pair ? 2 : 1));
            }
        }
        if (!what.isEmpty())
            problem(where({column}, field) + what);
        return value;
    };
    const auto store = [&](int field, const QString &value, const QList<int> &columns) {
        const int length = layout().field(field).length;
        if (value.size() > length)
            problem(where(columns, layout().field(field).name)
                    + QStringLiteral("testo di %1 caratteri, il campo ne contiene al massimo %2 (viene accorciato).")
                          .arg(value.size())
                          .arg(length));
        if (!value.isEmpty()) // a new card's fields are empty already
            out.card.setText(field, value);
    };

    const int nameField = layout().indexOf(kName);
    const int yesNoField = layout().indexOf(kYesNo);
    QString name;
    QList<int> nameColumns;
    QStringList surname, given;
    QList<int> partColumns, phoneColumns;
    for (int c = 0; c < columns; ++c) {
        const ColumnTarget &target = m_mapping.at(c);
        if (target.kind == ColumnTarget::Kind::Ignored)
            continue;
        if (target.kind == ColumnTarget::Kind::Phone) {
            phoneColumns.append(c); // once the other columns have filled their boxes
            continue;
        }
        const QString raw = row.values.value(c);
        if (target.kind == ColumnTarget::Kind::Field && target.field == yesNoField) {
            if (const std::optional<bool> yes = yesNoWord(raw))
                out.card.setYesNo(kYesNo, *yes);
            else
                problem(where({c}, kYesNo)
                            + QStringLiteral("\"%1\" non \u00E8 n\u00E9 S\u00EC n\u00E9 No (riga saltata).").arg(trimmed(raw)),
                        true);
            continue;
        }
        // Where the name comes from, also when it is empty.
        if (target.kind == ColumnTarget::Kind::Field && target.field == nameField)
            nameColumns = {c};
        else if (target.kind != ColumnTarget::Kind::Field)
            partColumns.append(c);
        if (isBlank(raw))
            continue;
        const QString &field = target.kind == ColumnTarget::Kind::Field ? layout().field(target.field).name : kName;
        QString value = typed(field, cleaned(raw, c, field));
        if (field == kBirth) {
            if (const QDate date = parseCommonDate(value, Clock::today()); date.isValid())
                value = formatDate(date);
            else
                notice(where({c}, field)
                       + QStringLiteral("\"%1\" non \u00E8 una data gg/mm/aaaa: registrata come scritta.").arg(value));
        }
        if (target.kind == ColumnTarget::Kind::Field && target.field == nameField)
            name = value;
        else if (target.kind == ColumnTarget::Kind::Field)
            store(target.field, value, {c});
        else
            (target.kind == ColumnTarget::Kind::Surname ? surname : given).append(value);
    }
    // A town with its province after it ("Città di Castello PG", as the
    // exports write them) is two fields, unless the file has a column for
    // the province.
    const auto fieldsMapped = [&](const QString &name) {
        return std::any_of(m_mapping.begin(), m_mapping.end(), [&](const ColumnTarget &t) {
            return t.kind == ColumnTarget::Kind::Field && layout().field(t.field).name == name;
        });
    };
    for (const auto &[town, province] : {std::pair{"ComuneRes", "ProvRes"}, std::pair{"ComuneNasc", "ProvNasc"}}) {
        const QString townField = QString::fromLatin1(town), provinceField = QString::fromLatin1(province);
        if (fieldsMapped(provinceField))
            continue;
        if (const auto split = townAndProvince(out.card.text(townField))) {
            out.card.setText(townField, split->first);
            out.card.setText(provinceField, split->second);
        }
    }
    // Telephones by their label, into the boxes the columns left empty.
    for (const int c : std::as_const(phoneColumns)) {
        const QString number = trimmed(cleaned(row.values.value(c), c, QStringLiteral("TelCasa")));
        if (number.isEmpty())
            continue;
        const int labelColumn = m_labelColumns.value(c, -1);
        const QString label = labelColumn >= 0 ? trimmed(row.values.value(labelColumn)) : QString();
        QString field = phoneFieldOf(label);
        if (!out.card.text(field).isEmpty())
            for (const char *free : {"TelCasa", "TelCel", "TelUff"})
                if (out.card.text(QString::fromLatin1(free)).isEmpty()) {
                    field = QString::fromLatin1(free);
                    break;
                }
        if (out.card.text(field).isEmpty())
            store(layout().indexOf(field), number, {c});
        else
            notice(where({c}, label.isEmpty() ? QStringLiteral("telefono") : label)
                   + QStringLiteral("\"%1\" non viene importato: i campi dei telefoni sono gi\u00E0 pieni.").arg(number));
    }
    // The card's "Cognome e nome": a column of its own, else the surname
    // and the given name joined in that order.
    if (name.isEmpty() && !partColumns.isEmpty()) {
        QStringList parts;
        for (const QString &part : surname + given)
            if (!part.isEmpty())
                parts.append(part);
        name = parts.join(QLatin1Char(' '));
        if (nameColumns.isEmpty() || !name.isEmpty())
            nameColumns = partColumns;
    }
    if (name.isEmpty())
        problem(where(nameColumns.isEmpty() ? partColumns : nameColumns, kName)
                    + QStringLiteral("manca il cognome e nome (riga saltata)."),
                true);
    else
        store(nameField, name, nameColumns);
    return out;
}

void ParticipantImport::readArchiveKeys()
{
    m_archiveKeys.clear();
    // A missing archive has no cards, and reading creates nothing.
    if (!QFileInfo(m_archivePath).isFile())
        return;
    TArchivio archive(m_archivePath, layout().size(), TArchivio::Access::Read);
    TSchedaPartecipante card;
    QByteArray block;
    qint64 number = 0;
    while (archive.ReadBlock(block, kBlockRecords) > 0) {
        for (qsizetype at = 0; at < block.size(); at += layout().size()) {
            card.setBytes(block.mid(at, layout().size()));
            const Keys keys = keysOf(card);
            ++number;
            if (keys.fiscal)
                m_archiveKeys.insert(*keys.fiscal, m_archiveKeys.value(*keys.fiscal, number));
            m_archiveKeys.insert(keys.person, m_archiveKeys.value(keys.person, number));
        }
    }
    archive.Close();
}

const ImportAnalysis &ParticipantImport::analyse(const ImportProgress &progress)
{
    m_analysed = false;
    m_analysis = ImportAnalysis();
    readArchiveKeys();
    // The first reading keeps the rows for the passes after it.
    std::unique_ptr<RowSpool> spool;
    if (!m_spool) {
        spool = std::make_unique<RowSpool>();
        if (!spool->open())
            spool.reset(); // no temporary file: the file is read again
    }
    Pass pass(*this, rows());
    ImportAnalysis &a = m_analysis;
    SourceRow row;
    ImportedRow imported;
    std::optional<DuplicateRow> duplicate;
    a.ignoredFilled.resize(m_mapping.size());
    report(progress, 0, pass.table->total());
    while (pass.next(row, imported, duplicate)) {
        if (spool)
            spool->write(row);
        const qint64 notices = std::count_if(imported.problems.begin(), imported.problems.end(),
                                             [](const RowProblem &p) { return p.notice; });
        if (imported.problems.size() > notices)
            ++a.rowsWithProblems;
        a.problems += imported.problems.size() - notices;
        a.notices += notices;
        for (int c = 0; c < m_mapping.size(); ++c)
            if (m_mapping.at(c).kind == ColumnTarget::Kind::Ignored && !isBlank(row.values.value(c)))
                ++a.ignoredFilled[c];
        for (const RowProblem &p : std::as_const(imported.problems))
            if (a.listedProblems.size() < ImportAnalysis::kListed)
                a.listedProblems.append(p);
        if (imported.skipped) {
            ++a.skipped;
        } else {
            ++a.importable;
            if (duplicate) {
                ++a.duplicates;
                if (a.listedDuplicates.size() < ImportAnalysis::kListed)
                    a.listedDuplicates.append(*duplicate);
            }
        }
        if (pass.rows % kProgressRows == 0)
            report(progress, pass.table->done(), pass.table->total());
    }
    a.rows = pass.rows;
    report(progress, pass.table->total(), pass.table->total());
    if (spool) {
        spool->finish();
        m_spool = std::move(spool);
    }
    m_analysed = true;
    return m_analysis;
}

ImportResult ParticipantImport::commit(bool withDuplicates, const ImportProgress &progress)
{
    if (!m_analysed)
        analyse(progress);
    ImportResult result;
    result.duplicatesLeftOut = withDuplicates ? 0 : m_analysis.duplicates;
    const qint64 expected = m_analysis.importable - result.duplicatesLeftOut;
    if (expected == 0)
        return result;
    Pass pass(*this, rows());
    const qint64 total = pass.table->total();
    report(progress, 0, total);
    SourceRow row;
    ImportedRow imported;
    std::optional<DuplicateRow> duplicate;
    // One append for every card: the records go to the archive a block at a
    // time as the file is read again, under the one lock and journal.
    TArchivio archive(m_archivePath, layout().size());
    const qint64 last = archive.Append([&](QByteArray &block) {
        block.clear();
        while (block.size() < kBlockRecords * layout().size() && pass.next(row, imported, duplicate)) {
            if (imported.skipped || (duplicate && !withDuplicates))
                continue;
            block += imported.card.bytes();
            ++result.added;
        }
        report(progress, pass.table->done(), total);
        if (block.isEmpty() && result.added != expected) // the file changed, where it was read again
            throw ImportError(QStringLiteral("il file %1 \u00E8 cambiato durante l'importazione.").arg(quotedPath(m_path)));
        return !block.isEmpty();
    });
    archive.Close();
    result.last = last;
    result.first = last - result.added + 1;
    return result;
}

} // namespace qv::imports
