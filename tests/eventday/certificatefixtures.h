#pragma once
// A two-day event after it ran, for the tests of the certificates and the
// signature sheet: six bookings, four in on both days, one on the first day
// only, one never; PDFs read back through pdftotext.
#include "dayfixtures.h"

#include "eventday/attendance.h"

#include <QProcess>
#include <QStandardPaths>

namespace certfixtures {

inline const QStringList kBothDays{QStringLiteral("Rossi Mario"), QStringLiteral("Bianchi Anna"),
                                   QStringLiteral("Verdi Luca"), QStringLiteral("Esposito Nicol\u00F2")};
inline const QString kOneDay = QStringLiteral("Ferrari Giulia");
inline const QString kAbsent = QStringLiteral("Colombo Paolo");
inline const QString kTitle = QStringLiteral("Convegno di medicina del lavoro");

// Writes Eventi.pro with event 1 (12 and 13 March 2026), its bookings and
// its entries (9:00 each day; exits at 13:00 when `exits`). Returns the
// reservations archive.
inline QString writeTwoDayEvent(const qvtest::TempProgramFolder &folder, bool exits = false)
{
    qv::TSchedaEvento event;
    event.setText("Titolo", kTitle);
    event.setText("DataInizio", QStringLiteral("12/03/2026"));
    event.setText("DataFine", QStringLiteral("13/03/2026"));
    event.setText("OraInizio", QStringLiteral("09:00"));
    event.setText("OraFine", QStringLiteral("13:00"));
    event.setText("Sede", QStringLiteral("Palazzo dei Congressi"));
    event.setText("Relatori", QStringLiteral("Prof. Neri"));
    folder.write(QStringLiteral("Eventi.pro"), event.bytes());

    QList<dayfixtures::Guest> guests;
    const QStringList names = kBothDays + QStringList{kOneDay, kAbsent};
    for (int i = 0; i < names.size(); ++i)
        guests.append({names.at(i), QString::number(i + 1)});
    const QString reservations = dayfixtures::writeBookings(folder, 1, guests);
    const QString entries = qv::Attendance::archiveBeside(reservations);
    for (int day = 12; day <= 13; ++day) {
        for (int i = 0; i < names.size() - 1; ++i) {
            if (day == 13 && names.at(i) == kOneDay)
                continue;
            const QDate date(2026, 3, day);
            qv::Attendance::checkIn(entries, i + 1, QString::number(i + 1), QDateTime(date, QTime(9, 0)));
            if (exits)
                qv::Attendance::checkOut(reservations, i + 1, QString::number(i + 1),
                                         QDateTime(date, QTime(i == 0 ? 10 : 13, 0)));
        }
    }
    return reservations;
}

// The text of a PDF, one entry a page; empty (and the test skipped by the
// caller) when pdftotext is not installed.
inline QStringList pdfPages(const QString &path)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return {};
    QProcess reader;
    reader.start(tool, {QStringLiteral("-layout"), path, QStringLiteral("-")});
    reader.waitForFinished(60000);
    QStringList pages = QString::fromUtf8(reader.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

inline bool hasPdfToText()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

} // namespace certfixtures
