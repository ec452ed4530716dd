#pragma once

#include <QString>
#include <QStringList>

namespace zuvexal {

// File-name patterns of each file type of the chooser, ';'-separated:
// 0 all, 1 documents, 2 pictures, 3 executables, 4 libraries, 5 internet,
// 6 sound, 7 movie; any other value gives "*.*".
QString FileTypeFilter(qint16 FileType);

// Sets the shared AppFolder to the folder of the component's own file (the
// loaded library, or the executable when linked statically), ending in '/'.
void SetAppFolder();

// The part after the last '/', in capitals ("" for a path ending in '/');
// a path without '/' comes back unchanged, in its own case.
QString FileNamePart(const QString &Path);

// Linux has no short (8.3) names: the short form of an existing path is the
// path itself, of a missing path the empty text.
QString ShortPathName(const QString &Path);

// The path without its file-name part; the trailing '/' stays. A path
// without '/' gives the empty text.
QString PathFolder(const QString &Path);

// The path rebuilt component by component from the directory entries: each
// part takes the name stored on disk (an exact match, else the first entry
// equal to it ignoring case); a part that does not exist contributes an
// empty name.
QString LongPathName(const QString &Path);

// Returns after N seconds, N clamped to 1 .. 86399. Sleeps in short steps on
// a monotonic clock, so midnight or a wall clock stepping back changes
// nothing; processes no events.
void WaitSeconds(qint32 N);

// At most 513 font family names, in the font database's order.
QStringList GetFontNames();
QStringList GetFontNames(const QStringList &families);

} // namespace zuvexal
