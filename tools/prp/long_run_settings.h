#pragma once
// What the long powering loops need from the command line.
#include <string>

namespace prp {

struct LongRunSettings {
    std::string numberFile;          // the checkpoint lives next to it
    double checkpointSeconds = 600;  // "-C<seconds>"; 0: no checkpoints
    unsigned threads = 1;            // "-T<n>", for the arithmetic's transforms
};

}  // namespace prp
