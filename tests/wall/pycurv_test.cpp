// pycurv_test.cpp -- the soil-resistance curves of a problem: user p-y curves with their
// echo, plot-file copies and support-curve records, their station keys and checks.
#include "wallcase.h"

namespace {

struct UserCurve {
  int key;
  double pmu, ymu;
  std::vector<double> y, p;
};

// The user curves as the input holds them (group 12), also filled into UPY so that the
// test holds with or without the reader.
void user_curves(WallCase& c, const std::vector<UserCurve>& v) {
  std::string text;
  c.C.NPYU = static_cast<int>(v.size());
  for (std::size_t j = 0; j < v.size(); ++j) {
    const int J = static_cast<int>(j) + 1;
    const auto& uc = v[j];
    const int n = static_cast<int>(uc.y.size());
    c.m.UPY.KEY(J) = uc.key;
    c.m.UPY.NPT(J) = n;
    c.m.UPY.PMU(J) = uc.pmu;
    c.m.UPY.YMU(J) = uc.ymu;
    text += io::list_format(uc.key, n, uc.pmu, uc.ymu) + "\n";
    for (int i = 0; i < n && i < MXCPT; ++i) {
      c.m.UPY.YU(J, i + 1) = uc.y[i];
      c.m.UPY.PU(J, i + 1) = uc.p[i];
      text += io::list_format(uc.y[i], uc.p[i]) + "\n";
    }
  }
  c.u.open_memory_input(LINP, "input", text);
}

std::string sp(int n) { return std::string(n, ' '); }

}  // namespace

TEST(PYCURV, NoCurves) {
  WallCase c;
  c.m.CRV.NCRV4 = 2;
  c.m.CRV.NCRV = 9;
  PYCURV(c.run);
  EXPECT_EQ(2, c.m.CRV.NCRV);  // the option-4 curves stay
  EXPECT_EQ(std::vector<std::string>{"           2           0"}, c.plot());
  c.C.NPYU = -1;
  EXPECT_TRUE(c.ends([&] { PYCURV(c.run); }));
  EXPECT_EQ("ERROR -- NPYU = -1 (CONTROL RECORD, VALUE 8): A NEGATIVE NUMBER OF USER-SPECIFIED P-Y CURVES ENDS THE RUN",
            c.msg());
}

TEST(PYCURV, UserCurvesEchoCopiesAndRecords) {
  WallCase c(10, 0.5);
  c.m.CRV.NCRV4 = 1;
  c.m.CRV.POINTS(1) = 6;
  user_curves(c, {{2, 2.0, 0.5, {-1, 0, 1}, {10, 0, -10}}, {6, 1.0, 1.0, {-0.01, 0.01}, {5, -5}}});
  PYCURV(c.run);
  // Support-curve records after the option-4 curve: one chain over stations 2..6.
  const auto& CRV = c.m.CRV;
  ASSERT_EQ(3, CRV.NCRV);
  EXPECT_EQ(6, CRV.FROM(2));
  EXPECT_EQ(6, CRV.TO(2));
  EXPECT_EQ(1, CRV.CONTD(2));
  EXPECT_EQ(3, CRV.POINTS(2));
  EXPECT_EQ(10, CRV.FROM(3));
  EXPECT_EQ(10, CRV.TO(3));
  EXPECT_EQ(0, CRV.CONTD(3));
  EXPECT_EQ(-0.5, CRV.Y(2, 1));
  EXPECT_EQ(10.0, CRV.F(2, 1));  // p * P-multiplier * h, a force per station
  EXPECT_EQ(-10.0, CRV.F(2, 3));
  EXPECT_EQ(-2.5, CRV.F(3, 2));
  const auto out = c.out();
  ASSERT_EQ(27u, out.size());
  EXPECT_EQ("", out[1]);
  EXPECT_EQ("      **************************************************", out[2]);
  EXPECT_EQ("      *     INPUTTED  SOIL RESISTANCE (P-Y) CURVES     *", out[3]);
  EXPECT_EQ("", out[5]);
  EXPECT_EQ("", out[7]);
  EXPECT_EQ("     FROM TO CONTD      P-MULTIPLIER  Y-MULTIPLIER      POINTS     ", out[8]);
  EXPECT_EQ(sp(5) + "   2" + sp(4) + "  1" + sp(5) + "     2.000E+00     5.000E-01" + sp(10) + "  3", out[9]);
  EXPECT_EQ("", out[10]);
  EXPECT_EQ(sp(18) + "    Y    " + sp(12) + "   P    ", out[11]);
  EXPECT_EQ(sp(20) + " M" + sp(16) + " KN/ M", out[12]);
  EXPECT_EQ(sp(18) + "---------" + sp(12) + "--------", out[13]);
  EXPECT_EQ(sp(17) + "-5.000E-01" + sp(10) + " 2.000E+01", out[14]);
  EXPECT_EQ(sp(17) + " 5.000E-01" + sp(10) + "-2.000E+01", out[16]);
  // The continued curve shows its TO station.
  EXPECT_EQ(sp(9) + "   6" + "  0" + sp(5) + "     1.000E+00     1.000E+00" + sp(10) + "  2", out[20]);
  EXPECT_EQ(sp(17) + "-1.000E-02" + sp(10) + " 5.000E+00", out[25]);
  EXPECT_EQ(sp(17) + " 1.000E-02" + sp(10) + "-5.000E+00", out[26]);
  // Plot file: station and point count, then the points as echoed.
  const auto plt = c.plot();
  ASSERT_EQ(7u, plt.size());
  EXPECT_EQ("           2           3", plt[0]);
  EXPECT_EQ(io::list_format(-0.5, 20.0), plt[1]);
  EXPECT_EQ("           6           2", plt[4]);
  EXPECT_EQ(io::list_format(0.01, -5.0), plt[6]);
}

TEST(PYCURV, UserCurvesWhateverThePyOption) {
  WallCase c;
  c.C.KPYGEN = 3;
  user_curves(c, {{4, 1, 1, {-1, 1}, {1, -1}}});
  PYCURV(c.run);
  EXPECT_EQ(1, c.m.CRV.NCRV);
  EXPECT_EQ(8, c.m.CRV.FROM(1));
  EXPECT_EQ(0, c.m.CRV.CONTD(1));
}

TEST(PYCURV, UserCurveChecks) {
  {
    WallCase c;
    user_curves(c, {{11, 1, 1, {-1, 1}, {1, -1}}});
    EXPECT_TRUE(c.ends([&] { PYCURV(c.run); }));
    EXPECT_EQ("ERROR -- USER P-Y CURVE 1 AT STATION 11 IS OUTSIDE THE STATIONS 0 TO 10 OF THE WALL (INPUT LINE 1)",
              c.msg());
  }
  {
    WallCase c;
    user_curves(c, {{5, 1, 1, {-1, 1}, {1, -1}}, {5, 1, 1, {-1, 1}, {1, -1}}, {4, 1, 1, {-1, 1}, {1, -1}}});
    EXPECT_TRUE(c.ends([&] { PYCURV(c.run); }));
    EXPECT_EQ("ERROR STOP -- STATIONS NOT IN ORDER: USER P-Y CURVE 3 AT STATION 4, ABOVE THE CURVE BEFORE IT "
              "(INPUT LINE 7)",
              c.msg());
    EXPECT_EQ(2, c.m.CRV.NCRV);  // equal keys are accepted
  }
  {
    WallCase c;
    user_curves(c, {{5, 1, -1, {-1, 1}, {1, -1}}});  // a negative multiplier reverses them
    EXPECT_TRUE(c.ends([&] { PYCURV(c.run); }));
    EXPECT_EQ("ERROR -- THE DEFLECTIONS OF USER P-Y CURVE 1 (TIMES ITS Y-MULTIPLIER) ARE NOT IN INCREASING ORDER "
              "(INPUT LINE 1)",
              c.msg());
  }
  {
    WallCase c;
    user_curves(c, {{5, 1, 1, {0}, {0}}});
    EXPECT_TRUE(c.ends([&] { PYCURV(c.run); }));
    EXPECT_EQ("ERROR -- USER P-Y CURVE 1 HAS 1 POINTS; A CURVE NEEDS AT LEAST 2 (INPUT LINE 1)", c.msg());
  }
  {
    WallCase c;
    c.C.NPYU = MXPYU + 1;
    EXPECT_TRUE(c.ends([&] { PYCURV(c.run); }));
    EXPECT_EQ("TOO MUCH DATA FOR AVAILABLE STORAGE", c.msg());
  }
}
