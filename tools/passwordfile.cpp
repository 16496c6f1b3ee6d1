// Writes the default password file of a program folder. With --if-missing an
// existing file (holding a password the user may have changed) is left alone.
#include "password/passwordstore.h"
#include "core/programfolder.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

#include <exception>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool ifMissing = args.removeAll(QStringLiteral("--if-missing")) > 0;
    if (args.size() != 2) {
        QTextStream(stderr) << "usage: qv_passwordfile [--if-missing] <path/unins000.dll> <password>\n";
        return 2;
    }
    const QFileInfo target(args.at(0));
    if (ifMissing && target.exists())
        return 0;
    qv::ProgramFolder::setOverride(target.absolutePath());
    try {
        qv::PasswordStore::store(args.at(1));
    } catch (const std::exception &e) {
        QTextStream(stderr) << e.what() << '\n';
        return 1;
    }
    return 0;
}
