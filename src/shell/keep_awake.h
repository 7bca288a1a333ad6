#pragma once
// Asks the desktop not to blank the screen or suspend while a long run lasts.
// Best effort: without a session bus or a screen-saver service nothing happens.
#include <cstdint>

namespace shell {

class KeepAwake {
public:
    void request(bool on);

private:
    uint32_t cookie_ = 0;
    bool held_ = false;
};

}  // namespace shell
