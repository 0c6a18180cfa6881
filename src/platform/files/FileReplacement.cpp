#include "FileReplacement.h"

#include "FileMode.h"
#include "RegularFile.h"

#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace {

// A target that has to be written in place, because its folder takes no
// new file beside it, is kept in memory first: a write that fails part-way
// then puts the old bytes back rather than leave half of each.
std::optional<QByteArray> keepWhenWrittenInPlace(const QString &target)
{
    constexpr qint64 MostKept = qint64(64) << 20;
    const QFileInfo existing(target);
    if (!existing.exists() ||
        ::access(QFile::encodeName(existing.canonicalPath()).constData(), W_OK) == 0 ||
        existing.size() > MostKept)
        return std::nullopt;
    QFile old;
    if (!RegularFile::OpenForReading(old, target))
        return std::nullopt;
    QByteArray bytes = old.readAll();
    if (old.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

// A device whose every write goes through FileReplacement::Write, which
// notes one that is cut short.
class ReplacementDevice : public QIODevice
{
public:
    explicit ReplacementDevice(FileReplacement &file) : m_file(file)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }

protected:
    qint64 readData(char * /*data*/, qint64 /*size*/) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        return m_file.Write(QByteArray::fromRawData(data, qsizetype(size))) ? size : -1;
    }

private:
    FileReplacement &m_file;
};

void putBack(const QString &target, const QByteArray &bytes)
{
    QFile file(target);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered,
                  FileMode::CreatedPermissions()))
        file.write(bytes);
}

} // namespace

FileReplacement::FileReplacement(const QString &target) : m_target(target), m_file(target) {}

FileReplacement::~FileReplacement()
{
    // Left open, QSaveFile would remove its file on destruction, which is
    // the target itself when it writes in place.
    if (m_file.isOpen()) {
        Cancel();
        Commit();
    }
}

bool FileReplacement::Open()
{
    if (!RegularFile::IsRegularOrNew(m_target))
        return false;
    m_old = keepWhenWrittenInPlace(m_target);
    m_failed = false;
    // Unbuffered, so a disk that fills up fails the write that meets it: a
    // buffered write only fails at the final flush, which the commit does
    // not notice, and a cut-off file would replace the target.
    m_file.setDirectWriteFallback(true);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    // The new file is made with the widest mode Qt knows; it takes the
    // target's before a byte is written into it.
    if (!FileMode::TakeOver(m_file.handle(), m_target)) {
        Cancel();
        Commit();
        return false;
    }
    return true;
}

bool FileReplacement::Write(const QByteArray &bytes)
{
    if (!m_failed && m_file.write(bytes) != bytes.size())
        m_failed = true;
    return !m_failed;
}

QIODevice &FileReplacement::Device()
{
    if (!m_device)
        m_device = std::make_unique<ReplacementDevice>(*this);
    return *m_device;
}

void FileReplacement::Cancel()
{
    m_failed = true;
}

bool FileReplacement::Commit()
{
    if (!m_file.isOpen())
        return false;
    if (m_failed)
        m_file.cancelWriting();
    // Written in place, the file is only closed by the commit, which then
    // reports no failure of its own: the writes' own record decides.
    if (m_file.commit() && !m_failed)
        return true;
    if (m_old)
        putBack(m_target, *m_old);
    return false;
}
