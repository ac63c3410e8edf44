// eqdepth.cpp -- equivalent depth of a layer in layered soil: the depth at which the
// layer's own soil, reaching up to the surface, would give the same integral of the
// ultimate resistance as the layers that lie above it.
#include <cmath>
#include <limits>

#include "soil/soil_impl.h"

namespace {

constexpr double INF = std::numeric_limits<double>::infinity();

// Walk along a resistance P0 + P1*z from Z0 to Z1 (Z1 may be infinite). Returns the
// depth at which the integral from Z0 reaches NEED when that lies within the segment;
// otherwise -1, with the segment's integral taken off NEED. A resistance that never
// reaches NEED on an infinite segment returns INF.
double SEGDEP(double Z0, double Z1, double P0, double P1, double& NEED) {
  if (Z1 < INF) {
    const double TOTAL = P0 * (Z1 - Z0) + 0.5 * P1 * (Z1 * Z1 - Z0 * Z0);
    if (TOTAL < NEED) {
      NEED -= TOTAL;
      return -1;
    }
  }
  // 0.5*P1*h**2 + A0*h = NEED with h from Z0, in the form without cancellation.
  const double A0 = P0 + P1 * Z0;
  const double DEN = A0 + std::sqrt(A0 * A0 + 2 * P1 * NEED);
  if (!(DEN > 0)) return INF;
  return Z0 + 2 * NEED / DEN;
}

// Soft clay under cyclic loading: 0.72 * pu * z / xr above xr, 0.72 * 9cb below.
// The integral above xr is a cubic in the depth; bisection finds where it reaches FA.
double SOFTCY(double C, double GAMMA, double B, double XR, double FA) {
  const double A2 = 1.5 * C * B / XR, A3 = (GAMMA * B + 0.5 * C) / (3 * XR);
  const double IR = 0.72 * (B * XR * XR * GAMMA / 3 + 1.5 * XR * B * C + XR * XR * C / 6);
  if (FA > IR) {
    const double PMAX = 0.72 * 9 * C * B;
    return PMAX > 0 ? XR + (FA - IR) / PMAX : INF;
  }
  double LO = 0, HI = XR;
  for (int K = 0; K < 200 && HI - LO > 1.0E-12 * XR; ++K) {
    const double H = 0.5 * (LO + HI);
    if (0.72 * (A2 * H * H + A3 * H * H * H) < FA) LO = H; else HI = H;
  }
  return 0.5 * (LO + HI);
}

// Soft clay and stiff clay without free water: Np*c*b rising as 3cb + (gamma*b + c/2)*z
// up to XR, then flat at PMAX.
double CLAYEQ(double C, double GAMMA, double B, double XR, double PMAX, double FA) {
  double NEED = FA;
  const double H = SEGDEP(0, XR, 3 * C * B, GAMMA * B + 0.5 * C, NEED);
  if (H >= 0) return H;
  return PMAX > 0 ? XR + NEED / PMAX : INF;
}

// Stiff clay with free water: 40 steps up to xc, each weighted by the residual factor.
double STIFEQ(int KSTAT, double C, double CA, double GAMMA, double B, double FA) {
  double XC = (11 * C - 2 * CA) * B / (GAMMA * B + 2.83 * CA);
  if (!(XC > 0)) XC = 0;
  auto FS = [&](double Z) {
    const double AS = STIFAS(Z / B);
    return KSTAT == 1 ? 1.225 * std::sqrt(AS) - 0.411 - 0.75 * AS : 0.936 * STIFAC(Z / B) - 0.418 * AS;
  };
  const double DZ = XC / 40;
  double SUM = 0;
  for (int K = 1; K <= 40 && DZ > 0; ++K) {
    const double Z0 = (K - 1) * DZ, ZM = Z0 + 0.5 * DZ;
    const double STEP = FS(ZM) * (2 * CA * B + (GAMMA * B + 2.83 * CA) * ZM) * DZ;
    if (SUM + STEP > FA) return STEP > 0 ? Z0 + DZ * (FA - SUM) / STEP : Z0;
    SUM += STEP;
  }
  const double PEND = 11 * B * C * FS(XC);
  return PEND > 0 ? XC + (FA - SUM) / PEND : INF;
}

// Sand and silt: 100 steps down to the depth where the wedge resistance reaches the flow
// resistance, each weighted by the coefficient A; below it 0.88 times the flow
// resistance. Silt adds its cohesive resistance all the way.
double SANDEQ(int KSTAT, bool SILT, const EqIn& Q, double FA) {
  const double B = Q.B, GAMMA = Q.GAMMA, C = SILT ? Q.C : 0;
  double A1 = 0, A2 = 0, D1 = 0;
  SANDCF(Q.PHI, B, A1, A2, D1);
  double XT = A1 > 0 ? (D1 - A2) / A1 : 0;
  if (!(XT > 0)) XT = 0;
  const double DZ = XT / 100;
  double SUM = 0;
  for (int K = 1; K <= 100 && DZ > 0; ++K) {
    const double Z0 = (K - 1) * DZ, ZM = Z0 + 0.5 * DZ;
    const double STEP = (SANDA(KSTAT, ZM / B) * GAMMA * ZM * (A1 * ZM + A2) + SILTPC(C, GAMMA, ZM, B, 0)) * DZ;
    if (SUM + STEP > FA) return STEP > 0 ? Z0 + DZ * (FA - SUM) / STEP : Z0;
    SUM += STEP;
  }
  double NEED = FA - SUM;
  const double PF = 0.88 * GAMMA * D1;  // flow resistance per unit depth, times 0.88
  if (C > 0) {
    // Cohesive part: 3cb + (gamma*b + c/2)*z rising to 9cb at ZC.
    const double ZC = 6 * C * B / (GAMMA * B + 0.5 * C);
    if (ZC > XT) {
      const double H = SEGDEP(XT, ZC, 3 * C * B, PF + GAMMA * B + 0.5 * C, NEED);
      if (H >= 0) return H;
    }
    return SEGDEP(ZC > XT ? ZC : XT, INF, 9 * C * B, PF, NEED);
  }
  return SEGDEP(XT, INF, 0, PF, NEED);
}

}  // namespace

void EQDEPTH(Run& run, int N, const EqIn& Q) {
  auto& SW = run.m.SW;
  const int KSTAT = CYCLIC(run.m) ? 0 : 1;
  // Step 1: the integral of the layers above.
  double FA = 0;
  for (int J = 1; J < N; ++J) FA += SW.F(J);
  // Step 2: by the resistance of the layer's model.
  double H = 0;
  const double C = Q.C, GAMMA = Q.GAMMA, B = Q.B;
  if (FA > 0) {
    switch (Q.KIND) {
      case KQSTW:
        H = STIFEQ(KSTAT, C, Q.CA, GAMMA, B, FA);
        break;
      case KQSTD: {
        double XR = (9 * C - 3 * Q.CA) * B / (B * GAMMA + 0.5 * C);
        if (!(XR > 0)) XR = 0;
        H = CLAYEQ(C, GAMMA, B, XR, 9 * C * B, FA);
        break;
      }
      case KQSAND:
      case KQSILT:
        H = SANDEQ(KSTAT, Q.KIND == KQSILT, Q, FA);
        break;
      default: {  // soft clay, and every code the soft clay model serves
        const double DEN = GAMMA * B + 0.5 * C;
        const double XR = DEN > 0 && C > 0 ? 6 * C * B / DEN : 0;
        if (KSTAT == 1 || !(XR > 0)) {
          H = CLAYEQ(C, GAMMA, B, XR, 9 * C * B, FA);
        } else {
          H = SOFTCY(C, GAMMA, B, XR, FA);
        }
        break;
      }
    }
  }
  // A layer without resistance cannot match the layers above: it keeps its true depth.
  if (!std::isfinite(H) || H < 0) H = SW.XT(N);
  // Step 3.
  SW.HEQ(N) = H;
}
