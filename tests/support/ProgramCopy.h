#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>

#include <functional>
#include <memory>

class QTemporaryDir;

// A copy of the program in a fresh folder of its own, with the empty "res"
// folder beside it, as an installation has it. The program keeps its
// history beside itself, so each copy starts from no history (or from the
// one a test puts there) and a test reads back exactly what it stored.
class ProgramCopy
{
public:
    // Copies the program at programPath; Error() says whether that worked.
    explicit ProgramCopy(const QString &programPath);
    ~ProgramCopy();
    ProgramCopy(const ProgramCopy &) = delete;
    ProgramCopy &operator=(const ProgramCopy &) = delete;

    // Empty when the copy is ready, else what went wrong.
    QString Error() const { return m_error; }

    QString Folder() const;
    QString Path() const;
    QString BackupPath() const;
    QString HistoryPath() const;
    QByteArray History() const;

    // Starts the copy with this environment and its folder as working
    // folder; inChild runs in the child before the program (for example to
    // change its user). False when it did not start.
    bool Start(const QProcessEnvironment &environment, std::function<void()> inChild = {});
    void Stop();
    bool IsRunning() const { return m_process.state() == QProcess::Running; }
    qint64 ProcessId() const { return m_process.processId(); }
    // What the program wrote to its output and error output so far.
    QString Output();
    // Waits until the history holds this many records; false when it did
    // not within timeoutMs.
    bool WaitForRecords(int records, int timeoutMs = RecordTimeoutMs) const;

    static constexpr int RecordTimeoutMs = 15000;

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QProcess m_process;
    QString m_error;
};
