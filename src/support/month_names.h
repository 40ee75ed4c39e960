#pragma once
// Month names of the user's locale, in the form that positions files hold them.

#include <QString>
#include <QStringView>

// The locale's short name of month 1-12, without the abbreviation point that some locale data
// adds ("mrt", not "mrt."), as the files written by earlier versions hold it.
QString ShortMonthName(int month);
// The short name that a position line holds: the locale's, when the positions file's code page
// can hold it, and otherwise the Dutch one ("paź" or "окт" would not read back as any month).
QString PositionMonthName(int month);
QString LongMonthName(int month);
// The number (1-12) of the first short month name equal to text, case-sensitive, accepting the
// form with a trailing point too; the Dutch and then the English names are tried after the
// locale's own; 12 when none matches.
int MonthNumber(QStringView text);
