// stadat_test.cpp -- station data: the range rule, CONTD chains, the applied couples,
// tie backs, the bounds of the station tables, the pressure table as load with the
// option-4 curves, and the "STIFFNESS AND LOAD DATA" and "TIE BACK DATA" sections.
#include <cmath>

#include "wallcase.h"

namespace {
double ei(const WallCase& c, int i) { return c.STA.EI(i + 4); }
double q(const WallCase& c, int i) { return c.STA.Q(i + 4); }
}  // namespace

TEST(STADAT, RangeRuleOfWallSections) {
  WallCase c(10, 1.0);
  c.cross(1, 100, 1);
  c.cross(2, 300, 1);
  c.C.NCROSS = 2;
  c.section(1, 0.0, 4.0, 1);
  c.section(2, 4.0, 10.0, 2);
  c.stadat();
  // Half at the ends of each range; the shared station gets the average of the two.
  EXPECT_EQ(50, ei(c, 0));
  EXPECT_EQ(100, ei(c, 3));
  EXPECT_EQ(200, ei(c, 4));
  EXPECT_EQ(300, ei(c, 9));
  EXPECT_EQ(150, ei(c, 10));
  EXPECT_EQ(0, ei(c, -1));
  EXPECT_EQ(0, ei(c, 11));
  EXPECT_EQ(2, c.m.ITR.NSECF);
}

TEST(STADAT, TaperedAndOneStationSections) {
  WallCase c(10, 1.0);
  c.cross(1, 100, 1, 300, 1);  // tapered: E*I 100 at the top, 300 at the bottom
  c.section(1, 0.0, 10.0, 1);
  c.section(2, 2.6, 3.4, 1);  // both ends round to station 3: the top value in full
  c.stadat();
  EXPECT_EQ(50, ei(c, 0));
  EXPECT_DOUBLE_EQ(200, ei(c, 5));
  EXPECT_DOUBLE_EQ(150, ei(c, 10));
  EXPECT_DOUBLE_EQ(100 + 200 * 3 / 10.0 + 100, ei(c, 3));
}

TEST(STADAT, EnglishDepthsInFeetAndHalvesAwayFromZero) {
  WallCase c(20, 6.0, ENGLISH);  // h = 6 in, wall 10 ft
  c.tie(0.25, 1, 1, 1, 0, 1, 0);  // 3 in = h/2: station 1
  c.tie(0.2499, 1, 1, 1, 0, 1, 0);  // just above: station 0
  c.tie(1.0, 1, 1, 1, 0, 1, 0);  // 12 in: station 2
  c.stadat();
  EXPECT_EQ(5, c.m.TIE.KSTA(1));
  EXPECT_EQ(4, c.m.TIE.KSTA(2));
  EXPECT_EQ(6, c.m.TIE.KSTA(3));
  EXPECT_EQ(3, c.m.TIE.NTIEF);
}

TEST(STADAT, ContinuedRecordsFormOneChain) {
  WallCase c(20, 1.0);
  // Chain 0 -> 20 from 1 to 3; the FROM of the closing record is not used and the
  // closing record is not applied again.
  c.record(0, 10, 1, 1.0);
  c.record(12, 20, 0, 3.0);
  // A single station takes its value in full.
  c.record(5, 5, 0, 7.0);
  c.stadat();
  EXPECT_DOUBLE_EQ(0.5, q(c, 0));
  EXPECT_DOUBLE_EQ(1.5 + 7.0, q(c, 5));
  EXPECT_DOUBLE_EQ(2.0, q(c, 10));
  EXPECT_DOUBLE_EQ(2.5, q(c, 15));
  EXPECT_DOUBLE_EQ(1.5, q(c, 20));
  double sum = 0;
  for (int i = -2; i <= 22; ++i) sum += q(c, i);
  EXPECT_NEAR(20 * 2.0 + 7.0, sum, 1.0E-12);  // trapezoid of the chain plus the single load
}

TEST(STADAT, ZeroSpanLinks) {
  WallCase c(10, 1.0);
  // Links 0->4 (2 to 6), 4->4 (adds nothing), 4->8 (8 to 10): station 4 takes half of
  // each neighbouring link.
  c.record(0, 0, 1, 2.0);
  c.record(4, 4, 1, 6.0);
  c.record(4, 4, 1, 8.0);
  c.record(8, 8, 0, 10.0);
  // A chain on one station acts as its first record there.
  c.record(9, 9, 1, 4.0);
  c.record(9, 9, 0, 9.0);
  c.stadat();
  EXPECT_DOUBLE_EQ(1.0, q(c, 0));
  EXPECT_DOUBLE_EQ(4.0, q(c, 2));
  EXPECT_DOUBLE_EQ(7.0, q(c, 4));
  EXPECT_DOUBLE_EQ(9.0, q(c, 6));
  EXPECT_DOUBLE_EQ(5.0, q(c, 8));
  EXPECT_DOUBLE_EQ(4.0, q(c, 9));
}

TEST(STADAT, AppliedCouplesRebuiltPerProblem) {
  WallCase c(10, 0.5);
  c.record(2, 2, 0, 0, 5.0);
  c.record(3, 6, 0, 1.0, 0.0, 2.0);
  c.record(7, 7, 0, 0, -1.0);
  c.stadat();
  ASSERT_EQ(2, c.STA.NCOUP);
  EXPECT_EQ(6, c.STA.KCOUP(1));
  EXPECT_DOUBLE_EQ(5.0, c.STA.CCOUP(1));
  EXPECT_EQ(11, c.STA.KCOUP(2));
  EXPECT_DOUBLE_EQ(-1.0, c.STA.CCOUP(2));
  EXPECT_DOUBLE_EQ(5.0, c.STA.T(6));
  EXPECT_DOUBLE_EQ(2.0, c.STA.P(8));
  EXPECT_DOUBLE_EQ(1.0, c.STA.P(7));
  // The next problem's records have no couple: none survives.
  c.m.REC.NREC4 = 0;
  c.record(3, 6, 0, 1.0);
  c.stadat();
  EXPECT_EQ(0, c.STA.NCOUP);
  EXPECT_EQ(0, c.STA.T(6));
}

TEST(STADAT, TieBackSpringAndPrestress) {
  WallCase si(10, 1.0, SI);
  si.C.RV6 = 1.5;
  si.tie(2.0, 0.001, 2.0E8, 5.0, 0.0, 2.0, 100.0);
  si.stadat();
  EXPECT_DOUBLE_EQ(0.001 * 2.0E8 * 1.5 / (5.0 * 2.0), si.STA.S(6));
  EXPECT_DOUBLE_EQ(-100.0 * 1.5 / 2.0, si.STA.Q(6));

  WallCase en(10, 12.0, ENGLISH);  // lengths and spacing in feet
  en.C.RV6 = 12.0;
  en.tie(2.0, 1.5, 29.0E6, 5.0, 0.0, 2.0, 1000.0);
  en.tie(4.0, 1.5, 29.0E6, 5.0, 90.0, 2.0, 1000.0);
  en.stadat();
  EXPECT_DOUBLE_EQ(1.5 * 29.0E6 * 12.0 / (12 * 5.0 * 12 * 2.0), en.STA.S(6));
  EXPECT_DOUBLE_EQ(-1000.0 * 12.0 / (12 * 2.0), en.STA.Q(6));
  // 90 degrees with pi = 3.1416 in single precision: a cosine a little below zero.
  const double c90 = std::cos(90 * 3.1415998935699463 / 180);
  EXPECT_LT(c90, 0);
  EXPECT_DOUBLE_EQ(1.5 * 29.0E6 * c90 * 12.0 / (12 * 5.0 * 12 * 2.0), en.m.TIE.KTB(2));
}

TEST(STADAT, RunEndingChecks) {
  {
    WallCase c;
    c.record(5, 3, 0, 1.0);
    EXPECT_TRUE(c.ends([&] { c.stadat(); }));
    EXPECT_EQ("ERROR STOP -- STATIONS NOT IN ORDER: STIFFNESS AND LOAD RECORD 1 ENDS AT STATION 3, ABOVE ITS FIRST "
              "STATION 5",
              c.msg());
  }
  {
    WallCase c;  // a chain that runs backwards
    c.record(8, 8, 1, 1.0);
    c.record(3, 3, 0, 1.0);
    EXPECT_TRUE(c.ends([&] { c.stadat(); }));
    EXPECT_EQ(0u, c.msg().find("ERROR STOP -- STATIONS NOT IN ORDER: STIFFNESS AND LOAD RECORD 1 ENDS AT STATION 3"));
  }
  {
    WallCase c;
    c.restraint(-3, 2, 0, 1.0, 0.0);
    EXPECT_TRUE(c.ends([&] { c.stadat(); }));
    EXPECT_EQ("ERROR -- RESTRAINT RECORD 1 STARTS AT STATION -3, ABOVE STATION -2", c.msg());
  }
  {
    WallCase c;  // NI = 10: station 13 lies beyond NI+2
    c.record(8, 13, 0, 1.0);
    EXPECT_TRUE(c.ends([&] { c.stadat(); }));
    EXPECT_EQ("ERROR -- NON-ZERO TABLE 4 DATA BEYOND END: STIFFNESS AND LOAD RECORD 1 LOADS STATIONS BELOW STATION 12",
              c.msg());
    // The fixed message, then the line that names the record.
    const auto out = c.out();
    ASSERT_GE(out.size(), 2u);
    EXPECT_EQ("     ERROR -- NON-ZERO TABLE 4 DATA BEYOND END", out[out.size() - 2]);
    EXPECT_EQ("     STIFFNESS AND LOAD RECORD 1 LOADS STATIONS BELOW STATION 12", out.back());
  }
  {
    WallCase c;  // zero values beyond the end and a huge station are harmless
    c.record(8, 2000000000, 0, 0.0);
    c.record(-2, -2, 0, 0.0, 0.0, 3.0);
    EXPECT_FALSE(c.ends([&] { c.stadat(); PRSLOD(c.run); }));
    EXPECT_EQ(3.0, c.STA.P(2));
  }
  {
    WallCase c;  // station NI+1 loaded: the check after all records
    c.record(11, 11, 0, 1.0);
    EXPECT_FALSE(c.ends([&] { c.stadat(); }));
    EXPECT_TRUE(c.ends([&] { PRSLOD(c.run); }));
    EXPECT_EQ("ERROR -- NON-ZERO TABLE 4 DATA BEYOND END", c.msg());
  }
  {
    WallCase c;  // a couple at NI+2
    c.record(12, 12, 0, 0.0, 1.0);
    c.stadat();
    EXPECT_TRUE(c.ends([&] { PRSLOD(c.run); }));
  }
  {
    WallCase c;
    c.tie(-1.0, 1, 1, 1, 0, 1, 0);
    EXPECT_TRUE(c.ends([&] { c.stadat(); }));
    EXPECT_EQ("ERROR -- TIE BACK 1 AT STATION -1 IS ABOVE THE TOP OF THE WALL", c.msg());
  }
  {
    WallCase c;
    c.tie(12.0, 1, 1, 1, 0, 1, 0);
    EXPECT_TRUE(c.ends([&] { c.stadat(); }));
    EXPECT_EQ("ERROR -- NON-ZERO TABLE 4 DATA BEYOND END: TIE BACK 1 AT STATION 12 IS BELOW THE WALL", c.msg());
  }
  {
    WallCase c;
    c.tie(2.0, 1, 1, 0.0, 0, 1, 0);
    EXPECT_TRUE(c.ends([&] { c.stadat(); }));
    EXPECT_EQ("ERROR -- TIE BACK 1: UNBONDED LENGTH AND SPACING MUST BE POSITIVE", c.msg());
  }
  {
    WallCase c;
    c.section(1, 0.0, 10.0, 2);  // NCROSS = 1
    EXPECT_TRUE(c.ends([&] { c.stadat(); }));
    EXPECT_EQ("ERROR -- WALL SECTION 1 NAMES CROSS SECTION 2, NOT ONE OF 1 TO 1", c.msg());
  }
}

TEST(STADAT, StiffnessAndLoadDataSection) {
  WallCase c(20, 1.0, SI);
  c.record(0, 10, 1, 1.0);
  c.record(12, 20, 0, 3.0);
  c.record(5, 5, 0, -75.0, 0.0, 2.5);
  c.restraint(20, 20, 0, 1.0E4, 0.0);
  c.stadat();
  const auto out = c.out();
  ASSERT_GE(out.size(), 21u);
  EXPECT_EQ("", out[0]);
  EXPECT_EQ("", out[2]);
  EXPECT_EQ("      **************************************************", out[3]);
  EXPECT_EQ("      *        STIFFNESS AND LOAD DATA                 *", out[4]);
  EXPECT_EQ("", out[6]);
  EXPECT_EQ("      EI - FLEXURAL RIGIDITY,  Q - TRANSVERSE LOAD,", out[7]);
  EXPECT_EQ("      R - STIFFNESS OF TORSIONAL RESISTANCE.", out[10]);
  EXPECT_EQ("", out[13]);
  EXPECT_EQ("     FROM TO CONTD     EI         Q        S        T         R         P", out[14]);
  EXPECT_EQ(std::string(18, ' ') + "  KN- M**2" + "    " + "  KN" + "    " + "  KN/ M" + "   " + "  M- KN" +
                "  " + "  M- KN" + "    " + "  KN",
            out[15]);
  const std::string Z = " 0.000E+00";
  EXPECT_EQ("        0  20  0  1.000E+06" + Z + Z + Z + Z + Z, out[16]);  // wall section
  EXPECT_EQ("        0  10  1 " + Z + " 1.000E+00" + Z + Z + Z + Z, out[17]);
  EXPECT_EQ("           20  0 " + Z + " 3.000E+00" + Z + Z + Z + Z, out[18]);  // continued
  EXPECT_EQ("        5      0 " + Z + "-7.500E+01" + Z + Z + Z + " 2.500E+00", out[19]);  // one station
  EXPECT_EQ("       20      0 " + Z + Z + " 1.000E+04" + Z + Z + Z, out[20]);
  EXPECT_EQ(21u, out.size());  // no tie backs: no "TIE BACK DATA"
}

TEST(STADAT, TieBackDataSection) {
  WallCase c(10, 12.0, ENGLISH);
  c.tie(2.0, 1.5, 29.0E6, 5.0, 15.0, 8.0, 1000.0);
  c.stadat();
  const auto out = c.out();
  const int i = find_line(out, "      *                  TIE BACK DATA                 *");
  ASSERT_GT(i, 0);
  EXPECT_EQ("", out[i - 2]);
  EXPECT_EQ("", out[i - 4]);
  EXPECT_EQ("      **************************************************", out[i - 1]);
  EXPECT_EQ("", out[i + 2]);
  EXPECT_EQ("         DEPTH      AREA    ELASTIC   UNBONDED   HORIZ.    ANCHOR  PRESTRESS.", out[i + 3]);
  EXPECT_EQ(std::string(6, ' ') + "                      MODULUS    LENGTH    ANGLE   " + " SPACING    FORCE", out[i + 4]);
  EXPECT_EQ(std::string(10, ' ') + "FT" + std::string(7, ' ') + "IN**2" + "   LBS/IN**2" + std::string(5, ' ') +
                "FT" + std::string(7, ' ') + "DEG" + std::string(7, ' ') + "FT" + std::string(6, ' ') + " LBS",
            out[i + 5]);
  EXPECT_EQ("       2.000E+00 1.500E+00 2.900E+07 5.000E+00 1.500E+01 8.000E+00 1.000E+03", out[i + 6]);
  // Its line of "STIFFNESS AND LOAD DATA": station 2, the prestress load and the spring.
  const int j = find_line(out, "     FROM TO CONTD     EI         Q        S        T         R         P");
  ASSERT_GT(j, 0);
  EXPECT_EQ("        2      0", out[j + 3].substr(0, 16));
  EXPECT_EQ(j + 3 + 5, i);
}

TEST(PRSLOD, PressureTableAsLoad) {
  WallCase c(10, 1.0);
  c.C.KEP = 2;
  auto& PRS = c.m.PRS;
  PRS.NPRES = 2;
  PRS.PT(1, 1) = 2.0;
  PRS.PT(1, 2) = 20.0;
  PRS.PT(2, 1) = 6.0;
  PRS.PT(2, 2) = 60.0;
  c.stadat();
  PRSLOD(c.run);
  EXPECT_EQ(0, q(c, 0));
  EXPECT_DOUBLE_EQ(10.0, q(c, 1));  // between the zero entry and the first row
  EXPECT_DOUBLE_EQ(20.0, q(c, 2));
  EXPECT_DOUBLE_EQ(50.0, q(c, 5));
  EXPECT_DOUBLE_EQ(60.0, q(c, 6));
  EXPECT_EQ(0, q(c, 7));
  // No earth pressure: the table adds nothing, whatever it still holds.
  c.C.KEP = 0;
  c.stadat();
  PRSLOD(c.run);
  EXPECT_EQ(0, q(c, 2));
  // A table reaching below the wall loads station NI+1.
  c.C.KEP = 1;
  PRS.PT(2, 1) = 11.0;
  c.stadat();
  EXPECT_TRUE(c.ends([&] { PRSLOD(c.run); }));
}

TEST(PRSLOD, OptionFourCurvesAboveTheExcavation) {
  WallCase c(20, 0.5);
  c.C.KEP = 4;
  c.C.XEXC = 1.5;  // stations 1..3 above the excavation
  auto& PRS = c.m.PRS;
  PRS.NPRES = 41;
  for (int r = 1; r <= 41; ++r) {
    const double d = (r - 1) * 0.25;
    PRS.PT(r, 1) = d;
    PRS.PT(r, 2) = 0.7 * d * 0.5;
    PRS.PT(r, 3) = 0.5 * d;
    PRS.PT(r, 4) = 0.1 * d;
    PRS.PT(r, 5) = 10 * d;
    PRS.PT(r, 6) = 2 * d;
  }
  PRS.PT(3, 5) = 1.2;  // station 1 (depth 0.5): passive below 1.5 times at rest
  c.stadat();
  PRSLOD(c.run);
  const auto& CRV = c.m.CRV;
  ASSERT_EQ(3, CRV.NCRV4);
  for (int j = 1; j <= 3; ++j) {
    EXPECT_EQ(j + 4, CRV.FROM(j));
    EXPECT_EQ(j + 4, CRV.TO(j));
    EXPECT_EQ(0, CRV.CONTD(j));
    EXPECT_EQ(6, CRV.POINTS(j));
    EXPECT_EQ(0, q(c, j));  // the curve replaces the plain load
  }
  // Station 2 (depth 1.0): forces per station, h = 0.5.
  const double Y[6] = {-1, -3.0 / 80, -1.0 / 10667, 0, 1.0 / 357, 1};
  const double F[6] = {5.0, 5.0, 1.5, 1.0, 0.3, 0.3};
  for (int n = 1; n <= 6; ++n) {
    EXPECT_DOUBLE_EQ(Y[n - 1], CRV.Y(2, n));
    EXPECT_DOUBLE_EQ(F[n - 1], CRV.F(2, n));
  }
  // Station 1: 1.5 times at rest exceeds passive; the third point stays at passive.
  EXPECT_DOUBLE_EQ(0.6, CRV.F(1, 1));
  EXPECT_DOUBLE_EQ(0.6, CRV.F(1, 3));
  EXPECT_DOUBLE_EQ(0.5, CRV.F(1, 4));
  // The station below the curves and the rest take the plain load.
  EXPECT_DOUBLE_EQ(0.7 * 2.0 * 0.5, q(c, 4));
  EXPECT_DOUBLE_EQ(0.7 * 5.0 * 0.5, q(c, 10));
  // Deflections out of order are an input error.
  c.C.RV6 = -1;
  c.stadat();
  EXPECT_TRUE(c.ends([&] { PRSLOD(c.run); }));
}
