// The names of a run's files given by the host in place of NAMES.dat: the run reads no
// NAMES.dat, changes no directory, and writes what the same names through NAMES.dat
// write; two names of one file are refused by their kinds; the host's curve depths take
// the place of the environment's.
#include <gtest/gtest.h>

#include <string_view>

#include "runcase.h"

namespace {

std::string example() {
  std::ifstream f(std::string(BRANTO_SOURCE_DIR) + "/examples/softclay_staged_tieback.dat", std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

// A run on model m with the names given: in.dat, in.out, ... in c's directory, or names[i].
int given(RunCase& c, Model& m, HostHooks& h, std::vector<std::string> names = {}) {
  const char* EXT[6] = {"in.dat", "in.out", "in.plt", "in.log", "in.pyc", "in.prs"};
  for (int i = static_cast<int>(names.size()); i < 6; ++i) names.push_back((c.dir / EXT[i]).string());
  const std::string_view files[6] = {names[0], names[1], names[2], names[3], names[4], names[5]};
  h.version = "9.0";
  h.files = files;
  io::Units u;
  u.capture_console();
  Run r{m, u, &h};
  c.code = RUNWAL(r, &c.summary);
  c.console = u.text(0);
  return c.code;
}

}  // namespace

TEST(GIVEN, WritesWhatNamesDatWrites) {
  RunCase a("given-a"), b("given-b");
  a.names();
  a.file("in.dat", example());
  ASSERT_EQ(RC_OK, a.run());
  b.file("in.dat", example());
  HostHooks h;
  h.input = "in.dat";  // the header as NAMES.dat's relative names give it
  h.report = "in.out";
  h.plot = "in.plt";
  const auto here = std::filesystem::current_path();
  auto m = std::make_unique<Model>();
  ASSERT_EQ(RC_OK, given(b, *m, h));
  EXPECT_EQ(here, std::filesystem::current_path());
  EXPECT_FALSE(std::filesystem::exists(b.dir / "NAMES.dat"));
  for (const char* f : {"in.out", "in.plt", "in.log"}) EXPECT_EQ(a.text(f), b.text(f)) << f;
}

TEST(GIVEN, OneFileTwiceIsRefusedByItsKinds) {
  RunCase c("given-twice");
  c.file("in.dat", example());
  HostHooks h;
  const std::string out = (c.dir / "in.out").string();
  auto m = std::make_unique<Model>();
  ASSERT_EQ(RC_FILE, given(c, *m, h, {(c.dir / "in.dat").string(), out, out}));
  EXPECT_EQ("the report file '" + out + "' and the plot output file '" + out + "' are one file; nothing was written",
            c.summary.message);
  EXPECT_FALSE(std::filesystem::exists(out));
  ASSERT_EQ(RC_FILE, given(c, *m, h, {std::string(256, 'x')}));
  EXPECT_EQ("the path of the input data file is longer than 255 characters", c.summary.message);
}

TEST(GIVEN, CurveDepthsOfTheHostBeforeTheEnvironment) {
  RunCase c("given-depths");
  c.file("in.dat", example());
  setenv("BRANTO_CURVE_DEPTHS", "many", 1);
  HostHooks h;
  h.curve_depths = 16;
  auto m = std::make_unique<Model>();
  const int code = given(c, *m, h);
  unsetenv("BRANTO_CURVE_DEPTHS");
  ASSERT_EQ(RC_OK, code);
  EXPECT_EQ(16, m->D.NCDRUN);
  EXPECT_TRUE(c.summary.warnings.empty()) << c.summary.warnings.front();
}
