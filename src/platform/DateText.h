#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

#include <optional>

// The date and time of a record as text, the way the user's regional
// settings write them: a whole-day value gives the short date (07.12.2002),
// a value without whole days the time of day with seconds (14:30:00), and a
// value with both the date, a blank and the time. Qt's long time forms end
// in a time-zone name that the stored times never had, so it is left out.
// A system without regional settings (the C locale) writes 2002-12-07.
class DateText
{
public:
    // Nothing when the value is no date a calendar can show.
    static std::optional<QString> FromOle(double value, const QLocale &locale = QLocale());

    static QString ShortDate(const QDate &date, const QLocale &locale = QLocale());
    // The locale's long time format without any time-zone field.
    static QString LongTimeFormat(const QLocale &locale = QLocale());

    // Writes many values in one locale exactly as FromOle does, but reads
    // the locale's time form once and writes each day's date only once in
    // a row: a long history would otherwise spend most of its listing time
    // asking the locale the same questions.
    class Writer
    {
    public:
        explicit Writer(const QLocale &locale = QLocale());
        std::optional<QString> FromOle(double value);

    private:
        QString Date(const QDate &date);
        QString Time(const QTime &time);

        QLocale m_locale;
        std::optional<QString> m_timeFormat;
        QDate m_lastDate;
        QString m_lastDateText;
    };
};
