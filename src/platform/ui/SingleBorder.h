#pragma once

class QFrame;

// A single visible line all round a framed label. A sunken panel is drawn
// dark along its top and left and in the light shade along its right and
// bottom, and that light shade is white under most styles, so on the white
// these boxes are filled with two of the sides vanished. Here the light
// shade is the dark one, so all four sides show the same line; being a
// shade of the frame, it keeps its colour when the text turns red or
// green with a verdict.
class SingleBorder
{
public:
    static void Apply(QFrame *frame);
};
