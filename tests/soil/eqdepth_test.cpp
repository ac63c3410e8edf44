// Equivalent depth: layer integrals accumulated by the soft clay curves, the depth that
// matches them for soft clay, and each branch against an independent integral of the
// resistance it stands for.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "soilcase.h"

namespace {

// Simpson's rule with N intervals.
double SIMPSON(const std::function<double(double)>& f, double a, double b, int n = 20000) {
  const double h = (b - a) / n;
  double s = f(a) + f(b);
  for (int i = 1; i < n; ++i) s += f(a + i * h) * (i % 2 ? 4 : 2);
  return s * h / 3;
}

// A two-layer model whose first layer carries the integral FA; EQDEPTH on layer 2.
double EQ(SoilCase& c, const EqIn& Q, double FA, int KSTAT = 1) {
  c.m.SOIL.KSTAT = KSTAT;
  auto& SW = c.m.SW;
  SW.NLI = 2;
  SW.XT(1) = 0;
  SW.XB(1) = 3;
  SW.XT(2) = 3;
  SW.XB(2) = 6;
  SW.F(1) = FA;
  EQDEPTH(c.run, 2, Q);
  return SW.HEQ(2);
}

}  // namespace

TEST(EQDEPTH, SoftClayUnderTheSameSoftClayKeepsItsTrueTop) {
  for (int KSTAT : {1, 0}) {
    SoilCase c;
    c.m.SOIL.KSTAT = KSTAT;
    c.layer(1, 6.0, 18, 20, 20);
    c.layer(1, 9.0, 18, 20, 20);
    PYGEN(c.run);
    const auto& SW = c.m.SW;
    ASSERT_EQ(2, SW.NLI);
    // The integral of the first layer between its outer curve depths is exact for a
    // resistance that is linear in depth (static): 3cb + (gamma b + c/2) x.
    if (KSTAT == 1) {
      EXPECT_NEAR(60 * 2.98 + 14 * (2.99 * 2.99 - 0.01 * 0.01), SW.F(1), 1e-9);
    }
    // What lies outside the outer curve depths is missing: the top is matched to within
    // the end distance.
    EXPECT_NEAR(3.0, SW.HEQ(2), 0.02) << KSTAT;
    if (KSTAT == 1) {
      EXPECT_LT(SW.HEQ(2), 3.0);
    }
    EXPECT_NEAR(SW.HEQ(2) + 0.01, XSIDE(c.run, 2, 3.01, KEXCS), 1e-12);
    EXPECT_NEAR(SW.HEQ(2) + 0.01 + 3.0, XSIDE(c.run, 2, 3.01, KBACK), 1e-12);
    EXPECT_DOUBLE_EQ(2.5, XSIDE(c.run, 1, 2.5, KEXCS));
  }
}

TEST(EQDEPTH, StrongUpperLayerGivesTheLinearBranch) {
  SoilCase c;
  c.layer(1, 6.0, 18, 200, 200);
  c.layer(1, 9.0, 18, 10, 10);
  PYGEN(c.run);
  const auto& SW = c.m.SW;
  const double C = 10, G = 18, B = 1;
  const double XR = 6 * C * B / (G * B + 0.5 * C);
  const double IR = ((0.5 * G * B + 0.25 * C) * XR + 3 * C * B) * XR;
  ASSERT_GT(SW.F(1), IR);
  EXPECT_GT(SW.HEQ(2), XR);
  EXPECT_NEAR(XR + (SW.F(1) - IR) / (9 * C * B), SW.HEQ(2), 1e-9);
}

TEST(EQDEPTH, EachBranchInvertsTheIntegralOfItsResistance) {
  SoilCase c;
  const double B = 1.0, G = 9.0;
  // Soft clay, static, below and beyond xr; cyclic with the cubic above xr.
  {
    EqIn Q;
    Q.C = 15;
    Q.CA = 15;
    Q.GAMMA = G;
    Q.B = B;
    const double XR = 6 * Q.C * B / (G * B + 0.5 * Q.C);
    auto pu = [&](double z) { return std::min(3 * Q.C * B + (G * B + 0.5 * Q.C) * z, 9 * Q.C * B); };
    auto pc = [&](double z) { return z < XR ? 0.72 * pu(z) * z / XR : 0.72 * 9 * Q.C * B; };
    for (double T : {0.5 * XR, 1.7 * XR}) {
      EXPECT_NEAR(T, EQ(c, Q, SIMPSON(pu, 0, XR) * (T > XR) + SIMPSON(pu, T > XR ? XR : 0, T)), 1e-6) << T;
      EXPECT_NEAR(T, EQ(c, Q, SIMPSON(pc, 0, std::min(T, XR)) + SIMPSON(pc, XR, std::max(T, XR)), 0), 1e-6) << T;
    }
  }
  // Stiff clay without free water.
  {
    EqIn Q;
    Q.KIND = KQSTD;
    Q.C = 60;
    Q.CA = 40;
    Q.GAMMA = G;
    Q.B = B;
    const double XR = (9 * Q.C - 3 * Q.CA) * B / (B * G + 0.5 * Q.C);
    // The resistance steps from 3cb + (gamma b + c/2) xr down to 9cb at xr.
    auto rise = [&](double z) { return 3 * Q.C * B + (G * B + 0.5 * Q.C) * z; };
    auto flat = [&](double) { return 9 * Q.C * B; };
    for (double T : {0.4 * XR, 2.0 * XR})
      EXPECT_NEAR(T, EQ(c, Q, SIMPSON(rise, 0, std::min(T, XR)) + SIMPSON(flat, XR, std::max(T, XR))), 1e-6) << T;
  }
  // Stiff clay with free water, static and cyclic: 40 steps, so a looser match.
  for (int KSTAT : {1, 0}) {
    EqIn Q;
    Q.KIND = KQSTW;
    Q.C = 50;
    Q.CA = 45;
    Q.GAMMA = G;
    Q.B = B;
    const double XC = (11 * Q.C - 2 * Q.CA) * B / (G * B + 2.83 * Q.CA);
    auto fs = [&](double z) {
      const double AS = STIFAS(z / B);
      return KSTAT == 1 ? 1.225 * std::sqrt(AS) - 0.411 - 0.75 * AS : 0.936 * STIFAC(z / B) - 0.418 * AS;
    };
    auto pu = [&](double z) {
      return z < XC ? fs(z) * (2 * Q.CA * B + (G * B + 2.83 * Q.CA) * z) : 11 * B * Q.C * fs(XC);
    };
    for (double T : {0.6 * XC, 1.5 * XC})
      EXPECT_NEAR(T, EQ(c, Q, SIMPSON(pu, 0, std::min(T, XC)) + SIMPSON(pu, XC, std::max(T, XC)), KSTAT),
                  2e-3 * XC)
          << T << " " << KSTAT;
  }
  // Sand and silt: A times the wedge down to where it meets the flow, 0.88 times the
  // flow below; silt adds its cohesive resistance.
  for (int KIND : {KQSAND, KQSILT}) {
    EqIn Q;
    Q.KIND = KIND;
    Q.PHI = 32;
    Q.C = KIND == KQSILT ? 8 : 0;
    Q.GAMMA = G;
    Q.B = B;
    auto wedge = [&](double z) {
      double PST, PSD;
      SANDPS(Q.PHI, G, z, B, 0, PST, PSD);
      return PST - PSD;
    };
    double lo = 1e-6, hi = 100;  // where the wedge meets the flow
    for (int k = 0; k < 200; ++k) (wedge(0.5 * (lo + hi)) < 0 ? lo : hi) = 0.5 * (lo + hi);
    const double XT = lo;
    auto pu = [&](double z) {
      double PST, PSD;
      SANDPS(Q.PHI, G, z, B, 0, PST, PSD);
      return (z < XT ? SANDA(1, z / B) * PST : 0.88 * PSD) + SILTPC(Q.C, G, z, B, 0);
    };
    for (double T : {0.5 * XT, 2.5 * XT})
      EXPECT_NEAR(T, EQ(c, Q, SIMPSON(pu, 0, std::min(T, XT)) + SIMPSON(pu, XT, std::max(T, XT))), 2e-3 * XT)
          << T << " " << KIND;
  }
}

TEST(EQDEPTH, LayerWithoutResistanceKeepsItsTrueTop) {
  SoilCase c;
  EqIn Q;
  Q.C = 0;
  Q.GAMMA = 18;
  Q.B = 1;
  EXPECT_DOUBLE_EQ(3.0, EQ(c, Q, 500));
  Q.KIND = KQSAND;
  Q.PHI = 0;
  EXPECT_DOUBLE_EQ(3.0, EQ(c, Q, 500));
  Q.KIND = KQSOFT;
  Q.C = 20;
  EXPECT_DOUBLE_EQ(0.0, EQ(c, Q, 0));  // nothing above: the surface
}

TEST(EQDEPTH, OtherSoilsUnderTheSameSoilStayNearTheirTrueTop) {
  // Each model integrates the resistance its equivalent depth stands for (sand and silt
  // their ultimate resistance down to the layer bottom, stiff clay with free water its
  // residual resistance, stiff clay without free water its ultimate resistance, by
  // trapezoids over the curve depths); a second layer of the same soil then lies close to
  // its true top (a wide spacing: the p-y resistances).
  struct Soil {
    int type;
    double s, e50, phi, tol;
  };
  for (const Soil& q : {Soil{2, 50, 0.005, 0, 0.08}, Soil{3, 50, 0.005, 0, 0.03}, Soil{4, 0, 0, 32, 0.03},
                        Soil{5, 10, 0, 32, 0.03}}) {
    for (int KSTAT : {1, 0}) {
      SoilCase c;
      c.m.SOIL.KSTAT = KSTAT;
      c.layer(q.type, 6.0, 18, q.s, q.s, q.e50, q.e50, q.phi, q.phi);
      c.layer(q.type, 9.0, 18, q.s, q.s, q.e50, q.e50, q.phi, q.phi);
      for (int j = 1; j <= 2; ++j) {
        c.m.SOIL.KPYTOP(j) = 20000;
        c.m.SOIL.KPYBOT(j) = 20000;
      }
      PYGEN(c.run);
      EXPECT_NEAR(3.0, c.m.SW.HEQ(2), q.tol) << q.type << " " << KSTAT;
    }
  }
}
