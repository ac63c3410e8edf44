// Working layers, overburden stress and coefficients of the earth-pressure set-up.
#include <cmath>

#include "prcase.h"

namespace {

const double DEG = 57.2958f;

// English wall of 30 ft at 1 ft increments, excavation at 15 ft, water far below, one
// sand layer (120 pcf, phi 30) down to 40 ft.
void sand(PCase& c, double PHI = 30, double BETA = 0) {
  c.wall(ENGLISH, 30, 12.0);
  c.walrec(180, 900, 900, 1, 1, 1, BETA);
  c.layer(4, 480, 0.0694, 0, PHI);
}

// Set-up to the coefficients, as PRESS7 runs them.
std::string setup(PCase& c) {
  return c.go([](::Run& r) {
    r.m.EP.HFREE = r.m.SOIL.HFREE;
    r.m.EP.ZWA = r.m.SOIL.ZWA;
    r.m.EP.ZWP = r.m.SOIL.ZWP;
    r.m.EP.QSURF = r.m.SOIL.QSURF;
    r.m.EP.GAMW = r.m.C.IUNIT == SI ? 9.81f : 0.036f;
    r.m.EP.TOLEP = 1.0E-5f;
    LAYERS(r);
    OUTPT7(r);
    START7(r);
  });
}

}  // namespace

TEST(START7, FlatBackfillRankineWithTheMethodsDegree) {
  PCase c("flat");
  sand(c);
  ASSERT_EQ("", setup(c));
  const auto& EP = c.m.EP;
  const double T = std::tan((45 - 15.0) / DEG);
  EXPECT_EQ(T * T, EP.KA(1));
  EXPECT_EQ(T, EP.SQKA(1));
  EXPECT_NEAR(1.0 / 3, EP.KA(1), 1e-6);
  EXPECT_NE(std::pow(std::tan(M_PI / 6), 2), EP.KA(1));  // 57.2958, not 180/pi
  const double TP = std::tan((45 + 15.0) / DEG);
  EXPECT_EQ(TP, EP.TANKP(1));
  EXPECT_EQ(TP * TP, EP.KP(1));
  EXPECT_EQ(1 - std::sin(30 / DEG), EP.K0(1));
  EXPECT_EQ(0, count_of(c.report(), "WARNING"));
}

TEST(START7, ClayWithoutFrictionHasUnitCoefficients) {
  PCase c("clay");
  c.wall(SI, 20, 0.5);
  c.walrec(4, 50, 50);
  c.layer(1, 12, 18, 25, 0);
  ASSERT_EQ("", setup(c));
  const auto& EP = c.m.EP;
  // 1 within the difference of 57.2958 from 180/pi
  EXPECT_NEAR(1, EP.KA(1), 2e-6);
  EXPECT_NEAR(1, EP.SQKA(1), 1e-6);
  EXPECT_NEAR(1, EP.KP(1), 2e-6);
  EXPECT_EQ(1, EP.K0(1));
  EXPECT_FALSE(EP.DRAIND(1));
}

TEST(START7, SlopingBackfill) {
  PCase c("slope");
  sand(c, 30, 10);
  ASSERT_EQ("", setup(c));
  const double B = std::cos(10 / DEG), CP = std::cos(30 / DEG);
  const double S = std::sqrt(B * B - CP * CP);
  EXPECT_DOUBLE_EQ(B * (B - S) / (B + S), c.m.EP.KA(1));
  EXPECT_DOUBLE_EQ(std::sqrt(c.m.EP.KA(1)), c.m.EP.SQKA(1));
  // the passive coefficient stays that of a flat backfill
  const double TP = std::tan((45 + 15.0) / DEG);
  EXPECT_EQ(TP * TP, c.m.EP.KP(1));
  EXPECT_EQ(0, count_of(c.report(), "WARNING"));
}

TEST(START7, SlopeNotBelowFrictionWarnsOnceForALayerAboveTheExcavation) {
  PCase c("slopewarn");
  sand(c, 30, 30);  // one layer split at the excavation: rows 1 (above) and 2 (below)
  ASSERT_EQ("", setup(c));
  ASSERT_EQ(2, c.m.EP.NLW);
  const double T = std::tan((45 - 15.0) / DEG);
  EXPECT_EQ(T * T, c.m.EP.KA(1));  // flat-backfill value kept
  EXPECT_EQ(T * T, c.m.EP.KA(2));
  const std::string W =
      "\n\n**** WARNING ******\n"
      "THE BACKFILL SLOPE ANGLE SHOULD BE LESS THAN THE 'INTERNAL FRICTION ANGLE OF SAND.\n";
  EXPECT_EQ(1, count_of(c.report(), W));
  EXPECT_EQ(1, count_of(c.log(), W));
  // the warning comes right before the row of its layer
  EXPECT_NE(std::string::npos, c.report().find(W + "           1 "));
}

TEST(START7, OptionalCoefficientReplacesKaWithoutStrengthTerm) {
  PCase c("kopt");
  c.wall(ENGLISH, 30, 12.0);
  c.walrec(180, 900, 900);
  c.layer(4, 120, 0.0694, 0.5, 30, 0.5);  // sand with KOPT
  c.layer(6, 480, 0.08, 10, 40, 0.7);     // rock: KOPT ignored
  ASSERT_EQ("", setup(c));
  const auto& EP = c.m.EP;
  EXPECT_EQ(0.5, EP.KA(1));
  EXPECT_EQ(0, EP.SQKA(1));
  EXPECT_EQ(0, EP.KOPT(2));
  EXPECT_NE(0, EP.SQKA(2));
  // the table shows the Rankine KA and the optional coefficient as used
  const auto out = c.report();
  EXPECT_NE(std::string::npos, out.find("\n           1          3.333E-01         3.000E+00         5.000E-01\n"));
  EXPECT_NE(std::string::npos, out.find("\n           2          2.174E-01         4.599E+00         0.000E+00\n"));
}

TEST(START7, OptionFiveTakesAZeroOptionalCoefficient) {
  PCase c("kep5");
  sand(c);
  c.m.C.KEP = 5;
  ASSERT_EQ("", setup(c));
  EXPECT_EQ(0, c.m.EP.KA(1));
  EXPECT_NE(0, c.m.EP.SQKA(1));
}

TEST(START7, UndrainedLayerWithOptionalCoefficientCarriesTotalStress) {
  PCase c("sigv");
  c.wall(ENGLISH, 30, 12.0);
  c.walrec(240, 120, 900);
  c.m.SOIL.QSURF = 1.5;
  c.layer(4, 120, 0.07, 0, 30);
  c.layer(1, 480, 0.065, 5, 0, 0.6);  // soft clay below the water table, KOPT 0.6
  ASSERT_EQ("", setup(c));
  const auto& EP = c.m.EP;
  ASSERT_EQ(3, EP.NLW);  // 0-120, 120-240 (water table at its top), 240-480
  EXPECT_EQ(2, EP.IWAT);
  EXPECT_EQ(3, EP.IEXC);
  const double GW = 0.036f;
  const double TOTAL3 = 1.5 + 120 * 0.07 + 120 * 0.065;
  EXPECT_DOUBLE_EQ(TOTAL3, EP.SIGV(3));  // total stress passed on
  // the report shows the effective stress at 20 ft
  const double EFF3 = TOTAL3 - 120 * GW;
  EXPECT_NE(std::string::npos,
            c.report().find(io::format("(12X,1P,E10.3,17X,1P,E10.3)", 20.0, EFF3)));
  EXPECT_TRUE(EP.WETTOP(2));
  EXPECT_FALSE(EP.WETTOP(1));
}

TEST(LAYERS, SplitsAtExcavationAndWaterTable) {
  PCase c("split");
  sand(c);
  c.m.SOIL.ZWA = 60;
  ASSERT_EQ("", setup(c));
  const auto& EP = c.m.EP;
  ASSERT_EQ(3, EP.NLW);
  EXPECT_EQ(60, EP.THICK(1));
  EXPECT_EQ(120, EP.THICK(2));
  EXPECT_EQ(300, EP.THICK(3));
  EXPECT_EQ(480, EP.ZTOP(4));
  EXPECT_EQ(2, EP.IWAT);
  EXPECT_EQ(3, EP.IEXC);
}

TEST(LAYERS, BoundaryWithinToleranceOfTheExcavationIsNotSplit) {
  PCase c("tol");
  c.wall(ENGLISH, 30, 12.0);
  c.walrec(180, 900, 900);
  c.layer(4, 180.000004, 0.07, 0, 30);
  c.layer(4, 480, 0.07, 0, 35);
  ASSERT_EQ("", setup(c));
  EXPECT_EQ(2, c.m.EP.NLW);
  EXPECT_EQ(2, c.m.EP.IEXC);
  // a boundary just beyond the tolerance is split
  PCase d("tol2");
  d.wall(ENGLISH, 30, 12.0);
  d.walrec(180, 900, 900);
  d.layer(4, 180.00002, 0.07, 0, 30);
  d.layer(4, 480, 0.07, 0, 35);
  ASSERT_EQ("", setup(d));
  EXPECT_EQ(3, d.m.EP.NLW);
  EXPECT_EQ(2, d.m.EP.IEXC);
}

TEST(LAYERS, WaterTableAtTheExcavationIsOneKey) {
  PCase c("onekey");
  sand(c);
  c.m.SOIL.ZWA = 180.000001;
  ASSERT_EQ("", setup(c));
  EXPECT_EQ(2, c.m.EP.NLW);
  EXPECT_EQ(2, c.m.EP.IEXC);
  EXPECT_EQ(2, c.m.EP.IWAT);
}

TEST(LAYERS, WaterAboveTheGroundMakesNoRowOfNegativeThickness) {
  PCase c("wetsurface");
  sand(c);
  c.m.SOIL.ZWA = -24;
  ASSERT_EQ("", setup(c));
  ASSERT_EQ(2, c.m.EP.NLW);
  EXPECT_EQ(180, c.m.EP.THICK(1));
  EXPECT_EQ(300, c.m.EP.THICK(2));
  EXPECT_TRUE(c.m.EP.WETTOP(1));
  EXPECT_EQ(0, c.m.EP.IWAT);
}

TEST(LAYERS, ZeroThicknessEndsTheProfile) {
  PCase c("end");
  c.wall(ENGLISH, 30, 12.0);
  c.walrec(180, 900, 900);
  c.layer(4, 240, 0.07, 0, 30);
  c.layer(4, 240, 0.07, 0, 30);  // bottom not below the one above: end of the profile
  c.layer(4, 480, 0.07, 0, 30);
  ASSERT_EQ("", setup(c));
  EXPECT_EQ(2, c.m.EP.NLW);
  EXPECT_EQ(240, c.m.EP.ZTOP(3));
}

TEST(OUTPT7, ProfileEndingAboveTheExcavationStopsWithCode1AfterTheSections) {
  PCase c("stop1");
  c.wall(ENGLISH, 30, 12.0);
  c.walrec(180, 900, 900);
  c.layer(4, 100, 0.07, 0, 30);
  EXPECT_EQ("STOP 1", setup(c));
  const auto out = c.report();
  EXPECT_NE(std::string::npos, out.find("*                WALL INFORMATION                *"));
  EXPECT_NE(std::string::npos, out.find("*              SURCHARGE INFORMATION             *"));
  EXPECT_NE(std::string::npos, out.find("*                SOIL INFORMATION                *"));
  EXPECT_EQ(std::string::npos, out.find("OVERBURDEN"));
}

TEST(OUTPT7, MoreThan21WorkingLayersStopsWithCode2AfterTheSections) {
  PCase c("stop2");
  c.wall(ENGLISH, 30, 12.0);
  c.walrec(185, 65, 900);
  for (int J = 1; J <= 20; ++J) c.layer(4, 10.0 * J, 0.07, 0, 30);  // two splits: 22 rows
  EXPECT_EQ("STOP 2", setup(c));
  EXPECT_EQ(21, c.m.EP.NLW);
  EXPECT_EQ(1, c.m.EP.KOVFL);
  EXPECT_EQ(21, c.m.EP.IEXC);
  // the soil table lists the 21 rows kept
  EXPECT_EQ(1, count_of(c.report(), "\n        21"));
  EXPECT_EQ(0, count_of(c.report(), "\n        22"));
}

TEST(OUTPT7, MissingExcavationRowIsReportedBeforeTheOverflow) {
  PCase c("stop12");
  c.wall(ENGLISH, 30, 12.0);
  c.walrec(195, 65, 900);  // the excavation-level row would be row 22
  for (int J = 1; J <= 20; ++J) c.layer(4, 10.0 * J, 0.07, 0, 30);
  EXPECT_EQ("STOP 1", setup(c));
  EXPECT_EQ(1, c.m.EP.KOVFL);
}
