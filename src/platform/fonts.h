#pragma once

#include <QStringList>

namespace zuvexal::platform {

// Font families installed on the machine (fontconfig), in the font database's
// order. Printers on Linux use the same families as the screen. Needs a
// QGuiApplication; without one the list is empty.
QStringList fontFamilies();

} // namespace zuvexal::platform

namespace zuvexal {

// At most 513 font family names, in the font database's order.
QStringList GetFontNames();
QStringList GetFontNames(const QStringList &families);

} // namespace zuvexal
