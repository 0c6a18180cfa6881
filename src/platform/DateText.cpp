#include "DateText.h"

#include "record/OleDate.h"

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
    // With no regional settings at all (the C or POSIX locale) Qt writes
    // "10 Dec 2002", wider than any date column; the numeric ISO form is
    // what such a system means by a plain date.
    if (locale.language() == QLocale::C)
        return date.toString(Qt::ISODate);
    return locale.toString(date, QLocale::ShortFormat);
}

std::optional<QString> DateText::FromOle(double value, const QLocale &locale)
{
    return Writer(locale).FromOle(value);
}

DateText::Writer::Writer(const QLocale &locale) : m_locale(locale) {}

QString DateText::Writer::Date(const QDate &date)
{
    if (date != m_lastDate || !m_lastDate.isValid()) {
        m_lastDate = date;
        m_lastDateText = ShortDate(date, m_locale);
    }
    return m_lastDateText;
}

QString DateText::Writer::Time(const QTime &time)
{
    if (!m_timeFormat)
        m_timeFormat = LongTimeFormat(m_locale);
    return m_locale.toString(time, *m_timeFormat);
}

std::optional<QString> DateText::Writer::FromOle(double value)
{
    const auto date = OleDate::ToDate(value);
    const auto time = OleDate::ToTime(value);
    if (!date || !time)
        return std::nullopt;
    const bool hasDays = std::trunc(value) != 0.0;
    const bool hasTime = value != std::trunc(value);
    if (hasDays && !hasTime)
        return Date(*date);
    if (!hasDays)
        return Time(*time);
    return Date(*date) + QLatin1Char(' ') + Time(*time);
}
