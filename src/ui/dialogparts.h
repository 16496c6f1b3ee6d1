#pragma once
// The pieces the small dialogs (backups, mail) build the same way.
#include "ui/access.h"

#include <QLabel>
#include <QPushButton>
#include <QString>

namespace qv::DialogParts {

// A push button named for tests, its hint shown and said by screen readers.
inline QPushButton *button(const QString &name, const QString &text, const QString &hint, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setToolTip(hint);
    describe(b, QString(text).remove(QLatin1Char('&')), hint);
    return b;
}

// A label named lbl + the box's stem, buddy of the box, which it names for
// screen readers.
inline QLabel *labelFor(QWidget *box, const QString &text, const QString &hint, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QStringLiteral("lbl") + box->objectName().mid(3));
    l->setBuddy(box);
    describe(box, QString(text).remove(QLatin1Char('&')).remove(QLatin1Char(':')), hint);
    box->setToolTip(hint);
    return l;
}

} // namespace qv::DialogParts
