#pragma once

#include "record/TestResult.h"

#include <QObject>

#include <optional>

// The result being looked at, held by the frame: the test just stored, or
// the one chosen in the data window or the trend. Those are the only ways it
// is set, and always as a whole result; the results window, the printed
// report and the trend's selection only read it. A test going on is not a
// result until it is stored, so nothing shows live counts as one.
class CurrentResult : public QObject
{
    Q_OBJECT

public:
    explicit CurrentResult(QObject *parent = nullptr) : QObject(parent) {}

    // Nothing when no result is being looked at.
    const std::optional<TestResult> &Get() const { return m_result; }
    void Set(const std::optional<TestResult> &result);
    void Clear() { Set(std::nullopt); }

signals:
    void Changed(const std::optional<TestResult> &result);

private:
    std::optional<TestResult> m_result;
};
