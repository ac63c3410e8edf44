// Sand, silt, stiff clay, rock and weak rock curves: the coefficient tables, each curve
// against its closed forms at the characteristic deflections, and each model through
// PYGEN with its input checks.
#include <gtest/gtest.h>

#include <cmath>

#include "soilcase.h"

namespace {

double tol(double v) { return 1e-12 * std::fabs(v); }

// Sand curve of a 1 m element with pu = 88, pm = 50 (static A and B beyond x/b = 6, ps = 100).
const double B1 = 1.0, YM = B1 / 60, YU = 3 * B1 / 80, PU = 88, PM = 50;
// The parabola through (ym, pm) with the slope of the straight part: m, n, C.
const double M = (PU - PM) / (YU - YM), NEXP = PM / (M * YM), CP = PM / std::pow(YM, 1 / NEXP);
double YKOF(double KX) { return std::pow(CP / KX, NEXP / (NEXP - 1)); }

// A layer of TYPE from the top of the wall to 8 m with KPY and RQD, through PYGEN.
struct ModelCase : SoilCase {
  ModelCase(int type, double s, double e50, double phi, double kpy, double rqd = 0) {
    layer(type, 8.0, 18, s, s, e50, e50, phi, phi);
    m.SOIL.KPYTOP(1) = kpy;
    m.SOIL.KPYBOT(1) = kpy;
    m.SOIL.RQD(1) = rqd;
  }
  std::vector<Pts> curves() {
    PYGEN(run);
    return report_curves(report());
  }
  bool says(const std::string& s) const { return report().find(s) != std::string::npos; }
};

}  // namespace

TEST(SANDCORE, CoefficientTablesAndTheirExtension) {
  EXPECT_NEAR(0.88, SANDA(1, 8.0), 1e-15);
  EXPECT_NEAR(0.50, SANDB(1, 8.0), 1e-15);
  EXPECT_NEAR(0.55, SANDB(0, 8.0), 1e-15);
  EXPECT_NEAR((2.83 + 2.48) / 2, SANDA(1, 0.25), 1e-15);
  EXPECT_NEAR((0.70 + 0.55) / 2, SANDB(0, 3.5), 1e-15);
  EXPECT_NEAR(0.60, STIFAS(7.0), 1e-15);
  EXPECT_NEAR((0.223 + 0.46) / 2, STIFAS(0.5), 1e-15);
  EXPECT_NEAR(0.30, STIFAC(5.0), 1e-15);
}

TEST(SANDCV, NoResistanceAndAStiffInitialLine) {
  PyCurve CV;
  SandPar P = SANDPR(0, 0, YU, YM, 1.0E6, B1, true);
  EXPECT_EQ(2 * B1, P.YK);
  SANDCV(P, false, true, CV);
  // The standard deflections: y1 = ym/10, tenths from y1 to ym, thirds to yu, then 1.2 yu.
  const double Y1 = YM / 10, WANT[6] = {Y1 / 2, YM, (YU + 2 * YM) / 3, (2 * YU + YM) / 3, YU, 1.2 * YU};
  for (int J = 1; J <= NPYP; ++J) {
    const double W = J == 1 ? 0 : J == 2 ? WANT[0] : J <= 12 ? Y1 + (YM - Y1) * (J - 3) / 10 : WANT[J - 12];
    EXPECT_NEAR(W, CV.Y(J), tol(W)) << J;
    EXPECT_EQ(0.0, CV.P(J)) << J;
  }
  // kx = 1E6: the initial line meets the parabola far below ym/5, at yk.
  const double KX = 1.0E6, YK = YKOF(KX);
  P = SANDPR(PU, PM, YU, YM, KX, B1, false);
  EXPECT_NEAR(M, P.M, tol(M));
  EXPECT_NEAR(1 / NEXP, P.INVN, tol(1 / NEXP));
  EXPECT_NEAR(CP, P.CC, 1e-11 * CP);
  EXPECT_NEAR(YK, P.YK, 1e-11 * YK);
  SANDCV(P, false, false, CV);
  EXPECT_NEAR(YK / 2, CV.Y(2), 1e-11 * YK);
  EXPECT_NEAR(YK, CV.Y(3), 1e-11 * YK);
  EXPECT_NEAR(CP * std::pow(YK, 1 / NEXP), CV.P(3), 1e-10 * CV.P(3));  // both branches meet at yk
  for (int J = 4; J <= 12; ++J) {
    const double Y = YK + (YM - YK) * (J - 3) / 10;
    EXPECT_NEAR(Y, CV.Y(J), tol(Y)) << J;
    EXPECT_NEAR(CP * std::pow(Y, 1 / NEXP), CV.P(J), 1e-11 * PM) << J;
  }
  EXPECT_NEAR(PM, CV.P(13), tol(PM));
  EXPECT_NEAR(PM + M * (CV.Y(14) - YM), CV.P(14), tol(PU));
  EXPECT_NEAR(PM + 2 * (PU - PM) / 3, CV.P(15), tol(PU));
  EXPECT_NEAR(PU, CV.P(16), tol(PU));
  EXPECT_NEAR(PU, CV.P(17), tol(PU));
  for (int J = 1; J <= NPYP; ++J) EXPECT_LE(CV.P(J), KX * CV.Y(J) * (1 + 1e-12)) << J;
}

TEST(SANDCV, ModerateAndSoftInitialLines) {
  PyCurve CV;
  // kx = 4000: yk lies between ym/5 and ym, so y1 = ym/10 and the points go in tenths to ym.
  double KX = 4000, YK = YKOF(KX);
  ASSERT_GT(YK, YM / 5);
  ASSERT_LT(YK, YM);
  SANDCV(SANDPR(PU, PM, YU, YM, KX, B1, false), false, false, CV);
  for (int J = 2; J <= 12; ++J) {
    const double Y = J == 2 ? YM / 20 : YM / 10 + 0.9 * YM * (J - 3) / 10;
    EXPECT_NEAR(Y, CV.Y(J), tol(Y)) << J;
    const double W = Y <= YK ? KX * Y : CP * std::pow(Y, 1 / NEXP);
    EXPECT_NEAR(W, CV.P(J), 1e-11 * W) << J;
    EXPECT_LE(CV.P(J), KX * Y * (1 + 1e-12)) << J;
  }
  EXPECT_NEAR(PM, CV.P(13), tol(PM));
  EXPECT_NEAR(PU, CV.P(17), tol(PU));
  // kx = 1000: the line meets the curve beyond yu; yu moves to pu/kx, ym with it, yk = ym/10.
  KX = 1000;
  ASSERT_GT(YKOF(KX), YU);
  SANDCV(SANDPR(PU, PM, YU, YM, KX, B1, false), false, false, CV);
  const double YU2 = PU / KX, YM2 = YM * YU2 / YU, Y1 = YM2 / 10;
  EXPECT_NEAR(Y1 / 2, CV.Y(2), tol(Y1));
  EXPECT_NEAR(Y1, CV.Y(3), tol(Y1));
  EXPECT_NEAR(YM2, CV.Y(13), tol(YM2));
  EXPECT_NEAR(YU2, CV.Y(16), tol(YU2));
  EXPECT_NEAR(1.2 * YU2, CV.Y(17), tol(YU2));
  EXPECT_NEAR(KX * Y1, CV.P(3), tol(KX * Y1));
  EXPECT_NEAR(PU, CV.P(16), tol(PU));
  EXPECT_NEAR(PU, CV.P(17), tol(PU));
  for (int J = 1; J <= NPYP; ++J) EXPECT_LE(CV.P(J), KX * CV.Y(J) * (1 + 1e-12)) << J;
}

TEST(SILTCV, ThreeShapesAndACohesionBeyondPu) {
  // No cohesion, pphi = 100 at x/b = 0: pu = 2.83 pphi, pm = 1.5 pphi.
  const double PUS = 283, PMS = 150, MS = (PUS - PMS) / (YU - YM);
  PyCurve CV, SAND;
  // Shape 1: the parabola is reached before ym; the silt curve is the sand curve.
  SandPar P = SANDPR(PUS, PMS, YU, YM, 1.0E6, B1, false);
  EXPECT_EQ(1, SILTCV(P, false, CV));
  SANDCV(P, false, false, SAND);
  for (int J = 1; J <= NPYP; ++J) {
    EXPECT_EQ(SAND.Y(J), CV.Y(J)) << J;
    EXPECT_EQ(SAND.P(J), CV.P(J)) << J;
  }
  // Shape 2: kx = 8000 meets the straight part at yi between ym and yu.
  double KX = 8000;
  const double YI = (PMS - YM * MS) / (KX - MS);
  ASSERT_GE(YI, YM);
  ASSERT_LT(YI, YU);
  EXPECT_EQ(2, SILTCV(SANDPR(PUS, PMS, YU, YM, KX, B1, false), false, CV));
  for (int K = 1; K <= 8; ++K) EXPECT_NEAR(YI * K / 8, CV.Y(1 + K), tol(YI)) << K;
  for (int J = 1; J <= 5; ++J) {
    const double Y = YI + (YU - YI) * J / 6;
    EXPECT_NEAR(Y, CV.Y(9 + J), tol(Y)) << J;
    EXPECT_NEAR(PMS + MS * (Y - YM), CV.P(9 + J), 1e-11 * PUS) << J;  // on the line through (ym, pm)
  }
  EXPECT_NEAR(KX * YI, CV.P(9), tol(KX * YI));
  EXPECT_NEAR(YU, CV.Y(15), tol(YU));
  EXPECT_NEAR(PUS, CV.P(15), 1e-11 * PUS);
  EXPECT_NEAR(PUS, CV.P(16), tol(PUS));
  EXPECT_NEAR(PUS, CV.P(17), tol(PUS));
  // Shape 3: kx = 1000 reaches pu directly at yp = pu/kx beyond yu.
  KX = 1000;
  const double YP = PUS / KX;
  EXPECT_EQ(3, SILTCV(SANDPR(PUS, PMS, YU, YM, KX, B1, false), false, CV));
  for (int J = 0; J <= 12; ++J) {
    EXPECT_NEAR(YP * J / 12, CV.Y(1 + J), tol(YP)) << J;
    EXPECT_NEAR(KX * YP * J / 12, CV.P(1 + J), tol(PUS)) << J;
  }
  for (int J = 14; J <= NPYP; ++J) {
    EXPECT_NEAR((1 + 0.05 * (J - 13)) * YP, CV.Y(J), tol(YP)) << J;
    EXPECT_EQ(PUS, CV.P(J)) << J;
  }
  // A cohesion of 1000 makes pm above pu: the slope is negative, n takes its magnitude.
  const double PMC = 1.5 * 100 + 1000;
  for (double K : {1.0E2, 1.0E4, 1.0E6, 1.0E8}) {
    P = SANDPR(PUS, PMC, YU, YM, K, B1, false);
    EXPECT_LT(P.M, 0);
    EXPECT_NEAR(-P.M * YM / PMC, P.INVN, 1e-15);
    SILTCV(P, false, CV);
    for (int J = 1; J <= NPYP; ++J) {
      EXPECT_TRUE(std::isfinite(CV.Y(J)) && std::isfinite(CV.P(J))) << K << " " << J;
      EXPECT_GE(CV.P(J), 0) << K << " " << J;
    }
    EXPECT_NEAR(PUS, CV.P(17), tol(PUS)) << K;
  }
}

TEST(STIFWC, StaticAndCyclicCurves) {
  const double PC = 200, Y50 = 0.01, AS = 0.6, AC = 0.3, YA = AS * Y50;
  PyCurve CV;
  STIFWC(PC, Y50, AS, AC, 1.0E9, false, CV);
  for (int J = 1; J <= 12; ++J) EXPECT_NEAR(0.5 * J * YA, CV.Y(1 + J), tol(YA)) << J;
  EXPECT_NEAR(200 * YA, CV.Y(17), tol(YA));
  EXPECT_NEAR(0.5 * PC * std::sqrt(AS), CV.P(3), tol(PC));                          // at As*y50
  EXPECT_NEAR(0.5 * PC * std::sqrt(6 * AS) - 0.411 * PC, CV.P(13), 1e-3 * PC);      // at 6 As*y50
  EXPECT_NEAR(0.5 * PC * std::sqrt(6 * AS) - 0.411 * PC - 0.25 * PC * AS, CV.P(14), tol(PC));  // 10 As*y50
  const double PR = PC * (1.225 * std::sqrt(AS) - 0.75 * AS - 0.411);
  EXPECT_NEAR(PR, CV.P(17), tol(PC));
  EXPECT_NEAR(PR, CV.P(16), 1e-3 * PC);  // the falling branch ends at the residual
  // A small kx holds every p under kx*y.
  const double KX = 1000;
  STIFWC(PC, Y50, AS, AC, KX, false, CV);
  EXPECT_NEAR(KX * CV.Y(2), CV.P(2), tol(PC));
  for (int J = 1; J <= NPYP; ++J) EXPECT_LE(CV.P(J), KX * CV.Y(J)) << J;
  // Cyclic: the peak Ac*pc at 0.45 yp, constant from 1.8 yp on.
  const double YP = 4.1 * AS * Y50;
  STIFWC(PC, Y50, AS, AC, 1.0E9, true, CV);
  EXPECT_EQ(0.0, CV.P(1));
  EXPECT_NEAR(0.45 * YP, CV.Y(10), tol(YP));
  EXPECT_NEAR(AC * PC, CV.P(10), tol(PC));
  EXPECT_NEAR(20 * YP, CV.Y(17), tol(YP));
  const double PCY = 0.936 * AC * PC - 0.102 * PC * YP / Y50;
  EXPECT_NEAR(PCY, CV.P(17), tol(PC));
  EXPECT_NEAR(PCY, CV.P(16), tol(PC));
}

TEST(STIFDC, QuarterPowerCurveAndItsCyclicStretch) {
  const double PUD = 300, Y50 = 0.02;
  PyCurve ST, CV;
  STIFDC(PUD, Y50, 1, false, ST);
  EXPECT_NEAR(16 * Y50, ST.Y(15), tol(Y50));
  EXPECT_NEAR(20 * Y50, ST.Y(17), tol(Y50));
  for (int J = 15; J <= NPYP; ++J) EXPECT_NEAR(PUD, ST.P(J), tol(PUD)) << J;
  EXPECT_NEAR(0.5 * PUD * std::pow(0.8, 0.25), ST.P(10), tol(PUD));  // 0.05 ys = 0.8 y50
  STIFDC(PUD, Y50, 1, true, CV);
  for (int J = 1; J <= NPYP; ++J) {
    EXPECT_NEAR(ST.Y(J), CV.Y(J), tol(Y50)) << J;
    EXPECT_NEAR(ST.P(J), CV.P(J), tol(PUD)) << J;
  }
  // 100 cycles: L = 35.2, the curve ends at 44 y50 and rises over (1 + 1.2) y50.
  STIFDC(PUD, Y50, 100, true, CV);
  EXPECT_NEAR(44 * Y50, CV.Y(17), tol(Y50));
  EXPECT_NEAR(30 * Y50, CV.Y(16), tol(Y50));
  for (int J = 1; J <= NPYP; ++J)
    EXPECT_NEAR(std::min(PUD, 0.5 * PUD * std::pow(CV.Y(J) / (2.2 * Y50), 0.25)), CV.P(J), tol(PUD)) << J;
  EXPECT_EQ(PUD, CV.P(17));
}

TEST(ROCKCV, BilinearThenFlatAtBSu) {
  const double SU = 5000, B = 0.6, PMU = 0.7, Y1 = 0.0004 * B, Y2 = 0.0024 * B;
  PyCurve CV;
  ROCKCV(SU, B, PMU, CV);
  for (int J = 1; J <= NPYP; ++J) {
    const double Y = Y2 * (J - 1) / 15;
    EXPECT_NEAR(Y, CV.Y(J), tol(Y2)) << J;
    double W = PMU * B * SU;
    if (Y < Y1) {
      W = 2000 * SU * Y * PMU;
    } else if (Y < Y2 * (1 - 1e-9)) {
      W = PMU * (0.8 * SU * B + 100 * SU * (Y - Y1));
    }
    EXPECT_NEAR(W, CV.P(J), 1e-11 * SU * B) << J;
  }
}

TEST(WROCKC, RockQualityDepthAndTheTwoBranches) {
  const double Q = 1000, EIR = 1.0E5, KRM = 5.0E-4, B = 1.0;
  PyCurve CV, DEEP;
  double PUR = 0, KIR = 0, PUD = 0, KID = 0;
  WROCKC(Q, EIR, KRM, 0, B, 1.0, CV, PUR, KIR);  // RQD 0: alpha_r = 1
  EXPECT_NEAR(Q * (B + 1.4), PUR, tol(PUR));
  // RQD 100: alpha_r = 1/3; at xr = 3b the shallow form equals the deep one.
  WROCKC(Q, EIR, KRM, 100, B, 3 * B, CV, PUR, KIR);
  WROCKC(Q, EIR, KRM, 100, B, 3.5 * B, DEEP, PUD, KID);
  EXPECT_NEAR(5.2 * Q * B / 3, PUR, tol(PUR));
  EXPECT_NEAR(PUR, PUD, tol(PUR));
  EXPECT_NEAR(500 * EIR, KIR, tol(KIR));
  EXPECT_NEAR(KIR, KID, tol(KIR));
  WROCKC(Q, EIR, KRM, 100, B, 1.0, CV, PUR, KIR);
  EXPECT_NEAR(Q * (B + 1.4) / 3, PUR, tol(PUR));
  EXPECT_NEAR((100 + 400 / 3.0) * EIR, KIR, tol(KIR));
  const double FR[NPYP] = {0.0005, 0.001, 0.003, 0.006, 0.009, 0.02, 0.04, 0.06, 0.08,
                           0.1,    0.25,  0.5,   0.75,  1,     4,    8,    12};
  const double YRM = KRM * B, YA = std::pow(0.5 * PUR / (std::pow(YRM, 0.25) * KIR), 4.0 / 3);
  ASSERT_GT(YA, YRM * FR[4]);  // both branches have points
  ASSERT_LT(YA, YRM * FR[5]);
  for (int J = 1; J <= NPYP; ++J) {
    const double Y = YRM * FR[J - 1];
    EXPECT_NEAR(Y, CV.Y(J), tol(Y)) << J;
    const double W = Y < YA ? KIR * Y : std::min(PUR, 0.5 * PUR * std::pow(Y / YRM, 0.25));
    EXPECT_NEAR(W, CV.P(J), tol(W)) << J;
  }
}

TEST(MODELS, EachModelThroughPygen) {
  {  // sand: no resistance at y = 0, flat at pu on the last two points
    ModelCase c(4, 0, 0, 30, 20000);
    const auto cv = c.curves();
    ASSERT_EQ(10u, cv.size());
    EXPECT_TRUE(c.says("THE SOIL IS A SAND"));
    EXPECT_EQ(0.0, cv[0].y[0]);
    EXPECT_EQ(0.0, cv[0].p[0]);
    for (const auto& v : cv) {
      EXPECT_GT(v.p[16], 0);
      EXPECT_EQ(v.p[15], v.p[16]);
      for (int J = 1; J < NPYP; ++J) EXPECT_GE(v.p[J], v.p[J - 1]);
    }
  }
  {  // silt: the heading ends with "Pu" and the letter phi of the console code page
    ModelCase c(5, 10, 0, 30, 20000);
    EXPECT_EQ(10u, c.curves().size());
    EXPECT_TRUE(c.says("THE SOIL IS A SILT"));
    int n = 0;
    for (const auto& s : split_lines(c.report())) {
      if (s.find("Puc") == std::string::npos) continue;
      ++n;
      EXPECT_TRUE(s.size() >= 3 && s.compare(s.size() - 3, 3, "Pu\xED") == 0) << s;
    }
    EXPECT_EQ(10, n);
  }
  {  // stiff clay with free water: residual at 200 As y50 on the backfill side at 7.99 m
    ModelCase c(2, 50, 0.005, 0, 1.0E5);
    const auto cv = c.curves();
    ASSERT_EQ(10u, cv.size());
    EXPECT_TRUE(c.says("THE SOIL IS A STIFF CLAY WITH FREE WATER"));
    EXPECT_NEAR(550 * (1.225 * std::sqrt(0.6) - 0.75 * 0.6 - 0.411), cv[9].p[16], 5e-4);  // pc = 11 c b
    EXPECT_NEAR(0.6, cv[9].y[16], 5e-4);
  }
  {  // stiff clay without free water: pu at 4.99 m and the 9 c b cap at 7.99 m
    ModelCase c(3, 50, 0.005, 0, 0);
    const auto cv = c.curves();
    ASSERT_EQ(10u, cv.size());
    EXPECT_TRUE(c.says("THE SOIL IS A STIFF CLAY WITHOUT FREE WATER"));
    EXPECT_NEAR((3 + 0.5 * 4.99) * 50 + 18 * 4.99, cv[8].p[16], 5e-6);
    EXPECT_NEAR(450, cv[9].p[16], 5e-6);
    EXPECT_NEAR(20 * 2.5 * 0.005, cv[9].y[16], 5e-6);
  }
  {  // rock: flat at b*su, su half the input strength
    ModelCase c(6, 10000, 0, 0, 0);
    const auto cv = c.curves();
    ASSERT_EQ(10u, cv.size());
    EXPECT_TRUE(c.says("THE LAYER IS ROCK"));
    EXPECT_EQ(0.0, cv[0].p[0]);
    EXPECT_NEAR(5000, cv[0].p[15], 5e-4);
    EXPECT_NEAR(5000, cv[9].p[16], 5e-4);
  }
  {  // weak rock, RQD 100, 0.01 m into the rock: pur = (1/3) qu (b + 1.4 xr)
    ModelCase c(7, 1000, 5.0E-4, 0, 1.0E5, 100);
    const auto cv = c.curves();
    ASSERT_EQ(10u, cv.size());
    EXPECT_TRUE(c.says("THE LAYER IS WEAK ROCK"));
    const double PUR = 1000 * (1 + 1.4 * 0.01) / 3;
    EXPECT_NEAR(0.5 * PUR * std::pow(12.0, 0.25), cv[0].p[16], 0.5);  // three digits printed
    EXPECT_NEAR(12 * 5.0E-4, cv[0].y[16], 5e-6);
  }
}

TEST(MODELS, InputErrorsNameTheLayerAndModel) {
  const struct {
    int type;
    double s, e50, phi, kpy;
    const char* text;
  } bad[] = {
      {4, 0, 0, 30, 0, "ERROR -- KPY MUST BE POSITIVE FOR THE P-Y CURVES OF SOIL LAYER 1 (SAND MODEL)"},
      {2, 50, 0, 0, 1.0E5,
       "ERROR -- E50 MUST BE POSITIVE FOR THE P-Y CURVES OF SOIL LAYER 1 (STIFF CLAY WITH FREE WATER MODEL)"},
      {3, 50, 0, 0, 0,
       "ERROR -- E50 MUST BE POSITIVE FOR THE P-Y CURVES OF SOIL LAYER 1 (STIFF CLAY WITHOUT FREE WATER MODEL)"},
      {6, 0, 0, 0, 0, "ERROR -- THE STRENGTH OF ROCK MUST BE POSITIVE FOR THE P-Y CURVES OF SOIL LAYER 1"},
  };
  for (const auto& b : bad) {
    ModelCase c(b.type, b.s, b.e50, b.phi, b.kpy);
    EXPECT_THROW(PYGEN(c.run), EndRun) << b.type;
    EXPECT_TRUE(c.says(std::string("\n     ") + b.text + "\n")) << b.type;
    EXPECT_EQ(1, c.m.D.KERR) << b.type;
    EXPECT_EQ(b.text, c.m.D.ERRMSG.trimmed()) << b.type;
    EXPECT_FALSE(c.u.is_open(LPYW)) << b.type;
  }
  // Weak rock without strength stops the run with its warning on the console.
  ModelCase c(7, 0, 5.0E-4, 0, 1.0E5, 50);
  try {
    PYGEN(c.run);
    FAIL() << "no stop";
  } catch (const Stop& s) {
    EXPECT_EQ("", s.code);
  }
  EXPECT_NE(std::string::npos, c.console().find("\n       THE COHESIVE STRENGTH IS 0 FOR ROCK ACCORING TO THE INPUT\n"));
  EXPECT_FALSE(c.u.is_open(LPYW));
}
