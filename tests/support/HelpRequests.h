#pragma once

#include "platform/ui/HelpViewer.h"

#include <QList>

// A HelpViewer that shows nothing and keeps every request instead, so a
// test never opens a help window by accident and can read what would have
// been opened.
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
