#pragma once

#include "platform/HelpTopic.h"

#include <QString>

// Opens the program's help: a help file named without a directory, at a
// numeric topic or at its contents. The program shows the help to a
// person; tests install a HelpRequests and read back what would have been
// opened.
class HelpViewer
{
public:
    // The topic that stands for the help file's contents page.
    static constexpr int Contents = HelpTopic::Contents;

    virtual ~HelpViewer() = default;
    virtual void ShowHelp(const QString &file, int topic) = 0;

    // The application's help file, opened by every F1 request.
    static QString ApplicationFile() { return QStringLiteral("Velm2.chm"); }
    // The help file in the older format, which one confirmation names.
    static QString OldStyleFile() { return QStringLiteral("Velm.hlp"); }
};
