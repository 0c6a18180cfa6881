#include "BuiltInHelp.h"

#include "HelpWindow.h"

#include <QFileInfo>

#ifdef Q_OS_WIN
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QWidget>

#include <qt_windows.h>

#include <htmlhelp.h>
#endif

BuiltInHelp::~BuiltInHelp()
{
    delete m_window;
}

HelpWindow *BuiltInHelp::Window() const
{
    return m_window;
}

std::optional<QUrl> BuiltInHelp::PageFor(const QString &file, int topic)
{
    // Help file names are matched as Windows matches file names.
    const QString name = QFileInfo(file).fileName();
    if (name.compare(ApplicationFile(), Qt::CaseInsensitive) != 0 &&
        name.compare(OldStyleFile(), Qt::CaseInsensitive) != 0)
        return std::nullopt;
    switch (topic) {
    case 103:
        return QUrl(QStringLiteral("qrc:/help/topic103.html"));
    case 104:
        return QUrl(QStringLiteral("qrc:/help/topic104.html"));
    case 105:
        return QUrl(QStringLiteral("qrc:/help/topic105.html"));
    default:
        return QUrl(QStringLiteral("qrc:/help/contents.html"));
    }
}

void BuiltInHelp::ShowHelp(const QString &file, int topic)
{
    if (ShowSystemHelp(file, topic))
        return;
    const auto page = PageFor(file, topic);
    if (!page)
        return;
    if (m_window == nullptr) {
        m_window = new HelpWindow;
        m_window->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_window->ShowPage(*page);
}

#ifdef Q_OS_WIN

bool BuiltInHelp::ShowSystemHelp(const QString &file, int topic)
{
    const QString path =
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + QLatin1Char('/') + file);
    if (!QFileInfo::exists(path))
        return false;
    QWidget *active = QApplication::activeWindow();
    const HWND owner = active != nullptr ? reinterpret_cast<HWND>(active->winId()) : nullptr;
    const std::wstring wide = path.toStdWString();
    if (QFileInfo(file).suffix().compare(QStringLiteral("hlp"), Qt::CaseInsensitive) == 0)
        return WinHelpW(owner, wide.c_str(), topic != Contents ? HELP_CONTEXT : HELP_FINDER,
                        static_cast<ULONG_PTR>(topic)) != FALSE;
    if (topic != Contents)
        return HtmlHelpW(owner, wide.c_str(), HH_HELP_CONTEXT, static_cast<DWORD_PTR>(topic)) !=
               nullptr;
    return HtmlHelpW(owner, wide.c_str(), HH_DISPLAY_TOC, 0) != nullptr;
}

#else

bool BuiltInHelp::ShowSystemHelp(const QString & /*file*/, int /*topic*/)
{
    return false;
}

#endif
