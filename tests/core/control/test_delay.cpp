#include "core/control/delay.h"
#include "platform/clock.h"

#include <gtest/gtest.h>

using namespace zuvexal;

namespace {

// A clock that moves only when slept on, and can be stepped by hand.
class FakeClock final : public platform::Clock
{
public:
    TimePoint now() const override { return m_now; }
    void sleepFor(std::chrono::milliseconds d) override
    {
        m_now += d;
        slept += d;
        ++sleeps;
    }
    TimePoint m_now{};
    std::chrono::milliseconds slept{0};
    int sleeps = 0;
};

} // namespace

TEST(Delay, WaitSecondsClampsAndUsesTheMonotonicClock)
{
    using namespace std::chrono;
    struct Case { qint32 n; seconds expected; const char *why; };
    const Case cases[] = {
        {3, 3s, "waits the seconds asked for"},
        {0, 1s, "at least one second"},
        {-7, 1s, "negative counts as one"},
        {100000, 86399s, "at most a day less one second, so it always returns"},
    };
    for (const Case &c : cases) {
        FakeClock clock;
        WaitSeconds(c.n, clock);
        EXPECT_GE(clock.slept, milliseconds(c.expected)) << c.why;
        EXPECT_LT(clock.slept, milliseconds(c.expected) + 2ms) << c.why;
        EXPECT_LE(milliseconds(100) * (clock.sleeps - 1), clock.slept) << "sleeps in short steps";
    }
}
