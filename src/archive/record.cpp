#include "archive/record.h"

#include "archive/fields.h"

#include <stdexcept>

namespace qv {

RecordLayout::RecordLayout(std::initializer_list<std::pair<const char *, int>> fields)
{
    for (const auto &[name, length] : fields) {
        m_index.insert(QString::fromLatin1(name), int(m_fields.size()));
        m_fields.append({QString::fromLatin1(name), length, m_size});
        m_size += length + 1;
    }
}

Record::Record(const RecordLayout &layout)
    : m_layout(&layout), m_bytes(layout.size(), '\0')
{
}

void Record::setBytes(const QByteArray &bytes)
{
    if (bytes.size() != m_layout->size())
        throw std::invalid_argument("record of the wrong length");
    m_bytes = bytes;
}

int Record::require(const QString &name) const
{
    const int index = m_layout->indexOf(name);
    if (index < 0)
        throw std::invalid_argument(("no field " + name).toStdString());
    return index;
}

QString Record::text(int index) const
{
    const auto &f = m_layout->field(index);
    return TestoDaCampo(m_bytes.constData() + f.offset, f.length);
}

QString Record::text(const QString &name) const
{
    return text(require(name));
}

void Record::setText(int index, const QString &controlText)
{
    const auto &f = m_layout->field(index);
    m_bytes.replace(f.offset, f.length + 1, CampoDaTesto(controlText, f.length));
}

void Record::setText(const QString &name, const QString &controlText)
{
    setText(require(name), controlText);
}

std::optional<bool> Record::yesNo(const QString &name) const
{
    return yesNoValue(text(name));
}

void Record::setYesNo(const QString &name, bool yes)
{
    setText(name, yesNoText(yes));
}

} // namespace qv
