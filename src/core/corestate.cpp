#include "core/corestate.h"

namespace vellara {

CoreState &coreState()
{
    static CoreState state;
    return state;
}

} // namespace vellara
