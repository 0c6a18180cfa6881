#include "DateText.h"

#include "record/OleDate.h"

#include <algorithm>
#include <cmath>

namespace {

const QString IsoDate = QStringLiteral("yyyy-MM-dd");
const QString IsoTime = QStringLiteral("HH:mm:ss");

} // namespace

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
    return Writer(locale).Date(date);
}

std::optional<QString> DateText::FromOle(double value, const QLocale &locale)
{
    return Writer(locale).FromOle(value);
}

DateText::Writer::Writer(const QLocale &locale) : m_locale(locale) {}

void DateText::Writer::ChooseForms()
{
    m_chosen = true;
    // The widest a form gets: two-digit days, months and hours, every
    // month's name and every weekday's (the 28th of 2000 falls on each).
    qsizetype widestDate = 0;
    for (int month = 1; month <= 12; ++month) {
        widestDate = std::max(
            widestDate, m_locale.toString(QDate(2000, month, 28), QLocale::ShortFormat).size());
    }
    m_localDate = widestDate <= DateWidth;
    const QString timeFormat = LongTimeFormat(m_locale);
    qsizetype widestTime = 0;
    for (const QTime &time : {QTime(11, 59, 59), QTime(23, 59, 59)})
        widestTime = std::max(widestTime, m_locale.toString(time, timeFormat).size());
    m_timeFormat = widestTime <= TimeWidth ? timeFormat : QString();
}

QString DateText::Writer::Date(const QDate &date)
{
    if (!m_chosen)
        ChooseForms();
    if (date != m_lastDate || !m_lastDate.isValid()) {
        m_lastDate = date;
        m_lastDateText =
            m_localDate ? m_locale.toString(date, QLocale::ShortFormat) : date.toString(IsoDate);
    }
    return m_lastDateText;
}

QString DateText::Writer::Time(const QTime &time)
{
    if (!m_chosen)
        ChooseForms();
    return m_timeFormat.isEmpty() ? time.toString(IsoTime) : m_locale.toString(time, m_timeFormat);
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
