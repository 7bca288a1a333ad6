#pragma once
// What the tester sets up before it does anything, so that it never ends by
// a signal and never loses its work:
//  - SIGTERM, SIGINT and SIGHUP ask the long test to save its checkpoint
//    and end (status kExitInterrupted). Outside the long test's loop there
//    is nothing to save and the process ends at once, as it does on a
//    second signal.
//  - SIGXFSZ is ignored: a write past the file-size limit then fails with
//    EFBIG like any other failed write (a checkpoint the test goes on
//    without).
//  - GMP's allocation failure, which would abort, ends the process with
//    one line on standard error and status kExitError.
#include "arithmetic/long_run.h"

namespace prp {

// The stop request the signals make; the long tests poll it.
arithmetic::StopRequest& installProcessGuards();

}  // namespace prp
