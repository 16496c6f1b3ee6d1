#include "ui/pictures.h"

namespace qv {

QIcon picture(const QString &name)
{
    return QIcon(QStringLiteral(":/pictures/%1.svg").arg(name));
}

QPixmap pictureOfSize(const QString &name, const QSize &size)
{
    return picture(name).pixmap(size);
}

} // namespace qv
