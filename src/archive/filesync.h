#pragma once
#include <QFile>
#include <QString>

namespace qv {

// Asks the system to put what was written to an open file on the disk
// itself; false when it could not.
bool syncFile(QFile &file);
// The size of an open file as the system tells it now; -1 when it cannot
// tell. (QFile::size() says 0 then, which would pass for an empty archive.)
qint64 fileSize(const QFile &file);
// The same for a folder's list of names, so a file just created or removed
// stays so after a power cut. Best effort: some file systems refuse it.
void syncFolderOf(const QString &filePath);

} // namespace qv
