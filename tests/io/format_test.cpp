// Layouts: numeric fields as gfortran prints them, and format control (repeat counts,
// groups, reversion, where output stops, scale factor, no-advance).
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "io/edit.h"
#include "io/io.h"

using io::format;

namespace {
const double INF = std::numeric_limits<double>::infinity();
const double NaN = std::numeric_limits<double>::quiet_NaN();

struct Case {
  const char* layout;
  double v;
  const char* want;
};
}  // namespace

TEST(Layout, FixedPointFields) {
  const Case cases[] = {
      {"(F10.3)", 9.9995, "     9.999"},   // 9.9995 is 9.99949999... in binary
      {"(F10.3)", 9.99951, "    10.000"},  // rounding carries into a new digit
      {"(F5.2)", 0.125, " 0.12"},          // exact tie: to even
      {"(F5.2)", 0.375, " 0.38"},
      {"(F3.0)", 2.5, " 2."},
      {"(F3.0)", 3.5, " 4."},
      {"(F3.0)", 0.0, " 0."},
      {"(F2.0)", 0.4, "0."},
      {"(F1.0)", 0.0, "*"},
      {"(F2.0)", -0.4, "**"},              // "-0." does not fit
      {"(F3.0)", -0.4, "-0."},             // rounds to zero, keeps its sign
      {"(F6.2)", -0.001, " -0.00"},
      {"(F6.2)", -0.0, " -0.00"},
      {"(F5.2)", 0.5, " 0.50"},
      {"(F4.2)", 0.5, "0.50"},
      {"(F3.2)", 0.5, ".50"},              // leading zero only when there is room
      {"(F4.2)", -0.5, "-.50"},
      {"(F3.2)", -0.5, "***"},
      {"(F10.3)", 1e300, "**********"},
      {"(F10.3)", 1e-300, "     0.000"},
      {"(F10.3)", -1e-300, "    -0.000"},
      {"(F10.0)", 1e9, "**********"},
      {"(F11.0)", 1e9, "1000000000."},
      {"(F10.3)", -0.0005, "    -0.001"},  // -0.0005 lies just beyond the tie
      {"(F0.3)", 0.5, ".500"},
      {"(F0.0)", 0.4, "0."},
      {"(F0.3)", 123.4567, "123.457"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.want, format(c.layout, c.v)) << c.layout << " " << c.v;
}

TEST(Layout, ExponentFields) {
  const Case cases[] = {
      {"(E10.3)", 1.0, " 0.100E+01"},
      {"(E9.3)", 1.0, "0.100E+01"},
      {"(E8.3)", 1.0, ".100E+01"},
      {"(E7.3)", 1.0, "*******"},
      {"(E10.3)", 0.0, " 0.000E+00"},
      {"(E10.3)", -0.0, "-0.000E+00"},
      {"(1PE10.3)", 0.0, " 0.000E+00"},
      {"(E10.3)", 1e100, " 0.100+101"},  // three-digit exponent drops the letter
      {"(E10.3)", 1e-100, " 0.100E-99"},
      {"(1PE10.3)", 1e-300, " 1.000-300"},
      {"(E10.3)", 1e300, " 0.100+301"},
      {"(E10.3)", 4.9406564584124654e-324, " 0.494-323"},
      {"(E12.4)", 1.7976931348623157e308, "  0.1798+309"},
      {"(E10.3)", 9.9996, " 0.100E+02"},
      {"(1PE10.3)", 9.9996e99, " 1.000+100"},
      {"(E10.2)", 0.125, "  0.12E+00"},
      {"(1PE10.0)", 2.5, "    2.E+00"},
      {"(-1PE12.4)", 1.2345678, "  0.0123E+02"},
      {"(2PE12.4)", 1.2345678, "  12.346E-01"},
      {"(5PE12.4)", 1.2345678, "  12346.E-04"},
      {"(3PE10.3)", -0.0, "-000.0E+00"},
      {"(4PE10.3)", 9.99999, " 1000.E-02"},
      {"(E12.4E3)", 1.2345678, " 0.1235E+001"},
      {"(E12.4E1)", 1.2345678e12, "************"},
      {"(E10.3E0)", 1e5, "  0.100E+6"},
      {"(D12.4)", 1.5e3, "  0.1500D+04"},
      {"(1PE5.0)", 1.6, "*****"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.want, format(c.layout, c.v)) << c.layout << " " << c.v;
}

TEST(Layout, ScaleFactorUnderF) {
  EXPECT_EQ("    12.346", format("(1PF10.3)", 1.2345678));
  EXPECT_EQ("     0.123", format("(-1PF10.3)", 1.2345678));
  // Rounding left of the point goes to even as well.
  EXPECT_EQ("       0.0", format("(-3PF10.1)", 50.0));
  EXPECT_EQ("       0.2", format("(-3PF10.1)", 150.0));
  EXPECT_EQ("       0.2", format("(-3PF10.1)", 250.0));
  EXPECT_EQ("       0.3", format("(-3PF10.1)", 251.0));
  EXPECT_EQ("   2.", format("(-1PF5.0)", 25.0));
  EXPECT_EQ("  -0.", format("(-1PF5.0)", -4.0));
  // The factor holds for the rest of the WRITE, through reversion, until 0P.
  EXPECT_EQ(" 1.000E+00  10.000   1.000", format("(1P,E10.3,F8.3,0P,F8.3)", 1.0, 1.0, 1.0));
  EXPECT_EQ(" 1.000E+00  10.000  10.000\n  20.000  30.000", format("(1P,E10.3,2(F8.3))", 1.0, 1.0, 1.0, 2.0, 3.0));
  EXPECT_THROW(format("(E10.0)", 1.5), std::logic_error);  // scale factor 0 with d = 0
  EXPECT_THROW(format("(3PE10.1)", 1.5), std::logic_error);
}

TEST(Layout, InfinityAndNaN) {
  const std::vector<std::string> pos = {"*", "**", "Inf", " Inf", "  Inf", "   Inf", "    Inf", "Infinity", " Infinity"};
  const std::vector<std::string> neg = {"*", "**", "***", "-Inf", " -Inf", "  -Inf", "   -Inf", "    -Inf", "-Infinity"};
  const std::vector<std::string> nan = {"*", "**", "NaN", " NaN", "  NaN", "   NaN", "    NaN", "     NaN", "      NaN"};
  const char* layouts[] = {"(F1.1)", "(F2.1)", "(F3.1)", "(F4.1)", "(F5.1)", "(F6.1)", "(F7.1)", "(F8.1)", "(F9.1)"};
  for (int w = 1; w <= 9; ++w) {
    EXPECT_EQ(pos[w - 1], format(layouts[w - 1], INF)) << w;
    EXPECT_EQ(neg[w - 1], format(layouts[w - 1], -INF)) << w;
    EXPECT_EQ(nan[w - 1], format(layouts[w - 1], NaN)) << w;
  }
  EXPECT_EQ("  Infinity", format("(1PE10.3)", INF));
  EXPECT_EQ("       NaN", format("(E10.3)", -NaN));
}

TEST(Layout, IntegerFields) {
  struct IC {
    const char* layout;
    int v;
    const char* want;
  };
  const IC cases[] = {
      {"(I5)", 0, "    0"},   {"(I5.0)", 0, "     "},  {"(I5.0)", 1, "    1"}, {"(I5.3)", 7, "  007"},
      {"(I5.3)", -7, " -007"}, {"(I4.3)", -7, "-007"},  {"(I3.3)", -7, "***"},  {"(I2)", 123, "**"},
      {"(I2)", -1, "-1"},      {"(I1)", -1, "*"},       {"(I0)", -123, "-123"}, {"(I0.0)", 0, " "},
      {"(I2.2)", -1, "**"},    {"(I11)", -2147483647 - 1, "-2147483648"},
  };
  for (const IC& c : cases) EXPECT_EQ(c.want, format(c.layout, c.v)) << c.layout << " " << c.v;
}

TEST(Layout, TextAndLogicalFields) {
  EXPECT_EQ("  abc|ab|xy |", format(R"((A5,"|",A2,"|",A,"|"))", "abc", "abc", "xy "));
  EXPECT_EQ("T  F", format("(L1,L3)", true, false));
  EXPECT_EQ("it'sdq\"x", format(R"(('it''s',"dq""x"))"));
  EXPECT_EQ(" xABx", format(R"((1H ,"x",2HAB,1Hx))"));
  EXPECT_EQ("     " + std::string(73, '='), format(R"((5X,73("=")))"));
  EXPECT_EQ(" b1   a", format(R"((I3,TR3,"a",T2,"b"))", 1));
}

// After the last value, literals, X and / are processed up to the next data edit
// descriptor or the end of the layout; a colon stops at once; pending X at the end of a
// record writes nothing.
TEST(Layout, WhereOutputStops) {
  EXPECT_EQ(" 5", format("(I2,3X)", 5));
  EXPECT_EQ(" 5   lit", format(R"((I2,3X,"lit",I3,"z"))", 5));
  EXPECT_EQ(" 5   lit  6z", format(R"((I2,3X,"lit",I3,"z"))", 5, 6));
  EXPECT_EQ("a 5b\nc", format(R"(("a",I2,"b",/,"c"))", 5));
  EXPECT_EQ("a 5b", format(R"(("a",I2,"b",:,"c",I2))", 5));
  EXPECT_EQ("a 1ba", format(R"((2("a",I2,"b")))", 1));
  EXPECT_EQ("  1\n", format("(I3,/)", 1));
  // A WRITE without values stops at the first data edit descriptor, as gfortran does.
  EXPECT_EQ("lit", format(R"(("lit",I2))"));
  EXPECT_EQ("lit\nb", format(R"(("lit",/,"b",I2,"c"))"));
  EXPECT_EQ("", format("(3X)"));
  EXPECT_EQ("\n\n     END OF ANALYSIS", format(R"((/,/,"     END OF ANALYSIS"))"));
}

// Values left when the layout ends: a new record, and processing resumes at the last
// top-level group with its repeat count, or at the start.
TEST(Layout, Reversion) {
  const int a[5] = {1, 2, 3, 4, 5};
  const std::span<const int> A(a);
  EXPECT_EQ(" 1\n 2\n 3\n 4\n 5", format("(I2,2X)", A));
  EXPECT_EQ(" 1   2   3e\n   4   5e", format(R"((I2,2(1X,I3),"e"))", A));
  EXPECT_EQ("h   1x   2xe\n   3x   4xe\n   5x", format(R"(("h",2(1X,I3,"x"),"e"))", A));
  EXPECT_EQ("  1  2|\n  3", format(R"((2I3,"|"))", 1, 2, 3));
  EXPECT_EQ("  1  2 x3 x4  5 x6 x7\n  8 x9 x", format(R"((1X,I2,2(1X,I2,2(1X,"x",I1))))", 1, 2, 3, 4, 5, 6, 7, 8, 9));
  EXPECT_EQ("\n  1\n  2\n\n  3\n", format("(2(/,1X,I2))", 1, 2, 3));
  const double r[3] = {1.5, -2.25, 1e10};
  EXPECT_EQ("       1.5      -2.2\n    1.0E+10", format("(2F10.1,/,1PE11.1)", std::span<const double>(r)));
}

TEST(Layout, ProgrammingErrors) {
  EXPECT_THROW(format("(I5)", 1.5), std::logic_error);
  EXPECT_THROW(format("(F5.1)", 1), std::logic_error);
  EXPECT_THROW(format("(A5)", 1), std::logic_error);
  EXPECT_THROW(format("(L1)", 1), std::logic_error);
  EXPECT_THROW(format("(I5", 1), std::logic_error);
  EXPECT_THROW(format("I5", 1), std::logic_error);
  EXPECT_THROW(format("(F5)", 1.0), std::logic_error);
  EXPECT_THROW(format("(Q5)", 1), std::logic_error);
  EXPECT_THROW(format(R"(("abc))"), std::logic_error);
  EXPECT_THROW(format(R"(("no data"))", 1), std::logic_error);  // values but nothing to take them
}

// A layout built at run time in a reused buffer is parsed again for each new text.
TEST(Layout, BufferReusedForAnotherText) {
  char f[16] = "(I3)";
  EXPECT_EQ("  7", format(f, 7));
  std::snprintf(f, sizeof f, "(I5)");
  EXPECT_EQ("    7", format(f, 7));
}

TEST(Layout, InternalText) {
  char buf[12];
  io::format_to_text(std::span<char>(buf), "(F8.2)", 3.14159);
  EXPECT_EQ("    3.14    ", std::string(buf, 12));
  EXPECT_THROW(io::format_to_text(std::span<char>(buf, 4), "(F8.2)", 3.14159), std::logic_error);
  EXPECT_THROW(io::format_to_text(std::span<char>(buf), "(I2,/,I2)", 1, 2), std::logic_error);
}

// The digits of every field are those of the exact binary value, correctly rounded with
// ties to even: the quick ways (error-free double arithmetic up to 15 digits, 128-bit
// integers for 16 and 17) against the exact decimal expansion of std::to_chars, over
// random bit patterns, decimal ties, neighbours of powers of ten and plain magnitudes.
TEST(Digits, RoundedLikeTheExactExpansion) {
  std::mt19937_64 g(5);
  auto uni = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(g); };
  auto exact = [](double a, std::chars_format f, int p) {
    char buf[1200];
    const char* end = std::to_chars(buf, buf + sizeof buf, a, f, p).ptr;
    std::string d;
    int e = 0;
    for (const char* c = buf; c < end && *c != 'e'; ++c)
      if (*c >= '0' && *c <= '9' && !(d.empty() && *c == '0' && f == std::chars_format::fixed)) d += *c;
    if (const char* x = std::find(static_cast<const char*>(buf), end, 'e'); x != end) std::from_chars(x + (x[1] == '+' ? 2 : 1), end, e);
    return std::make_pair(d, e + 1);
  };
  for (int n = 0; n < 300000; ++n) {
    double a = 0;
    switch (uni(0, 3)) {
      case 0: { const std::uint64_t b = g() >> 1; std::memcpy(&a, &b, 8); break; }
      case 1: a = std::strtod((std::to_string(uni(1, 99999)) + "5e" + std::to_string(uni(-40, 40))).c_str(), nullptr); break;
      case 2: a = std::nextafter(std::pow(10.0, uni(-300, 300)), uni(0, 1) ? 0.0 : HUGE_VAL); break;
      default: a = std::ldexp(static_cast<double>(g() >> 11), uni(-90, 40)); break;
    }
    if (!(a > 0) || !std::isfinite(a)) continue;
    const int sig = uni(1, 17);
    io::edit::Digits D;
    io::edit::round_sig(a, sig, D);
    const auto [ds, es] = exact(a, std::chars_format::scientific, sig - 1);
    ASSERT_EQ(ds, std::string(D.d, static_cast<std::size_t>(D.n))) << a << " " << sig;
    ASSERT_EQ(es, D.exp) << a << " " << sig;
    if (a < 1e25) {
      const int places = uni(0, 20);
      io::edit::round_fixed(a, places, D);
      ASSERT_EQ(exact(a, std::chars_format::fixed, places).first, std::string(D.d, static_cast<std::size_t>(D.n)))
          << a << " " << places;
    }
  }
}
