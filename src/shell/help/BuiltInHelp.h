#pragma once

#include "platform/ui/HelpViewer.h"

#include <QPointer>
#include <QUrl>

#include <optional>

class HelpWindow;

// The help a person actually sees. The program's help files are named
// without a directory; the names resolve to help pages shipped inside the
// program and shown in a help window, one window for the whole program.
class BuiltInHelp : public HelpViewer
{
public:
    BuiltInHelp() = default;
    ~BuiltInHelp() override;
    BuiltInHelp(const BuiltInHelp &) = delete;
    BuiltInHelp &operator=(const BuiltInHelp &) = delete;

    void ShowHelp(const QString &file, int topic) override;

    // The built-in help's page of that name (with its fragment, if any) in
    // the language the program speaks, the English one where it has none.
    static QUrl Page(const QString &page);

    // The page of the built-in help that stands for a topic of a help
    // file, or nothing for a file the program does not have. A topic
    // without a page of its own shows the contents.
    static std::optional<QUrl> PageFor(const QString &file, int topic);

    // The help window once help has been shown, until it is closed.
    HelpWindow *Window() const;

private:
    QPointer<HelpWindow> m_window;
};
