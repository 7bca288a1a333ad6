#include "shell/dispatcher.h"

namespace shell {

void Dispatcher::dispatch(int controlId)
{
    if (busy_)
        return;
    auto it = commands_.find(controlId);
    if (it == commands_.end())
        return;
    busy_ = true;
    it->second(ctx_);
    busy_ = false;
}

}  // namespace shell
