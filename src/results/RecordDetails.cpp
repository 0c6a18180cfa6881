#include "RecordDetails.h"

#include "platform/DateText.h"

RecordDetails RecordDetails::Of(const HistoryRecord &record, std::int16_t c1, std::int16_t c4,
                                const QLocale &locale)
{
    using Display = Evaluation::Display;
    RecordDetails details;
    details.name = record.RecName;
    details.date = DateText::FromOle(record.RecDate, locale).value_or(QString());
    details.time = DateText::FromOle(record.RecTime, locale).value_or(QString());
    details.cmf = QString::number(record.RecCMF);
    details.results =
        Evaluation::Present(Evaluation::ResultsVerdict(record.RecCMF), Display::RecordDetails);
    details.reliability = Evaluation::Present(Evaluation::ReliabilityVerdict(c1, c4, record.RecCMF),
                                              Display::RecordDetails);
    return details;
}
