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

namespace zuvexal {

QStringList GetFontNames(const QStringList &families)
{
    return families.mid(0, 513);
}

QStringList GetFontNames()
{
    return GetFontNames(platform::fontFamilies());
}

} // namespace zuvexal
