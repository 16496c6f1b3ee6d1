#include "archive/records.h"
#include "events/eventdialogs.h"
#include "events/tfrmallegacartella.h"
#include "events/tfrmregistro.h"
#include "frame/windows.h"
#include "participants/tfrmclienti.h"
#include "support/testsupport.h"
#include "ui/filechooser.h"
#include "ui/widgets.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace qv;
using qvtest::MessageRecorder;
using qvtest::ShellRecorder;
using qvtest::TempProgramFolder;

namespace {

const QString kFolder = QStringLiteral("Documenti_Allegati/");

QString question()
{
    return QStringLiteral("Attenzione: nella cartella dei documenti allegati \u00E8 presente un file con lo stesso nome."
                          "\r\n\r\nSi vuole sovrascrivere il file esistente?");
}

QString copyFailure()
{
    return QStringLiteral("Attenzione: il sistema non permette di copiare il file nella cartella dei documenti allegati."
                          "\n\r\n\rAccertarsi di possedere i privilegi di scrittura nella cartella di installazione del "
                          "programma.");
}

// Answers the file chooser with a fixed path (empty: cancelled) and records
// how it was asked.
class ChooserAnswer
{
public:
    explicit ChooserAnswer(const QString &path)
    {
        FileChooser::setHandler([this, path](QWidget *, const QString &title, const QString &filter) {
            ++calls;
            lastTitle = title;
            lastFilter = filter;
            return path;
        });
    }
    ~ChooserAnswer() { FileChooser::setHandler({}); }
    int calls = 0;
    QString lastTitle, lastFilter;
};

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The six hidden labels of a card, made when the card has none of its own.
QList<QLabel *> cardLabels(QWidget *card)
{
    QList<QLabel *> labels;
    for (const QString &name : TfrmAllegaCartella::cardLabelNames()) {
        auto *label = card->findChild<QLabel *>(name);
        if (!label) {
            label = new QLabel(card);
            label->setObjectName(name);
            label->hide();
        }
        labels.append(label);
    }
    return labels;
}

QStringList texts(const QList<QLabel *> &labels)
{
    QStringList all;
    for (QLabel *l : labels)
        all << l->text();
    return all;
}

QStringList texts(const QList<QLineEdit *> &boxes)
{
    QStringList all;
    for (QLineEdit *b : boxes)
        all << b->text();
    return all;
}

} // namespace

class TestAllegaCartella : public QObject
{
    Q_OBJECT
private slots:
    void init() { QDir::setCurrent(QDir::tempPath()); }

    void layout()
    {
        TfrmAllegaCartella d;
        QCOMPARE(d.windowTitle(), QStringLiteral(" Allega file"));
        QVERIFY(!(d.windowFlags() & Qt::WindowCloseButtonHint));
        QCOMPARE(d.minimumSize(), d.maximumSize());
        QVERIFY(d.lblMemory->isHidden());
        for (int k = 0; k < 3; ++k) {
            const QString n = QString::number(k + 1);
            QVERIFY(d.txtFile[k]->isReadOnly());
            QVERIFY(!d.btnApri[k]->isEnabled());
            QCOMPARE(d.btnSfoglia[k]->text(), QStringLiteral("Sfoglia..."));
            QCOMPARE(d.btnApri[k]->text(), QStringLiteral("Apri"));
            QCOMPARE(d.txtFile[k]->objectName(), "txtFile0" + n);
            QCOMPARE(d.txtDesc[k]->objectName(), "txtDesc0" + n);
            QCOMPARE(d.imgCancella[k]->objectName(), "imgCancella0" + n);
            QCOMPARE(d.imgCancella[k]->cursor().shape(), Qt::PointingHandCursor);
            bool nameLabel = false, descLabel = false;
            for (QLabel *l : d.findChildren<QLabel *>()) {
                nameLabel |= l->text() == QStringLiteral("Nome %1\u00B0 file allegato:").arg(n) && l->buddy() == d.txtFile[k];
                descLabel |= l->text() == QStringLiteral("Descrizione %1\u00B0 file allegato:").arg(n)
                             && l->buddy() == d.txtDesc[k];
            }
            QVERIFY(nameLabel && descLabel);
        }
        QCOMPARE(d.btnApplica->text(), QStringLiteral("Applica e chiudi"));
        QCOMPARE(d.btnAnnulla->text(), QStringLiteral("Annulla"));

        // Tab order: each slot's name, browse, open, description; apply; cancel.
        d.show();
        for (int k = 0; k < 3; ++k)
            d.btnApri[k]->setEnabled(true);
        QList<QWidget *> expected;
        for (int k = 0; k < 3; ++k)
            expected << d.txtFile[k] << d.btnSfoglia[k] << d.btnApri[k] << d.txtDesc[k];
        expected << d.btnApplica << d.btnAnnulla << d.txtFile[0];
        QWidget *w = d.txtFile[0];
        for (int i = 1; i < expected.size(); ++i) {
            w = w->nextInFocusChain();
            while (!(w->focusPolicy() & Qt::TabFocus))
                w = w->nextInFocusChain();
            QCOMPARE(w->objectName(), expected[i]->objectName());
        }
    }

    void openFollowsName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("empty") << "" << false;
        QTest::newRow("blanks") << " \t " << false;
        QTest::newRow("name") << "a.pdf" << true;
        QTest::newRow("padded") << "  a.pdf " << true;
    }
    void openFollowsName()
    {
        QFETCH(QString, name);
        QFETCH(bool, enabled);
        TfrmAllegaCartella d;
        d.txtFile[1]->setText("x");
        d.txtFile[1]->setText(name);
        QCOMPARE(d.btnApri[1]->isEnabled(), enabled);
        QVERIFY(!d.btnApri[0]->isEnabled());
    }

    void browseCopiesIntoNewFolder()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        QTemporaryDir elsewhere;
        const QString source = elsewhere.filePath("Programma del convegno.pdf");
        writeFile(source, "brochure");
        ChooserAnswer chooser(source);
        TfrmAllegaCartella d;
        QVERIFY(!QFileInfo::exists(folder.file(kFolder)));
        QTest::mouseClick(d.btnSfoglia[0], Qt::LeftButton);
        QCOMPARE(chooser.calls, 1);
        QCOMPARE(chooser.lastTitle, QStringLiteral("Selezionare il file da allegare:"));
        QCOMPARE(chooser.lastFilter, QStringLiteral("Tutti i file (*.*)"));
        QCOMPARE(d.txtFile[0]->text(), QStringLiteral("Programma del convegno.pdf"));
        QVERIFY(d.btnApri[0]->isEnabled());
        QCOMPARE(readFile(folder.file(kFolder + "Programma del convegno.pdf")), QByteArray("brochure"));
        QCOMPARE(messages.count(), 0);
    }

    // Cancelling the chooser does nothing at all, even with a file of the
    // slot's name in the working folder.
    void cancelledChooserChangesNothing()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        QTemporaryDir cwd;
        QDir::setCurrent(cwd.path());
        writeFile(cwd.filePath("a.pdf"), "stray");
        ChooserAnswer chooser{QString()};
        TfrmAllegaCartella d;
        d.txtFile[0]->setText("a.pdf");
        QTest::mouseClick(d.btnSfoglia[0], Qt::LeftButton);
        QCOMPARE(d.txtFile[0]->text(), QStringLiteral("a.pdf"));
        QVERIFY(!QFileInfo::exists(folder.file(kFolder)));
        QCOMPARE(messages.count(), 0);

        // With a stored attachment of that name, it stays untouched.
        writeFile(folder.file(kFolder + "a.pdf"), "stored");
        QTest::mouseClick(d.btnSfoglia[0], Qt::LeftButton);
        QCOMPARE(readFile(folder.file(kFolder + "a.pdf")), QByteArray("stored"));
        QCOMPARE(messages.count(), 0);
    }

    void sameNameAsks_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes replaces") << true;
        QTest::newRow("no keeps") << false;
    }
    void sameNameAsks()
    {
        QFETCH(bool, yes);
        TempProgramFolder folder;
        MessageRecorder messages;
        messages.answers = {yes};
        writeFile(folder.file(kFolder + "cv.doc"), "old");
        QTemporaryDir elsewhere;
        writeFile(elsewhere.filePath("cv.doc"), "new");
        ChooserAnswer chooser(elsewhere.filePath("cv.doc"));
        TfrmAllegaCartella d;
        d.txtFile[2]->setText("prima.doc");
        QTest::mouseClick(d.btnSfoglia[2], Qt::LeftButton);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().kind, MessageKind::Question);
        QCOMPARE(messages.last().text, question());
        QCOMPARE(d.txtFile[2]->text(), QStringLiteral("cv.doc"));
        QCOMPARE(readFile(folder.file(kFolder + "cv.doc")), yes ? QByteArray("new") : QByteArray("old"));
    }

    // The file picked inside the folder already is the stored attachment:
    // nothing is asked and nothing is copied onto itself.
    void pickedFromTheFolderItself()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        writeFile(folder.file(kFolder + "scheda.pdf"), "stored");
        ChooserAnswer chooser(folder.file(kFolder + "scheda.pdf"));
        TfrmAllegaCartella d;
        QTest::mouseClick(d.btnSfoglia[1], Qt::LeftButton);
        QCOMPARE(messages.count(), 0);
        QCOMPARE(d.txtFile[1]->text(), QStringLiteral("scheda.pdf"));
        QCOMPARE(readFile(folder.file(kFolder + "scheda.pdf")), QByteArray("stored"));
    }

    // A folder that cannot be made, or a copy that fails, is reported and the
    // slot gets back its old name.
    void failuresAreReported_data()
    {
        QTest::addColumn<bool>("folderBlocked");
        QTest::newRow("folder") << true;
        QTest::newRow("copy") << false;
    }
    void failuresAreReported()
    {
        QFETCH(bool, folderBlocked);
        TempProgramFolder folder;
        MessageRecorder messages;
        if (folderBlocked)
            writeFile(folder.file("Documenti_Allegati"), "a file where the folder goes");
        else
            QVERIFY(QDir().mkpath(folder.file(kFolder + "x.pdf"))); // a folder where the copy goes
        QTemporaryDir elsewhere;
        writeFile(elsewhere.filePath("x.pdf"), "data");
        ChooserAnswer chooser(elsewhere.filePath("x.pdf"));
        TfrmAllegaCartella d;
        d.txtFile[0]->setText("prima.pdf");
        QTest::mouseClick(d.btnSfoglia[0], Qt::LeftButton);
        QCOMPARE(messages.last().kind, MessageKind::Warning);
        QCOMPARE(messages.last().text, copyFailure());
        QCOMPARE(d.txtFile[0]->text(), QStringLiteral("prima.pdf"));
    }

    void namesTheCardCannotStore_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("251 characters") << QString(247, 'a') + ".pdf" << "supera i 250 caratteri";
        QTest::newRow("not Windows-1252") << QStringLiteral("\u0141\u00F3d\u017A.pdf") << "contiene caratteri";
        QTest::newRow("leading blank") << " nota.txt" << "contiene caratteri";
        QTest::newRow("decomposed") << QStringLiteral("cafe\u0301.txt") << "contiene caratteri";
    }
    void namesTheCardCannotStore()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        TempProgramFolder folder;
        MessageRecorder messages;
        QTemporaryDir elsewhere;
        writeFile(elsewhere.filePath(name), "data");
        ChooserAnswer chooser(elsewhere.filePath(name));
        TfrmAllegaCartella d;
        d.txtFile[0]->setText("prima.pdf");
        QTest::mouseClick(d.btnSfoglia[0], Qt::LeftButton);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().kind, MessageKind::Warning);
        QVERIFY(messages.last().text.startsWith("Attenzione: il nome del file scelto "));
        QVERIFY(messages.last().text.contains(reason));
        QVERIFY(messages.last().text.endsWith("\n\r\n\rRinominare il file e ripetere l'operazione."));
        QCOMPARE(d.txtFile[0]->text(), QStringLiteral("prima.pdf"));
        QVERIFY(!QFileInfo::exists(folder.file(kFolder)));
    }

    void longestStorableName()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        QTemporaryDir elsewhere;
        const QString name = QString(245, 'b') + QStringLiteral("\u00E8.pdf"); // 250 characters, one accented
        writeFile(elsewhere.filePath(name), "data");
        ChooserAnswer chooser(elsewhere.filePath(name));
        TfrmAllegaCartella d;
        QTest::mouseClick(d.btnSfoglia[0], Qt::LeftButton);
        QCOMPARE(messages.count(), 0);
        QCOMPARE(d.txtFile[0]->text(), name);
        QVERIFY(QFileInfo::exists(folder.file(kFolder + name)));
    }

    void deletePictureKeepsDescriptionAndFile()
    {
        TempProgramFolder folder;
        writeFile(folder.file(kFolder + "b.txt"), "kept");
        TfrmAllegaCartella d;
        d.txtFile[1]->setText("b.txt");
        d.txtDesc[1]->setText("Curriculum");
        QTest::mouseClick(d.imgCancella[1], Qt::LeftButton);
        QCOMPARE(d.txtFile[1]->text(), QString());
        QVERIFY(!d.btnApri[1]->isEnabled());
        QCOMPARE(d.txtDesc[1]->text(), QStringLiteral("Curriculum"));
        QCOMPARE(readFile(folder.file(kFolder + "b.txt")), QByteArray("kept"));
    }

    void openHandsTheQuotedPath_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("opened"); // relative to the program folder; empty: nothing opened
        QTest::newRow("bare") << "Programma 2025.pdf" << kFolder + "Programma 2025.pdf";
        QTest::newRow("trimmed") << "  a.pdf  " << kFolder + "a.pdf";
        QTest::newRow("missing file") << "assente.doc" << kFolder + "assente.doc";
        QTest::newRow("dots inside") << "a..b.pdf" << kFolder + "a..b.pdf";
        QTest::newRow("parent") << ".." << "";
        QTest::newRow("climbs") << "../Eventi.pro" << "";
        QTest::newRow("backslash") << "..\\unins000.dll" << "";
        QTest::newRow("absolute") << "/etc/passwd" << "";
    }
    void openHandsTheQuotedPath()
    {
        QFETCH(QString, name);
        QFETCH(QString, opened);
        TempProgramFolder folder;
        ShellRecorder shell;
        TfrmAllegaCartella d;
        d.txtFile[0]->setText(name);
        QTest::mouseClick(d.btnApri[0], Qt::LeftButton);
        if (opened.isEmpty())
            QCOMPARE(shell.commands, QStringList());
        else
            QCOMPARE(shell.commands, QStringList{'"' + folder.path() + opened + '"'});
    }

    void applyDeliversByModeWord_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("card"); // "" : nothing delivered, dialog stays open
        QTest::newRow("registro") << "registro" << "registro";
        QTest::newRow("clienti") << "clienti" << "clienti";
        QTest::newRow("padded") << " registro " << "registro";
        QTest::newRow("other") << "prenotazioni" << "";
        QTest::newRow("case") << "Registro" << "";
        QTest::newRow("empty") << "" << "";
    }
    void applyDeliversByModeWord()
    {
        QFETCH(QString, word);
        QFETCH(QString, card);
        TempProgramFolder folder;
        TfrmRegistro events;
        TfrmClienti participants;
        windows().frmRegistro = &events;
        windows().frmClienti = &participants;
        const QList<QLabel *> eventLabels = cardLabels(&events);
        const QList<QLabel *> participantLabels = cardLabels(&participants);
        for (QLabel *l : eventLabels + participantLabels)
            l->setText("old");

        TfrmAllegaCartella d;
        d.lblMemory->setText(word);
        const QStringList typed{" a.pdf ", " Programma ", "", "", "c.doc", "\tModulo  "};
        for (int i = 0; i < 6; ++i)
            d.boxes()[i]->setText(typed[i]);
        d.show();
        QTest::mouseClick(d.btnApplica, Qt::LeftButton);

        const QStringList delivered{"a.pdf", "Programma", "", "", "c.doc", "Modulo"};
        const QStringList untouched(6, "old");
        QCOMPARE(texts(eventLabels), card == "registro" ? delivered : untouched);
        QCOMPARE(texts(participantLabels), card == "clienti" ? delivered : untouched);
        QCOMPARE(d.isVisible(), card.isEmpty());
        windows().frmRegistro = nullptr;
        windows().frmClienti = nullptr;
    }

    void enterInADescriptionApplies()
    {
        TfrmRegistro events;
        windows().frmRegistro = &events;
        cardLabels(&events);
        TfrmAllegaCartella d;
        d.lblMemory->setText("registro");
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        d.txtDesc[2]->setFocus();
        QTest::keyClicks(d.txtDesc[2], "Modulo");
        QTest::keyClick(d.txtDesc[2], Qt::Key_Return);
        QVERIFY(!d.isVisible());
        QCOMPARE(events.lblDesc03->text(), QStringLiteral("Modulo"));
        windows().frmRegistro = nullptr;
    }

    void cancelWritesNothing()
    {
        TfrmRegistro events;
        windows().frmRegistro = &events;
        events.lblFile01->setText("a.pdf");
        TfrmAllegaCartella d;
        d.lblMemory->setText("registro");
        d.txtFile[0]->setText("b.pdf");
        d.show();
        QTest::mouseClick(d.btnAnnulla, Qt::LeftButton);
        QVERIFY(!d.isVisible());
        QCOMPARE(events.lblFile01->text(), QStringLiteral("a.pdf"));
        windows().frmRegistro = nullptr;
    }

    // The participant card's entry point: its own labels in, the same labels back.
    void participantCardEntryPoint()
    {
        TempProgramFolder folder;
        TfrmClienti participants;
        windows().frmClienti = &participants;
        const QList<QLabel *> labels = cardLabels(&participants);
        const QStringList stored{" cv.pdf", "Curriculum ", "", "", "", ""};
        for (int i = 0; i < 6; ++i)
            labels[i]->setText(stored[i]);
        QStringList shown;
        QString word;
        qvtest::whenModal([&](QWidget *dialog) {
            auto *d = qobject_cast<TfrmAllegaCartella *>(dialog);
            QVERIFY(d);
            word = d->lblMemory->text();
            shown = texts(d->boxes());
            QVERIFY(d->btnApri[0]->isEnabled());
            QVERIFY(!d->btnApri[1]->isEnabled());
            d->txtDesc[1]->setText("Delega");
            QTest::mouseClick(d->btnApplica, Qt::LeftButton);
        });
        openAttachments(&participants, QStringLiteral("clienti"));
        QCOMPARE(word, QStringLiteral("clienti"));
        QCOMPARE(shown, (QStringList{"cv.pdf", "Curriculum", "", "", "", ""}));
        QCOMPARE(texts(labels), (QStringList{"cv.pdf", "Curriculum", "", "Delega", "", ""}));
        windows().frmClienti = nullptr;
    }

    // On the event card: attach, apply, and the record changes only when saved.
    void eventCardEndToEnd()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        TfrmRegistro card;
        windows().frmRegistro = &card;
        card.show();
        card.txtTitolo->setText("Convegno");
        card.txtDataInizio->setText("12/03/2025");
        card.txtDataSca->setText("01/03/2025");
        card.lblDesc02->setText("  Mappa  ");
        card.cmdSalvaClick();
        QCOMPARE(card.lblPosizione->text(), QStringLiteral("1"));
        const QByteArray saved = folder.read("Eventi.pro");

        QTemporaryDir elsewhere;
        writeFile(elsewhere.filePath("Programma.pdf"), "programma");
        ChooserAnswer chooser(elsewhere.filePath("Programma.pdf"));
        QStringList shown;
        qvtest::whenModal([&](QWidget *dialog) {
            auto *d = qobject_cast<TfrmAllegaCartella *>(dialog);
            QVERIFY(d);
            QCOMPARE(d->lblMemory->text(), QStringLiteral("registro"));
            shown = texts(d->boxes());
            QTest::mouseClick(d->btnSfoglia[0], Qt::LeftButton);
            d->txtDesc[0]->setText("Programma dei lavori");
            QTest::mouseClick(d->btnApplica, Qt::LeftButton);
        });
        QTest::mouseClick(card.cmdFile, Qt::LeftButton);
        QCOMPARE(shown, (QStringList{"", "", "", "Mappa", "", ""}));
        QCOMPARE(card.lblFile01->text(), QStringLiteral("Programma.pdf"));
        QCOMPARE(card.lblDesc01->text(), QStringLiteral("Programma dei lavori"));
        QCOMPARE(readFile(folder.file(kFolder + "Programma.pdf")), QByteArray("programma"));
        QCOMPARE(folder.read("Eventi.pro"), saved); // nothing written yet

        card.cmdSalvaClick();
        const QByteArray record = folder.read("Eventi.pro");
        QCOMPARE(record.size(), 3645);
        QCOMPARE(qvtest::countedAt(record, 2139), QByteArray("Programma.pdf"));  // File01
        QCOMPARE(qvtest::countedAt(record, 2892), QByteArray("Programma dei lavori")); // Desc01
        windows().frmRegistro = nullptr;
    }
};

QTEST_MAIN(TestAllegaCartella)
#include "tst_allegacartella.moc"
