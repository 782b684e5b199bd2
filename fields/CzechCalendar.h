#pragma once

#include <QDate>
#include <QList>
#include <QString>

namespace vorlin::fields {

// Easter Sunday of a year of the Gregorian calendar.
QDate easterSunday(int year);

// The public holidays of the Czech Republic in a year, in date order: the
// fixed days of the law on holidays, Easter Monday, and Good Friday from
// 2016 on (when the law added it).
QList<QDate> czechPublicHolidays(int year);

bool isCzechPublicHoliday(const QDate& date);
// Neither a Saturday, a Sunday nor a public holiday.
bool isWorkingDay(const QDate& date);
// The day itself when it is a working day, else the next one that is.
QDate nextWorkingDay(QDate date);
// Why a day is no working day ("sobota", "neděle", "státní svátek",
// "ostatní svátek"); empty for a working day.
QString whyNoWorkingDay(const QDate& date);

// A date in the Czech forms used in documents.
enum class CzechDateForm {
    Words,   // "7. prosince 2026"
    Spaced,  // "7. 12. 2026"
    Padded,  // "07.12.2026"
};
QString czechDate(const QDate& date, CzechDateForm form = CzechDateForm::Spaced);

// A month's name in the genitive, as a date is written in words ("prosince"
// for 12), and the month a name stands for (0 for none).
QString czechMonthInGenitive(int month);
int monthOfCzechGenitive(const QString& name);

}  // namespace vorlin::fields
