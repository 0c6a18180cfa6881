#pragma once

#include <QString>

#include <functional>

// The largest history a file can hold (32767 records) for the benchmarks
// that read a whole history. The tests vary, so no line repeats another:
// days, times of day and counts change from record to record; each record's
// name is the benchmark's choice, as it decides how the people share the
// file.
class FullHistory
{
public:
    static bool Write(const QString &path, const std::function<QString(int)> &nameOf);
};
