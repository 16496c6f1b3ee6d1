#include "app/appwindows.h"
#include "app/tfrmpassword.h"
#include "core/regional.h"
#include "ui/access.h"
#include "ui/keyboard.h"
#include "ui/style.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

// On X11 and Wayland desktops a window needs a display; without one Qt would
// abort with a message about platform plugins that tells a newcomer nothing.
bool noDisplay()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const auto unset = [](const char *name) {
        const char *value = std::getenv(name);
        return value == nullptr || *value == '\0';
    };
    return unset("DISPLAY") && unset("WAYLAND_DISPLAY") && unset("QT_QPA_PLATFORM");
#else
    return false;
#endif
}

} // namespace

int main(int argc, char *argv[])
{
    if (noDisplay()) {
        std::fputs("Quorvane: nessuno schermo disponibile (DISPLAY non impostato): avviarlo da una "
                    "sessione grafica, oppure senza schermo con: xvfb-run bash scripts/run.sh\n",
                    stderr);
        return 1;
    }
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Quorvane"));
    // The program ends only when told to: a window being hidden is not an end.
    app.setQuitOnLastWindowClosed(false);
    qv::installQtItalian();
    qv::applyHouseStyle(app);
    qv::installAccessibility();
    qv::installCloseKey();

    qv::createWindows();
    qv::windows().frmPassword->show();
    const int result = app.exec();
    qv::destroyWindows();
    return result;
}
