// The Czech calendar and the deadlines of procedure, by worked examples.
#include "fields/CzechCalendar.h"
#include "fields/Deadline.h"

#include <gtest/gtest.h>

using namespace vorlin::fields;

namespace {

QDate day(const char* iso)
{
    return QDate::fromString(QString::fromLatin1(iso), Qt::ISODate);
}

}  // namespace

// Good Friday and Easter Monday move with Easter; the other holidays stand.
TEST(CzechCalendar, PublicHolidaysOf2024To2030)
{
    struct Case {
        int year;
        const char* goodFriday;
        const char* easterMonday;
    };
    const Case cases[] = {
        {2024, "2024-03-29", "2024-04-01"}, {2025, "2025-04-18", "2025-04-21"}, {2026, "2026-04-03", "2026-04-06"},
        {2027, "2027-03-26", "2027-03-29"}, {2028, "2028-04-14", "2028-04-17"}, {2029, "2029-03-30", "2029-04-02"},
        {2030, "2030-04-19", "2030-04-22"},
    };
    for (const Case& c : cases) {
        const QList<QDate> holidays = czechPublicHolidays(c.year);
        ASSERT_EQ(holidays.size(), 13) << c.year;
        EXPECT_TRUE(holidays.contains(day(c.goodFriday))) << c.year;
        EXPECT_TRUE(holidays.contains(day(c.easterMonday))) << c.year;
        for (const char* fixed : {"-01-01", "-05-01", "-05-08", "-07-05", "-07-06", "-09-28", "-10-28", "-11-17", "-12-24",
                                  "-12-25", "-12-26"})
            EXPECT_TRUE(holidays.contains(QDate::fromString(QString::number(c.year) + QString::fromLatin1(fixed), Qt::ISODate)))
                << c.year << fixed;
        for (const QDate& holiday : holidays) {
            EXPECT_TRUE(isCzechPublicHoliday(holiday)) << holiday.toString(Qt::ISODate).toStdString();
            EXPECT_FALSE(isWorkingDay(holiday));
        }
    }
    // Good Friday is a holiday since 2016, Easter Monday always was.
    EXPECT_FALSE(isCzechPublicHoliday(day("2015-04-03")));
    EXPECT_TRUE(isCzechPublicHoliday(day("2015-04-06")));
    EXPECT_EQ(czechPublicHolidays(2015).size(), 12);
}

TEST(Deadline, EndsByTheRulesOfProcedure)
{
    struct Case {
        const char* event;
        Period period;
        const char* end;
        const char* explanation;
    };
    using U = PeriodUnit;
    const Case cases[] = {
        // Days start the day after the event.
        {"2026-12-03", {15, U::Days}, "2026-12-18", "15 dnů od 3. 12. 2026 → 18. 12. 2026"},
        {"2026-12-04", {15, U::Days}, "2026-12-21", "15 dnů od 4. 12. 2026 → 19. 12. 2026 (sobota) → 21. 12. 2026"},
        {"2026-12-23", {8, U::Days}, "2026-12-31", "8 dnů od 23. 12. 2026 → 31. 12. 2026"},
        // Christmas, then a weekend.
        {"2026-12-14", {10, U::Days}, "2026-12-28",
         "10 dnů od 14. 12. 2026 → 24. 12. 2026 (ostatní svátek) → 28. 12. 2026"},
        // Good Friday, the weekend and Easter Monday in a row.
        {"2026-03-31", {3, U::Days}, "2026-04-07", "3 dny od 31. 3. 2026 → 3. 4. 2026 (ostatní svátek) → 7. 4. 2026"},
        {"2026-04-01", {30, U::Days}, "2026-05-04", "30 dnů od 1. 4. 2026 → 1. 5. 2026 (ostatní svátek) → 4. 5. 2026"},
        {"2026-06-30", {1, U::Days}, "2026-07-01", "1 den od 30. 6. 2026 → 1. 7. 2026"},
        {"2026-03-26", {11, U::Days}, "2026-04-07", "11 dnů od 26. 3. 2026 → 6. 4. 2026 (ostatní svátek) → 7. 4. 2026"},
        {"2026-07-01", {5, U::Days}, "2026-07-07", "5 dnů od 1. 7. 2026 → 6. 7. 2026 (státní svátek) → 7. 7. 2026"},
        // Weeks end on the day of the same name.
        {"2026-04-28", {1, U::Weeks}, "2026-05-05", "1 týden od 28. 4. 2026 → 5. 5. 2026"},
        {"2026-12-16", {2, U::Weeks}, "2026-12-30", "2 týdny od 16. 12. 2026 → 30. 12. 2026"},
        // Months end on the day of the same number, or the last of a shorter month.
        {"2024-01-31", {1, U::Months}, "2024-02-29", "1 měsíc od 31. 1. 2024 → 29. 2. 2024"},
        {"2026-03-31", {1, U::Months}, "2026-04-30", "1 měsíc od 31. 3. 2026 → 30. 4. 2026"},
        {"2026-01-31", {1, U::Months}, "2026-03-02", "1 měsíc od 31. 1. 2026 → 28. 2. 2026 (sobota) → 2. 3. 2026"},
        {"2026-11-30", {3, U::Months}, "2027-03-01", "3 měsíce od 30. 11. 2026 → 28. 2. 2027 (neděle) → 1. 3. 2027"},
        {"2026-12-01", {1, U::Months}, "2027-01-04", "1 měsíc od 1. 12. 2026 → 1. 1. 2027 (státní svátek) → 4. 1. 2027"},
        {"2026-06-15", {6, U::Months}, "2026-12-15", "6 měsíců od 15. 6. 2026 → 15. 12. 2026"},
        // Years: a leap day ends on the last day of February.
        {"2024-02-29", {1, U::Years}, "2025-02-28", "1 rok od 29. 2. 2024 → 28. 2. 2025"},
        {"2025-10-28", {1, U::Years}, "2026-10-29", "1 rok od 28. 10. 2025 → 28. 10. 2026 (státní svátek) → 29. 10. 2026"},
        {"2021-03-15", {5, U::Years}, "2026-03-16", "5 let od 15. 3. 2021 → 15. 3. 2026 (neděle) → 16. 3. 2026"},
    };
    for (const Case& c : cases) {
        const Deadline deadline = deadlineFrom(day(c.event), c.period);
        EXPECT_EQ(deadline.end, day(c.end)) << c.explanation;
        EXPECT_EQ(deadline.explanation, QString::fromUtf8(c.explanation));
        EXPECT_TRUE(isWorkingDay(deadline.end)) << c.explanation;
    }
}

// The tenth day after the delivery into the box; a weekend or holiday is
// said, not decided.
TEST(Deadline, ADataBoxDeliveryIsDeemedOnTheTenthDay)
{
    struct Case {
        const char* delivered;
        const char* deemed;
        const char* note;
    };
    const Case cases[] = {
        {"2026-12-01", "2026-12-11", ""},
        {"2026-12-02", "2026-12-12", "připadá na sobotu"},
        {"2026-12-03", "2026-12-13", "připadá na neděli"},
        {"2026-12-14", "2026-12-24", "připadá na ostatní svátek"},
        {"2026-04-28", "2026-05-08", "připadá na státní svátek"},
        {"2026-02-19", "2026-03-01", "připadá na neděli"},
    };
    for (const Case& c : cases) {
        const DeemedDelivery deemed = deemedDeliveryFrom(day(c.delivered));
        EXPECT_EQ(deemed.date, day(c.deemed)) << c.delivered;
        EXPECT_EQ(deemed.note, QString::fromUtf8(c.note)) << c.delivered;
    }
}
