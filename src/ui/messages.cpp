#include "ui/messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace qv::Messages {

const QString kBreak = QStringLiteral("\n\r\n\r");
const QString kArchiveAccess =
    QStringLiteral("Attenzione: il sistema non permette di accedere all'archivio.") + kBreak
    + QStringLiteral("Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del programma.");

namespace {

Handler &currentHandler()
{
    static Handler handler;
    return handler;
}

bool showBox(MessageKind kind, const QString &text, QWidget *parent)
{
    QMessageBox box(parent ? parent : QApplication::activeWindow());
    box.setWindowTitle(QStringLiteral("Quorvane"));
    // CR only separates paragraphs in the stored texts; a box shows LF alone.
    QString shown = text;
    shown.remove(QLatin1Char('\r'));
    box.setText(shown);
    switch (kind) {
    case MessageKind::Information:
        box.setIcon(QMessageBox::Information);
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MessageKind::Warning:
        box.setIcon(QMessageBox::Warning);
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MessageKind::Error:
        box.setIcon(QMessageBox::Critical);
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MessageKind::Question:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MessageKind::Plain:
        box.setIcon(QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    if (auto *cancel = box.button(QMessageBox::Cancel))
        cancel->setText(QStringLiteral("Annulla"));
    if (auto *yes = box.button(QMessageBox::Yes))
        yes->setText(QStringLiteral("S\u00EC"));
    box.setDefaultButton(kind == MessageKind::Question ? QMessageBox::Yes : QMessageBox::Ok);
    return box.exec() == QMessageBox::Yes;
}

} // namespace

bool show(MessageKind kind, const QString &text, QWidget *parent)
{
    if (currentHandler())
        return currentHandler()(kind, text);
    return showBox(kind, text, parent);
}

void setHandler(Handler handler)
{
    currentHandler() = std::move(handler);
}

} // namespace qv::Messages
