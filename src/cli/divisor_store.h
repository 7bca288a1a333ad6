#pragma once
// The divisor products of the first check, built once per machine rather
// than at every run (about a second): base.div in the working directory
// when present and sound (the window's own file), else the copy kept in the
// data directory, else built and kept there for the next run.
#include <string>

#include "cli/progress.h"
#include "engine/divisor_products.h"

namespace cli {

// $QUENDROLT_DATA_DIR when set (the tests point it at a temporary
// directory), else $XDG_DATA_HOME/quendrolt, else ~/.local/share/quendrolt;
// empty when none can be named.
std::string dataDirectory();

// A data directory that cannot be written costs the next run a build, no
// more: progress notes it and the products are still returned.
void loadDivisorProducts(engine::DivisorProducts& products, Progress& progress);

}  // namespace cli
