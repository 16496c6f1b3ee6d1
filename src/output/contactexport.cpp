#include "output/contactexport.h"

#include "core/clock.h"
#include "core/regional.h"
#include "output/contentlines.h"

namespace qv {

namespace {

class ContactWriter : public TextRowSink
{
public:
    ContactWriter(QIODevice &out, const ExportLayout &layout) : m_out(out), m_layout(layout) {}

    ExportOutcome finish()
    {
        m_out.flush();
        return m_outcome;
    }

protected:
    void row(qint64 number, const QStringList &cells) override
    {
        const QHash<QString, QString> f = m_layout.fieldsOf(cells);
        // A semicolon is escaped only where it would split a compound value.
        const auto part = [&](const char *field) { return ContentLines::text(f.value(QString::fromLatin1(field))); };
        const auto text = [&](const char *field) {
            return ContentLines::text(f.value(QString::fromLatin1(field)), ContentLines::Semicolon::AsIs);
        };
        if (f.value(QStringLiteral("Cliente")).isEmpty()) {
            m_outcome.skipped.append(number);
            return;
        }
        m_out.line("BEGIN", QStringLiteral("VCARD"));
        m_out.line("VERSION", QStringLiteral("4.0"));
        m_out.line("FN", text("Cliente"));
        // Post office box; extended address; street; locality; region;
        // postal code; country.
        const QStringList address{QString(), QString(), part("IndirizzoRes"), part("ComuneRes"), part("ProvRes"),
                                  part("CapRes"), QString()};
        if (!address.join(QString()).isEmpty())
            m_out.line("ADR;TYPE=home", address.join(QLatin1Char(';')));
        for (const auto &[field, type] : {std::pair{"TelCasa", "home"}, std::pair{"TelUff", "work"},
                                          std::pair{"TelCel", "cell"}, std::pair{"Fax", "fax"}})
            if (const QString number = text(field); !number.isEmpty())
                m_out.line(QByteArray("TEL;TYPE=") + type, number);
        if (const QString mail = text("Email"); !mail.isEmpty())
            m_out.line("EMAIL", mail);
        if (const QString note = text("Note"); !note.isEmpty())
            m_out.line("NOTE", note);
        if (const QDate birth = parseCommonDate(f.value(QStringLiteral("DataNasc")), Clock::today()); birth.isValid())
            m_out.line("BDAY", birth.toString(QStringLiteral("yyyyMMdd")));
        m_out.line("END", QStringLiteral("VCARD"));
        ++m_outcome.rows;
    }

private:
    ContentLines m_out;
    const ExportLayout &m_layout;
    ExportOutcome m_outcome;
};

} // namespace

ExportOutcome writeContacts(QIODevice &out, const ExportLayout &layout, const RowSource &rows)
{
    ContactWriter writer(out, layout);
    rows(writer);
    return writer.finish();
}

} // namespace qv
