#include "core/base/quotedrecord.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace zuvexal {

QByteArray quotedRecord(QStringView text)
{
    QByteArray record;
    record.reserve(text.size() + 8);
    record += '"';
    record += text.toUtf8();
    record += "\"\r\n";
    return record;
}

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
    if (m_fd < 0)
        return false;
    const QByteArray record = quotedRecord(text);
    ssize_t written;
    do {
        written = ::write(m_fd, record.constData(), size_t(record.size()));
    } while (written < 0 && errno == EINTR);
    return written == record.size();
}

bool appendQuotedRecord(const QString &path, QStringView text)
{
    QuotedRecordWriter writer(path);
    return writer.append(text);
}

} // namespace zuvexal
