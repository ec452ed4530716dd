#include "core/base/quotedrecord.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
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
