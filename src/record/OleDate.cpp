#include "OleDate.h"

#include <cmath>

namespace {

const QDate &epoch()
{
    static const QDate day0(1899, 12, 30);
    return day0;
}

bool representable(double value)
{
    return std::isfinite(value) && value >= OleDate::Minimum && value < OleDate::Maximum + 1e-5;
}

} // namespace

double OleDate::FromDate(const QDate &date)
{
    return static_cast<double>(epoch().daysTo(date));
}

double OleDate::FromTime(const QTime &time)
{
    const int seconds = time.hour() * 3600 + time.minute() * 60 + time.second();
    return seconds / 86400.0;
}

std::optional<QDateTime> OleDate::ToDateTime(double value)
{
    if (!representable(value))
        return std::nullopt;
    // Before day 0 the whole part still counts days and the fraction is
    // the time of day, so the date is the value cut towards zero. A time
    // that rounds up to midnight belongs to the next day, as other writers
    // of these files may store times a hair short of a whole day.
    const double whole = std::trunc(value);
    const auto days = static_cast<qint64>(whole);
    const auto seconds = static_cast<int>(std::lround(std::fabs(value - whole) * 86400.0));
    const QDate date = epoch().addDays(days + seconds / 86400);
    if (date.year() > 9999)
        return std::nullopt;
    return QDateTime(date, QTime(0, 0).addSecs(seconds % 86400), Qt::UTC);
}

std::optional<QDate> OleDate::ToDate(double value)
{
    const auto both = ToDateTime(value);
    return both ? std::optional<QDate>(both->date()) : std::nullopt;
}

std::optional<QTime> OleDate::ToTime(double value)
{
    const auto both = ToDateTime(value);
    return both ? std::optional<QTime>(both->time()) : std::nullopt;
}
