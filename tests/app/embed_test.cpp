// Analyses embedded in a program (the Python package): names given to the engine directly,
// no change of the current directory, a model per run; runs in several threads at once
// give what the same runs give one by one, and write nothing unless asked.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>
#include <vector>

#include "common.h"
#include "export/export.h"

namespace fs = std::filesystem;

namespace {

std::string slurp(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

struct Embedded {
  host::Outcome out;
  std::string json, console, outcome;
};

// One embedded analysis of an example, or of text; outputs into dir when it is given.
Embedded embedded(const std::string& input, const std::string& dir = "", const std::string* text = nullptr) {
  host::Options o;
  o.out_dir = dir;
  o.json = !dir.empty();
  host::Embedding emb;
  auto m = std::make_unique<Model>();
  emb.model = m.get();
  emb.write = !dir.empty();
  emb.from_text = text != nullptr;
  if (text != nullptr) emb.text = *text;
  Embedded e;
  e.out = host::analyse(host::job_for(input, o), o, false, &emb);
  e.json = outputs::json_text(emb.results);
  e.console = e.out.notices;
  e.outcome = emb.outcome;
  return e;
}

const char* const EXAMPLES[] = {"softclay_cantilever", "softclay_staged_tieback", "seven_soils_shafts",
                                "si_nonlinear_shafts", "english_anchored_two_stages", "si_drilled_shafts_user_curves"};
fs::path example(const char* name) { return fs::path(BRANTO_SOURCE_DIR) / "examples" / (std::string(name) + ".dat"); }

struct Embed : ::testing::Test {
  fs::path top;
  void SetUp() override {
    std::string t = (fs::temp_directory_path() / "branto-embed-XXXXXX").string();
    ASSERT_NE(nullptr, mkdtemp(t.data()));
    top = t;
  }
  void TearDown() override { fs::remove_all(top); }
};

// Six inputs, each in four threads at once, three rounds: every run's JSON, console and
// summary lines equal those of the same input run alone; the current directory never moves.
TEST_F(Embed, ConcurrentRunsEqualSingleRuns) {
  ASSERT_EQ(0, setenv("SOURCE_DATE_EPOCH", "1700000000", 1));  // one date in every JSON
  std::vector<Embedded> alone;
  for (const char* ex : EXAMPLES) alone.push_back(embedded(example(ex)));
  const fs::path here = fs::current_path();
  constexpr int THREADS = 4, ROUNDS = 3;
  const int N = static_cast<int>(std::size(EXAMPLES));
  std::vector<Embedded> got(THREADS * ROUNDS * N);
  std::vector<std::thread> pool;
  for (int t = 0; t < THREADS; ++t)
    pool.emplace_back([&, t] {
      for (int i = 0; i < ROUNDS * N; ++i) got[t * ROUNDS * N + i] = embedded(example(EXAMPLES[(i + t) % N]));
    });
  for (std::thread& th : pool) th.join();
  EXPECT_EQ(here, fs::current_path());
  for (int t = 0; t < THREADS; ++t)
    for (int i = 0; i < ROUNDS * N; ++i) {
      const Embedded& a = alone[(i + t) % N];
      const Embedded& g = got[t * ROUNDS * N + i];
      SCOPED_TRACE(EXAMPLES[(i + t) % N]);
      EXPECT_EQ(a.json, g.json);
      EXPECT_EQ(a.console, g.console);
      EXPECT_EQ(a.out.lines, g.out.lines);
      EXPECT_EQ(host::EX_OK, g.out.status);
    }
  unsetenv("SOURCE_DATE_EPOCH");
}

// Written outputs are those of the host's own run, byte for byte; without outputs asked
// for, nothing is left anywhere (the private directory is in the temporary directory).
TEST_F(Embed, OutputsAsTheHostWritesThemAndNothingElse) {
  ASSERT_EQ(0, setenv("SOURCE_DATE_EPOCH", "1700000000", 1));
  // Both into one directory (the report header names it): the host's outputs moved aside.
  const fs::path a = top / "a", b = top / "b";
  host::Options o;
  o.out_dir = a.string();
  o.json = true;
  const host::Outcome h = host::analyse(host::job_for(example("softclay_staged_tieback"), o), o, false);
  fs::rename(a, b);
  const Embedded e = embedded(example("softclay_staged_tieback"), a.string());
  for (const char* ext : {".out", ".plt", ".log", ".json"}) {
    SCOPED_TRACE(ext);
    const std::string name = std::string("softclay_staged_tieback") + ext;
    ASSERT_TRUE(fs::exists(a / name));
    EXPECT_EQ(slurp(b / name), slurp(a / name));
  }
  EXPECT_EQ(h.lines, e.out.lines);
  EXPECT_EQ(4u, std::distance(fs::directory_iterator(a), fs::directory_iterator{}));
  unsetenv("SOURCE_DATE_EPOCH");

  // Text in, nothing out: the temporary directory as it was.
  ASSERT_EQ(0, setenv("TMPDIR", top.c_str(), 1));
  const std::string text = slurp(example("softclay_cantilever"));
  const Embedded t = embedded("wall.dat", "", &text);
  unsetenv("TMPDIR");
  EXPECT_EQ("ok", t.outcome);
  EXPECT_EQ(embedded(example("softclay_cantilever")).out.lines, t.out.lines);
  EXPECT_EQ(2, std::distance(fs::directory_iterator(top), fs::directory_iterator{}));  // a and b
}

// Mistakes come back with the engine's messages; a missing input is refused.
TEST_F(Embed, Failures) {
  const std::string bad = "TITLE\n1 2 x\n";
  const Embedded e = embedded("bad.dat", "", &bad);
  EXPECT_EQ("input_error", e.outcome);
  EXPECT_NE(std::string::npos, e.out.error.find("bad.dat")) << e.out.error;
  const Embedded m = embedded((top / "missing.dat").string());
  EXPECT_EQ("refused", m.outcome);
  EXPECT_NE(std::string::npos, m.out.error.find("cannot read the input data file")) << m.out.error;
}

}  // namespace
