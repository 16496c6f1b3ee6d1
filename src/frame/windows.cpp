#include "frame/windows.h"

#include <QCoreApplication>
#include <QWidget>

namespace qv {

AppWindows &windows()
{
    static AppWindows all;
    return all;
}

void switchWindow(QWidget *current, QWidget *next)
{
    next->show();
    if (current != next)
        current->hide();
}

void endProgram()
{
    QCoreApplication::exit(0);
}

} // namespace qv
