#include "CommonDialog.h"

#include "Platform.h"

#include <QFileInfo>
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
    const auto chosen = Platform::GetDialogs().FileDialog(request);
    if (!chosen || chosen->isEmpty())
        return false;
    m_fileName = WithDefaultExt(*chosen, m_defaultExt);
    return true;
}

bool CommonDialog::ShowPrinter(QPrinter &printer)
{
    return Platform::GetDialogs().PrinterDialog(printer);
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
