#pragma once

#include "platform/clock.h"

#include <QtGlobal>

namespace zuvexal {

// Returns after N seconds, N clamped to 1 .. 86399. Sleeps in short steps on
// a monotonic clock, so midnight or a wall clock stepping back changes
// nothing; processes no events.
void WaitSeconds(qint32 N, platform::Clock &clock);

} // namespace zuvexal
