#include "core/tmisc.h"
#include "support/testsupport.h"

#include <QtTest>

using namespace qv;

class TestShell : public QObject
{
    Q_OBJECT
private slots:
    void mailTextsAreNotEncoded_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("expected");
        QTest::newRow("address only") << "  a.b@c.it " << "" << "" << "mailto:a.b@c.it";
        QTest::newRow("empty") << "" << "" << "" << "mailto:";
        QTest::newRow("subject and body")
            << "x@y.it" << "Software Quorvane" << "Salve, posto n. 5 & più: sì?"
            << "mailto:x@y.it?subject=Software Quorvane&body=Salve, posto n. 5 & più: sì?";
    }
    void mailTextsAreNotEncoded()
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

    void programFilesAreWrapped()
    {
        qvtest::TempProgramFolder folder;
        QCOMPARE(TMisc::ProgramFile("Guida.pdf"), '"' + folder.path() + "Guida.pdf\"");
    }
};

QTEST_GUILESS_MAIN(TestShell)
#include "tst_shell.moc"
