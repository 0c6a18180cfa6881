#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

#include <memory>
#include <optional>

// A new content for a whole file, put in its place in one step: it is
// written beside the file and renamed over it only when complete, so any
// failure on the way (a full disk, a read error of the source) leaves the
// old file whole. Where the folder takes no new file but the file itself
// may be written, it is written in place, its old bytes kept to put back.
// The new file has the old one's mode and group, or a new file's mode.
// Only a regular file (or a new name) is replaced: a FIFO is neither
// waited on nor replaced.
class FileReplacement
{
public:
    explicit FileReplacement(const QString &target);
    ~FileReplacement();
    FileReplacement(const FileReplacement &) = delete;
    FileReplacement &operator=(const FileReplacement &) = delete;

    bool Open();
    // A failed write fails the whole replacement.
    bool Write(const QByteArray &bytes);
    // The same writes as a device, for a writer that writes by itself (a
    // PDF writer). Such a writer may stop at a write that was cut short
    // without a word, so the device reports it as failed and it fails the
    // whole replacement just the same.
    QIODevice &Device();
    // Gives up: the target stays as it was.
    void Cancel();
    // Puts the new content in place; false, with the target as it was,
    // when anything went wrong since Open.
    bool Commit();

private:
    QString m_target;
    QSaveFile m_file;
    std::unique_ptr<QIODevice> m_device;
    std::optional<QByteArray> m_old;
    bool m_failed = false;
};
