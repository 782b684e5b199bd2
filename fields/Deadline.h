#pragma once

#include <QDate>
#include <QString>

namespace vorlin::fields {

// A length of time as procedural law counts it.
enum class PeriodUnit { Days, Weeks, Months, Years };
struct Period {
    int length = 0;
    PeriodUnit unit = PeriodUnit::Days;
};

// "1 den", "3 dny", "15 dnů", "2 týdny", "1 měsíc", "5 let": as the period
// is written after "ve lhůtě" or before "od".
QString periodText(Period period);

// The end of a period that runs from an event, by the rules of Czech
// procedure: a period in days starts on the day after the event and ends
// with its last day; one in weeks, months or years ends on the day that by
// its name or number matches the event's, or on the last day of a shorter
// month; an end on a Saturday, a Sunday or a public holiday moves to the
// next working day.
struct Deadline {
    QDate counted;  // where the counting ends
    QDate end;      // the last day to act
    // How it was reached, for a lawyer to check: "15 dnů od 3. 12. 2026 →
    // 18. 12. 2026", with the move when there was one ("… → 19. 12. 2026
    // (sobota) → 21. 12. 2026").
    QString explanation;
};
Deadline deadlineFrom(const QDate& event, Period period);

// A document delivered into a data box and not read there is deemed
// delivered on the tenth day after. Where that day is no working day, the
// courts have read it both ways: the note says so and nothing is moved.
struct DeemedDelivery {
    QDate date;
    QString note;  // "připadá na sobotu", or empty
};
DeemedDelivery deemedDeliveryFrom(const QDate& deliveredIntoBox);

}  // namespace vorlin::fields
