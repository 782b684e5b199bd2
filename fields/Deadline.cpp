#include "fields/Deadline.h"

#include "fields/CzechCalendar.h"

namespace vorlin::fields {

namespace {

// The Czech noun after a number: one, two to four, five and more.
QString counted(int n, const char* one, const char* few, const char* many)
{
    const char* word = n == 1 ? one : (n >= 2 && n <= 4 ? few : many);
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(word));
}

// "sobotu", "neděli", "státní svátek", "ostatní svátek": after "připadá na".
QString accusativeOfWhy(const QDate& date)
{
    if (date.dayOfWeek() == 6)
        return QStringLiteral("sobotu");
    if (date.dayOfWeek() == 7)
        return QStringLiteral("neděli");
    return whyNoWorkingDay(date);
}

}  // namespace

QString periodText(Period period)
{
    switch (period.unit) {
    case PeriodUnit::Days: return counted(period.length, "den", "dny", "dnů");
    case PeriodUnit::Weeks: return counted(period.length, "týden", "týdny", "týdnů");
    case PeriodUnit::Months: return counted(period.length, "měsíc", "měsíce", "měsíců");
    case PeriodUnit::Years: return counted(period.length, "rok", "roky", "let");
    }
    return {};
}

Deadline deadlineFrom(const QDate& event, Period period)
{
    Deadline deadline;
    switch (period.unit) {
    case PeriodUnit::Days: deadline.counted = event.addDays(period.length); break;
    case PeriodUnit::Weeks: deadline.counted = event.addDays(7 * qint64(period.length)); break;
    // Qt keeps the day of the month, or takes the last day of a shorter one.
    case PeriodUnit::Months: deadline.counted = event.addMonths(period.length); break;
    case PeriodUnit::Years: deadline.counted = event.addYears(period.length); break;
    }
    deadline.end = nextWorkingDay(deadline.counted);
    deadline.explanation = QStringLiteral("%1 od %2 → %3")
                               .arg(periodText(period), czechDate(event), czechDate(deadline.counted));
    if (deadline.end != deadline.counted)
        deadline.explanation +=
            QStringLiteral(" (%1) → %2").arg(whyNoWorkingDay(deadline.counted), czechDate(deadline.end));
    return deadline;
}

DeemedDelivery deemedDeliveryFrom(const QDate& deliveredIntoBox)
{
    DeemedDelivery deemed{deliveredIntoBox.addDays(10), {}};
    if (!isWorkingDay(deemed.date))
        deemed.note = QStringLiteral("připadá na ") + accusativeOfWhy(deemed.date);
    return deemed;
}

}  // namespace vorlin::fields
