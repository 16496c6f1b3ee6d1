// Writes the PDF guide from the program's help topics:
//   qv_guidepdf <output file>
// Run by the build, so the program folder always holds a Guida.pdf that says
// what the guide window says.
#include "frame/guidedocument.h"

#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen"); // no display needed at build time
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        err << "usage: qv_guidepdf <output file>\n";
        return 2;
    }
    QString reason;
    if (!qv::PageOutput::writePdf(qv::GuideDocument::build(), args.at(1), &reason)) {
        err << "qv_guidepdf: cannot write " << args.at(1) << ": " << reason << '\n';
        return 1;
    }
    return 0;
}
