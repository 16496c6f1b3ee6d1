// The texts of a message's headers and the outbox's states, in process.
#include "support/testsupport.h"

#include "mail/mailerror.h"
#include "mail/mailmessage.h"
#include "mail/outbox.h"

#include <QDir>
#include <QtTest>

using namespace qv::Mail;

namespace {

// RFC 2047 read back: every encoded word decoded and joined.
QString decodeWords(const QByteArray &header)
{
    QString out;
    for (QByteArray word : header.split(' ')) {
        word = word.trimmed();
        if (word.startsWith("=?UTF-8?B?") && word.endsWith("?="))
            out += QString::fromUtf8(QByteArray::fromBase64(word.mid(10, word.size() - 12)));
        else if (!word.isEmpty())
            out += (out.isEmpty() ? QString() : QStringLiteral(" ")) + QString::fromLatin1(word);
    }
    return out;
}

Draft draft(const QString &key, const QString &to = QStringLiteral("rossi@example.it"))
{
    Draft d;
    d.kind = QStringLiteral("conferma");
    d.key = key;
    d.toAddress = to;
    d.toName = QStringLiteral("Rossi Mario");
    d.subject = QStringLiteral("Conferma");
    d.body = QStringLiteral("Testo");
    d.attachments.append({QStringLiteral("Cartellino.pdf"), QStringLiteral("application/pdf"), QByteArray("%PDF-1.4 ...")});
    return d;
}

Settings senderSettings()
{
    Settings s;
    s.server = QStringLiteral("127.0.0.1");
    s.sender = QStringLiteral("segreteria@example.it");
    return s;
}

} // namespace

class TestMailOutbox : public QObject
{
    Q_OBJECT

private slots:
    void encodedText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("plain ASCII stays") << QStringLiteral("Conferma di prenotazione");
        QTest::newRow("accents") << QStringLiteral("Novit\u00E0 per l'evento di Forl\u00EC");
        QTest::newRow("long, many words") << QStringLiteral("Giornata di studio sulla sanit\u00E0 pubblica e sulla "
                                                             "prevenzione, con la partecipazione di esperti \u00E8 \u20AC");
        QTest::newRow("three-byte characters at every cut") << QString(60, QChar(0x20AC));
        QTest::newRow("a line break cannot start a header") << QStringLiteral("Oggetto\r\nBcc: tutti@example.it");
    }
    void encodedText()
    {
        QFETCH(QString, text);
        const QByteArray header = qv::Mail::encodedText(text);
        for (const QByteArray &line : header.split('\n')) {
            const QByteArray word = line.trimmed();
            QVERIFY2(word.size() <= 75 || !word.startsWith("=?"), word.constData());
            QVERIFY(!word.contains('\r'));
        }
        // Lines after the first are folded (they start with a blank).
        QVERIFY(!header.contains("\r\nB") && !header.contains("\n\n"));
        QByteArray unfolded = header;
        unfolded.replace("\r\n ", " ");
        const bool plain = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 32 && c.unicode() < 127; });
        QCOMPARE(plain ? QString::fromLatin1(unfolded) : decodeWords(unfolded).remove(QLatin1Char(' ')),
                 plain ? text : QString(text).remove(QLatin1Char(' ')));
    }

    void mailbox_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("no name") << QString() << QByteArray("<a@example.it>");
        QTest::newRow("plain") << QStringLiteral("Rossi Mario") << QByteArray("Rossi Mario <a@example.it>");
        QTest::newRow("specials quoted") << QStringLiteral("Rossi, Mario \"Super\"") << QByteArray("\"Rossi, Mario \\\"Super\\\"\" <a@example.it>");
        QTest::newRow("accents encoded") << QStringLiteral("Nicol\u00F2") << QByteArray("=?UTF-8?B?Tmljb2zDsg==?= <a@example.it>");
    }
    void mailbox()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, expected);
        QCOMPARE(qv::Mail::mailbox(name, QStringLiteral("a@example.it")), expected);
    }

    void theSameDraftIsStoredOnce()
    {
        qvtest::TempProgramFolder folder;
        Outbox outbox;
        bool added = false;
        const QString first = outbox.add(draft(QStringLiteral("conferma|1|7")), senderSettings(), &added);
        QVERIFY(added);
        const QString again = outbox.add(draft(QStringLiteral("conferma|1|7")), senderSettings(), &added);
        QVERIFY(!added);
        QCOMPARE(again, first);
        outbox.add(draft(QStringLiteral("conferma|1|8"), QStringLiteral("b@example.it")), senderSettings(), &added);
        QVERIFY(added);
        const QList<Entry> entries = outbox.list();
        QCOMPARE(entries.size(), 2);
        const Message m = outbox.read(first);
        QCOMPARE(m.fromAddress, QStringLiteral("segreteria@example.it"));
        QVERIFY(m.messageId.startsWith(QStringLiteral("<") + first + QStringLiteral("@example.it")));
        QCOMPARE(m.attachments.size(), 1);
        QFile pdf(m.attachments.first().path);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QCOMPARE(pdf.readAll(), QByteArray("%PDF-1.4 ..."));
    }

    void statesThroughASend()
    {
        qvtest::TempProgramFolder folder;
        Outbox outbox;
        const QString id = outbox.add(draft(QStringLiteral("k")), senderSettings());
        QCOMPARE(outbox.status(id).state, State::Pending);
        {
            SendingDesk desk(outbox);
            SendingDesk other(outbox);
            QVERIFY(outbox.claim(id, desk.name(), false));
            QCOMPARE(outbox.status(id).state, State::Sending); // its desk is alive
            QVERIFY(!outbox.claim(id, other.name(), false)); // nobody else takes it
            // The desk goes away without settling it (killed half-way).
        }
        QCOMPARE(outbox.status(id).state, State::Uncertain);
        SendingDesk desk(outbox);
        QVERIFY(!outbox.claim(id, desk.name(), true)); // never sent again by itself
        QCOMPARE(outbox.status(id).state, State::Uncertain);
        QVERIFY(outbox.sendAgain(id)); // the user says so
        QVERIFY(outbox.claim(id, desk.name(), false));
        Status sent = outbox.status(id);
        sent.state = State::Sent;
        sent.reply = QStringLiteral("250 OK");
        outbox.settle(id, sent);
        QCOMPARE(outbox.status(id).state, State::Sent);
        QCOMPARE(outbox.status(id).attempts, 2);
        QVERIFY(!outbox.sendAgain(id));
        QVERIFY(!outbox.claim(id, desk.name(), true));
    }

    void aTemporaryRefusalWaitsItsTurn()
    {
        qvtest::TempProgramFolder folder;
        Outbox outbox;
        const QString id = outbox.add(draft(QStringLiteral("k")), senderSettings());
        SendingDesk desk(outbox);
        QVERIFY(outbox.claim(id, desk.name(), false));
        Status later = outbox.status(id);
        later.state = State::Pending;
        later.notBefore = QDateTime::currentDateTime().addSecs(600);
        outbox.settle(id, later);
        QVERIFY(!outbox.claim(id, desk.name(), false));
        QVERIFY(outbox.claim(id, desk.name(), true)); // "riprova ora"
    }

    void aMessageCutWhileComposedIsNotListed()
    {
        qvtest::TempProgramFolder folder;
        Outbox outbox;
        outbox.add(draft(QStringLiteral("k")), senderSettings());
        // An attachment written, its message never: nothing to send.
        folder.write(QStringLiteral("Posta_In_Uscita/20260101-000000000-0001-deadbeef_1.pdf"), "%PDF");
        QCOMPARE(outbox.list().size(), 1);
        // A message file that is not whole is said, not taken for empty.
        folder.write(QStringLiteral("Posta_In_Uscita/20260101-000000000-0002-deadbeef.json"), "{\"kind\":");
        QVERIFY_THROWS_EXCEPTION(qv::Mail::Error, outbox.list());
    }
};

QTEST_MAIN(TestMailOutbox)
#include "tst_mailoutbox.moc"
