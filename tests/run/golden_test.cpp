// Whole runs of the input files in tests/cases/<name>/in.dat: the report of every problem,
// from its header to the end of the input echo, must equal tests/cases/<name>/expected.out.
// What follows the echo (station data, pressures, curves, results) is not compared.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "golden.h"
#include "runcase.h"

namespace {

// Start of each problem's header: the banner line followed by an empty line and the
// program line.
std::vector<std::size_t> problem_starts(const std::vector<std::string>& v) {
  std::vector<std::size_t> s;
  for (std::size_t i = 0; i + 2 < v.size(); ++i)
    if (v[i] == "     " + std::string(73, '=') && v[i + 1].empty() && v[i + 2].find("  BRANTO for Windows") != std::string::npos)
      s.push_back(i);
  return s;
}

std::vector<std::string> read_lines(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::vector<std::string> v;
  for (std::string s; std::getline(f, s);) v.push_back(s);
  return v;
}

void compare_case(const std::string& name, const std::function<void(const Model&)>& check = nullptr) {
  const std::filesystem::path dir = std::filesystem::path(BRANTO_SOURCE_DIR) / "tests" / "cases" / name;
  std::ifstream in(dir / "in.dat", std::ios::binary);
  ASSERT_TRUE(in) << "no input " << (dir / "in.dat");
  std::stringstream ss;
  ss << in.rdbuf();
  RunCase c("golden-" + name);
  c.names();
  c.file("in.dat", ss.str());
  ASSERT_EQ(RC_OK, c.run()) << c.console;
  const auto expected = read_lines(dir / "expected.out");
  const auto actual = c.lines("in.out");
  const auto es = problem_starts(expected), as = problem_starts(actual);
  ASSERT_FALSE(es.empty());
  ASSERT_EQ(es.size(), as.size()) << "problems in the report";
  for (std::size_t k = 0; k < es.size(); ++k) {
    SCOPED_TRACE("problem " + std::to_string(k + 1));
    const std::size_t eend = k + 1 < es.size() ? es[k + 1] : expected.size();
    const std::vector<std::string> e(expected.begin() + static_cast<long>(es[k]), expected.begin() + static_cast<long>(eend));
    const std::size_t aend = std::min(actual.size(), as[k] + e.size());
    const std::vector<std::string> a(actual.begin() + static_cast<long>(as[k]), actual.begin() + static_cast<long>(aend));
    const std::string d = first_difference(e, a, es[k]);
    EXPECT_TRUE(d.empty()) << name << "/expected.out, " << d;
  }
  if (check) check(c.m);
}

}  // namespace

TEST(GOLDEN, EnglishSheetPileTieBackTwoProblems) {
  // The second problem gives no wall sections: the first problem's wall data stay.
  compare_case("english_sheet_pile", [](const Model& m) {
    EXPECT_EQ(0, m.C.NCROSS);
    EXPECT_EQ(3.6E6, m.CS.EMT(6));
    EXPECT_EQ(2, m.WS.ISEC(2));
    EXPECT_EQ(729.0, m.CS.XIB(2));
    EXPECT_EQ(7 + 4, m.TIE.KSTA(1));  // 5 ft = 60 in = 6.67 increments of 9 in
    EXPECT_EQ(1, m.REC.NREC4);
    EXPECT_EQ(600.0, m.SOIL.ZBOT(1));
  });
}
TEST(GOLDEN, SiDrilledShaftsUserCurvesTwoProblems) {
  // The second problem reads fewer sections: entries beyond its counts keep their values.
  compare_case("si_drilled_shafts", [](const Model& m) {
    EXPECT_EQ(1, m.WS.ISEC(1));
    EXPECT_EQ(3, m.WS.ISEC(2));
    EXPECT_EQ("GENERAL 500", m.CS.SNAME(1).trimmed());
    EXPECT_EQ("TAPERED BOX", m.CS.SNAME(3).trimmed());
    EXPECT_EQ(1.45E9 / 999999995904.0, m.CS.XIB(3));
    EXPECT_EQ(12.5, m.SOIL.SPPP(2));
  });
}
TEST(GOLDEN, SiNonlinearSections) { compare_case("si_nonlinear"); }

TEST(GOLDEN, FirstDifferenceNamesLineAndColumn) {
  EXPECT_EQ("", first_difference({"a", "b"}, {"a", "b"}));
  EXPECT_EQ("line 2, column 3:\n  expected [abc]\n  actual   [abd]", first_difference({"x", "abc"}, {"x", "abd"}));
  EXPECT_EQ("line 12, column 1:\n  expected [ ]\n  actual   []", first_difference({" "}, {""}, 11));
  EXPECT_EQ("line 2: expected 1 lines, found 2; next actual line [extra]", first_difference({"a"}, {"a", "extra"}));
}
