#include "RecordReader.h"

#include "HistoryFile.h"

std::optional<HistoryRecord> RecordReader::Read(const QString &path, qint64 recNo)
{
    HistoryFile file(path);
    if (!file.Open())
        return std::nullopt;
    return file.Read(recNo);
}
