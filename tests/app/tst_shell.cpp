#include "core/tmisc.h"
#include "support/testsupport.h"

#include <QFile>
#include <QTemporaryDir>
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
        QVERIFY(composeMail(address, subject, body));
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

    // The desktop's opener, stood in for by a script on the PATH: one that
    // gives up at once, or is missing, is a failure; one that opens, or is
    // still busy opening after a moment, is not. The target reaches it as one
    // argument, blanks and quotes included.
    void desktopOpener_data()
    {
        QTest::addColumn<QString>("script"); // empty: no opener on the PATH
        QTest::addColumn<bool>("opened");
        QTest::newRow("opens") << "printf '%s' \"$1\" > \"$0.arg\"; exit 0" << true;
        QTest::newRow("no program for it") << "printf '%s' \"$1\" > \"$0.arg\"; exit 3" << false;
        QTest::newRow("still opening") << "printf '%s' \"$1\" > \"$0.arg\"; /bin/sleep 3" << true;
        QTest::newRow("killed") << "printf '%s' \"$1\" > \"$0.arg\"; kill -9 $$" << false;
        QTest::newRow("no opener") << QString() << false;
    }
    void desktopOpener()
    {
#if defined(Q_OS_MACOS) || defined(Q_OS_WIN)
        QSKIP("the stand-in opener is a shell script");
#endif
        QFETCH(QString, script);
        QFETCH(bool, opened);
        QTemporaryDir bin;
        const QString opener = bin.filePath("xdg-open");
        if (!script.isEmpty()) {
            QFile file(opener);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("#!/bin/sh\n" + script.toUtf8() + "\n");
            file.close();
            QVERIFY(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
        }
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()));
        const QString target = bin.filePath("un file \"strano\" $HOME; e.pdf");
        const bool answer = TMisc::Open(TMisc::Wrapped(target));
        qputenv("PATH", path);
        QCOMPARE(answer, opened);
        if (!script.isEmpty()) {
            QTRY_VERIFY(QFileInfo::exists(opener + ".arg"));
            QFile arg(opener + ".arg");
            QVERIFY(arg.open(QIODevice::ReadOnly));
            QCOMPARE(QString::fromUtf8(arg.readAll()), target);
        }
    }

    void programFilesAreWrapped()
    {
        qvtest::TempProgramFolder folder;
        QCOMPARE(TMisc::ProgramFile("Guida.pdf"), '"' + folder.path() + "Guida.pdf\"");
    }
};

QTEST_GUILESS_MAIN(TestShell)
#include "tst_shell.moc"
