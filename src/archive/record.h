#pragma once
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <initializer_list>
#include <optional>

namespace qv {

// A record type described once as its fields and their declared lengths;
// size and offsets follow from it. Every field is a counted string.
class RecordLayout
{
public:
    struct Field
    {
        QString name;
        int length = 0; // declared length; the field takes length + 1 bytes
        int offset = 0;
    };

    RecordLayout(std::initializer_list<std::pair<const char *, int>> fields);

    int size() const { return m_size; }
    int fieldCount() const { return int(m_fields.size()); }
    const Field &field(int index) const { return m_fields.at(index); }
    const QList<Field> &fields() const { return m_fields; }
    int indexOf(const QString &name) const { return m_index.value(name, -1); }

private:
    QList<Field> m_fields;
    QHash<QString, int> m_index;
    int m_size = 0;
};

// The bytes of one record and named access to its fields.
class Record
{
public:
    explicit Record(const RecordLayout &layout);

    const RecordLayout &layout() const { return *m_layout; }
    const QByteArray &bytes() const { return m_bytes; }
    void setBytes(const QByteArray &bytes); // must be exactly layout().size()

    QString text(int index) const;                      // TestoDaCampo
    QString text(const QString &name) const;
    void setText(int index, const QString &controlText); // CampoDaTesto
    void setText(const QString &name, const QString &controlText);
    std::optional<bool> yesNo(const QString &name) const;
    void setYesNo(const QString &name, bool yes);

private:
    int require(const QString &name) const;

    const RecordLayout *m_layout;
    QByteArray m_bytes;
};

} // namespace qv
