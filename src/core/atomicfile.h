#pragma once
#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

// Files written whole go to a temporary file in the same folder, which then
// replaces the old file: a failure at any point leaves the old file as it was.
namespace qv {

// `fill` writes the content and returns false to give up. An existing file
// that may not be written is refused, as writing it in place would be.
// Returns false on any failure, with a reason in *error when given.
bool replaceFile(const QString &path, const std::function<bool(QIODevice &)> &fill, QString *error = nullptr);
bool replaceFile(const QString &path, const QByteArray &content, QString *error = nullptr);

} // namespace qv
