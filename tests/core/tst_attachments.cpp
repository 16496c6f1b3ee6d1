#include "core/attachments.h"
#include "core/programfolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace qv;

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestAttachments : public QObject
{
    Q_OBJECT
private slots:
    void names_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("problem");
        QTest::addColumn<bool>("bare");
        const int none = int(Attachments::NameProblem::None);
        const int tooLong = int(Attachments::NameProblem::TooLong);
        const int notStorable = int(Attachments::NameProblem::NotStorable);
        QTest::newRow("plain") << "Programma 2025.pdf" << none << true;
        QTest::newRow("accents and euro") << QStringLiteral("Quota \u20AC e citt\u00E0.xls") << none << true;
        QTest::newRow("250") << QString(246, 'a') + ".pdf" << none << true;
        QTest::newRow("251") << QString(247, 'a') + ".pdf" << tooLong << true;
        QTest::newRow("outside the code page") << QStringLiteral("\u65E5\u672C.txt") << notStorable << true;
        QTest::newRow("trailing blank") << "a.txt " << notStorable << true;
        QTest::newRow("control character") << QStringLiteral("a\u0001.txt") << notStorable << true;
        QTest::newRow("decomposed") << QStringLiteral("citta\u0300.txt") << notStorable << true;
        QTest::newRow("dots inside") << "a..b" << none << true;
        QTest::newRow("dot") << "." << none << false;
        QTest::newRow("parent") << ".." << none << false;
        QTest::newRow("slash") << "sub/a.txt" << none << false;
        QTest::newRow("backslash") << "..\\a.txt" << none << false;
    }
    void names()
    {
        QFETCH(QString, name);
        QFETCH(int, problem);
        QFETCH(bool, bare);
        QCOMPARE(int(Attachments::nameProblem(name)), problem);
        QCOMPARE(Attachments::isBareName(name), bare);
    }

    void folderAndOpenPath()
    {
        QTemporaryDir dir;
        ProgramFolder::setOverride(dir.path());
        QCOMPARE(Attachments::folder(), ProgramFolder::path() + "Documenti_Allegati/");
        QCOMPARE(Attachments::openPath("  a b.pdf "),
                 QDir::toNativeSeparators(ProgramFolder::path() + "Documenti_Allegati/a b.pdf"));
        QCOMPARE(Attachments::openPath("../Eventi.pro"), QString());
        QCOMPARE(Attachments::openPath("   "), QString());
        QVERIFY(!QFileInfo::exists(Attachments::folder()));
        QVERIFY(Attachments::ensureFolder());
        QVERIFY(QFileInfo(Attachments::folder()).isDir());
        QVERIFY(Attachments::ensureFolder()); // already there
        ProgramFolder::setOverride({});
    }

    // A copy that cannot be made leaves the stored file as it was, and no
    // temporary file behind.
    void copyReplacesOnlyWhenComplete()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath("stored.pdf");
        writeFile(target, "stored");
        QVERIFY(!Attachments::copyFile(dir.filePath("missing.pdf"), target));
        QVERIFY(!Attachments::copyFile(dir.path(), target)); // a folder is not a file
        QCOMPARE(readFile(target), QByteArray("stored"));

        writeFile(dir.filePath("new.pdf"), "new");
        QVERIFY(Attachments::copyFile(dir.filePath("new.pdf"), target));
        QCOMPARE(readFile(target), QByteArray("new"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{"new.pdf", "stored.pdf"}));
        QVERIFY(QFileInfo(target).permissions() & QFileDevice::ReadOther);

        QVERIFY(Attachments::isSameFile(target, dir.path() + "/./stored.pdf"));
        QVERIFY(!Attachments::isSameFile(target, dir.filePath("new.pdf")));
        QVERIFY(!Attachments::isSameFile(target, dir.filePath("absent.pdf")));
    }
};

QTEST_GUILESS_MAIN(TestAttachments)
#include "tst_attachments.moc"
