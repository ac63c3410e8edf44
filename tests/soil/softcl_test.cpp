// Soft clay curves: the curve shape (static, cyclic, the smallest deflection), the
// ultimate resistance with its cap, the slope factor and the continuous-wall form, the
// multipliers and the pressure offset, and the checks.
#include <gtest/gtest.h>

#include <cmath>

#include "soilcase.h"

namespace {

const double FRAC[NPYP] = {0, 0.00025, 0.0025, 0.0075, 0.02, 0.04, 0.06, 0.1, 0.15,
                           0.225, 0.3, 0.4, 0.5, 0.65, 0.8, 1.0, 1.2};

int count(const std::string& t, const std::string& s) {
  int n = 0;
  for (auto i = t.find(s); i != std::string::npos; i = t.find(s, i + 1)) ++n;
  return n;
}

// One soft clay layer from the top of the wall to 8 m: c = 20, gamma = 18, e50 = 0.01.
struct SoftCase : SoilCase {
  SoftCase() { layer(1, 8.0, 18, 20, 20); }
  std::vector<Pts> curves() {
    PYGEN(run);
    return report_curves(report());
  }
};

}  // namespace

TEST(SOFTPY, StaticCurveIsFlatAtPuForItsLastTwoPoints) {
  PyCurve CV;
  Arr<int, 1, NPYP> WARN;
  double K0 = 0;
  const double PU = 137.5, Y50 = 0.025;
  SOFTPY(PU, Y50, 2.0, 4.0, false, CV, WARN, K0);
  EXPECT_DOUBLE_EQ(PU, CV.P(16));
  EXPECT_DOUBLE_EQ(PU, CV.P(17));
  EXPECT_DOUBLE_EQ(9.6 * Y50, CV.Y(17));
  EXPECT_EQ(0.0, CV.P(1));
  EXPECT_NEAR(0.5 * PU * std::cbrt(1.2), CV.P(9), 1e-12);
  EXPECT_NEAR(0.5 * PU * std::cbrt(6.4), CV.P(15), 1e-12);
  for (int J = 1; J <= NPYP; ++J) {
    EXPECT_NEAR(8 * Y50 * FRAC[J - 1], CV.Y(J), 1e-15) << J;
    EXPECT_EQ(0, WARN(J));
    if (J > 1) {
      EXPECT_GE(CV.P(J), CV.P(J - 1));
    }
  }
}

TEST(SOFTPY, CyclicCurveBelowXrIsFlatAtSeventyTwoPercent) {
  PyCurve CV;
  Arr<int, 1, NPYP> WARN;
  double K0 = 0;
  const double PU = 137.5, Y50 = 0.025;
  SOFTPY(PU, Y50, 5.0, 4.0, true, CV, WARN, K0);
  EXPECT_NEAR(0.5 * PU * std::cbrt(2.4), CV.P(11), 1e-12);  // 2.4 y50: still the curve
  for (int J = 12; J <= NPYP; ++J) EXPECT_DOUBLE_EQ(0.72 * PU, CV.P(J)) << J;  // beyond 3 y50
  // Above xr the curve falls from 0.72 pu at 3 y50 toward 0.72 pu x/xr at 15 y50.
  SOFTPY(PU, Y50, 1.0, 4.0, true, CV, WARN, K0);
  const double PR = 0.72 * PU, PE = 0.72 * PU * 1.0 / 4.0;
  EXPECT_NEAR(PR + (9.6 - 3) * (PE - PR) / 12, CV.P(17), 1e-12);
  EXPECT_NEAR(PR + (3.2 - 3) * (PE - PR) / 12, CV.P(12), 1e-12);
}

TEST(SOFTPY, DeflectionsBelowTheSmallestUseTheInitialModulus) {
  PyCurve CV;
  Arr<int, 1, NPYP> WARN;
  double K0 = 0;
  const double PU = 100, Y50 = 2.5e-17;  // every deflection below 1E-14
  SOFTPY(PU, Y50, 1.0, 4.0, false, CV, WARN, K0);
  EXPECT_NEAR(0.5 * PU * std::cbrt(Y50 / 1.0E-14) / Y50, K0, 1e-6 * K0);
  EXPECT_EQ(0, WARN(1));
  for (int J = 2; J <= NPYP; ++J) {
    EXPECT_EQ(1, WARN(J));
    EXPECT_DOUBLE_EQ(K0 * CV.Y(J), CV.P(J));
  }
}

TEST(SOFTCL, UltimateResistanceOnBothSidesAndItsCap) {
  SoftCase c;
  const auto cv = c.curves();
  ASSERT_EQ(10u, cv.size());
  // First curve depth, 0.01 m: Np = 3 + 18*0.01/20 + 0.5*0.01 on the excavation side,
  // x = 3.01 on the backfill side.
  EXPECT_NEAR(60.28, cv[0].p[16], 5e-4);
  EXPECT_NEAR(60.28, cv[0].p[15], 5e-4);
  EXPECT_NEAR(144.28, cv[1].p[16], 5e-4);
  EXPECT_NEAR(0.24, cv[0].y[16], 5e-4);  // 9.6 * 2.5 * e50 * b
  // Last curve depth, 4.99 m: Np would be 9.986, so pu = 9 c b on both sides.
  EXPECT_NEAR(180.0, cv[8].p[16], 5e-4);
  EXPECT_NEAR(180.0, cv[9].p[16], 5e-4);
  EXPECT_EQ(0u, c.report().find("\n\n      *****"));
  EXPECT_NE(std::string::npos, c.report().find(" P-Multiplier =  1.000E+00 Y-Multiplier =  1.000E+00"));
  EXPECT_EQ(5, count(c.report(), "\n         AT THE EXCAVATION SIDE\n"));
  EXPECT_EQ(5, count(c.report(), "\n         AT THE BACKFILL SIDE\n"));
  EXPECT_EQ(" READ SOIL DATA....\n", c.console());
}

TEST(SOFTCL, CyclicAtDepthIsFlatAtSeventyTwoPercent) {
  SoftCase c;
  c.m.SOIL.KSTAT = 0;
  const auto cv = c.curves();
  ASSERT_EQ(10u, cv.size());
  for (int J = 12; J <= NPYP; ++J) EXPECT_DOUBLE_EQ(129.6, cv[8].p[J - 1]) << J;  // x = 4.99 > xr
  EXPECT_NE(std::string::npos, c.report().find("\n              CYCLIC MODEL\n"));
}

TEST(SOFTCL, SlopeOfTheExcavationReducesOnlyThatSide) {
  SoftCase c;
  c.m.SOIL.BETAE = 20;
  const auto cv = c.curves();
  ASSERT_EQ(10u, cv.size());
  EXPECT_NEAR(60.28 / (1 + std::tan(20 / 57.2958)), cv[0].p[16], 5e-4);
  EXPECT_NEAR(144.28, cv[1].p[16], 5e-4);
}

TEST(SOFTCL, ContinuousWallUsesTheEarthPressureForm) {
  SoftCase c;
  c.m.SOIL.WA = 1.0;
  c.m.SOIL.QSURF = 5.0;
  const auto cv = c.curves();
  ASSERT_EQ(10u, cv.size());
  EXPECT_NEAR(40.18, cv[0].p[16], 5e-4);            // (gamma*x + 2c) b
  EXPECT_NEAR(40 + 5 + 18 * 3.01, cv[1].p[16], 5e-4);  // (2c + sv) b
  EXPECT_NEAR(0.073, cv[0].y[16], 5e-4);            // y50 on one foot
}

TEST(SOFTCL, SpacingRatioOfExactlyOnePointOneIsNotAContinuousWall) {
  SoftCase c;
  c.m.SOIL.WA = 1.1;
  const auto cv = c.curves();
  ASSERT_EQ(10u, cv.size());
  const double F = 0.5292 * std::pow(1.1, 0.5659);
  EXPECT_NEAR(60.28 * F, cv[0].p[16], 5e-4);
  EXPECT_NEAR(0.24, cv[0].y[16], 5e-4);
}

TEST(SOFTCL, MultipliersAndPressureOffset) {
  SoftCase c;
  auto& P = c.m.PRS;
  P.NPRES = 2;
  P.PT(1, 1) = 0;
  P.PT(1, 2) = 40;  // 400 per metre of wall; / s_ratio 4 = 100; less 2 c b = 60
  P.PT(2, 1) = 20;
  P.PT(2, 2) = 40;
  auto& S = c.m.SOIL;
  c.m.C.NPYMOD = 2;
  S.PYMD(1) = 0;
  S.PYMP(1) = 0.5;
  S.PYMY(1) = 2;
  S.PYMD(2) = 20;
  S.PYMP(2) = 0.5;
  S.PYMY(2) = 2;
  const auto cv = c.curves();
  ASSERT_EQ(10u, cv.size());
  EXPECT_NEAR(-60.0, cv[0].p[0], 5e-4);
  EXPECT_NEAR(60.0, cv[1].p[0], 5e-4);
  EXPECT_NEAR(0.5 * 60.28 - 60, cv[0].p[16], 5e-4);
  EXPECT_NEAR(0.5 * 144.28 + 60, cv[1].p[16], 5e-4);
  EXPECT_NEAR(0.48, cv[0].y[16], 5e-4);
  EXPECT_NE(std::string::npos, c.report().find(" P-Multiplier =  5.000E-01 Y-Multiplier =  2.000E+00"));
  EXPECT_NE(std::string::npos,
            c.report().find("               0.00      0.50        2.00\n              20.00      0.50        2.00"));
}

TEST(SOFTCL, NoStrengthLeavesThePressureOffsetAlone) {
  SoftCase c;
  c.m.SOIL.STRTOP(1) = 0;
  c.m.SOIL.STRBOT(1) = 0;
  auto& P = c.m.PRS;
  P.NPRES = 1;
  P.PT(1, 1) = 0;
  P.PT(1, 2) = 40;
  const auto cv = c.curves();
  ASSERT_EQ(10u, cv.size());
  for (int J = 0; J < NPYP; ++J) {
    EXPECT_NEAR(-100.0, cv[4].p[J], 5e-4);
    EXPECT_NEAR(100.0, cv[5].p[J], 5e-4);
  }
}

TEST(SOFTCL, VanishingE50WarnsForEveryPointAfterTheFirst) {
  SoftCase c;
  c.m.SOIL.E50TOP(1) = 1.0E-17;
  c.m.SOIL.E50BOT(1) = 1.0E-17;
  c.curves();
  EXPECT_EQ(160, count(c.report(), "     DEFLECTION IS LESS THAN 1.0E-14.  THE PROGRAM\n     USED A SOIL MODULUS OF "));
}

TEST(SOFTCL, ZeroE50IsRejectedNamingTheLayer) {
  SoftCase c;
  c.layer(1, 12.0, 19, 30, 30, 0, 0);  // a second layer without E50
  EXPECT_THROW(PYGEN(c.run), EndRun);
  EXPECT_NE(std::string::npos,
            c.report().find("     ERROR -- E50 MUST BE POSITIVE FOR THE P-Y CURVES OF SOIL LAYER 2 (SOFT CLAY MODEL)"));
  EXPECT_EQ(1, c.m.D.KERR);
  EXPECT_FALSE(c.u.is_open(LPYW));
}
