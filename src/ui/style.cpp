#include "ui/style.h"

#include <QApplication>
#include <QFont>
#include <QPalette>
#include <QStyleFactory>

namespace qv {

void applyHouseStyle(QApplication &app)
{
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    QPalette palette = app.palette();
    palette.setColor(QPalette::Window, QColor(0xF3, 0xF5, 0xF8));
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::AlternateBase, QColor(0xEE, 0xF2, 0xF7));
    palette.setColor(QPalette::Highlight, QColor(0x1F, 0x4E, 0x79));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Button, QColor(0xE9, 0xED, 0xF2));
    palette.setColor(QPalette::WindowText, QColor(0x1D, 0x27, 0x33));
    palette.setColor(QPalette::Text, QColor(0x1D, 0x27, 0x33));
    app.setPalette(palette);

    QFont font = app.font();
    font.setPointSizeF(std::max(font.pointSizeF(), 9.5));
    app.setFont(font);

    app.setStyleSheet(QStringLiteral(R"(
        QFrame[highlight="true"] { background: #F6C343; border-radius: 4px; }
        QGroupBox { font-weight: 600; color: #1F4E79; border: 1px solid #C9D3DE;
                    border-radius: 6px; margin-top: 14px; padding: 8px 6px 6px 6px; background: #FFFFFF; }
        QGroupBox::title { subcontrol-origin: margin; left: 12px; padding: 0 4px; }
        QLabel#panInfo { background: #1F4E79; color: white; padding: 4px 10px; min-height: 18px; }
        QLabel#lblPosizione { font-weight: bold; min-width: 56px; qproperty-alignment: AlignCenter;
                              background: white; border: 1px solid #C9D3DE; border-radius: 3px; padding: 2px; }
        QLineEdit { padding: 2px 4px; border: 1px solid #B8C4D1; border-radius: 3px; background: white; }
        QLineEdit:read-only { background: #F4F6F9; }
        QLineEdit:focus { border: 1px solid #1F4E79; }
        QPushButton { padding: 5px 16px; border: 1px solid #9FB0C3; border-radius: 4px;
                      background: qlineargradient(x1:0,y1:0,x2:0,y2:1, stop:0 #FFFFFF, stop:1 #E3E9F0); }
        QPushButton:hover { border-color: #1F4E79; }
        QPushButton:disabled { color: #9AA5B1; background: #EEF1F4; border-color: #D0D7DF; }
        QToolButton { border: none; padding: 2px; border-radius: 4px; }
        QToolButton:hover { background: #DCE6F1; }
        QFrame#panStrumenti { background: white; border-bottom: 1px solid #C9D3DE; }
        QFrame[toolSeparator="true"] { color: #C9D3DE; }
        QFrame#panStrumenti QLabel#lblIntestazione { font-size: 15pt; font-weight: 700; color: #1F4E79;
                                                     padding: 0 12px; }
        QLineEdit[eventHeader="true"] { font-weight: bold; color: #7B3F00; }
        QWidget#frmPrenotazioni QLineEdit#txtPosto { font-size: 24pt; font-weight: bold; color: #1F4E79; border: 2px solid #1F4E79;
                             border-radius: 6px; }
        QWidget#frmPrenotazioni QLabel#lblPosto { font-size: 13pt; font-weight: bold; color: #1F4E79; }
        QDialog#frmConvalida QLabel#txtConvalida { background: #1F4E79; color: white; font-weight: bold;
                                                   padding: 7px; border-radius: 4px; }
        QDialog#frmConvalida QLabel#txtResponso { color: #800000; font-size: 20pt; font-weight: bold; }
        QWidget#frmMappaPosti QLabel#lblTitoloEvento { font-size: 13pt; font-weight: bold; color: #7B3F00; }
        QWidget#frmMappaPosti QLabel#lblContatori { font-weight: bold; color: #1F4E79; }
        QWidget#frmMenuPrenotazioni QLabel#lblPrenotati { font-weight: bold; color: #1F4E79; }
        QWidget#frmMenuPrenotazioni QToolButton#imgMappa, QWidget#frmMenuPrenotazioni QToolButton#imgAccoglienza,
        QWidget#frmMenuPrenotazioni QToolButton#imgCartellini { color: #1F4E79; font-weight: 600; padding: 2px 6px; }
        QWidget#frmMenuPrenotazioni QToolButton#imgMappa:disabled, QWidget#frmMenuPrenotazioni QToolButton#imgAccoglienza:disabled,
        QWidget#frmMenuPrenotazioni QToolButton#imgCartellini:disabled { color: #8A96A3; }
        QWidget#frmPrenotazioni QLabel#lblStatoPostoTesto { font-weight: bold; }
        QToolButton[keyboardStop="true"] { border: 3px solid transparent; border-radius: 6px; }
        QToolButton[keyboardStop="true"]:focus { border-color: #F6C343; background: #FFF8E1; }
        QLabel[productName="true"] { color: #1F4E79; font-size: 18pt; font-weight: 700; }
        QLabel[topicTitle="true"] { color: #DC143C; font-size: 13pt; font-weight: 600; }
        QLabel[about="true"] { color: #1D2733; }
        QDialog#frmImportaClienti QLabel#lblIntestazione { font-size: 14pt; font-weight: 700; color: #1F4E79; }
        QDialog#frmImportaClienti QLabel#lblColonne { color: #7B3F00; }
        QDialog#frmImportaClienti QLabel#lblRiepilogo { font-weight: 600; color: #1F4E79; }
        QProgressBar { border: 1px solid #B8C4D1; border-radius: 3px; background: white; text-align: center;
                       min-height: 18px; }
        QProgressBar::chunk { background: #1F4E79; border-radius: 2px; }
        QDialog#frmAccoglienza QLineEdit#txtCodice { font-size: 16pt; font-weight: bold; color: #1F4E79; }
        QDialog#frmAccoglienza QLabel#lblEsito { font-size: 16pt; font-weight: bold; min-height: 100px;
                                                 padding: 12px; border: 4px solid transparent; border-radius: 8px;
                                                 background: #F4F6F9; color: #1D2733; }
        QDialog#frmAccoglienza QLabel#lblEsito[esito="registrato"] { background: #2E7D32; color: white; }
        QDialog#frmAccoglienza QLabel#lblEsito[esito="sospeso"] { background: #E07B00; color: #1D2733; }
        QDialog#frmAccoglienza QLabel#lblEsito[esito="gia"] { background: #F6C343; color: #1D2733; }
        QDialog#frmAccoglienza QLabel#lblEsito[esito="rifiutato"] { background: #B22222; color: white; }
        QDialog#frmAccoglienza QLabel#lblEsito[esito="avviso"] { background: #DCE6F1; color: #1F4E79; }
        QDialog#frmAccoglienza QLabel#lblEsito[lampo="true"] { border-color: #1D2733; }
        QDialog#frmAccoglienza QLabel#lblTotali { font-size: 15pt; font-weight: bold; color: #1F4E79; }
        QDialog#frmAccoglienza QListWidget { font-size: 11pt; }
    )"));
}

QFont largeBoxFont()
{
    QFont font(QStringLiteral("Verdana"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(12);
    font.setBold(true);
    return font;
}

QList<QColor> chartColours()
{
    return {QColor(0x1F, 0x4E, 0x79), QColor(0xE0, 0x7B, 0x00), QColor(0xF6, 0xD7, 0x7A)};
}

} // namespace qv
