#include "checks/checkwindows.h"

#include "checks/verdicts.h"
#include "core/regional.h"
#include "core/text.h"
#include "ui/messages.h"
#include "ui/pictures.h"
#include "ui/widgets.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

using namespace qv;

namespace {

constexpr int kStripHeight = 56;

QFont arial(int points)
{
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(points);
    return font;
}

QFont courierBold(int points)
{
    QFont font;
    font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")});
    font.setStyleHint(QFont::Monospace);
    font.setPointSize(points);
    font.setBold(true);
    return font;
}

// The heading strip: the program's colours, its logo and the check's name.
QPixmap headingStrip(int width, const QString &heading)
{
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    QPixmap strip(QSize(width, kStripHeight) * ratio);
    strip.setDevicePixelRatio(ratio);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, width, 0);
    fill.setColorAt(0, QColor(0x1F, 0x4E, 0x79));
    fill.setColorAt(1, QColor(0x2E, 0x75, 0xB6));
    painter.fillRect(QRect(0, 0, width, kStripHeight), fill);
    painter.fillRect(QRect(0, kStripHeight - 3, width, 3), QColor(0xF6, 0xC3, 0x43));
    painter.drawPixmap(QRect(14, 8, 38, 38), pictureOfSize(QStringLiteral("check"), QSize(38, 38) * ratio));
    QFont font = arial(14);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(64, 0, width - 76, kStripHeight - 3), Qt::AlignVCenter | Qt::AlignLeft, heading);
    return strip;
}

bool isAsciiDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

} // namespace

namespace qv {

CheckWindow::CheckWindow(QWidget *parent, const Setup &setup)
    : QDialog(parent), m_limit(setup.maxLength), m_reshape(setup.reshapeTyping)
{
    applyRegionalSettings();
    setWindowTitle(setup.caption);

    imgLogo = new QLabel(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(headingStrip(setup.size.width(), setup.heading));
    imgLogo->setFixedHeight(kStripHeight);

    lblTitolo = new QLabel(setup.instruction, this);
    lblTitolo->setObjectName(QStringLiteral("lblTitolo"));
    lblTitolo->setFont(arial(12));
    lblTitolo->setWordWrap(true);

    m_box = new QLineEdit(this);
    m_box->setObjectName(setup.boxName);
    m_box->setFont(courierBold(20));
    m_box->setMaxLength(setup.maxLength);
    lblTitolo->setBuddy(m_box);

    btnControlla = new QPushButton(picture(QStringLiteral("check")), QStringLiteral("Controlla"), this);
    btnControlla->setObjectName(QStringLiteral("btnControlla"));
    btnChiudi = new QPushButton(picture(QStringLiteral("close")), QStringLiteral("Chiudi"), this);
    btnChiudi->setObjectName(QStringLiteral("btnChiudi"));
    for (QPushButton *button : {btnControlla, btnChiudi}) {
        // No default button: Enter in the box only moves the focus. Enter on
        // the button that has the focus presses it, so a second Enter after
        // typing runs the check.
        button->setAutoDefault(false);
        button->setMinimumWidth(110);
        onEnter(button, [button] { button->click(); });
    }

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    buttons->addStretch(1);
    buttons->addWidget(btnControlla);
    buttons->addWidget(btnChiudi);
    // The card number box must show 30 characters of a 20-point font: its
    // window is narrow for that, so it gets thinner side margins.
    const int side = setup.maxLength >= 30 ? 9 : 16;
    auto *body = new QVBoxLayout;
    body->setContentsMargins(side, 18, side, 16);
    body->setSpacing(10);
    body->addWidget(lblTitolo);
    body->addWidget(m_box);
    body->addStretch(1);
    body->addLayout(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(imgLogo);
    layout->addLayout(body, 1);

    setTabOrder(m_box, btnControlla);
    setTabOrder(btnControlla, btnChiudi);

    connect(btnControlla, &QPushButton::clicked, this, [this] { btnControllaClick(); });
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_box, &QLineEdit::textEdited, this, [this] { boxEdited(); });

    const Keys keys = setup.keys;
    onKeyPress(m_box, [this, keys](QKeyEvent *event) {
        if (isEnterKey(event)) {
            btnControlla->setFocus(Qt::OtherFocusReason);
            return true;
        }
        if (keys == Keys::Any)
            return false;
        switch (event->key()) {
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
        case Qt::Key_Left:
        case Qt::Key_Right:
            return false;
        default:
            break;
        }
        const QString text = event->text();
        return !(text.size() == 1 && isAsciiDigit(text.at(0)));
    });

    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(setup.size);
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void CheckWindow::setBoxText(const QString &text)
{
    m_box->setMaxLength(std::max<int>(m_limit, int(text.size())));
    m_box->setText(text);
}

void CheckWindow::showVerdict(const checks::Verdict &verdict)
{
    switch (verdict.outcome) {
    case checks::Verdict::Outcome::Retry:
        retry(verdict.text());
        return;
    case checks::Verdict::Outcome::Valid:
        Messages::information(verdict.text(), this);
        break;
    case checks::Verdict::Outcome::Invalid:
        Messages::warning(verdict.text(), this);
        break;
    }
    accept();
}

void CheckWindow::boxEdited()
{
    if (m_reshape) {
        const QString typed = m_box->text();
        const QString shaped = asciiUpper(trimmed(typed));
        if (shaped != typed) {
            // Keep the caret where it was, less the blanks cut before it.
            qsizetype lead = 0;
            while (lead < typed.size() && typed.at(lead).unicode() <= 32)
                ++lead;
            const int caret = std::clamp(int(m_box->cursorPosition() - lead), 0, int(shaped.size()));
            m_box->setText(shaped);
            m_box->setCursorPosition(caret);
        }
    }
    // A long pre-filled text may be shortened, never lengthened past the limit.
    const int wanted = std::max<int>(m_limit, int(m_box->text().size()));
    if (m_box->maxLength() != wanted) {
        const int caret = m_box->cursorPosition();
        m_box->setMaxLength(wanted);
        m_box->setCursorPosition(caret);
    }
}

void CheckWindow::retry(const QString &warning)
{
    Messages::warning(warning, this);
    m_box->setFocus(Qt::OtherFocusReason);
}

void CheckWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_box->setFocus(Qt::OtherFocusReason);
}

} // namespace qv

TfrmCodFisc::TfrmCodFisc(QWidget *parent)
    : CheckWindow(parent, {QStringLiteral(" Controllo codice fiscale"), QSize(478, 254),
                           QStringLiteral("Codice fiscale"),
                           QStringLiteral("Immettere il codice fiscale e premere il pulsante di controllo."),
                           QStringLiteral("txtCodFisc"), 16, Keys::Any, true})
{
    txtCodFisc = box();
}

void TfrmCodFisc::btnControllaClick()
{
    showVerdict(checks::fiscalCodeVerdict(txtCodFisc->text()));
}

TfrmPartitaIva::TfrmPartitaIva(QWidget *parent)
    : CheckWindow(parent, {QStringLiteral(" Controllo partita IVA"), QSize(480, 254),
                           QStringLiteral("Partita IVA"),
                           QStringLiteral("Immettere il numero di partita IVA e premere il pulsante di controllo."),
                           QStringLiteral("txtPartitaIva"), 11, Keys::Digits, false})
{
    txtPartitaIva = box();
}

void TfrmPartitaIva::btnControllaClick()
{
    showVerdict(checks::vatNumberVerdict(txtPartitaIva->text()));
}

TfrmCarta::TfrmCarta(QWidget *parent)
    : CheckWindow(parent, {QStringLiteral(" Controllo carta di credito"), QSize(519, 254),
                           QStringLiteral("Carta di credito"),
                           QStringLiteral("Immettere il numero di carta di credito e premere il pulsante di "
                                          "controllo."),
                           QStringLiteral("txtNumero"), 30, Keys::Digits, true})
{
    txtNumero = box();
}

void TfrmCarta::btnControllaClick()
{
    showVerdict(checks::cardVerdict(txtNumero->text()));
}

TfrmIban::TfrmIban(QWidget *parent)
    : CheckWindow(parent, {QStringLiteral(" Controllo IBAN"), QSize(608, 270), QStringLiteral("IBAN"),
                           QStringLiteral("Immettere l'IBAN e premere il pulsante di controllo."),
                           QStringLiteral("txtIban"), 27, Keys::Any, true})
{
    txtIban = box();
}

void TfrmIban::btnControllaClick()
{
    showVerdict(checks::ibanVerdict(txtIban->text()));
}
