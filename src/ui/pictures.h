#pragma once
#include <QIcon>
#include <QPixmap>
#include <QString>

// The program's pictures, built into the executable (resources/pictures/<name>.svg).
namespace qv {
QIcon picture(const QString &name);
QPixmap pictureOfSize(const QString &name, const QSize &size);
}
