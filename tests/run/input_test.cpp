// The wall-data groups of the input data file read on memory units: cross sections and
// their stiffness inputs, the catalogue lines, the nonlinear EI tables, supports, soil
// data and user curves, and every table limit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <regex>

#include "readcase.h"
#include "run/input.h"

namespace {

// An elastic section: header, name, E1 (8 properties, eq. diameter first), E2 (moment of
// inertia and modulus in their places), optional E3/E4 with the bottom values, E5, E6.
std::string elastic(int ishape, const std::string& name, const std::string& e1, double xi, double e,
                    const std::string& bottom = "", const std::string& e5 = "0 0 0.0 0 0", const std::string& e6 = "' '") {
  std::string t = "1 1 " + std::to_string(ishape) + " 0\n'" + name + "'\n" + e1 + "\n0 0 0 " + std::to_string(xi) +
                  " 0 0 0 0 " + std::to_string(e) + " 0 0 " + (bottom.empty() ? "0" : "1") + "\n";
  if (!bottom.empty()) t += bottom;
  return t + e5 + "\n" + e6 + "\n";
}
const std::string E1 = "0.6 0.5 0.4 0.3 0.2 0.1 0.02 0.01";

// A nonlinear section of kind k with no reinforcement, strands or further records.
std::string nonlinear(int kind, double xi = 0.01, double e = 2.5E7, int knl2 = 0) {
  return "1 1 0 1\n'NL'\n0.6 0 0 " + std::to_string(xi) + " 0 0 0 0 " + std::to_string(e) + "\n" + std::to_string(kind) +
         " 0.6 0.5 0.9 0.2 0.05 0.01 0.02 1.0 0.01 0.3\n0 30000 0 0 2E8 4E5 0 " + std::to_string(knl2) +
         " 0 0\n'NONE'\n0 0 0 0 0 0 0 0 0 0 0\n0 0 0 0 0 0 0 0 0 0\n0 0 0 0 0 0 0 0 0 0 0 0\n0 0 0 0 0\n"
         "0 0 0 7 0 0 0 0 0 0 0\n0 0 0 0 0 0\n";
}

// A problem's wall data for RDWALL: wall sections, sections, EI groups.
void counts(ReadCase& r, int nsect, int ncross, int neiu = 0) {
  r.C.NSECT = nsect;
  r.C.NCROSS = ncross;
  r.C.NEIU = neiu;
}

}  // namespace

TEST(RDWALL, InertiaDerivationAndBottomValues) {
  // SI: mm**4 divided by 1.0E12 as held in single precision, never by 1.0E12 itself.
  ReadCase r("0 10 1\n" + elastic(0, "A", E1, 5.0E9, 2.0E8) +
             elastic(2, "B", E1, 1.0, 2.0E8, "1 1 1 1 1 1 1 1\n0 0 0 2.0 0 0 0 0 3.0E8 0 7.5\n") + "1 0\n2 0\n");
  counts(r, 1, 2);
  ASSERT_FALSE(r.ends(RDWALL));
  const auto& CS = r.m.CS;
  EXPECT_EQ(5.0E9 / 999999995904.0, CS.XIT(1));
  EXPECT_EQ(CS.XIT(1), CS.XIB(1));
  EXPECT_EQ(1.0 / 999999995904.0, CS.XIT(2));
  EXPECT_NE(1.0E-12, CS.XIT(2));
  EXPECT_EQ(2.0 / 999999995904.0, CS.XIB(2));
  EXPECT_EQ(2.0E8, CS.EMT(2));
  EXPECT_EQ(3.0E8, CS.EMB(2));
  EXPECT_EQ(7.5, CS.PROP(2, 39));
  // Untapered: the bottom values are copies of the top values.
  for (int J = 1; J <= 18; ++J) EXPECT_EQ(CS.PROP(1, J), CS.PROP(1, J + 18)) << J;
  EXPECT_EQ(1.0, CS.PROP(2, 19));  // tapered: bottom values as read

  ReadCase e("0 10 1\n" + elastic(0, "A", E1, 1220.0, 29.0E6) + "1 0\n", ENGLISH, 40, 9.0);
  counts(e, 1, 1);
  ASSERT_FALSE(e.ends(RDWALL));
  EXPECT_EQ(1220.0, e.m.CS.XIT(1));
}

TEST(RDWALL, NonlinearSectionRigidityOfTheFirstSolution) {
  ReadCase r("0 10 1\n" + nonlinear(2, 0.0322, 2.5E7) + "1 0\n");
  counts(r, 1, 1);
  ASSERT_FALSE(r.ends(RDWALL));
  const auto& CS = r.m.CS;
  EXPECT_EQ(0.0322, CS.XIT(1));  // no unit conversion for nonlinear sections
  EXPECT_EQ(0.0322, CS.XIB(1));
  EXPECT_EQ(2.5E7, CS.EMT(1));
  EXPECT_EQ(2.5E7, CS.EMB(1));
  EXPECT_EQ(0.6, CS.PROP(1, 19));
  EXPECT_EQ(2, CS.NLKIND(1));
  EXPECT_EQ(7, CS.KN9(1, 4));
  EXPECT_EQ(0.3, CS.GEO(1, 10));
}

TEST(ECHCRS, ElasticCatalogueLines) {
  // Section 1 general (0.6 m shown as 0.6), 2 tapered rectangular pipe, 3 AISC family 12,
  // 4 AISC family 11, 5 shape 9 (no kind line, no property line).
  const std::string T2 = "0.4 0.4 0.4 0.3 0.3 0 0 0\n0 0 0 1.0E9 0 0 0 0 2.1E8 0 0\n";
  ReadCase r("0 10 1\n" + elastic(0, "GEN", E1, 5.0E9, 2.0E8) + elastic(2, "TAPER", E1, 2.0E9, 2.0E8, T2) +
             elastic(5, "PIPE", "0.61 0.57 0 0 0 0 0 0", 1.0E9, 2.0E8, "", "12 0 0.02 1 0", "'PIPE24'") +
             elastic(5, "HSS", "0.5 0 0.5 0.5 0 0 0.01 0.01", 1.0E9, 2.0E8, "", "11 0 0.0 0 0", "'HSS20'") +
             elastic(9, "ODD", E1, 1.0E9, 2.0E8) + "1 0\n2 0\n3 0\n4 0\n5 0\n");
  counts(r, 1, 5);
  ASSERT_FALSE(r.ends(RDWALL));
  const std::string out = r.out();
  EXPECT_TRUE(r.has("     * CROSS SECTIONS *"));
  EXPECT_TRUE(r.has("      CROSS SECTION       :     1"));
  EXPECT_TRUE(r.has("      SECTION NAME        : GEN                             "));
  EXPECT_TRUE(r.has("      TYPE                :  ELASTIC"));
  EXPECT_TRUE(r.has("      CROSS SECTION TYPE  : GENERAL SECTION  "));
  EXPECT_TRUE(r.has("      EQUIVALENT DIAMETER :       0.60000  M "));
  EXPECT_TRUE(r.has("      YOUNG MODULUS       :   2.00000E+08  KN/ M**2 "));
  // Tapered shape 2: five property lines and the modulus in two columns.
  EXPECT_TRUE(r.has("      TAPERED SECTION                TOP                  BOTTOM"));
  EXPECT_TRUE(r.has("      EXTERNAL WIDTH      :       0.40000  M              0.40000  M "));
  EXPECT_TRUE(r.has("      INTERNAL WIDTH      :       0.20000  M              0.30000  M "));
  EXPECT_TRUE(r.has("      INTERNAL DEPTH      :     0.1000000  M              0.00000  M "));
  EXPECT_TRUE(r.has("      YOUNG MODULUS       :   2.00000E+08  KN/ M**2   2.10000E+08  KN/ M**2 "));
  // AISC family 12: internal diameter and thickness; family 11: flange and web.
  EXPECT_TRUE(r.has("      CROSS SECTION TYPE  : AISC SECTION (PIPE)"));
  EXPECT_TRUE(r.has("      AISC SECTION NAME   : PIPE24                          "));
  EXPECT_TRUE(r.has("      EXTERNAL DIAMETER   :       0.61000  M "));
  EXPECT_TRUE(r.has("      THICKNESS           :     0.0200000  M "));
  EXPECT_TRUE(r.has("      CROSS SECTION TYPE  : AISC SECTION (HSS) "));
  EXPECT_TRUE(r.has("      FLANGE THICKNESS    :   1.00000E-02  M "));
  // Properties: tapered rows TOP and BOT, the others one row.
  EXPECT_TRUE(r.has("     * CROSS SECTIONS PROPERTIES *"));
  EXPECT_TRUE(r.has("              ELASTIC SECTIONS         "));
  EXPECT_TRUE(r.has("       SECT           DIAM, M       I, M**4"));
  EXPECT_TRUE(r.has("         1             0.60000   5.00000E-03 "));
  EXPECT_TRUE(r.has("         2  TOP        0.60000   2.00000E-03 "));
  EXPECT_TRUE(r.has("            BOT        0.40000   1.00000E-03 "));  // "BOT" under "TOP"
  EXPECT_EQ(std::string::npos, out.find("NONLINEAR SECTIONS"));
  // Shape 9: no kind line for it, only the modulus after its TYPE line.
  const auto L = r.lines();
  for (std::size_t i = 0; i + 3 < L.size(); ++i)
    if (L[i] == "      SECTION NAME        : ODD                             ") {
      EXPECT_EQ("      TYPE                :  ELASTIC", L[i + 1]);
      EXPECT_EQ("      YOUNG MODULUS       :   2.00000E+08  KN/ M**2 ", L[i + 2]);
      EXPECT_EQ("", L[i + 3]);
    }
}

TEST(ECHCRS, NonlinearKindsPrintTheirBlocks) {
  // Kind 8 with the H flag, kind 7 (pipe), kind 3 without casing and embedded steel,
  // kind 12 (unknown: modulus only).
  ReadCase r("0 10 1\n" + nonlinear(8, 0.01, 2.0E8, 3) + nonlinear(7) + nonlinear(3) + nonlinear(12) +
             "1 0\n2 0\n3 0\n4 0\n");
  counts(r, 1, 4);
  ASSERT_FALSE(r.ends(RDWALL));
  EXPECT_TRUE(r.has("      TYPE                :  NONLINEAR"));
  EXPECT_TRUE(r.has("      CROSS SECTION TYPE  : STEEL H SECTION PILE       "));
  EXPECT_TRUE(r.has("      WEB THICKNESS       :   1.00000E-02  M "));
  EXPECT_TRUE(r.has("      ES STEEL            :   2.00000E+08  KN/ M**2 "));
  EXPECT_TRUE(r.has("      CROSS SECTION TYPE  : STEEL PIPE PILE            "));
  EXPECT_TRUE(r.has("      INTERNAL DIAMETER   :       0.20000  M "));
  EXPECT_TRUE(r.has("      DIAMETER CASING     : NO CASING"));
  EXPECT_TRUE(r.has("      EMBEDDED STEEL SECT : NONE"));
  EXPECT_TRUE(r.has("      NONLINEAR EI INDEX  :             7 "));
  EXPECT_TRUE(r.has("      EQ. YOUNG MODULUS   :   2.50000E+07  KN/ M**2 "));
  EXPECT_TRUE(r.has("              NONLINEAR SECTIONS       "));
  EXPECT_TRUE(r.has("         4             0.60000   1.00000E-02 "));
  const std::string out = r.out();
  EXPECT_EQ(std::string::npos, out.find("ELASTIC SECTIONS"));
  EXPECT_EQ(std::string::npos, out.find("USE STRAIN HARDENING MODEL"));
  EXPECT_EQ(std::string::npos, out.find("CONFINED SECTION"));
}

TEST(RDWALL, WallSectionsAndTheirChecks) {
  // Depths in feet in English units: 0 to 30 ft of a 40 x 9 in wall is stations 0..40.
  ReadCase r("0.0 15.0 1\n15.0 30.0 1\n" + elastic(0, "A", E1, 100.0, 29.0E6) + "1 0\n", ENGLISH, 40, 9.0);
  counts(r, 2, 1);
  r.m.STA.Q(MXSTA) = 5;  // cleared whole, not only the wall's stations
  r.m.STA.EI(1) = 5;
  ASSERT_FALSE(r.ends(RDWALL));
  EXPECT_EQ(0, r.m.STA.Q(MXSTA));
  EXPECT_EQ(0, r.m.STA.EI(1));
  EXPECT_TRUE(r.has("     * WALL SECTIONS *"));
  EXPECT_TRUE(r.has("       SECT          TOP        BOTTOM     SECTION"));
  EXPECT_TRUE(r.has("                     FT            FT"));
  EXPECT_TRUE(r.has("         1        0.00000       15.0000       1 "));
  EXPECT_TRUE(r.has("         2        15.0000       30.0000       1 "));

  struct {
    const char* name;
    std::string walls;
    int ncross;
    const char* text;
  } bad[] = {
      {"section 0", "0.0 10.0 0\n", 1, "ERROR -- WALL SECTION 1 NAMES CROSS SECTION 0, NOT ONE OF THE CROSS SECTIONS 1 TO 1"},
      {"section 2", "0.0 5.0 1\n5.0 10.0 2\n", 1, "ERROR -- WALL SECTION 2 NAMES CROSS SECTION 2"},
      {"no sections", "0.0 10.0 1\n", 0,
       "ERROR -- WALL SECTION 1 NAMES CROSS SECTION 1, BUT THE CONTROL RECORD GIVES NO CROSS SECTIONS (NCROSS = 0) "
       "(INPUT LINE 1)"},
      {"negative", "0.0 10.0 1\n", -1, "ERROR -- NCROSS = -1 (CONTROL RECORD, VALUE 4): A NEGATIVE NUMBER OF CROSS"},
      {"below", "0.0 10.3 1\n", 1, "ERROR -- WALL SECTION 1 REACHES STATION 21, OUTSIDE THE WALL (STATIONS 0 TO 20)"},
      {"above", "-0.3 10.0 1\n", 1, "ERROR -- WALL SECTION 1 REACHES STATION -1"},
      {"huge", "0.0 1E300 1\n", 1, "REACHES STATION 1000000"},
  };
  for (const auto& b : bad) {
    SCOPED_TRACE(b.name);
    ReadCase s(b.walls);
    counts(s, static_cast<int>(std::count(b.walls.begin(), b.walls.end(), '\n')), b.ncross);
    EXPECT_TRUE(s.ends(RDWALL));
    EXPECT_NE(std::string::npos, s.out().find(b.text));
    EXPECT_EQ(std::string::npos, s.out().find("WALL SECTIONS"));
  }
}

TEST(RDNEI, TablesOfUserAndPerSectionSets) {
  // Section 1 kind 2 with two per-section sets, 2 the user kind (set 2), 3 elastic with a
  // set of its own, 4 kind 2 without sets. User set 1 belongs to section 1 (not of the
  // user kind): read, neither echoed nor used.
  ReadCase r("0 10 1\n" + nonlinear(2) + nonlinear(10) + elastic(0, "E", E1, 1E9, 2E8) + nonlinear(2) +
             "2\n0.0\n1 2\n1.0 0.1\n2.0 0.2\n"
             "500.0\n2 3\n0.0 0.0\n150.0 0.002\n300.0 0.006\n"
             "1 2\n10.0 0.0\n1 3\n0.0 0.0\n1000.0 0.0005\n2800.0 0.01\n20.0 0.0\n2 2\n0.0 0.0\n3000.0 0.002\n"
             "2 1\n1.0 0.0\n1 2\n5.0 0.5\n6.0 0.6\n"
             "3 1\n1.0 0.0\n1 2\n5.0 0.5\n6.0 0.6\n"
             "4 0\n");
  counts(r, 1, 4, 2);
  ASSERT_FALSE(r.ends(RDWALL));
  const auto& NEI = r.m.NEI;
  EXPECT_EQ(3, NEI.NMP(1));
  EXPECT_EQ(10.0, NEI.THRUST(1));
  EXPECT_EQ(0.01, NEI.CURV(1, 3));
  EXPECT_EQ(2800.0, NEI.BM(1, 3));
  EXPECT_EQ(1, NEI.INUSE(1));
  EXPECT_EQ(3, NEI.NMP(2));  // the user set 2, not the section's own data
  EXPECT_EQ(500.0, NEI.THRUST(2));
  EXPECT_EQ(0.006, NEI.CURV(2, 3));
  EXPECT_EQ(300.0, NEI.BM(2, 3));
  EXPECT_EQ(0, NEI.NMP(3));
  EXPECT_EQ(0, NEI.INUSE(3));
  EXPECT_EQ(0, NEI.NMP(4));
  EXPECT_EQ(0, NEI.INUSE(4));
  // Echo: the user set of section 2 only, EI 0 where the curvature is 0.
  EXPECT_TRUE(r.has("     * USER DEFINED NONLINEAR EI *"));
  EXPECT_TRUE(r.has("        SET          =      2"));
  const std::string o = r.out();  // set 1 only as the table of section 1, after the user sets
  EXPECT_GT(o.find("        SET          =      1"), o.find("INTERNALLY GENERATED NONLINEAR EI"));
  EXPECT_TRUE(r.has("        AXIAL THRUST =    500.0000    KN"));
  EXPECT_TRUE(r.has("        N            CURVATURE         MOMENT           EI   "));
  EXPECT_TRUE(r.has("                      RAD/ M           KN- M           KN- M**2"));
  EXPECT_TRUE(r.has("         1           0.00000           0.00000           0.00000 "));
  EXPECT_TRUE(r.has("         3       6.00000E-03           300.000           50000.0 "));
  // The per-section table of section 1 under its own heading; no block for 3 or 4.
  EXPECT_TRUE(r.has("     * INTERNALLY GENERATED NONLINEAR EI *"));
  EXPECT_TRUE(r.has("        AXIAL THRUST =     10.0000    KN"));
  EXPECT_TRUE(r.has("         2       5.00000E-04           1000.00       2.00000E+06 "));
  const std::string out = r.out();
  EXPECT_LT(out.find("USER DEFINED NONLINEAR EI"), out.find("INTERNALLY GENERATED NONLINEAR EI"));
  EXPECT_EQ(std::string::npos, out.find("SET          =      3"));
  EXPECT_EQ(std::string::npos, out.find("SET          =      4"));
}

TEST(RDNEI, StaleTablesClearedAndNoEchoWithoutNonlinearSections) {
  ReadCase r("0 10 1\n" + elastic(0, "E", E1, 1E9, 2E8) + "1 0\n");
  counts(r, 1, 1);
  r.m.NEI.NMP(1) = 5;
  r.m.NEI.INUSE(1) = 1;
  ASSERT_FALSE(r.ends(RDWALL));
  EXPECT_EQ(0, r.m.NEI.NMP(1));
  EXPECT_EQ(0, r.m.NEI.INUSE(1));
  EXPECT_EQ(std::string::npos, r.out().find("NONLINEAR EI"));
}

TEST(RDSUPP, RecordsAndTieBacks) {
  ReadCase r("2\n0 4 1 10.0 0.0 100.0\n4 8 0 0.0 2.0 0.0\n1\n20 20 0 1.0E6 5.0\n"
             "2.25 1.5 2.9E7 15.0 15.0 8.0 50000.0\n0.375 1 1 1 0 1 0\n",
             ENGLISH, 40, 9.0);
  r.C.NTIE = 2;
  ASSERT_FALSE(r.ends(RDSUPP));
  const auto& REC = r.m.REC;
  EXPECT_EQ(2, REC.NREC4);
  EXPECT_EQ(4, REC.IFROM4(2));
  EXPECT_EQ(8, REC.ITO4(2));
  EXPECT_EQ(2.0, REC.T4(2));
  EXPECT_EQ(100.0, REC.P4(1));
  EXPECT_EQ(1, REC.NRES);
  EXPECT_EQ(1.0E6, REC.SR(1));
  EXPECT_EQ(5.0, REC.RR(1));
  const auto& TIE = r.m.TIE;
  EXPECT_EQ(3 + 4, TIE.KSTA(1));  // 2.25 ft = 27 in = 3 increments of 9 in
  EXPECT_EQ(1 + 4, TIE.KSTA(2));  // 0.375 ft = 4.5 in: half an increment rounds away from 0
  EXPECT_EQ(50000.0, TIE.F0(1));
  EXPECT_EQ(8.0, TIE.SPACE(1));

  struct {
    const char* name;
    std::string text;
    int ntie;
    const char* msg;
  } bad[] = {
      {"contd", "1\n0 4 -1 1.0 0.0 0.0\n0\n", 0, "ERROR -- STIFFNESS AND LOAD RECORD 1 HAS A NEGATIVE CONTD (-1)"},
      {"rcontd", "0\n1\n0 4 -2 1.0 0.0\n", 0, "ERROR -- RESTRAINT RECORD 1 HAS A NEGATIVE CONTD (-2)"},
      {"below", "0\n0\n10.3 1 1 1 0 1 0\n", 1, "ERROR -- TIE BACK 1 AT STATION 21 IS OUTSIDE THE WALL (STATIONS 0 TO 20)"},
      {"above", "0\n0\n-0.3 1 1 1 0 1 0\n", 1, "ERROR -- TIE BACK 1 AT STATION -1 IS OUTSIDE THE WALL"},
      {"lu", "0\n0\n1.0 1 1 1 0 1 0\n1.0 1 1 0.0 0 1 0\n", 2, "ERROR -- TIE BACK 2: THE UNBONDED LENGTH MUST BE POSITIVE"},
      {"s", "0\n0\n1.0 1 1 1 0 -1 0\n", 1, "ERROR -- TIE BACK 1: THE ANCHOR SPACING MUST BE POSITIVE"},
  };
  for (const auto& b : bad) {
    SCOPED_TRACE(b.name);
    ReadCase s(b.text);
    s.C.NTIE = b.ntie;
    EXPECT_TRUE(s.ends(RDSUPP));
    EXPECT_NE(std::string::npos, s.out().find(b.msg)) << s.out();
  }
}

TEST(RDSOIL, FactorsProfileAndSpecifiedPressures) {
  ReadCase r("1\n1.0 0.5 1.0\n2.0 0.7 1.2\n"
             "8.0 1.0 0.9 3.0 8.0 1.0 1 5.0 -5.0\n10.0 1.0 2.0 3.0 4.0 5.0\n1\n2 20.0 2.0 0.0 0.5 1.0\n2 0 100.0\n"
             "1 6.0\n18.0 25.0 0.0 0.02 0.0 0.0\n0.0 35.0 0.0 0.01 0.0 0.0\n"
             "4 4.0\n19.0 0.0 34.0 0.0 9.0 25000.0\n1.5 0.0 36.0 0.0 8.0 26000.0\n");
  r.C.NPYMOD = 2;
  r.C.KEP = 2;
  r.C.KPYGEN = 2;
  ASSERT_FALSE(r.ends(RDSOIL));
  const auto& S = r.m.SOIL;
  EXPECT_EQ(1, S.KPYOPT);
  EXPECT_EQ(1.2, S.PYMY(2));
  EXPECT_EQ(0.9, S.WP);
  EXPECT_EQ(1, S.IWATER);
  EXPECT_EQ(-5.0, S.BETAE);
  EXPECT_EQ(5.0, S.BSTRIP);
  EXPECT_EQ(0.5, S.SVERT(1));
  EXPECT_EQ(2, S.NL);
  EXPECT_EQ(0, S.KSTAT);
  EXPECT_EQ(100.0, S.CYCLES);
  EXPECT_EQ(4.0, S.ZBOT(2));  // a bottom above the previous one is kept as read
  EXPECT_EQ(9.0, S.RQD(2));
  EXPECT_EQ(25000.0, S.KPYTOP(2));
  EXPECT_EQ(1.5, S.UNUSD1(2));
  EXPECT_EQ(36.0, S.PHIBOT(2));
  EXPECT_EQ(8.0, S.UNUSD2(2));
  EXPECT_EQ(26000.0, S.KPYBOT(2));

  ReadCase p("2\n0.0 0.0\n5.0 12.5\n");
  p.C.KEP = 1;
  ASSERT_FALSE(p.ends(RDSOIL));
  EXPECT_EQ(2, p.m.SOIL.NSPP);
  EXPECT_EQ(12.5, p.m.SOIL.SPPP(2));

  // KEP <= 0 reads nothing.
  ReadCase n("not a number\n");
  n.C.KEP = -1;
  EXPECT_FALSE(n.ends(RDSOIL));
  EXPECT_EQ(1, n.u.line(LINP));

  // A zero width for soil resistance divides generated curves by zero.
  const std::string W0 = "8.0 1.0 0.0 3.0 8.0 1.0 1 0.0 0.0\n0 0 0 0 0 0\n0\n0 1 0\n";
  ReadCase z(W0);
  z.C.KEP = 2;
  z.C.KPYGEN = 2;
  EXPECT_TRUE(z.ends(RDSOIL));
  EXPECT_NE(std::string::npos, z.out().find("(WP) MUST NOT BE ZERO"));
  ReadCase u(W0);  // without generated curves the width is not divided by
  u.C.KEP = 2;
  u.C.KPYGEN = 0;
  EXPECT_FALSE(u.ends(RDSOIL));
}

TEST(RDPYU, UserCurvesAndTheirCounts) {
  ReadCase r("10 3 2.0 0.5\n-0.01 5.0\n0.0 0.0\n0.01 -5.0\n12 2 1.0 1.0\n0.0 0.0\n0.1 -9.0\n");
  r.C.NPYU = 2;
  ASSERT_FALSE(r.ends(RDPYU));
  const auto& U = r.m.UPY;
  EXPECT_EQ(10, U.KEY(1));
  EXPECT_EQ(3, U.NPT(1));
  EXPECT_EQ(2.0, U.PMU(1));
  EXPECT_EQ(0.5, U.YMU(1));
  EXPECT_EQ(-0.01, U.YU(1, 1));
  EXPECT_EQ(5.0, U.PU(1, 1));
  EXPECT_EQ(-9.0, U.PU(2, 2));

  ReadCase n("");
  n.C.NPYU = -1;
  EXPECT_TRUE(n.ends(RDPYU));
  EXPECT_EQ(1, n.m.D.KERR);  // the field named
  EXPECT_NE(std::string::npos, n.out().find("ERROR -- NPYU = -1 (CONTROL RECORD, VALUE 8): A NEGATIVE NUMBER OF USER"));

  ReadCase one("10 1 1.0 1.0\n0.0 0.0\n");
  one.C.NPYU = 1;
  EXPECT_TRUE(one.ends(RDPYU));
  EXPECT_NE(std::string::npos, one.out().find("ERROR -- USER P-Y CURVE 1 HAS 1 POINTS; A CURVE NEEDS AT LEAST 2"));
}

// Every table limit: the count one above the limit ends the run with "TOO MUCH DATA FOR
// AVAILABLE STORAGE" before any record of the table is read; the limit itself is read.
TEST(INPUT, TableLimits) {
  struct Lim {
    const char* name;
    int limit;
    std::function<void(ReadCase&, int)> set;  // counts of the control record
    std::function<std::string(int)> text;     // the input with count n
    void (*reader)(::Run&);
    const char* what;  // table named in the message; nullptr: the plain message
  };
  const std::string SEC = elastic(0, "A", E1, 1E9, 2E8);
  const std::string NL1 = nonlinear(2);
  auto rows = [](int n, const char* row) { return records(n, [&](int) { return std::string(row); }); };
  const Lim lims[] = {
      {"wall sections", MXSECT, [](ReadCase& r, int n) { r.C.NSECT = n; r.C.NCROSS = 1; },
       [&](int n) { return rows(n, "0 10 1") + SEC + "1 0\n"; }, RDWALL, "NUMBER OF WALL SECTIONS"},
      {"cross sections", MXCROS, [](ReadCase& r, int n) { r.C.NSECT = 1; r.C.NCROSS = n; },
       [&](int n) { return "0 10 1\n" + records(n, [&](int) { return SEC; }) + rows(n, "1 0"); }, RDWALL,
       "NUMBER OF CROSS SECTIONS"},
      {"EI sets", MXEIS, [](ReadCase& r, int n) { r.C.NSECT = 1; r.C.NCROSS = 1; r.C.NEIU = n; },
       [&](int n) { return "0 10 1\n" + SEC + "1\n" + rows(n, "0.0\n1 1\n1.0 0.1") + "1 0\n"; }, RDWALL,
       "NUMBER OF USER-DEFINED NONLINEAR EI SETS"},
      {"EI user points", MXEIP, [](ReadCase& r, int) { r.C.NSECT = 1; r.C.NCROSS = 1; r.C.NEIU = 1; },
       [&](int n) { return "0 10 1\n" + SEC + "1\n0.0\n1 " + std::to_string(n) + "\n" + rows(n, "1.0 0.1") + "1 0\n"; },
       RDWALL, "NUMBER OF POINTS OF A NONLINEAR EI SET"},
      {"EI section points", MXEIP, [](ReadCase& r, int) { r.C.NSECT = 1; r.C.NCROSS = 1; },
       [&](int n) { return "0 10 1\n" + NL1 + "1 1\n0 0\n1 " + std::to_string(n) + "\n" + rows(n, "1.0 0.1"); },
       RDWALL, "NUMBER OF POINTS OF A NONLINEAR EI SET"},
      {"bars", MXBAR, [](ReadCase& r, int) { r.C.NSECT = 1; r.C.NCROSS = 1; },
       [&](int n) {
         std::string s = NL1;
         s.replace(s.find("0 0 0 0 0 0 0 0 0 0 0\n"), 22, "0 3 0 0 " + std::to_string(n) + " 0 0 0 0 0 0\n");
         const std::size_t n7 = s.find("0 0 0 0 0 0 0 0 0 0 0 0\n");
         return "0 10 1\n" + s.substr(0, n7) + rows(n, "0.02 0.0003 0.1 0.1") + s.substr(n7) + "1 0\n";
       },
       RDWALL, "NUMBER OF REINFORCEMENT BARS"},
      {"stiffness records", MXREC4, [](ReadCase&, int) {},
       [&](int n) { return std::to_string(n) + "\n" + rows(n, "0 0 0 1.0 0.0 0.0") + "0\n"; }, RDSUPP,
       "NUMBER OF STIFFNESS AND LOAD RECORDS"},
      {"restraints", MXRES, [](ReadCase&, int) {},
       [&](int n) { return "0\n" + std::to_string(n) + "\n" + rows(n, "0 0 0 1.0 0.0"); }, RDSUPP,
       "NUMBER OF RESTRAINT RECORDS"},
      {"tie backs", MXTIE, [](ReadCase& r, int n) { r.C.NTIE = n; },
       [&](int n) { return "0\n0\n" + rows(n, "1.0 1 1 1 0 1 0"); }, RDSUPP, "NUMBER OF TIE BACKS"},
      {"p-y factors", MXPYM, [](ReadCase& r, int n) { r.C.NPYMOD = n; },
       [&](int n) { return "1\n" + rows(n, "1.0 1.0 1.0"); }, RDSOIL, "NUMBER OF P-Y MODIFICATION FACTORS"},
      {"surcharges", MXSUR, [](ReadCase& r, int) { r.C.KEP = 2; },
       [&](int n) { return "1 1 1 1 1 1 0 0 0\n0 0 0 0 0 0\n" + std::to_string(n) + "\n" + rows(n, "1 1 1 1 1 1") + "0 1 0\n"; },
       RDSOIL, "NUMBER OF SURCHARGE ROWS"},
      {"layers", MXLAY, [](ReadCase& r, int) { r.C.KEP = 2; },
       [&](int n) { return "1 1 1 1 1 1 0 0 0\n0 0 0 0 0 0\n0\n" + std::to_string(n) + " 1 0\n" + rows(n, "4 1.0\n1 0 30 0 0 0\n0 0 30 0 0 0"); },
       RDSOIL, "NUMBER OF SOIL LAYERS"},
      {"pressures", MXSPP, [](ReadCase& r, int) { r.C.KEP = 1; },
       [&](int n) { return std::to_string(n) + "\n" + rows(n, "1.0 1.0"); }, RDSOIL, "NUMBER OF SPECIFIED PRESSURE PAIRS"},
      {"user curves", MXPYU, [](ReadCase& r, int n) { r.C.NPYU = n; },
       [&](int n) { return rows(n, "1 2 1 1\n0 0\n1 1"); }, RDPYU, nullptr},
      {"user curve points", MXCPT, [](ReadCase& r, int) { r.C.NPYU = 1; },
       [&](int n) { return "1 " + std::to_string(n) + " 1 1\n" + rows(n, "0 0"); }, RDPYU,
       "NUMBER OF POINTS OF A USER P-Y CURVE"},
  };
  for (const Lim& l : lims) {
    SCOPED_TRACE(l.name);
    ReadCase ok(l.text(l.limit));
    l.set(ok, l.limit);
    EXPECT_FALSE(ok.ends(l.reader)) << ok.out();
    ReadCase over(l.text(l.limit + 1));
    l.set(over, l.limit + 1);
    EXPECT_TRUE(over.ends(l.reader));
    // The message closes the report: two empty lines, the line exactly as the layout
    // has it, the line naming the table (where the input sets no limit), two empty lines.
    const std::string out = over.out();
    const std::string head = "\n\n     TOO MUCH DATA FOR AVAILABLE STORAGE\n";
    const std::size_t at = out.rfind(head);
    ASSERT_NE(std::string::npos, at) << out;
    EXPECT_TRUE(at == 0 || out[at - 1] == '\n');
    // The line naming the table ends with the input line of the count where it is known.
    char detail[160] = "";
    if (l.what != nullptr) std::snprintf(detail, sizeof detail, "     %s =%11d, AT MOST%6d", l.what, l.limit + 1, l.limit);
    std::string rest = out.substr(at + head.size());
    if (l.what != nullptr) {
      ASSERT_EQ(0u, rest.find(detail)) << rest;
      rest = std::regex_replace(rest.substr(std::strlen(detail)), std::regex("^( \\(INPUT LINE [0-9]+\\))?\n"), "");
    }
    EXPECT_EQ("\n\n", rest);
    EXPECT_EQ(1, over.m.D.KERR);
  }
}
