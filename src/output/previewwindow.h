#pragma once
#include "output/pageoutput.h"

#include <QDialog>

class QPrinter;
class QPrintPreviewWidget;
class QToolBar;
class QAction;

namespace qv {

// The preview of a document: print, zoom, full screen and close. It shows
// the pages as they will print; nothing in them can be edited.
class PreviewWindow : public QDialog
{
    Q_OBJECT
public:
    explicit PreviewWindow(const page::Document &document, QWidget *parent = nullptr);
    ~PreviewWindow() override;

    QPrintPreviewWidget *preview() const { return m_preview; }
    QAction *actStampa;
    QAction *actIngrandisci;
    QAction *actRiduci;
    QAction *actPagina;
    QAction *actLarghezza;
    QAction *actSchermoIntero;
    QAction *actChiudi;

    void toggleFullScreen();

private:
    page::Document m_document;
    QPrinter *m_printer;
    QPrintPreviewWidget *m_preview;
};

} // namespace qv
