#pragma once
#include "output/listscan.h"

// The participant lists: the participant search and the participants to
// recontact show the same first four columns and read the same archive.
namespace qv::ParticipantLists {

// Name, preferred contact, occupation, products, then the notes.
const LineLayout &searchLines();
// The same four columns, then the pending issues.
const LineLayout &recontactLines();

// Partecipanti.pro, read with the search lines.
ListSource searchSource();
// Partecipanti.pro, read with the recontact lines.
ListSource recontactSource();

// A participant is to be recontacted when its flag, trimmed, reads exactly "Sì".
bool toRecontact(const RecordView &participant);

} // namespace qv::ParticipantLists
