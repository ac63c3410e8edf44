// The soil profile below the excavation: internal layers and curve depths, the
// distributions and their lookups, the backfill stress, the station load and the
// multipliers.
#include <gtest/gtest.h>

#include <cmath>

#include "soilcase.h"

TEST(PYLAYS, OneLayerGivesFiveCurveDepthsNearItsEnds) {
  SoilCase si;
  si.layer(1, 8.0, 18, 20, 20);
  PYLAYS(si.run);
  const auto& SW = si.m.SW;
  ASSERT_EQ(1, SW.NLI);
  EXPECT_DOUBLE_EQ(0.0, SW.XT(1));
  EXPECT_DOUBLE_EQ(5.0, SW.XB(1));
  const double SIX[5] = {0.01, 1.25, 2.5, 3.75, 4.99};
  for (int I = 1; I <= 5; ++I) EXPECT_DOUBLE_EQ(SIX[I - 1], SW.XC(1, I)) << I;

  SoilCase en;
  en.english();
  en.layer(1, 600.0, 0.07, 5, 5);
  PYLAYS(en.run);
  const double ENX[5] = {0.1, 120, 240, 360, 479.9};
  for (int I = 1; I <= 5; ++I) EXPECT_DOUBLE_EQ(ENX[I - 1], en.m.SW.XC(1, I)) << I;
}

TEST(PYLAYS, ProfileEndsTwoIncrementsBelowTheTip) {
  SoilCase c;  // tip at 10 m, profile to 10.2 m, excavation at 3 m
  c.layer(1, 9.0, 18, 20, 20);
  c.layer(2, 20.0, 19, 30, 140, 0.01, 0.12);
  c.layer(3, 30.0, 20, 500, 500);
  PYLAYS(c.run);
  const auto& SW = c.m.SW;
  ASSERT_EQ(2, SW.NLI);  // the third layer gives no curves
  EXPECT_DOUBLE_EQ(7.2, SW.XB(2));
  EXPECT_NEAR(42.0, SW.SB(2), 1e-12);   // 30 + 110 * 1.2 / 11
  EXPECT_NEAR(0.022, SW.E5B(2), 1e-15);
  EXPECT_DOUBLE_EQ(30.0, SW.ST(2));
  EXPECT_NEAR(7.19, SW.XC(2, 5), 1e-12);
  EXPECT_EQ(4, SW.NSP);
  EXPECT_DOUBLE_EQ(7.2, SW.XS(4));
}

TEST(PYLAYS, LayersAboveTheExcavationAreSkippedAndTheCrossingLayerStartsAtIt) {
  SoilCase c;
  c.layer(4, 2.0, 18, 0, 0);
  c.layer(1, 6.0, 18, 10, 50);
  c.layer(1, 3.0, 18, 10, 50);  // no thickness: the profile ends
  c.layer(1, 9.0, 18, 10, 50);
  PYLAYS(c.run);
  const auto& SW = c.m.SW;
  ASSERT_EQ(1, SW.NLI);
  EXPECT_EQ(2, SW.LNUM(1));
  EXPECT_DOUBLE_EQ(0.0, SW.XT(1));
  EXPECT_DOUBLE_EQ(3.0, SW.XB(1));
  EXPECT_DOUBLE_EQ(20.0, SW.ST(1));  // the value at the excavation surface
  EXPECT_DOUBLE_EQ(50.0, SW.SB(1));
}

TEST(PYLAYS, ThinLayerKeepsItsCurveDepthsInOrder) {
  SoilCase c;
  c.layer(1, 5.0, 18, 20, 20);
  c.layer(1, 5.02, 18, 20, 20);  // 2 cm: less than four times the 1 cm end distance
  c.layer(1, 9.0, 18, 20, 20);
  PYLAYS(c.run);
  const auto& SW = c.m.SW;
  ASSERT_EQ(3, SW.NLI);
  for (int I = 1; I <= 4; ++I) EXPECT_LT(SW.XC(2, I), SW.XC(2, I + 1));
  EXPECT_GT(SW.XC(2, 1), SW.XT(2));
  EXPECT_LT(SW.XC(2, 5), SW.XB(2));
}

TEST(PYLAYS, WaterTableBreaksTheUnitWeight) {
  SoilCase c;
  c.m.SOIL.ZWA = 5.0;  // 2 m below the excavation surface
  c.layer(1, 8.0, 18, 20, 20);
  PYLAYS(c.run);
  const auto& SW = c.m.SW;
  const double GW = 18 - static_cast<double>(9.81f);
  ASSERT_EQ(4, SW.NGP);
  EXPECT_DOUBLE_EQ(2.0, SW.XG(2));
  EXPECT_DOUBLE_EQ(2.0, SW.XG(3));
  EXPECT_DOUBLE_EQ(18.0, SW.GG(2));
  EXPECT_DOUBLE_EQ(GW, SW.GG(3));
  EXPECT_DOUBLE_EQ(GW, SW.GG(4));
  EXPECT_NEAR((18 * 2 + GW * 2) / 4, GAMAVG(c.run, 4.0), 1e-12);
  EXPECT_NEAR(18.0, GAMAVG(c.run, 1.0), 1e-12);
  EXPECT_DOUBLE_EQ(18.0, GAMAVG(c.run, 0.0));  // at the surface: the first weight
}

TEST(PYLAYS, CyclesAndSpacingRatio) {
  SoilCase c;
  c.layer(1, 8.0, 18, 20, 20);
  c.m.SOIL.KSTAT = 0;
  c.m.SOIL.WA = 0.5;
  PYLAYS(c.run);
  EXPECT_DOUBLE_EQ(100.0, c.m.SW.CYCLES);  // no cycles given: 100
  EXPECT_DOUBLE_EQ(1.0, c.m.SW.SRATIO);    // never below 1
  EXPECT_DOUBLE_EQ(0.5, c.m.SW.RWAWP);
  EXPECT_DOUBLE_EQ(0.0, c.m.SOIL.CYCLES);  // the input is left as read
  c.m.SOIL.KSTAT = 1;
  PYLAYS(c.run);
  EXPECT_DOUBLE_EQ(0.0, c.m.SW.CYCLES);
}

TEST(LOOKUP, LayerBoundaryRules) {
  SoilCase c;
  c.m.C.XEXC = 0;
  c.layer(1, 2.0, 18, 10, 12, 0.01, 0.02, 20, 20);
  c.layer(1, 5.0, 18, 30, 60, 0.04, 0.04, 30, 40);
  PYLAYS(c.run);
  EXPECT_DOUBLE_EQ(30.0, CLOOK(c.run, 2.0));   // the lower layer
  EXPECT_DOUBLE_EQ(25.0, PHILK(c.run, 2.0));   // the mean of both
  EXPECT_DOUBLE_EQ(0.03, E50LK(c.run, 2.0));
  EXPECT_DOUBLE_EQ(11.0, CLOOK(c.run, 1.0));
  EXPECT_DOUBLE_EQ(45.0, CLOOK(c.run, 3.5));
  EXPECT_DOUBLE_EQ(60.0, CLOOK(c.run, 5.0));
  // A value below 1E-20 on one side of the boundary: the other one.
  c.m.SW.SS(3) = 0;
  c.m.SW.PHIS(2) = 0;
  EXPECT_DOUBLE_EQ(12.0, CLOOK(c.run, 2.0));
  EXPECT_DOUBLE_EQ(30.0, PHILK(c.run, 2.0));
  // E50 and rock quality beyond the distribution: the last value, no stop.
  EXPECT_DOUBLE_EQ(0.04, E50LK(c.run, 7.0));
}

TEST(LOOKUP, BeyondTheDistributionsStops) {
  SoilCase c;
  c.m.C.XEXC = 0;
  c.layer(1, 5.0, 18, 30, 60);
  PYLAYS(c.run);
  try {
    CLOOK(c.run, 5.5);
    FAIL() << "no stop";
  } catch (const Stop& s) {
    EXPECT_EQ("1", s.code);
    // Before the stop, the line that says what was wrong and where.
    EXPECT_EQ("ERROR -- A P-Y CURVE NEEDS THE STRENGTH AT THE DEPTH 5.5 BELOW THE TOP OF THE WALL, BELOW THE END "
              "OF ITS DISTRIBUTION AT 5.0 (BOTTOM OF SOIL LAYER 1)",
              s.text);
  }
  const std::string W = "\n                             **** WARNING ****\n     THE VALUE OF X = 0.55E+01IS BEYOND THE EXTENT OF\n     THE INPUT STRENGTH CURVE\n";
  EXPECT_EQ(0u, c.console().find(W + W + " ERROR -- A P-Y CURVE NEEDS THE STRENGTH"));
  try {
    PHILK(c.run, 6.0);
    FAIL() << "no stop";
  } catch (const Stop& s) {
    EXPECT_EQ("", s.code);
  }
  EXPECT_NE(std::string::npos, c.console().find("THE INPUT PHI CURVE"));
  try {
    GAMAVG(c.run, 5.01);
    FAIL() << "no stop";
  } catch (const Stop& s) {
    EXPECT_EQ("4", s.code);
  }
}

TEST(SVBACK, SurchargeLayersAndSandBelowWater) {
  SoilCase c;
  c.m.SOIL.QSURF = 10;
  c.m.SOIL.ZWA = 3.0;
  c.layer(1, 2.0, 18, 20, 20);
  c.layer(4, 6.0, 20, 0, 0);
  PYLAYS(c.run);
  const double GAMW = static_cast<double>(9.81f);
  EXPECT_NEAR(10 + 36 + 60 - GAMW * 2, SVBACK(c.run, 5.0), 1e-12);
  EXPECT_NEAR(10 + 18, SVBACK(c.run, 1.0), 1e-12);
  try {
    SVBACK(c.run, 7.0);
    FAIL() << "no stop";
  } catch (const Stop& s) {
    EXPECT_EQ("4", s.code);
  }
  EXPECT_NE(std::string::npos, c.report().find("     THE INPUT CURVE FOR UNIT WEIGHT"));
  EXPECT_NE(std::string::npos, c.report().find("     ERROR -- A P-Y CURVE NEEDS THE VERTICAL STRESS OF THE BACKFILL AT "
                                               "THE DEPTH 7.0 BELOW THE TOP OF THE WALL, BELOW THE END OF ITS "
                                               "DISTRIBUTION AT 6.0 (BOTTOM OF SOIL LAYER 2)"));
}

TEST(QLOAD, StationLoadDividedByTheIncrementOnce) {
  SoilCase c;
  EXPECT_DOUBLE_EQ(0.0, QLOAD(c.run, 1.0));  // no pressure table
  auto& P = c.m.PRS;
  P.NPRES = 3;
  P.PT(1, 1) = 0;
  P.PT(1, 2) = 2;
  P.PT(2, 1) = 1;
  P.PT(2, 2) = 10;
  P.PT(3, 1) = 2;
  P.PT(3, 2) = 30;
  EXPECT_NEAR(200.0, QLOAD(c.run, 1.5), 1e-9);
  EXPECT_NEAR(20.0, QLOAD(c.run, -1.0), 1e-9);
  EXPECT_NEAR(300.0, QLOAD(c.run, 2.0), 1e-9);
  EXPECT_NEAR(300.0, QLOAD(c.run, 9.0), 1e-9);
}

TEST(PMULT, ClosebySpacedFactorAndModificationTable) {
  SoilCase c;
  c.layer(1, 8.0, 18, 20, 20);
  c.m.SOIL.WA = 2.0;
  PYLAYS(c.run);
  const double F2 = 0.5292 * std::pow(2.0, 0.5659);
  EXPECT_NEAR(0.783, F2, 5e-4);
  EXPECT_DOUBLE_EQ(F2, PMULT(c.run, 4.0));
  EXPECT_DOUBLE_EQ(1.0, PMULT(c.run, 2.9));  // above the excavation surface
  EXPECT_DOUBLE_EQ(1.0, YMULT(c.run, 4.0));  // no table
  for (double WA : {1.09, 3.1, 0.5}) {
    c.m.SOIL.WA = WA;
    PYLAYS(c.run);
    EXPECT_DOUBLE_EQ(1.0, PMULT(c.run, 4.0)) << WA;
  }
  c.m.SOIL.WA = 1.1;
  PYLAYS(c.run);
  EXPECT_DOUBLE_EQ(0.5292 * std::pow(1.1, 0.5659), PMULT(c.run, 4.0));

  // Table: 4 m (0.5, 0.8), 6 m (0.7, 0.4).
  c.m.SOIL.WA = 2.0;
  PYLAYS(c.run);
  auto& S = c.m.SOIL;
  c.m.C.NPYMOD = 2;
  S.PYMD(1) = 4;
  S.PYMP(1) = 0.5;
  S.PYMY(1) = 0.8;
  S.PYMD(2) = 6;
  S.PYMP(2) = 0.7;
  S.PYMY(2) = 0.4;
  S.KPYOPT = 0;
  EXPECT_DOUBLE_EQ(0.5, PMULT(c.run, 4.0));
  EXPECT_NEAR(0.6, PMULT(c.run, 5.0), 1e-15);
  EXPECT_DOUBLE_EQ(1.0, PMULT(c.run, 3.5));
  EXPECT_DOUBLE_EQ(1.0, PMULT(c.run, 6.5));
  EXPECT_NEAR(0.6, YMULT(c.run, 5.0), 1e-15);
  EXPECT_DOUBLE_EQ(0.4, YMULT(c.run, 6.0));
  EXPECT_DOUBLE_EQ(1.0, YMULT(c.run, 6.01));  // beyond the table: 1.0, not the last value
  EXPECT_DOUBLE_EQ(1.0, YMULT(c.run, 3.9));
  S.KPYOPT = 1;
  EXPECT_NEAR(0.6 * F2, PMULT(c.run, 5.0), 1e-15);
  EXPECT_DOUBLE_EQ(F2, PMULT(c.run, 7.0));  // outside the table 1.0, times the factor
}

TEST(TABLES, CoefficientsBeyondTheirTables) {
  EXPECT_DOUBLE_EQ(0.88, SANDA(1, 8.0));
  EXPECT_DOUBLE_EQ(0.55, SANDB(0, 9.0));
  EXPECT_NEAR(0.5 * (1.76 + 1.48), SANDA(1, 1.75), 1e-15);
  EXPECT_NEAR(0.60, STIFAS(7.0), 1e-15);
  EXPECT_NEAR(0.30, STIFAC(4.0), 1e-15);
  EXPECT_DOUBLE_EQ(0.223, STIFAS(0.0));
}

TEST(SANDPS, NoDepthOrNoFrictionGivesNoResistance) {
  double PST = -1, PSD = -1;
  SANDPS(30, 18, 0, 1, 0, PST, PSD);
  EXPECT_EQ(0.0, PST);
  EXPECT_EQ(0.0, PSD);
  SANDPS(0, 18, 3, 1, 0, PST, PSD);
  EXPECT_EQ(0.0, PST);
  EXPECT_EQ(0.0, PSD);
  // Flat ground: the terms agree with the coefficient form.
  double A1, A2, D1;
  SANDCF(35, 1.0, A1, A2, D1);
  SANDPS(35, 18, 2.0, 1.0, 0, PST, PSD);
  EXPECT_NEAR(18 * 2.0 * (A1 * 2.0 + A2), PST, 1e-9 * PST);
  EXPECT_NEAR(18 * 2.0 * D1, PSD, 1e-9 * PSD);
  // A slope so steep that the wedge cannot form: flow.
  SANDPS(35, 18, 2.0, 1.0, -1.5, PST, PSD);
  EXPECT_EQ(PSD, PST);
}
