// rdpyu.cpp -- user p-y curves as read: station key, point count, P- and Y-multiplier,
// then the (y, p) points of each curve. Their echo and their use are the wall analysis's.
#include <string>

#include "report/report.h"
#include "run/run_impl.h"

void RDPYU(Run& run) {
  const int NPYU = run.m.C.NPYU;
  auto& UPY = run.m.UPY;
  if (NPYU < 0)
    NEGERR(run, "NPYU", NPYU, "CONTROL RECORD", 8, run.m.C.LCTRL, "NUMBER OF USER-SPECIFIED P-Y CURVES");
  if (NPYU > MXPYU) TOOMCH(run);
  for (int N = 1; N <= NPYU; ++N) {
    io::list_read(run, LINP, {"user p-y curve", N, "KEY NPT PMULT YMULT"}, UPY.KEY(N), UPY.NPT(N), UPY.PMU(N),
                  UPY.YMU(N));
    UPY.LUPY(N) = run.u.last_record(LINP).first;
    const int NPT = UPY.NPT(N);
    if (NPT < 2)
      INPERR(run, "ERROR -- USER P-Y CURVE " + std::to_string(N) + " HAS " + std::to_string(NPT) +
                      " POINTS; A CURVE NEEDS AT LEAST 2" + ONLINE(UPY.LUPY(N)));
    if (NPT > MXCPT) TOOMCH(run, "NUMBER OF POINTS OF A USER P-Y CURVE", NPT, MXCPT, UPY.LUPY(N));
    const std::string W = "user p-y curve " + std::to_string(N) + ", point";
    for (int J = 1; J <= NPT; ++J) io::list_read(run, LINP, {W, J, "Y P"}, UPY.YU(N, J), UPY.PU(N, J));
  }
}
