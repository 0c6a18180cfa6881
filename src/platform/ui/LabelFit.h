#pragma once

class QFont;
class QLabel;

// Labels placed at the sizes the English words were designed for, holding
// the longer words of another language: a caption may grow into the room
// beside it, and a word still too wide is drawn in a smaller size of the
// same font rather than cut off. A text that fits changes nothing, so the
// English windows look as they always did.
class LabelFit
{
public:
    // Widens the label up to widest pixels where its text needs more than
    // its width.
    static void Widen(QLabel *label, int widest);
    // Gives the label the designed font, smaller where its text does not
    // fit its width.
    static void Shrink(QLabel *label, const QFont &designed);

    static constexpr double SmallestPoints = 6.0;
};
