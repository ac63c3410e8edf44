// Whole runs through the driver: NAMES.dat, headers and headings, the problem loop and
// its end codes, the end-of-stage blocks, the run-ending checks and the failures.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "runcase.h"

namespace {

int count(const std::vector<std::string>& v, const std::string& s) {
  return static_cast<int>(std::count(v.begin(), v.end(), s));
}
bool has(const std::vector<std::string>& v, const std::string& s) { return count(v, s) > 0; }

// First values of the end-of-stage blocks of a plot file holding only such blocks
// after one "IUNIT 0" record per problem.
std::vector<int> block_codes(const std::vector<std::string>& plt) {
  std::vector<int> codes;
  for (std::size_t i = 0; i < plt.size(); ++i) {
    std::istringstream ss(plt[i]);
    int a, b, c;
    if (ss >> a >> b >> c && b == 11) codes.push_back(a);
  }
  return codes;
}

}  // namespace

TEST(SPLIT, WindowsPathRules) {
  auto p = split_path(R"(C:\walls\stage one\wall.dat)");
  EXPECT_EQ("C:", p.drive);
  EXPECT_EQ(R"(\walls\stage one\)", p.dir);
  EXPECT_EQ("wall", p.base);
  EXPECT_EQ(".dat", p.ext);
  p = split_path("runs/a.b/wall.input   ");
  EXPECT_EQ("", p.drive);
  EXPECT_EQ("runs/a.b/", p.dir);
  EXPECT_EQ("wall", p.base);
  EXPECT_EQ(".inpu", p.ext);  // the dot and at most four characters
  p = split_path(R"(D:mixed/sep\name)");
  EXPECT_EQ("D:", p.drive);
  EXPECT_EQ(R"(mixed/sep\)", p.dir);
  EXPECT_EQ("name", p.base);
  EXPECT_EQ("", p.ext);
}

TEST(RUNWAL, SingleProblemHeaderHeadingAndEnd) {
  RunCase c("single");
  c.names();
  std::string title(100, 'x');
  title.replace(0, 12, "Cantilever A");
  c.file("in.dat", problem(title, 1, 0) + "0\n");
  ASSERT_EQ(RC_OK, c.run());
  const auto out = c.lines("in.out");
  ASSERT_GT(out.size(), 30u);
  EXPECT_EQ("     " + std::string(73, '='), out[0]);
  EXPECT_EQ("                    " "  BRANTO for Windows, Version 9.0         ", out[2]);
  EXPECT_TRUE(has(out, "     Path to file locations      : "));
  EXPECT_TRUE(has(out, "     Name of input data file     : in.dat"));
  EXPECT_TRUE(has(out, "     Name of output file         : in.out"));
  EXPECT_TRUE(has(out, "     Name of plot output file    : in.plt"));
  EXPECT_TRUE(has(out, "                          Time and Date of Analysis"));
  EXPECT_TRUE(has(out, "               Date:  November 14, 2023     Time:  22:13:20"));
  // The heading: six blanks and the first 70 characters of the title.
  EXPECT_TRUE(has(out, "      " + title.substr(0, 70)));
  EXPECT_EQ("     END OF ANALYSIS                             ", out.back());
  const auto log = c.lines("in.log");
  EXPECT_TRUE(has(log, "      " + title.substr(0, 70)));
  EXPECT_EQ("     END OF ANALYSIS                             ", log.back());
  // Plot file: no curves, then one full block with code 1.
  const auto plt = c.lines("in.plt");
  ASSERT_GE(plt.size(), 14u);
  EXPECT_EQ("           1           0", plt[0]);
  EXPECT_EQ("           1          11           1", plt[1]);
  EXPECT_EQ("           0", plt.back());
  EXPECT_EQ(14u, plt.size());
  ASSERT_EQ(1u, c.summary.problems.size());
  EXPECT_EQ(KXCONV, c.summary.problems[0].KEXIT);  // ITMAX = 10: closed at the third solution
}

TEST(RUNWAL, LongTermHeadingTakesTheFirstTitle) {
  RunCase c("longterm");
  c.names();
  c.file("in.dat", problem("FIRST TITLE", 1, 0) + "5\n" + problem("SECOND TITLE", 1, 0) + "0\n");
  ASSERT_EQ(RC_OK, c.run());
  const auto out = c.lines("in.out");
  EXPECT_TRUE(has(out, "      Long Term :  FIRST TITLE" + std::string(59, ' ')));
  EXPECT_FALSE(has(out, "      SECOND TITLE" + std::string(58, ' ')));
  EXPECT_EQ(1, count(out, "     END OF ANALYSIS                             "));
  // Two blocks, the first with the stage indicator 0, the second with 0 as well.
  EXPECT_EQ((std::vector<int>{0, 0}), block_codes(c.lines("in.plt")));
}

TEST(RUNWAL, StagesNumberedWithFirstTitleAndEndCodeEndsRun) {
  RunCase c("stages");
  c.names();
  c.file("in.dat", problem("STAGED WALL", 2, 3) + "1\n" + problem("STAGE TWO", 2, 3) + "2\n" +
                       problem("STAGE THREE", 2, 3) + "3\n" + "this line is never read\n");
  ASSERT_EQ(RC_OK, c.run());
  const auto out = c.lines("in.out");
  for (int n = 1; n <= 3; ++n)
    EXPECT_TRUE(has(out, "      Stage No : " + std::to_string(n) + "  STAGED WALL" + std::string(59, ' ')));
  EXPECT_EQ(3u, c.summary.problems.size());
  // End codes 1 and 2 write blocks with the stage indicator; the run ends on 3.
  EXPECT_EQ((std::vector<int>{3, 3, 3}), block_codes(c.lines("in.plt")));
}

TEST(RUNWAL, EndCodeNineGivesBlockCodeTwo) {
  RunCase c("nine");
  c.names();
  c.file("in.dat", problem("A", 1, 0) + "9\n" + problem("B", 1, 0) + "0\n");
  ASSERT_EQ(RC_OK, c.run());
  EXPECT_EQ((std::vector<int>{2, 2}), block_codes(c.lines("in.plt")));
}

TEST(RUNWAL, NegativeIterationLimitEndsRunNamingTheField) {
  RunCase c("itmax");
  c.names();
  c.file("in.dat", problem("A", 1, 0, -1) + "0\n");
  ASSERT_EQ(RC_OK, c.run());
  const auto out = c.lines("in.out");
  EXPECT_EQ("     END OF ANALYSIS                             ", out.back());
  EXPECT_FALSE(has(out, "     RESULTS"));
  EXPECT_TRUE(has(out, "     ERROR -- ITMAX = -1 (SECOND CONTROL RECORD, VALUE 8, INPUT LINE 3): A NEGATIVE MAXIMUM "
                       "NUMBER OF ITERATIONS ENDS THE RUN"));
  EXPECT_TRUE(c.summary.input_error);
}

TEST(RUNWAL, NamesFileWithFourRecords) {
  RunCase c("names4");
  c.names(4);
  EXPECT_EQ(RC_FILE, c.run());
  EXPECT_NE(std::string::npos,
            c.console.find(" PLEASE CREATE AN INPUT DATA FILE AND SAVE IT\n BEFORE COMPUTATION.  TRY IT AGAIN!\n"));
  EXPECT_NE(std::string::npos, c.console.find("no input data file named in NAMES.dat"));
}

TEST(RUNWAL, MissingNamesAndInputFiles) {
  RunCase c("missing");
  EXPECT_EQ(RC_FILE, c.run());  // no NAMES.dat
  EXPECT_NE(std::string::npos, c.console.find("NAMES.dat"));
  c.names();
  EXPECT_EQ(RC_FILE, c.run());  // NAMES.dat names an input data file that is not there
  EXPECT_NE(std::string::npos, c.console.find("in.dat"));
  EXPECT_FALSE(std::filesystem::exists(c.dir / "in.dat"));
}

TEST(RUNWAL, MalformedValueNamesFileLineRecordAndValue) {
  RunCase c("malformed");
  c.names();
  c.file("in.dat", "T\n1 0 0 0 0 0 0 0 0 0 0 0\n10 x 10.0 0.001 0.0 1.0 120.0 10 0 0\n0\n");
  EXPECT_EQ(RC_INPUT, c.run());
  const std::string msg = "in.dat, line 3: second control record, value 2 (H): expected a real, found 'x'";
  EXPECT_NE(std::string::npos, c.console.find(msg));
  const auto out = c.lines("in.out");
  EXPECT_EQ("     " + msg, out.back());  // the report keeps what was written, then the message
  EXPECT_FALSE(has(out, "     END OF ANALYSIS                             "));
}

TEST(RUNWAL, InputEndingEarlyIsReported) {
  RunCase c("eof");
  c.names();
  c.file("in.dat", problem("A", 1, 0) + "5\n");  // a second problem is announced but absent
  EXPECT_EQ(RC_INPUT, c.run());
  EXPECT_NE(std::string::npos, c.console.find("title record"));
  ASSERT_EQ(1u, c.summary.problems.size());
}

TEST(RUNWAL, RunEndingInputChecks) {
  struct {
    const char* name;
    std::string input;
    const char* text;
  } cases[] = {
      {"units", "T\n3 0 0 0 0 0 0 0 0 0 0 0\n", "ERROR -- UNIT CODE 3"},
      {"ni", "T\n1 0 0 0 0 0 0 0 0 0 0 0\n410 12.0 10.0 0.001 0.0 1.0 120.0 10 0 0\n0\n",
       "TOO MUCH DATA FOR AVAILABLE STORAGE"},
      {"h", "T\n1 0 0 0 0 0 0 0 0 0 0 0\n10 0.0 10.0 0.001 0.0 1.0 120.0 10 0 0\n0\n",
       "ERROR -- THE INCREMENT LENGTH MUST BE POSITIVE"},
      {"npts", "T\n1 21 0 0 0 0 0 0 0 0 0 0\n10 12.0 10.0 0.001 0.0 1.0 120.0 10 0 0\n",
       "TOO MUCH DATA FOR AVAILABLE STORAGE"},
      {"order", "T\n1 1 0 0 0 0 0 0 0 0 0 0\n10 12.0 10.0 0.001 0.0 1.0 120.0 10 0 0\n1 -2 0. 0.\n",
       "ERROR STOP -- STATIONS NOT IN ORDER"},
      {"order2", "T\n1 2 0 0 0 0 0 0 0 0 0 0\n10 12.0 10.0 0.001 0.0 1.0 120.0 10 0 0\n1 5 0. 0.\n1 4 0. 0.\n",
       "ERROR STOP -- STATIONS NOT IN ORDER"},
      {"slope", "T\n1 1 0 0 0 0 0 0 0 0 0 0\n10 12.0 10.0 0.001 0.0 1.0 120.0 10 0 0\n2 11 0. 0.\n",
       "ERROR -- SPECIFIED POINT 1 AT STATION 11"},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.name);
    RunCase c(t.name);
    c.names();
    c.file("in.dat", t.input);
    EXPECT_EQ(RC_OK, c.run());
    const std::string out = c.text("in.out");
    EXPECT_NE(std::string::npos, out.find(t.text));
    EXPECT_NE(std::string::npos, out.find("     END OF ANALYSIS"));
    EXPECT_TRUE(c.summary.input_error);
  }
}

TEST(RUNWAL, SpecifiedPointsEchoAndAcceptance) {
  RunCase c("points");
  c.names();
  c.file("in.dat",
         "T\n1 3 0 0 0 0 0 0 0 0 0 0\n10 12.0 10.0 0.001 0.0 1.0 360.0 0 0 0\n"
         "1 -1 0.5 0.\n2 3 0. 0.01\n7 10 0. 0.\n0\n");
  ASSERT_EQ(RC_OK, c.run());
  const auto out = c.lines("in.out");
  EXPECT_TRUE(has(out, "      HEIGHT OF WALL                                     =     30.000 FT"));
  EXPECT_TRUE(has(out, "      INCREMENT LENGTH                                   =     12.000 IN"));
  EXPECT_FALSE(has(out, "      MAXIMUM NUMBER OF ITERATIONS                       =          0"));
  EXPECT_TRUE(has(out, "           -1        1         5.000E-01         NONE"));
  EXPECT_TRUE(has(out, "            3        2           NONE         1.000E-02"));
  EXPECT_TRUE(has(out, "           10        7         0.000E+00      0.000E+00"));
  EXPECT_EQ(2, c.m.STA.KODE(3));   // station -1: deflection
  EXPECT_EQ(3, c.m.STA.KODE(6));   // station 3: slope at 2 and 4
  EXPECT_EQ(1, c.m.STA.KODE(7));
  EXPECT_EQ(5, c.m.STA.KODE(8));
  EXPECT_EQ(3, c.m.STA.KODE(13));  // station 10: deflection and slope at 9, 10, 11
  EXPECT_EQ(4, c.m.STA.KODE(14));
  EXPECT_EQ(5, c.m.STA.KODE(15));
}

TEST(IBRANTO, HostLoadsLibraryAndRunsTwice) {
  const std::string lib = std::string(BRANTO_BINARY_DIR) + "/libbranto.so";
  void* h = dlopen(lib.c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(nullptr, h) << dlerror();
  using Entry = int (*)(int, int);
  auto entry = reinterpret_cast<Entry>(dlsym(h, "IBRANTO"));
  ASSERT_NE(nullptr, entry);
  RunCase c("host");
  c.names();
  c.file("in.dat", problem("HOST RUN", 2, 0) + "0\n");
  const auto here = std::filesystem::current_path();
  std::filesystem::current_path(c.dir);
  EXPECT_EQ(0, entry(0, 0));
  const auto first = c.text("in.out");
  EXPECT_EQ(0, entry(7, -3));  // a second run in the same process
  std::filesystem::current_path(here);
  EXPECT_EQ(first, c.text("in.out"));
  EXPECT_NE(std::string::npos, first.find("END OF ANALYSIS"));
  dlclose(h);
}

// A long free-head pile in soil whose modulus grows linearly with depth, k = nh*x, given
// as one restraint record per station (spring nh*x*h, half at the tip): the head
// deflection under a lateral head load P is 2.435*P*T**3/EI, T = (EI/nh)**(1/5).
TEST(RUNWAL, PileWithASpringPerStationMeetsTheClosedForm) {
  const int NI = 400;
  const double H = 0.0625, P = 10.0, XNH = 500.0;
  std::ostringstream in;
  in.precision(17);
  in << "PILE, SOIL MODULUS GROWING WITH DEPTH\n2 0 1 1 0 0 0 0 0 0 0 0\n"
     << NI << " " << H << " 10.0 1.0E-6 0.0 1.0 25.0 0 0 0\n"
     << "0.0 25.0 1\n1 1 0 0\n'PILE'\n0.5 0 0 0 0 0 0 0\n0 0 0 2.5E8 0 0 0 0 2.0E8 0 0 0\n0 0 0.0 0 0\n' '\n1 0\n"
     << "1\n0 0 0 " << P << " 0.0 0.0\n" << NI + 1 << "\n";
  for (int I = 0; I <= NI; ++I) in << I << " " << I << " 0 " << XNH * I * H * H * (I == NI ? 0.5 : 1.0) << " 0.0\n";
  in << "0\n";
  RunCase c("pile");
  c.names();
  c.file("in.dat", in.str());
  ASSERT_EQ(RC_OK, c.run()) << c.console;
  ASSERT_FALSE(c.summary.input_error) << c.summary.message;
  EXPECT_EQ(NI + 1, c.m.REC.NRES);
  const double EI = 2.0E8 * 2.5E8 / 999999995904.0;
  const double T = std::pow(EI / XNH, 0.2);
  const double Y0 = 2.435 * P * T * T * T / EI;
  EXPECT_NEAR(Y0, c.m.RES.DEFL(4), 0.005 * Y0);
}

// The process model starts cleared, its big tables included, with the members' own
// starting values (KPLOT 1, static loading, the fixed unit texts); it stays one model.
TEST(IBRANTO, ProcessModelStartsClearedWithItsStartingValues) {
  const Model& m = process_model();
  EXPECT_EQ(&m, &process_model());
  EXPECT_EQ(0.0, m.CRV.Y(MXCRV, MXCPT));
  EXPECT_EQ(0.0, m.PRS.PT(MXPRES, 12));
  EXPECT_EQ(0.0, m.CS.PROP(1, 1));
  EXPECT_EQ(0, m.STA.KODE(MXSTA));
  EXPECT_EQ(1, m.D.KPLOT);
  EXPECT_EQ(1, m.SOIL.KSTAT);
  EXPECT_EQ(KXNONE, m.ITR.KEXIT);
  EXPECT_EQ("/", m.LAB.USLASH);
  EXPECT_EQ("", m.CS.SNAME(MXCROS));  // blank
}
