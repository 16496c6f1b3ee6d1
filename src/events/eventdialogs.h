#pragma once
#include <QString>

class QWidget;

namespace qv {

// The event search and picker; the mode word says where the chosen event goes
// ("registro": the event card; "menu_prenotazioni": the event selection).
void openEventSearch(QWidget *owner, const QString &modeWord);
// The events still open for joining; the chosen one goes into the event card.
void openOpenEvents(QWidget *owner);
// The attachments of a card ("registro": the event card; "clienti": the
// participant card): the dialog starts from the card's six hidden labels
// lblFile01, lblDesc01 .. lblDesc03 and writes them back on "Applica e chiudi".
void openAttachments(QWidget *card, const QString &modeWord);
// The calendar over `owner`; the mode word names the event card's date box
// that receives the day ("data_inizio", "data_fine", "registro").
void openCalendar(QWidget *owner, const QString &modeWord);

} // namespace qv
