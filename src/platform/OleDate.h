#pragma once

#include <QDate>
#include <QTime>

#include <optional>

// Dates and times of the history file use the OLE Automation convention:
// whole days since 30 December 1899 and the fraction of a day since
// midnight. Stored files can hold anything, so conversions back to a
// calendar date refuse values no calendar can show (NaN, infinities, years
// outside 100 to 9999) instead of overflowing.
class OleDate
{
public:
    static double FromDate(const QDate &date);
    // The fraction of a day to the whole second; milliseconds are dropped.
    static double FromTime(const QTime &time);

    // The date part of an OLE value (its whole days).
    static std::optional<QDate> ToDate(double value);
    // The time-of-day part of an OLE value, rounded to the nearest second.
    static std::optional<QTime> ToTime(double value);

    static constexpr double Minimum = -657434.0;     // 1 January 100
    static constexpr double Maximum = 2958465.99999; // 31 December 9999, 23:59:59
};
