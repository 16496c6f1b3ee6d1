#include "imports/sourcetable.h"


namespace qv::imports {

QString quotedPath(const QString &path)
{
    return QStringLiteral("\"") + path + QStringLiteral("\"");
}

} // namespace qv::imports
