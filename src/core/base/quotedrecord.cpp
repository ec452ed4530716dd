#include "core/base/quotedrecord.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace zuvexal {

QuotedRecordWriter::QuotedRecordWriter(const QString &path)
{
    if (path.isEmpty())
        return;
    const QByteArray name = QFile::encodeName(path);
    do {
        // Never through a link planted where the file should be.
        m_fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    } while (m_fd < 0 && errno == EINTR);
}

QuotedRecordWriter::~QuotedRecordWriter()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool QuotedRecordWriter::append(QStringView text)
{
    return append(QByteArrayView(text.toUtf8()));
}

bool QuotedRecordWriter::append(QByteArrayView utf8)
{
    if (m_fd < 0)
        return false;
    // The quotes and the text go out in one system call: still one write to
    // the file, without first copying the text into a record.
    char opening[] = "\"";
    char closing[] = "\"\r\n";
    iovec parts[] = {{opening, 1}, {const_cast<char *>(utf8.data()), size_t(utf8.size())}, {closing, 3}};
    const off_t before = ::lseek(m_fd, 0, SEEK_END);
    ssize_t written;
    do {
        written = ::writev(m_fd, parts, 3);
    } while (written < 0 && errno == EINTR);
    if (written == utf8.size() + 4)
        return true;
    // A full disk took part of the record: the file goes back to what it
    // held before, so no torn record is left.
    if (before >= 0 && written > 0)
        while (::ftruncate(m_fd, before) < 0 && errno == EINTR) {
        }
    return false;
}

namespace {

// The process's file mode mask, read without changing it (umask() would,
// for a moment, for every thread).
mode_t processUmask()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("Umask:"))
                return mode_t(line.mid(6).trimmed().toUInt(nullptr, 8));
        }
    }
    return 022;
}

} // namespace

bool writeQuotedRecordsAtOnce(const QString &path, const std::vector<std::string> &records)
{
    const QFileInfo target(path);
    QByteArray temporary = QFile::encodeName(target.absolutePath() + QStringLiteral("/.") + target.fileName()
                                             + QStringLiteral(".XXXXXX"));
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return false;
    std::string content;
    size_t size = 0;
    for (const std::string &record : records)
        size += record.size() + 4;
    content.reserve(size);
    for (const std::string &record : records) {
        content += '"';
        content += record;
        content += "\"\r\n";
    }
    size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += size_t(n);
    }
    // The file gets the mode a page created by appending would have.
    const bool whole = done == content.size() && ::fchmod(fd, 0666 & ~processUmask()) == 0;
    ::close(fd);
    // link() never replaces a file that appeared meanwhile: then the
    // caller appends to it instead.
    const bool placed = whole && ::link(temporary.constData(), QFile::encodeName(path).constData()) == 0;
    ::unlink(temporary.constData());
    return placed;
}

bool appendQuotedRecord(const QString &path, QStringView text)
{
    QuotedRecordWriter writer(path);
    return writer.append(text);
}

bool appendQuotedRecord(const QString &path, QByteArrayView utf8)
{
    QuotedRecordWriter writer(path);
    return writer.append(utf8);
}

} // namespace zuvexal
