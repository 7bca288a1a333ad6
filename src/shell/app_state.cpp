#include "shell/app_state.h"

namespace shell {

AppState::AppState()
{
    for (int entry = 1; entry <= engine::kLimitCount; ++entry)
        parameterTable.limitText(entry) = std::to_string(limits[entry]);
    parameterTable.entry(11).assign(1, '0');
    parameterTable.entry(12).assign(1, '0');
}

}  // namespace shell
