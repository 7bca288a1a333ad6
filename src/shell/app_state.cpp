#include "shell/app_state.h"

namespace shell {

AppState::AppState()
{
    for (int entry = 1; entry <= kLimitCount; ++entry)
        parameterTable[static_cast<size_t>(entry + 1)] = std::to_string(limits[entry]);
    parameterTable[11].assign(1, '0');
    parameterTable[12].assign(1, '0');
}

}  // namespace shell
