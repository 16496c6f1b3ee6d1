#pragma once
#include "imports/sourcetable.h"

#include <memory>

namespace qv::imports {

// The file as a table, by its content (a zip is a workbook, "BEGIN:VCARD" a
// vCard file) or else as CSV. Throws ImportError (the message names the
// file) for a file that cannot be opened or read, or has no heading.
std::unique_ptr<SourceTable> openSourceTable(const QString &path);

} // namespace qv::imports
