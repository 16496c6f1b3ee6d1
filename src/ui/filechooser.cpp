#include "ui/filechooser.h"

#include <QFileDialog>

namespace qv::FileChooser {
namespace {

Handler &currentHandler()
{
    static Handler handler;
    return handler;
}

QString openWithDialog(QWidget *owner, const QString &title, const QString &filter)
{
    QFileDialog dialog(owner, title);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    QString shown = filter;
    // "*.*" means any file on Windows only; elsewhere it would hide the names
    // without a dot. The pattern that follows the text is the one applied,
    // and the text is shown without it.
    if (filter.endsWith(QLatin1String("(*.*)"))) {
        shown = filter + QStringLiteral(" (*)");
        dialog.setOption(QFileDialog::HideNameFilterDetails);
    }
    dialog.setNameFilter(shown);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

} // namespace

QString openFile(QWidget *owner, const QString &title, const QString &filter)
{
    if (currentHandler())
        return currentHandler()(owner, title, filter);
    return openWithDialog(owner, title, filter);
}

void setHandler(Handler handler)
{
    currentHandler() = std::move(handler);
}

} // namespace qv::FileChooser
