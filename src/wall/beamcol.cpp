// beamcol.cpp -- the finite-difference beam-column solver: coding of the specified
// deflection and slope points, one solution by a forward sweep of recursion coefficients
// and a backward sweep of substitution, and the derived results of the last solution.
#include <cassert>
#include <cmath>

#include "wall/wall_impl.h"

namespace {

// Step 1: the coefficients of the difference equation at one station,
//   a W(K-2) + b W(K-1) + c W(K) + d W(K+1) + e W(K+2) = f,
// from EI, P, R and T of the station's two neighbours (M, P) and itself (0), and the
// station's spring and load of this solution. HQ = 0.25h, HSQ2 = 0.5h**2.
struct Coef {
  double a, b, c, d, e, f;
};
inline Coef EQCOEF(double H, double H3, double HSQ2, double HQ, double FM, double F0, double FP, double PM,
                   double PP, double RM, double RP, double TM, double TP, double SWK, double QWK) {
  Coef q;
  q.a = FM - HQ * (H * PM + RM);
  q.b = -2 * (FM + F0);
  q.c = FM + 4 * F0 + FP + H3 * SWK + HQ * (H * (PM + PP) + RM + RP);
  q.d = -2 * (F0 + FP);
  q.e = FP - HQ * (H * PP + RP);
  q.f = H3 * QWK - HSQ2 * (TM - TP);
  return q;
}

}  // namespace

void SETKOD(Run& run, int M) {
  [[maybe_unused]] const Control& C = run.m.C;  // for the range checks
  Stations& STA = run.m.STA;
  auto& KODE = STA.KODE;
  auto& KPT = STA.KPT;
  assert(1 <= M && M <= MXPTS);
  assert(1 <= C.NI && C.NI <= MXNI);
  const int KASE = STA.KASE(M);
  const int K = STA.ISTA(M) + 4;
  if (KASE < 2) {
    // Deflection: stations -1..NI+1, inside the sweep K = 3..NI+5.
    assert(3 <= K && K <= C.NI + 5);
    KODE(K) = 2;
    KPT(K) = M;
  } else {
    // Slope, or deflection and slope: stations 0..NI, so that the slope condition
    // (codes 3 and 5 at K-1 and K+1) lies inside the sweep.
    assert(4 <= K && K <= C.NI + 4);
    KODE(K - 1) = 3;
    KPT(K - 1) = M;
    if (KASE >= 3) {
      KODE(K) = 4;
      KPT(K) = M;
    }
    KODE(K + 1) = 5;
    KPT(K + 1) = M;
  }
}

void BEAMCOL(Run& run) {
  const Control& C = run.m.C;
  Stations& STA = run.m.STA;
  const auto& EI = STA.EI;
  const auto& P = STA.P;
  const auto& R = STA.R;
  const auto& T = STA.T;
  const auto& QW = STA.QW;
  const auto& SW = STA.SW;
  const auto& KODE = STA.KODE;
  const auto& KPT = STA.KPT;
  const auto& SPDEF = STA.SPDEF;
  const auto& SPSLP = STA.SPSLP;
  auto& AR = STA.AR;
  auto& BR = STA.BR;
  auto& CR = STA.CR;
  auto& W = STA.W;

  const int NI = C.NI;
  assert(1 <= NI && NI <= MXNI);
  assert(C.H > 0);
  const double H = C.H;
  const double H2 = C.H2;
  const double H3 = C.H3;
  const double H2X = 2 * H;         // 2h
  const double HSQ2 = 0.5 * H2;     // 0.5h**2
  const double HQ = 0.25 * H;       // 0.25h

  // Step 1 and 2: coefficients a..f of the difference equation at K, eliminated at once.
  //   a W(K-2) + b W(K-1) + c W(K) + d W(K+1) + e W(K+2) = f
  // gives W(K) = AR(K) + BR(K) W(K+1) + CR(K) W(K+2). The recursion of K = 1, 2 is zero.
  // The neighbours' tables and the last two triples are carried in locals.
  AR(1) = 0; BR(1) = 0; CR(1) = 0;
  AR(2) = 0; BR(2) = 0; CR(2) = 0;
  double A2 = 0, B2 = 0, C2 = 0;  // AR, BR, CR of K-2
  double A1 = 0, B1 = 0, C1 = 0;  // AR, BR, CR of K-1
  double FM = EI(2), F0 = EI(3);  // EI of K-1, K
  double PM = P(2), P0 = P(3);
  double RM = R(2), R0 = R(3);
  double TM = T(2), T0 = T(3);
  // Held recursion of the last slope-start station (code 3), used at its code 5.
  double AH = 0, BH = 0, CH = 0, TH = 0;

  for (int K = 3; K <= NI + 5; ++K) {
    const double FP = EI(K + 1), PP = P(K + 1), RP = R(K + 1), TP = T(K + 1);
    const auto [a, b, c, d, e, f] = EQCOEF(H, H3, HSQ2, HQ, FM, F0, FP, PM, PP, RM, RP, TM, TP, SW(K), QW(K));

    const double E = b + a * B2;
    const double D = c + a * C2 + E * B1;
    const double t = D == 0 ? 0.0 : -1 / D;  // zero pivot: zero recursion, no message
    double CK = t * e;
    double BK = t * (d + E * C1);
    double AK = t * (a * A2 + E * A1 - f);

    // Step 3: the specified conditions; KPT names the point whose values apply.
    switch (KODE(K)) {
      case 2:  // deflection fixed
      case 4:  // deflection fixed inside a deflection-and-slope condition
        CK = 0;
        BK = 0;
        AK = SPDEF(KPT(K));
        break;
      case 3:
        // Slope start: the equation at K is replaced by W(K) = W(K+2) - 2h*slope. The
        // station's own recursion, as eliminated above, is held for the slope end: the
        // equations at K and K+2 share the unknown restraining couple, and only this
        // triple lets code 5 eliminate it exactly.
        AH = AK;
        BH = BK;
        CH = CK;
        TH = t;
        CK = 1;
        BK = 0;
        AK = -H2X * SPSLP(KPT(K));
        break;
      case 5: {
        // Slope end: eliminate the restraining couple with the held recursion. A zero
        // pivot at either end of the condition leaves no couple to eliminate (g = 0); a
        // zero divisor below gives a zero recursion, as a zero pivot does.
        const double g = TH == 0 ? 0.0 : t / TH;
        const double DZ = 1 - g * (CH - 1 + B1 * BH);
        const double z = DZ == 0 ? 0.0 : 1 / DZ;
        CK = z * CK;
        BK = z * (BK + g * C1 * BH);
        AK = z * (AK + g * (H2X * SPSLP(KPT(K)) + AH + A1 * BH));
        break;
      }
      default:  // 1 and any other code: ordinary station
        break;
    }
    AR(K) = AK;
    BR(K) = BK;
    CR(K) = CK;
    A2 = A1; B2 = B1; C2 = C1;
    A1 = AK; B1 = BK; C1 = CK;
    FM = F0; F0 = FP;
    PM = P0; P0 = PP;
    RM = R0; R0 = RP;
    TM = T0; T0 = TP;
  }

  // Step 4: backward sweep. W(NI+6), W(NI+7) are zero during the iterations. The
  // counters cover stations 0..NI and compare with the deflection held before this solution.
  const double TOL = C.TOL;
  const double DMAX = C.DMAX;
  W(NI + 7) = 0;
  W(NI + 6) = 0;
  double W2 = 0;  // W(K+2), first W(NI+7)
  double W1 = 0;  // W(K+1), first W(NI+6)
  const double WE = AR(NI + 5) + BR(NI + 5) * W1 + CR(NI + 5) * W2;
  W(NI + 5) = WE;
  W2 = W1;
  W1 = WE;
  double DWMAX = 0;
  int NCLOSE = 0;
  int NEXCEED = 0;
  for (int K = NI + 4; K >= 4; --K) {
    const double WN = AR(K) + BR(K) * W1 + CR(K) * W2;
    const double DW = std::fabs(WN - W(K));
    if (DW > DWMAX) DWMAX = DW;
    if (DW > TOL) ++NCLOSE;
    if (std::fabs(WN) > DMAX) ++NEXCEED;
    W(K) = WN;
    W2 = W1;
    W1 = WN;
  }
  W(3) = AR(3) + BR(3) * W1 + CR(3) * W2;
  STA.DWMAX = DWMAX;
  STA.NCLOSE = NCLOSE;
  STA.NEXCEED = NEXCEED;
}

namespace {

// Residual a W(K-2) + b W(K-1) + c W(K) + d W(K+1) + e W(K+2) - f of the difference
// equation at K with the tables of the last solution and the deflections given.
double EQRES(const Control& C, const Stations& STA, int K, const double (&WK)[5]) {
  const auto& EI = STA.EI;
  const auto& P = STA.P;
  const auto& R = STA.R;
  const auto& T = STA.T;
  const auto [a, b, c, d, e, f] = EQCOEF(C.H, C.H3, 0.5 * C.H2, 0.25 * C.H, EI(K - 1), EI(K), EI(K + 1), P(K - 1),
                                         P(K + 1), R(K - 1), R(K + 1), T(K - 1), T(K + 1), STA.SW(K), STA.QW(K));
  return a * WK[0] + b * WK[1] + c * WK[2] + d * WK[3] + e * WK[4] - f;
}

}  // namespace

void STARES(Run& run) {
  const Control& C = run.m.C;
  Stations& STA = run.m.STA;
  const auto& EI = STA.EI;
  const auto& R = STA.R;
  const auto& T = STA.T;
  const auto& KODE = STA.KODE;
  const auto& KCOUP = STA.KCOUP;
  const auto& CCOUP = STA.CCOUP;
  auto& W = STA.W;
  auto& SLOPE = STA.SLOPE;
  auto& XMOM = STA.XMOM;
  auto& SHEAR = STA.SHEAR;
  auto& XNF = STA.XNF;

  const int NI = C.NI;
  assert(1 <= NI && NI <= MXNI);
  assert(C.H > 0);
  assert(0 <= STA.NCOUP && STA.NCOUP <= MXREC4);
  const double H = C.H;
  const double H2 = C.H2;
  const double H2X = 2 * H;
  const int NCOUP = STA.NCOUP;
  const int KT = 4, KB = NI + 4;  // the end stations 0 and NI

  // The couples at the end stations beyond the applied ones of the couple list: the
  // rotational restraint's R*slope and the couple that holds a slope specified there.
  // The slope condition took the place of the equation of the outer neighbour (station
  // -1 or NI+1), which receives +h**2/2 (top) or -h**2/2 (bottom) times the holding
  // couple; its residual with the deflections of the solution (zero beyond the stations
  // solved) gives that couple.
  double CT = R(KT) * (W(KT + 1) - W(KT - 1)) / H2X;
  double CB = R(KB) * (W(KB + 1) - W(KB - 1)) / H2X;
  if (KODE(KT - 1) == 3) CT = CT + 2 * EQRES(C, STA, KT - 1, {0.0, 0.0, W(3), W(4), W(5)}) / H2;
  if (KODE(KB + 1) == 5) CB = CB - 2 * EQRES(C, STA, KB + 1, {W(NI + 3), W(NI + 4), W(NI + 5), 0.0, 0.0}) / H2;

  // Step 5: stations -2 and NI+2 on the straight line through their two neighbours.
  W(2) = 2 * W(3) - W(4);
  W(NI + 6) = 2 * W(NI + 5) - W(NI + 4);

  // A couple CC/(2h) at station J makes the moment jump there: take its share out of the
  // central differences at J-1, J and J+1 (station K).
  const auto COUPLE = [&](int K, int J, double CC, double& V, double& XN) {
    if (J == K - 1) {
      XN = XN + CC;
      V = V - 0.5 * CC;
    }
    if (J == K + 1) {
      XN = XN - CC;
      V = V - 0.5 * CC;
    }
    if (J == K) V = V - CC;
  };

  // Step 6: slope, moment, shear and net force at stations -1..NI+1. The moment is
  // computed one station ahead; that of stations -2 and -1 is zero, never computed.
  double XMM = 0;  // moment of K-1
  double XM0 = 0;  // moment of K
  for (int K = 3; K <= NI + 5; ++K) {
    const double XMP = EI(K + 1) * (W(K) - 2 * W(K + 1) + W(K + 2)) / H2;
    SLOPE(K) = (W(K + 1) - W(K - 1)) / H2X;
    double V = (XMP - XMM) / H2X;
    double XN = (XMM - 2 * XM0 + XMP) / H;
    for (int N = 1; N <= NCOUP; ++N) COUPLE(K, KCOUP(N), CCOUP(N), V, XN);
    if (CT != 0) COUPLE(K, KT, CT / H2X, V, XN);
    if (CB != 0) COUPLE(K, KB, CB / H2X, V, XN);
    XMOM(K) = XM0;
    SHEAR(K) = V;
    XNF(K) = XN;
    XMM = XM0;
    XM0 = XMP;
  }

  // The moment of an end station is the moment just inside the wall. The second
  // difference gives the mean of the moments on either side of a couple, and beyond an
  // end the moment is zero: the whole couple at the end adds half of itself (as T enters
  // the equations, +C/2 at the top and -C/2 at the bottom).
  const double MT = T(KT) + CT, MB = T(KB) + CB;
  if (MT != 0) XMOM(KT) = XMOM(KT) + 0.5 * MT;
  if (MB != 0) XMOM(KB) = XMOM(KB) - 0.5 * MB;

  // What the restraints exerted. The solution holds springs at stations -1..NI+1 and the
  // rotational springs of stations -2..NI+2 through their neighbours' equations, with the
  // slope of station -2 taken from W(-3) = 0 and that of NI+2 from W(NI+3) = 0.
  SLOPE(2) = (W(3) - W(1)) / H2X;
  SLOPE(NI + 6) = (W(NI + 7) - W(NI + 5)) / H2X;
  for (int K = 2; K <= NI + 6; ++K) {
    STA.FREST(K) = K == 2 || K == NI + 6 ? 0.0 : STA.SREST(K) * W(K);
    STA.MREST(K) = STA.RREST(K) * SLOPE(K);
  }
}
