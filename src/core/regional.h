#pragma once
#include <QDate>
#include <QString>
#include <QTime>

// Dates and amounts are always "dd/mm/yyyy" and use "," as decimal separator,
// whatever the system's own regional settings say.
namespace qv {

// Called by every window when it is created.
void applyRegionalSettings();

QString formatDate(const QDate &date);          // "dd/mm/yyyy"
QDate parseDate(const QString &text);           // invalid when not "d/m/yyyy"
// A date as people and programs write one: "5/3/1975", "05-03-75",
// "5.3.75", "1975-03-05" (a time after it or not), "19750305". A year of two
// digits is of this century unless the date would then be after `today`, in
// which case it is of the last one. Invalid for anything else.
QDate parseCommonDate(const QString &text, const QDate &today);
QString formatTime(const QTime &time);          // long time format "hh:mm:ss"

// The texts Qt itself draws (the printer dialog, the file chooser, page
// set-up, the standard buttons) in Italian, from the translations installed
// with Qt (Debian: qt6-translations-l10n). Once, at start; false where they
// are not installed, which leaves those texts in English. The program's
// default locale becomes Italian whatever the system's (applyRegionalSettings),
// so the names of months and days, file sizes and kinds of file Qt shows are
// Italian as well, with or without the catalogues.
bool installQtItalian();

} // namespace qv
