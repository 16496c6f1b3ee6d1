#pragma once
#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace qv {
class ClickablePicture;

enum class GuideTopic { General, Events, Participants, Reservations, EventsExport, ParticipantsExport, ReservationsExport };

// The title and text of a help topic (paragraphs joined by CR LF CR LF).
QString guideTitle(GuideTopic topic);
QString guideText(GuideTopic topic);

// Opens the guide on `topic` modally, owned by `owner`, and destroys it on return.
void showGuide(QWidget *owner, GuideTopic topic);

} // namespace qv

// The guide window: one help topic and a link to the PDF guide.
class TfrmGuida : public QDialog
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
