#pragma once
#include "output/exportlayout.h"
#include "output/rowsink.h"

class QIODevice;

// The participants as a vCard 4.0 file (RFC 6350) that address books import:
// one card per row, fed from the rows of the participants export, so a cell
// edited in the export window counts here too. FN the name; ADR (home) the
// address of residence with the municipality and its province; TEL home,
// work, cell and fax; EMAIL; NOTE; BDAY where the birth date is a date
// ("dd/mm/yyyy"). Only what is there is written. The export has no postal
// code column, so the address carries none. A row without a name is left out
// and its number reported (a vCard must have FN).
namespace qv {

ExportOutcome writeContacts(QIODevice &out, const ExportLayout &layout, const RowSource &rows);

} // namespace qv
