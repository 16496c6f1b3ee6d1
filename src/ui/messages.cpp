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

struct BoxLook
{
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
};

BoxLook lookOf(MessageKind kind)
{
    constexpr QMessageBox::StandardButtons okCancel = QMessageBox::Ok | QMessageBox::Cancel;
    switch (kind) {
    case MessageKind::Information: return {QMessageBox::Information, okCancel};
    case MessageKind::Warning: return {QMessageBox::Warning, okCancel};
    case MessageKind::Error: return {QMessageBox::Critical, okCancel};
    case MessageKind::Question: return {QMessageBox::Question, QMessageBox::Yes | QMessageBox::No};
    case MessageKind::Plain: return {QMessageBox::NoIcon, QMessageBox::Ok};
    case MessageKind::Notice: return {QMessageBox::Information, QMessageBox::Ok};
    case MessageKind::Caution: return {QMessageBox::Warning, QMessageBox::Ok};
    case MessageKind::Failure: return {QMessageBox::Critical, QMessageBox::Ok};
    }
    return {QMessageBox::NoIcon, QMessageBox::Ok};
}

bool showBox(MessageKind kind, const QString &text, QWidget *parent)
{
    QMessageBox box(parent ? parent : QApplication::activeWindow());
    box.setWindowTitle(QStringLiteral("Quorvane"));
    // CR only separates paragraphs in the stored texts; a box shows LF alone.
    QString shown = text;
    shown.remove(QLatin1Char('\r'));
    box.setText(shown);
    const BoxLook look = lookOf(kind);
    box.setIcon(look.icon);
    box.setStandardButtons(look.buttons);
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
