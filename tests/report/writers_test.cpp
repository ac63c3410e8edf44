// The report's field writers and unit labels; the real-number field compared with a
// gfortran version of the same rule.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <random>
#include <sstream>

#include "report/report.h"

namespace {

struct Fixture {
  std::unique_ptr<Model> m = std::make_unique<Model>();
  io::Units u;
  ::Run run{*m, u};
  Fixture() { u.open_memory_output(LOUT, "report"); }
  std::string text() { return u.text(LOUT); }
};

std::string wreal(int w, int d, double v) {
  Fixture f;
  WREAL(f.run, LOUT, w, d, v);
  return f.text();
}

}  // namespace

TEST(WREAL, RealNumberRule) {
  EXPECT_EQ("   0.05000", wreal(10, 3, 0.05));   // 0.01 < a <= 0.1: two more decimals
  EXPECT_EQ("   0.10000", wreal(10, 3, 0.1));
  EXPECT_EQ("     0.500", wreal(10, 3, 0.5));    // 0.1 < a < 10: d decimals
  EXPECT_EQ("     5.000", wreal(10, 3, 5.0));
  EXPECT_EQ("    -5.000", wreal(10, 3, -5.0));
  EXPECT_EQ("     12.35", wreal(10, 3, 12.345)); // one decimal less per power of ten
  EXPECT_EQ("     123.4", wreal(10, 3, 123.4));
  EXPECT_EQ(" 5.000E-03", wreal(10, 3, 0.005));  // at or below 10**(1-d)
  EXPECT_EQ(" 1.000E-02", wreal(10, 3, 0.01));
  EXPECT_EQ(" 1.234E+03", wreal(10, 3, 1234.5)); // at or above 10**d
  EXPECT_EQ(" 1.000E+03", wreal(10, 3, 1000.0));
  EXPECT_EQ("     0.000", wreal(10, 3, 0.0));
  EXPECT_EQ("     0.000", wreal(10, 3, -0.0));   // no sign on zero
  EXPECT_EQ("     0.000", wreal(10, 3, 1e-60));
  EXPECT_EQ("-2.000E-50", wreal(10, 3, -2e-50));  // 1e-50 and above are values
  EXPECT_EQ("  Infinity", wreal(10, 3, std::numeric_limits<double>::infinity()));
  EXPECT_EQ(" -Infinity", wreal(10, 3, -std::numeric_limits<double>::infinity()));
  EXPECT_EQ("       NaN", wreal(10, 3, std::numeric_limits<double>::quiet_NaN()));
  EXPECT_EQ("   2.E+00", wreal(9, 0, 1.5));         // d = 0: always scientific
  EXPECT_EQ("***", wreal(3, 3, 5.0));
  EXPECT_EQ(" 1.00000+300", wreal(12, 5, 1e300));
  EXPECT_EQ(std::string(30, '*'), wreal(30, 40, 1e300));  // 10**40 overflows: still scientific
  EXPECT_THROW(wreal(100, 3, 1.0), std::logic_error);    // two-digit fields only
}

TEST(Writers, PiecesOfOneLine) {
  Fixture f;
  ::Run& run = f.run;
  WBLANK(run, LOUT, 0);  // nothing
  WSTR10(run, LOUT, "ABC");
  WINT(run, LOUT, 4, 42);
  WBLANK(run, LOUT, 2);
  WCHR2(run, LOUT, "KNX");
  WCHR1(run, LOUT, "/");
  WCHARS(run, LOUT, Chars<8>("IN**2").view());
  WSTR6(run, LOUT, "TOOLONGTEXT");
  WEOL(run, LOUT);
  WINT(run, LOUT, 2, 123);
  WEOL(run, LOUT);
  EXPECT_EQ("        ABC   42  KN/IN**2 TOOLON  \n** \n", f.text());
  Fixture g;
  Chars<256> name("C:\\walls\\a.dat");
  WSTR256(g.run, LOUT, name);
  EXPECT_EQ(" C:\\walls\\a.dat" + std::string(256 - 14, ' ') + " ", g.text());
}

TEST(Writers, BufferWriters) {
  char line[30];
  std::memset(line, '.', sizeof line);
  int pos = 1;
  BCHARS(line, pos, 3, "DEPTH");
  BBLANK(line, pos, 2);
  BREAL(line, pos, 10, 3, 0.5);  // lower limit 10**(3-d) = 1: scientific
  BREAL(line, pos, 10, 3, 5.0);
  EXPECT_EQ(26, pos);
  EXPECT_EQ("DEP   5.000E-01     5.000....", std::string(line, 29));
  BCHARS(line, pos, 4, "AB");
  EXPECT_EQ(30, pos);
  EXPECT_EQ("AB  ", std::string(line + 25, 4));
  EXPECT_THROW(BBLANK(line, pos, 2), std::logic_error);  // past the end of the buffer
  int zero = 0;
  EXPECT_THROW(BCHARS(line, zero, 1, "A"), std::logic_error);
}

TEST(SETLAB, LabelSets) {
  auto m = std::make_unique<Model>();
  io::Units u;
  ::Run run{*m, u};
  const Labels& L = m->LAB;
  SETLAB(run, 1);
  EXPECT_EQ(" FT     ", L.ULENA.view());
  EXPECT_EQ(" LBS", L.UFOR4.view());
  EXPECT_EQ("IN", L.ULENS.view());
  SETLAB(run, -1);
  EXPECT_EQ("  M     ", L.ULENA.view());
  EXPECT_EQ(" M      ", L.ULENB.view());
  EXPECT_EQ("MM", L.ULENS.view());
  EXPECT_EQ(" KN", L.UFOR3B.view());
  EXPECT_EQ("  M", L.ULEN3.view());
  EXPECT_EQ("  KN", L.UFOR4.view());
  EXPECT_EQ(" M", L.ULEN2.view());
  SETLAB(run, 2);  // neither +1 nor -1: generic
  EXPECT_EQ("  L     ", L.ULENA.view());
  EXPECT_EQ("   F", L.UFOR4.view());
  EXPECT_EQ("  F", L.UFOR3.view());
  EXPECT_EQ("3  ", L.UCUBE.view());
  EXPECT_EQ("**", L.UPOW.view());
  EXPECT_EQ("RAD", L.URAD.view());
  EXPECT_EQ(2.5, CVDIV3(2.5));
  EXPECT_EQ(2.5, CVMUL12(2.5));
}

// The field of WREAL against ref_wreal, the same rule written in Fortran: widths and
// decimals of every size the two-digit fields allow (decimals up to 60, past the
// overflow of the single-precision limits), values over the whole range.
TEST(WREAL, AgainstGfortran) {
#ifdef REF_WREAL
  const char* prog = REF_WREAL;
#else
  const char* prog = nullptr;
#endif
  if (!prog) GTEST_SKIP() << "gfortran not found";
  namespace fs = std::filesystem;
  std::mt19937_64 g(31);
  auto uni = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(g); };
  struct C {
    int w, d;
    double v;
  };
  std::vector<C> cases;
  for (int i = 0; i < 50000; ++i) {
    C c;
    c.w = uni(1, 30);
    c.d = uni(0, 9) == 0 ? uni(0, 60) : uni(0, 6);
    const int kind = uni(0, 4);
    if (kind == 0) {
      std::uint64_t b = g();
      std::memcpy(&c.v, &b, 8);
    } else if (kind == 1) {  // at the limits 10**(1-d) and 10**d
      const float lim = std::pow(10.0f, static_cast<float>(uni(0, 1) ? 1 - c.d : c.d));
      c.v = std::nextafter(static_cast<double>(lim), uni(0, 1) ? 0.0 : 1e300);
      if (uni(0, 2) == 0) c.v = lim;
    } else {
      c.v = std::pow(10.0, std::uniform_real_distribution<double>(-8, 10)(g));
    }
    if (uni(0, 1)) c.v = -c.v;
    cases.push_back(c);
  }
  const fs::path d = fs::path(BRANTO_BINARY_DIR) / "tests" / "gfortran" / "wreal";
  fs::create_directories(d);
  {
    std::ofstream f(d / "cases.txt");
    char line[64];
    for (const C& c : cases) {
      std::uint64_t b;
      std::memcpy(&b, &c.v, 8);
      std::snprintf(line, sizeof line, "%2d %2d %016" PRIX64 "\n", c.w, c.d, b);
      f << line;
    }
  }
  const std::string cmd = std::string("\"") + prog + "\" \"" + (d / "cases.txt").string() + "\" \"" + (d / "gfortran.txt").string() + "\"";
  ASSERT_EQ(0, std::system(cmd.c_str()));
  std::ifstream f(d / "gfortran.txt");
  std::vector<std::string> ref;
  for (std::string l; std::getline(f, l);) ref.push_back(l);
  ASSERT_EQ(cases.size(), ref.size());
  Fixture fx;
  for (const C& c : cases) {
    WREAL(fx.run, LOUT, c.w, c.d, c.v);
    io::list_write(fx.u, LOUT);
  }
  std::istringstream ours(fx.text());
  int bad = 0;
  std::string line;
  for (std::size_t i = 0; i < cases.size() && std::getline(ours, line); ++i) {
    if (line != ref[i] && ++bad <= 10)
      ADD_FAILURE() << "WREAL w=" << cases[i].w << " d=" << cases[i].d << " v=" << cases[i].v << "\n  gfortran [" << ref[i]
                    << "]\n  io       [" << line << "]";
  }
  EXPECT_EQ(0, bad);
}

TEST(WARN, OneLineInReportAndConsoleKeptWithItsStage) {
  Fixture f;
  f.u.capture_console();
  f.m->D.NPROB = 2;
  WARN(f.run, "RV6 IS 1 BUT THE WALL WIDTH IS 12");
  EXPECT_EQ("WARNING -- RV6 IS 1 BUT THE WALL WIDTH IS 12\n", f.text());
  EXPECT_EQ("WARNING -- RV6 IS 1 BUT THE WALL WIDTH IS 12\n", f.u.text(LCON));
  for (int I = 2; I <= MXWARN + 5; ++I) WARN(f.run, "again");  // counted beyond the table
  EXPECT_EQ(MXWARN + 5, f.m->WRN.NWARN);
  EXPECT_EQ(2, f.m->WRN.NPROB(1));
  EXPECT_EQ("RV6 IS 1 BUT THE WALL WIDTH IS 12", f.m->WRN.TEXT(1).trimmed());
}

TEST(RTEXT, RealsAsMessagesShowThem) {
  const struct {
    double x;
    const char* text;
  } t[] = {{180.0, "180.0"},      {0.3048, "0.3048"},       {16300.0, "16300.0"},        {-20.0, "-20.0"},
           {0.0, "0.0"},          {1.23456789, "1.23457"},  {0.0012345, "0.0012345"},    {999999.4, "999999.4"},
           {1.0E6, "1.0000E+06"}, {-3.1141E9, "-3.1141E+09"}, {9.9E-4, "9.9000E-04"}, {std::nan(""), "NaN"}};
  for (const auto& c : t) EXPECT_EQ(c.text, RTEXT(c.x)) << c.x;
}

TEST(STOPMS, ExplanationInReportAndConsoleThenTheStop) {
  Fixture f;
  f.u.capture_console();
  try {
    STOPMS(f.run, "1", "ERROR -- THE SOIL PROFILE ENDS AT 5.0 M");
    FAIL() << "no stop";
  } catch (const Stop& s) {
    EXPECT_EQ("1", s.code);
    EXPECT_EQ("ERROR -- THE SOIL PROFILE ENDS AT 5.0 M", s.text);
  }
  EXPECT_EQ("\n\n     ERROR -- THE SOIL PROFILE ENDS AT 5.0 M\n", f.text());
  EXPECT_EQ(" ERROR -- THE SOIL PROFILE ENDS AT 5.0 M\n", f.u.text(LCON));
  EXPECT_EQ("WALL RECORD, INPUT LINE 40", ATLINE("WALL RECORD", 40));
  EXPECT_EQ("WALL RECORD", ATLINE("WALL RECORD", 0));
  EXPECT_EQ(" (INPUT LINE 7)", ONLINE(7));
  EXPECT_EQ("", ONLINE(0));
}
