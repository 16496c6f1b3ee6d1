#include "core/clock.h"

namespace qv::Clock {
namespace {
QDateTime &fixed()
{
    static QDateTime moment;
    return moment;
}
} // namespace

QDateTime now()
{
    return fixed().isValid() ? fixed() : QDateTime::currentDateTime();
}

QDate today()
{
    return now().date();
}

void setFixed(const QDateTime &moment)
{
    fixed() = moment;
}

} // namespace qv::Clock
