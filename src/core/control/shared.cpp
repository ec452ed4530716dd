#include "core/control/shared.h"

namespace zuvexal {

SharedValues &shared()
{
    static SharedValues values;
    return values;
}

} // namespace zuvexal
