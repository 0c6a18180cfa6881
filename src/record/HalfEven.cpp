#include "HalfEven.h"

#include <cmath>

double HalfEven::Round(double value)
{
    const double below = std::floor(value);
    const double rest = value - below;
    if (rest > 0.5)
        return below + 1.0;
    if (rest < 0.5)
        return below;
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}
