#include "core/control/delay.h"

#include <algorithm>

namespace zuvexal {

void WaitSeconds(qint32 N, platform::Clock &clock)
{
    using namespace std::chrono;
    const seconds wait(std::clamp<qint32>(N, 1, 86399));
    const auto start = clock.now();
    for (auto elapsed = clock.now() - start; elapsed < wait; elapsed = clock.now() - start)
        clock.sleepFor(std::min<milliseconds>(duration_cast<milliseconds>(wait - elapsed) + 1ms, 100ms));
}

} // namespace zuvexal
