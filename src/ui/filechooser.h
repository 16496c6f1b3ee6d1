#pragma once
#include <QString>

#include <functional>

class QWidget;

// The file-open dialog, behind one function so tests can answer it.
namespace qv::FileChooser {

// The full path of the file the user picked; empty when cancelled.
QString openFile(QWidget *owner, const QString &title, const QString &filter);

using Handler = std::function<QString(QWidget *owner, const QString &title, const QString &filter)>;
void setHandler(Handler handler); // empty restores the real dialog

} // namespace qv::FileChooser
