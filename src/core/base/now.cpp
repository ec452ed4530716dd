#include "core/base/now.h"

namespace zuvexal {

QDateTime reportDateTime()
{
    bool ok = false;
    const qint64 epoch = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&ok);
    return ok ? QDateTime::fromSecsSinceEpoch(epoch).toLocalTime() : QDateTime::currentDateTime();
}

} // namespace zuvexal
