#include "platform/clock.h"

#include <thread>

namespace zuvexal::platform {

namespace {

class SystemClock final : public Clock
{
public:
    TimePoint now() const override { return std::chrono::steady_clock::now(); }
    void sleepFor(std::chrono::milliseconds duration) override { std::this_thread::sleep_for(duration); }
};

SystemClock systemClock;
Clock *current = &systemClock;

} // namespace

Clock &clock()
{
    return *current;
}

void setClock(Clock *clock)
{
    current = clock ? clock : &systemClock;
}

} // namespace zuvexal::platform
