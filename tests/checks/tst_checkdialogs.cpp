#include "checks/checkdialogs.h"
#include "checks/checkwindows.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QFontInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include <memory>

using qv::MessageKind;
using qvtest::MessageRecorder;

Q_DECLARE_METATYPE(qv::MessageKind)

namespace {

const QString kBlankLine = QStringLiteral("\r\n\r\n");

std::unique_ptr<qv::CheckWindow> makeWindow(const QString &which, QWidget *parent = nullptr)
{
    if (which == "TfrmCodFisc")
        return std::make_unique<TfrmCodFisc>(parent);
    if (which == "TfrmPartitaIva")
        return std::make_unique<TfrmPartitaIva>(parent);
    if (which == "TfrmCarta")
        return std::make_unique<TfrmCarta>(parent);
    return std::make_unique<TfrmIban>(parent);
}

QString boxName(const QString &which)
{
    if (which == "TfrmCodFisc")
        return QStringLiteral("txtCodFisc");
    if (which == "TfrmPartitaIva")
        return QStringLiteral("txtPartitaIva");
    if (which == "TfrmCarta")
        return QStringLiteral("txtNumero");
    return QStringLiteral("txtIban");
}

QLineEdit *boxOf(QWidget *window)
{
    for (const char *name : {"txtCodFisc", "txtPartitaIva", "txtNumero", "txtIban"})
        if (auto *box = window->findChild<QLineEdit *>(name))
            return box;
    return nullptr;
}

QPushButton *button(QWidget *window, const char *name)
{
    return window->findChild<QPushButton *>(name);
}

QString vatValid(const QString &office)
{
    return QStringLiteral("Il numero di partita IVA digitato risulta VALIDO.") + kBlankLine
           + QStringLiteral("E' stato rilasciato dall'Ufficio IVA del Comune di ") + office + ".";
}

QString cardValid(const QString &number, const QString &kind)
{
    return QStringLiteral("Il numero di carta di credito ") + number + QStringLiteral(" risulta valido.") + kBlankLine
           + QStringLiteral("La carta di credito \u00E8 del tipo ") + kind + ".";
}

} // namespace

class TstCheckDialogs : public QObject
{
    Q_OBJECT

private slots:
    void look_data();
    void look();
    void controlla_data();
    void controlla();
    void fiscalCodeTyping();
    void ibanTyping();
    void digitKeys_data();
    void digitKeys();
    void enterMovesFocus_data();
    void enterMovesFocus();
    void enterOnChiudiCloses();
    void typingLimit_data();
    void typingLimit();
    void longCallerTextKeptWhole();
    void fiscalCodeButton_data();
    void fiscalCodeButton();
    void openers_data();
    void openers();
    void typedThenChecked();
};

void TstCheckDialogs::look_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<QString>("instruction");
    QTest::newRow("fiscal code") << "TfrmCodFisc" << " Controllo codice fiscale" << QSize(478, 254) << 16
                                 << "Immettere il codice fiscale e premere il pulsante di controllo.";
    QTest::newRow("VAT") << "TfrmPartitaIva" << " Controllo partita IVA" << QSize(480, 254) << 11
                         << "Immettere il numero di partita IVA e premere il pulsante di controllo.";
    QTest::newRow("card") << "TfrmCarta" << " Controllo carta di credito" << QSize(519, 254) << 30
                          << "Immettere il numero di carta di credito e premere il pulsante di controllo.";
    QTest::newRow("IBAN") << "TfrmIban" << " Controllo IBAN" << QSize(608, 270) << 27
                          << "Immettere l'IBAN e premere il pulsante di controllo.";
}

void TstCheckDialogs::look()
{
    QFETCH(QString, which);
    QFETCH(QString, caption);
    QFETCH(QSize, size);
    QFETCH(int, maxLength);
    QFETCH(QString, instruction);
    auto window = makeWindow(which);
    QCOMPARE(window->metaObject()->className(), which.toLatin1());
    QCOMPARE(window->windowTitle(), caption);
    QCOMPARE(window->size(), size);
    QCOMPARE(window->minimumSize(), size);
    QCOMPARE(window->maximumSize(), size);
    const Qt::WindowFlags flags = window->windowFlags();
    QVERIFY(flags & Qt::CustomizeWindowHint);
    QVERIFY(!(flags & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint | Qt::WindowSystemMenuHint)));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY((window->frameGeometry().center() - screen.center()).manhattanLength() <= 2);

    auto *logo = window->findChild<QLabel *>("imgLogo");
    QVERIFY(logo && !logo->pixmap().isNull());
    auto *title = window->findChild<QLabel *>("lblTitolo");
    QVERIFY(title);
    QCOMPARE(title->text(), instruction);
    QCOMPARE(title->font().family(), QStringLiteral("Arial"));
    QCOMPARE(title->font().pointSize(), 12);
    // Liberation fonts stand in for Arial and Courier New.
    QVERIFY(QStringList({"Arial", "Liberation Sans"}).contains(QFontInfo(title->font()).family()));

    QLineEdit *box = window->findChild<QLineEdit *>(boxName(which));
    QVERIFY(box);
    QCOMPARE(box->maxLength(), maxLength);
    QCOMPARE(box->font().family(), QStringLiteral("Courier New"));
    QCOMPARE(box->font().pointSize(), 20);
    QVERIFY(box->font().bold());
    QVERIFY(QStringList({"Courier New", "Liberation Mono"}).contains(QFontInfo(box->font()).family()));
    QVERIFY(QFontInfo(box->font()).bold());

    QCOMPARE(button(window.get(), "btnControlla")->text(), QStringLiteral("Controlla"));
    QCOMPARE(button(window.get(), "btnChiudi")->text(), QStringLiteral("Chiudi"));
    QCOMPARE(box->nextInFocusChain(), button(window.get(), "btnControlla"));
    QCOMPARE(button(window.get(), "btnControlla")->nextInFocusChain(), button(window.get(), "btnChiudi"));

    // Shown with the focus in the box; "Chiudi" closes without a message.
    MessageRecorder messages;
    window->show();
    QCOMPARE(window->focusWidget(), box);

    // A text of the full length fits the box: with the caret at its end the
    // start is not scrolled out of sight.
    box->setText(QString(maxLength, QLatin1Char('0')));
    box->setCursorPosition(maxLength);
    QVERIFY(box->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x() - box->fontMetrics().horizontalAdvance(box->text()) >= 0);

    button(window.get(), "btnChiudi")->click();
    QVERIFY(!window->isVisible());
    QCOMPARE(messages.count(), 0);
}

void TstCheckDialogs::controlla_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("text");
    QTest::addColumn<MessageKind>("kind");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("staysOpen");

    const QString cfLength = "Attenzione: il codice fiscale deve essere composto da 16 caratteri alfanumerici.";
    const QString cfValid = QStringLiteral("Il codice fiscale digitato \u00E8 VALIDO.");
    const QString cfWrong = QStringLiteral("Attenzione: il codice fiscale digitato \u00E8 ERRATO.");
    QTest::newRow("cf empty") << "TfrmCodFisc" << "" << MessageKind::Warning << cfLength << true;
    QTest::newRow("cf 15") << "TfrmCodFisc" << "RSSMRA85T10A562" << MessageKind::Warning << cfLength << true;
    QTest::newRow("cf valid") << "TfrmCodFisc" << "RSSMRA85T10A562S" << MessageKind::Information << cfValid << false;
    QTest::newRow("cf lower") << "TfrmCodFisc" << "bncgnn70a41h501v" << MessageKind::Information << cfValid << false;
    QTest::newRow("cf wrong") << "TfrmCodFisc" << "RSSMRA85T10A562T" << MessageKind::Warning << cfWrong << false;
    QTest::newRow("cf last digit") << "TfrmCodFisc" << "RSSMRA85T10A5627" << MessageKind::Warning << cfWrong << false;
    QTest::newRow("cf swapped") << "TfrmCodFisc" << "RSMSRA85T10A562S" << MessageKind::Warning << cfWrong << false;
    QTest::newRow("cf punctuation") << "TfrmCodFisc" << "RSSMRA-5T10A562S" << MessageKind::Warning << cfWrong << false;
    QTest::newRow("cf blank") << "TfrmCodFisc" << "RSSMRA 5T10A562S" << MessageKind::Warning << cfWrong << false;
    QTest::newRow("cf accent") << "TfrmCodFisc" << QStringLiteral("RSS\u00C8RA85T10A562S") << MessageKind::Warning
                               << cfWrong << false;
    QTest::newRow("cf worth 0") << "TfrmCodFisc" << "RSSMRA85T1?A562R" << MessageKind::Information << cfValid << false;

    const QString vatLength = "Attenzione: la partita IVA deve essere composta da 11 caratteri numerici.";
    const QString vatWrong = QStringLiteral("Attenzione: il numero di partita IVA digitato risulta ERRATO!") + kBlankLine
                             + QStringLiteral("Non \u00E8 quindi possibile fornire informazioni relative all'Ufficio "
                                              "IVA che lo ha rilasciato.");
    QTest::newRow("vat empty") << "TfrmPartitaIva" << "" << MessageKind::Warning << vatLength << true;
    QTest::newRow("vat 10") << "TfrmPartitaIva" << "6777628001" << MessageKind::Warning << vatLength << true;
    QTest::newRow("vat 13 from card") << "TfrmPartitaIva" << "IT67776280017" << MessageKind::Warning << vatLength
                                      << true;
    QTest::newRow("vat Torino") << "TfrmPartitaIva" << "67776280017" << MessageKind::Information << vatValid("Torino")
                                << false;
    QTest::newRow("vat Forli") << "TfrmPartitaIva" << "33567090403" << MessageKind::Information
                               << vatValid(QStringLiteral("Forl\u00EC")) << false;
    QTest::newRow("vat Monza") << "TfrmPartitaIva" << "41679860969" << MessageKind::Information
                               << vatValid("Monza (Milano 2)") << false;
    QTest::newRow("vat 101") << "TfrmPartitaIva" << "42136151018" << MessageKind::Information << vatValid("Bologna 2")
                             << false;
    QTest::newRow("vat 120") << "TfrmPartitaIva" << "89055581204" << MessageKind::Information << vatValid("Bologna 2")
                             << false;
    QTest::newRow("vat 121") << "TfrmPartitaIva" << "90366981216" << MessageKind::Information << vatValid("Napoli 2")
                             << false;
    QTest::newRow("vat office 103")
        << "TfrmPartitaIva" << "12345671031" << MessageKind::Information
        << QStringLiteral("Il numero di partita IVA digitato risulta VALIDO.") + kBlankLine
               + QStringLiteral("Non \u00E8 possibile identificare l'Ufficio IVA che lo ha rilasciato: il codice "
                                "ufficio 103 non \u00E8 tra quelli conosciuti.")
        << false;
    QTest::newRow("vat wrong last") << "TfrmPartitaIva" << "67776280012" << MessageKind::Warning << vatWrong << false;
    QTest::newRow("vat swapped") << "TfrmPartitaIva" << "76776280017" << MessageKind::Warning << vatWrong << false;
    QTest::newRow("vat prefix") << "TfrmPartitaIva" << "IT776280017" << MessageKind::Warning << vatWrong << false;
    QTest::newRow("vat blank") << "TfrmPartitaIva" << "67776 80017" << MessageKind::Warning << vatWrong << false;

    const QString cardEmpty =
        "Attenzione: immettere il numero di carta di credito prima di premere il pulsante di controllo.";
    const QString cardWrong = QStringLiteral("Attenzione: il numero digitato risulta ERRATO!") + kBlankLine
                              + QStringLiteral("Non \u00E8 quindi possibile fornire informazioni relative al tipo di "
                                               "carta di credito.");
    QTest::newRow("card empty") << "TfrmCarta" << "" << MessageKind::Warning << cardEmpty << true;
    QTest::newRow("card blanks") << "TfrmCarta" << "    " << MessageKind::Warning << cardEmpty << true;
    QTest::newRow("card Visa") << "TfrmCarta" << "4111111111111111" << MessageKind::Information
                               << cardValid("4111111111111111", "Visa") << false;
    QTest::newRow("card groups") << "TfrmCarta" << "4111 1111 1111 1111" << MessageKind::Information
                                 << cardValid("4111 1111 1111 1111", "Visa") << false;
    QTest::newRow("card 42") << "TfrmCarta" << "42" << MessageKind::Information << cardValid("42", "Visa") << false;
    QTest::newRow("card MasterCard") << "TfrmCarta" << "5555-5555-5555-4444" << MessageKind::Information
                                     << cardValid("5555-5555-5555-4444", "MasterCard") << false;
    QTest::newRow("card Discover") << "TfrmCarta" << "6011111111111117" << MessageKind::Information
                                   << cardValid("6011111111111117", "Discover") << false;
    QTest::newRow("card Amex") << "TfrmCarta" << "378282246310005" << MessageKind::Information
                               << cardValid("378282246310005", "American Express") << false;
    QTest::newRow("card Diners") << "TfrmCarta" << "30569309025904" << MessageKind::Information
                                 << cardValid("30569309025904", "Diner's Club / Carte Blanche") << false;
    QTest::newRow("card JCB") << "TfrmCarta" << "3530111333300000" << MessageKind::Information
                              << cardValid("3530111333300000", "JCB") << false;
    QTest::newRow("card 39")
        << "TfrmCarta" << "3900000000000005" << MessageKind::Information
        << QStringLiteral("Il numero di carta di credito 3900000000000005 risulta valido.") + kBlankLine
               + QStringLiteral("Non \u00E8 possibile identificare il tipo di carta di credito.")
        << false;
    QTest::newRow("card wrong") << "TfrmCarta" << "4111111111111112" << MessageKind::Warning << cardWrong << false;
    QTest::newRow("card leading 2") << "TfrmCarta" << "2223003122003222" << MessageKind::Warning << cardWrong
                                    << false;
    QTest::newRow("card leading 7") << "TfrmCarta" << "79927398713" << MessageKind::Warning << cardWrong << false;
    QTest::newRow("card zero") << "TfrmCarta" << "0" << MessageKind::Warning << cardWrong << false;

    const QString ibanLength = "Attenzione: l'IBAN deve essere composto da 27 caratteri alfanumerici.";
    const QString ibanValid = QStringLiteral("L'IBAN digitato \u00E8 VALIDO.");
    const QString ibanWrong = QStringLiteral("Attenzione: l'IBAN digitato \u00E8 ERRATO!");
    QTest::newRow("iban empty") << "TfrmIban" << "" << MessageKind::Warning << ibanLength << true;
    QTest::newRow("iban GB") << "TfrmIban" << "GB82WEST12345698765432" << MessageKind::Warning << ibanLength << true;
    QTest::newRow("iban MT") << "TfrmIban" << "MT84MALT011000012345MTLCAST001S" << MessageKind::Warning << ibanLength
                             << true;
    QTest::newRow("iban valid") << "TfrmIban" << "IT60X0542811101000000123456" << MessageKind::Information
                                << ibanValid << false;
    QTest::newRow("iban lower") << "TfrmIban" << "it60x0542811101000000123456" << MessageKind::Information
                                << ibanValid << false;
    QTest::newRow("iban San Marino") << "TfrmIban" << "SM86U0322509800000000270100" << MessageKind::Information
                                     << ibanValid << false;
    QTest::newRow("iban blanks inside") << "TfrmIban" << "GB82 WEST 1234 5698 7654 32" << MessageKind::Information
                                        << ibanValid << false;
    QTest::newRow("iban swapped") << "TfrmIban" << "IT60X5042811101000000123456" << MessageKind::Warning << ibanWrong
                                  << false;
    QTest::newRow("iban punctuation") << "TfrmIban" << "IT60X054281110100000012345." << MessageKind::Warning
                                      << ibanWrong << false;
}

void TstCheckDialogs::controlla()
{
    QFETCH(QString, which);
    QFETCH(QString, text);
    QFETCH(MessageKind, kind);
    QFETCH(QString, message);
    QFETCH(bool, staysOpen);
    MessageRecorder messages;
    auto window = makeWindow(which);
    window->setBoxText(text);
    window->show();
    QLineEdit *box = boxOf(window.get());
    QPushButton *controlla = button(window.get(), "btnControlla");
    controlla->setFocus();
    controlla->click();
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.last().kind, kind);
    QCOMPARE(messages.last().text, message);
    QCOMPARE(window->isVisible(), staysOpen);
    if (staysOpen)
        QCOMPARE(window->focusWidget(), box);
    QCOMPARE(box->text(), text); // the check never rewrites the box
}

void TstCheckDialogs::fiscalCodeTyping()
{
    TfrmCodFisc window;
    window.show();
    QTest::keyClicks(window.txtCodFisc, "  rss");
    QCOMPARE(window.txtCodFisc->text(), QStringLiteral("RSS"));
    // A blank typed at the end is trimmed at once; one typed inside stays.
    QTest::keyClicks(window.txtCodFisc, "mra 8");
    QCOMPARE(window.txtCodFisc->text(), QStringLiteral("RSSMRA8"));
    window.txtCodFisc->setCursorPosition(6);
    QTest::keyClicks(window.txtCodFisc, " ");
    QCOMPARE(window.txtCodFisc->text(), QStringLiteral("RSSMRA 8"));
    // Letters are put in capitals where they are typed, not only at the end.
    window.txtCodFisc->setCursorPosition(3);
    QTest::keyClicks(window.txtCodFisc, "x");
    QCOMPARE(window.txtCodFisc->text(), QStringLiteral("RSSXMRA 8"));
    QCOMPARE(window.txtCodFisc->cursorPosition(), 4);
    // Blanks cut at the start do not throw the caret off.
    window.txtCodFisc->setCursorPosition(0);
    QTest::keyClicks(window.txtCodFisc, " ");
    QCOMPARE(window.txtCodFisc->text(), QStringLiteral("RSSXMRA 8"));
    QCOMPARE(window.txtCodFisc->cursorPosition(), 0);
    // Accented letters are not ASCII letters: kept as typed.
    window.txtCodFisc->clear();
    QKeyEvent accented(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("\u00E8"));
    QApplication::sendEvent(window.txtCodFisc, &accented);
    QTest::keyClicks(window.txtCodFisc, "a");
    QCOMPARE(window.txtCodFisc->text(), QStringLiteral("\u00E8A"));
}

void TstCheckDialogs::ibanTyping()
{
    TfrmIban window;
    window.show();
    QTest::keyClicks(window.txtIban, " it60 x054 ");
    QCOMPARE(window.txtIban->text(), QStringLiteral("IT60X054"));
    window.txtIban->setCursorPosition(4);
    QTest::keyClicks(window.txtIban, " ");
    QCOMPARE(window.txtIban->text(), QStringLiteral("IT60 X054"));
    // Other keys work as usual.
    QTest::keyClick(window.txtIban, Qt::Key_Home);
    QCOMPARE(window.txtIban->cursorPosition(), 0);
    QTest::keyClick(window.txtIban, Qt::Key_End);
    QTest::keyClick(window.txtIban, Qt::Key_Backspace);
    QCOMPARE(window.txtIban->text(), QStringLiteral("IT60 X05"));
    QTest::keyClicks(window.txtIban, "-.");
    QCOMPARE(window.txtIban->text(), QStringLiteral("IT60 X05-."));
}

void TstCheckDialogs::digitKeys_data()
{
    QTest::addColumn<QString>("which");
    QTest::newRow("VAT") << "TfrmPartitaIva";
    QTest::newRow("card") << "TfrmCarta";
}

void TstCheckDialogs::digitKeys()
{
    QFETCH(QString, which);
    MessageRecorder messages;
    auto window = makeWindow(which);
    window->show();
    QLineEdit *box = boxOf(window.get());
    box->setFocus();
    QTest::keyClicks(box, "12ab 3-4.x/5");
    QCOMPARE(box->text(), QStringLiteral("12345"));
    QTest::keyClick(box, Qt::Key_Left);
    QTest::keyClick(box, Qt::Key_Left);
    QCOMPARE(box->cursorPosition(), 3);
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->text(), QStringLiteral("1245"));
    QTest::keyClick(box, Qt::Key_Delete);
    QCOMPARE(box->text(), QStringLiteral("125"));
    QTest::keyClick(box, Qt::Key_Right);
    QCOMPARE(box->cursorPosition(), 3);
    // Home, End, the up and down arrows, blanks and Tab do nothing here.
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, Qt::Key_Up);
    QCOMPARE(box->cursorPosition(), 3);
    box->setCursorPosition(1);
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(box->cursorPosition(), 1);
    QTest::keyClick(box, Qt::Key_Space);
    QTest::keyClick(box, Qt::Key_Tab);
    QCOMPARE(window->focusWidget(), box);
    QCOMPARE(box->text(), QStringLiteral("125"));
    QTest::keyClick(box, Qt::Key_9);
    QCOMPARE(box->text(), QStringLiteral("1925"));
    QCOMPARE(messages.count(), 0);
}

void TstCheckDialogs::enterMovesFocus_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("key");
    QTest::newRow("fiscal code") << "TfrmCodFisc" << "RSSMRA85T10A562S" << int(Qt::Key_Return);
    QTest::newRow("VAT") << "TfrmPartitaIva" << "67776280017" << int(Qt::Key_Return);
    QTest::newRow("card") << "TfrmCarta" << "4111111111111111" << int(Qt::Key_Enter);
    QTest::newRow("IBAN") << "TfrmIban" << "IT60X0542811101000000123456" << int(Qt::Key_Return);
}

void TstCheckDialogs::enterMovesFocus()
{
    QFETCH(QString, which);
    QFETCH(QString, text);
    QFETCH(int, key);
    MessageRecorder messages;
    auto window = makeWindow(which);
    window->setBoxText(text);
    window->show();
    QLineEdit *box = boxOf(window.get());
    QCOMPARE(window->focusWidget(), box);
    QTest::keyClick(box, Qt::Key(key));
    QCOMPARE(window->focusWidget(), button(window.get(), "btnControlla"));
    QCOMPARE(messages.count(), 0); // Enter does not press it
    QVERIFY(window->isVisible());
    QCOMPARE(box->text(), text);
    // A second Enter presses the button that now has the focus.
    QTest::keyClick(window->focusWidget(), Qt::Key(key));
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.last().kind, MessageKind::Information);
    QVERIFY(!window->isVisible());
}

void TstCheckDialogs::enterOnChiudiCloses()
{
    MessageRecorder messages;
    TfrmCodFisc window;
    window.setBoxText(QStringLiteral("RSSMRA85T10A562S"));
    window.show();
    window.btnChiudi->setFocus(Qt::TabFocusReason);
    QTest::keyClick(window.btnChiudi, Qt::Key_Return);
    QVERIFY(!window.isVisible());
    QCOMPARE(messages.count(), 0);
}

void TstCheckDialogs::typingLimit_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("fiscal code") << "TfrmCodFisc" << "RSSMRA85T10A562SXYZ" << "RSSMRA85T10A562S";
    QTest::newRow("VAT") << "TfrmPartitaIva" << "1234567890123" << "12345678901";
    QTest::newRow("card") << "TfrmCarta" << QString(35, QLatin1Char('4')) << QString(30, QLatin1Char('4'));
    QTest::newRow("IBAN") << "TfrmIban" << "IT60X0542811101000000123456ABC" << "IT60X0542811101000000123456";
}

void TstCheckDialogs::typingLimit()
{
    QFETCH(QString, which);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    auto window = makeWindow(which);
    window->show();
    QLineEdit *box = boxOf(window.get());
    QTest::keyClicks(box, typed);
    QCOMPARE(box->text(), kept);
}

void TstCheckDialogs::longCallerTextKeptWhole()
{
    // The limit is on typing: a longer text from the card is shown whole,
    // may be shortened, and never grows again past the limit.
    TfrmPartitaIva window;
    window.setBoxText(QStringLiteral("1234567890123"));
    window.show();
    QCOMPARE(window.txtPartitaIva->text(), QStringLiteral("1234567890123"));
    window.txtPartitaIva->setCursorPosition(13);
    QTest::keyClick(window.txtPartitaIva, Qt::Key_5);
    QCOMPARE(window.txtPartitaIva->text(), QStringLiteral("1234567890123"));
    QTest::keyClick(window.txtPartitaIva, Qt::Key_Backspace);
    QCOMPARE(window.txtPartitaIva->text(), QStringLiteral("123456789012"));
    QTest::keyClick(window.txtPartitaIva, Qt::Key_5);
    QCOMPARE(window.txtPartitaIva->text(), QStringLiteral("123456789012"));
    QTest::keyClick(window.txtPartitaIva, Qt::Key_Backspace);
    QTest::keyClick(window.txtPartitaIva, Qt::Key_Backspace);
    QTest::keyClick(window.txtPartitaIva, Qt::Key_5);
    QCOMPARE(window.txtPartitaIva->text(), QStringLiteral("12345678905"));
    QCOMPARE(window.txtPartitaIva->maxLength(), 11);

    TfrmIban iban;
    iban.setBoxText(QStringLiteral("MT84MALT011000012345MTLCAST001S"));
    QCOMPARE(iban.txtIban->text(), QStringLiteral("MT84MALT011000012345MTLCAST001S"));
}

void TstCheckDialogs::fiscalCodeButton_data()
{
    QTest::addColumn<QString>("cardText");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QString>("boxText");
    QTest::newRow("letters") << "  RSSMRA85T10A562S " << "TfrmCodFisc" << "RSSMRA85T10A562S";
    QTest::newRow("lower case") << "rssmra85t10a562s" << "TfrmCodFisc" << "rssmra85t10a562s";
    QTest::newRow("empty") << "" << "TfrmCodFisc" << "";
    QTest::newRow("blanks") << "   " << "TfrmCodFisc" << "";
    QTest::newRow("digits") << "67776280017" << "TfrmPartitaIva" << "67776280017";
    QTest::newRow("digits trimmed") << "\t 0123 " << "TfrmPartitaIva" << "0123";
    QTest::newRow("13 digits") << "1234567890123" << "TfrmPartitaIva" << "1234567890123";
    QTest::newRow("digits with blank") << "677 76280017" << "TfrmCodFisc" << "677 76280017";
    QTest::newRow("digits with prefix") << "IT67776280017" << "TfrmCodFisc" << "IT67776280017";
}

void TstCheckDialogs::fiscalCodeButton()
{
    QFETCH(QString, cardText);
    QFETCH(QString, opened);
    QFETCH(QString, boxText);
    QWidget owner;
    QString seenClass;
    QString seenText;
    QWidget *seenParent = nullptr;
    qvtest::whenModal([&](QWidget *dialog) {
        seenClass = dialog->metaObject()->className();
        seenParent = dialog->parentWidget();
        seenText = boxOf(dialog)->text();
    });
    qv::openFiscalCodeButton(&owner, cardText);
    QCOMPARE(seenClass, opened);
    QCOMPARE(seenParent, &owner);
    QCOMPARE(seenText, boxText);
    QVERIFY(owner.findChildren<QDialog *>().isEmpty()); // destroyed after use
}

void TstCheckDialogs::openers_data()
{
    QTest::addColumn<int>("opener");
    QTest::addColumn<QString>("cardText");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QString>("message");
    QTest::newRow("fiscal code") << 0 << " RSSMRA85T10A562S\t" << "TfrmCodFisc"
                                 << QStringLiteral("Il codice fiscale digitato \u00E8 VALIDO.");
    QTest::newRow("fiscal code of digits") << 0 << "67776280017" << "TfrmCodFisc"
                                           << "Attenzione: il codice fiscale deve essere composto da 16 caratteri "
                                              "alfanumerici.";
    QTest::newRow("VAT") << 1 << "  67776280017  " << "TfrmPartitaIva" << vatValid("Torino");
    QTest::newRow("card") << 2 << "  4111 1111 1111 1111  " << "TfrmCarta" << cardValid("4111 1111 1111 1111", "Visa");
    QTest::newRow("IBAN") << 3 << "  IT60X0542811101000000123456 " << "TfrmIban"
                          << QStringLiteral("L'IBAN digitato \u00E8 VALIDO.");
}

void TstCheckDialogs::openers()
{
    QFETCH(int, opener);
    QFETCH(QString, cardText);
    QFETCH(QString, opened);
    QFETCH(QString, message);
    MessageRecorder messages;
    QWidget owner;
    QString seenClass;
    bool closedByCheck = false;
    qvtest::whenModal([&](QWidget *dialog) {
        seenClass = dialog->metaObject()->className();
        QPointer<QWidget> guard(dialog);
        button(dialog, "btnControlla")->click();
        closedByCheck = guard && !guard->isVisible();
    });
    switch (opener) {
    case 0: qv::openFiscalCodeCheck(&owner, cardText); break;
    case 1: qv::openVatCheck(&owner, cardText); break;
    case 2: qv::openCardCheck(&owner, cardText); break;
    default: qv::openIbanCheck(&owner, cardText); break;
    }
    QCOMPARE(seenClass, opened);
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.last().text, message);
    QCOMPARE(closedByCheck, messages.last().kind == MessageKind::Information);
    QVERIFY(owner.findChildren<QDialog *>().isEmpty());
}

void TstCheckDialogs::typedThenChecked()
{
    // Typed by hand in lower case, shown in capitals, checked as capitals.
    MessageRecorder messages;
    TfrmCodFisc cf;
    cf.show();
    QTest::keyClicks(cf.txtCodFisc, "rssmra85t10a562s");
    QCOMPARE(cf.txtCodFisc->text(), QStringLiteral("RSSMRA85T10A562S"));
    QTest::keyClick(cf.txtCodFisc, Qt::Key_Return);
    QTest::keyClick(cf.btnControlla, Qt::Key_Space);
    QCOMPARE(messages.last().text, QStringLiteral("Il codice fiscale digitato \u00E8 VALIDO."));
    QVERIFY(!cf.isVisible());

    TfrmIban iban;
    iban.show();
    QTest::keyClicks(iban.txtIban, "it60x0542811101000000123456");
    QCOMPARE(iban.txtIban->text(), QStringLiteral("IT60X0542811101000000123456"));
    QTest::mouseClick(iban.btnControlla, Qt::LeftButton);
    QCOMPARE(messages.last().text, QStringLiteral("L'IBAN digitato \u00E8 VALIDO."));

    // A check that cannot run leaves the window open for another try.
    TfrmPartitaIva vat;
    vat.show();
    QTest::keyClicks(vat.txtPartitaIva, "6777628001");
    QTest::mouseClick(vat.btnControlla, Qt::LeftButton);
    QVERIFY(vat.isVisible());
    QTest::keyClicks(vat.txtPartitaIva, "7");
    QTest::mouseClick(vat.btnControlla, Qt::LeftButton);
    QCOMPARE(messages.last().text, vatValid("Torino"));
    QVERIFY(!vat.isVisible());
}

QTEST_MAIN(TstCheckDialogs)
#include "tst_checkdialogs.moc"
