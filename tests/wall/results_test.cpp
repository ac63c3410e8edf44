// results_test.cpp -- the results report: the station table with its units and the
// stored results, restraint, tie-back and node-reaction results.
#include <cmath>

#include "wallcase.h"

namespace {
std::string sp(int n) { return std::string(n, ' '); }
}  // namespace

TEST(RESULT, StationTableAndStoredResults) {
  WallCase c(10, 12.0, ENGLISH);
  c.restraint(0, 10, 0, 100.0, 0.0);
  c.record(0, 0, 0, 50.0);
  c.stadat();
  c.analyse();
  const auto out = c.out();
  const int i = find_line(out, "     NUMBER OF ITERATIONS :   3");
  ASSERT_GT(i, 0);
  EXPECT_EQ("", out[i + 1]);
  EXPECT_EQ("   STA I      X         DEFL.       SLOPE      MOMENT      SHEAR    SOIL_REACT NET_FORCE/STA    EI",
            out[i + 2]);
  EXPECT_EQ(sp(12) + " FT" + sp(9) + " IN" + sp(10) + "RAD" + sp(6) + "LBS-IN" + sp(7) + " LBS" + sp(7) + "LBS/IN" +
                sp(7) + " LBS" + sp(6) + "LBS-IN**2",
            out[i + 3]);
  EXPECT_EQ("   ------    ----        ----       -----      ------      ------    ---------   ---------   ---------",
            out[i + 4]);
  ASSERT_GT(out.size(), static_cast<std::size_t>(i + 5 + 11));
  EXPECT_EQ("", out[i + 5 + 11]);  // eleven rows, then the restraint results
  // Station 1 at 1 ft (h = 12 in).
  EXPECT_EQ("     1   1.000E+00", out[i + 6].substr(0, 18));
  EXPECT_EQ(2u + 4 + 2 + 10 + 7 * 12, out[i + 6].size());
  const auto& RES = c.m.RES;
  EXPECT_EQ(11, RES.NSTA);
  EXPECT_EQ(12.0, RES.X(5));  // stored in the unit of h
  EXPECT_EQ(c.w(3), RES.DEFL(7));
  EXPECT_EQ(c.STA.XMOM(7), RES.XMOM(7));
  EXPECT_EQ(c.m.ITR.SR(7), RES.SR(7));
  EXPECT_EQ(c.STA.EI(7), RES.EI(7));
  EXPECT_EQ(io::format("(2X,I4,2X,1PE10.3,1P,7E12.3)", 3, 3.0, RES.DEFL(7), RES.SLOPE(7), RES.XMOM(7),
                       RES.SHEAR(7), RES.SR(7), RES.XNF(7), RES.EI(7)),
            out[i + 8]);
}

TEST(RESULT, RestraintResults) {
  WallCase c(10, 1.0);
  c.restraint(0, 10, 0, 100.0, 5.0);
  c.record(0, 0, 0, 50.0);
  c.stadat();
  c.restraint(8, 6, 0, 1.0, 1.0);  // first station after the last: nothing printed
  c.analyse();
  const auto out = c.out();
  const int i = find_line(out, "     LATERAL AND ROTATIONAL RESTRAINT RESULTS");
  ASSERT_GT(i, 0);
  EXPECT_EQ("", out[i - 1]);
  EXPECT_EQ("", out[i - 2]);
  EXPECT_EQ("     ----------------------------------------", out[i + 1]);
  EXPECT_EQ("", out[i + 2]);
  EXPECT_EQ("     STA         X             FORCE           MOMENT", out[i + 3]);
  EXPECT_EQ(sp(15) + "  M" + sp(14) + " KN" + sp(11) + " KN-  M", out[i + 4]);
  EXPECT_EQ("    -----    ---------       ---------       ---------", out[i + 5]);
  ASSERT_EQ(static_cast<std::size_t>(i + 6 + 11), out.size());
  // The force and moment that acted: the two ends of the range carry half the stiffness.
  for (int s = 0; s <= 10; ++s) {
    const double g = s == 0 || s == 10 ? 0.5 : 1.0;
    EXPECT_EQ(io::format("(3X,I5,2X,1PE12.3,3(2X,1PE15.4))", s, 1.0 * s, g * 100.0 * c.w(s),
                         g * 5.0 * c.STA.SLOPE(s + 4)),
              out[i + 6 + s]);
    EXPECT_DOUBLE_EQ(g * 100.0 * c.w(s), c.STA.FREST(s + 4));
    EXPECT_DOUBLE_EQ(g * 5.0 * c.STA.SLOPE(s + 4), c.STA.MREST(s + 4));
  }
  // The head moment of the station table is the moment the restraint exerts there.
  EXPECT_NEAR(c.STA.MREST(4), c.m.RES.XMOM(4), 1e-9 * std::fabs(c.STA.MREST(4)));
  EXPECT_NE(0.0, c.m.RES.XMOM(4));
}

TEST(RESULT, RestraintForcesOfAdjacentRangesAndChains) {
  // Records 1 (0..4) and 2 (4..8) meet at station 4, where each acts with half its
  // stiffness; the chain of records 3 and 4 runs 0 (stiffness 0) to 10 (stiffness 40)
  // and record 4 carries its share, half of 40 at its own station 10. A record at
  // station -2 restrains no deflection there. Summed, the rows give the table FREST.
  WallCase c(10, 1.0);
  c.restraint(0, 4, 0, 100.0, 0.0);
  c.restraint(4, 8, 0, 300.0, 0.0);
  c.restraint(0, 0, 1, 0.0, 0.0);
  c.restraint(10, 10, 0, 40.0, 0.0);
  c.restraint(-2, -2, 0, 1.0E3, 0.0);
  c.record(0, 0, 0, 50.0);
  c.stadat();
  c.analyse();
  const auto out = c.out();
  const int i = find_line(out, "    -----    ---------       ---------       ---------");
  ASSERT_EQ(static_cast<std::size_t>(i + 14), out.size());  // 13 rows, the last table
  auto force = [&](int row) { return std::stod(out[i + row].substr(24, 15)); };
  EXPECT_EQ("       4", out[i + 5].substr(0, 8));
  EXPECT_NEAR(50.0 * c.w(4), force(5), 1e-4 * std::fabs(50.0 * c.w(4)));   // record 1 at 4
  EXPECT_EQ("       4", out[i + 6].substr(0, 8));
  EXPECT_NEAR(150.0 * c.w(4), force(6), 1e-4 * std::fabs(150.0 * c.w(4)));  // record 2 at 4
  EXPECT_NEAR(20.0 * c.w(10), force(12), 1e-4 * std::fabs(20.0 * c.w(10)));  // record 4 at 10
  EXPECT_EQ("      -2", out[i + 13].substr(0, 8));
  EXPECT_EQ(0.0, force(13));
  EXPECT_DOUBLE_EQ(200.0 * c.w(4) + 16.0 * c.w(4), c.STA.FREST(8));  // with the chain's 40*4/10
  EXPECT_DOUBLE_EQ(20.0 * c.w(10), c.STA.FREST(14));
  EXPECT_EQ(0.0, c.STA.FREST(2));
}

TEST(RESULT, TieBackResults) {
  WallCase c(10, 1.0);
  c.C.RV6 = 1.5;
  c.point(1, 10, 3, 0.0, 0.0);
  c.record(0, 0, 0, 500.0);
  c.tie(2.0, 0.001, 2.0E8, 5.0, 30.0, 2.0, 100.0);
  c.tie(4.0, 0.001, 2.0E8, 5.0, 90.0, 2.0, 100.0);
  c.stadat();
  c.analyse();
  const auto& T = c.m.TIE;
  const double HF = T.FTB(1) - T.KTB(1) * c.w(2);
  const double FS = HF / std::cos(30 * 3.1415998935699463 / 180);
  EXPECT_EQ(HF, T.HFORCE(1));
  EXPECT_EQ(FS, T.FSTA(1));
  EXPECT_DOUBLE_EQ(FS * 2.0 / 1.5, T.FTIE(1));
  EXPECT_GT(std::fabs(T.FSTA(2)), 1.0E5 * std::fabs(T.HFORCE(2)));  // 90 degrees
  const auto out = c.out();
  const int i = find_line(out, "     TIE BACK RESULTS");
  ASSERT_GT(i, 0);
  EXPECT_EQ("     ----------------", out[i + 1]);
  EXPECT_EQ("     N     STA         X        HOR.FORCE/STA.     FORCE/STA.     FORCE/TIE BACK", out[i + 3]);
  EXPECT_EQ(sp(21) + "  M" + sp(12) + " KN" + sp(15) + " KN" + sp(15) + " KN", out[i + 4]);
  EXPECT_EQ("   -----  -----    --------     --------------   --------------   --------------", out[i + 5]);
  EXPECT_EQ(io::format("(1X,I5,2X,I5,2X,1PE12.3,8(2X,1PE15.4))", 1, 2, 2.0, HF, FS, T.FTIE(1)), out[i + 6]);
  EXPECT_EQ("     1      2", out[i + 6].substr(0, 13));
  // Node reactions follow: the reaction at the fixed bottom balances every load.
  const int j = find_line(out, "     NODE REACTIONS");
  ASSERT_EQ(i + 8 + 2, j);
  EXPECT_EQ("     N     STA         X            FORCE    ", out[j + 3]);
  EXPECT_EQ(sp(21) + "  M" + sp(12) + " KN", out[j + 4]);
  EXPECT_EQ("   -----  -----    --------    --------------", out[j + 5]);
  double loads = 0;
  for (int K = 3; K <= 15; ++K) loads += c.STA.Q(K) - c.STA.S(K) * c.STA.W(K);
  EXPECT_NEAR(-loads, c.STA.XNF(14), 1.0E-6 * 500);
  EXPECT_EQ(io::format("(1X,I5,2X,I5,2X,1PE12.3,8(2X,1PE15.4))", 1, 10, 10.0, c.STA.XNF(14)), out[j + 6]);
  EXPECT_EQ(static_cast<std::size_t>(j + 7), out.size());
}

TEST(RESULT, TieBackForceInGenericUnits) {
  WallCase c(10, 1.0, 3);
  c.point(1, 10, 3, 0.0, 0.0);
  c.tie(2.0, 0.001, 2.0E8, 5.0, 30.0, 2.0, 100.0);
  c.stadat();
  EXPECT_EQ(0, c.m.TIE.KTB(1));  // not computed for a unit code other than 1 or 2
  c.m.TIE.FTB(1) = -50;
  c.analyse();
  EXPECT_EQ(c.m.TIE.FSTA(1), c.m.TIE.FTIE(1));
  EXPECT_DOUBLE_EQ(-50 / std::cos(30 * 3.1415998935699463 / 180), c.m.TIE.FSTA(1));
}
