#pragma once
// The processes of one run. Started by mpirun, the program joins MPI and the
// prime searches hand out blocks to every rank; started on its own it is one
// rank and never touches MPI, so it runs on machines without a launcher.
#include <cstdint>
#include <vector>

#include "engine/big_integer.h"

namespace cli {

class Ranks {
public:
    Ranks(int& argc, char**& argv);
    ~Ranks();
    Ranks(const Ranks&) = delete;
    Ranks& operator=(const Ranks&) = delete;

    int rank() const { return rank_; }
    int size() const { return size_; }
    // Launched by mpirun (even with one process): the searches use blocks.
    bool distributed() const { return distributed_; }
    // The rank that prints the results and the progress.
    bool leader() const { return rank_ == 0; }

    // The smallest of every rank's value; every rank receives it.
    uint64_t lowest(uint64_t mine);
    // Every rank receives the value rank `from` holds.
    void share(engine::BigInt& value, int from);
    uint64_t share(uint64_t value, int from);
    // Every rank receives the OR of every rank's marks (all of one length).
    void combine(std::vector<uint8_t>& marks);

private:
    int rank_ = 0;
    int size_ = 1;
    bool distributed_ = false;
};

}  // namespace cli
