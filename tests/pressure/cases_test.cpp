// Golden report excerpts of the earth-pressure step: everything EARTHP writes to the
// report and the plot file for one problem, compared as exact text with tests/cases/<name>/
// (report.txt, plot.txt). BRANTO_REGEN=1 rewrites the files, to be checked by hand.
#include <cstdlib>

#include "prcase.h"

namespace {

std::string slurp(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

// Exact comparison, naming the first differing line and column.
void same(const std::string& name, const std::string& file, const std::string& got) {
  const auto path = std::filesystem::path(BRANTO_SOURCE_DIR) / "tests" / "cases" / name / file;
  if (std::getenv("BRANTO_REGEN") != nullptr) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << got;
  }
  const std::string want = slurp(path);
  if (want == got) return;
  const auto a = PCase::split(want), b = PCase::split(got);
  std::size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  std::string wa = i < a.size() ? a[i] : "<end>", gb = i < b.size() ? b[i] : "<end>";
  std::size_t col = 0;
  while (col < wa.size() && col < gb.size() && wa[col] == gb[col]) ++col;
  ADD_FAILURE() << name << "/" << file << ": line " << i + 1 << ", column " << col + 1 << "\n  want: "
                << wa << "\n  got:  " << gb;
}

void check(PCase& c, const std::string& name) {
  ASSERT_EQ("", c.go(EARTHP));
  same(name, "report.txt", c.report());
  same(name, "plot.txt", c.plot());
}

}  // namespace

// English units, backfill water table above the excavation level, uniform surface
// pressure and a point load; option 2.
TEST(CASES, EnglishWaterAboveTheExcavation) {
  PCase c("ep_english_water");
  c.wall(ENGLISH, 4, 12.0);
  c.walrec(24, 12, 36, 12, 12, 1.0);
  c.m.SOIL.QSURF = 0.5;
  c.sur(1, 2000, 18, 0, 0, 1);
  c.layer(4, 18, 0.0694, 0, 32);
  c.layer(4, 60, 0.0723, 0, 36);
  check(c, "ep_english_water");
}

// SI units, a clay layer in tension above the excavation under a sloping backfill, line
// and strip loads and a row of another kind; option 2 with a width change at XEXC.
TEST(CASES, SiTensionZoneAndSurcharges) {
  PCase c("ep_si_tension");
  c.wall(SI, 4, 0.5);
  c.walrec(1.2, 5, 5, 1.5, 0.6, 1.0, 20);
  c.sur(2, 15, 1.0, 0, 0, 1);
  c.sur(3, 20, 2.0, 1.0, 0.2, 0.5);
  c.sur(4, 99, 3.0, 0, 0, 1);
  c.layer(1, 0.8, 17, 5, 0);
  c.layer(4, 3, 19, 0, 34);
  check(c, "ep_si_tension");
}

// English units, option 3 with one tie back, water below the excavation level.
TEST(CASES, EnglishOptionThreeOneTieBack) {
  PCase c("ep_option3");
  c.wall(ENGLISH, 5, 12.0, 3);
  c.walrec(36, 48, 48, 1, 1, 1.0, 0, 1);
  c.layer(4, 72, 0.07, 0, 30);
  c.tie(1);
  check(c, "ep_option3");
}

// SI units, option 5 over soft clay with an optional coefficient, one tie back.
TEST(CASES, SiOptionFiveSoftClay) {
  PCase c("ep_option5");
  c.wall(SI, 5, 0.5, 5);
  c.walrec(1.5, 9, 9, 1, 1, 0.9);
  c.m.SOIL.QSURF = 10;
  c.layer(1, 1.0, 17, 25, 0, 0.4);
  c.layer(4, 4.0, 19, 0, 33, 0.3);
  c.tie(1);
  check(c, "ep_option5");
}

// English units, option 1: specified pairs with the surcharge list of an earlier problem.
TEST(CASES, EnglishOptionOneSpecified) {
  PCase c("ep_option1");
  c.wall(ENGLISH, 4, 12.0, 1);
  auto& S = c.m.SOIL;
  S.HFREE = 24;
  S.WA = 12;
  c.sur(1, 3000, 24, 0, 6, 1);
  S.NSPP = 4;
  const double D[4] = {0, 12, 24, 48}, P[4] = {0, 0.3, 0.6, 0.6};
  for (int I = 1; I <= 4; ++I) {
    S.SPPD(I) = D[I - 1];
    S.SPPP(I) = P[I - 1];
  }
  check(c, "ep_option1");
}
