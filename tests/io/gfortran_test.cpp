// Differential tests: random values written and read by gfortran (reference programs in
// tests/io/fortran, built when gfortran is found) and by io, compared character for
// character and bit for bit. Case files live in the build tree.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "io/io.h"

namespace fs = std::filesystem;

namespace {

constexpr int N = 100000;  // values per descriptor family

// The reference programs, when gfortran was found.
#ifdef REF_WRITE
constexpr const char* REF_WRITE_PROG = REF_WRITE;
constexpr const char* REF_READ_PROG = REF_READ;
#else
constexpr const char* REF_WRITE_PROG = nullptr;
constexpr const char* REF_READ_PROG = nullptr;
#endif

fs::path workdir() {
  fs::path d = fs::path(BRANTO_BINARY_DIR) / "tests" / "gfortran" / ::testing::UnitTest::GetInstance()->current_test_info()->name();
  fs::create_directories(d);
  return d;
}

// Run a reference program on a case file; the lines it writes.
std::vector<std::string> run_ref(const char* prog, const fs::path& in, const fs::path& out) {
  const std::string cmd = std::string("\"") + prog + "\" \"" + in.string() + "\" \"" + out.string() + "\"";
  EXPECT_EQ(0, std::system(cmd.c_str())) << cmd;
  std::vector<std::string> lines;
  std::ifstream f(out);
  for (std::string l; std::getline(f, l);) lines.push_back(l);
  return lines;
}

std::uint64_t bits_of(double v) {
  std::uint64_t b;
  std::memcpy(&b, &v, 8);
  return b;
}
double from_bits(std::uint64_t b) {
  double v;
  std::memcpy(&v, &b, 8);
  return v;
}

// Real values spread over the whole range: random bit patterns, values near powers of
// ten, decimal ties with few and many digits, exact binary ties, plain magnitudes
// around the field's range.
class Values {
 public:
  explicit Values(unsigned seed) : g_(seed) {}
  std::mt19937_64& gen() { return g_; }
  int uni(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(g_); }

  double real(int mag_lo, int mag_hi) {
    const int kind = uni(0, 19);
    double v;
    if (kind == 0) v = from_bits(g_());
    else if (kind == 1) v = near_power(uni(-323, 308));
    else if (kind == 2) v = decimal(uni(-320, 308), uni(1, 17), uni(0, 1) == 1);
    else if (kind == 3) v = std::ldexp(static_cast<double>(uni(0, 1 << 20)), -uni(0, 12));
    else if (kind <= 6) v = near_power(uni(mag_lo, mag_hi));
    else if (kind <= 12) v = decimal(uni(mag_lo, mag_hi), uni(1, 4), true);
    else v = decimal(uni(mag_lo, mag_hi), uni(1, 17), false);
    return uni(0, 1) ? -v : v;
  }

 private:
  std::mt19937_64 g_;

  double parse(const std::string& s) { return std::strtod(s.c_str(), nullptr); }
  double near_power(int k) {
    double v = parse("1e" + std::to_string(k));
    const int steps = uni(-3, 3);
    for (int i = 0; i < std::abs(steps); ++i) v = std::nextafter(v, steps < 0 ? 0.0 : HUGE_VAL);
    const double f[] = {1, 1, 9.5, 9.9995, 5, 0.5, 1.5, 2.5};
    return v * f[uni(0, 7)];
  }
  // n significant digits; tie: the last digit is 5.
  double decimal(int exp10, int n, bool tie) {
    std::string s = std::to_string(uni(1, 9)) + ".";
    for (int i = 1; i < n; ++i) s += static_cast<char>('0' + uni(0, 9));
    if (tie) s += '5';
    return parse(s + "e" + std::to_string(exp10));
  }
};

struct Case {
  char kind;  // R real, I integer
  std::uint64_t bits;
  std::string layout;
};

// Write the cases, run gfortran's writes, compare with io. Returns the number compared.
void compare_writes(const std::vector<Case>& cases, const char* family) {
  if (!REF_WRITE_PROG) GTEST_SKIP() << "gfortran not found: " << family << " not compared";
  const fs::path d = workdir();
  {
    std::ofstream f(d / "cases.txt");
    char line[256];
    for (const Case& c : cases) {
      std::snprintf(line, sizeof line, "%c %016" PRIX64 " %s\n", c.kind, c.bits, c.layout.c_str());
      f << line;
    }
  }
  const std::vector<std::string> ref = run_ref(REF_WRITE_PROG, d / "cases.txt", d / "gfortran.txt");
  ASSERT_EQ(cases.size(), ref.size()) << family;
  int bad = 0;
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    std::string ours;
    if (c.kind == 'R') {
      const double v = from_bits(c.bits);
      ours = c.layout == "*" ? io::list_format(v) : io::format(c.layout.c_str(), v);
    } else {
      const int v = static_cast<int>(static_cast<std::int64_t>(c.bits));
      ours = c.layout == "*" ? io::list_format(v) : io::format(c.layout.c_str(), v);
    }
    if (ours != ref[i] && ++bad <= 10) {
      ADD_FAILURE() << family << " " << c.layout << " bits " << std::hex << c.bits << std::dec
                    << " (" << from_bits(c.bits) << ")\n  gfortran [" << ref[i] << "]\n  io       [" << ours << "]";
    }
  }
  EXPECT_EQ(0, bad) << family << ": " << bad << " of " << cases.size() << " differ";
}

Case real_case(double v, std::string layout) { return Case{'R', bits_of(v), std::move(layout)}; }

}  // namespace

// Widths mostly wide enough for the value, some too narrow (asterisks).
TEST(Gfortran, FixedPoint) {
  Values r(11);
  std::vector<Case> cases;
  char f[64];
  for (int i = 0; i < N; ++i) {
    const int d = r.uni(0, 6) == 0 ? r.uni(0, 25) : r.uni(0, 12);
    const int w = r.uni(0, 5) == 0 ? r.uni(1, 30) : d + r.uni(1, 14);
    const int k = r.uni(0, 4) == 0 ? r.uni(-4, 4) : 0;
    if (k == 0) std::snprintf(f, sizeof f, "(F%d.%d)", w, d);
    else std::snprintf(f, sizeof f, "(%dPF%d.%d)", k, w, d);
    cases.push_back(real_case(r.real(-d - 3, w - d - k), f));
  }
  compare_writes(cases, "Fw.d");
}

TEST(Gfortran, Exponent) {
  Values r(12);
  std::vector<Case> cases;
  char f[64];
  for (int i = 0; i < N; ++i) {
    const int d = r.uni(1, 17);
    const int w = r.uni(0, 5) == 0 ? r.uni(1, 30) : d + r.uni(5, 10);
    const int e = r.uni(0, 4) == 0 ? r.uni(1, 4) : -1;
    const int k = r.uni(0, 5) == 0 ? r.uni(-d + 1, 0) : 0;
    std::string s = k ? std::to_string(k) + "P" : std::string();
    if (e < 0) std::snprintf(f, sizeof f, "(%sE%d.%d)", s.c_str(), w, d);
    else std::snprintf(f, sizeof f, "(%sE%d.%dE%d)", s.c_str(), w, d, e);
    cases.push_back(real_case(r.real(-320, 308), f));
  }
  compare_writes(cases, "Ew.d");
}

TEST(Gfortran, ScaledExponent) {
  Values r(13);
  std::vector<Case> cases;
  char f[64];
  for (int i = 0; i < N; ++i) {
    const int d = r.uni(0, 17);
    const int w = r.uni(0, 5) == 0 ? r.uni(1, 30) : d + r.uni(5, 10);
    const int k = r.uni(0, 3) == 0 ? r.uni(1, d + 1) : 1;
    std::snprintf(f, sizeof f, "(%dPE%d.%d)", k, w, d);
    cases.push_back(real_case(r.real(-320, 308), f));
  }
  compare_writes(cases, "1PEw.d");
}

namespace {
// Integers of 1 to 10 digits (and the edges); nd gets the number of digits.
int rnd_int(Values& r, int& nd) {
  nd = r.uni(0, 10);
  if (nd == 0) {
    const int edge[] = {0, 1, -1, 2147483647, -2147483647 - 1, 9, -9, 10};
    const int v = edge[r.uni(0, 7)];
    nd = static_cast<int>(std::to_string(v).size());
    return v;
  }
  std::int64_t v = r.uni(1, 9);
  for (int i = 1; i < nd; ++i) v = v * 10 + r.uni(0, 9);
  if (v > 2147483647) v %= 2147483647;
  return static_cast<int>(r.uni(0, 1) ? -v : v);
}
int rnd_int(Values& r) {
  int nd;
  return rnd_int(r, nd);
}
Case int_case(int v, std::string layout) { return Case{'I', static_cast<std::uint64_t>(static_cast<std::int64_t>(v)), std::move(layout)}; }
}  // namespace

TEST(Gfortran, Integer) {
  Values r(14);
  std::vector<Case> cases;
  for (int i = 0; i < N; ++i) {
    int nd;
    const int v = rnd_int(r, nd);
    const int w = std::max(1, nd + r.uni(-1, 3));
    cases.push_back(int_case(v, "(I" + std::to_string(w) + ")"));
  }
  compare_writes(cases, "Iw");
}

TEST(Gfortran, IntegerMinimumDigits) {
  Values r(15);
  std::vector<Case> cases;
  for (int i = 0; i < N; ++i) {
    int nd;
    const int v = r.uni(0, 5) == 0 ? (nd = 1, 0) : rnd_int(r, nd);
    const int w = std::max(1, nd + r.uni(-1, 4));
    cases.push_back(int_case(v, "(I" + std::to_string(w) + "." + std::to_string(r.uni(0, w)) + ")"));
  }
  compare_writes(cases, "Iw.m");
}

TEST(Gfortran, ListDirectedInteger) {
  Values r(16);
  std::vector<Case> cases;
  for (int i = 0; i < N; ++i) cases.push_back(int_case(rnd_int(r), "*"));
  compare_writes(cases, "list-directed integer");
}

TEST(Gfortran, ListDirectedReal) {
  Values r(17);
  std::vector<Case> cases;
  for (int i = 0; i < N; ++i) cases.push_back(real_case(r.real(-20, 20), "*"));
  compare_writes(cases, "list-directed real");
}

// ---------------------------------------------------------------------------
// List-directed input: random records of four values in the forms gfortran reads, with
// separators, repeats, null values and slashes, and some malformed ones.
namespace {

constexpr std::uint64_t RSENT = 0x7FF4000000000BADULL;  // signalling NaN, never read
constexpr int ISENT = -123456789;

std::string real_token(Values& r) {
  std::string s;
  const int sign = r.uni(0, 3);
  if (sign == 1) s += '-';
  if (sign == 2) s += '+';
  const int nint = r.uni(0, 3) == 0 ? 0 : r.uni(1, r.uni(0, 5) == 0 ? 25 : 6);
  const bool point = r.uni(0, 2) != 0 || nint == 0;
  const int nfrac = point ? (nint == 0 ? r.uni(1, 20) : r.uni(0, 20)) : 0;
  for (int i = 0; i < nint; ++i) s += static_cast<char>('0' + (i == 0 && r.uni(0, 3) ? r.uni(1, 9) : r.uni(0, 9)));
  if (point) s += '.';
  for (int i = 0; i < nfrac; ++i) s += static_cast<char>('0' + r.uni(0, 9));
  const int ek = r.uni(0, 9);
  if (ek >= 4) {
    const char* letters = "eEdDqQ";
    if (ek == 9) s += (r.uni(0, 1) ? '+' : '-');  // the sign alone stands for the letter
    else {
      s += letters[r.uni(0, 5)];
      const int es = r.uni(0, 2);
      if (es == 1) s += '-';
      if (es == 2) s += '+';
    }
    int e = r.uni(0, 3) == 0 ? r.uni(250, 340) : r.uni(0, 40);
    std::string es = std::to_string(e);
    if (r.uni(0, 9) == 0) es = "00" + es;
    s += es;
  }
  if (r.uni(0, 60) == 0) {  // malformed
    const char* junk[] = {"e", "x", ".", "+", "e+", "..", "d-"};
    s += junk[r.uni(0, 6)];
  }
  return s;
}

std::string int_token(Values& r) {
  std::string s;
  const int sign = r.uni(0, 3);
  if (sign == 1) s += '-';
  if (sign == 2) s += '+';
  const int n = r.uni(0, 19) == 0 ? r.uni(10, 12) : r.uni(1, 9);
  for (int i = 0; i < n; ++i) s += static_cast<char>('0' + r.uni(0, 9));
  if (r.uni(0, 60) == 0) {
    const char* junk[] = {".", ".5", "e1", "x", "+"};
    s += junk[r.uni(0, 4)];
  }
  return s;
}

// Four values: tokens, repeats r*v and r*, null values, perhaps an early slash.
std::string record(Values& r, bool real) {
  std::string s;
  int filled = 0;
  while (filled < 4) {
    if (!s.empty() || r.uni(0, 5) == 0) {
      const char* seps[] = {" ", ",", " , ", "\t", "  ", ", "};
      s += seps[r.uni(0, 5)];
    }
    const int what = r.uni(0, 19);
    if (what == 0 && !s.empty() && s.back() == ',') {
      s += ',';  // a null value between two commas
      ++filled;
      continue;
    }
    if (what == 1) {
      const int n = r.uni(1, 4 - filled);
      s += std::to_string(n) + "*";
      filled += n;
      continue;
    }
    if (what == 2 && filled > 0) {
      s += "/ junk";
      return s;
    }
    if (what == 3) {
      const int n = r.uni(1, 5);
      s += std::to_string(n) + "*";
      filled += n;
    } else {
      ++filled;
    }
    s += real ? real_token(r) : int_token(r);
  }
  if (r.uni(0, 3) == 0) s += " 99 leftover";
  return s;
}

}  // namespace

TEST(Gfortran, ListDirectedInput) {
  if (!REF_READ_PROG) GTEST_SKIP() << "gfortran not found: list-directed input not compared";
  Values r(21);
  std::vector<std::pair<char, std::string>> cases;
  for (int i = 0; i < N; ++i) {
    const bool real = i % 2 == 0;
    cases.emplace_back(real ? 'R' : 'I', record(r, real));
  }
  const fs::path d = workdir();
  {
    std::ofstream f(d / "cases.txt");
    for (const auto& c : cases) f << c.first << ' ' << c.second << '\n';
  }
  const std::vector<std::string> ref = run_ref(REF_READ_PROG, d / "cases.txt", d / "gfortran.txt");
  ASSERT_EQ(cases.size(), ref.size());
  int bad = 0, errors = 0, nonfinite = 0;
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const auto& [kind, text] = cases[i];
    int ios = 0;
    std::uint64_t want[4];
    std::sscanf(ref[i].c_str(), "%d %" SCNx64 " %" SCNx64 " %" SCNx64 " %" SCNx64, &ios, &want[0], &want[1], &want[2], &want[3]);
    std::uint64_t got[4];
    std::string err;
    bool finite_err = false;
    try {
      if (kind == 'R') {
        double v[4];
        for (double& x : v) x = from_bits(RSENT);
        io::list_parse_into(text, io::Rec{"r"}, std::span<double>(v));
        for (int k = 0; k < 4; ++k) got[k] = bits_of(v[k]);
      } else {
        int v[4] = {ISENT, ISENT, ISENT, ISENT};
        io::list_parse_into(text, io::Rec{"r"}, std::span<int>(v));
        for (int k = 0; k < 4; ++k) got[k] = static_cast<std::uint64_t>(static_cast<std::int64_t>(v[k]));
      }
    } catch (const io::InputError& e) {
      err = e.what();
      finite_err = err.find("finite") != std::string::npos;
    }
    bool ok;
    if (ios != 0) {
      ok = !err.empty();  // gfortran rejects it: so must io
      ++errors;
    } else {
      bool gf_nonfinite = false;
      if (kind == 'R')
        for (std::uint64_t b : want) gf_nonfinite |= b != RSENT && !std::isfinite(from_bits(b));
      if (gf_nonfinite) {
        ok = finite_err;  // gfortran reads an overflow as Infinity: io rejects it
        ++nonfinite;
      } else {
        ok = err.empty() && std::memcmp(got, want, sizeof got) == 0;
      }
    }
    if (!ok && ++bad <= 10) {
      ADD_FAILURE() << "record [" << text << "] (" << kind << ")\n  gfortran " << ref[i] << "\n  io       "
                    << (err.empty() ? "" : err) << std::hex << (err.empty() ? got[0] : 0) << " " << got[1] << " " << got[2]
                    << " " << got[3];
    }
  }
  EXPECT_EQ(0, bad) << bad << " of " << cases.size() << " records differ";
  EXPECT_GT(errors, 100);     // the malformed ones were there
  EXPECT_GT(nonfinite, 100);  // and the overflows
}
