// The sampled pressure table: row counts, the columns of a sample, the envelopes of
// options 3 and 5, the pressure-exchange file.
#include <cmath>

#include "prcase.h"

namespace {

// English wall of 30 ft at 1 ft increments, excavation at 15 ft, sand (phi 30) down to
// ZBOT, dry.
void english(PCase& c, int KEP = 2, double ZBOT = 480) {
  c.wall(ENGLISH, 30, 12.0, KEP);
  c.walrec(180, 900, 900);
  c.layer(4, ZBOT, 0.07, 0, 30);
}

int count_rows(const PCase& c) { return static_cast<int>(c.exchange().size()) - 1; }
int announced(const PCase& c) { return std::stoi(c.exchange().at(0)); }

}  // namespace

TEST(BULK, EnglishWallOf30FeetHas361Rows) {
  for (double ZBOT : {360.0, 480.0, 300.0}) {  // profile to the tip, deeper, shorter
    PCase c("e361");
    english(c, 2, ZBOT);
    ASSERT_EQ("", c.go(PRESS7));
    EXPECT_EQ(361, announced(c)) << ZBOT;
    EXPECT_EQ(361, count_rows(c)) << ZBOT;
    EXPECT_EQ(360, c.m.PRS.PT(361, 1)) << ZBOT;
    EXPECT_EQ(1, c.m.PRS.PT(2, 1));
  }
}

TEST(BULK, SiWallOf10MetresHas201Rows) {
  PCase c("s201");
  c.wall(SI, 20, 0.5);
  c.walrec(4, 50, 50);
  c.layer(4, 3, 18, 0, 32);
  c.layer(4, 10, 19, 0, 36);
  ASSERT_EQ("", c.go(PRESS7));
  EXPECT_EQ(201, announced(c));
  EXPECT_EQ(201, count_rows(c));
  EXPECT_DOUBLE_EQ(0.05, c.m.PRS.PT(2, 1));
  EXPECT_DOUBLE_EQ(10, c.m.PRS.PT(201, 1));
}

TEST(BULK, LayersBelowTheWallTipAreNotSampled) {
  PCase c("deep");
  c.wall(ENGLISH, 30, 12.0);
  c.walrec(180, 900, 900);
  c.layer(4, 300, 0.07, 0, 30);
  c.layer(4, 400, 0.07, 0, 32);  // reaches below the tip: sampled to 360
  c.layer(4, 600, 0.07, 0, 34);  // entirely below the tip
  ASSERT_EQ("", c.go(PRESS7));
  EXPECT_EQ(361, announced(c));
  EXPECT_EQ(361, count_rows(c));
}

TEST(BULK, FirstRowAndASampleOfTheLayerAboveTheExcavation) {
  PCase c("columns");
  english(c);
  c.m.SOIL.QSURF = 1.0;
  c.m.SOIL.AMOD = 0.9;
  ASSERT_EQ("", c.go(PRESS7));
  const auto& PT = c.m.PRS.PT;
  const auto& EP = c.m.EP;
  const double KA = EP.KA(1), KP = EP.KP(1), K0 = EP.K0(1);
  // depth 0: the surface pressure through KA
  EXPECT_EQ(KA * 0.9 * 1.0, PT(1, 2));
  EXPECT_EQ(PT(1, 2), PT(1, 4));
  EXPECT_EQ(PT(1, 2), PT(1, 12));
  EXPECT_EQ(PT(1, 2), PT(1, 9));
  EXPECT_EQ(KP * 0.9 * 1.0, PT(1, 5));
  EXPECT_EQ(0, PT(1, 3));
  // depth 10 in (row 11)
  const double Z = 10, SIG = 1.0 + 0.07 * Z;
  EXPECT_NEAR(0.9 * KA * SIG, PT(11, 2), 1e-12);
  EXPECT_NEAR(0.9 * KA * SIG - 0.9 * KA * 1.0, PT(11, 3), 1e-12);  // minus the surface part
  EXPECT_NEAR(0.9 * KA * 1.0, PT(11, 9), 1e-12);
  EXPECT_NEAR(0.9 * KA * 1.0, PT(11, 4), 1e-12);
  EXPECT_NEAR(0.9 * KP * SIG, PT(11, 5), 1e-12);
  EXPECT_NEAR(0.9 * K0 * SIG, PT(11, 6), 1e-12);
  EXPECT_NEAR(0.9 * KA * 0.07 * Z, PT(11, 7), 1e-12);
  EXPECT_EQ(0, PT(11, 8));
  EXPECT_NEAR(0.9 * KA * SIG, PT(11, 12), 1e-12);
  // below the excavation level the active pressure stays at its value at 15 ft
  EXPECT_NEAR(0.9 * KA * (1.0 + 0.07 * 180), PT(300, 2), 1e-12);
  EXPECT_NEAR(PT(182, 2), PT(361, 2), 1e-12);
  // while the passive gradient of the layer above goes on
  EXPECT_NEAR(0.9 * KP * (1.0 + 0.07 * 180) + 0.9 * KP * 0.07 * 100, PT(281, 5), 1e-10);
}

TEST(BULK, PressuresInTensionAreFlooredToTinyPositiveValues) {
  PCase c("floors");
  c.wall(SI, 16, 0.5);
  c.walrec(3, 50, 50);
  c.layer(1, 8, 18, 20, 0);  // 2c = 40 above the overburden down to 2.2 m
  ASSERT_EQ("", c.go(PRESS7));
  const auto& PT = c.m.PRS.PT;
  EXPECT_EQ(static_cast<double>(2.0f * 1.0E-12f), PT(2, 2));
  EXPECT_EQ(static_cast<double>(2.0f * 1.0E-12f), PT(2, 3));
  EXPECT_EQ(static_cast<double>(2.0f * 1.0E-12f), PT(2, 7));
  EXPECT_EQ(static_cast<double>(40.0f * 1.0E-12f), PT(40, 2));
  EXPECT_GT(PT(50, 2), 1);  // 2.45 m: 44.1 - 40
  for (int I = 2; I <= c.m.PRS.NPRES; ++I) EXPECT_GT(PT(I, 2), 0) << I;
}

TEST(BULK, WaterOnBothSides) {
  PCase c("water2");
  c.wall(SI, 16, 0.5);
  c.walrec(3, 1, 2, 1, 1, 1, 0, 1);  // backfill water at 1 m, excavation water at 2 m
  c.layer(4, 8, 19, 0, 30);
  ASSERT_EQ("", c.go(PRESS7));
  const auto& PT = c.m.PRS.PT;
  const auto& EP = c.m.EP;
  const double GW = 9.81f;
  // at 2.5 m (row 51): backfill water 1.5 m, excavation water 0.5 m
  const double SIG2 = 19 * 1.0;  // effective stress at the water table
  const double KA = EP.KA(2);
  const double EARTH = KA * (SIG2 + (19 - GW) * 1.5);
  EXPECT_NEAR(EARTH + GW * 1.5 - GW * 0.5, PT(51, 2), 1e-9);
  EXPECT_NEAR(GW * 1.5 - GW * 0.5, PT(51, 8), 1e-9);
  EXPECT_NEAR(EARTH, PT(51, 7), 1e-9);
  // at 5 m (row 101), below the excavation: active part at its 3 m value, the water
  // of each side grows with depth, the excavation side stopping at 3 m in column 2
  const double EARTH3 = KA * (SIG2 + (19 - GW) * 2);
  EXPECT_NEAR(EARTH3 + GW * 2 - GW * 1, PT(101, 2), 1e-9);
  EXPECT_NEAR(GW * 4 - GW * 3, PT(101, 8), 1e-9);
}

TEST(BULK, OptionThreeEnvelopeWithOneTieBack) {
  PCase c2("opt2");
  english(c2, 2);
  c2.tie(3);  // 3 ft
  ASSERT_EQ("", c2.go(PRESS7));
  PCase c3("opt3");
  english(c3, 3);
  c3.tie(3);
  ASSERT_EQ("", c3.go(PRESS7));
  const auto& P2 = c2.m.PRS.PT;
  const auto& P3 = c3.m.PRS.PT;
  // running sums of the option-2 table above the excavation level (rows 1..181)
  double F = 0, FE = 0;
  for (int I = 2; I <= 181; ++I) {
    F += (P2(I - 1, 2) + P2(I, 2)) / 2;
    FE += (P2(I - 1, 7) + P2(I - 1, 9) + P2(I, 7) + P2(I, 9)) / 2;
  }
  const double P = 1.3 * F / 120;  // 1.3 F / (2 Hd / 3), Hd = 15 ft
  const double PE = 1.3 * FE / 120;
  EXPECT_NEAR(P / 2, P3(13, 2), 1e-6 * P);   // 1 ft: half way up the ramp to 2 ft
  EXPECT_NEAR(P, P3(25, 2), 1e-6 * P);       // 2 ft
  EXPECT_NEAR(P, P3(85, 2), 1e-6 * P);       // 7 ft: end of the plateau
  EXPECT_NEAR(P / 2, P3(133, 2), 1e-6 * P);  // 11 ft: half way down to 15 ft
  EXPECT_NEAR(0, P3(181, 2), 1e-6 * P);      // 15 ft
  EXPECT_NEAR(PE, P3(50, 11), 1e-6 * PE);
  EXPECT_NEAR(P3(50, 11) + P3(50, 10) + P3(50, 8), P3(50, 12), 1e-12);
  // the excavation-level row follows once more as formed; the count announces it
  EXPECT_EQ(362, announced(c3));
  EXPECT_EQ(362, count_rows(c3));
  for (int I = 181; I <= 361; ++I)
    for (int K = 1; K <= 12; ++K) ASSERT_EQ(P2(I, K), P3(I + 1, K)) << I << " " << K;
  EXPECT_EQ(P3(181, 1), P3(182, 1));
}

TEST(BULK, OptionThreeWithTwoTieBacks) {
  PCase c("opt3two");
  english(c, 3);
  c.tie(3);
  c.tie(9);
  ASSERT_EQ("", c.go(PRESS7));
  const auto& PT = c.m.PRS.PT;
  // ramp to 2 ft, plateau to Hd - 2 (Hd - 9 ft) / 3 = 11 ft, then down to 15 ft
  EXPECT_NEAR(PT(25, 2), PT(133, 2), 1e-9);
  EXPECT_NEAR(PT(25, 2) / 2, PT(157, 2), 1e-9 * PT(25, 2));
  EXPECT_GT(PT(25, 2), 0);
}

TEST(BULK, OptionFiveOverSoftClay) {
  PCase c("opt5");
  c.wall(SI, 16, 0.5, 5);
  c.walrec(4, 50, 50);
  c.m.SOIL.QSURF = 10;
  c.layer(1, 8, 17, 30, 0, 0.45);  // soft clay with an optional coefficient
  c.tie(2);
  ASSERT_EQ("", c.go(PRESS7));
  const auto& PT = c.m.PRS.PT;
  const auto& EP = c.m.EP;
  const double PEAK2 = EP.KA(2) * EP.SIGV(2) * 1;  // at the excavation level
  EXPECT_DOUBLE_EQ(0.45 * (10 + 17 * 4), PEAK2);
  EXPECT_EQ(0, PT(1, 12));
  EXPECT_EQ(0, PT(1, 9));
  // soft clay: ramp to Hd / 4 = 1 m, plateau to the excavation level
  EXPECT_NEAR(PEAK2 / 2, PT(11, 11), 1e-9);
  EXPECT_NEAR(PEAK2, PT(21, 11), 1e-9);
  EXPECT_NEAR(PEAK2, PT(81, 11), 1e-9);
  for (int I : {11, 21, 81}) {
    EXPECT_NEAR(PT(I, 11) + PT(I, 10), PT(I, 12), 1e-12);
    EXPECT_NEAR(10 * EP.KA(1) * PT(I, 11) / PEAK2, PT(I, 9), 1e-12);
    EXPECT_NEAR(PT(I, 11) - PT(I, 9), PT(I, 7), 1e-12);
    EXPECT_EQ(0, PT(I, 8));
  }
  // the excavation-level row again and the rows below: no envelope
  EXPECT_EQ(PT(81, 1), PT(82, 1));
  for (int I = 82; I <= 162; ++I) {
    EXPECT_EQ(0, PT(I, 11));
    EXPECT_EQ(0, PT(I, 8));
  }
  EXPECT_EQ(162, announced(c));
  EXPECT_EQ(162, count_rows(c));
}

TEST(BULK, ExchangeFileLayout) {
  PCase c("layout");
  english(c);
  ASSERT_EQ("", c.go(PRESS7));
  const auto x = c.exchange();
  EXPECT_EQ(io::list_format(361), x[0]);
  ASSERT_EQ(12u * 11, x[1].size());
  EXPECT_EQ("  0.000E+00", x[1].substr(0, 11));
  EXPECT_EQ("  0.100E+01", x[2].substr(0, 11));
}

// The rows kept for the driver are the file's rows as a list-directed READ takes them,
// bit for bit; the driver takes them from there (the file is not read again).
TEST(BULK, RowsKeptAreThoseTheFileReadsBack) {
  for (int KEP : {2, 3, 5}) {
    PCase c("kept" + std::to_string(KEP));
    english(c, KEP);
    c.tie(5);
    ASSERT_EQ("", c.go(PRESS7));
    const auto& PRS = c.m.PRS;
    const auto x = c.exchange();
    ASSERT_EQ(1, PRS.KHELD);
    ASSERT_EQ(announced(c), PRS.NHELD);
    for (int I = 1; I <= PRS.NHELD; ++I) {
      double row[12];
      io::list_parse_into(x[static_cast<std::size_t>(I)], {"row"}, std::span<double>(row, 12));
      for (int K = 1; K <= 12; ++K) ASSERT_EQ(row[K - 1], PRS.PH(I, K)) << I << " " << K;
    }
    ASSERT_EQ("", c.go(EARTHP));
    EXPECT_EQ(0, PRS.KHELD);
    EXPECT_EQ(announced(c), PRS.NPRES);
  }
}
