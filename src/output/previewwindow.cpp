#include "output/previewwindow.h"

#include "core/regional.h"
#include "ui/keyboard.h"
#include "ui/pictures.h"

#include <QAction>
#include <QGuiApplication>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>

namespace qv {

PreviewWindow::PreviewWindow(const page::Document &document, QWidget *parent)
    : QDialog(parent), m_document(document), m_printer(new QPrinter(QPrinter::HighResolution))
{
    applyRegionalSettings();
    setObjectName(QStringLiteral("frmAnteprima"));
    setWindowTitle(QStringLiteral(" Anteprima di stampa"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint);
    m_printer->setPageLayout(document.setup.layout());
    m_printer->setDocName(document.title);

    m_preview = new QPrintPreviewWidget(m_printer, this);
    m_preview->setObjectName(QStringLiteral("prvDocumento"));
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter *printer) {
        QPainter painter(printer);
        page::paintPages(painter, *printer, m_document, 0, int(m_document.pages.size()) - 1);
    });

    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("barAnteprima"));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->setIconSize(QSize(22, 22));
    actStampa = bar->addAction(picture(QStringLiteral("print")), QStringLiteral("Stampa"));
    bar->addSeparator();
    actIngrandisci = bar->addAction(QStringLiteral("Zoom +"));
    actRiduci = bar->addAction(QStringLiteral("Zoom \u2212"));
    actPagina = bar->addAction(QStringLiteral("Pagina intera"));
    actLarghezza = bar->addAction(QStringLiteral("Larghezza pagina"));
    bar->addSeparator();
    actSchermoIntero = bar->addAction(picture(QStringLiteral("full")), QStringLiteral("Schermo intero"));
    actSchermoIntero->setCheckable(true);
    bar->addSeparator();
    actChiudi = bar->addAction(picture(QStringLiteral("close")), QStringLiteral("Chiudi"));
    actStampa->setObjectName(QStringLiteral("actStampa"));
    actIngrandisci->setObjectName(QStringLiteral("actIngrandisci"));
    actRiduci->setObjectName(QStringLiteral("actRiduci"));
    actPagina->setObjectName(QStringLiteral("actPagina"));
    actLarghezza->setObjectName(QStringLiteral("actLarghezza"));
    actSchermoIntero->setObjectName(QStringLiteral("actSchermoIntero"));
    actChiudi->setObjectName(QStringLiteral("actChiudi"));
    actStampa->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    actIngrandisci->setShortcut(QKeySequence::ZoomIn);
    actRiduci->setShortcut(QKeySequence::ZoomOut);
    actSchermoIntero->setShortcut(QKeySequence::FullScreen);
    actChiudi->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    // The keys show in the tooltips, as on the cards' pictures.
    for (QAction *action : bar->actions())
        if (!action->shortcut().isEmpty())
            action->setToolTip(action->text() + QStringLiteral(" (") + keyText(action->shortcut()) + QLatin1Char(')'));

    connect(actStampa, &QAction::triggered, this, [this] { PageOutput::print(m_document, this); });
    connect(actIngrandisci, &QAction::triggered, m_preview, [this] { m_preview->zoomIn(); });
    connect(actRiduci, &QAction::triggered, m_preview, [this] { m_preview->zoomOut(); });
    connect(actPagina, &QAction::triggered, m_preview, &QPrintPreviewWidget::fitInView);
    connect(actLarghezza, &QAction::triggered, m_preview, &QPrintPreviewWidget::fitToWidth);
    connect(actSchermoIntero, &QAction::triggered, this, [this] { toggleFullScreen(); });
    connect(actChiudi, &QAction::triggered, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(m_preview, 1);

    QSize size(1000, 720);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.9);
    resize(size);
}

PreviewWindow::~PreviewWindow()
{
    delete m_preview;
    delete m_printer;
}

void PreviewWindow::toggleFullScreen()
{
    if (isFullScreen())
        showNormal();
    else
        showFullScreen();
    actSchermoIntero->setChecked(isFullScreen());
}

namespace PageOutput {

void showPreviewWindow(const page::Document &document, QWidget *owner)
{
    PreviewWindow window(document, owner);
    window.exec();
}

} // namespace PageOutput

} // namespace qv
