#include "app/appwindows.h"
#include "app/tfrmpassword.h"
#include "core/regional.h"
#include "ui/access.h"
#include "ui/style.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Quorvane"));
    // The program ends only when told to: a window being hidden is not an end.
    app.setQuitOnLastWindowClosed(false);
    qv::installQtItalian();
    qv::applyHouseStyle(app);
    qv::installAccessibility();

    qv::createWindows();
    qv::windows().frmPassword->show();
    const int result = app.exec();
    qv::destroyWindows();
    return result;
}
