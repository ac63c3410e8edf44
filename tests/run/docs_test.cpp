// The input reference docs/input.md and the examples' notes against the program: every
// record and field that the reader names is described, the walk-through builds the
// bundled example it says it builds, and each example gives the summary its note states.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "run/run.h"
#include "runcase.h"

namespace {

namespace fs = std::filesystem;

const fs::path SRC = BRANTO_SOURCE_DIR;

std::string slurp(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Record names and field names as the readers of src/run give them to the input messages:
// the first item of a record description ({"soil record", 0, "NL LOADING CYCLES"}), the
// names built with CSREC, with "W + ", name"" and by the bar and skip helpers, and the
// field lists.
void reader_names(std::set<std::string>& records, std::set<std::string>& fields) {
  const std::regex rec(R"re(LINP,\s*\{\s*"([^"]+)")re");
  const std::regex csrec(R"re(CSREC\(\s*\w+\s*,\s*"([^"]+)"\))re");
  const std::regex part(R"re(\+\s*",\s*([a-z][a-z0-9 -]*)")re");
  const std::regex helper(R"re((?:RDBARS|SKIPRL)\(run,\s*I,[^"]*"([^"]+)")re");
  const std::regex names(R"re(\{[^{};]*,\s*[^,{};]+,\s*"([A-Z][A-Z0-9 ]*)"\s*\})re");
  for (const auto& e : fs::directory_iterator(SRC / "src" / "run")) {
    if (e.path().extension() != ".cpp") continue;
    const std::string text = slurp(e.path());
    for (const std::regex* r : {&rec, &csrec, &part, &helper})
      for (std::sregex_iterator i(text.begin(), text.end(), *r), end; i != end; ++i) records.insert((*i)[1]);
    for (std::sregex_iterator i(text.begin(), text.end(), names), end; i != end; ++i) {
      std::istringstream w((*i)[1]);
      for (std::string f; w >> f;) fields.insert(f);
    }
  }
}

TEST(DOCS, EveryRecordAndFieldOfTheReaderIsInTheReference) {
  std::set<std::string> records, fields;
  reader_names(records, fields);
  // The patterns must keep finding the readers' names (a change of their form would
  // otherwise pass unnoticed).
  ASSERT_GE(records.size(), 45u);
  ASSERT_GE(fields.size(), 150u);
  for (const char* r : {"title record", "second control record", "soil layer top record", "record N5", "bar"})
    EXPECT_TRUE(records.count(r)) << r;
  const std::string doc = slurp(SRC / "docs" / "input.md");
  ASSERT_FALSE(doc.empty());
  const std::string ldoc = lower(doc);
  for (const std::string& r : records) EXPECT_NE(std::string::npos, ldoc.find(lower(r))) << "record \"" << r << "\"";
  for (const std::string& f : fields)
    EXPECT_TRUE(std::regex_search(doc, std::regex("\\b" + f + "\\b"))) << "field " << f;
}

// The words of a line of the reference or of a unit: split at blanks and at the marks of
// tables, emphasis and lists.
std::set<std::string> unit_words(std::string_view t) {
  std::set<std::string> w;
  std::string cur;
  for (char c : std::string(t) + " ") {
    if (std::string_view(" |*();,`").find(c) != std::string_view::npos) {
      if (!cur.empty()) w.insert(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  return w;
}

// The units that `branto check` gives each field are those of the reference: a line of
// the reference names the field in code and gives both units.
TEST(DOCS, UnitTableAgreesWithTheReference) {
  std::vector<std::string> doc;
  {
    std::istringstream ss(slurp(SRC / "docs" / "input.md"));
    for (std::string l; std::getline(ss, l);) doc.push_back(l);
  }
  ASSERT_GE(UNITAB().size(), 60u);
  for (const FieldUnit& f : UNITAB()) {
    const std::regex code("`[^`]*\\b" + std::string(f.field) + "\\b[^`]*`");
    std::set<std::string> want = unit_words(f.english);
    want.merge(unit_words(f.si));
    bool found = false;
    for (const std::string& l : doc) {
      if (!std::regex_search(l, code)) continue;
      const std::set<std::string> have = unit_words(l);
      found = found || std::includes(have.begin(), have.end(), want.begin(), want.end());
    }
    EXPECT_TRUE(found) << f.record << " " << f.field << ": no line of docs/input.md names `" << f.field << "` with "
                       << f.english << " and " << f.si;
  }
}

TEST(DOCS, WalkThroughIsTheBundledExample) {
  const std::string doc = slurp(SRC / "docs" / "input.md");
  const std::regex block(R"re(```dat\n([\s\S]*?)```)re");
  std::string built;
  int n = 0;
  for (std::sregex_iterator i(doc.begin(), doc.end(), block), end; i != end; ++i, ++n) built += (*i)[1];
  EXPECT_GE(n, 10);
  EXPECT_EQ(slurp(SRC / "examples" / "si_sand_cantilever.dat"), built);
}

TEST(DOCS, EveryExampleHasItsNote) {
  int n = 0;
  for (const auto& e : fs::directory_iterator(SRC / "examples")) {
    if (e.path().extension() != ".dat") continue;
    ++n;
    fs::path note = e.path();
    note.replace_extension(".md");
    EXPECT_TRUE(fs::exists(note)) << note;
  }
  EXPECT_GE(n, 10);
}

// An example's note states the host's summary line of each stage; the run must give the
// largest deflection and moment of each within 0.1 %.
struct Expected {
  int stage;
  double wmax, xmmax;
};

std::vector<Expected> expected_summary(const std::string& note) {
  const std::regex line(R"re(stage ([0-9]+): .*largest deflection +(\S+) \S+, largest moment +(\S+))re");
  std::vector<Expected> v;
  for (std::sregex_iterator i(note.begin(), note.end(), line), end; i != end; ++i)
    v.push_back({std::stoi((*i)[1]), std::stod((*i)[2]), std::stod((*i)[3])});
  return v;
}

class ExampleSummary : public ::testing::TestWithParam<std::string> {};

TEST_P(ExampleSummary, LargestDeflectionAndMomentAsItsNoteStates) {
  const fs::path ex = SRC / "examples" / GetParam();
  const std::vector<Expected> want = expected_summary(slurp(ex.string() + ".md"));
  ASSERT_FALSE(want.empty()) << GetParam() << ".md states no summary";
  RunCase c("summary-" + GetParam());
  c.names();
  c.file("in.dat", slurp(ex.string() + ".dat"));
  ASSERT_EQ(RC_OK, c.run()) << c.console;
  EXPECT_FALSE(c.summary.input_error) << c.summary.message;
  ASSERT_EQ(want.size(), c.summary.problems.size());
  for (const Expected& w : want) {
    SCOPED_TRACE("stage " + std::to_string(w.stage));
    ASSERT_GE(w.stage, 1);
    ASSERT_LE(w.stage, static_cast<int>(c.summary.problems.size()));
    const ProblemSummary& p = c.summary.problems[static_cast<std::size_t>(w.stage - 1)];
    EXPECT_EQ(w.stage, p.NPROB);
    EXPECT_NEAR(w.wmax, p.WMAX, 1.0E-3 * std::fabs(w.wmax));
    EXPECT_NEAR(w.xmmax, p.XMMAX, 1.0E-3 * std::fabs(w.xmmax));
  }
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleSummary,
                         ::testing::Values("si_sand_cantilever", "english_anchored_two_stages",
                                           "si_stiff_clay_shaft_wall", "english_soft_clay_pile"));

}  // namespace
