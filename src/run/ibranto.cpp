// ibranto.cpp -- the exported entry point. One Model lives for the life of the process
// (process_model), so the tables persist between problems and between calls; each call
// is one run.
#include "branto.h"
#include "run/run.h"

extern "C" __attribute__((visibility("default"))) int IBRANTO(int, int) {
  try {
    io::Units u;
    Run run{process_model(), u};
    return RUNWAL(run);
  } catch (...) {
    return RC_INTERNAL;
  }
}
