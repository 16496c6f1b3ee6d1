#pragma once
#include <QDateTime>

// Today and now; tests fix them.
namespace qv::Clock {

QDate today();
QDateTime now();
void setFixed(const QDateTime &moment); // an invalid moment restores the real clock

} // namespace qv::Clock
