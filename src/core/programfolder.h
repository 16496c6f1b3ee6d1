#pragma once
#include <QString>

// The folder of the executable, where every file the program keeps lives.
// Tests point it at a temporary folder.
namespace qv::ProgramFolder {

QString path();                         // always ends with '/'
QString file(const QString &name);      // path() + name
void setOverride(const QString &folder); // empty restores the executable's folder

} // namespace qv::ProgramFolder
