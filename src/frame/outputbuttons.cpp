#include "frame/outputbuttons.h"

namespace qv {

QPushButton *outputButton(const char *name, const QString &pictureName, const QString &text, QWidget *parent)
{
    auto *b = new QPushButton(picture(pictureName), text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setMinimumWidth(110);
    return b;
}

QHBoxLayout *outputButtonRow(ClickablePicture *guide, std::initializer_list<QPushButton *> buttons)
{
    auto *row = new QHBoxLayout;
    row->setSpacing(8);
    row->addWidget(guide);
    row->addStretch(1);
    for (QPushButton *b : buttons)
        row->addWidget(b);
    return row;
}

} // namespace qv
