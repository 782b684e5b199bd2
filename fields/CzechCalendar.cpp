#include "fields/CzechCalendar.h"

#include <algorithm>
#include <array>

namespace vorlin::fields {

namespace {

// The fixed days of the law on holidays, as (month, day).
constexpr std::array<std::pair<int, int>, 11> kFixedHolidays = {{
    {1, 1},    // Den obnovy samostatného českého státu
    {5, 1},    // Svátek práce
    {5, 8},    // Den vítězství
    {7, 5},    // Den slovanských věrozvěstů Cyrila a Metoděje
    {7, 6},    // Den upálení mistra Jana Husa
    {9, 28},   // Den české státnosti
    {10, 28},  // Den vzniku samostatného československého státu
    {11, 17},  // Den boje za svobodu a demokracii
    {12, 24},  // Štědrý den
    {12, 25},  // 1. svátek vánoční
    {12, 26},  // 2. svátek vánoční
}};

constexpr int kGoodFridayFrom = 2016;

// The month in the genitive, as a date is written in words.
constexpr std::array<const char16_t*, 12> kMonthsInGenitive = {
    u"ledna", u"února", u"března", u"dubna", u"května", u"června",
    u"července", u"srpna", u"září", u"října", u"listopadu", u"prosince",
};

}  // namespace

QDate easterSunday(int year)
{
    // The anonymous Gregorian computus (Meeus, Jones, Butcher).
    const int a = year % 19;
    const int b = year / 100;
    const int c = year % 100;
    const int d = b / 4;
    const int e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4;
    const int k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31;
    const int day = (h + l - 7 * m + 114) % 31 + 1;
    return QDate(year, month, day);
}

QList<QDate> czechPublicHolidays(int year)
{
    QList<QDate> days;
    for (const auto& [month, day] : kFixedHolidays)
        days << QDate(year, month, day);
    const QDate easter = easterSunday(year);
    if (year >= kGoodFridayFrom)
        days << easter.addDays(-2);
    days << easter.addDays(1);
    std::sort(days.begin(), days.end());
    return days;
}

bool isCzechPublicHoliday(const QDate& date)
{
    for (const auto& [month, day] : kFixedHolidays)
        if (date.month() == month && date.day() == day)
            return true;
    const QDate easter = easterSunday(date.year());
    return date == easter.addDays(1) || (date.year() >= kGoodFridayFrom && date == easter.addDays(-2));
}

bool isWorkingDay(const QDate& date)
{
    return date.dayOfWeek() < 6 && !isCzechPublicHoliday(date);
}

QDate nextWorkingDay(QDate date)
{
    while (!isWorkingDay(date))
        date = date.addDays(1);
    return date;
}

QString whyNoWorkingDay(const QDate& date)
{
    if (date.dayOfWeek() == 6)
        return QStringLiteral("sobota");
    if (date.dayOfWeek() == 7)
        return QStringLiteral("neděle");
    if (!isCzechPublicHoliday(date))
        return {};
    // The law on holidays names the state holidays; Good Friday, Easter
    // Monday, 1 May and 24 to 26 December are its "other holidays" (1
    // January is both: the state's renewal and New Year's Day).
    static constexpr std::array<std::pair<int, int>, 7> kStateHolidays = {
        {{1, 1}, {5, 8}, {7, 5}, {7, 6}, {9, 28}, {10, 28}, {11, 17}}};
    for (const auto& [month, day] : kStateHolidays)
        if (date.month() == month && date.day() == day)
            return QStringLiteral("státní svátek");
    return QStringLiteral("ostatní svátek");
}

QString czechDate(const QDate& date, CzechDateForm form)
{
    switch (form) {
    case CzechDateForm::Words:
        return QStringLiteral("%1. %2 %3")
            .arg(date.day())
            .arg(czechMonthInGenitive(date.month()))
            .arg(date.year());
    case CzechDateForm::Padded:
        return date.toString(QStringLiteral("dd.MM.yyyy"));
    case CzechDateForm::Spaced:
        break;
    }
    return QStringLiteral("%1. %2. %3").arg(date.day()).arg(date.month()).arg(date.year());
}

QString czechMonthInGenitive(int month)
{
    return month >= 1 && month <= 12 ? QString::fromUtf16(kMonthsInGenitive[std::size_t(month - 1)]) : QString();
}

int monthOfCzechGenitive(const QString& name)
{
    for (int month = 1; month <= 12; ++month)
        if (name.compare(czechMonthInGenitive(month), Qt::CaseInsensitive) == 0)
            return month;
    return 0;
}

}  // namespace vorlin::fields
