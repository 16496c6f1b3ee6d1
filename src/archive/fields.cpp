#include "archive/fields.h"

#include "core/cp1252.h"
#include "core/text.h"

#include <algorithm>

namespace qv {

const QString kYes = QStringLiteral("S\u00EC");
const QString kNo = QStringLiteral("No");

QByteArray CampoDaTesto(const QString &text, int declared)
{
    QByteArray chars = cp1252::encode(trimmed(text));
    const int used = int(std::min<qsizetype>({chars.size(), 255, declared}));
    QByteArray field(declared + 1, '\0');
    field[0] = static_cast<char>(used);
    std::copy_n(chars.constData(), used, field.data() + 1);
    return field;
}

QString storedText(const char *field, int declared)
{
    return cp1252::decode(field + 1, countedLength(field, declared));
}

QString TestoDaCampo(const char *field, int declared)
{
    return trimmed(storedText(field, declared));
}

std::optional<bool> yesNoValue(const QString &fieldText)
{
    if (fieldText == kYes)
        return true;
    if (fieldText == kNo)
        return false;
    return std::nullopt;
}

} // namespace qv
