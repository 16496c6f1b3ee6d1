#pragma once
#include <QString>

class QWidget;

namespace qv {

// The event search and picker; the mode word says where the chosen event goes
// ("registro": the event card; "menu_prenotazioni": the event selection).
void openEventSearch(QWidget *owner, const QString &modeWord);
// The events still open for joining; the chosen one goes into the event card.
void openOpenEvents(QWidget *owner);

} // namespace qv
