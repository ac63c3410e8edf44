// surprs.cpp -- lateral pressure of surface loads on the backfill: point and line loads
// by the NAVFAC forms, strip loads by the elastic solution, all with the free height as
// reference length. SURPRS sums the surcharge list at one depth; SURLAY integrates the
// single-load values over one layer for the layer forces.
#include <cmath>

#include "pressure/pressure_impl.h"
#include "report/report.h"

namespace {

// Point load P at M = x/H, depth ratio N = z/H.
double PPOINT(double P, double M, double N, double H) {
  const double M2 = M * M, N2 = N * N;
  if (M > 0.4f) {
    const double S = M2 + N2;
    return 1.77f * P * M2 * N2 / (H * H * (S * S * S));
  }
  const double S = 0.16f + N2;
  return 0.28f * P * N2 / (H * H * (S * S * S));
}

// Line load V (force per length) as SURPRS takes it.
double PLINE(double V, double M, double N, double H) {
  const double M2 = M * M, N2 = N * N;
  if (M > 0.4f) {
    const double S = M2 + N2;
    return 4 * V * M2 * N / (PI_SINGLE * H * (S * S));
  }
  const double S = 0.16f + N2;
  return 0.203f * V * N / (H * (S * S));
}

// Line load V as the layer forces take it.
double PLINEF(double V, double M, double N, double H) {
  const double M2 = M * M, N2 = N * N;
  if (M > 0.4f) {
    const double S = M2 + N2;
    return 1.273f * V * M2 * N / (H * (S * S));
  }
  const double S = 0.16f + N2;
  return 0.203f * V * N / (H * (S * S));
}

// Strip load Q of width B whose middle is at distance X, at depth Z; C is 2/pi.
double PSTRIP(double C, double Q, double X, double B, double Z) {
  const double A1 = std::atan((X - B / 2) / Z);
  const double A2 = std::atan((X + B / 2) / Z);
  const double BET = A2 - A1;
  return C * Q * (BET - std::sin(BET) * std::cos(A1 + A2));
}

}  // namespace

double SURREF(Run& run) {
  const double HF = run.m.EP.HFREE;
  // The point and line forms divide by the free height; a wall without free height has
  // no reference length for them.
  if (!(HF >= 1.0E-6f))
    INPERR(run, "ERROR -- FREE HEIGHT OF WALL IS LESS THAN 1.0E-06: SURCHARGE LOADS NEED A FREE HEIGHT (" +
                    ATLINE("WALL RECORD", run.m.SOIL.LWALL) + ")");
  return HF;
}

void SURPRS(Run& run, double Z) {
  auto& EP = run.m.EP;
  const auto& SOIL = run.m.SOIL;
  const auto& C = run.m.C;
  // Step 1: no surcharge rows.
  EP.SIGMAH = 0;
  EP.QSHRP = 0;
  EP.QMOMP = 0;
  EP.QMOMH = 0;
  const int NSUR = SOIL.NSUR < MXSUR ? SOIL.NSUR : MXSUR;
  if (NSUR <= 0) return;
  // Step 2: the reference height.
  const double H = SURREF(run);
  // Step 3: 200 samples over the wall length.
  const double DZ = C.H * C.NI / 200;
  // Steps 4 and 5: every listed load at the effective depth.
  for (int I = 1; I <= NSUR; ++I) {
    const double Q = SOIL.SLOAD(I) * SOIL.SFACT(I);
    const double ZE = Z + SOIL.SVERT(I);
    const double X = SOIL.SDIST(I);
    const double M = X / H;
    double PLAST = 0;
    for (int K = 1; K <= 200; ++K) {
      const double ZK = K * DZ;
      if (!(ZK < ZE)) break;
      const double N = ZK / H;
      double PK;
      if (SOIL.KSUR(I) == 2) {
        PK = PLINE(Q, M, N, H);
      } else if (SOIL.KSUR(I) == 3) {
        PK = PSTRIP(TWO_OVER_PI_SINGLE, Q, X, SOIL.SWIDTH(I), ZK);
      } else {
        PK = PPOINT(Q, M, N, H);
      }
      EP.QSHRP += PK * DZ;
      EP.QMOMP += PK * DZ * (ZE + DZ / 2 - ZK);
      EP.QMOMH += PK * DZ * (ZK - DZ / 2 - EP.HFREE);
      PLAST = PK;
    }
    EP.SIGMAH += PLAST;
  }
  EP.XSUR = SOIL.SDIST(NSUR);
}

double SURLAY(Run& run, double ZTOP, double T) {
  const auto& EP = run.m.EP;
  const double H = EP.HFREE;
  const double DZ = T / 10;
  const double M = EP.XSUR / H;
  double F = 0;
  for (int K = 1; K <= 10; ++K) {
    const double ZK = ZTOP + K * DZ;
    const double N = ZK / H;
    if (EP.QPOINT > 1.0E-4f) F += PPOINT(EP.QPOINT, M, N, H) * DZ;
    if (EP.QLINE > 1.0E-4f) F += PLINEF(EP.QLINE, M, N, H) * DZ;
    if (EP.QSTRIP > 1.0E-4f) F += PSTRIP(0.6366f, EP.QSTRIP, M, EP.BSTRIP / H, N) * DZ;
  }
  return F;
}
