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
        m_fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
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
    ssize_t written;
    do {
        written = ::writev(m_fd, parts, 3);
    } while (written < 0 && errno == EINTR);
    return written == utf8.size() + 4;
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
