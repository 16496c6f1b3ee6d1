#include "checks/checkdialogs.h"

namespace qv {

void openFiscalCodeCheck(QWidget *, const QString &) {}
void openVatCheck(QWidget *, const QString &) {}
void openCardCheck(QWidget *, const QString &) {}
void openIbanCheck(QWidget *, const QString &) {}

} // namespace qv
