#pragma once

#include <QString>

namespace zuvexal {

// File-name patterns of each file type of the chooser, ';'-separated:
// 0 all, 1 documents, 2 pictures, 3 executables, 4 libraries, 5 internet,
// 6 sound, 7 movie; any other value gives "*.*".
QString FileTypeFilter(qint16 FileType);

} // namespace zuvexal
