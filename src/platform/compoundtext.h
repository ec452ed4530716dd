#pragma once

#include <QByteArrayView>
#include <QString>

namespace zuvexal::platform {

// Compound Text, X11's ISO 2022 profile for the titles of older clients: GL
// starts as ASCII and GR as the right half of Latin-1; escape sequences
// switch either half to another set or open a segment in a named encoding
// (UTF-8, or one such as "big5-0"). Sets it cannot map give U+FFFD per
// character rather than wrong letters; a text cut inside a sequence or a
// character ends there.
QString decodeCompoundText(QByteArrayView text);

} // namespace zuvexal::platform
