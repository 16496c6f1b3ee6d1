// The participant card's import window: a file people exchange, its columns
// matched to the card's fields, every row checked, then one append.
#include "archive/records.h"
#include "archive/tarchivio.h"
#include "frame/guide.h"
#include "frame/shortcuttable.h"
#include "imports/participantimport.h"
#include "participants/participantfixtures.h"
#include "participants/tfrmclienti.h"
#include "participants/tfrmimportaclienti.h"
#include "support/testsupport.h"
#include "ui/access.h"
#include "ui/widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSemaphore>
#include <QTableWidget>
#include <QtTest>

using namespace qv;
using qvtest::FileChooserAnswer;
using qvtest::MessageRecorder;
using qvtest::TempProgramFolder;
using qvtest::Values;

namespace {

const int kRecord = 3372;

// The participants' archive read back byte by byte: each record's fields.
QList<Values> readParticipants(const QByteArray &file)
{
    QList<Values> cards;
    for (qsizetype at = 0; at + kRecord <= file.size(); at += kRecord) {
        Values card;
        qsizetype offset = at;
        for (const auto &[name, declared] : qvtest::participantFields()) {
            card[name] = QString::fromLatin1(qvtest::countedAt(file, offset));
            offset += declared + 1;
        }
        cards.append(card);
    }
    return cards;
}

// A semicolon CSV of `rows` people, "Nome" and "Cognome" in separate columns,
// fiscal codes typed in lower case, and three rows that repeat someone: row
// 500 the fiscal code of row 10, row 700 that of the archive's first card,
// row 999 (no fiscal code) the name and birth date of row 20.
QByteArray peopleCsv(int rows)
{
    QByteArray csv = "Nome;Cognome;Codice fiscale;Data di nascita;E-mail\r\n";
    for (int n = 1; n <= rows; ++n) {
        QByteArray code = QByteArray("rssmra") + QByteArray::number(n).rightJustified(10, '0');
        QByteArray given = "Mario";
        QByteArray surname = "Rossi" + QByteArray::number(n);
        QByteArray born = "01/02/1970";
        if (n == 500)
            code = "rssmra0000000010";
        if (n == 700)
            code = "bncnna80a41h501z";
        if (n == 999) {
            code.clear();
            surname = "Rossi20";
        }
        csv += given + ';' + surname + ';' + code + ';' + born + ";persona" + QByteArray::number(n)
               + "@example.it\r\n";
    }
    return csv;
}

void writeArchive()
{
    qvtest::writeRecords(TSchedaPartecipante::archivePath(), qvtest::participantFields(),
                         {{{"Cliente", "Bianchi Anna"}, {"CodFisc", "BNCNNA80A41H501Z"}},
                          {{"Cliente", "Verdi Luca"}}});
}

// The window the card opens, once it has checked the rows.
TfrmImportaClienti *idleWindow(QWidget *dialog)
{
    auto *w = qobject_cast<TfrmImportaClienti *>(dialog);
    if (w && !QTest::qWaitFor([w] { return !w->isBusy(); }, 30000))
        return nullptr;
    return w;
}

QStringList column(const QTableWidget *table, int c)
{
    QStringList texts;
    for (int r = 0; r < table->rowCount(); ++r)
        texts << (table->item(r, c) ? table->item(r, c)->text() : QString());
    return texts;
}

int choiceOf(const QString &label)
{
    const QList<imports::TargetChoice> &choices = imports::targetChoices();
    for (int i = 0; i < choices.size(); ++i)
        if (choices.at(i).label == label)
            return i;
    return -1;
}

} // namespace

class TestImportaClienti : public QObject
{
    Q_OBJECT
private slots:
    // A list of 1 000 people from the card's "Importa": the file chosen,
    // the window opened on it, every row checked, three duplicates shown
    // and left out, 997 cards appended with their names joined and their
    // fiscal codes in upper case.
    void thousandRowsFromTheCard()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        FileChooserAnswer chooser;
        writeArchive();
        folder.write("elenco.csv", peopleCsv(1000));
        chooser.open = folder.file("elenco.csv");
        TfrmClienti card;
        card.show();
        QString summary;
        QStringList problems, lines, names;
        QString combo1, combo2;
        bool opened = false;
        qvtest::whenModal([&](QWidget *dialog) {
            TfrmImportaClienti *w = idleWindow(dialog);
            QVERIFY(w);
            opened = true;
            QCOMPARE(w->windowTitle(), " Importa partecipanti da un file");
            QCOMPARE(w->txtFile->text(), QDir::toNativeSeparators(folder.file("elenco.csv")));
            summary = w->lblRiepilogo->text();
            problems = column(w->grdProblemi, 1);
            lines = column(w->grdProblemi, 0);
            names = column(w->grdAnteprima, 0);
            combo1 = w->targetBox(0)->currentText();
            combo2 = w->targetBox(1)->currentText();
            QVERIFY(!w->chkDoppioni->isChecked());
            QVERIFY(w->chkDoppioni->isEnabled());
            messages.answers = {true};
            w->cmdImporta->click();
            QVERIFY(QTest::qWaitFor([w] { return !w->isBusy(); }, 30000));
        });
        card.cmdImporta->click();
        QVERIFY(opened);
        QCOMPARE(chooser.opened, 1);
        QCOMPARE(chooser.title, "Selezionare il file dei partecipanti da importare:");
        QCOMPARE(chooser.filters, imports::importFileFilters());
        QCOMPARE(combo1, "Nome");
        QCOMPARE(combo2, "Cognome");
        QCOMPARE(names.mid(0, 3), (QStringList{"Campo della scheda:", "Rossi1 Mario", "Rossi2 Mario"}));
        QCOMPARE(summary, "Righe nel file: 1000. Schede da aggiungere: 997. Doppioni: 3, non importati.");
        QCOMPARE(lines, (QStringList{"501", "701", "1000"})); // the heading is line 1
        QCOMPARE(problems.at(0), "Doppione della riga 11 del file (stesso codice fiscale).");
        QCOMPARE(problems.at(1), "Doppione della scheda 1 in archivio (stesso codice fiscale).");
        QCOMPARE(problems.at(2), "Doppione della riga 21 del file (stessi cognome e nome e data di nascita).");

        QCOMPARE(messages.count(), 2);
        QCOMPARE(messages.messages.at(0).kind, MessageKind::Question);
        QCOMPARE(messages.messages.at(0).text,
                 "Verranno aggiunte all'archivio dei partecipanti 997 nuove schede. 3 doppioni non verranno "
                 "importati.\r\n\r\nSi vuole procedere con l'importazione?");
        QCOMPARE(messages.last().kind, MessageKind::Notice);
        QCOMPARE(messages.last().text,
                 QString::fromUtf8("L'importazione è terminata: sono state aggiunte 997 nuove schede all'archivio dei "
                                   "partecipanti (dalla scheda n. 3 alla n. 999).")
                     + Messages::kBreak + "3 doppioni non sono stati importati.");

        // The archive read back as bytes: the two cards, then the 997 rows in order.
        const QList<Values> cards = readParticipants(folder.read("Partecipanti.pro"));
        QCOMPARE(folder.read("Partecipanti.pro").size(), 999 * kRecord);
        QCOMPARE(cards.size(), 999);
        QCOMPARE(cards.at(0).value("Cliente"), "Bianchi Anna");
        QCOMPARE(cards.at(2).value("Cliente"), "Rossi1 Mario");
        QCOMPARE(cards.at(2).value("CodFisc"), "RSSMRA0000000001");
        QCOMPARE(cards.at(2).value("DataNasc"), "01/02/1970");
        QCOMPARE(cards.at(2).value("Email"), "persona1@example.it");
        QCOMPARE(cards.at(2).value("Ricontatta"), "No");
        QSet<QString> codes;
        for (int i = 2; i < cards.size(); ++i) {
            const Values &c = cards.at(i);
            QVERIFY2(c.value("Cliente").endsWith(" Mario") && c.value("Cliente").startsWith("Rossi"),
                     qPrintable(c.value("Cliente")));
            QCOMPARE(c.value("CodFisc"), c.value("CodFisc").toUpper());
            QVERIFY(!codes.contains(c.value("CodFisc")));
            codes.insert(c.value("CodFisc"));
            for (const char *left : {"Rossi500 Mario", "Rossi700 Mario"})
                QVERIFY(c.value("Cliente") != left);
        }
        QCOMPARE(cards.last().value("Cliente"), "Rossi1000 Mario");
        QVERIFY(!QFile::exists(TArchivio::journalPath(TSchedaPartecipante::archivePath())));
    }

    // The user changes where columns go: a column no heading names goes to a
    // field, a field chosen twice stops the import until mended, a column
    // left out stays out.
    void mappingChangedByTheUser()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        folder.write("lista.csv", "Cognome;Nome;Cellulare aziendale;Appunti;Reparto\n"
                                  "Rossi;Mario;333 1111111;Richiamare;Vendite\n"
                                  "Bianchi;Anna;347 2222222;;Acquisti\n");
        TfrmImportaClienti w;
        QVERIFY(w.openFile(folder.file("lista.csv")));
        QVERIFY(QTest::qWaitFor([&] { return !w.isBusy(); }, 30000));
        QCOMPARE(w.targetBox(2)->currentText(), "(non importare)");
        QCOMPARE(w.targetBox(3)->currentText(), "(non importare)");
        QVERIFY(w.lblColonne->text().contains(
            "La colonna 3 \"Cellulare aziendale\" non viene importata: non corrisponde a nessun campo della scheda "
            "(ha un valore in 2 righe)."));

        w.targetBox(2)->setCurrentIndex(choiceOf("Tel. cellulare"));
        QVERIFY(QTest::qWaitFor([&] { return !w.isBusy(); }, 30000));
        w.targetBox(3)->setCurrentIndex(choiceOf("Tel. cellulare")); // twice: stop
        QVERIFY(w.lblColonne->text().contains("Attenzione: il campo TelCel compare due volte (colonne 3 e 4)"));
        QCOMPARE(w.lblRiepilogo->text(), "Indicare il campo di ogni colonna.");
        w.cmdImporta->click();
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().kind, MessageKind::Caution);
        QVERIFY(messages.last().text.startsWith("Attenzione: il campo TelCel compare due volte"));
        QVERIFY(folder.read("Partecipanti.pro").isEmpty());

        w.targetBox(3)->setCurrentIndex(choiceOf("Note"));
        QVERIFY(QTest::qWaitFor([&] { return !w.isBusy(); }, 30000));
        w.targetBox(1)->setCurrentIndex(choiceOf("(non importare)")); // the given name left out
        QVERIFY(QTest::qWaitFor([&] { return !w.isBusy(); }, 30000));
        QCOMPARE(column(w.grdAnteprima, 0), (QStringList{"Campo della scheda:", "Rossi", "Bianchi"}));
        QCOMPARE(w.lblRiepilogo->text(), "Righe nel file: 2. Schede da aggiungere: 2.");
        messages.answers = {true};
        w.cmdImporta->click();
        QVERIFY(QTest::qWaitFor([&] { return !w.isBusy(); }, 30000));
        QCOMPARE(messages.last().kind, MessageKind::Notice);
        const QList<Values> cards = readParticipants(folder.read("Partecipanti.pro"));
        QCOMPARE(cards.size(), 2);
        QCOMPARE(cards.at(0).value("Cliente"), "Rossi");
        QCOMPARE(cards.at(0).value("TelCel"), "333 1111111");
        QCOMPARE(cards.at(0).value("Note"), "Richiamare");
        QCOMPARE(cards.at(1).value("TelCel"), "347 2222222");
        for (const Values &card : cards)
            for (const QString &value : card)
                QVERIFY(!value.contains("Vendite") && !value.contains("Acquisti"));
        QVERIFY(!w.isVisible());
        QCOMPARE(w.result(), int(QDialog::Accepted));
    }

    // Cancelled while the cards are being appended, or refused by an archive
    // that may not be written: the archive as it was, not one card added.
    void appendCancelledOrRefused_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("cancel") << "cancel";
        QTest::newRow("read-only archive") << "read-only";
    }
    void appendCancelledOrRefused()
    {
        QFETCH(QString, how);
        TempProgramFolder folder;
        MessageRecorder messages;
        writeArchive();
        folder.write("elenco.csv", peopleCsv(1000));
        const QByteArray before = folder.read("Partecipanti.pro");
        TfrmImportaClienti w;
        w.show();
        QVERIFY(w.openFile(folder.file("elenco.csv")));
        QVERIFY(QTest::qWaitFor([&] { return !w.isBusy(); }, 30000));

        // The first block of cards is held while being written, until the
        // user has pressed "Annulla".
        const QString archive = TSchedaPartecipante::archivePath();
        QSemaphore writing, goOn;
        bool held = false;
        TArchivio::setWriteHook([&](QFile &file, const char *data, qint64 size) -> qint64 {
            if (how == "cancel" && file.fileName() == archive && !held) {
                held = true;
                writing.release();
                goOn.acquire();
            }
            return file.write(data, size);
        });
        std::unique_ptr<qvtest::ReadOnly> readOnly;
        if (how == "read-only") {
            readOnly = std::make_unique<qvtest::ReadOnly>(archive);
            if (!readOnly->ok())
                QSKIP("the archive cannot be made read-only here");
        }
        messages.answers = {true};
        w.cmdImporta->click();
        QVERIFY(w.isBusy());
        if (how == "cancel") {
            QVERIFY(writing.tryAcquire(1, 30000));
            QVERIFY(w.btnAnnulla->isVisible());
            QVERIFY(w.prbImporta->isVisible());
            w.btnAnnulla->click();
            goOn.release();
        }
        QVERIFY(QTest::qWaitFor([&] { return !w.isBusy(); }, 30000));
        TArchivio::setWriteHook({});
        readOnly.reset();

        QCOMPARE(messages.last().kind, how == "cancel" ? MessageKind::Notice : MessageKind::Failure);
        QCOMPARE(messages.last().text,
                 how == "cancel" ? QString::fromUtf8("Importazione annullata: l'archivio dei partecipanti non è "
                                                     "stato modificato.")
                                 : Messages::kArchiveAccess);
        QCOMPARE(folder.read("Partecipanti.pro"), before);
        QVERIFY(!QFile::exists(TArchivio::journalPath(archive)));
        QVERIFY(w.isVisible());
        QVERIFY(!w.btnAnnulla->isVisible());
        QVERIFY(w.cmdImporta->isEnabled());
    }

    // A file whose lines mix two encodings is refused naming the line to
    // mend, before any window opens; nothing is written.
    void mixedEncodingRefusedWithItsLine()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        FileChooserAnswer chooser;
        QByteArray csv = "Cognome;Nome\n";
        for (int n = 1; n <= 40; ++n)
            csv += "Rossi;Niccol\xC3\xB2\n"; // UTF-8
        csv += "Bianchi;Niccol\xF2\n";       // Windows-1252, line 42
        folder.write("misto.csv", csv);
        chooser.open = folder.file("misto.csv");
        TfrmClienti card;
        card.show();
        bool opened = false;
        qvtest::whenModal([&](QWidget *) { opened = true; }, 500);
        card.cmdImporta->click();
        QTest::qWait(600);
        QVERIFY(!opened);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().kind, MessageKind::Failure);
        QVERIFY2(messages.last().text.startsWith(QString::fromUtf8("Attenzione: il file scelto non può essere "
                                                                   "importato.")
                                                 + Messages::kBreak + '"' + folder.file("misto.csv") + '"'),
                 qPrintable(messages.last().text));
        QVERIFY2(messages.last().text.contains("la riga 42 contiene caratteri non validi in UTF-8"),
                 qPrintable(messages.last().text));
        QVERIFY(!QFile::exists(TSchedaPartecipante::archivePath()));
    }

    // Duplicates are imported only when the user says so.
    void duplicatesOnlyWhenAsked()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        writeArchive();
        folder.write("ripetuti.csv", "Cognome e nome;Codice fiscale\nBianchi Anna;bncnna80a41h501z\n");
        TfrmImportaClienti w;
        QVERIFY(w.openFile(folder.file("ripetuti.csv")));
        QVERIFY(QTest::qWaitFor([&] { return !w.isBusy(); }, 30000));
        QCOMPARE(w.lblRiepilogo->text(), "Righe nel file: 1. Schede da aggiungere: 0. Doppioni: 1, non importati.");
        w.cmdImporta->click();
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().kind, MessageKind::Caution);
        QCOMPARE(messages.last().text,
                 QString::fromUtf8("Attenzione: nel file non ci sono righe da importare.") + Messages::kBreak
                     + QString::fromUtf8("Tutte le righe ripetono partecipanti già presenti: per importarle comunque "
                                         "contrassegnare la casella Importa anche i doppioni."));
        QCOMPARE(folder.read("Partecipanti.pro").size(), 2 * kRecord);
        w.chkDoppioni->setChecked(true);
        QCOMPARE(w.lblRiepilogo->text(), "Righe nel file: 1. Schede da aggiungere: 1. Doppioni: 1, importati.");
        messages.answers = {true};
        w.cmdImporta->click();
        QVERIFY(QTest::qWaitFor([&] { return !w.isBusy(); }, 30000));
        QCOMPARE(messages.messages.at(1).text,
                 QString::fromUtf8("Verrà aggiunta all'archivio dei partecipanti 1 nuova scheda.\r\n\r\nSi vuole "
                                   "procedere con l'importazione?"));
        const QList<Values> cards = readParticipants(folder.read("Partecipanti.pro"));
        QCOMPARE(cards.size(), 3);
        QCOMPARE(cards.last().value("CodFisc"), "BNCNNA80A41H501Z");
    }

    // Hints on the information bar, the keys of the house map, what screen
    // readers hear, the guide's topic.
    void windowAsLaidOut()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        folder.write("lista.csv", "Cognome;Nome\nRossi;Mario\n");
        TfrmImportaClienti w;
        QCOMPARE(w.objectName(), "frmImportaClienti");
        QCOMPARE(w.panInfo->text(), "Importazione partecipanti da un file.");
        QVERIFY(!w.cmdImporta->isEnabled());
        QVERIFY(w.prbImporta->isHidden());
        QVERIFY(w.openFile(folder.file("lista.csv")));
        QVERIFY(QTest::qWaitFor([&] { return !w.isBusy(); }, 30000));
        QCOMPARE(w.cmdApriFile->text(), "Scegli file...");
        QCOMPARE(w.cmdImporta->text(), "Importa");
        QCOMPARE(w.cmdApriFile->accessibleName(), "Scegli file...");
        QCOMPARE(shortcutOf(w.cmdApriFile), QKeySequence(Qt::CTRL | Qt::Key_O));
        QCOMPARE(shortcutOf(w.cmdImporta), QKeySequence(Qt::CTRL | Qt::Key_I));
        QCOMPARE(shortcutOf(w.cmdGuida), QKeySequence(Qt::Key_F1));
        QCOMPARE(shortcutOf(w.cmdEsci), QKeySequence(Qt::CTRL | Qt::Key_W));
        for (QWidget *picture : {static_cast<QWidget *>(w.cmdApriFile), static_cast<QWidget *>(w.cmdImporta),
                                 static_cast<QWidget *>(w.cmdGuida), static_cast<QWidget *>(w.cmdEsci)}) {
            QCOMPARE(picture->focusPolicy(), Qt::NoFocus);
            QVERIFY(!w.infoBar()->hint(picture).isEmpty());
            QVERIFY(shortcutTable(GuideTopic::ParticipantsImport).contains(keyText(shortcutOf(picture)) + ": "));
        }
        QComboBox *box = w.targetBox(0);
        QCOMPARE(box->objectName(), "cboColonna1");
        QCOMPARE(box->accessibleName(), "Colonna 1 \"Cognome\": campo della scheda");
        QCOMPARE(box->accessibleDescription(), w.infoBar()->hint(box));
        QCOMPARE(box->count(), int(imports::targetChoices().size()));
        QCOMPARE(box->itemText(0), "(non importare)");
        QVERIFY(!w.targetBox(2));
        QVERIFY(box->focusPolicy() & Qt::TabFocus);
        QCOMPARE(box->nextInFocusChain(), w.targetBox(1));
        QString title;
        qvtest::whenModal([&](QWidget *d) {
            if (auto *guide = qobject_cast<TfrmGuida *>(d))
                title = guide->lblTitolo->text();
        });
        w.cmdGuida->click();
        QCOMPARE(title, "Importazione dei partecipanti da un file.");
    }
};

QTEST_MAIN(TestImportaClienti)
#include "tst_importaclienti.moc"
