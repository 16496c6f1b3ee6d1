#include "password/inifile.h"
#include "password/password.h"
#include "password/passwordstore.h"
#include "support/testsupport.h"

#include <QDir>
#include <QProcess>
#include <QtTest>

using namespace qv;
using qvtest::TempProgramFolder;

class TestPassword : public QObject
{
    Q_OBJECT
private slots:
    void knownValues_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("hex");
        QTest::newRow("default") << "CARTOLINAVESPA" << "4F187C3F84C849F04D26EE84D997";
        QTest::newRow("one letter") << "A" << "4D";
        QTest::newRow("accented and blank") << QStringLiteral("ÈÀ 1") << "C4147391";
        QTest::newRow("empty") << "" << "";
    }
    void knownValues()
    {
        QFETCH(QString, password);
        QFETCH(QString, hex);
        QCOMPARE(CodificaPassword(password), hex);
        QCOMPARE(DecodificaPassword(hex), password);
        QCOMPARE(DecodificaPassword(hex.toLower()), password);
    }

    void roundTripOverEveryEightBitCode()
    {
        QString all;
        for (int c = 0; c < 256; ++c)
            all += QChar(char16_t(c));
        QCOMPARE(DecodificaPassword(CodificaPassword(all)), all);
        QCOMPARE(CodificaPassword(all).size(), 512);
    }

    void oddDigitIgnoredAndNonHexRaises()
    {
        QCOMPARE(DecodificaPassword("4F187C3F84C849F04D26EE84D997" "A"), QStringLiteral("CARTOLINAVESPA"));
        QVERIFY_THROWS_EXCEPTION(PasswordFormatError, DecodificaPassword("4G"));
        QVERIFY_THROWS_EXCEPTION(PasswordFormatError, DecodificaPassword("4F 1"));
    }

    void storableOnlyWithinEightBitsAnd255Characters()
    {
        QVERIFY(isStorablePassword(QStringLiteral("ÀÈÌ ÿ")));
        QVERIFY(isStorablePassword(QString(255, 'x')));
        QVERIFY(!isStorablePassword(QString(256, 'x')));
        QVERIFY(!isStorablePassword(QStringLiteral("\u20AC100")));
    }

    void iniValueWriteKeepsEverythingElse()
    {
        TempProgramFolder folder;
        const QByteArray before = "; impostazioni\r\n[Altro]\r\nChiave=1\r\n\r\n[accesso]\r\nValore=00\r\nAltra=x\r\n"
                                  "[Coda]\r\nZ=9\r\n";
        folder.write("a.ini", before);
        IniFile::writeValue(folder.file("a.ini"), "Accesso", "Valore", "ABCD");
        QCOMPARE(folder.read("a.ini"), QByteArray(before).replace("Valore=00", "Valore=ABCD"));
        QCOMPARE(IniFile::readValue(folder.file("a.ini"), "Accesso", "Valore"), QStringLiteral("ABCD"));

        // A missing key goes into its section; a missing section at the end.
        folder.write("b.ini", "[Accesso]\nAltra=1\n\n[Dopo]\nK=2\n");
        IniFile::writeValue(folder.file("b.ini"), "Accesso", "Valore", "12");
        QCOMPARE(folder.read("b.ini"), QByteArray("[Accesso]\nAltra=1\nValore=12\n\n[Dopo]\nK=2\n"));
        folder.write("c.ini", "[Dopo]\nK=2");
        IniFile::writeValue(folder.file("c.ini"), "Accesso", "Valore", "12");
        QCOMPARE(folder.read("c.ini"), QByteArray("[Dopo]\nK=2\n\n[Accesso]\nValore=12\n"));
        IniFile::writeValue(folder.file("new.ini"), "Accesso", "Valore", "12");
        QCOMPARE(folder.read("new.ini"), QByteArray("[Accesso]\r\nValore=12\r\n"));
    }

    void failedWriteLeavesTheOldFileWhole()
    {
        TempProgramFolder folder;
        PasswordStore::store("vecchia");
        const QByteArray before = folder.read("unins000.dll");
        {
            qvtest::FileSizeLimit full(8); // the write fails after the file was opened
            QVERIFY_THROWS_EXCEPTION(IniFile::Error, PasswordStore::store("nuova"));
        }
        QCOMPARE(folder.read("unins000.dll"), before);
        QCOMPARE(PasswordStore::stored(), QStringLiteral("VECCHIA"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"unins000.dll"});
    }

    void byteOrderMarkIsSkippedAndKept()
    {
        TempProgramFolder folder;
        folder.write("unins000.dll", "\xEF\xBB\xBF[Accesso]\r\nValore=" + CodificaPassword("PROVA").toLatin1() + "\r\n");
        QCOMPARE(PasswordStore::stored(), QStringLiteral("PROVA"));
        PasswordStore::store("altra");
        QCOMPARE(PasswordStore::stored(), QStringLiteral("ALTRA"));
        QVERIFY(folder.read("unins000.dll").startsWith("\xEF\xBB\xBF[Accesso]\r\nValore="));
    }

    void iniMissingPiecesReadEmptyAndUnreadableRaises()
    {
        TempProgramFolder folder;
        QCOMPARE(IniFile::readValue(folder.file("none.ini"), "Accesso", "Valore"), QString());
        folder.write("s.ini", "[Altro]\nValore=11\n");
        QCOMPARE(IniFile::readValue(folder.file("s.ini"), "Accesso", "Valore"), QString());
        QDir(folder.path()).mkdir("d.ini");
        QVERIFY_THROWS_EXCEPTION(IniFile::Error, IniFile::readValue(folder.file("d.ini"), "Accesso", "Valore"));
        QVERIFY_THROWS_EXCEPTION(IniFile::Error, IniFile::writeValue(folder.file("d.ini"), "Accesso", "Valore", "1"));
    }

    void buildWritesTheDefaultFileButNeverReplacesOne()
    {
        TempProgramFolder folder;
        const QString file = folder.file("unins000.dll");
        const auto runTool = [&] {
            return QProcess::execute(QV_PASSWORDFILE_TOOL, {"--if-missing", file, "CARTOLINAVESPA"});
        };
        QCOMPARE(runTool(), 0);
        QCOMPARE(PasswordStore::stored(), QStringLiteral("CARTOLINAVESPA"));
        PasswordStore::store("cambiata");
        QCOMPARE(runTool(), 0);
        QCOMPARE(PasswordStore::stored(), QStringLiteral("CAMBIATA"));
    }

    void storeUppercasesAsciiAndTrims()
    {
        TempProgramFolder folder;
        PasswordStore::store(QStringLiteral("  nuova è  "));
        QCOMPARE(PasswordStore::stored(), QStringLiteral("NUOVA è"));
        QCOMPARE(folder.read("unins000.dll"),
                 QByteArray("[Accesso]\r\nValore=") + CodificaPassword(QStringLiteral("NUOVA è")).toLatin1() + "\r\n");
    }
};

QTEST_GUILESS_MAIN(TestPassword)
#include "tst_password.moc"
