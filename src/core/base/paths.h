#pragma once

#include <QString>

namespace zuvexal {

struct SharedValues;

// Sets AppFolder to the component's own folder: that of the host's
// executable, ending in '/', whether the library is linked statically or
// shared (a shared library's folder is no place to write reports).
void SetAppFolder(SharedValues &values);

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

} // namespace zuvexal
