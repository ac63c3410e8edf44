// The command-line host as a user meets it: the user's files kept safe, batches and sweeps
// with outputs identical to single runs, sharding, usage errors; and the parts of a sweep.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "sweep.h"

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

std::string slurp(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}
void spit(const fs::path& p, const std::string& text) {
  std::ofstream f(p, std::ios::binary);
  f << text;
}
std::string example(const std::string& name) { return slurp(fs::path(BRANTO_SOURCE_DIR) / "examples" / name); }
std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> v;
  std::istringstream ss(text);
  for (std::string l; std::getline(ss, l);) v.push_back(l.empty() || l.back() != '\r' ? l : l.substr(0, l.size() - 1));
  return v;
}
// Every file under dir (relative names), with its contents.
std::vector<std::pair<std::string, std::string>> tree(const fs::path& dir) {
  std::vector<std::pair<std::string, std::string>> v;
  for (const auto& e : fs::recursive_directory_iterator(dir))
    if (!e.is_directory()) v.emplace_back(fs::relative(e.path(), dir).string(), e.is_symlink() ? "->" : slurp(e.path()));
  std::sort(v.begin(), v.end());
  return v;
}

// A scratch folder: w/ where the host works, and the captured streams beside it.
struct Host : ::testing::Test {
  fs::path top, dir;
  int code = -1;
  std::string out, err;
  void SetUp() override {
    std::string t = (fs::temp_directory_path() / "branto-host-XXXXXX").string();
    ASSERT_NE(nullptr, mkdtemp(t.data()));
    top = t;
    dir = top / "w";
    fs::create_directories(dir);
    setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
  }
  void TearDown() override { fs::remove_all(top); }
  // The host with args, in cwd (the working folder by default); streams and status kept.
  int host(const std::string& args, const fs::path& cwd = {}) { return sh("'" BRANTO_EXE "' " + args, cwd); }
  int sh(const std::string& command, const fs::path& cwd = {}) {
    const std::string cmd = "cd '" + (cwd.empty() ? dir : cwd).string() + "' && { " + command + "; } >'" +
                            (top / "stdout").string() + "' 2>'" + (top / "stderr").string() + "'";
    const int s = std::system(cmd.c_str());
    code = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
    out = slurp(top / "stdout");
    err = slurp(top / "stderr");
    return code;
  }
  void put(const std::string& name, const std::string& text) const { spit(dir / name, text); }
};

}  // namespace

// An output that is the input, or two outputs that are one file: refused with a message
// that says what to do, and nothing in the folder changes.
TEST_F(Host, RefusesBeforeWritingAnythingWhenAnOutputIsTheInput) {
  const std::string good = example("softclay_cantilever.dat");
  struct Case {
    const char* what;
    std::string input, args;
    void (*arrange)(const fs::path&);
    const char* message;
  } cases[] = {
      // a tab-completion slip: the report of a good run given as the input
      {"report as input", "wall.out", "wall.out", nullptr, "would overwrite the input data file 'wall.out'"},
      {"log as input", "case.log", "case.log", nullptr, "the iteration log"},
      {"hard link", "w.dat", "--out-dir o w.dat",
       [](const fs::path& d) {
         fs::create_directories(d / "o");
         fs::create_hard_link(d / "w.dat", d / "o" / "w.plt");
       },
       "would overwrite the input data file"},
      {"symbolic link", "w.dat", "--out-dir o w.dat",
       [](const fs::path& d) {
         fs::create_directories(d / "o");
         fs::create_symlink("../w.dat", d / "o" / "w.out");
       },
       "would overwrite the input data file"},
      {"two outputs one file", "w.dat", "w.dat",
       [](const fs::path& d) {
         spit(d / "w.out", "old report\n");
         fs::create_symlink("w.out", d / "w.log");
       },
       "are one file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(dir);
    fs::create_directories(dir);
    put(c.input, good);
    if (c.input == "wall.out") {  // the plot file and log of the good run are there too
      put("wall.plt", "plot of the good run\n");
      put("wall.log", "log of the good run\n");
    }
    if (c.arrange) c.arrange(dir);
    const auto before = tree(dir);
    EXPECT_EQ(2, host(c.args));
    EXPECT_NE(std::string::npos, err.find(c.message)) << err;
    EXPECT_EQ(0u, err.find("branto: ")) << err;
    EXPECT_EQ("", out);
    EXPECT_TRUE(before == tree(dir));
  }
}

// Outputs that cannot be written: a message with the host's prefix, and only files that
// exist are listed as written.
TEST_F(Host, ListsOnlyFilesThatExist) {
  put("w.dat", example("softclay_cantilever.dat"));
  put("file", "a file, not a folder\n");
  EXPECT_EQ(2, host("--out-dir file/sub w.dat"));
  EXPECT_EQ(0u, err.find("branto: cannot make the output directory")) << err;
  EXPECT_EQ("", out);
  if (geteuid() != 0) {  // permissions do not hold for root
    fs::create_directories(dir / "ro");
    fs::permissions(dir / "ro", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(2, host("--out-dir ro w.dat"));
    EXPECT_NE(std::string::npos, err.find("branto: cannot write in the output directory")) << err;
    EXPECT_EQ("", out);
    fs::permissions(dir / "ro", fs::perms::owner_all);
  }
  // As a host does: NAMES.dat naming a plot file in a folder that does not exist. The
  // run writes nothing, so the report of an earlier run is not listed as written.
  put("NAMES.dat", "1.0\n\n\n0\nw.dat\nw.out\nmissing/w.plt\nw.log\nw.pyc\nw.prs\n");
  put("w.out", "the report of an earlier run\n");
  EXPECT_EQ(2, host("--names"));
  EXPECT_EQ("", out);
  EXPECT_EQ(0u, err.find("branto: cannot open plot output file 'missing/w.plt'")) << err;
}

// A folder whose path is longer than NAMES.dat can carry: the run goes through and the
// header names the true folder.
TEST_F(Host, RunsInAFolderWithALongPath) {
  fs::path deep = dir;
  while (deep.string().size() < 300) deep /= std::string(60, 'd');
  fs::create_directories(deep);
  spit(deep / "w.dat", example("softclay_cantilever.dat"));
  EXPECT_EQ(0, host("w.dat", deep)) << err;
  const auto report = lines(slurp(deep / "w.out"));
  EXPECT_NE(report.end(), std::find(report.begin(), report.end(),
                                    "     Path to file locations      : " + deep.string() + "/"));
  EXPECT_NE(report.end(), std::find(report.begin(), report.end(), "     Name of output file         : w.out"));
  EXPECT_TRUE(fs::exists(deep / "w.plt") && fs::exists(deep / "w.log"));
}

// The report header is true when the outputs go elsewhere.
TEST_F(Host, HeaderNamesTheOutputsWhereTheyAre) {
  put("w.dat", example("softclay_cantilever.dat"));
  ASSERT_EQ(0, host("--out-dir o w.dat")) << err;
  const auto report = lines(slurp(dir / "o" / "w.out"));
  const fs::path o = fs::canonical(dir / "o");
  for (const std::string& l : {"     Path to file locations      : " + fs::canonical(dir).string() + "/",
                               "     Name of input data file     : w.dat"s,
                               "     Name of output file         : " + (o / "w.out").string(),
                               "     Name of plot output file    : " + (o / "w.plt").string()})
    EXPECT_NE(report.end(), std::find(report.begin(), report.end(), l)) << l;
}

// Scratch files stay in the private folder unless kept; six runs of one input into one
// folder at once all succeed and leave the outputs of a single run.
TEST_F(Host, ScratchFilesAndConcurrentRuns) {
  put("w.dat", example("softclay_cantilever.dat"));
  ASSERT_EQ(0, host("w.dat")) << err;
  const auto single = tree(dir);
  ASSERT_EQ(4u, single.size());  // w.dat and the three outputs: no scratch, no private folder
  ASSERT_EQ(0, host("--keep-scratch -q w.dat")) << err;
  EXPECT_TRUE(fs::exists(dir / "w.curves") && fs::exists(dir / "w.pressures"));
  EXPECT_NE(std::string::npos, out.find("curves:        " + (dir / "w.curves").string()));
  fs::remove(dir / "w.curves");
  fs::remove(dir / "w.pressures");
  std::string all = "p=''; s=0; ";
  for (int i = 0; i < 6; ++i) all += "'" BRANTO_EXE "' -q w.dat & p=\"$p $!\"; ";
  ASSERT_EQ(0, sh(all + "for i in $p; do wait $i || s=1; done; exit $s")) << err;
  EXPECT_TRUE(single == tree(dir));
}

// A byte-order mark before the title is dropped; bytes that do not print are escaped in
// messages.
TEST_F(Host, ByteOrderMarkAndBinaryInput) {
  const std::string good = example("softclay_cantilever.dat");
  put("w.dat", good);
  ASSERT_EQ(0, host("w.dat"));
  const std::string plain = slurp(dir / "w.out");
  put("w.dat", "\xEF\xBB\xBF" + good);
  ASSERT_EQ(0, host("w.dat"));
  EXPECT_TRUE(plain == slurp(dir / "w.out"));
  put("w.dat", "title\n2 \x01\x02\xff 0 0 0 0 0 0 0 0 0 0\n");
  EXPECT_EQ(2, host("-q w.dat"));
  EXPECT_NE(std::string::npos, err.find("found '\\x01\\x02\\xFF'")) << err;
  EXPECT_EQ(std::string::npos, err.find('\x01'));
}

// `branto run`: outputs byte-identical to single runs, a failing input does not stop the
// others, one summary row per stage per file.
TEST_F(Host, BatchMatchesSingleRuns) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(fs::path(BRANTO_SOURCE_DIR) / "examples")) {
    if (e.path().extension() != ".dat") continue;
    fs::copy_file(e.path(), dir / e.path().filename());
    names.push_back(e.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  std::string args;
  for (const std::string& n : names) {
    ASSERT_LE(host("-q --out-dir o " + n), 1) << err;
    args += " " + n;
  }
  const auto single = tree(dir / "o");
  fs::remove_all(dir / "o");
  put("bad.dat", "title\n2 x\n");
  EXPECT_EQ(2, host("run -j 2 -q --out-dir o --summary s.csv bad.dat" + args)) << err;
  EXPECT_NE(std::string::npos, err.find("branto: bad.dat: ")) << err;
  fs::remove(dir / "o" / "bad.out");
  fs::remove(dir / "o" / "bad.plt");
  fs::remove(dir / "o" / "bad.log");
  EXPECT_TRUE(single == tree(dir / "o"));
  const auto rows = lines(slurp(dir / "s.csv"));
  ASSERT_GE(rows.size(), 3u);
  EXPECT_EQ(0u, rows[0].find("file,stage,exit,iterations,units,max_deflection,"));
  EXPECT_EQ(0u, rows[1].find("bad.dat,,input_error,")) << rows[1];
  std::size_t stages = 0;
  for (const std::string& l : lines(out)) stages += l.find(": stage ") != std::string::npos;
  EXPECT_EQ(stages + 2, rows.size());
  // The example with a tie back: every column filled but the message, full precision.
  const std::string tie = "english_sheet_pile_tieback.dat,1,converged,";
  const auto row = std::find_if(rows.begin(), rows.end(), [&](const std::string& r) { return r.starts_with(tie); });
  ASSERT_NE(rows.end(), row);
  std::vector<std::string> f(1);
  for (char c : *row) {
    if (c == ',') f.emplace_back();
    else f.back().push_back(c);
  }
  ASSERT_EQ(13u, f.size());
  for (std::size_t k = 0; k < 12; ++k) EXPECT_FALSE(f[k].empty()) << k;
  EXPECT_EQ("English", f[4]);
  EXPECT_GT(std::stod(f[9]) * std::stod(f[9]), 1.0);  // the force per tie back
  EXPECT_GE(f[5].size(), 10u);                         // not the report's four digits
}

// `branto sweep`: one run per row, the parameters beside the results, the union of the
// shards equal to the whole, each run the same as the plain run of its input.
TEST_F(Host, SweepAndShards) {
  std::string t = example("softclay_cantilever.dat");
  t.replace(t.find("18.0 40.0"), 9, "18.0 ${SU}");
  t.replace(t.find("0.0 60.0"), 8, "0.0 ${SU}");
  t.replace(t.find("1.0E-5"), 6, "${TOL}");
  put("wall.dat", t);
  put("p.csv", "SU,TOL\r\n30,1.0E-5\r\n\"40\",1.0E-4\r\n50 , 1.0E-5\r\n60,1.0E-6\r\n80,1.0E-5\r\n");
  ASSERT_EQ(1, host("sweep -q -j 2 wall.dat p.csv")) << err;  // row 1 deflects too far
  const auto whole = lines(slurp(dir / "wall-sweep" / "wall-summary.csv"));
  ASSERT_EQ(6u, whole.size());
  EXPECT_EQ("row,SU,TOL,file,stage,exit,", whole[0].substr(0, 27));
  EXPECT_EQ(0u, whole[1].find("1,30,1.0E-5,wall-1.dat,1,deflection_exceeded,")) << whole[1];
  EXPECT_TRUE(whole[1].ends_with(",SI,,,,,,0,1,")) << whole[1];  // no results, status 1
  EXPECT_EQ("3,50,1.0E-5,wall-3.dat,1,converged,", whole[3].substr(0, 35));
  std::vector<std::string> shards;
  for (int i = 1; i <= 3; ++i) {
    ASSERT_LE(host("sweep -q --shard " + std::to_string(i) + "/3 --out-dir s wall.dat p.csv"), 1) << err;
    const auto part = lines(slurp(dir / "s" / ("wall-summary-" + std::to_string(i) + "of3.csv")));
    EXPECT_EQ(whole[0], part[0]);
    shards.insert(shards.end(), part.begin() + 1, part.end());
  }
  std::sort(shards.begin(), shards.end());
  EXPECT_EQ(std::vector<std::string>(whole.begin() + 1, whole.end()), shards);
  for (const char* ext : {".plt", ".log"})  // the reports differ in the folder their headers name
    EXPECT_TRUE(slurp(dir / "wall-sweep" / ("wall-2"s + ext)) == slurp(dir / "s" / ("wall-2"s + ext))) << ext;
  const auto row2 = tree(dir / "wall-sweep");
  ASSERT_EQ(0, host("-q wall-sweep/wall-2.dat"));
  EXPECT_TRUE(row2 == tree(dir / "wall-sweep"));
  EXPECT_NE(std::string::npos, slurp(dir / "wall-sweep" / "wall-2.dat").find("18.0 40 0.0"));
}

// Usage errors say what was wrong; exit status 64, nothing written.
TEST_F(Host, UsageErrorsSayWhatWasWrong) {
  put("a.dat", "x\n");
  put("t.dat", "x ${A}\n${B}\n");
  put("p.csv", "A\n1\n");
  const struct {
    const char* args;
    const char* message;
  } cases[] = {
      {"a.dat b.dat", "one input data file expected, 2 given: 'a.dat' 'b.dat'"},
      {"--out-dir", "--out-dir"},
      {"", "no input data file given"},
      {"--names a.dat", "--names reads NAMES.dat"},
      {"a.dat run a.dat", "'run' must come first"},
      {"run -j 0 a.dat", "-j"},
      {"run", "FILE"},
      {"sweep --shard 3/2 t.dat p.csv", "--shard '3/2': expected i/n"},
      {"sweep t.dat p.csv", "'t.dat', line 2: no column of the table gives ${B}"},
      {"--bogus a.dat", "--bogus"},
      {"--curve-depths 3 a.dat", "--curve-depths"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    EXPECT_EQ(64, host(c.args));
    EXPECT_NE(std::string::npos, err.find(c.message)) << err;
  }
  EXPECT_EQ(3u, tree(dir).size());
}

TEST(Sweep, TableAndPlaceholders) {
  using host::read_table;
  auto t = read_table("\xEF\xBB\xBF" "A, B_2\r\n1,\"x, \"\"y\"\"\"\n\n 3 ,4\n", "p.csv");
  ASSERT_EQ("", t.error);
  EXPECT_EQ((std::vector<std::string>{"A", "B_2"}), t.names);
  EXPECT_EQ((std::vector<std::vector<std::string>>{{"1", "x, \"y\""}, {"3", "4"}}), t.rows);
  EXPECT_EQ((std::vector<int>{2, 4}), t.lines);
  const struct {
    const char* text;
    const char* error;
  } bad[] = {
      {"", "'p.csv', line 1: no column names"},
      {"A,A\n", "line 1: column 'A' is given twice"},
      {"A,2B\n", "line 1: column name '2B' is not a placeholder name"},
      {"A,B\n1\n", "line 2: 1 values for 2 columns"},
      {"A,B\n1,\n", "line 2: no value for B"},
      {"A\n\"1\n", "line 2: a quoted value is not closed"},
      {"A\n\"1\"x\n", "line 2: text after a quoted value"},
  };
  for (const auto& b : bad) EXPECT_NE(std::string::npos, read_table(b.text, "p.csv").error.find(b.error)) << b.text;
  std::set<std::string> used;
  EXPECT_EQ("a 1 $x 2", host::fill("a ${A} $x ${B}", {"A", "B"}, {"1", "2"}, "t", &used));
  EXPECT_EQ((std::set<std::string>{"A", "B"}), used);
  EXPECT_THROW(host::fill("\n${A B}", {"A"}, {"1"}, "t", nullptr), std::runtime_error);
  int i = 0, n = 0;
  EXPECT_TRUE(host::parse_shard("2/8", i, n));
  EXPECT_EQ(2, i);
  EXPECT_EQ(8, n);
  for (const char* s : {"0/2", "3/2", "1/0", "1", "a/b", "1/2x", "/2"}) EXPECT_FALSE(host::parse_shard(s, i, n)) << s;
}
