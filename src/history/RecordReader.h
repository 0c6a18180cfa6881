#pragma once

#include "record/HistoryRecord.h"

#include <QString>

#include <optional>

// Reads one stored test by its record number, as the data window does for
// the selected line. The file is opened (created empty when missing) and
// closed again within the call.
class RecordReader
{
public:
    // Nothing when the file cannot be opened or holds no whole record recNo
    // (a number below 1, or a file replaced or emptied while the list still
    // shows its older lines).
    static std::optional<HistoryRecord> Read(const QString &path, qint64 recNo);
};
