// The generation driver and the read-back: the report section of the profile, the
// curve-exchange file with user curves first, and the support curves built from it.
#include <gtest/gtest.h>

#include <sstream>

#include "soilcase.h"

namespace {

std::vector<std::string> lines(const std::string& t) { return split_lines(t); }

// A curve-exchange file of generated curves at the depths X: excavation point j at
// y = (j-1)/1000, p = 100 + j; backfill point j at y = (j-1)/500, p = 200 + j.
std::string xfile(const std::vector<double>& X, int nuser = 0) {
  std::ostringstream f;
  f << X.size() + nuser << "\n";
  for (int u = 1; u <= nuser; ++u) {
    f << 7 * u << " 3\n";
    for (int j = 1; j <= 3; ++j) f << j << " " << 0.01 * j << " " << -5.0 * j << "\n";
  }
  for (double x : X) {
    f << x << " 34\n";
    for (int j = 1; j <= 17; ++j) f << j << " " << 100 + j << " " << (j - 1) / 1000.0 << "\n";
    for (int j = 1; j <= 17; ++j) f << j << " " << 200 + j << " " << (j - 1) / 500.0 << "\n";
  }
  return f.str();
}

}  // namespace

TEST(PYGEN, ReportOfTheProfile) {
  SoilCase c;
  c.m.SOIL.KSTAT = 0;
  c.m.SOIL.ZWA = 5.0;
  c.layer(1, 8.0, 18, 20, 30, 0.01, 0.02);
  c.layer(4, 9.0, 19, 0, 0, 0, 0, 30, 34);
  PYLAYS(c.run);
  PYREPT(c.run);
  const std::vector<std::string> want = {
      "",
      "",
      "      **************************************************",
      "      *        SOIL LAYERS AND STRENGTH DATA           *",
      "      **************************************************",
      "",
      "         X AT THE SURFACE OF EXCAVATION SIDE     =       3.00  M",
      "",
      "         2 LAYER(S) OF SOIL",
      "",
      "         LAYER  1",
      "         THE SOIL IS A SOFT CLAY",
      "              CYCLIC MODEL",
      "",
      "         LAYER  2",
      "         THE SOIL IS A SAND",
      "              CYCLIC MODEL",
      "",
      "         DISTRIBUTION OF EFFECTIVE UNIT WEIGHT WITH DEPTH",
      "                            6 POINTS",
      "",
      "               X,  M WEIGHT, KN/ M**3",
      "              3.0000     1.8000E+01",
      "              5.0000     1.8000E+01",
      "              5.0000     8.1900E+00",
      "              8.0000     8.1900E+00",
      "              8.0000     9.1900E+00",
      "              9.0000     9.1900E+00",
      "",
      "         DISTRIBUTION OF STRENGTH PARAMETERS WITH DEPTH",
      "                            4 POINTS",
      "",
      "               X,  M    S, KN/ M**2    PHI,DEGREE             E50  KPY, KN/ M**3",
      "                3.00     2.3750E+01          0.000     1.3750E-02     0.0000E+00",
      "                8.00     3.0000E+01          0.000     2.0000E-02     0.0000E+00",
      "                8.00     0.0000E+00         30.000       -----        0.0000E+00",
      "                9.00     0.0000E+00         34.000       -----        0.0000E+00",
      "",
      "",
      "        P-Y CURVES DATA",
      "",
  };
  EXPECT_EQ(want, lines(c.report()));
}

TEST(PYGEN, CyclicModelLineOnlyForTheSoilTypesWithCyclicCurves) {
  // Codes 1 to 5 have cyclic curves; rock, weak rock and unknown codes (built as soft
  // clay) take no such line.
  SoilCase c;
  c.m.SOIL.KSTAT = 0;
  c.layer(8, 4.0, 18, 20, 30, 0.01, 0.02);
  c.layer(5, 5.0, 19, 10, 10, 0, 0, 30, 34);
  c.layer(6, 6.0, 22, 5000, 5000);
  c.layer(7, 9.0, 22, 3000, 3000);
  PYLAYS(c.run);
  PYREPT(c.run);
  const auto lines = split_lines(c.report());
  std::vector<std::string> after;
  for (size_t i = 0; i + 1 < lines.size(); ++i)
    if (lines[i].find("THE SOIL IS") != std::string::npos || lines[i].find("THE LAYER IS") != std::string::npos)
      after.push_back(lines[i + 1]);
  const std::vector<std::string> want = {"", "              CYCLIC MODEL", "", ""};
  EXPECT_EQ(want, after);
}

TEST(PYGEN, EnglishDepthsInFeetAndTheReductionFactors) {
  SoilCase c;
  c.english();
  c.layer(1, 600.0, 0.07, 5, 5);
  c.m.C.NPYMOD = 1;
  c.m.SOIL.PYMD(1) = 240;
  c.m.SOIL.PYMP(1) = 0.8;
  c.m.SOIL.PYMY(1) = 1.0;
  PYLAYS(c.run);
  PYREPT(c.run);
  const auto L = lines(c.report());
  EXPECT_EQ("         X AT THE SURFACE OF EXCAVATION SIDE     =      10.00 FT", L[6]);
  EXPECT_EQ("               X, FT WEIGHT,LBS/IN**3", L[16]);
  EXPECT_EQ("             10.0000     7.0000E-02", L[17]);
  EXPECT_EQ("             50.0000     7.0000E-02", L[18]);
  const std::string R = c.report();
  EXPECT_NE(std::string::npos,
            R.find("\n         REDUCTION FACTORS FOR CLOSELY-SPACED WALL ELEMENTS\n" + std::string(40, ' ') +
                   "\n             DEPTH     P-FACTOR     Y-FACTOR        \n\n             240.00      0.80        1.00\n"));
}

TEST(PYGEN, CurveExchangeFileHoldsUserCurvesThenTheGeneratedOnes) {
  SoilCase c;
  c.layer(1, 8.0, 18, 20, 20);
  c.m.C.NPYU = 1;
  auto& U = c.m.UPY;
  U.KEY(1) = 12;
  U.NPT(1) = 2;
  U.YU(1, 1) = 0;
  U.PU(1, 1) = 0;
  U.YU(1, 2) = 0.5;
  U.PU(1, 2) = -40;
  PYGEN(c.run);
  EXPECT_FALSE(c.u.is_open(LPYW));
  std::istringstream f(c.file("in.pyc"));
  int n = 0, key = 0, np = 0, j = 0;
  double y = 0, p = 0, x = 0;
  f >> n >> key >> np;
  EXPECT_EQ(6, n);
  EXPECT_EQ(12, key);
  ASSERT_EQ(2, np);
  f >> j >> y >> p >> j >> y >> p;
  EXPECT_EQ(2, j);
  EXPECT_DOUBLE_EQ(0.5, y);
  EXPECT_DOUBLE_EQ(-40, p);
  const double XC[5] = {3.01, 4.25, 5.5, 6.75, 7.99};
  std::string line;
  std::getline(f, line);
  for (int I = 0; I < 5; ++I) {
    std::getline(f, line);
    std::istringstream h(line);
    h >> x >> np;
    EXPECT_NEAR(XC[I], x, 1e-12);
    EXPECT_EQ(34, np);
    for (int k = 1; k <= 34; ++k) {
      std::getline(f, line);
      ASSERT_EQ(27u, line.size()) << line;  // I5, 2(1X, 1P, E10.3)
      EXPECT_EQ((k - 1) % 17 + 1, std::stoi(line.substr(0, 5)));
    }
  }
  EXPECT_FALSE(std::getline(f, line));
}

TEST(PYLAYS, CurveDepthsPerLayer) {
  // NCD depths: the outer ones 0.01 m inside the layer, the others evenly spaced (the
  // quarters for five); a layer too thin for that keeps its outer depths half a spacing
  // inside, so that the depths stay in order.
  for (int NCD : {5, 9, MXCD}) {
    for (double thick : {5.0, 0.02}) {
      SoilCase c;
      c.m.D.NCDRUN = NCD;
      c.layer(4, 3.0 + thick, 18, 0, 0, 0, 0, 30, 30);
      PYLAYS(c.run);
      const auto& SW = c.m.SW;
      ASSERT_EQ(NCD, SW.NCD);
      const double sp = thick / (NCD - 1), E = thick == 5.0 ? 0.01 : sp / 2;
      EXPECT_NEAR(E, SW.XC(1, 1), 1e-12);
      EXPECT_NEAR(thick - E, SW.XC(1, NCD), 1e-12);
      for (int I = 2; I < NCD; ++I) EXPECT_NEAR((I - 1) * sp, SW.XC(1, I), 1e-12) << NCD << " " << I;
      for (int I = 2; I <= NCD; ++I) EXPECT_LT(SW.XC(1, I - 1), SW.XC(1, I));
    }
  }
  SoilCase c;
  c.m.D.NCDRUN = 2;  // the run's value is kept within NCDDEF..MXCD
  PYLAYS(c.run);
  EXPECT_EQ(NCDDEF, c.m.SW.NCD);
}

TEST(PYGEN, CoarseCurveDepthsWarn) {
  // One layer below the excavation (3 m) to the end of the profile (10.2 m) or to DEPTH:
  // the layer types whose resistance is not linear in depth warn when two curve depths
  // within ten widths of the layer's top lie more than one width apart; a continuous
  // wall (WA = WP) does not. The count of depths named in the warning silences it.
  struct Row {
    int type;
    double wa, wp, depth;
    int ncd;
    bool warns;
  } rows[] = {
      {4, 4.0, 1.0, 20.0, 5, true},   {4, 4.0, 1.0, 20.0, 9, false},  {5, 4.0, 1.0, 20.0, 5, true},
      {2, 4.0, 1.0, 20.0, 5, true},   {1, 4.0, 1.0, 20.0, 5, false},  {3, 4.0, 1.0, 20.0, 5, false},
      {6, 4.0, 1.0, 20.0, 5, false},  {4, 1.0, 1.0, 20.0, 5, false},  {4, 4.0, 2.0, 20.0, 5, false},
      {4, 4.0, 1.0, 7.0, 5, false},   {4, 4.0, 0.1, 20.0, 50, true},
  };
  for (const Row& r : rows) {
    SoilCase c;
    c.m.SOIL.WA = r.wa;
    c.m.SOIL.WP = r.wp;
    c.m.D.NCDRUN = r.ncd;
    c.layer(r.type, r.depth, 18, 50, 80, 0.01, 0.01, 30, 30);
    PYLAYS(c.run);
    PYREPT(c.run);
    EXPECT_EQ(r.warns ? 1 : 0, c.m.WRN.NWARN) << r.type << " " << r.wa << " " << r.wp << " " << r.depth << " "
                                                << r.ncd;
  }
  // The text, in the report before the curves and on the console.
  SoilCase c;
  c.layer(1, 3.0, 18, 50, 50);
  c.layer(4, 20.0, 18, 0, 0, 0, 0, 30, 30);
  PYLAYS(c.run);
  PYREPT(c.run);
  const std::string W =
      "WARNING -- SOIL LAYER 2 (SAND): CURVE DEPTHS 1.80 M APART NEAR ITS TOP, MORE THAN THE WIDTH 1.00 M: ITS "
      "RESISTANCE MAY BE OVERSTATED; SET BRANTO_CURVE_DEPTHS=9 (BRANTO --curve-depths 9) FOR 9 CURVE DEPTHS PER "
      "LAYER";
  EXPECT_NE(std::string::npos, c.report().find("\n" + W + "\n\n\n        P-Y CURVES DATA\n"));
  EXPECT_NE(std::string::npos, c.console().find(W));
  // English units; too thick a layer for the most curve depths.
  SoilCase e;
  e.english();
  e.m.SOIL.WA = 96;
  e.m.SOIL.WP = 12;
  e.layer(4, 2000.0, 0.07, 0, 0, 0, 0, 30, 30);
  PYLAYS(e.run);
  PYREPT(e.run);
  EXPECT_NE(std::string::npos, e.report().find("SOIL LAYER 1 (SAND): CURVE DEPTHS 22.99 FT APART NEAR ITS TOP, MORE "
                                               "THAN THE WIDTH 1.00 FT: ITS RESISTANCE MAY BE OVERSTATED; GIVE IT AS "
                                               "THINNER LAYERS (BRANTO_CURVE_DEPTHS ALLOWS 50 CURVE DEPTHS PER LAYER)"))
      << e.report();
}

TEST(READPY, SupportCurvesFromBothSides) {
  SoilCase c;
  c.u.open_memory_output(LPLT, "plot");
  c.m.CRV.NCRV = 3;  // records already there (user curves) stay first
  c.write("in.pyc", xfile({3.26, 3.24}));
  READPY(c.run);
  EXPECT_FALSE(c.u.is_open(LXCH));
  const auto& CRV = c.m.CRV;
  ASSERT_EQ(5, CRV.NCRV);
  EXPECT_EQ(37, CRV.FROM(4));  // 32.6 rounds to station 33
  EXPECT_EQ(37, CRV.TO(4));
  EXPECT_EQ(1, CRV.CONTD(4));
  EXPECT_EQ(36, CRV.FROM(5));
  EXPECT_EQ(0, CRV.CONTD(5));
  EXPECT_EQ(33, CRV.POINTS(4));
  // Backfill points 34..18 with the deflection negated, then excavation points 2..17
  // with the resistance negated; forces per station (times h).
  EXPECT_DOUBLE_EQ(-0.032, CRV.Y(4, 1));
  EXPECT_DOUBLE_EQ(217 * 0.1, CRV.F(4, 1));
  EXPECT_DOUBLE_EQ(0.0, CRV.Y(4, 17));
  EXPECT_DOUBLE_EQ(201 * 0.1, CRV.F(4, 17));
  EXPECT_DOUBLE_EQ(0.001, CRV.Y(4, 18));
  EXPECT_DOUBLE_EQ(-102 * 0.1, CRV.F(4, 18));
  EXPECT_DOUBLE_EQ(0.016, CRV.Y(4, 33));
  EXPECT_DOUBLE_EQ(-117 * 0.1, CRV.F(4, 33));
  EXPECT_EQ("           2\n", c.console().substr(c.console().size() - 13));
  const auto P = lines(c.u.text(LPLT));
  ASSERT_EQ(1u + 2 * 34, P.size());
  EXPECT_EQ("       3.26    33", P[1]);
  EXPECT_EQ("       3.24    33", P[35]);
  std::istringstream r(P[2]);
  double y = 0, p = 0;
  r >> y >> p;
  EXPECT_DOUBLE_EQ(-0.032, y);
  EXPECT_DOUBLE_EQ(217, p);  // the copy before the multiplication by h
}

TEST(READPY, UserCurvesAtTheHeadOfTheFileAreSkipped) {
  SoilCase c;
  c.u.open_memory_output(LPLT, "plot");
  c.m.SW.NUSRF = 2;
  c.write("in.pyc", xfile({4.0}, 2));
  READPY(c.run);
  ASSERT_EQ(1, c.m.CRV.NCRV);
  EXPECT_EQ(44, c.m.CRV.FROM(1));
  EXPECT_EQ(0, c.m.CRV.CONTD(1));
  EXPECT_EQ(" 3", lines(c.u.text(LPLT))[0].substr(lines(c.u.text(LPLT))[0].size() - 2));
}

TEST(READPY, NoCurveTooManyAndNegativeCounts) {
  {
    SoilCase c;
    c.u.open_memory_output(LPLT, "plot");
    c.write("in.pyc", "0\n");
    READPY(c.run);
    EXPECT_EQ("\n" + std::string(20, ' ') + "\n", c.report());
    EXPECT_EQ(0, c.m.CRV.NCRV);
    EXPECT_FALSE(c.u.is_open(LXCH));
  }
  {
    SoilCase c;
    c.u.open_memory_output(LPLT, "plot");
    c.write("in.pyc", std::to_string(MXXCRV + 1) + "\n");
    EXPECT_THROW(READPY(c.run), EndRun);
    EXPECT_NE(std::string::npos, c.report().find("     TOO MUCH DATA FOR AVAILABLE STORAGE"));
    EXPECT_FALSE(c.u.is_open(LXCH));
  }
  {
    SoilCase c;
    c.u.open_memory_output(LPLT, "plot");
    c.write("in.pyc", "-1\n");
    EXPECT_THROW(READPY(c.run), EndRun);
    EXPECT_EQ(2, c.m.D.KERR);
    EXPECT_EQ("", c.report());
  }
  {
    SoilCase c;  // the support-curve table is full
    c.u.open_memory_output(LPLT, "plot");
    c.m.CRV.NCRV = MXCRV - 1;
    c.write("in.pyc", xfile({3.0, 4.0}));
    EXPECT_THROW(READPY(c.run), EndRun);
    EXPECT_EQ(MXCRV - 1, c.m.CRV.NCRV);
  }
  {
    SoilCase c;  // a curve below the stations of the wall
    c.u.open_memory_output(LPLT, "plot");
    c.write("in.pyc", xfile({10.35}));
    EXPECT_THROW(READPY(c.run), EndRun);
    EXPECT_EQ(0, c.m.CRV.NCRV);
  }
}

TEST(READPY, EveryLayerAtTheMostCurveDepthsFitsTheTables) {
  // MXLAY layers of MXCD curve depths fill the support-curve table; one user curve more
  // does not fit, and the run ends with the table named.
  ASSERT_LE(MXLAY * MXCD, MXCRV);
  for (int nuser : {0, 1}) {
    SoilCase c;
    c.u.open_memory_output(LPLT, "plot");
    c.m.D.NCDRUN = MXCD;
    for (int J = 1; J <= MXLAY; ++J) c.layer(1, 3.0 + 0.35 * J, 18, 20, 20);
    c.m.CRV.NCRV = nuser;
    PYGEN(c.run);
    EXPECT_EQ(MXLAY * MXCD, c.m.SW.NGEN);
    if (nuser == 0) {
      READPY(c.run);
      EXPECT_EQ(MXCRV, c.m.CRV.NCRV);
    } else {
      EXPECT_THROW(READPY(c.run), EndRun);
      EXPECT_NE(std::string::npos, c.report().find("NUMBER OF SUPPORT CURVES"));
    }
  }
}

TEST(READPY, GeneratedCurvesFormOneChainDownTheWall) {
  SoilCase c;
  c.u.open_memory_output(LPLT, "plot");
  c.layer(1, 6.0, 18, 20, 20);
  c.layer(1, 12.0, 18, 30, 30);
  PYGEN(c.run);
  READPY(c.run);
  const auto& CRV = c.m.CRV;
  ASSERT_EQ(10, CRV.NCRV);
  for (int K = 1; K <= 10; ++K) {
    EXPECT_EQ(K < 10 ? 1 : 0, CRV.CONTD(K));
    if (K > 1) {
      EXPECT_GE(CRV.FROM(K), CRV.FROM(K - 1));
    }
    for (int I = 2; I <= 33; ++I) EXPECT_GE(CRV.Y(K, I), CRV.Y(K, I - 1));
    EXPECT_GE(CRV.F(K, 1), 0.0);   // the backfill pushes where the wall moves toward it
    EXPECT_LE(CRV.F(K, 33), 0.0);  // the excavation side resists
  }
  EXPECT_EQ(4 + 30, CRV.FROM(1));   // 3.01 m
  EXPECT_EQ(4 + 102, CRV.FROM(10)); // 10.19 m
}
