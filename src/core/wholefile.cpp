#include "core/wholefile.h"

#include <QSaveFile>

namespace qv {

bool writeWholeFile(const QString &path, const QByteArray &content)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // Flushed here: a short write found only while committing is not
    // reported by every Qt version.
    if (file.write(content) != content.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace qv
