#pragma once

#include "HelpViewer.h"

#include <QList>

// A HelpViewer that shows nothing and keeps every request instead. It is
// the layer's default until the program installs its viewer, so a test
// never opens a help window by accident, and it is what tests read.
class HelpRequests : public HelpViewer
{
public:
    struct Request
    {
        QString file;
        int topic = Contents;
        friend bool operator==(const Request &, const Request &) = default;
    };

    void ShowHelp(const QString &file, int topic) override { m_log.append({file, topic}); }

    const QList<Request> &Log() const { return m_log; }
    void Clear() { m_log.clear(); }

private:
    QList<Request> m_log;
};
