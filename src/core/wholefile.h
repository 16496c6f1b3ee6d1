#pragma once
#include <QByteArray>
#include <QString>

namespace qv {

// Writes `content` as the whole of the file at `path`: into a new file beside
// it, which replaces the old one only once it is complete, so a failure at any
// step (disk full, quota, I/O error, power loss) leaves the old file as it
// was. Where the folder forbids new files the file is written in place.
// Returns false on any failure, the final close included.
bool writeWholeFile(const QString &path, const QByteArray &content);

} // namespace qv
