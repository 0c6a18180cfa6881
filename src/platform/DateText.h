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
// Where the user's short date is wider than DateWidth (2023. 03. 15.,
// 15.03.23 г., the 10 Dec 2002 of a system without regional settings) the
// date is written 2002-12-07, and where the time is wider than TimeWidth it
// is written 14:30:00: the history's columns are that wide, and a healthy
// history must never read as a damaged one.
class DateText
{
public:
    // The widths of the history's date and time columns.
    static constexpr int DateWidth = 10;
    static constexpr int TimeWidth = 12;

    // Nothing when the value is no date a calendar can show.
    static std::optional<QString> FromOle(double value, const QLocale &locale = QLocale());

    static QString ShortDate(const QDate &date, const QLocale &locale = QLocale());
    // The locale's long time format without any time-zone field.
    static QString LongTimeFormat(const QLocale &locale = QLocale());

    // Writes many values in one locale exactly as FromOle does, but reads
    // the locale's forms once and writes each day's date only once in a
    // row: a long history would otherwise spend most of its listing time
    // asking the locale the same questions.
    class Writer
    {
    public:
        explicit Writer(const QLocale &locale = QLocale());
        std::optional<QString> FromOle(double value);
        QString Date(const QDate &date);

    private:
        QString Time(const QTime &time);
        void ChooseForms();

        QLocale m_locale;
        bool m_chosen = false;
        bool m_localDate = true;
        // The locale's time format; empty where 14:30:00 is written instead.
        QString m_timeFormat;
        QDate m_lastDate;
        QString m_lastDateText;
    };
};
