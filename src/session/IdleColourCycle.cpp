#include "IdleColourCycle.h"

void IdleColourCycle::Step(int &value, int &direction, int rising, int falling)
{
    value += direction == 0 ? rising : -falling;
    if (value > 250)
        direction = 1;
    if (value < 5)
        direction = 0;
}

QColor IdleColourCycle::Tick()
{
    Step(m_bgRed, m_redDir, 5, 1);
    Step(m_bgGreen, m_greenDir, 3, 3);
    Step(m_bgBlue, m_blueDir, 1, 5);
    return Colour();
}
