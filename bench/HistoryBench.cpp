// Speed of the history record format: one record through encode and decode,
// and a walk over a file at the 32767-record limit.
#include "history/HistoryStore.h"
#include "record/OleDate.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

HistoryRecord sample()
{
    HistoryRecord record;
    record.SetName(QStringLiteral("Иванова Мария"));
    record.RecDate = OleDate::FromDate(QDate(2002, 12, 7));
    record.RecTime = OleDate::FromTime(QTime(14, 30));
    record.RecCMF = 12;
    record.RecCounts = {40, 38, 36, 35};
    return record;
}

void EncodeDecode(benchmark::State &state)
{
    const HistoryRecord record = sample();
    for (auto _ : state) {
        const QByteArray bytes = record.Encode();
        auto decoded = HistoryRecord::Decode(bytes.constData(), bytes.size());
        benchmark::DoNotOptimize(decoded);
    }
}
BENCHMARK(EncodeDecode);

void EnumerateFullFile(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("restest.dat"));
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        const QByteArray bytes = sample().Encode();
        QByteArray all;
        all.reserve(HistoryStore::MaxRecords * bytes.size());
        for (qint64 i = 0; i < HistoryStore::MaxRecords; ++i)
            all.append(bytes);
        file.write(all);
    }
    for (auto _ : state) {
        qint64 total = 0;
        const bool ok = HistoryStore::ReadRecords(path, [&](const HistoryRecord &record) {
            total += record.RecCounts[0];
            return true;
        });
        if (!ok || total != 40 * HistoryStore::MaxRecords)
            state.SkipWithError("enumeration failed");
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * HistoryStore::MaxRecords);
}
BENCHMARK(EnumerateFullFile)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
