// sandcore.cpp -- ultimate resistance of sand (wedge and flow failure) and the cohesive
// resistance of silt, with the coefficient tables of the sand and stiff clay curves.
// Shared by the sand and silt models and by the equivalent depth.
#include <cmath>

#include "soil/soil_impl.h"

namespace {

constexpr double K0SAND = 0.4;  // earth pressure at rest of the wedge

// The angle terms of the wedge and flow resistance for a friction angle in degrees:
// alpha = phi/2, beta = pi/4 + phi/2, Ka = tan**2(pi/4 - phi/2).
struct SandAng {
  double TP, TB, TA, TBP, SB, CA, KA, TB4, TB8;
  explicit SandAng(double PHID) {
    const double PI = PISAND;
    const double PHI = PHID * PI / 180;
    const double ALPHA = PHI / 2, BETA = PI / 4 + PHI / 2;
    TP = std::tan(PHI);
    TB = std::tan(BETA);
    TA = std::tan(ALPHA);
    TBP = std::tan(BETA - PHI);
    SB = std::sin(BETA);
    CA = std::cos(ALPHA);
    const double TK = std::tan(PI / 4 - PHI / 2);
    KA = TK * TK;
    TB4 = TB * TB * TB * TB;
    TB8 = TB4 * TB4;
  }
};

// Linear interpolation in a table of N points; the last segment extended beyond it.
double TABLIN(const double* XT, const double* VT, int N, double X) {
  if (!(X > XT[0])) return VT[0];
  int I = 1;
  while (I < N - 1 && X > XT[I]) ++I;
  return VT[I - 1] + (VT[I] - VT[I - 1]) * (X - XT[I - 1]) / (XT[I] - XT[I - 1]);
}

const double XBSAND[10] = {0, 0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0};
const double ASTAT[10] = {2.83, 2.48, 2.11, 1.76, 1.48, 1.23, 1.06, 0.90, 0.88, 0.88};
const double BSTAT[10] = {2.14, 1.83, 1.54, 1.27, 1.05, 0.86, 0.71, 0.53, 0.50, 0.50};
const double ACYC[10] = {0.75, 0.93, 1.07, 1.11, 1.03, 0.98, 0.94, 0.90, 0.88, 0.88};
const double BCYC[10] = {0.53, 0.72, 0.83, 0.86, 0.82, 0.77, 0.70, 0.55, 0.55, 0.55};
const double XBAS[6] = {0, 1, 2, 3, 4, 5};
const double ASTIFF[6] = {0.223, 0.46, 0.55, 0.59, 0.60, 0.60};
const double XBAC[4] = {0, 1, 2, 3};
const double ACSTIF[4] = {0.20, 0.29, 0.30, 0.30};

}  // namespace

double SANDA(int KSTAT, double XB) { return TABLIN(XBSAND, KSTAT == 1 ? ASTAT : ACYC, 10, XB); }
double SANDB(int KSTAT, double XB) { return TABLIN(XBSAND, KSTAT == 1 ? BSTAT : BCYC, 10, XB); }
double STIFAS(double XB) { return TABLIN(XBAS, ASTIFF, 6, XB); }
double STIFAC(double XB) { return TABLIN(XBAC, ACSTIF, 4, XB); }

void SANDPS(double PHID, double GAMMA, double X, double B, double THETA, double& PST, double& PSD) {
  PST = 0;
  PSD = 0;
  if (!(PHID > 0) || !(X > 0)) return;  // no friction or no depth: no resistance
  const SandAng AN(PHID);
  const double TP = AN.TP, TB = AN.TB, TA = AN.TA, TBP = AN.TBP, SB = AN.SB, CA = AN.CA;
  const double KA = AN.KA, K0 = K0SAND, TB4 = AN.TB4, TB8 = AN.TB8;
  // Step 3: flow failure.
  PSD = KA * B * GAMMA * X * (TB8 - 1) + K0 * B * GAMMA * X * TP * TB4;
  // Step 1: wedge failure, flat ground; step 2: sloping ground.
  if (THETA == 0) {
    PST = GAMMA * X *
          (K0 * X * TP * SB / (TBP * CA) + TB / TBP * (B + X * TB * TA) + K0 * X * TB * (TP * SB - TA) - KA * B);
  } else {
    const double TT = std::tan(THETA);
    const double DEN = 1 + TT * TB;
    if (!(DEN > 1.0E-10)) {  // the wedge cannot form on so steep a slope: flow governs
      PST = PSD;
      return;
    }
    const double T = TT * TB / DEN, F = 1 + T * T * (4 * T - 3), G = 1 / DEN;
    PST = GAMMA * X *
          (F * K0 * X * TP * SB / (TBP * CA) + F * K0 * X * TB * (TP * SB - TA) + TB / TBP * (B + X * TB * TA * G) * G -
           KA * B);
  }
}

void SANDCF(double PHID, double B, double& A1, double& A2, double& D1) {
  A1 = A2 = D1 = 0;
  if (!(PHID > 0)) return;
  const SandAng AN(PHID);
  const double TP = AN.TP, TB = AN.TB, TA = AN.TA, TBP = AN.TBP, SB = AN.SB, CA = AN.CA;
  const double KA = AN.KA, K0 = K0SAND, TB4 = AN.TB4, TB8 = AN.TB8;
  A1 = K0 * TP * SB / (TBP * CA) + TB / TBP * TB * TA + K0 * TB * (TP * SB - TA);
  A2 = TB / TBP * B - KA * B;
  D1 = KA * B * (TB8 - 1) + K0 * B * TP * TB4;
}

double SILTPC(double C, double GAMMA, double X, double B, double THETA) {
  if (!(C > 0)) return 0;
  double NP = GAMMA * X / C + 3 + 0.5 * X / B;
  if (THETA > 1.0E-20) NP = NP * (1 / (1 + std::tan(THETA)));
  return NP >= 9 ? 9 * C * B : NP * C * B;
}
