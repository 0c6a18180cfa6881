#pragma once

// Rounding to the nearest whole number with halves going to the even
// neighbour (2.5 to 2, 3.5 to 4), the way the program has always converted
// a reading to a whole number: the start second of a run, the CMF
// percentage and the record count of a history file all depend on it.
class HalfEven
{
public:
    static double Round(double value);
};
