#include "DateText.h"

#include "OleDate.h"

#include <cmath>

QString DateText::LongTimeFormat(const QLocale &locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString kept;
    bool quoted = false;
    for (const QChar ch : format) {
        if (ch == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && ch == QLatin1Char('t'))
            continue;
        kept.append(ch);
    }
    return kept.simplified();
}

QString DateText::ShortDate(const QDate &date, const QLocale &locale)
{
    return locale.toString(date, QLocale::ShortFormat);
}

QString DateText::LongTime(const QTime &time, const QLocale &locale)
{
    return locale.toString(time, LongTimeFormat(locale));
}

std::optional<QString> DateText::FromOle(double value, const QLocale &locale)
{
    const auto date = OleDate::ToDate(value);
    const auto time = OleDate::ToTime(value);
    if (!date || !time)
        return std::nullopt;
    const bool hasDays = std::trunc(value) != 0.0;
    const bool hasTime = value != std::trunc(value);
    if (hasDays && !hasTime)
        return ShortDate(*date, locale);
    if (!hasDays)
        return LongTime(*time, locale);
    return ShortDate(*date, locale) + QLatin1Char(' ') + LongTime(*time, locale);
}
