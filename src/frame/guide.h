#pragma once
#include "frame/guidetopics.h"
#include "ui/widgets.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace qv {

// Opens the guide on `topic` modally, owned by `owner`, and destroys it on return.
void showGuide(QWidget *owner, GuideTopic topic);

// The PDF guide beside the executable.
inline const QString kGuidePdfName = QStringLiteral("Guida.pdf");

} // namespace qv

// The guide window: one help topic and a link to the PDF guide. It closes
// only through "Chiudi".
class TfrmGuida : public qv::ButtonClosedDialog
{
    Q_OBJECT
public:
    explicit TfrmGuida(QWidget *parent = nullptr);
    QLabel *imgLogo;
    QLabel *lblTitolo;
    QPlainTextEdit *txtGuida;
    qv::ClickablePicture *imgPDF;
    QLabel *lnkWeb;
    QPushButton *btnChiudi;
};
