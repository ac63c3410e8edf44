// The pressure table of a problem by its option: read-back, widths, listing, load per
// station, plot block; specified pressures; no earth pressure; the table limit.
#include <cmath>

#include "prcase.h"

namespace {

void english(PCase& c, double WA = 1, double WP = 1) {
  c.wall(ENGLISH, 30, 12.0);
  c.walrec(180, 900, 900, WA, WP);
  c.layer(4, 480, 0.07, 0, 30);
}

// Report lines of the depth listing: after its dashes, up to the first empty line.
std::vector<std::string> listing(const PCase& c) {
  const auto v = c.lines();
  std::vector<std::string> r;
  bool on = false;
  for (const auto& s : v) {
    if (on && s.empty()) break;
    if (on) r.push_back(s);
    if (s == "        --------       ------------------------") on = true;
  }
  return r;
}

std::vector<double> fields(const std::string& s) {
  std::istringstream ss(s);
  std::vector<double> v;
  for (std::string t; ss >> t;) v.push_back(std::stod(t));
  return v;
}

}  // namespace

TEST(EARTHP, ReadBackScalesByTheWidthsThenLoadsPerStation) {
  PCase c("widths");
  english(c, 12, 36);
  ASSERT_EQ("", c.go(EARTHP));
  const auto x = c.exchange();
  const auto& PT = c.m.PRS.PT;
  ASSERT_EQ(361, c.m.PRS.NPRES);
  for (int I : {100, 181, 200, 361}) {
    const auto f = fields(x.at(I));
    const double W = f[0] > 180 ? 36 : 12;
    EXPECT_EQ(f[0], PT(I, 1));
    for (int K = 3; K <= 12; ++K) EXPECT_EQ(f[K - 1] * W, PT(I, K)) << I << " " << K;
    EXPECT_EQ(f[11] * W * 12, PT(I, 2)) << I;
  }
}

TEST(EARTHP, EnglishListingOfEverySixthRowAndThePlotBlock) {
  PCase c("list361");
  english(c);
  ASSERT_EQ("", c.go(EARTHP));
  const auto& PT = c.m.PRS.PT;
  const auto L = listing(c);
  ASSERT_EQ(61u, L.size());  // rows 1, 7, ..., 361
  EXPECT_EQ(io::format("(6X,1P,E10.3,10X,1P,E10.3)", 0.5, PT(7, 12)), L[1]);
  EXPECT_EQ(io::format("(6X,1P,E10.3,10X,1P,E10.3)", 30.0, PT(361, 12)), L[60]);
  // header with the depth in feet and force per length
  EXPECT_NE(std::string::npos, c.report().find("\n\n\n         DEPTH         ACTIVE EARTH PRESSURE\n         FT " + std::string(17, ' ') + " LBS/IN\n"));
  // plot block: the listed rows, eight columns, column 3 of row 1 no longer zero
  const auto P = PCase::split(c.plot());
  ASSERT_EQ(62u, P.size());
  EXPECT_EQ(io::list_format(61), P[0]);
  EXPECT_EQ(io::format("(10(2X,E10.3))", PT(7, 1), PT(7, 2), PT(7, 12), PT(7, 7), PT(7, 9), PT(7, 11),
                       PT(7, 10), PT(7, 8)),
            P[2]);
  EXPECT_EQ(static_cast<double>(1.0E-7f), PT(1, 3));
  EXPECT_EQ(PT(100, 12) * 12, PT(100, 2));
}

TEST(EARTHP, SiListingOfEveryFourthRowAlwaysTheLast) {
  PCase c("list120");
  c.wall(SI, 119, 0.05);
  c.walrec(2, 50, 50);
  c.layer(4, 8, 18, 0, 30);
  ASSERT_EQ("", c.go(EARTHP));
  ASSERT_EQ(120, c.m.PRS.NPRES);
  const auto L = listing(c);
  ASSERT_EQ(31u, L.size());  // rows 1, 5, ..., 117 and 120
  for (int N = 0; N < 30; ++N) EXPECT_NEAR(N * 0.2, fields(L[N])[0], 1e-9) << N;
  EXPECT_EQ(5.95, fields(L[30])[0]);
  EXPECT_EQ(io::list_format(31), PCase::split(c.plot())[0]);
}

TEST(EARTHP, ShortTablesAreListedWhole) {
  PCase c("list41");
  c.wall(SI, 4, 0.5);
  c.walrec(1, 50, 50);
  c.layer(4, 3, 18, 0, 30);
  ASSERT_EQ("", c.go(EARTHP));
  EXPECT_EQ(41u, listing(c).size());
}

TEST(EARTHP, NoEarthPressure) {
  PCase c("kep0");
  c.wall(ENGLISH, 30, 12.0, 0);
  c.m.PRS.NPRES = 7;
  ASSERT_EQ("", c.go(EARTHP));
  EXPECT_EQ(0, c.m.PRS.NPRES);
  EXPECT_EQ(io::list_format(0) + "\n", c.plot());
  EXPECT_EQ("", c.report());
  PCase d("kepneg");
  d.wall(ENGLISH, 30, 12.0, -1);
  d.m.PRS.NPRES = 7;
  ASSERT_EQ("", d.go(EARTHP));
  EXPECT_EQ(0, d.m.PRS.NPRES);
  EXPECT_EQ("", d.plot());
}

TEST(EARTHP, SpecifiedPressuresTimesTheIncrementLengthOnce) {
  PCase c("kep1");
  c.wall(ENGLISH, 30, 12.0, 1);
  auto& S = c.m.SOIL;
  S.NSPP = 3;
  const double D[3] = {0, 60, 360}, P[3] = {0, 0.5, 2.0};
  for (int I = 1; I <= 3; ++I) {
    S.SPPD(I) = D[I - 1];
    S.SPPP(I) = P[I - 1];
  }
  ASSERT_EQ("", c.go(EARTHP));
  const auto& PT = c.m.PRS.PT;
  ASSERT_EQ(3, c.m.PRS.NPRES);
  EXPECT_EQ(0.5, PT(2, 3));
  EXPECT_EQ(6.0, PT(2, 2));
  EXPECT_EQ(24.0, PT(3, 2));
  EXPECT_EQ(PT(3, 2), PT(3, 12));
  EXPECT_EQ(static_cast<double>(1.0E-7f), PT(1, 3));
  const auto out = c.report();
  EXPECT_NE(std::string::npos, out.find("*        SPECIFIED ACTIVE EARTH PRESSURE         *\n      **************************************************\n\n\n\n         DEPTH         ACTIVE EARTH PRESSURE\n          IN" + std::string(17, ' ') + " LBS/IN\n"));
  const auto L = listing(c);
  ASSERT_EQ(3u, L.size());
  EXPECT_EQ(std::string(7, ' ') + "6.000E+01" + std::string(11, ' ') + "5.000E-01", L[1]);  // as given, inches
  const auto PL = PCase::split(c.plot());
  ASSERT_EQ(4u, PL.size());
  EXPECT_EQ(io::format("(10(2X,E10.3))", 360.0, 24.0, 24.0, 0.0, 0.0, 0.0, 0.0, 0.0), PL[3]);
}

TEST(EARTHP, SpecifiedPressuresWithTheSurchargeList) {
  PCase c("kep1sur");
  c.wall(ENGLISH, 30, 12.0, 1);
  auto& S = c.m.SOIL;
  S.HFREE = 180;
  S.WA = 2;
  c.sur(1, 5000, 50);
  S.NSPP = 2;
  S.SPPD(1) = 30.5;
  S.SPPP(1) = 0.25;
  S.SPPD(2) = 100.5;
  S.SPPP(2) = 0.5;
  ASSERT_EQ("", c.go(EARTHP));
  const auto& PT = c.m.PRS.PT;
  c.m.EP.HFREE = 180;
  SURPRS(c.run, 100.5);
  const double SH = c.m.EP.SIGMAH;
  EXPECT_GT(SH, 0);
  EXPECT_EQ(SH * 2, PT(2, 4));
  EXPECT_EQ((0.5 + SH * 2) * 12, PT(2, 2));
  // without a free height the surcharge list cannot be used
  PCase d("kep1nohf");
  d.wall(ENGLISH, 30, 12.0, 1);
  d.sur(1, 5000, 50);
  d.m.SOIL.NSPP = 1;
  EXPECT_EQ("END", d.go(EARTHP));
}

TEST(EARTHP, SurchargesWithoutFreeHeightAreRefusedBeforeAnySection) {
  PCase c("nohfree");
  english(c);
  c.m.SOIL.HFREE = 0;
  c.sur(2, 100, 24);
  EXPECT_EQ("END", c.go(EARTHP));
  EXPECT_EQ(std::string::npos, c.report().find("WALL INFORMATION"));
  EXPECT_NE(std::string::npos, c.report().find("ERROR -- FREE HEIGHT OF WALL IS LESS THAN 1.0E-06"));
}

TEST(EARTHP, TableLargerThanItsCapacityEndsTheRun) {
  PCase c("toomany");
  c.wall(ENGLISH, 409, 30.0);  // 12270 in: 12271 rows
  c.walrec(180, 900, 900);
  c.layer(4, 20000, 0.07, 0, 30);
  EXPECT_EQ("END", c.go(EARTHP));
  EXPECT_NE(std::string::npos, c.report().find("TOO MUCH DATA FOR AVAILABLE STORAGE\n     ROWS OF THE PRESSURE TABLE ="));
  EXPECT_EQ(0, c.m.PRS.NPRES);
}
