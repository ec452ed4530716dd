#pragma once

//
//  W A R N I N G
//  -------------
// This file is not part of the ZuVexal interface and is not installed. The
// core, the widget library and the Designer plugin share it; it may change
// with any version, without notice.
//

#include <ZuVexal/zuvexalcore_export.h>

#include <QString>

namespace zuvexal {

// The component's version as the about box shows it: "Version M.N", both
// numbers plain decimal; the patch level is not shown.
QString versionText(int major, int minor);
ZUVEXAL_CORE_EXPORT QString componentVersionText();

} // namespace zuvexal
