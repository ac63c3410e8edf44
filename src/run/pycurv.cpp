// pycurv.cpp -- the soil-resistance curves of a problem: the option-4 earth-pressure
// curves in force, the user p-y curves of the input with their echo and plot-file copies,
// and the generated curves, all as support-curve records for the iteration.
#include <cmath>
#include <string>

#include "report/report.h"
#include "run/run_impl.h"
#include "soil/soil.h"
#include "wall/wall.h"

namespace {

// User p-y curves: echo "INPUTTED  SOIL RESISTANCE (P-Y) CURVES", copy each curve to the
// plot output file and append it to CRV.
//
// The station key of a user curve is a station number, 0..NI, and the keys must not
// decrease. A curve applies at its own station (FROM = TO = key + 4), and the user curves
// of a problem form one chain: CONTD = 1 on every curve but the last, which has
// CONTD = 0, so every station between two curve stations takes the curve interpolated
// between them, as for the generated curves. The echo shows each curve with the layout
// of its range: the first by its FROM station, the continued ones by their TO station.
//
// Points: y times the Y-multiplier; p, a force per unit length of wall, times the
// P-multiplier and, for the support curve, times h (a force per station), sign as given.
// The echo and the plot file show p per unit length. The multiplied deflections must
// increase.
void USRCRV(Run& run) {
  const auto& C = run.m.C;
  const auto& UPY = run.m.UPY;
  const auto& L = run.m.LAB;
  auto& CRV = run.m.CRV;
  const int NPYU = C.NPYU;
  io::write(run, LOUT, R"((/,/,6X,"**************************************************",/,6X,"*     INPUTTED  SOIL RESISTANCE (P-Y) CURVES     *",/,6X,"**************************************************",/))");
  int KCPREV = 0;
  for (int J = 1; J <= NPYU; ++J) {
    const int KEY = UPY.KEY(J);
    const int NPT = UPY.NPT(J);
    const double PMU = UPY.PMU(J), YMU = UPY.YMU(J);
    const std::string AT = ONLINE(UPY.LUPY(J));
    if (NPT > MXCPT) TOOMCH(run, "NUMBER OF POINTS OF A USER P-Y CURVE", NPT, MXCPT, UPY.LUPY(J));
    if (NPT < 2)
      INPERR(run, "ERROR -- USER P-Y CURVE " + std::to_string(J) + " HAS " + std::to_string(NPT) +
                      " POINTS; A CURVE NEEDS AT LEAST 2" + AT);
    // Points out of the range of the numbers end the run before they are echoed.
    for (int I = 1; I <= NPT; ++I)
      if (!std::isfinite(UPY.YU(J, I) * YMU) || !std::isfinite(UPY.PU(J, I) * PMU * C.H))
        NONFIN(run, "POINT " + std::to_string(I) + " OF USER P-Y CURVE " + std::to_string(J) +
                        " TIMES ITS MULTIPLIERS AND H",
               INREC(run, "user p-y curve", J, run.m.UPY.LUPY(J)));
    const int KCONT = J < NPYU ? 1 : 0;
    io::write(run, LOUT, R"((/,/,"     FROM TO CONTD      P-MULTIPLIER  Y-MULTIPLIER","      POINTS     "))");
    const int KLAY = KLAYOT(KCPREV, KEY, KEY);
    if (KLAY == LAYFR) {
      io::write(run, LOUT, "(5X,I4,4X,I3,5X,1P,2E14.3,1(10X,I3))", KEY, KCONT, PMU, YMU, NPT);
    } else if (KLAY == LAYTO) {
      io::write(run, LOUT, "(9X,I4,I3,5X,1P,2E14.3,1(10X,I3))", KEY, KCONT, PMU, YMU, NPT);
    } else {
      io::write(run, LOUT, "(5X,2I4,I3,5X,2E14.3,1(8X,I4))", KEY, KEY, KCONT, PMU, YMU, NPT);
    }
    io::write(run, LOUT, R"((/,18X,"    Y    ",12X,"   P    ",/,18X,2X,A2,16X,A3,"/",A2,/,18X,"---------",12X,"--------"))",
              L.ULEN2, L.UFOR3, L.ULEN2);
    for (int I = 1; I <= NPT; ++I)
      io::write(run, LOUT, "(17X,1P,E10.3,10X,1P,E10.3)", UPY.YU(J, I) * YMU, UPY.PU(J, I) * PMU);
    io::list_write(run, LPLT, KEY, NPT);
    for (int I = 1; I <= NPT; ++I) io::list_write(run, LPLT, UPY.YU(J, I) * YMU, UPY.PU(J, I) * PMU);
    // The checks follow the echo, so that the report shows the curve in question.
    if (KEY < 0 || KEY > C.NI)
      INPERR(run, "ERROR -- USER P-Y CURVE " + std::to_string(J) + " AT STATION " + std::to_string(KEY) +
                      " IS OUTSIDE THE STATIONS 0 TO " + std::to_string(C.NI) + " OF THE WALL" + AT);
    if (J > 1 && KEY < UPY.KEY(J - 1))
      NOTORD(run, "USER P-Y CURVE " + std::to_string(J) + " AT STATION " + std::to_string(KEY) +
                      ", ABOVE THE CURVE BEFORE IT" + AT);
    for (int I = 2; I <= NPT; ++I)
      if (!(UPY.YU(J, I) * YMU > UPY.YU(J, I - 1) * YMU))
        INPERR(run, "ERROR -- THE DEFLECTIONS OF USER P-Y CURVE " + std::to_string(J) +
                        " (TIMES ITS Y-MULTIPLIER) ARE NOT IN INCREASING ORDER" + AT);
    if (CRV.NCRV >= MXCRV) TOOMCH(run, "NUMBER OF SUPPORT CURVES", CRV.NCRV + 1, MXCRV);
    const int N = ++CRV.NCRV;
    CRV.FROM(N) = KEY + 4;
    CRV.TO(N) = KEY + 4;
    CRV.CONTD(N) = KCONT;
    CRV.POINTS(N) = NPT;
    for (int I = 1; I <= NPT; ++I) {
      CRV.Y(N, I) = UPY.YU(J, I) * YMU;
      CRV.F(N, I) = UPY.PU(J, I) * PMU * C.H;
    }
    KCPREV = KCONT;
  }
}

}  // namespace

void PYCURV(Run& run) {
  const auto& C = run.m.C;
  // The option-4 curves of the earth pressure stay in force; the rest is rebuilt.
  run.m.CRV.NCRV = run.m.CRV.NCRV4;
  if (C.NPYU < 0)
    NEGERR(run, "NPYU", C.NPYU, "CONTROL RECORD", 8, C.LCTRL, "NUMBER OF USER-SPECIFIED P-Y CURVES");
  if (C.KPYGEN == 0 && C.NPYU == 0) {
    io::list_write(run, LPLT, C.IUNIT, 0);
    return;
  }
  // User curves are read and applied whatever the p-y option, so the input stays in step.
  if (C.NPYU > 0) {
    if (C.NPYU > MXPYU) TOOMCH(run);
    RDPYU(run);
    USRCRV(run);
  }
  if (C.KPYGEN == 2) {
    PYGEN(run);
    READPY(run);
  }
}
