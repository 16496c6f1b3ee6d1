#include "ui/filechooser.h"

#include <QFileDialog>
#include <QRegularExpression>

namespace qv::FileChooser {
namespace {

Handler &currentHandler()
{
    static Handler handler;
    return handler;
}

SaveHandler &currentSaveHandler()
{
    static SaveHandler handler;
    return handler;
}

const QString kFilterSeparator = QStringLiteral(";;");

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
    dialog.setNameFilters(shown.split(kFilterSeparator));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

// The first suffix a filter names: "xlsx" for "... (*.xlsx)".
QString suffixOf(const QString &filter)
{
    static const QRegularExpression pattern(QStringLiteral("\\(\\*\\.([A-Za-z0-9]+)"));
    return pattern.match(filter).captured(1);
}

SaveChoice saveWithDialog(QWidget *owner, const QString &title, const QStringList &filters, const QString &selected,
                          const QString &suggested)
{
    QFileDialog dialog(owner, title);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(selected);
    // A name typed without a suffix gets the selected format's.
    dialog.setDefaultSuffix(suffixOf(selected));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString &filter) { dialog.setDefaultSuffix(suffixOf(filter)); });
    dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return {dialog.selectedFiles().first(), dialog.selectedNameFilter()};
}

} // namespace

QString openFile(QWidget *owner, const QString &title, const QString &filter)
{
    if (currentHandler())
        return currentHandler()(owner, title, filter);
    return openWithDialog(owner, title, filter);
}

QString openFile(QWidget *owner, const QString &title, const QStringList &filters)
{
    return openFile(owner, title, filters.join(kFilterSeparator));
}

void setHandler(Handler handler)
{
    currentHandler() = std::move(handler);
}

SaveChoice saveFile(QWidget *owner, const QString &title, const QStringList &filters, const QString &selected,
                    const QString &suggested)
{
    if (currentSaveHandler())
        return currentSaveHandler()(owner, title, filters, selected, suggested);
    return saveWithDialog(owner, title, filters, selected, suggested);
}

void setSaveHandler(SaveHandler handler)
{
    currentSaveHandler() = std::move(handler);
}

} // namespace qv::FileChooser
