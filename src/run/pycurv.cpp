// pycurv.cpp -- the soil-resistance curves of a problem.
#include "run/run.h"

void PYCURV(Run& run) {
  const auto& C = run.m.C;
  if (C.KPYGEN == 0 && C.NPYU == 0) io::list_write(run, LPLT, C.IUNIT, 0);
}
