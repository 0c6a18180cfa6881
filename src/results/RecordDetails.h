#pragma once

#include "record/Evaluation.h"
#include "record/HistoryRecord.h"

#include <QLocale>
#include <QString>

#include <cstdint>

// What the data window shows of one stored test beside its list: the name
// as stored, the date and the time of day as the user's regional settings
// write them, the CMF value and both verdicts in their words and colours.
// Kept apart from the window so that every record, however damaged, can be
// checked for what it would put on the screen.
class RecordDetails
{
public:
    QString name;
    // Empty when the stored value is no date or time a calendar can show:
    // a blank field is better than one left over from another record.
    QString date;
    QString time;
    QString cmf;
    Evaluation::Look results;
    Evaluation::Look reliability;

    // The details of a record whose CMF has already been corrected; c1 and
    // c4 decide reliability.
    static RecordDetails Of(const HistoryRecord &record, std::int16_t c1, std::int16_t c4,
                            const QLocale &locale = QLocale());
};
