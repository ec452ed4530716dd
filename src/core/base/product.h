#pragma once

#include <QString>

namespace zuvexal {

// The maker's addresses, shown in the about box and the pages' generator line.
inline const QString ProductWebsite = QStringLiteral("https://quorvane.example.com/zuvexal");
inline const QString ProductEmail = QStringLiteral("vexal@quorvane.example.com");

} // namespace zuvexal
