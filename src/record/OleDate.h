#pragma once

#include <QDate>
#include <QDateTime>
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

    // The calendar date and time of an OLE value, the time rounded to the
    // nearest second; a time that rounds up to midnight is the next day's.
    // The result carries no time zone (it is given as UTC).
    static std::optional<QDateTime> ToDateTime(double value);
    // The date and the time of day of ToDateTime.
    static std::optional<QDate> ToDate(double value);
    static std::optional<QTime> ToTime(double value);

    static constexpr double Minimum = -657434.0;     // 1 January 100
    static constexpr double Maximum = 2958465.99999; // 31 December 9999, 23:59:59
};
