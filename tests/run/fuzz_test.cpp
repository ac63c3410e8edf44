// Mutated and truncated copies of the example inputs through whole runs: every run ends
// with a return code (no crash, no overrun: run under the sanitizers), and malformed
// input is reported with the file, the line and the record.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <regex>

#include "runcase.h"

namespace {

std::string slurp(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

// Blank-separated tokens of the text, as (position, length).
std::vector<std::pair<std::size_t, std::size_t>> tokens(const std::string& t) {
  std::vector<std::pair<std::size_t, std::size_t>> v;
  std::size_t i = 0;
  while (i < t.size()) {
    while (i < t.size() && (t[i] == ' ' || t[i] == '\n')) ++i;
    const std::size_t b = i;
    while (i < t.size() && t[i] != ' ' && t[i] != '\n') ++i;
    if (i > b) v.emplace_back(b, i - b);
  }
  return v;
}

// One mutation of the text: a token replaced, a line dropped or doubled, or the file cut.
std::string mutate(const std::string& t, std::mt19937& g) {
  static const char* const VALUES[] = {"-1", "0", "1", "2", "3", "5", "7", "9", "10", "11", "12", "21", "41", "101",
                                       "401", "1000", "99999", "-99999", "2147483647", "-2147483648", "2147483648",
                                       "1E300", "-1E300", "1E-300", "0.0", "2.5", "x", "'A B'", "/", ",,", "3*1",
                                       "1e999", "nan"};
  std::string s = t;
  const int kind = std::uniform_int_distribution<int>(0, 9)(g);
  if (kind <= 5) {  // replace one to three tokens
    const int n = 1 + std::uniform_int_distribution<int>(0, 2)(g);
    for (int k = 0; k < n; ++k) {
      const auto tok = tokens(s);
      const auto& p = tok[std::uniform_int_distribution<std::size_t>(0, tok.size() - 1)(g)];
      s.replace(p.first, p.second, VALUES[std::uniform_int_distribution<std::size_t>(0, std::size(VALUES) - 1)(g)]);
    }
  } else if (kind <= 7) {  // drop or double a line
    std::vector<std::size_t> starts{0};
    for (std::size_t i = 0; i + 1 < s.size(); ++i)
      if (s[i] == '\n') starts.push_back(i + 1);
    const std::size_t k = std::uniform_int_distribution<std::size_t>(0, starts.size() - 1)(g);
    const std::size_t e = k + 1 < starts.size() ? starts[k + 1] : s.size();
    const std::string line = s.substr(starts[k], e - starts[k]);
    if (kind == 6) {
      s.erase(starts[k], e - starts[k]);
    } else {
      s.insert(starts[k], line);
    }
  } else {  // truncate
    s.resize(std::uniform_int_distribution<std::size_t>(0, s.size())(g));
  }
  return s;
}

}  // namespace

TEST(FUZZ, MutatedExampleInputsEndCleanly) {
  const std::filesystem::path ex = std::filesystem::path(BRANTO_SOURCE_DIR) / "examples";
  const char* const FILES[] = {"english_sheet_pile_tieback.dat", "si_drilled_shafts_user_curves.dat",
                               "si_nonlinear_shafts.dat"};
  const std::regex located(R"(^in\.dat, line [0-9]+: [a-zA-Z].*)");
  std::mt19937 g(20240611);
  std::error_code ec;
  const bool shm = std::filesystem::is_directory("/dev/shm", ec);
  RunCase c("fuzz", shm ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path());
  c.names();
  int runs = 0, input_errors = 0, checks = 0;
  for (const char* f : FILES) {
    const std::string base = slurp(ex / f);
    ASSERT_FALSE(base.empty()) << f;
    for (int k = 0; k < 300; ++k) {
      std::string s = mutate(base, g);
      if (k % 3 == 0) s = mutate(s, g);
      // One model for every run, as a host process keeps it; new output files each time.
      c.summary = RunSummary{};
      for (const char* o : {"in.out", "in.plt", "in.log", "in.dat"}) std::filesystem::remove(c.dir / o);
      c.file("in.dat", s);
      const int rc = c.run();
      ++runs;
      const bool ok = rc == RC_OK || rc == RC_INPUT || rc == RC_STOP;
      EXPECT_TRUE(ok) << f << " #" << k << " code " << rc << ": " << c.summary.message << "\n" << s;
      if (rc == RC_INPUT) {
        ++input_errors;
        EXPECT_TRUE(std::regex_match(c.summary.message, located)) << f << " #" << k << ": " << c.summary.message;
      }
      if (rc == RC_OK && c.summary.input_error) ++checks;
      if (!ok) return;
    }
  }
  // The mutations must reach both kinds of ending.
  EXPECT_GT(input_errors, runs / 10);
  EXPECT_GT(checks, 0);
}
