#include "CommonDialog.h"

#include "platform/Platform.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

bool CommonDialog::ShowOpen()
{
    return Show(Dialogs::FileRequest::Kind::Open);
}

bool CommonDialog::ShowSave()
{
    return Show(Dialogs::FileRequest::Kind::Save);
}

bool CommonDialog::Show(Dialogs::FileRequest::Kind kind)
{
    Dialogs::FileRequest request;
    request.kind = kind;
    request.filter = m_filter;
    request.defaultExt = m_defaultExt;
    request.fileName = m_fileName;
    request.filterIndex = m_filterIndex;
    request.flags = m_flags;
    request.initDir = m_initDir;
    request.entrySettings = m_entrySettings;
    const auto chosen = Platform::GetDialogs().FileDialog(request);
    if (!chosen || chosen->path.isEmpty())
        return false;
    const int entry = ChosenEntry(request, chosen->filterIndex, chosen->path);
    m_fileName = WithDefaultExt(chosen->path, DefaultExtOf(request, entry));
    m_chosenFilterIndex = entry;
    return true;
}

bool CommonDialog::ShowPrinter(QPrinter &printer)
{
    Dialogs::PrinterRequest request;
    request.initDir = m_initDir;
    return Platform::GetDialogs().PrinterDialog(printer, request);
}

void CommonDialog::SetEntrySettings(int filterIndex, const QString &defaultExt, int flags)
{
    m_entrySettings.removeIf([filterIndex](const Dialogs::FileRequest::EntrySettings &settings) {
        return settings.index == filterIndex;
    });
    m_entrySettings.append({filterIndex, defaultExt, flags});
}

namespace {

const Dialogs::FileRequest::EntrySettings *settingsOf(const Dialogs::FileRequest &request,
                                                      int entry)
{
    for (const auto &settings : request.entrySettings) {
        if (settings.index == entry)
            return &settings;
    }
    return nullptr;
}

bool matches(const QString &patterns, const QString &fileName)
{
    for (const QString &pattern : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const auto wildcard =
            QRegularExpression::fromWildcard(pattern.trimmed(), Qt::CaseInsensitive);
        if (wildcard.match(fileName).hasMatch())
            return true;
    }
    return false;
}

} // namespace

int CommonDialog::ChosenEntry(const Dialogs::FileRequest &request, int selected,
                              const QString &name)
{
    const QList<FilterEntry> entries = FilterEntries(request.filter);
    const QString fileName = QFileInfo(name).fileName();
    for (const auto &settings : request.entrySettings) {
        if (settings.index != selected && settings.index >= 1 && settings.index <= entries.size() &&
            matches(entries.at(settings.index - 1).pattern, fileName))
            return settings.index;
    }
    return selected;
}

QString CommonDialog::DefaultExtOf(const Dialogs::FileRequest &request, int entry)
{
    const auto *settings = settingsOf(request, entry);
    return settings != nullptr ? settings->defaultExt : request.defaultExt;
}

int CommonDialog::FlagsOf(const Dialogs::FileRequest &request, int entry)
{
    const auto *settings = settingsOf(request, entry);
    return request.flags | (settings != nullptr ? settings->flags : 0);
}

QList<CommonDialog::FilterEntry> CommonDialog::FilterEntries(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QList<FilterEntry> entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        entries.append({parts.at(i), parts.at(i + 1).trimmed()});
    return entries;
}

QString CommonDialog::WithDefaultExt(const QString &name, const QString &extension)
{
    if (extension.isEmpty() || QFileInfo(name).fileName().contains(QLatin1Char('.')))
        return name;
    return name + QLatin1Char('.') + extension;
}
