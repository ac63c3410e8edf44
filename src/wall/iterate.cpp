// iterate.cpp -- the solution of one problem and its results: one linear solution of the
// station tables, the station table of the report and the stored results.
#include "report/report.h"
#include "wall/wall.h"

void ITERAT(Run& run) {
  auto& C = run.m.C;
  auto& STA = run.m.STA;
  auto& ITR = run.m.ITR;
  const int NI = C.NI;
  for (int K = 1; K <= NI + 7; ++K) STA.W(K) = 0;
  for (int K = 3; K <= NI + 5; ++K) {
    STA.QW(K) = STA.Q(K);
    STA.SW(K) = STA.S(K);
    ITR.SR(K) = 0;
  }
  BEAMCOL(run);
  STARES(run);
  ITR.ITER = 1;
  ITR.KEXIT = KXLIN;
}

void RESULT(Run& run) {
  const auto& C = run.m.C;
  const auto& STA = run.m.STA;
  const auto& L = run.m.LAB;
  auto& RES = run.m.RES;
  const int NI = C.NI;
  io::write(run, LOUT, R"((/,/,"     RESULTS",/,"     -------",/,"     NUMBER OF ITERATIONS : ",I3))", run.m.ITR.ITER);
  io::write(run, LOUT, R"((/,"   STA I      X         DEFL.       SLOPE     "," MOMENT      SHEAR    SOIL_REACT NET_FORCE/STA ","   EI"))");
  io::write(run, LOUT, R"((12X,A3,9X,A3,10X,"RAD",6X,A3,"-",A2,7X,A4,7X,A3,"/",A2,7X,A4,6X,A3,"-",A2,"**","2"))",
            L.ULENA, L.ULEN3, L.UFOR3, L.ULEN2, L.UFOR4, L.UFOR3, L.ULEN2, L.UFOR4, L.UFOR3, L.ULEN2);
  io::write(run, LOUT, R"(("   ------    ----        ----       -----     "," ------      ------    ---------   ---------   ","---------"))");
  for (int I = 0; I <= NI; ++I) {
    const int K = I + 4;
    const double X = I * C.H;
    RES.X(K) = X;
    RES.DEFL(K) = STA.W(K);
    RES.SLOPE(K) = STA.SLOPE(K);
    RES.XMOM(K) = STA.XMOM(K);
    RES.SHEAR(K) = STA.SHEAR(K);
    RES.XNF(K) = STA.XNF(K);
    RES.EI(K) = STA.EI(K);
    RES.SR(K) = run.m.ITR.SR(K);
    io::write(run, LOUT, "(2X,I4,2X,1PE10.3,1P,7E12.3)", I, C.IUNIT == ENGLISH ? X / 12 : X, RES.DEFL(K),
              RES.SLOPE(K), RES.XMOM(K), RES.SHEAR(K), RES.SR(K), RES.XNF(K), RES.EI(K));
  }
  RES.NSTA = NI + 1;
}
