#include "frame/workspace.h"

#include "frame/windows.h"
#include "core/regional.h"

#include <QCloseEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>

namespace qv {

Workspace::Workspace(QWidget *parent) : QWidget(parent)
{
    applyRegionalSettings();
}

QWidget *Workspace::windowAfterClose() const
{
    return windows().mainMenu;
}

void Workspace::closeEvent(QCloseEvent *event)
{
    event->ignore();
    QWidget *next = windowAfterClose();
    if (next)
        switchWindow(this, next);
    else
        hide();
}

void fillScreen(QWidget *window)
{
    if (QScreen *screen = QGuiApplication::primaryScreen())
        window->setGeometry(screen->availableGeometry());
    window->setWindowState(Qt::WindowMaximized);
}

void makeFixedCentred(QWidget *window)
{
    const Qt::WindowType type = qobject_cast<QDialog *>(window) ? Qt::Dialog : Qt::Window;
    window->setWindowFlags(type | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    window->adjustSize();
    window->setFixedSize(window->sizeHint());
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
}

} // namespace qv
