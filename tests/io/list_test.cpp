// List-directed output and input: gfortran's fields and separators, the record syntax of
// READ(*), and the messages of bad input.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "io/io.h"

using io::Chars;
using io::InputError;
using io::list_format;
using io::list_parse_into;
using io::Rec;

TEST(ListWrite, FieldsAndSeparators) {
  EXPECT_EQ("           1", list_format(1));
  EXPECT_EQ(" -2147483648  2147483647", list_format(-2147483647 - 1, 2147483647));
  EXPECT_EQ("        1234567890123", list_format(1234567890123LL));  // beyond 32 bits: 20 columns
  EXPECT_EQ("   1.0000000000000000     ", list_format(1.0));
  EXPECT_EQ("  -1.0000000000000000     ", list_format(-1.0));
  EXPECT_EQ("  0.10000000000000001     ", list_format(0.1));
  EXPECT_EQ("   0.0000000000000000     ", list_format(0.0));
  EXPECT_EQ("  -0.0000000000000000     ", list_format(-0.0));
  EXPECT_EQ("   12345678901234568.     ", list_format(12345678901234567.0));
  EXPECT_EQ("   1.0000000000000000E+017", list_format(1e17));
  EXPECT_EQ("   9.9999999999999992E-002", list_format(0.09999999999999999));
  EXPECT_EQ("   1.0000000000000001E+300", list_format(1e300));
  EXPECT_EQ("   4.9406564584124654E-324", list_format(5e-324));
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ("                  Infinity                 -Infinity", list_format(inf, -inf));
  // A blank starts the record and separates values, but not two texts in a row.
  EXPECT_EQ(" ab", list_format("a", "b"));
  EXPECT_EQ(" a           1", list_format("a", 1));
  EXPECT_EQ("           1 a", list_format(1, "a"));
  EXPECT_EQ("   1.0000000000000000      a", list_format(1.0, "a"));
  EXPECT_EQ(" x T           1 F y", list_format("x", true, 1, false, "y"));
  EXPECT_EQ(" ", list_format(""));
  EXPECT_EQ("", list_format());
}

namespace {
Rec rec(const char* what, const char* names = "", int n = 0) { return Rec{what, n, names}; }
}  // namespace

TEST(ListRead, SeparatorsNullsRepeatsAndSlash) {
  struct C {
    const char* text;
    int a, b, c;
  };
  const C cases[] = {
      {"1 2 3", 1, 2, 3},        {"1,2,3", 1, 2, 3},         {"1\t2 ,  3", 1, 2, 3},
      {"1,\n2 3 4", 1, 2, 3},    {"1,,\n3", 1, -1, 3},       {"1\n,2 3", 1, 2, 3},
      {"\n  \n5\n6 7 / 8", 5, 6, 7}, {"9 10\n3*4", 9, 10, 4}, {"2*\n5", -1, -1, 5},
      {", ,\n1 , , 2", -1, -1, 1}, {"1 ,\n, 2", 1, -1, 2},   {"5*1", 1, 1, 1},
      {"1 2/", 1, 2, -1},         {"1/2 3", 1, -1, -1},      {"/", -1, -1, -1},
      {",2\n/", -1, 2, -1},
  };
  for (const C& c : cases) {
    int a = -1, b = -1, x = -1;
    list_parse_into(c.text, rec("r"), a, b, x);
    EXPECT_EQ(c.a, a) << c.text;
    EXPECT_EQ(c.b, b) << c.text;
    EXPECT_EQ(c.c, x) << c.text;
  }
}

TEST(ListRead, RealForms) {
  struct C {
    const char* text;
    double v;
  };
  const C cases[] = {{"3", 3},         {"3.", 3},        {".5", 0.5},       {"3.E0", 3},      {"3.D0", 3},
                     {"-1.5e-3", -1.5e-3}, {"1.0+5", 1e5}, {"1+5", 1e5},      {"1.0-5", 1e-5},  {"1.0q5", 1e5},
                     {"+.5E+1", 5},    {"00001.5", 1.5}, {"1.5e0005", 1.5e5}, {"2*1.5", 1.5}, {"1e-999", 0},
                     {"4.9e-324", 4.9406564584124654e-324}, {"1.7976931348623157e308", 1.7976931348623157e308}};
  for (const C& c : cases) {
    double v = -7;
    list_parse_into(c.text, rec("r"), v);
    EXPECT_EQ(c.v, v) << c.text;
  }
  double v = 1;
  list_parse_into("-1e-999", rec("r"), v);
  EXPECT_TRUE(v == 0 && std::signbit(v));
}

TEST(ListRead, Texts) {
  Chars<6> s1, s2;
  list_parse_into("'ab''c' xyz", rec("r"), s1, s2);
  EXPECT_EQ("ab'c  ", s1.view());
  EXPECT_EQ("xyz   ", s2.view());
  list_parse_into("'long string here' a,b", rec("r"), s1, s2);
  EXPECT_EQ("long s", s1.view());
  EXPECT_EQ("a     ", s2.view());
  list_parse_into("'abc\ndef' 2*x", rec("r"), s1, s2);  // a quoted text goes on over the line end
  EXPECT_EQ("abcdef", s1.view());
  EXPECT_EQ("x     ", s2.view());
  list_parse_into("\"dq\"\"x\" ''", rec("r"), s1, s2);
  EXPECT_EQ("dq\"x  ", s1.view());
  EXPECT_EQ("      ", s2.view());
  list_parse_into("ab/cd e", rec("r"), s1, s2);
  EXPECT_EQ("ab    ", s1.view());
  EXPECT_EQ("      ", s2.view());  // unchanged after the slash
  list_parse_into("\"a, b / c\"", rec("r"), s1);
  EXPECT_EQ("a, b /", s1.view());
}

TEST(ListRead, Arrays) {
  int k[4] = {0, 0, 0, 0};
  double r[3] = {9, 9, 9};
  list_parse_into("1 2 3 4 1.5 2*2.5", rec("r"), std::span<int>(k), std::span<double>(r));
  EXPECT_EQ(4, k[3]);
  EXPECT_EQ(1.5, r[0]);
  EXPECT_EQ(2.5, r[2]);
}

namespace {
std::string error_of(const std::string& text, const Rec& r, int& i, double& x, bool* eof = nullptr) {
  try {
    list_parse_into(text, r, i, x);
  } catch (const InputError& e) {
    if (eof) *eof = e.eof;
    return e.what();
  }
  return "no error";
}
}  // namespace

TEST(ListRead, Messages) {
  int i = 0;
  double x = 0;
  const Rec ctl{"second control record", 0, "NI H"};
  EXPECT_EQ("line 1: second control record, value 2 (H): expected a real, found 'x'", error_of("10 x", ctl, i, x));
  EXPECT_EQ("line 2: second control record, value 1 (NI): expected an integer, found '2.5'", error_of("\n2.5 1", ctl, i, x));
  EXPECT_EQ("line 1: second control record, value 1 (NI): expected an integer, found '3.'", error_of("3. 1", ctl, i, x));
  EXPECT_EQ("line 1: second control record, value 1 (NI): integer out of range, found '2147483648'",
            error_of("2147483648 1", ctl, i, x));
  EXPECT_EQ("line 1: second control record, value 2 (H): expected a finite real, found '1e999'", error_of("1 1e999", ctl, i, x));
  EXPECT_EQ("line 1: second control record, value 2 (H): expected a finite real, found 'NaN'", error_of("1 NaN", ctl, i, x));
  EXPECT_EQ("line 1: second control record, value 2 (H): expected a finite real, found '-Infinity'",
            error_of("1 -Infinity", ctl, i, x));
  EXPECT_EQ("line 1: second control record, value 1 (NI): repeat count 0, found '0*'", error_of("0*5 1", ctl, i, x));
  EXPECT_EQ("line 1: second control record, value 2 (H): expected a real, found '1;2'", error_of("1 1;2", ctl, i, x));
  const Rec sec{"wall section", 3, "XTOP"};
  EXPECT_EQ("line 1: wall section 3, value 2: expected a real, found '--1'", error_of("1 --1", sec, i, x));
  bool eof = false;
  EXPECT_EQ("line 3: end of file in wall section 3, value 2", error_of("7\n\n", sec, i, x, &eof));
  EXPECT_TRUE(eof);
  EXPECT_EQ("line 1: end of file in wall section 3, value 1 (XTOP)", error_of("", sec, i, x, &eof));
  EXPECT_TRUE(eof);
  Chars<4> s;
  try {
    list_parse_into("'abc", rec("title"), s);
    FAIL();
  } catch (const InputError& e) {
    EXPECT_TRUE(e.eof);
  }
  EXPECT_THROW(list_parse_into("'a'b", rec("title"), s), InputError);
}

TEST(ListRead, BadNumbersLikeGfortran) {
  for (const char* t : {".", "-", "+", "1e", "1e+", ".e5", "1.5x", "1.5d", "1.0e5.0", "e5", "0x10", "1_8", "1.0+",
                        "1.5e5e", "\"1.5\"", "1.5E+-5", "(1.5)", "T", "1:5"}) {
    double v = 0;
    EXPECT_THROW(list_parse_into(t, rec("r"), v), InputError) << t;
  }
  for (const char* t : {"3.", "2.5", "3e0", "3x", "-", "\"3\"", "3*-", "-3*4", "3*x"}) {
    int v = 0;
    EXPECT_THROW(list_parse_into(t, rec("r"), v), InputError) << t;
  }
}

// A held write hands back what a list-directed READ of its record gives, bit for bit, and
// refuses what the READ refuses (Inf, NaN, asterisks, numbers that touch, numbers beyond
// the doubles), leaving the values as given. Values: random bit patterns, decimal ties,
// neighbours of powers of ten, the ends of the doubles, plain magnitudes.
TEST(HeldWrite, ValuesAreThoseTheRecordReadsBack) {
  std::mt19937_64 g(12);
  auto uni = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(g); };
  auto value = [&]() {
    double v = 0;
    switch (uni(0, 5)) {
      case 0: { std::uint64_t b = g(); std::memcpy(&v, &b, 8); break; }
      case 1: v = std::strtod((std::to_string(uni(1, 9999)) + "5e" + std::to_string(uni(-330, 310))).c_str(), nullptr); break;
      case 2: v = std::nextafter(std::pow(10.0, uni(-310, 308)), uni(0, 1) ? 0.0 : HUGE_VAL) * (uni(0, 1) ? 9.9995 : 1); break;
      case 3: v = std::vector<double>{DBL_MAX, 5e-324, 1e-310, 9.9995e99, 0.0, 0.00049999}[uni(0, 5)]; break;
      default: v = std::ldexp(static_cast<double>(g() >> 11), uni(-80, 30)); break;
    }
    return uni(0, 1) ? -v : v;
  };
  const char* layouts[] = {"(I5,2(1X,1P,E10.3))", "(I5,2(2X,E10.3))", "(I5,1X,1P,2E10.3)", "(I5,2F10.3)",
                           "(I5,2(1X,E10.3E1))", "(I5,2(1X,0P,E9.2))", "(I5,A,2E12.3)"};
  io::Units u;
  int held = 0, refused = 0;
  for (int n = 0; n < 60000; ++n) {
    const double a = value(), b = value();
    double ha = a, hb = b;
    u.open_memory_output(9, "x");
    const char* lay = layouts[n % 7];
    const bool ok = n % 7 == 6 ? io::write_held(u, 9, lay, 7, "x", ha, hb)
                    : n % 2 ? io::write_held(u, 9, lay, 7, ha, hb) : io::list_write_held(u, 9, 7, ha, hb);
    std::string r = u.text(9);
    r.pop_back();
    int j = 0;
    double ra = a, rb = b;
    bool read = n % 7 != 6;  // a text among the values: never handed back
    try {
      if (read) list_parse_into(r, rec("r"), j, ra, rb);
    } catch (const InputError&) {
      read = false;
    }
    ASSERT_EQ(read, ok) << r;
    if (!ok) ra = a, rb = b;
    EXPECT_EQ(0, std::memcmp(&ra, &ha, 8)) << r;
    EXPECT_EQ(0, std::memcmp(&rb, &hb, 8)) << r;
    ++(ok ? held : refused);
  }
  EXPECT_GT(refused, 5000);
  EXPECT_GT(held, 40000);
}
