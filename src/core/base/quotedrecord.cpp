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
    if (before >= 0 && written != 0)
        while (::ftruncate(m_fd, before) < 0 && errno == EINTR) {
        }
    return false;
}

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
    // The file is readable as a page would be when created by appending.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    const bool whole = done == content.size() && ::fchmod(fd, 0666 & ~mask) == 0;
    ::close(fd);
    if (whole && ::rename(temporary.constData(), QFile::encodeName(path).constData()) == 0)
        return true;
    ::unlink(temporary.constData());
    return false;
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
