// ibranto.cpp -- the exported entry point. One Model lives for the life of the process,
// so the tables persist between problems and between calls; each call is one run.
#include "branto.h"
#include "run/run.h"

namespace {
Model& model() {
  static Model* m = new Model();  // never destroyed: tables outlive every call
  return *m;
}
}  // namespace

extern "C" __attribute__((visibility("default"))) int IBRANTO(int, int) {
  try {
    io::Units u;
    Run run{model(), u};
    return RUNWAL(run);
  } catch (...) {
    return RC_INTERNAL;
  }
}
