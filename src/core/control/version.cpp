#include "core/control/version_p.h"

#include <QCoreApplication>

namespace zuvexal {

QString versionText(int major, int minor)
{
    return QCoreApplication::translate("ZuVexal", "Version %1.%2").arg(major).arg(minor);
}

QString componentVersionText()
{
    return versionText(ZUVEXAL_VERSION_MAJOR, ZUVEXAL_VERSION_MINOR);
}

} // namespace zuvexal
