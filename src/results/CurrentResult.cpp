#include "CurrentResult.h"

void CurrentResult::Set(const std::optional<TestResult> &result)
{
    // Choosing the result already shown is no change: the views that follow
    // it would only choose it again.
    if (result == m_result)
        return;
    m_result = result;
    emit Changed(m_result);
}
