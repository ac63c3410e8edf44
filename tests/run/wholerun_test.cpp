// Whole runs of the input files in tests/runs/<name>/in.dat: the report, the iteration
// log and the plot output file must equal in.out, in.log and in.plt there, line for
// line. BRANTO_REGEN=1 rewrites the expected files (review every changed line against
// the layouts before committing them).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "golden.h"
#include "runcase.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> read_lines(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::vector<std::string> v;
  for (std::string s; std::getline(f, s);) v.push_back(s);
  return v;
}

class WholeRun : public ::testing::TestWithParam<std::string> {};

TEST_P(WholeRun, ReportLogAndPlotFileAsExpected) {
  const fs::path dir = fs::path(BRANTO_SOURCE_DIR) / "tests" / "runs" / GetParam();
  std::ifstream in(dir / "in.dat", std::ios::binary);
  ASSERT_TRUE(in);
  std::stringstream ss;
  ss << in.rdbuf();
  RunCase c("whole-" + GetParam());
  c.names();
  c.file("in.dat", ss.str());
  const int code = c.run();
  EXPECT_TRUE(code == RC_OK || code == RC_STOP) << c.console;
  const bool regen = std::getenv("BRANTO_REGEN") != nullptr;
  for (const char* ext : {"out", "log", "plt"}) {
    SCOPED_TRACE(std::string("in.") + ext);
    if (regen) {
      fs::copy_file(c.dir / (std::string("in.") + ext), dir / (std::string("in.") + ext),
                    fs::copy_options::overwrite_existing);
      continue;
    }
    const std::string d = first_difference(read_lines(dir / (std::string("in.") + ext)),
                                           c.lines(std::string("in.") + ext));
    EXPECT_TRUE(d.empty()) << GetParam() << "/in." << ext << ", " << d;
  }
}

std::vector<std::string> cases() {
  std::vector<std::string> v;
  for (const auto& e : fs::directory_iterator(fs::path(BRANTO_SOURCE_DIR) / "tests" / "runs"))
    if (fs::exists(e.path() / "in.dat")) v.push_back(e.path().filename().string());
  std::sort(v.begin(), v.end());
  return v;
}

INSTANTIATE_TEST_SUITE_P(Runs, WholeRun, ::testing::ValuesIn(cases()),
                         [](const auto& p) { return p.param; });

}  // namespace
