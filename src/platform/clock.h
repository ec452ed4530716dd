#pragma once

#include <chrono>

namespace zuvexal::platform {

// Time source for blocking waits. Waits use a monotonic clock so that a wall
// clock stepping back (or midnight) never lengthens or shortens them.
class Clock
{
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    virtual ~Clock() = default;
    virtual TimePoint now() const = 0;
    virtual void sleepFor(std::chrono::milliseconds duration) = 0;
};

// The process's real clock.
Clock &systemClock();

} // namespace zuvexal::platform
