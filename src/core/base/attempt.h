#pragma once

#include <utility>

namespace zuvexal {

// The failure rule of the published operations: a step that fails (a host
// object it calls throws) is skipped and the operation goes on with its next
// step; nothing reaches the host. True when the step ran to its end.
template <typename Step>
bool attempt(Step &&step) noexcept
{
    try {
        std::forward<Step>(step)();
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace zuvexal
