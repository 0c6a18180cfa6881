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

std::optional<QDate> OleDate::ToDate(double value)
{
    if (!representable(value))
        return std::nullopt;
    // Before day 0 the whole part still counts days and the fraction is
    // the time of day, so the date is the value cut towards zero.
    const auto days = static_cast<qint64>(std::trunc(value));
    return epoch().addDays(days);
}

std::optional<QTime> OleDate::ToTime(double value)
{
    if (!representable(value))
        return std::nullopt;
    const double fraction = std::fabs(value - std::trunc(value));
    auto seconds = static_cast<int>(std::lround(fraction * 86400.0));
    if (seconds >= 86400)
        seconds = 0;
    return QTime(0, 0).addSecs(seconds);
}
