// The mail windows: the settings kept in the INI file and the password
// kept out of every file, and the sending window against the tests' mail
// server: what it says before sending, what it sends, what it reports.
#include "mailserver.h"

#include "../eventday/dayfixtures.h"
#include "support/testsupport.h"

#include "archive/records.h"
#include "eventday/certificates.h"
#include "mail/mailpassword.h"
#include "mail/tfrminvioposta.h"
#include "mail/tfrmposta.h"
#include "password/inifile.h"
#include "password/passwordstore.h"

#include <QComboBox>
#include <QDirIterator>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>

using namespace mailtest;

namespace {

// A keyring in memory, or none at all.
class FakeKeyring : public qv::MailPassword::Keyring
{
public:
    explicit FakeKeyring(bool present) : m_present(present) {}
    std::optional<QString> read(const QString &key) override
    {
        if (!m_present || !entries.contains(key))
            return std::nullopt;
        return entries.value(key);
    }
    bool write(const QString &key, const QString &password, QString *why) override
    {
        if (!m_present) {
            if (why)
                *why = QStringLiteral("nessun servizio");
            return false;
        }
        entries.insert(key, password);
        return true;
    }
    void remove(const QString &key) override { entries.remove(key); }
    QHash<QString, QString> entries;

private:
    bool m_present;
};

void noPasswordInFolder(const QString &folder, const QString &password)
{
    QDirIterator files(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile f(files.next());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY2(!f.readAll().contains(password.toUtf8()), qPrintable(f.fileName()));
    }
}

} // namespace

class TestMailWindows : public QObject
{
    Q_OBJECT

    void typeSettings(TfrmPosta &w, int port, const QString &caFile)
    {
        w.txtServer->setText(QStringLiteral("127.0.0.1"));
        w.cboSicurezza->setCurrentIndex(w.cboSicurezza->findText(QStringLiteral("STARTTLS")));
        w.txtPorta->setValue(port);
        w.txtUtente->setText(kUser);
        w.txtPassword->setText(kPassword);
        w.txtMittente->setText(QStringLiteral("segreteria@example.it"));
        w.txtNomeMittente->setText(QStringLiteral("Segreteria"));
        w.txtMessaggiAlMinuto->setValue(600);
        w.txtCertificatoCA->setText(caFile);
    }

private slots:
    void cleanup() { qv::MailPassword::setKeyring(nullptr); }

    void settingsKeptPasswordNot_data()
    {
        QTest::addColumn<bool>("keyring");
        QTest::newRow("with a keyring") << true;
        QTest::newRow("without one: held in memory") << false;
    }
    void settingsKeptPasswordNot()
    {
        QFETCH(bool, keyring);
        qvtest::TempProgramFolder folder;
        qvtest::MessageRecorder messages;
        auto ring = std::make_shared<FakeKeyring>(keyring);
        qv::MailPassword::setKeyring(ring);
        TfrmPosta w;
        typeSettings(w, 2525, QStringLiteral("/etc/ssl/aziendale.pem"));
        w.cmdSalva->click();
        QCOMPARE(messages.count(), 0);

        const QString ini = qv::PasswordStore::filePath();
        const auto value = [&](const char *key) { return qv::IniFile::readValue(ini, QStringLiteral("Posta"), QString::fromLatin1(key)); };
        QCOMPARE(value("Server"), QStringLiteral("127.0.0.1"));
        QCOMPARE(value("Porta"), QStringLiteral("2525"));
        QCOMPARE(value("Sicurezza"), QStringLiteral("starttls"));
        QCOMPARE(value("Utente"), kUser);
        QCOMPARE(value("Mittente"), QStringLiteral("segreteria@example.it"));
        QCOMPARE(value("NomeMittente"), QStringLiteral("Segreteria"));
        QCOMPARE(value("MessaggiAlMinuto"), QStringLiteral("600"));
        QCOMPARE(value("CertificatoCA"), QStringLiteral("/etc/ssl/aziendale.pem"));
        QVERIFY(w.txtPassword->text().isEmpty());
        noPasswordInFolder(folder.path(), kPassword);

        QCOMPARE(ring->entries.size(), keyring ? 1 : 0);
        QVERIFY(w.lblDovePassword->text().contains(keyring ? QStringLiteral("portachiavi di sistema")
                                                           : QStringLiteral("resta in memoria")));
        // Either way it is not asked again while the program runs.
        const auto got = qv::MailPassword::obtain(&w, qv::Mail::readSettings());
        QCOMPARE(got.value_or(QString()), kPassword);
    }

    void incompleteSettingsAreRefused()
    {
        qvtest::TempProgramFolder folder;
        qvtest::MessageRecorder messages;
        TfrmPosta w;
        w.txtServer->setText(QStringLiteral("smtp.example.it"));
        w.txtMittente->setText(QStringLiteral("non un indirizzo"));
        w.cmdSalva->click();
        QCOMPARE(messages.count(), 1);
        QVERIFY(messages.last().text.contains(QStringLiteral("manca l'indirizzo del mittente")));
        QVERIFY(qv::IniFile::readValue(qv::PasswordStore::filePath(), QStringLiteral("Posta"), QStringLiteral("Server")).isEmpty());
    }

    void noticeToEveryoneGoesByTheProgramOnceSet()
    {
        qvtest::TempProgramFolder folder;
        qvtest::MessageRecorder messages;
        qvtest::ShellRecorder shell;
        dayfixtures::writeBookings(folder, 3, {{QStringLiteral("Rossi Mario"), QStringLiteral("1"), QStringLiteral("r@example.it")}});
        // Not set yet: the mail program, everyone in Bcc.
        noticeToEveryoneByMail(nullptr, dayfixtures::convegno());
        QCOMPARE(shell.commands.size(), 1);
        QVERIFY(shell.commands.first().startsWith(QStringLiteral("\"mailto:?bcc=r@example.it")));

        qv::Mail::Settings s;
        s.server = QStringLiteral("smtp.example.it");
        s.sender = QStringLiteral("segreteria@example.it");
        qv::Mail::writeSettings(s);
        bool shown = false;
        qvtest::whenModal([&](QWidget *dialog) {
            auto *w = qobject_cast<TfrmInvioPosta *>(dialog);
            QVERIFY(w);
            shown = w->optAvviso->isChecked() && w->txtAnteprima->toPlainText().startsWith(QStringLiteral("A: Rossi Mario <r@example.it>"));
        });
        noticeToEveryoneByMail(nullptr, dayfixtures::convegno());
        QVERIFY(shown);
        QCOMPARE(shell.commands.size(), 1);
    }

    void confirmationsFromTheWindow()
    {
        if (!serverAvailable())
            QSKIP("the tests' mail server needs Debian's python3-aiosmtpd and openssl");
        qvtest::TempProgramFolder folder;
        qvtest::MessageRecorder messages;
        QTemporaryDir box;
        MailServer server(box.path(), ServerOptions{{QStringLiteral("nessuno@example.it")}});
        QVERIFY(server.port() > 0);
        qv::MailPassword::setKeyring(std::make_shared<FakeKeyring>(false));
        {
            TfrmPosta settings;
            typeSettings(settings, server.port(), server.certificate());
            settings.txtPassword->clear(); // asked when sending
            settings.cmdSalva->click();
        }
        dayfixtures::writeBookings(folder, 1,
                                   {{QStringLiteral("Rossi Mario"), QStringLiteral("1"), QStringLiteral("rossi@example.it")},
                                    {QStringLiteral("Bianchi Anna"), QStringLiteral("2")},
                                    {QStringLiteral("Verdi Luca"), QStringLiteral("3"), QStringLiteral("nessuno@example.it")},
                                    {QStringLiteral("Neri Carla"), QStringLiteral("4"), QStringLiteral("neri@example.it"), true}});
        const qv::EventInfo event = dayfixtures::convegno(1);

        TfrmInvioPosta w(event, MailUse::Confirmations, nullptr);
        QCOMPARE(w.lblConta->text(), QStringLiteral("Messaggi da inviare: 3. Senza indirizzo di posta elettronica, a cui non si scrive: 1."));
        QCOMPARE(w.lstSenzaIndirizzo->count(), 1);
        QCOMPARE(w.lstSenzaIndirizzo->item(0)->text(), QStringLiteral("Posto 2  Bianchi Anna"));
        const QString preview = w.txtAnteprima->toPlainText();
        QVERIFY2(preview.startsWith(QStringLiteral("A: Rossi Mario <rossi@example.it>\nOggetto: Conferma di prenotazione: Convegno di primavera\n"
                                                   "Allegato: Cartellino_Evento_1_Rossi_Mario.pdf")), qPrintable(preview));
        QVERIFY(preview.contains(QStringLiteral("Posto: 1\n")));
        w.optConfermate->setChecked(true);
        QVERIFY(w.lblConta->text().startsWith(QStringLiteral("Messaggi da inviare: 2.")));
        w.optTutte->setChecked(true);

        // The text typed goes into every message.
        w.txtTesto->setPlainText(QStringLiteral("Si ricorda di portare un documento."));
        qvtest::whenModal([](QWidget *dialog) {
            auto *ask = qobject_cast<QInputDialog *>(dialog);
            QVERIFY(ask && ask->objectName() == QStringLiteral("frmPasswordPosta"));
            ask->setTextValue(kPassword);
            ask->accept();
        });
        w.cmdInvia->click();
        QVERIFY2(w.txtResoconto->toPlainText().startsWith(QStringLiteral("Messaggi inviati: 2.")), qPrintable(w.txtResoconto->toPlainText()));
        QVERIFY(w.txtResoconto->toPlainText().contains(QStringLiteral("Rifiutati dal server: 1.\n  Verdi Luca <nessuno@example.it>: 550")));
        QStringList got = server.received();
        got.sort();
        QCOMPARE(got, (QStringList{"neri@example.it", "rossi@example.it"}));
        for (const QJsonObject &m : server.messages())
            QVERIFY(m.value("text").toString().contains(QStringLiteral("Si ricorda di portare un documento.")));

        // Again: nothing twice, and the password is not asked again.
        w.cmdInvia->click();
        QVERIFY2(w.txtResoconto->toPlainText().startsWith(QStringLiteral("Nessun messaggio da inviare")), qPrintable(w.txtResoconto->toPlainText()));
        QCOMPARE(server.received().size(), 2);

        // The notice: one message per person, the subject the user's.
        w.optAvviso->setChecked(true);
        QVERIFY(!w.txtOggetto->isReadOnly());
        w.txtOggetto->setText(QStringLiteral("Cambio di sala"));
        w.txtTesto->setPlainText(QStringLiteral("Ci vediamo nell'Aula Verdi."));
        w.cmdInvia->click();
        QVERIFY2(w.txtResoconto->toPlainText().startsWith(QStringLiteral("Messaggi inviati: 2.")), qPrintable(w.txtResoconto->toPlainText()));
        QCOMPARE(server.received().size(), 4);
        noPasswordInFolder(folder.path(), kPassword);
    }
};

QTEST_MAIN(TestMailWindows)
#include "tst_mailwindows.moc"
