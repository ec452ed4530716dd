#pragma once

#include <QByteArrayView>
#include <QString>

#include <vector>

namespace zuvexal {

// A quoted record: a double quote, the text unchanged in UTF-8 (inner quotes
// are not escaped), a double quote, CR LF. Report pages, the message log and
// other text files of the system are sequences of these.
//
// Appends quoted records to a file opened for appending for the writer's
// lifetime (created when missing, never through a symbolic link). Each
// record goes out in one write (writev), so records of concurrent writers
// never interleave; a record the disk takes only in part is cut off again,
// so the file ends with a whole record. Writers that may meet must hold a
// lock around their appends (the message log does).
class QuotedRecordWriter
{
public:
    explicit QuotedRecordWriter(const QString &path);
    ~QuotedRecordWriter();
    QuotedRecordWriter(const QuotedRecordWriter &) = delete;
    QuotedRecordWriter &operator=(const QuotedRecordWriter &) = delete;

    bool isOpen() const { return m_fd >= 0; }
    bool append(QStringView text);
    // The same for a text already in UTF-8.
    bool append(QByteArrayView utf8);

private:
    int m_fd = -1;
};

// Writes a new file of quoted records at once: into a file without a name
// (or, where the file system has none, a temporary file beside it), linked
// into place once whole, so that a process killed meanwhile leaves all of
// the records or none. False, with nothing left behind, when they could not
// all be written (a full disk) or the file appeared meanwhile.
bool writeQuotedRecordsAtOnce(const QString &path, const std::vector<QByteArrayView> &records);

// Opens, appends one record and closes.
bool appendQuotedRecord(const QString &path, QStringView text);
bool appendQuotedRecord(const QString &path, QByteArrayView utf8);

} // namespace zuvexal
