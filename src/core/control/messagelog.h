#pragma once

#include <QDateTime>
#include <QString>

class QObject;

namespace zuvexal {

// A log larger than this is rolled over before the next entry.
inline constexpr qint64 LogSizeLimit = 1380000;

// One entry line of the message log: a small HTML document with the
// organisation, the time in the locale's general format and the message as
// it is (hosts log markup on purpose).
QString logEntryText(const QString &organisation, const QString &message, const QDateTime &now);

// The log file under an application folder ("" means the working folder).
QString logFilePath(const QString &applicationPath);

// Appends an entry to <applicationPath>Reports/Log/ZuMessages.htm, creating
// the folders. A log over LogSizeLimit first moves to
// ZuMessages_Of_M_D_YYYY.htm (its last-modified date), or is appended to that
// file when an earlier roll-over of the same day made it; the log is removed
// only once its content is safe there. Roll-over and append happen under a
// lock, so processes logging at once lose and tear nothing.
bool appendLogEntry(const QString &applicationPath, const QString &entry);

// Adds the message on a new line of a host's text box: at the very end when
// the box is visible, else at its selection; Locked and Enabled are
// restored afterwards.
void appendToTextBox(QObject *box, const QString &message);

} // namespace zuvexal
