#pragma once
#include <QString>

class QWidget;

namespace qv {

// The participant search and picker; the mode word says where the chosen
// participant goes ("clienti": the participant card; "organizzatore" and
// "contatto": the event card's organiser or contact person; "prenotazioni":
// the reservation card's personal data).
void openParticipantSearch(QWidget *owner, const QString &modeWord);
// The participants to recontact; the chosen one goes into the participant card.
void openRecontactList(QWidget *owner);
// Participants from a file people exchange: the file chosen first, then the
// import window over it.
void openParticipantImport(QWidget *owner);

} // namespace qv
