// results.cpp -- the results of one problem: the iteration count, the station table of
// deflection, slope, moment, shear, soil reaction, net force and rigidity, the restraint,
// tie-back and node-reaction results, or the warning of a failing exit in their place;
// and the stored results of the plot output file.
#include <algorithm>
#include <cmath>

#include "report/report.h"
#include "wall/ranges.h"
#include "wall/wall_impl.h"

namespace {

// Depth of station I for the report: feet in English units.
double DEPTH(const Control& C, int I) { return C.IUNIT == ENGLISH ? I * C.H / 12 : I * C.H; }

// Station table, stations 0..NI, stored for the plot output file as they are printed.
void STATION_TABLE(Run& run) {
  const auto& C = run.m.C;
  const auto& STA = run.m.STA;
  const auto& L = run.m.LAB;
  auto& RES = run.m.RES;
  io::write(run, LOUT, R"((/,"   STA I      X         DEFL.       SLOPE     "," MOMENT      SHEAR    SOIL_REACT NET_FORCE/STA ","   EI"))");
  io::write(run, LOUT, R"((12X,A3,9X,A3,10X,"RAD",6X,A3,"-",A2,7X,A4,7X,A3,"/",A2,7X,A4,6X,A3,"-",A2,"**","2"))",
            L.ULENA, L.ULEN3, L.UFOR3, L.ULEN2, L.UFOR4, L.UFOR3, L.ULEN2, L.UFOR4, L.UFOR3, L.ULEN2);
  io::write(run, LOUT, R"(("   ------    ----        ----       -----     "," ------      ------    ---------   ---------   ","---------"))");
  for (int I = 0; I <= C.NI; ++I) {
    const int K = I + 4;
    RES.X(K) = I * C.H;
    RES.DEFL(K) = STA.W(K);
    RES.SLOPE(K) = STA.SLOPE(K);
    RES.XMOM(K) = STA.XMOM(K);
    RES.SHEAR(K) = STA.SHEAR(K);
    RES.XNF(K) = STA.XNF(K);
    RES.EI(K) = STA.EI(K);
    RES.SR(K) = run.m.ITR.SR(K);
    io::write(run, LOUT, "(2X,I4,2X,1PE10.3,1P,7E12.3)", I, DEPTH(C, I), RES.DEFL(K), RES.SLOPE(K),
              RES.XMOM(K), RES.SHEAR(K), RES.SR(K), RES.XNF(K), RES.EI(K));
  }
  RES.NSTA = C.NI + 1;
}

// The stiffnesses that restraint record J gave the stations, lateral SS and rotational
// RS, under the range rule that STADAT applied to the records: in a range of positive
// span its two end stations carry half; in a chain the record carries its share of the
// interpolation in the links it ends (its value times 1 - a or a). Summed over the
// records they give SREST and RREST.
void RESSHR(const Run& run, int J, Arr<double, 1, MXSTA>& SS, Arr<double, 1, MXSTA>& RS) {
  const auto& REC = run.m.REC;
  const long long KMAX = run.m.C.NI + 6;
  SS.fill(0);
  RS.fill(0);
  RANGES(
      std::min(REC.NRES, MXRES), [&](int I) { return REC.IFROMR(I); }, [&](int I) { return REC.ITOR(I); },
      [&](int I) { return REC.ICONTR(I); },
      [&](long long IF, long long IL, int J1, int J2) {
        if (IL < IF || IF < -2 || (J1 != J && J2 != J)) return;
        const double S1 = J1 == J ? REC.SR(J1) : 0.0, S2 = J2 == J ? REC.SR(J2) : 0.0;
        const double R1 = J1 == J ? REC.RR(J1) : 0.0, R2 = J2 == J ? REC.RR(J2) : 0.0;
        RANGEW(IF + 4, IL + 4, KMAX, S1, S2, [&](int K, double V) { SS(K) += V; });
        RANGEW(IF + 4, IL + 4, KMAX, R1, R2, [&](int K, double V) { RS(K) += V; });
      });
}

// Lateral and rotational restraint results: per record, per station of its range (within
// the stations of the tables, -2..NI+2), the force and moment that the record's restraint
// exerted there: its stiffness as distributed (half at the two ends of a range) times the
// deflection and the slope. Lateral restraints at stations -2 and NI+2 exert nothing.
void RESTRAINT_RESULTS(Run& run) {
  const auto& C = run.m.C;
  const auto& REC = run.m.REC;
  const auto& STA = run.m.STA;
  const auto& L = run.m.LAB;
  const int N = std::min(REC.NRES, MXRES);
  if (N < 1) return;
  io::write(run, LOUT, R"((/,/,"     LATERAL AND ROTATIONAL RESTRAINT RESULTS",/,"     ----------------------------------------",/,/,"     STA         X             FORCE           MOMENT",/,"               ",A3,14X,A3,11X,A3,"-",A3,/,"    -----    ---------       ---------       ---------"))",
            L.ULENA, L.UFOR3, L.UFOR3, L.ULEN3);
  Arr<double, 1, MXSTA> SS, RS;
  for (int J = 1; J <= N; ++J) {
    RESSHR(run, J, SS, RS);
    const int I1 = std::max(REC.IFROMR(J), -2);
    const int I2 = std::min(REC.ITOR(J), C.NI + 2);
    for (int I = I1; I <= I2; ++I) {
      const int K = I + 4;
      const double F = K == 2 || K == C.NI + 6 ? 0.0 : SS(K) * STA.W(K);
      io::write(run, LOUT, "(3X,I5,2X,1PE12.3,3(2X,1PE15.4))", I, DEPTH(C, I), F, RS(K) * STA.SLOPE(K));
    }
  }
}

// Tie-back results: horizontal force per station, force per station along the tie back
// and force per tie back, stored for the plot output file.
void TIE_BACK_RESULTS(Run& run) {
  const auto& C = run.m.C;
  const auto& STA = run.m.STA;
  const auto& L = run.m.LAB;
  auto& TIE = run.m.TIE;
  const int NT = std::min(TIE.NTIEF, MXTIE);
  if (NT < 1) return;
  io::write(run, LOUT, R"((/,/,"     TIE BACK RESULTS",/,"     ----------------",/,/,"     N     STA         X       "," HOR.FORCE/STA.     FORCE/STA.     FORCE/TIE BACK",/,"                     ",A3,12X,A3,15X,A3,15X,A3,/,"   -----  -----    --------    "," --------------   --------------   --------------"))",
            L.ULENA, L.UFOR3, L.UFOR3, L.UFOR3);
  for (int I = 1; I <= NT; ++I) {
    const int K = TIE.KSTA(I);
    double HF, FS, FT;
    TIEFRC(C, TIE, I, STA.W(K), HF, FS, FT);
    TIE.HFORCE(I) = HF;
    TIE.FSTA(I) = FS;
    TIE.FTIE(I) = FT;
    io::write(run, LOUT, "(1X,I5,2X,I5,2X,1PE12.3,8(2X,1PE15.4))", I, K - 4, TIE.DEPTH(I), HF, FS, FT);
  }
}

// Node reactions: the net force per station at each specified point.
void NODE_REACTIONS(Run& run) {
  const auto& C = run.m.C;
  const auto& STA = run.m.STA;
  const auto& L = run.m.LAB;
  const int N = std::min(C.NPTS, MXPTS);
  if (N < 1) return;
  io::write(run, LOUT, R"((/,/,"     NODE REACTIONS",/,"     --------------",/,/,"     N     STA         X            FORCE    ",/,"                     ",A3,12X,A3,/,"   -----  -----    --------    --------------"))",
            L.ULENA, L.UFOR3);
  for (int M = 1; M <= N; ++M) {
    const int I = STA.ISTA(M);
    io::write(run, LOUT, "(1X,I5,2X,I5,2X,1PE12.3,8(2X,1PE15.4))", M, I, DEPTH(C, I), STA.XNF(I + 4));
  }
}

}  // namespace

void RESULT(Run& run) {
  const auto& ITR = run.m.ITR;
  io::write(run, LOUT, R"((/,/,"     RESULTS",/,"     -------",/,"     NUMBER OF ITERATIONS : ",I3))", ITR.ITER);
  // The failing exits: the warning in place of every table; the stored results stay.
  if (ITR.KEXIT == KXLIMN || ITR.KEXIT == KXDEFL) {
    WARNIT(run, LOUT);
    return;
  }
  if (ITR.KEXIT == KXNONE) return;
  STATION_TABLE(run);
  RESTRAINT_RESULTS(run);
  TIE_BACK_RESULTS(run);
  NODE_REACTIONS(run);
}
