#include "frame/guide.h"

#include "frame/shortcuttable.h"

#include "core/programfolder.h"
#include "core/regional.h"
#include "core/tmisc.h"
#include "frame/workspace.h"
#include "ui/desktop.h"
#include "ui/pictures.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace qv;

namespace {

void openPdfGuide(QWidget *owner)
{
    Desktop::openFile(ProgramFolder::file(kGuidePdfName), owner);
}

} // namespace

namespace qv {

void showGuide(QWidget *owner, GuideTopic topic)
{
    TfrmGuida dialog(owner);
    dialog.lblTitolo->setText(guideTitle(topic));
    // The topic, then its "Tasti rapidi" table where the window has keys.
    QString text = guideText(topic);
    const QString keys = shortcutTable(topic);
    if (!keys.isEmpty())
        text += QStringLiteral("\r\n\r\n") + keys;
    dialog.txtGuida->setPlainText(text);
    dialog.exec();
}

} // namespace qv

TfrmGuida::TfrmGuida(QWidget *parent) : ButtonClosedDialog(parent)
{
    applyRegionalSettings();
    setObjectName(QStringLiteral("frmGuida"));
    setWindowTitle(QStringLiteral(" Guida all'utilizzo del software"));
    setWindowIcon(picture(QStringLiteral("guide")));
    imgLogo = new QLabel(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(pictureOfSize(QStringLiteral("logo"), QSize(56, 56)));
    auto *product = new QLabel(QStringLiteral("Quorvane"), this);
    product->setProperty("productName", true);
    lblTitolo = new QLabel(QStringLiteral("Argomento della guida."), this);
    lblTitolo->setObjectName(QStringLiteral("lblTitolo"));
    lblTitolo->setProperty("topicTitle", true);
    txtGuida = new QPlainTextEdit(this);
    txtGuida->setObjectName(QStringLiteral("txtGuida"));
    txtGuida->setReadOnly(true);
    txtGuida->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtGuida->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtGuida->setFixedSize(640, 400);
    lblTitolo->setBuddy(txtGuida);
    imgPDF = new ClickablePicture(QStringLiteral("imgPDF"), picture(QStringLiteral("pdf")),
                                  QStringLiteral("Visualizza guida in formato PDF"), this);
    imgPDF->setIconSize(QSize(28, 28));
    const auto pdf = [this] { openPdfGuide(this); };
    lnkWeb = makeLink(QStringLiteral("Visualizza guida in formato PDF"), pdf, this);
    linkPicture(imgPDF, lnkWeb, pdf);
    btnChiudi = closeButton(this);
    btnChiudi->setDefault(true);

    auto *titles = new QVBoxLayout;
    titles->setSpacing(2);
    titles->addWidget(product);
    titles->addWidget(lblTitolo);
    auto *head = new QHBoxLayout;
    head->setSpacing(12);
    head->addWidget(imgLogo);
    head->addLayout(titles, 1);
    auto *foot = new QHBoxLayout;
    foot->addWidget(imgPDF);
    foot->addWidget(lnkWeb);
    foot->addStretch(1);
    foot->addWidget(btnChiudi);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(10);
    layout->addLayout(head);
    layout->addWidget(txtGuida);
    layout->addLayout(foot);
    makeFixedCentred(this);
    btnChiudi->setFocus(Qt::OtherFocusReason);
}
