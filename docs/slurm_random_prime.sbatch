#!/bin/bash
#SBATCH --job-name=random-prime
#SBATCH --nodes=4
#SBATCH --ntasks-per-node=64
#SBATCH --cpus-per-task=1
#SBATCH --time=02:00:00
#SBATCH --output=random-prime-%j.out
#SBATCH --error=random-prime-%j.err

# One rank per core; every rank searches its own blocks with one thread.
module load openmpi 2>/dev/null || true
srun --mpi=pmix quendrolt-cli random-prime --digits 100000 --seed "${SEED:-1}" --json -q > "prime-${SLURM_JOB_ID}.json"
status=$?
# 0: found; anything else: no prime was printed (see the .err file).
exit $status
