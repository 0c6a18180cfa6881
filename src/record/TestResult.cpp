#include "TestResult.h"

TestResult TestResult::Of(const HistoryRecord &record, const QString &historyPath, qint64 recNo)
{
    TestResult result;
    result.record = record;
    result.record.RecCMF =
        Evaluation::CorrectStoredCmf(record.RecCMF, Evaluation::StoredCmf::NegativeAndCap);
    result.results = Evaluation::ResultsVerdict(result.Cmf());
    result.reliability = Evaluation::ReliabilityVerdict(result.c1(), result.c4(), result.Cmf());
    result.historyPath = historyPath;
    result.recNo = recNo;
    return result;
}
