// iterate.cpp -- the nonlinear iteration of one problem: the support curves linearised
// about the current deflections, one solution of the beam-column per iteration, closure
// of the deflections after at least three solutions, damping of a two-cycle oscillation,
// the secant rigidity of nonlinear sections and the hinge model at the tie backs.
#include <algorithm>
#include <cmath>
#include <string>

#include "report/report.h"
#include "wall/ranges.h"
#include "wall/wall_impl.h"

namespace {

const double PHIMIN = 1.0E-8f;  // curvature below which the first secant of a table holds

// Step 2, once per problem: the ranges of the support-curve records from their CONTD
// chains, each cut at the bottom station. The records are checked first: a negative
// CONTD ends the run silently; a curve needs two to MXCPT points with deflections that
// do not decrease.
void LINKS(Run& run) {
  auto& CRV = run.m.CRV;
  auto& ITR = run.m.ITR;
  const int N = std::clamp(CRV.NCRV, 0, MXCRV);
  const int KB = run.m.C.NI + 4;  // bottom station
  for (int J = 1; J <= N; ++J) {
    if (CRV.CONTD(J) < 0) ENDSIL(run);
    const int NP = CRV.POINTS(J);
    if (NP < 2 || NP > MXCPT)
      INPERR(run, "ERROR -- SUPPORT CURVE " + std::to_string(J) + " HAS " + std::to_string(NP) +
                      " POINTS, NOT 2 TO " + std::to_string(MXCPT));
    for (int I = 2; I <= NP; ++I)
      if (!(CRV.Y(J, I) >= CRV.Y(J, I - 1)))
        INPERR(run, "ERROR -- THE DEFLECTIONS OF SUPPORT CURVE " + std::to_string(J) +
                        " ARE NOT IN INCREASING ORDER");
    QWFORM(CRV, J);
  }
  ITR.NLINK = 0;
  RANGES(
      N, [&](int J) { return CRV.FROM(J); }, [&](int J) { return CRV.TO(J); },
      [&](int J) { return CRV.CONTD(J); },
      [&](long long F, long long L, int J1, int J2) {
        const long long G = L - F;
        if (G < 0) NOTORD(run);
        // A range starting at the bottom station or below adds nothing; a single
        // station at the bottom is applied.
        if (G > 0 ? F >= KB : F > KB) return;
        const int NL = ++ITR.NLINK;
        ITR.LF(NL) = static_cast<int>(F);
        ITR.LG(NL) = static_cast<int>(G);
        ITR.LK1(NL) = static_cast<int>(std::max(F, 3LL));  // the solution starts at K = 3
        ITR.LK2(NL) = static_cast<int>(std::min(L, static_cast<long long>(KB)));
        ITR.LC1(NL) = J1;
        ITR.LC2(NL) = J2;
      });
}

// Steps 2 and 3: every range adds, at each of its stations K with weight G, the curves of
// its two ends linearised at W(K) and interpolated along the range: load to QW, spring to
// SW, force per unit length to SR. The two ends of a range of positive span take weight
// 1, then -0.5 again, so that they carry half.
void LINEAR(Run& run) {
  auto& CRV = run.m.CRV;
  const auto& ITR = run.m.ITR;
  const double H = run.m.C.H;
  auto& STA = run.m.STA;
  auto& SR = run.m.ITR.SR;
  for (int L = 1; L <= ITR.NLINK; ++L) {
    const int F = ITR.LF(L), G = ITR.LG(L), K1 = ITR.LK1(L), K2 = ITR.LK2(L);
    const int J1 = ITR.LC1(L), J2 = ITR.LC2(L);
    const auto ADD = [&](int K, double WT) {
      double M1, B1, Q1, M2, B2, Q2;
      const double W = STA.W(K);
      QWLIN(CRV, J1, W, M1, B1, Q1);
      if (J2 != J1) {
        QWLIN(CRV, J2, W, M2, B2, Q2);
      } else {
        M2 = M1;
        B2 = B1;
        Q2 = Q1;
      }
      const double A = G > 0 ? static_cast<double>(K - F) / G : 0.0;
      STA.QW(K) += WT * (B1 + (B2 - B1) * A);
      STA.SW(K) += WT * (-M1 + (-M2 + M1) * A);
      SR(K) += WT * (Q1 + (Q2 - Q1) * A) / H;
    };
    for (int K = K1; K <= K2; ++K) ADD(K, 1.0);
    if (G > 0) {
      if (K1 == F) ADD(F, -0.5);
      ADD(K2, -0.5);
    }
  }
}

// Step 12: flexural rigidity of stations 0..NI from the wall sections in force, at the
// station depth z (feet in English units, as the wall sections are given). Elastic
// sections interpolate E*I between the top and the bottom of their cross section;
// nonlinear sections take the secant M/phi of their moment-curvature table at the
// station's curvature.
void RIGID(Run& run) {
  const auto& C = run.m.C;
  const auto& WS = run.m.WS;
  const auto& CS = run.m.CS;
  const auto& NEI = run.m.NEI;
  auto& STA = run.m.STA;
  auto& EI = STA.EI;
  const auto& W = STA.W;
  const int NS = std::min(run.m.ITR.NSECF, MXSECT);
  if (NS < 1) return;
  const double DZ = C.IUNIT == ENGLISH ? C.H / 12 : C.H;
  double Z = 0;
  for (int I = 0; I <= C.NI; ++I, Z += DZ) {
    const int K = I + 4;
    // The wall section of the station: 1 at its top, the last at its bottom, else the
    // first whose bottom is at or below z, interpolated within it.
    int N = 1;
    int MODE = 0;  // 0 the section's top, 1 its bottom, 2 interpolated
    if (Z <= WS.XTOP(1)) {
      N = 1;
    } else if (Z >= WS.XBOT(NS)) {
      N = NS;
      MODE = 1;
    } else {
      while (N < NS && Z > WS.XBOT(N)) ++N;
      MODE = WS.XBOT(N) != WS.XTOP(N) ? 2 : 0;
    }
    const int IS = WS.ISEC(N);
    if (IS < 1 || IS > MXCROS) continue;
    if (CS.INONL(IS) == 0) {
      const double EIT = CS.EMT(IS) * CS.XIT(IS);
      const double EIB = CS.EMB(IS) * CS.XIB(IS);
      EI(K) = MODE == 0   ? EIT
              : MODE == 1 ? EIB
                          : EIT + (EIB - EIT) * (Z - WS.XTOP(N)) / (WS.XBOT(N) - WS.XTOP(N));
      continue;
    }
    const int NMP = std::min(NEI.NMP(IS), MXEIP);
    if (NMP < 2) continue;  // no table: the rigidity stays
    const double PHI = std::fabs(W(K - 1) - 2 * W(K) + W(K + 1)) / C.H2;
    const auto& CV = NEI.CURV;
    const auto& BM = NEI.BM;
    double E = 0;
    if (PHI <= PHIMIN) {
      if (CV(IS, 2) == 0) continue;
      E = BM(IS, 2) / CV(IS, 2);
    } else if (PHI >= CV(IS, NMP)) {
      if (CV(IS, NMP) == 0) continue;
      E = BM(IS, NMP) / CV(IS, NMP);
    } else {
      int M = 2;
      while (M < NMP && PHI > CV(IS, M)) ++M;
      const double DC = CV(IS, M) - CV(IS, M - 1);
      const double XM = DC != 0 ? BM(IS, M - 1) + (BM(IS, M) - BM(IS, M - 1)) * (PHI - CV(IS, M - 1)) / DC
                                : BM(IS, M);
      E = XM / PHI;
    }
    EI(K) = E;
  }
}

// Step 13: the hinge model, zero rigidity at the station of every tie back in force but
// the top one (the shallowest; the first of them at equal depths). A tie back at the top
// one's station leaves it as it is.
void HINGE(Run& run) {
  const auto& TIE = run.m.TIE;
  auto& EI = run.m.STA.EI;
  const int NT = std::min(TIE.NTIEF, MXTIE);
  if (run.m.C.KHINGE != 1 || NT < 1) return;
  int ITOP = 1;
  for (int I = 2; I <= NT; ++I)
    if (TIE.DEPTH(I) < TIE.DEPTH(ITOP)) ITOP = I;
  for (int I = 1; I <= NT; ++I)
    if (TIE.KSTA(I) != TIE.KSTA(ITOP)) EI(TIE.KSTA(I)) = 0;
}

// The iteration-log line: ITER, the solver's count of stations not closed, the largest
// change, and the deflections of stations 0 to 3 (zero for a station below the wall).
void LOGLIN(Run& run) {
  const auto& STA = run.m.STA;
  const int NI = run.m.C.NI;
  double WM[4];
  for (int I = 0; I < 4; ++I) WM[I] = I <= NI ? STA.W(I + 4) : 0.0;
  io::write(run, LLOG, "(3X,I4,6X,I4,6X,1P,5E12.3)", run.m.ITR.ITER, STA.NCLOSE, STA.DWMAX, WM[0], WM[1],
            WM[2], WM[3]);
}

// A solution out of the range of the numbers ends the run where it arises, before the
// log or the report shows it: the first station K (of 4..NI+4) of TAB that is not finite
// is named with the problem's records, all of which (and the tables it keeps) enter it.
void SOLFIN(Run& run, const Table<double, 1, MXSTA>& TAB, const char* WHAT) {
  const int KB = run.m.C.NI + 4;
  for (int K = 4; K <= KB; ++K) {
    if (std::isfinite(TAB(K))) continue;
    const int L1 = run.m.D.LPROB, L2 = run.u.line(LINP) - 1;
    std::string REC = "the records of problem " + std::to_string(run.m.D.NPROB);
    if (L1 > 0 && L2 >= L1)
      REC = run.u.path(LINP) + ", lines " + std::to_string(L1) + " to " + std::to_string(L2) + ": " + REC;
    NONFIN(run, std::string(WHAT) + " AT STATION " + std::to_string(K - 4) + " IN ITERATION " +
                    std::to_string(run.m.ITR.ITER), REC);
  }
}

}  // namespace

void QWFORM(Curves& CRV, int J) {
  // The segments, formed as QWSEG forms them, once for the problem.
  for (int I = 2; I <= CRV.POINTS(J); ++I) {
    const double YA = CRV.Y(J, I - 1), FA = CRV.F(J, I - 1);
    const double YB = CRV.Y(J, I), FB = CRV.F(J, I);
    const bool ZERO = YB == YA;
    CRV.SLP(J, I) = ZERO ? 0.0 : (FB - FA) / (YB - YA);
    CRV.BIC(J, I) = ZERO ? 0.0 : FA - CRV.SLP(J, I) * YA;
    CRV.FSA(J, I) = ZERO ? 0.0 : FA;
  }
  CRV.ISEG(J) = 2;
}

void QWLIN(Curves& CRV, int J, double W, double& M, double& B, double& Q) {
  const int NP = CRV.POINTS(J);
  // The same segment as QWSEG finds, searched from the one used last: the deflection of
  // a station changes little from one solution to the next, nor from one station to the
  // next along a range.
  int I = NP;
  if (W <= CRV.Y(J, NP)) {
    I = std::clamp(CRV.ISEG(J), 2, NP);
    if (W <= CRV.Y(J, I)) {
      while (I > 2 && W <= CRV.Y(J, I - 1)) --I;
    } else {
      while (W > CRV.Y(J, I)) ++I;
    }
  }
  CRV.ISEG(J) = I;
  M = CRV.SLP(J, I);
  B = CRV.BIC(J, I);
  Q = CRV.FSA(J, I) + M * (W - CRV.Y(J, I - 1));
}

void QWSEG(const Curves& CRV, int J, double W, double& M, double& B, double& Q) {
  const int NP = CRV.POINTS(J);
  // First point I >= 2 with W <= Y(I) (the deflections do not decrease); none: the last.
  int I = NP;
  if (W <= CRV.Y(J, NP)) {
    int LO = 2, HI = NP;
    while (LO < HI) {
      const int MID = (LO + HI) / 2;
      if (W <= CRV.Y(J, MID)) {
        HI = MID;
      } else {
        LO = MID + 1;
      }
    }
    I = LO;
  }
  const double YA = CRV.Y(J, I - 1), FA = CRV.F(J, I - 1);
  const double YB = CRV.Y(J, I), FB = CRV.F(J, I);
  if (YB == YA) {
    M = 0;
    B = 0;
    Q = 0;
    return;
  }
  M = (FB - FA) / (YB - YA);
  Q = FA + M * (W - YA);
  B = FA - M * YA;
}

// The divisor m runs 2, 4, 8, ... as the largest power of two not above NDAMP + 1, so
// that u = (NDAMP - m + 1.5)/m visits the odd multiples of 1/(2m) in (0, 1) level by level
// and never leaves the interval (without the doubling beyond 64, u would exceed 1 from
// the 127th step on). 1/m is formed in single precision, exact for powers of two.
double DAMPU(int NDAMP) {
  if (NDAMP <= 0) return 0.5;
  long long M = 2;
  while (2 * M <= static_cast<long long>(NDAMP) + 1) M *= 2;
  return (NDAMP - M + 1.5) * static_cast<double>(1.0f / static_cast<float>(M));
}

void WARNIT(Run& run, int IU) {
  const int KEXIT = run.m.ITR.KEXIT;
  if (KEXIT == KXLIMN) {
    io::write(run, IU, R"((/,"     ***** MAXIMUM NUMBER OF ITERATIONS  REACHED *****",/,"     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED"," TOLERANCE *****"))");
  } else if (KEXIT == KXDEFL) {
    io::write(run, IU, R"((/,"     ***** MAX ALLOWABLE DEFLECTION EXCEEDED AT ***",I4,"  *** STATIONS *****"))",
              run.m.STA.NEXCEED);
  }
}

void ITERAT(Run& run) {
  const auto& C = run.m.C;
  auto& STA = run.m.STA;
  auto& ITR = run.m.ITR;
  auto& W = STA.W;
  const int NI = C.NI;
  const int KB = NI + 4;
  // Per problem: no deflections yet, no history, no damping.
  W.fill(0);
  ITR.WOLD1.fill(0);
  ITR.WOLD2.fill(0);
  ITR.WOLD3.fill(0);
  ITR.NDAMP = 0;
  ITR.ITER = 1;
  ITR.NCLOSE = 0;
  int LIMIT = C.ITMAX;
  if (C.ITMAX != 0) {
    io::write(run, LLOG, R"((/,/,"     ITERATION MONITORING",/,"     --------------------",/,/,"    ITER     NODES      MAX. CHANGE     DEF.  ","      DEF.        DEF.        DEF. ",/,"            EXC. TOL.    DEFLECTION    NODE 0 ","     NODE 1      NODE 2      NODE 3",/,"    ----    ---------   -----------    ------ ","     ------      ------      ------"))");
  } else {
    io::list_write(run, LLOG);
    LIMIT = 1;
  }
  LINKS(run);
  for (;;) {
    // Step 1: the tables of this solution start from the station data.
    for (int K = 3; K <= NI + 5; ++K) {
      STA.QW(K) = STA.Q(K);
      STA.SW(K) = STA.S(K);
      ITR.SR(K) = 0;
    }
    // Steps 2 to 4: supports linearised about the current deflections; one solution.
    LINEAR(run);
    BEAMCOL(run);
    SOLFIN(run, W, "THE DEFLECTION");
    if (run.host != nullptr && run.host->iteration != nullptr)  // the host's progress line
      run.host->iteration(run.host->ctx, run.m.D.NPROB, ITR.ITER);
    // Step 5: one linear solution.
    if (C.ITMAX == 0) {
      ITR.KEXIT = KXLIN;
      ITR.ITER = 1;
      break;
    }
    // Steps 6 and 7: the log line; a deflection beyond the allowable ends the problem.
    LOGLIN(run);
    if (STA.NEXCEED > 0) {
      ITR.KEXIT = KXDEFL;
      WARNIT(run, LLOG);
      break;
    }
    // Step 8: stations not closed against the last accepted deflections (a deflection
    // that is not a number never closes).
    int NCLOSE = 0;
    for (int K = 4; K <= KB; ++K)
      if (!(std::fabs(W(K) - ITR.WOLD1(K)) <= C.TOL)) ++NCLOSE;
    ITR.NCLOSE = NCLOSE;
    // Steps 9 and 10: closure from the third solution on; damping of a two-cycle
    // oscillation from iteration 41 on.
    if (ITR.ITER > 2) {
      if (NCLOSE == 0) {
        ITR.KEXIT = KXCONV;
        break;
      }
      if (ITR.ITER >= 41) {
        bool CYCLE = true;
        for (int K = 4; K <= KB && CYCLE; ++K)
          CYCLE = std::fabs(W(K) - ITR.WOLD2(K)) <= C.TOL && std::fabs(ITR.WOLD1(K) - ITR.WOLD3(K)) <= C.TOL;
        if (CYCLE) {
          const double U = DAMPU(ITR.NDAMP);
          for (int K = 4; K <= KB; ++K) W(K) = U * W(K) + (1 - U) * ITR.WOLD1(K);
          ITR.NDAMP = ITR.NDAMP + 1;
        }
      }
    }
    // Step 11: history.
    for (int K = 4; K <= KB; ++K) {
      if (ITR.ITER >= 4) ITR.WOLD3(K) = ITR.WOLD2(K);
      if (ITR.ITER >= 3) ITR.WOLD2(K) = ITR.WOLD1(K);
      ITR.WOLD1(K) = W(K);
    }
    // Steps 12 and 13: rigidity of the next solution.
    RIGID(run);
    HINGE(run);
    // Step 14: the iteration limit.
    if (ITR.ITER >= LIMIT) {
      ITR.KEXIT = NCLOSE == 0 ? KXLIMC : KXLIMN;
      WARNIT(run, LLOG);
      break;
    }
    ITR.ITER = ITR.ITER + 1;
  }
  STARES(run);
  // The results tables follow unless the iteration ended in a warning.
  if (ITR.KEXIT != KXLIMN && ITR.KEXIT != KXDEFL) {
    SOLFIN(run, STA.SLOPE, "THE SLOPE");
    SOLFIN(run, STA.XMOM, "THE MOMENT");
    SOLFIN(run, STA.SHEAR, "THE SHEAR");
    SOLFIN(run, STA.XNF, "THE NET FORCE");
    SOLFIN(run, ITR.SR, "THE SOIL REACTION");
    SOLFIN(run, STA.EI, "THE FLEXURAL RIGIDITY");
  }
}
