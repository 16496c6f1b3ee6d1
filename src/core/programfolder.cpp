#include "core/programfolder.h"

#include <QCoreApplication>
#include <QDir>

namespace qv::ProgramFolder {
namespace {
QString &overridden()
{
    static QString folder;
    return folder;
}
} // namespace

QString path()
{
    QString folder = overridden().isEmpty() ? QCoreApplication::applicationDirPath() : overridden();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QString file(const QString &name)
{
    return path() + name;
}

void setOverride(const QString &folder)
{
    overridden() = folder.isEmpty() ? QString() : QDir::cleanPath(folder);
}

} // namespace qv::ProgramFolder
