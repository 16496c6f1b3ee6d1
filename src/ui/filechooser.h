#pragma once
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// The file dialogs (open and save), behind one function each so tests can
// answer them.
namespace qv::FileChooser {

// The full path of the file the user picked; empty when cancelled. Several
// filters go in one text, separated by ";;" (the first is selected).
QString openFile(QWidget *owner, const QString &title, const QString &filter);
QString openFile(QWidget *owner, const QString &title, const QStringList &filters);

using Handler = std::function<QString(QWidget *owner, const QString &title, const QString &filter)>;
void setHandler(Handler handler); // empty restores the real dialog

// What the user chose to save as: the full path as typed (the dialog adds
// the selected filter's suffix to a name without one) and the filter
// selected. An empty path when cancelled.
struct SaveChoice
{
    QString path;
    QString filter;
};

// The save dialog: `filters` offered, `selected` selected, `suggested` (a
// path) as the starting folder and name. It asks before replacing an
// existing file.
SaveChoice saveFile(QWidget *owner, const QString &title, const QStringList &filters, const QString &selected,
                    const QString &suggested);

using SaveHandler = std::function<SaveChoice(QWidget *owner, const QString &title, const QStringList &filters,
                                             const QString &selected, const QString &suggested)>;
void setSaveHandler(SaveHandler handler); // empty restores the real dialog

} // namespace qv::FileChooser
