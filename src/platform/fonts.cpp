#include "platform/fonts.h"

#include <QFontDatabase>
#include <QGuiApplication>

namespace zuvexal::platform {

QStringList fontFamilies()
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return {};
    return QFontDatabase::families();
}

} // namespace zuvexal::platform
