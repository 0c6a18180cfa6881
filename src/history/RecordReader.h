#pragma once

#include <QtGlobal>

// Reads one stored test by its record number into the session, as the data
// window does for the selected line: the record becomes CurrentRecord and
// its counts Counts(1..4), so the results window shows it next. The file
// is opened (created empty when missing) and closed again within the call.
class RecordReader
{
public:
    // False, with the session untouched, when the file cannot be opened or
    // holds no whole record recNo (a number below 1, or a file replaced or
    // emptied while the list still shows its older lines).
    static bool Read(qint64 recNo);
};
