// rdwall.cpp -- the wall data of a problem with wall sections: the station tables
// cleared, the wall sections with "WALL SECTIONS", then the cross sections with their
// catalogue and the nonlinear EI tables, in file order.
#include <string>

#include "report/report.h"
#include "run/input.h"
#include "run/run_impl.h"
#include "wall/wall.h"

namespace {

// Wall sections: depth ranges (feet in English units, metres in SI) and the cross
// section of each. A section naming no cross section of this problem, or whose depths
// fall outside the wall, would build the wall from stale or missing data: input error.
void RDWSEC(Run& run) {
  const auto& C = run.m.C;
  auto& WS = run.m.WS;
  for (int K = 1; K <= C.NSECT; ++K) {
    io::list_read(run, LINP, {"wall section", K, "XTOP XBOT ISEC"}, WS.XTOP(K), WS.XBOT(K), WS.ISEC(K));
    WS.LWS(K) = run.u.last_record(LINP).first;
    const std::string AT = ONLINE(WS.LWS(K));
    if (WS.ISEC(K) < 1 || WS.ISEC(K) > C.NCROSS)
      INPERR(run, "ERROR -- WALL SECTION " + std::to_string(K) + " NAMES CROSS SECTION " +
                      std::to_string(WS.ISEC(K)) +
                      (C.NCROSS == 0 ? std::string(", BUT THE CONTROL RECORD GIVES NO CROSS SECTIONS (NCROSS = 0)")
                                     : ", NOT ONE OF THE CROSS SECTIONS 1 TO " + std::to_string(C.NCROSS)) + AT);
    const int ITOP = STATION(C, WS.XTOP(K)), IBOT = STATION(C, WS.XBOT(K));
    for (int IS : {ITOP, IBOT})
      if (IS < 0 || IS > C.NI)
        INPERR(run, "ERROR -- WALL SECTION " + std::to_string(K) + " REACHES STATION " + std::to_string(IS) +
                        ", OUTSIDE THE WALL (STATIONS 0 TO " + std::to_string(C.NI) + ")" + AT);
  }
}

// "WALL SECTIONS": depths as read, under the depth label (feet or metres).
void ECHWS(Run& run) {
  const auto& C = run.m.C;
  const auto& WS = run.m.WS;
  const auto& L = run.m.LAB;
  io::write(run, LOUT, R"((/,5X,"* WALL SECTIONS *"))");
  io::write(run, LOUT, R"((/,5X,"  SECT",9X," TOP ",7X,"BOTTOM",5X,"SECTION"))");
  io::write(run, LOUT, R"((5X,"      ",9X,1X,A2,12X,A2))", L.ULENB.view().substr(0, 2), L.ULENB.view().substr(0, 2));
  for (int K = 1; K <= C.NSECT; ++K) {
    WBLANK(run, LOUT, 5);
    WINT(run, LOUT, 5, K);
    WBLANK(run, LOUT, 1);
    WREAL(run, LOUT, 14, 5, WS.XTOP(K));
    WREAL(run, LOUT, 14, 5, WS.XBOT(K));
    WBLANK(run, LOUT, 3);
    WINT(run, LOUT, 5, WS.ISEC(K));
    WEOL(run, LOUT);
  }
  io::list_write(run, LOUT);
}

}  // namespace

void RDWALL(Run& run) {
  const auto& C = run.m.C;
  // The tables the wall data fill, cleared whole (they hold stations -2..NI+2 and more).
  CLRSTA(run.m.STA);
  if (C.NSECT > MXSECT) TOOMCH(run, "NUMBER OF WALL SECTIONS", C.NSECT, MXSECT, C.LCTRL);
  if (C.NCROSS < 0) NEGERR(run, "NCROSS", C.NCROSS, "CONTROL RECORD", 4, C.LCTRL, "NUMBER OF CROSS SECTIONS");
  if (C.NCROSS > MXCROS) TOOMCH(run, "NUMBER OF CROSS SECTIONS", C.NCROSS, MXCROS, C.LCTRL);
  RDWSEC(run);
  ECHWS(run);
  RDCROS(run);
  ECHCRS(run);
  RDNEI(run);
}
