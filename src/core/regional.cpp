#include "core/regional.h"

#include "core/text.h"

#include <QCoreApplication>
#include <QHash>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QRegularExpression>
#include <QStringList>
#include <QTranslator>

namespace qv {

namespace {

// The words the file chooser shows for the kind of an entry, which Qt's
// Italian catalogue does not hold under the name Qt 6 looks them up by.
class FileKindWords : public QTranslator
{
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0)
            return {};
        static const QHash<QByteArray, QString> words{
            {"Drive", QStringLiteral("Unit\u00E0")},
            {"Folder", QStringLiteral("Cartella")},
            {"File", QStringLiteral("File")},
            {"%1 File", QStringLiteral("File %1")},
            {"Shortcut", QStringLiteral("Collegamento")},
            {"Alias", QStringLiteral("Alias")},
        };
        return words.value(QByteArray(sourceText));
    }
};

} // namespace

void applyRegionalSettings()
{
    QLocale italian(QLocale::Italian, QLocale::Italy);
    italian.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(italian);
}

bool installQtItalian()
{
    // Owned by the application: gone with it, and then loaded again when asked.
    static QPointer<QTranslator> installed;
    applyRegionalSettings();
    static QPointer<QTranslator> fileKinds;
    if (!fileKinds) {
        fileKinds = new FileKindWords(QCoreApplication::instance());
        QCoreApplication::installTranslator(fileKinds);
    }
    if (installed)
        return true;
    auto *translator = new QTranslator(QCoreApplication::instance());
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    // qtbase holds the dialogs and buttons; qt_it gathers every module's catalogue.
    if ((!translator->load(italian, QStringLiteral("qtbase"), QStringLiteral("_"), folder)
         && !translator->load(italian, QStringLiteral("qt"), QStringLiteral("_"), folder))
        || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    installed = translator;
    return true;
}

QString formatDate(const QDate &date)
{
    if (!date.isValid())
        return {};
    return QStringLiteral("%1/%2/%3")
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.year(), 4, 10, QLatin1Char('0'));
}

QDate parseDate(const QString &text)
{
    const QStringList parts = trimmed(text).split(QLatin1Char('/'));
    if (parts.size() != 3)
        return {};
    bool okDay = false, okMonth = false, okYear = false;
    const int day = parts[0].toInt(&okDay);
    const int month = parts[1].toInt(&okMonth);
    const int year = parts[2].toInt(&okYear);
    if (!okDay || !okMonth || !okYear || parts[2].size() != 4)
        return {};
    return QDate(year, month, day);
}

QDate parseCommonDate(const QString &text, const QDate &today)
{
    static const QRegularExpression dayFirst(QStringLiteral("^(\\d{1,2})([/.-])(\\d{1,2})\\2(\\d{4}|\\d{2})$"));
    static const QRegularExpression yearFirst(
        QStringLiteral("^(\\d{4})([/.-]?)(\\d{2})\\2(\\d{2})(?:[T ]\\d{1,2}[:.]\\d{2}(?:[:.]\\d{2}(?:\\.\\d+)?)?Z?)?$"));
    const QString t = trimmed(text);
    if (const QRegularExpressionMatch m = yearFirst.match(t); m.hasMatch())
        return QDate(m.captured(1).toInt(), m.captured(3).toInt(), m.captured(4).toInt());
    const QRegularExpressionMatch m = dayFirst.match(t);
    if (!m.hasMatch())
        return {};
    int year = m.captured(4).toInt();
    const int month = m.captured(3).toInt(), day = m.captured(1).toInt();
    if (m.captured(4).size() == 2) {
        const int century = today.year() / 100 * 100;
        const QDate recent(century + year, month, day);
        year += recent.isValid() && recent > today ? century - 100 : century;
    }
    return QDate(year, month, day);
}

QString formatTime(const QTime &time)
{
    return time.toString(QStringLiteral("HH:mm:ss"));
}

} // namespace qv
