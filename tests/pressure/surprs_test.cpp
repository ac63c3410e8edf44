// Surcharge pressures: the sum over the surcharge list at one depth and the layer force
// of the single-load values.
#include <cmath>

#include "prcase.h"

namespace {

// English wall of 200 in (sample step 1 in), free height 100 in.
void base(PCase& c) {
  c.wall(ENGLISH, 20, 10.0);
  c.m.EP.HFREE = 100;
}
double point_near(double P, double N, double H) {  // m <= 0.4
  return double(0.28f) * P * N * N / (H * H * std::pow(0.16f + N * N, 3));
}

}  // namespace

TEST(SURPRS, EmptyListGivesNoPressure) {
  PCase c("empty");
  base(c);
  c.m.EP.SIGMAH = 5;
  SURPRS(c.run, 50);
  EXPECT_EQ(0, c.m.EP.SIGMAH);
}

TEST(SURPRS, PressureIsThatOfTheSampleJustAboveTheDepth) {
  PCase c("sample");
  base(c);
  c.sur(1, 1000, 40);  // m = 0.4 exactly: the near-wall form
  SURPRS(c.run, 50.5);
  const double P50 = point_near(1000, 50.0 / 100, 100);
  EXPECT_NEAR(P50, c.m.EP.SIGMAH, 1e-12 * P50);
  SURPRS(c.run, 50);  // strictly above: the sample at 49
  EXPECT_NEAR(point_near(1000, 0.49, 100), c.m.EP.SIGMAH, 1e-12);
  // shear: the samples above, times the step
  double Q = 0;
  for (int K = 1; K <= 49; ++K) Q += point_near(1000, K / 100.0, 100);
  EXPECT_NEAR(Q, c.m.EP.QSHRP, 1e-9);
}

TEST(SURPRS, FarPointLoadUsesTheOtherForm) {
  PCase c("far");
  base(c);
  c.sur(1, 1000, 41);
  SURPRS(c.run, 30.5);
  const double M = 0.41, N = 0.30;
  const double S = M * M + N * N;
  EXPECT_NEAR(double(1.77f) * 1000 * M * M * N * N / (100.0 * 100 * S * S * S), c.m.EP.SIGMAH, 1e-12);
}

TEST(SURPRS, DepthNotBelowTheFirstSampleGetsNothing) {
  PCase c("shallow");
  base(c);
  c.sur(2, 50, 10);
  SURPRS(c.run, 1.0);  // first sample at 1.0, not above it
  EXPECT_EQ(0, c.m.EP.SIGMAH);
  // the vertical distance moves the load above the wall top
  c.m.SOIL.SVERT(1) = 0.5;
  SURPRS(c.run, 1.0);
  EXPECT_NEAR(double(0.203f) * 50 * 0.01 / (100 * std::pow(0.16f + 0.0001, 2)), c.m.EP.SIGMAH, 1e-12);
}

TEST(SURPRS, ListedLoadsAreSummedWithTheirFactors) {
  PCase c("sum");
  base(c);
  c.sur(1, 1000, 30, 0, 0, 0.5);
  c.sur(1, 400, 20);
  SURPRS(c.run, 60.5);
  const double E = point_near(500, 0.6, 100) + point_near(400, 0.6, 100);
  EXPECT_NEAR(E, c.m.EP.SIGMAH, 1e-12);
  EXPECT_EQ(20, c.m.EP.XSUR);  // the distance of the last listed load
  // factor 0: nothing
  c.m.SOIL.SFACT(1) = 0;
  c.m.SOIL.NSUR = 1;
  SURPRS(c.run, 60.5);
  EXPECT_EQ(0, c.m.EP.SIGMAH);
}

TEST(SURPRS, StripLoadOverTheWall) {
  PCase c("strip");
  base(c);
  c.sur(3, 2.0, 0, 30);
  SURPRS(c.run, 20.5);
  const double A2 = std::atan(15.0 / 20), BET = 2 * A2;
  const double E = static_cast<double>(2.0f / 3.1416f) * 2.0 * (BET - std::sin(BET));
  EXPECT_NEAR(E, c.m.EP.SIGMAH, 1e-12);
  // kind 4 is taken as a point load
  c.m.SOIL.KSUR(1) = 4;
  c.m.SOIL.SDIST(1) = 10;
  SURPRS(c.run, 20.5);
  EXPECT_NEAR(point_near(2.0, 0.2, 100), c.m.EP.SIGMAH, 1e-15);
}

TEST(SURPRS, MomentsAboutTheDepthAndTheExcavation) {
  PCase c("moments");
  base(c);
  c.sur(2, 100, 60);
  SURPRS(c.run, 3.5);  // samples 1, 2, 3
  double Q = 0, MP = 0, MH = 0;
  for (int K = 1; K <= 3; ++K) {
    const double M = 0.6, N = K / 100.0, S = M * M + N * N;
    const double P = 4 * 100 * M * M * N / (double(3.1416f) * 100 * S * S);
    Q += P;
    MP += P * (3.5 + 0.5 - K);
    MH += P * (K - 0.5 - 100);
  }
  EXPECT_NEAR(Q, c.m.EP.QSHRP, 1e-12);
  EXPECT_NEAR(MP, c.m.EP.QMOMP, 1e-12);
  EXPECT_NEAR(MH, c.m.EP.QMOMH, 1e-10);
}

TEST(SURPRS, FreeHeightBelowOneMillionthWithSurchargesIsAnInputError) {
  PCase c("nohfree");
  base(c);
  c.m.EP.HFREE = 5.0E-7;
  c.sur(1, 1000, 40);
  EXPECT_EQ("END", c.go([](::Run& r) { SURPRS(r, 10); }));
  EXPECT_NE(std::string::npos, c.report().find("FREE HEIGHT OF WALL IS LESS THAN 1.0E-06"));
  EXPECT_EQ(1, c.m.D.KERR);
  // without surcharge rows the free height is not needed
  c.m.SOIL.NSUR = 0;
  EXPECT_EQ("", c.go([](::Run& r) { SURPRS(r, 10); }));
}

TEST(SURLAY, SingleLoadsOverTenSamplesIgnoringFactors) {
  PCase c("surlay");
  base(c);
  auto& EP = c.m.EP;
  EP.XSUR = 30;
  EP.QPOINT = 1000;
  // layer 20..70: samples 25, 30, ..., 70
  double E = 0;
  for (int K = 1; K <= 10; ++K) E += point_near(1000, (20 + 5.0 * K) / 100, 100) * 5;
  EXPECT_NEAR(E, SURLAY(c.run, 20, 50), 1e-12);
  // loads of 1.0E-4 or less are skipped; the line form of the layer forces
  EP.QPOINT = 1.0E-4f;  // the threshold itself, as a single-precision value
  EP.XSUR = 50;
  EP.QLINE = 10;
  E = 0;
  for (int K = 1; K <= 10; ++K) {
    const double M = 0.5, N = (20 + 5.0 * K) / 100, S = M * M + N * N;
    E += double(1.273f) * 10 * M * M * N / (100 * S * S) * 5;
  }
  EXPECT_NEAR(E, SURLAY(c.run, 20, 50), 1e-12);
  // strip with 2/pi as 0.6366, distances over the free height
  EP.QLINE = 0;
  EP.QSTRIP = 3;
  EP.BSTRIP = 40;
  EP.XSUR = 0;
  double S3 = 0;
  for (int K = 1; K <= 10; ++K) {
    const double N = (20 + 5.0 * K) / 100, B1 = std::atan(-0.2 / N), B2 = std::atan(0.2 / N);
    S3 += double(0.6366f) * 3 * ((B2 - B1) - std::sin(B2 - B1) * std::cos(B1 + B2)) * 5;
  }
  EXPECT_NEAR(S3, SURLAY(c.run, 20, 50), 1e-12);
}
