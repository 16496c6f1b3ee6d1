#include "core/regional.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QLibraryInfo>
#include <QPushButton>
#include <QtTest>

using namespace qv;

// The dialogs Qt draws itself (printer, file chooser, page set-up) take their
// texts from Qt's catalogues: once they are installed they read Italian.
class TestQtItalian : public QObject
{
    Q_OBJECT
private slots:
    void standardTextsReadItalian()
    {
        const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
        if (!QFile::exists(folder + "/qtbase_it.qm"))
            QSKIP("Qt's Italian catalogue is not installed (qt6-translations-l10n)");
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Cancel"));
        QVERIFY(installQtItalian());
        QVERIFY(installQtItalian()); // once is enough; again changes nothing
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Annulla"));
        QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QString("Annulla"));
        // The printer dialog's own words.
        QCOMPARE(QCoreApplication::translate("QPrintDialog", "Print"), QString("Stampa"));
    }

    // Months, days and sizes in Italian whatever the system's locale, with or
    // without the catalogues.
    void defaultLocaleIsItalian()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        installQtItalian();
        QCOMPARE(QLocale().monthName(3), QString("marzo"));
        QCOMPARE(QLocale().dayName(1), QString("luned\u00EC"));
        QCOMPARE(QLocale().formattedDataSize(1536), QString("1,50 KiB"));
        // The file chooser's kind of a folder.
        QCOMPARE(QCoreApplication::translate("QAbstractFileIconProvider", "Folder"), QString("Cartella"));
    }
};

QTEST_MAIN(TestQtItalian)
#include "tst_qtitalian.moc"
