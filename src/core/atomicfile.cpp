#include "core/atomicfile.h"

#include <QFileInfo>
#include <QSaveFile>

namespace qv {

bool replaceFile(const QString &path, const std::function<bool(QIODevice &)> &fill, QString *error)
{
    const auto fail = [&](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    const QFileInfo info(path);
    if (info.isDir())
        return fail(QStringLiteral("%1 \u00E8 una cartella").arg(path));
    if (info.exists() && !info.isWritable())
        return fail(QStringLiteral("%1 non \u00E8 scrivibile").arg(path));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    if (!fill(file) || file.error() != QFileDevice::NoError) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(reason);
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

bool replaceFile(const QString &path, const QByteArray &content, QString *error)
{
    return replaceFile(
        path, [&](QIODevice &device) { return device.write(content) == content.size(); }, error);
}

} // namespace qv
