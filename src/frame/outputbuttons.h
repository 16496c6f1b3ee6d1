#pragma once
#include "frame/guide.h"
#include "frame/guidetopics.h"
#include "ui/access.h"
#include "ui/keyboard.h"
#include "ui/pictures.h"
#include "ui/widgets.h"

#include <QHBoxLayout>
#include <QPushButton>

#include <initializer_list>

// The buttons along the bottom of the windows that put pages out: preview,
// print, PDF and close, with the guide's picture at the left. Made once for
// every such window.
namespace qv {

// A button with its picture and caption, named for tests and screen readers.
QPushButton *outputButton(const char *name, const QString &pictureName, const QString &text, QWidget *parent);

// Preview, print, PDF and close along the bottom, the guide at the left.
QHBoxLayout *outputButtonRow(ClickablePicture *guide, std::initializer_list<QPushButton *> buttons);

// Makes the window's cmdAnteprima, cmdStampa, cmdPDF, btnChiudi and cmdGuida
// and connects them to its cmdAnteprimaClick, cmdStampaClick, cmdPDFClick,
// reject and the guide's `topic`; `preview`, `print` and `pdf` say what each
// does.
template <typename Window>
void makeOutputButtons(Window *w, GuideTopic topic, const QString &preview, const QString &print, const QString &pdf)
{
    w->cmdAnteprima = outputButton("cmdAnteprima", QStringLiteral("preview"), QStringLiteral("Anteprima"), w);
    w->cmdStampa = outputButton("cmdStampa", QStringLiteral("print"), QStringLiteral("Stampa"), w);
    w->cmdPDF = outputButton("cmdPDF", QStringLiteral("pdf"), QStringLiteral("Crea PDF"), w);
    w->btnChiudi = outputButton("btnChiudi", QStringLiteral("close"), QStringLiteral("Chiudi"), w);
    w->cmdGuida = new ClickablePicture(QStringLiteral("cmdGuida"), picture(QStringLiteral("guide")),
                                       QStringLiteral("Visualizza la pagina della guida sensibile al contesto."), w);
    w->cmdGuida->setIconSize(QSize(28, 28));
    w->cmdGuida->setAccessibleDescription(w->cmdGuida->accessibleName());
    w->cmdGuida->setToolTip(w->cmdGuida->accessibleName());
    describe(w->cmdAnteprima, QStringLiteral("Anteprima"), preview);
    describe(w->cmdStampa, QStringLiteral("Stampa"), print);
    describe(w->cmdPDF, QStringLiteral("Crea PDF"), pdf);
    applyStandardShortcuts(w);
    QObject::connect(w->cmdAnteprima, &QPushButton::clicked, w, [w] { w->cmdAnteprimaClick(); });
    QObject::connect(w->cmdStampa, &QPushButton::clicked, w, [w] { w->cmdStampaClick(); });
    QObject::connect(w->cmdPDF, &QPushButton::clicked, w, [w] { w->cmdPDFClick(); });
    QObject::connect(w->btnChiudi, &QPushButton::clicked, w, &QDialog::reject);
    QObject::connect(w->cmdGuida, &QToolButton::clicked, w, [w, topic] { showGuide(w, topic); });
}

} // namespace qv
