#include "BuiltInHelp.h"

#include "HelpWindow.h"

#include "platform/HelpTopic.h"
#include "shell/QtTranslations.h"

#include <QFile>
#include <QFileInfo>

BuiltInHelp::~BuiltInHelp()
{
    delete m_window;
}

HelpWindow *BuiltInHelp::Window() const
{
    return m_window;
}

QUrl BuiltInHelp::Page(const QString &page)
{
    // The pages of a language sit in a folder of their own with the same
    // names, so the links between them stay inside that language.
    const QString language = QtTranslations::ProgramLanguage();
    const QString translated =
        QStringLiteral("/help/%1/%2").arg(language, page.section(u'#', 0, 0));
    if (!language.isEmpty() && QFile::exists(u':' + translated))
        return QUrl(QStringLiteral("qrc:/help/%1/%2").arg(language, page));
    return QUrl(QStringLiteral("qrc:/help/") + page);
}

std::optional<QUrl> BuiltInHelp::PageFor(const QString &file, int topic)
{
    // Help file names are matched as Windows matches file names.
    const QString name = QFileInfo(file).fileName();
    if (name.compare(OldStyleFile(), Qt::CaseInsensitive) == 0) {
        // Only the question before clearing the history names the old-style
        // file, so its help is the part about clearing, whatever the topic.
        return Page(QStringLiteral("topic104.html#clearing"));
    }
    if (name.compare(ApplicationFile(), Qt::CaseInsensitive) != 0)
        return std::nullopt;
    // Each topic's page is named after its number.
    switch (topic) {
    case HelpTopic::Test:
    case HelpTopic::Data:
    case HelpTopic::Trend:
        return Page(QStringLiteral("topic%1.html").arg(topic));
    default:
        return Page(QStringLiteral("contents.html"));
    }
}

void BuiltInHelp::ShowHelp(const QString &file, int topic)
{
    const auto page = PageFor(file, topic);
    if (!page)
        return;
    if (m_window == nullptr) {
        m_window = new HelpWindow;
        m_window->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_window->ShowPage(*page);
}
