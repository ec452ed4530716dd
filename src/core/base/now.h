#pragma once

#include <QDateTime>

namespace zuvexal {

// The local date and time reports show: SOURCE_DATE_EPOCH (seconds since
// 1970) when it is set, so a report can be reproduced byte for byte, else
// the wall clock.
QDateTime reportDateTime();

} // namespace zuvexal
