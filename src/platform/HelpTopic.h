#pragma once

// The topics of the program's help, by their numbers in the help file: each
// window or dialog that carries one names it here, and so does the help
// viewer that opens the page for it.
namespace HelpTopic {

enum Topic : int {
    // The help file's contents, for whatever carries no topic of its own.
    Contents = 0,
    // The test and its results: the test window, the name prompt, the
    // results window and the question before the history is cleared.
    Test = 103,
    Data = 104,
    Trend = 105,
};

} // namespace HelpTopic
