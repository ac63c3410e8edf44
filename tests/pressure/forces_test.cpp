// Layer earth and water forces above the excavation level and the net-active check.
#include <cmath>

#include "prcase.h"

namespace {

std::string forces(PCase& c) {
  return c.go([](::Run& r) {
    auto& EP = r.m.EP;
    EP.HFREE = r.m.SOIL.HFREE;
    EP.ZWA = r.m.SOIL.ZWA;
    EP.ZWP = r.m.SOIL.ZWP;
    EP.QSURF = r.m.SOIL.QSURF;
    EP.GAMW = r.m.C.IUNIT == SI ? 9.81f : 0.036f;
    EP.TOLEP = 1.0E-5f;
    LAYERS(r);
    OUTPT7(r);
    START7(r);
    FORCES(r);
  });
}

// SI clay (phi 0, 18 kN/m3) of strength C above a 3 m excavation.
void clay(PCase& c, double C) {
  c.wall(SI, 16, 0.5);
  c.walrec(3, 50, 50);
  c.layer(1, 8, 18, C, 0);
}

}  // namespace

TEST(FORCES, TensionZoneLoadsOnlyTheBottomPart) {
  PCase c("tension");
  clay(c, 20);
  ASSERT_EQ("", forces(c));
  const auto& EP = c.m.EP;
  // S = 40, pressure at the bottom 54 - 40 = 14 (KA and SQKA are 1 within 2E-6)
  EXPECT_EQ(0, EP.PA1(1));
  EXPECT_EQ(0, EP.PA2(1));
  EXPECT_EQ(0, EP.PA3(1));
  const double TP = 3 * 14.0 / 54;
  EXPECT_NEAR(0.5 * 14 * TP, EP.PA4(1), 1e-4);
  EXPECT_NEAR(3 - TP / 3, EP.Z3(1), 1e-5);
  EXPECT_NE(std::string::npos, c.report().find("\n         1       0.00   1.50       0.00   2.00       0.00   2.74       5.44\n"));
  EXPECT_EQ(0, count_of(c.report(), "Net active pressure is negative."));
}

TEST(FORCES, WholeLayerInTensionLoadsNothingAndNetCheckWarns) {
  PCase c("alltension");
  clay(c, 30);  // 2c = 60 above the 54 at the excavation level
  ASSERT_EQ("", forces(c));
  const auto& EP = c.m.EP;
  EXPECT_EQ(0, EP.PA4(1));
  EXPECT_EQ(3, EP.Z3(1));  // nothing loaded: at the bottom, not below it
  EXPECT_NE(std::string::npos, c.report().find("\n         1       0.00   1.50       0.00   2.00       0.00   3.00       0.00\n"));
  const std::string MSG = "\n\n     Net active pressure is negative.\n\n";
  EXPECT_EQ(1, count_of(c.report(), MSG));
  EXPECT_EQ(1, count_of("\n" + c.console(), MSG));
}

TEST(FORCES, UniformWeightAndStrengthParts) {
  PCase c("parts");
  c.wall(ENGLISH, 30, 12.0);
  c.walrec(180, 900, 900, 1, 1, 0.8);
  c.m.SOIL.QSURF = 2;
  c.layer(5, 480, 0.07, 0.5, 30);  // silt with cohesion
  c.m.SOIL.QPOINT = 1000;           // single load of the surface-load record
  c.m.SOIL.XSUR = 60;
  ASSERT_EQ("", c.go([](::Run& r) {
    r.m.EP.XSUR = r.m.SOIL.XSUR;
    r.m.EP.QPOINT = r.m.SOIL.QPOINT;
  }));
  ASSERT_EQ("", forces(c));
  const auto& EP = c.m.EP;
  const double KA = EP.KA(1), SQ = EP.SQKA(1);
  EXPECT_NEAR(0.8 * KA * 2 * 180 + SURLAY(c.run, 0, 180), EP.PA1(1), 1e-9);
  EXPECT_NEAR(0.5 * KA * 0.8 * 180 * 180 * 0.07, EP.PA2(1), 1e-9);
  EXPECT_NEAR(-(0.8 * 2 * 180 * 0.5 * SQ), EP.PA3(1), 1e-9);
  EXPECT_EQ(90, EP.Z1(1));
  EXPECT_EQ(120, EP.Z2(1));
  EXPECT_EQ(-1.0E-5f, EP.Z3(1));
  EXPECT_GT(SURLAY(c.run, 0, 180), 0);
}

TEST(FORCES, WaterAboveTheExcavationInDrainedLayers) {
  PCase c("water");
  c.wall(ENGLISH, 30, 12.0);
  c.walrec(180, 60, 900);
  c.layer(4, 480, 0.07, 0, 30);
  ASSERT_EQ("", forces(c));
  const auto& EP = c.m.EP;
  EXPECT_EQ(0, EP.PW1(2));
  EXPECT_NEAR(0.5 * 0.036 * 120 * 120, EP.PW2(2), 1e-3);
  EXPECT_EQ(1, EP.WATFLG);
  const auto out = c.report();
  EXPECT_EQ(1, count_of(out, "*      ACTIVE WATER PRESSURE OF EACH LAYER       *"));
  EXPECT_NE(std::string::npos, out.find("\n       2       0.00  10.00     259.20  11.67\n"));
  // the submerged weight acts in the layer below the water table
  EXPECT_NEAR(0.5 * EP.KA(2) * 120 * 120 * (0.07 - 0.036f), EP.PA2(2), 1e-9);
}

TEST(FORCES, NoWaterSectionBelowTheExcavationNorRowsForUndrainedLayers) {
  PCase c("nowater");
  c.wall(ENGLISH, 30, 12.0);
  c.walrec(180, 240, 900);
  c.layer(4, 480, 0.07, 0, 30);
  ASSERT_EQ("", forces(c));
  EXPECT_EQ(0, count_of(c.report(), "ACTIVE WATER PRESSURE"));
  EXPECT_EQ(0, c.m.EP.WATFLG);

  PCase d("undrained");
  d.wall(ENGLISH, 30, 12.0);
  d.walrec(180, 60, 900);
  d.layer(4, 60, 0.07, 0, 30);
  d.layer(3, 480, 0.07, 2, 0);  // stiff clay without free water
  ASSERT_EQ("", forces(d));
  EXPECT_EQ(1, count_of(d.report(), "ACTIVE WATER PRESSURE"));
  EXPECT_EQ(0, d.m.EP.PW2(2));
  EXPECT_EQ(0, d.m.EP.WATFLG);
  EXPECT_EQ(0, count_of(d.report(), "\n       2 "));
}
