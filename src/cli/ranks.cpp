#include "cli/ranks.h"

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#ifdef QUENDROLT_HAVE_MPI
#include <mpi.h>
#endif

namespace cli {

#ifdef QUENDROLT_HAVE_MPI

namespace {

// Set by Open MPI's launcher (and by other launchers' process managers).
bool launchedByMpirun()
{
    for (const char* name : {"OMPI_COMM_WORLD_SIZE", "PMIX_RANK", "PMI_RANK"})
        if (std::getenv(name))
            return true;
    return false;
}

}  // namespace

Ranks::Ranks(int& argc, char**& argv)
{
    if (!launchedByMpirun())
        return;
    MPI_Init(&argc, &argv);
    MPI_Comm_rank(MPI_COMM_WORLD, &rank_);
    MPI_Comm_size(MPI_COMM_WORLD, &size_);
    distributed_ = true;
}

Ranks::~Ranks()
{
    if (distributed_)
        MPI_Finalize();
}

// A rank that finished its block first waits here for the others. MPI's own
// wait spins at full speed, which on a shared or oversubscribed machine takes
// the processor from the ranks still working; a short sleep between tests
// leaves it to them at the cost of a fraction of a millisecond per round.
uint64_t Ranks::lowest(uint64_t mine)
{
    if (!distributed_)
        return mine;
    uint64_t result = mine;
    MPI_Request request;
    MPI_Iallreduce(&mine, &result, 1, MPI_UINT64_T, MPI_MIN, MPI_COMM_WORLD, &request);
    for (int done = 0;;) {
        MPI_Test(&request, &done, MPI_STATUS_IGNORE);
        if (done)
            return result;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

uint64_t Ranks::share(uint64_t value, int from)
{
    if (distributed_)
        MPI_Bcast(&value, 1, MPI_UINT64_T, from, MPI_COMM_WORLD);
    return value;
}

void Ranks::combine(std::vector<uint8_t>& marks)
{
    if (distributed_)
        MPI_Allreduce(MPI_IN_PLACE, marks.data(), static_cast<int>(marks.size()), MPI_UINT8_T, MPI_BOR, MPI_COMM_WORLD);
}

void Ranks::share(engine::BigInt& value, int from)
{
    if (!distributed_)
        return;
    std::vector<unsigned char> bytes;
    if (rank_ == from) {
        size_t count = 0;
        bytes.resize((mpz_sizeinbase(value.get(), 2) + 7) / 8 + 1);
        mpz_export(bytes.data(), &count, 1, 1, 1, 0, value.get());
        bytes.resize(count);
    }
    uint64_t size = share(static_cast<uint64_t>(bytes.size()), from);
    bytes.resize(size);
    MPI_Bcast(bytes.data(), static_cast<int>(size), MPI_UNSIGNED_CHAR, from, MPI_COMM_WORLD);
    if (rank_ != from)
        mpz_import(value.get(), size, 1, 1, 1, 0, bytes.data());
}

#else

// Built without MPI, every process mpirun starts runs the whole command alone.
Ranks::Ranks(int&, char**&) {}

Ranks::~Ranks() = default;

uint64_t Ranks::lowest(uint64_t mine) { return mine; }
uint64_t Ranks::share(uint64_t value, int) { return value; }
void Ranks::share(engine::BigInt&, int) {}
void Ranks::combine(std::vector<uint8_t>&) {}

#endif

}  // namespace cli
