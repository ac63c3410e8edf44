// earthp.cpp -- the earth pressure of a problem by its option.
#include "pressure/pressure.h"

void EARTHP(Run& run) {
  if (run.m.C.KEP <= 0) run.m.PRS.NPRES = 0;
  if (run.m.C.KEP == 0) io::list_write(run, LPLT, 0);
}
