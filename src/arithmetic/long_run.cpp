#include "arithmetic/long_run.h"

namespace arithmetic {

RunReport& LongRunSettings::reportTo() const
{
    static RunReport silent;
    return report ? *report : silent;
}

std::unique_ptr<CheckpointStore> LongRunSettings::openCheckpoints(const std::string& numberId,
                                                                  const std::string& test) const
{
    if (checkpoints)
        if (std::unique_ptr<CheckpointStore> store = checkpoints(numberId, test))
            return store;
    return noCheckpoints();
}

}  // namespace arithmetic
