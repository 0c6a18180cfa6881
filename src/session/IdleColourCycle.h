#pragma once

#include <QColor>

// The slowly changing background of the diagram area while no test runs.
// Each of red, green and blue climbs and falls between about 5 and 250 at
// its own pace, so the colour wanders without ever repeating quickly. The
// cycle carries on from where it stopped and starts afresh only with a newly
// loaded test window.
class IdleColourCycle
{
public:
    // One step of the cycle; returns the new colour.
    QColor Tick();
    QColor Colour() const { return QColor(m_bgRed, m_bgGreen, m_bgBlue); }

private:
    static void Step(int &value, int &direction, int rising, int falling);

    int m_bgRed = 0;
    int m_bgGreen = 0;
    int m_bgBlue = 250;
    int m_redDir = 0; // 0 rising, 1 falling
    int m_greenDir = 0;
    int m_blueDir = 1;
};
