#include "output/exportlayout.h"

#include "archive/records.h"
#include "core/cp1252.h"
#include "core/text.h"
#include "output/listscan.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>

namespace qv {

CellTemplate::CellTemplate(const RecordLayout &layout, const QString &text)
{
    qsizetype at = 0;
    while (at < text.size()) {
        const qsizetype open = text.indexOf(QLatin1Char('{'), at);
        const qsizetype close = open < 0 ? -1 : text.indexOf(QLatin1Char('}'), open);
        const qsizetype literalEnd = close < 0 ? text.size() : open;
        if (literalEnd > at)
            m_parts.append(Part{-1, cp1252::encode(text.mid(at, literalEnd - at)), 0});
        if (close < 0)
            break;
        const QString name = text.mid(open + 1, close - open - 1);
        const int field = layout.indexOf(name);
        if (field < 0)
            throw std::invalid_argument(("export: no field " + name).toStdString());
        m_parts.append(Part{field, {}, layout.field(field).length});
        at = close + 1;
    }
}

void CellTemplate::compose(const RecordView &record, QByteArray &out) const
{
    for (const Part &part : m_parts) {
        if (part.field < 0) {
            out += part.literal;
            continue;
        }
        // TestoDaCampo on the bytes: the characters in use, trimmed of
        // codes up to 32 (the same bytes in Windows-1252).
        const RecordLayout::Field &field = record.layout().field(part.field);
        const char *data = record.data() + field.offset;
        qsizetype b = 1, e = 1 + std::min<int>(static_cast<unsigned char>(data[0]), field.length);
        while (b < e && static_cast<unsigned char>(data[b]) <= 32)
            ++b;
        while (e > b && static_cast<unsigned char>(data[e - 1]) <= 32)
            --e;
        out.append(data + b, e - b);
    }
}

int CellTemplate::maxLength() const
{
    return std::accumulate(m_parts.begin(), m_parts.end(), 0, [](int sum, const Part &part) {
        return sum + int(part.literal.size()) + (part.field < 0 ? 0 : 255);
    });
}

QList<std::pair<int, QString>> CellTemplate::fieldsOf(const QString &text) const
{
    QList<std::pair<int, QString>> fields;
    qsizetype at = 0;
    while (at < text.size() && text.at(at).unicode() <= 32)
        ++at;
    int pending = -1;  // a field whose end is not found yet
    bool lost = false; // a literal not found: the fields after it get nothing
    for (qsizetype p = 0; p < m_parts.size(); ++p) {
        const Part &part = m_parts.at(p);
        if (part.field >= 0) {
            if (lost)
                fields.append({part.field, QString()});
            else
                pending = part.field;
            continue;
        }
        if (lost)
            continue;
        const QString literal = cp1252::decode(part.literal);
        const QString bare = trimmed(literal);
        qsizetype found = -1, length = 0;
        if (bare.isEmpty() && pending >= 0) {
            const qsizetype last = text.lastIndexOf(literal);
            const int room = p + 1 < m_parts.size() ? m_parts.at(p + 1).length : 0;
            if (last >= at && trimmed(text.mid(last + literal.size())).size() <= room) {
                found = last, length = literal.size();
            } else if (last >= 0 && last < at && fields.isEmpty() && last + literal.size() == at
                       && trimmed(text.mid(at)).size() <= room) {
                // " PG": the first field is empty, the blanks passed over
                // at the start were this literal.
                found = at, length = 0;
            }
        } else if (bare.isEmpty()) {
            found = at; // leading blanks: already passed over
        } else {
            // After a field anywhere, else right here; as written, or
            // without its outer blanks (the cell's own trimming, or a hand
            // that typed it so).
            const auto seek = [&](const QString &needle) -> qsizetype {
                if (pending >= 0)
                    return text.indexOf(needle, at);
                return QStringView(text).sliced(at).startsWith(needle) ? at : -1;
            };
            found = seek(literal);
            length = literal.size();
            if (found < 0) {
                found = seek(bare);
                length = bare.size();
            }
            if (found < 0 && pending < 0) // a leading literal left out: nothing to pass over
                found = at, length = 0;
        }
        if (found < 0) { // the rest is the pending field's
            found = text.size();
            length = 0;
            lost = true;
        }
        if (pending >= 0)
            fields.append({pending, trimmed(text.mid(at, found - at))});
        pending = -1;
        at = found + length;
    }
    if (pending >= 0)
        fields.append({pending, trimmed(text.mid(at))});
    return fields;
}

QList<SpreadsheetColumn> ExportLayout::fileColumns() const
{
    QList<SpreadsheetColumn> list;
    for (const ExportColumn &column : columns)
        list.append(column.file);
    return list;
}

QList<DataColumn> ExportLayout::dataColumns() const
{
    QList<DataColumn> list;
    for (const ExportColumn &column : columns) {
        if (column.data.isEmpty())
            list.append({column.file.heading, column.file.width});
        else
            list.append(column.data);
    }
    return list;
}

QStringList ExportLayout::dataCells(const QStringList &cells) const
{
    QStringList values;
    for (qsizetype c = 0; c < columns.size(); ++c) {
        const ExportColumn &column = columns.at(c);
        const QString cell = cells.value(c);
        if (column.data.isEmpty()) {
            values.append(cell);
            continue;
        }
        const QList<std::pair<int, QString>> fields = column.cell.fieldsOf(cell);
        for (const DataColumn &data : column.data) {
            QString value = data.field < 0 ? cell : QString();
            for (const auto &[field, text] : fields)
                if (field == data.field)
                    value = text;
            values.append(value);
        }
    }
    return values;
}

QHash<QString, QString> ExportLayout::fieldsOf(const QStringList &cells) const
{
    QHash<QString, QString> fields;
    for (qsizetype c = 0; c < columns.size() && c < cells.size(); ++c)
        for (const auto &[field, text] : columns.at(c).cell.fieldsOf(cells.at(c)))
            fields.insert(record->field(field).name, text);
    return fields;
}

ExportLayout exportLayout(const RecordLayout &record, const QString &fileName, const QString &worksheet,
                          std::initializer_list<ExportColumnEntry> columns)
{
    ExportLayout layout{&record, {}, fileName, worksheet};
    for (const ExportColumnEntry &c : columns)
        layout.columns.append({QString::fromUtf8(c.name), QString::fromUtf8(c.heading), c.width, c.editable,
                               CellTemplate(record, QString::fromUtf8(c.cell)),
                               {QString::fromUtf8(c.fileHeading), c.fileWidth}});
    return layout;
}

namespace {

void recordRow(const ExportLayout &layout, const RecordView &record, qint64 number, RowSink &sink, QByteArray &text)
{
    sink.beginRow(number);
    for (const ExportColumn &column : layout.columns) {
        text.clear();
        column.cell.compose(record, text);
        sink.cell(QByteArrayView(text));
    }
    sink.endRow();
}

} // namespace

RowSource archiveRows(const ExportLayout &layout, const QString &archivePath)
{
    return [layout, archivePath](RowSink &sink) {
        QByteArray text;
        scanArchive(archivePath, *layout.record, [&](const RecordView &record, qint64 number) {
            recordRow(layout, record, number, sink, text);
        });
    };
}

RowSource recordRows(const ExportLayout &layout, const QByteArray &record, qint64 number)
{
    if (record.size() != layout.record->size())
        throw std::invalid_argument("export: a record of the wrong length");
    return [layout, record, number](RowSink &sink) {
        QByteArray text;
        recordRow(layout, RecordView(*layout.record, record.constData()), number, sink, text);
    };
}

namespace ExportLayouts {

namespace {
constexpr bool kEdit = true;
constexpr bool kRead = false;

// One column of the .xlsx and CSV as written in the table below.
struct DataColumnEntry
{
    const char *heading;
    int width;
    const char *field; // nullptr: the whole cell
    DataColumn::Kind kind;
};

// How a column of the layout goes into the .xlsx and CSV.
void setData(ExportLayout &layout, const char *column, std::initializer_list<DataColumnEntry> entries)
{
    for (ExportColumn &c : layout.columns) {
        if (c.name != QLatin1String(column))
            continue;
        for (const DataColumnEntry &entry : entries)
            c.data.append({QString::fromUtf8(entry.heading), entry.width,
                           entry.field ? layout.record->indexOf(QString::fromLatin1(entry.field)) : -1, entry.kind});
        return;
    }
    throw std::invalid_argument(std::string("export: no column ") + column);
}

constexpr DataColumn::Kind kText = DataColumn::Kind::Text;
constexpr DataColumn::Kind kDate = DataColumn::Kind::Date;
constexpr DataColumn::Kind kAmount = DataColumn::Kind::Amount;
} // namespace

const ExportLayout &events()
{
    static const ExportLayout layout = [] {
    ExportLayout layout = exportLayout(
        TSchedaEvento::layout(), QStringLiteral("Riepilogo_Eventi.xls"), QStringLiteral("Riepilogo Eventi"),
        {
            {"colTitolo", "Titolo evento", 250, kRead, "{Titolo}", "Titolo evento", 250},
            {"colTipologia", "Tipologia", 250, kRead, "{Tipologia}", "Tipologia", 250},
            {"colMaterie", "Materie trattate", 300, kRead, "{Materie}", "Materie trattate", 350},
            {"colRelatori", "Relatori", 300, kEdit, "{Relatori}", "Relatori", 350},
            {"colInizio", "Inizio", 250, kEdit, "Data: {DataInizio} - Ora: {OraInizio}", "Inizio", 250},
            {"colFine", "Fine", 250, kRead, "Data: {DataFine} - Ora: {OraFine}", "Fine", 250},
            {"colSede", "Sede", 250, kRead, "{Sede}", "Sede", 250},
            {"colIndirizzo", "Indirizzo", 250, kRead, "{Indirizzo}", "Indirizzo", 250},
            {"colOrganizzatore", "Organizzatore", 250, kRead, "{Organizzatore}", "Organizzatore", 250},
            {"colRecapitoOrg", "Recapito organizzatore", 200, kEdit, "{RecapitoOrg}", "Recapito organizzatore", 200},
            {"colContatto", "Contatto per info", 250, kRead, "{Contatto}", "Contatto per info", 250},
            {"colRecapitoCon", "Recapito contatto", 200, kRead, "{RecapitoCon}", "Recapito contatto", 200},
            {"colCollaboratori", "Collaboratori", 300, kRead, "{Collaboratori}", "Collaboratori", 350},
            {"colCriteri", "Criteri ammissione", 300, kEdit, "{Criteri}", "Criteri ammissione", 350},
            {"colPagamento", "Modalità pagamento", 250, kRead, "{Pagamento}", "Modalità pagamento", 250},
            {"colQuota", "Quota partecipazione", 180, kRead, "{Quota}", "Quota partecipazione", 200},
            {"colIntestatario", "Intestatario C/C", 250, kRead, "{Intestatario}", "Intestatario C/C", 250},
            {"colIban", "IBAN", 250, kEdit, "{Iban}", "IBAN", 250},
            {"colBanca", "Banca d'appoggio", 250, kEdit, "{Banca}", "Banca d'appoggio", 250},
            {"colAnticipo", "Anticipo", 180, kEdit, "{Anticipo}", "Anticipo", 200},
            {"colNote", "Note", 300, kEdit, "{Note}", "Note", 300},
            {"colDataSca", "Termine adesione", 200, kRead, "{DataSca}", "Termine adesione", 200},
            {"colPosti", "N. totale posti", 180, kEdit, "{Posti}", "N. totale posti", 180},
            {"colCompleto", "Al completo", 100, kEdit, "{Completo}", "Al completo", 120},
        });
    setData(layout, "colInizio", {{"Data inizio", 120, "DataInizio", kDate}, {"Ora inizio", 90, "OraInizio", kText}});
    setData(layout, "colFine", {{"Data fine", 120, "DataFine", kDate}, {"Ora fine", 90, "OraFine", kText}});
    setData(layout, "colQuota", {{"Quota partecipazione", 200, nullptr, kAmount}});
    setData(layout, "colAnticipo", {{"Anticipo", 200, nullptr, kAmount}});
    setData(layout, "colDataSca", {{"Termine adesione", 200, nullptr, kDate}});
    return layout;
    }();
    return layout;
}

const ExportLayout &participants()
{
    static const ExportLayout layout = [] {
    ExportLayout layout = exportLayout(
        TSchedaPartecipante::layout(), QStringLiteral("Partecipanti.xls"), QStringLiteral("Riepilogo Partecipanti"),
        {
            {"colCliente", "Cognome e nome", 250, kRead, "{Cliente}", "Cognome e nome", 250},
            {"colDataNasc", "Data di nascita", 120, kRead, "{DataNasc}", "Data di nascita", 200},
            {"colComuneNasc", "Comune / Stato estero di nascita", 250, kRead, "{ComuneNasc} {ProvNasc}",
             "Comune di nascita", 250},
            {"colRecapito", "Recapito preferenziale", 200, kRead, "{Recapito}", "Recapito preferenziale", 250},
            {"colIndirizzoRes", "Indirizzo di residenza", 250, kRead, "{IndirizzoRes}", "Indirizzo di residenza", 300},
            {"colComuneRes", "Comune di residenza", 250, kEdit, "{ComuneRes} {ProvRes}", "Comune di residenza", 250},
            {"colEstremi", "Modalità di pagamento", 250, kRead, "{Estremi}", "Modalità di pagamento", 250},
            {"colTelCasa", "Tel. casa", 200, kRead, "{TelCasa}", "Tel. casa", 250},
            {"colTelUff", "Tel. ufficio", 200, kRead, "{TelUff}", "Tel. ufficio", 250},
            {"colTelCel", "Tel. cellulare", 200, kRead, "{TelCel}", "Tel. cellulare", 250},
            {"colFax", "Fax", 200, kRead, "{Fax}", "Fax", 250},
            {"colEmail", "E-mail", 250, kRead, "{Email}", "E-mail", 250},
            {"colCodFisc", "Codice fiscale", 150, kRead, "{CodFisc}", "Codice fiscale", 250},
            {"colPartitaIva", "Partita IVA", 150, kEdit, "{PartitaIva}", "Partita IVA", 250},
            {"colCarta", "Carta di credito n.", 250, kRead, "{Carta}", "Carta di credito n.", 300},
            {"colScadeCarta", "Scadenza", 160, kEdit, "{ScadeCarta}", "Scadenza", 150},
            {"colIban", "IBAN", 250, kEdit, "{Iban}", "IBAN", 300},
            {"colDocumento", "Estremi documento", 280, kEdit, "{Documento}", "Estremi documento", 280},
            {"colOccupazione", "Occupazione", 250, kEdit, "{Occupazione}", "Occupazione", 250},
            {"colCivile", "Stato civile", 250, kRead, "{Civile}", "Stato civile", 250},
            {"colTitoli", "Titoli e qualifiche", 280, kEdit, "{Titoli}", "Titoli e qualifiche", 280},
            {"colProdotti", "Prodotti e servizi di interesse", 300, kRead, "{Prodotti}",
             "Prodotti e servizi di interesse", 300},
            {"colZona", "Zona di appartenenza", 250, kRead, "{Zona}", "Zona di appartenenza", 250},
            {"colQuestioni", "Questioni in sospeso", 300, kEdit, "{Questioni}", "Questioni in sospeso", 300},
            {"colNote", "Note", 350, kEdit, "{Note}", "Note", 300},
        });
    // Town and province apart, so that a file read back gives each its field.
    setData(layout, "colDataNasc", {{"Data di nascita", 200, nullptr, kDate}});
    setData(layout, "colComuneNasc",
            {{"Comune di nascita", 250, "ComuneNasc", kText}, {"Prov. di nascita", 120, "ProvNasc", kText}});
    setData(layout, "colComuneRes",
            {{"Comune di residenza", 250, "ComuneRes", kText}, {"Prov. di residenza", 120, "ProvRes", kText}});
    return layout;
    }();
    return layout;
}

const ExportLayout &reservations()
{
    // The grid of the bookings is read-only.
    static const ExportLayout layout = exportLayout(
        TSchedaPrenotazione::layout(), QStringLiteral("Prenotazioni_Posti.xls"), QStringLiteral("Prenotazioni Posti"),
        {
            {"colCliente", "Cognome e nome partecipante", 250, kRead, "{Cliente}", "Cognome e nome partecipante", 250},
            {"colIndirizzoRes", "Indirizzo di residenza", 250, kRead, "{IndirizzoRes}", "Indirizzo di residenza", 300},
            {"colComuneRes", "Comune di residenza", 250, kRead, "{ComuneRes}", "Comune di residenza", 250},
            {"colProvRes", "Prov.", 120, kRead, "{ProvRes}", "Prov.", 150},
            {"colCapRes", "CAP", 150, kRead, "{CapRes}", "CAP", 150},
            {"colCodFisc", "Codice fiscale", 150, kRead, "{CodFisc}", "Codice fiscale", 250},
            {"colRecapito", "Recapito preferenziale", 200, kRead, "{Recapito}", "Recapito preferenziale", 250},
            {"colTelCel", "Tel. cellulare", 200, kRead, "{TelCel}", "Tel. cellulare", 250},
            {"colEmail", "E-mail", 250, kRead, "{Email}", "E-mail", 250},
            {"colPosto", "Posto n.", 150, kRead, "{Posto}", "Posto n.", 200},
            {"colUbicazione", "Ubicazione posto", 300, kRead, "{Ubicazione}", "Ubicazione posto", 300},
            {"colAnnotazioni", "Annotazioni", 300, kRead, "{Annotazioni}", "Annotazioni", 300},
            {"colDaConfermare", "Da confermare", 150, kRead, "{DaConfermare}", "Da confermare", 200},
        });
    return layout;
}

} // namespace ExportLayouts
} // namespace qv
