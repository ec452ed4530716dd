#include "core/control/messagelog.h"

#include "core/base/quotedrecord.h"
#include "core/base/values_p.h"
#include "core/control/textbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace zuvexal {

namespace {

// An exclusive lock on a file beside the log, held for one operation.
class LogLock
{
public:
    explicit LogLock(const QString &path)
    {
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (m_fd >= 0) {
            while (::flock(m_fd, LOCK_EX) < 0 && errno == EINTR) {
            }
        }
    }
    ~LogLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    LogLock(const LogLock &) = delete;
    LogLock &operator=(const LogLock &) = delete;

private:
    int m_fd = -1;
};

QString rolledOverName(const QDateTime &modified)
{
    const QDate date = modified.toLocalTime().date();
    return QStringLiteral("ZuMessages_Of_%1_%2_%3.htm").arg(date.month()).arg(date.day()).arg(date.year());
}

// Adds the log's content to the end of an existing file; true when all of
// it arrived.
bool appendFileTo(const QString &from, const QString &to)
{
    QFile source(from);
    QFile target(to);
    if (!source.open(QIODevice::ReadOnly) || !target.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(1 << 20);
        if (chunk.isEmpty() || target.write(chunk) != chunk.size())
            return false;
    }
    return target.flush();
}

void rollOver(const QString &logFile)
{
    const QFileInfo log(logFile);
    const QString dated = log.absolutePath() + QLatin1Char('/') + rolledOverName(log.lastModified());
    // Links planted in the log folder are not followed.
    if (log.isSymLink() || QFileInfo(dated).isSymLink())
        return;
    const bool saved = QFileInfo::exists(dated) ? appendFileTo(logFile, dated) : QFile::rename(logFile, dated);
    if (saved && QFileInfo::exists(logFile))
        QFile::remove(logFile);
}

} // namespace

QString logEntryText(const QString &organisation, const QString &message, const QDateTime &now)
{
    return QStringLiteral("<HTML><HEAD><TITLE>") + organisation
        + QStringLiteral(" : Appended ZuVexal Message Log </TITLE></HEAD><BODY><H2> At ") + valueText(now)
        + QStringLiteral(" </H2><P> ") + message + QStringLiteral(" </P></BODY></HTML>");
}

QString logFilePath(const QString &applicationPath)
{
    return applicationPath + QStringLiteral("Reports/Log/ZuMessages.htm");
}

bool appendLogEntry(const QString &applicationPath, const QString &entry)
{
    const QString logFile = logFilePath(applicationPath);
    const QString folder = QFileInfo(logFile).path();
    QDir().mkpath(folder);
    const LogLock lock(folder + QStringLiteral("/.ZuMessages.lock"));
    const QFileInfo log(logFile);
    if (log.exists() && log.size() > LogSizeLimit)
        rollOver(logFile);
    return appendQuotedRecord(logFile, entry);
}

void appendToTextBox(QObject *object, const QString &message)
{
    if (!object)
        return;
    TextBox box(object);
    const std::optional<bool> wasLocked = box.locked();
    const std::optional<bool> wasEnabled = box.enabled();
    box.setLocked(false);
    box.setEnabled(true);
    if (box.isVisible()) {
        box.setFocus();
        box.moveCaretToEnd();
    }
    // A line break as Linux text controls know it.
    box.insertAtCaret(QLatin1Char('\n') + message);
    if (wasLocked)
        box.setLocked(*wasLocked);
    if (wasEnabled)
        box.setEnabled(*wasEnabled);
}

} // namespace zuvexal
