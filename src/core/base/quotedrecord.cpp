#include "core/base/quotedrecord.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
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

// Writes every record, quoted, straight from the records (no second copy
// of the page): as many at a time as one writev takes.
bool writeAll(int fd, const std::vector<QByteArrayView> &records)
{
    static char opening[] = "\"";
    static char closing[] = "\"\r\n";
    constexpr size_t partsPerCall = 1023;  // IOV_MAX is 1024; three parts a record
    std::vector<iovec> parts;
    parts.reserve(std::min(records.size() * 3, partsPerCall));
    size_t next = 0;
    while (next < records.size()) {
        parts.clear();
        for (; next < records.size() && parts.size() + 3 <= partsPerCall; ++next) {
            parts.push_back({opening, 1});
            parts.push_back({const_cast<char *>(records[next].data()), size_t(records[next].size())});
            parts.push_back({closing, 3});
        }
        iovec *part = parts.data();
        size_t left = parts.size();
        while (left > 0) {
            const ssize_t n = ::writev(fd, part, int(left));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            // Skips what went out; a part written halfway goes on from there.
            size_t done = size_t(n);
            while (left > 0 && done >= part->iov_len) {
                done -= part->iov_len;
                ++part;
                --left;
            }
            if (left > 0) {
                part->iov_base = static_cast<char *>(part->iov_base) + done;
                part->iov_len -= done;
            }
        }
    }
    return true;
}

// A new file without a name yet (O_TMPFILE): it vanishes with the process
// unless it is linked into place, so a killed run leaves nothing behind.
bool writeUnnamedThenLink(const QByteArray &folder, const QByteArray &path, const std::vector<QByteArrayView> &records,
                          bool &unsupported)
{
    const int fd = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0) {
        unsupported = errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL;
        return false;
    }
    const bool whole = writeAll(fd, records);
    // linkat() never replaces a file that appeared meanwhile: then the
    // caller appends to it instead.
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    const bool placed = whole && ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, path.constData(), AT_SYMLINK_FOLLOW) == 0;
    unsupported = whole && !placed && errno == ENOENT && !QFileInfo::exists(QStringLiteral("/proc/self/fd"));
    ::close(fd);
    return placed;
}

// Where unnamed files are not to be had: a hidden temporary file beside the
// page, linked into place and removed.
bool writeTemporaryThenLink(const QByteArray &folder, const QByteArray &name, const QByteArray &path,
                            const std::vector<QByteArrayView> &records)
{
    QByteArray temporary = folder + "/." + name + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return false;
    // The file gets the mode a page created by appending would have.
    const bool whole = writeAll(fd, records) && ::fchmod(fd, 0666 & ~processUmask()) == 0;
    ::close(fd);
    const bool placed = whole && ::link(temporary.constData(), path.constData()) == 0;
    ::unlink(temporary.constData());
    return placed;
}

} // namespace

bool writeQuotedRecordsAtOnce(const QString &path, const std::vector<QByteArrayView> &records)
{
    const QFileInfo target(path);
    const QByteArray folder = QFile::encodeName(target.absolutePath());
    const QByteArray name = QFile::encodeName(target.fileName());
    const QByteArray file = QFile::encodeName(path);
    bool unsupported = false;
    return writeUnnamedThenLink(folder, file, records, unsupported)
        || (unsupported && writeTemporaryThenLink(folder, name, file, records));
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
