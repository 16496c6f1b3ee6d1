#include "core/tmisc.h"
#include "support/testsupport.h"

#include <QUrl>
#include <QtTest>

using namespace qv;

class TestShell : public QObject
{
    Q_OBJECT
private slots:
    void mailTexts_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("expected");
        QTest::newRow("address only") << "  a.b@c.it " << "" << "" << "mailto:a.b@c.it";
        QTest::newRow("empty") << "" << "" << "" << "mailto:";
        QTest::newRow("subject and body")
            << "x@y.it" << "Software Quorvane" << "Salve, posto n. 5 & pi\u00F9: s\u00EC?"
            << "mailto:x@y.it?subject=Software%20Quorvane&body=Salve%2C%20posto%20n.%205%20%26%20pi%C3%B9%3A%20s%C3%AC%3F";
        QTest::newRow("reserved, quotes, percent")
            << "x@y.it" << "R&D #1: 50% posti?" << "l'\"evento\" = a+b"
            << "mailto:x@y.it?subject=R%26D%20%231%3A%2050%25%20posti%3F&body=l%27%22evento%22%20%3D%20a%2Bb";
        QTest::newRow("address delimiters") << "a?b#c%d&e f@g.it" << "" << ""
                                            << "mailto:a%3Fb%23c%25d%26e%20f@g.it";
    }
    void mailTexts()
    {
        QFETCH(QString, address);
        QFETCH(QString, subject);
        QFETCH(QString, body);
        QFETCH(QString, expected);
        QCOMPARE(mailtoText(address, subject, body), expected);
        qvtest::ShellRecorder shell;
        composeMail(address, subject, body);
        QCOMPARE(shell.commands, QStringList{'"' + expected + '"'});
    }

    // What the mail program reads back, after decoding, is the text as written.
    void mailTextsDecodeToTheOriginal()
    {
        const QString subject = QStringLiteral("R&D #1: 50% posti? \u00E8 \u20AC");
        const QString body = QStringLiteral("Gentile Sig. D'Amico, posto n. A1 & B2 = \"ok\"?");
        const QString text = mailtoText(QStringLiteral("p@q.it"), subject, body);
        const QStringList parts = text.mid(text.indexOf('?') + 1).split('&');
        QCOMPARE(parts.size(), 2);
        QVERIFY(parts[0].startsWith("subject="));
        QVERIFY(parts[1].startsWith("body="));
        QCOMPARE(QUrl::fromPercentEncoding(parts[0].mid(8).toLatin1()), subject);
        QCOMPARE(QUrl::fromPercentEncoding(parts[1].mid(5).toLatin1()), body);
        for (const QChar c : text)
            QVERIFY2(c.unicode() > 32 && c.unicode() < 127 && c != '"' && c != '#', qPrintable(text));
    }

    void programFilesAreWrapped()
    {
        qvtest::TempProgramFolder folder;
        QCOMPARE(TMisc::ProgramFile("Guida.pdf"), '"' + folder.path() + "Guida.pdf\"");
    }
};

QTEST_GUILESS_MAIN(TestShell)
#include "tst_shell.moc"
