#include "ProgramCopy.h"

#include "Processes.h"
#include "StoredRecord.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

ProgramCopy::ProgramCopy(const QString &programPath) : m_dir(std::make_unique<QTemporaryDir>())
{
    if (!m_dir->isValid()) {
        m_error = QStringLiteral("no folder for the program: ") + m_dir->errorString();
        return;
    }
    if (!QFile::copy(programPath, Path()) ||
        !QFile::setPermissions(Path(), QFile::permissions(Path()) | QFileDevice::ExeOwner)) {
        m_error = QStringLiteral("cannot copy %1 into %2").arg(programPath, Folder());
        return;
    }
    // Clearing the history moves it into this folder and never makes it.
    if (!QDir(Folder()).mkdir(QStringLiteral("res")))
        m_error = QStringLiteral("cannot make the res folder in ") + Folder();
}

ProgramCopy::~ProgramCopy()
{
    Stop();
}

QString ProgramCopy::Folder() const
{
    return m_dir->path();
}

QString ProgramCopy::Path() const
{
    return m_dir->filePath(QStringLiteral("velmora"));
}

QString ProgramCopy::BackupPath() const
{
    return m_dir->filePath(QStringLiteral("res"));
}

QString ProgramCopy::HistoryPath() const
{
    return m_dir->filePath(QStringLiteral("restest.dat"));
}

QByteArray ProgramCopy::History() const
{
    QFile file(HistoryPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool ProgramCopy::Start(const QProcessEnvironment &environment, std::function<void()> inChild)
{
    m_process.setProcessEnvironment(environment);
    m_process.setWorkingDirectory(Folder());
    Processes::DieWithParent(m_process, std::move(inChild));
    m_process.start(Path(), {});
    return m_process.waitForStarted(10000);
}

void ProgramCopy::Stop()
{
    Processes::Stop(m_process);
}

QString ProgramCopy::Output()
{
    return QString::fromLocal8Bit(m_process.readAllStandardOutput() +
                                  m_process.readAllStandardError());
}

bool ProgramCopy::WaitForRecords(int records, int timeoutMs) const
{
    QElapsedTimer waited;
    waited.start();
    const qint64 size = qint64(records) * StoredRecord::Length;
    while (QFileInfo(HistoryPath()).size() < size && waited.elapsed() < timeoutMs)
        QThread::msleep(100);
    return QFileInfo(HistoryPath()).size() >= size;
}
