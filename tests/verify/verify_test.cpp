// verify_test.cpp -- the verification catalogue: the formulas of the case descriptions,
// the p-y curves computed by hand, and the comparison itself, which must fail a quantity
// off its reference and a case whose run fails.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "formula.h"
#include "verify.h"
#include "verify_cmd.h"

namespace {

namespace fs = std::filesystem;
using verify::evaluate;

}  // namespace

TEST(FORMULA, PrecedenceAssociativityAndFunctions) {
  const verify::Vars v{{"a", 2.0}, {"b_2", 5.0}};
  const struct {
    const char* text;
    double value;
  } CASES[] = {
      {"1 + 2 * 3", 7},        {"(1 + 2) * 3", 9},      {"2 - 3 - 4", -5},       {"10 / 4 / 5", 0.5},
      {"-2^2", -4},            {"2^-1", 0.5},           {"2^3^2", 512},          {"-a * -b_2", 10},
      {"1.5E2 + .5", 150.5},   {"min(a, 3) + max(a, 3)", 5}, {"cos(pi)", -1},   {"rad(180)", M_PI},
      {"sqrt(16) + abs(-1)", 5}, {"log10(1000) + ln(exp(2))", 5}, {"atan(1) * 4", M_PI},
  };
  for (const auto& c : CASES) EXPECT_NEAR(c.value, evaluate(c.text, v), 1.0E-12) << c.text;
}

TEST(FORMULA, ErrorsNameTheFault) {
  const verify::Vars v{{"a", 1.0}};
  const struct {
    const char* text;
    const char* says;
  } CASES[] = {{"a + c", "unknown name 'c'"}, {"foo(1)", "unknown function 'foo'"}, {"min(1)", "min takes 2 arguments"},
               {"1 2", "unexpected '2'"},     {"(1 + 2", "')' expected"},          {"2 *", "formula ends early"}};
  for (const auto& c : CASES) {
    try {
      evaluate(c.text, v);
      ADD_FAILURE() << c.text << " evaluated";
    } catch (const verify::FormulaError& e) {
      EXPECT_NE(std::string::npos, std::string(e.what()).find(c.says)) << e.what();
    }
  }
}

// The hand curves pass through their characteristic points and join their branches
// without a step, so a typo in one branch shows. The papers round their constants (0.72
// for 0.5 * 3^(1/3) = 0.7211, 0.936, 0.411): steps of up to 0.2 % are theirs.
TEST(HANDPY, CharacteristicPointsAndContinuity) {
  const verify::Vars v;
  const auto p = [&](const std::string& f) { return evaluate(f, v); };
  // stiff clay with free water at x/b = 2.78: As between the chart's 0.55 (2) and 0.59 (3)
  const double AS = 0.55 + 0.04 * (2.5 / 0.9 - 2);
  // soft clay, x = 2.5, b = 0.9, c = 20, gamma 18, e50 0.01: pu = 6.6389 c b, y50 = 0.0225
  const double PU = (3 + 18 * 2.5 / 20 + 0.5 * 2.5 / 0.9) * 20 * 0.9, Y50 = 0.0225;
  EXPECT_NEAR(0.5 * PU, p("py_soft_clay(0.0225, 2.5, 0.9, 20, 18, 0.01, 0)"), 1.0E-9);
  EXPECT_NEAR(PU, p("py_soft_clay(0.18, 2.5, 0.9, 20, 18, 0.01, 0)"), 1.0E-9);
  const double XR = 6 * 20 * 0.9 / (18 * 0.9 + 0.5 * 20);
  EXPECT_NEAR(0.72 * PU * 2.5 / XR, p("py_soft_clay(1.0, 2.5, 0.9, 20, 18, 0.01, 1)"), 1.0E-9);
  const struct {
    const char* f;  // with Y for the deflection
    double y;       // a branch point
  } JOINS[] = {
      {"py_soft_clay(Y, 2.5, 0.9, 20, 18, 0.01, 1)", 3 * Y50},
      {"py_soft_clay(Y, 2.5, 0.9, 20, 18, 0.01, 1)", 15 * Y50},
      {"py_sand(Y, 2.5, 0.9, 35, 18, 24400, 0)", 3 * 0.9 / 80},
      {"py_sand(Y, 2.5, 0.9, 35, 18, 24400, 1)", 3 * 0.9 / 80},
      {"py_stiff_clay_water(Y, 2.5, 0.9, 100, 100, 10, 0.005, 1.0E9, 0)", AS * 0.0045},
      {"py_stiff_clay_water(Y, 2.5, 0.9, 100, 100, 10, 0.005, 1.0E9, 0)", 6 * AS * 0.0045},
      {"py_stiff_clay_water(Y, 2.5, 0.9, 100, 100, 10, 0.005, 1.0E9, 1)", 0.6 * 4.1 * AS * 0.0045},
      {"py_stiff_clay_water(Y, 2.5, 0.9, 100, 100, 10, 0.005, 1.0E9, 1)", 1.8 * 4.1 * AS * 0.0045},
      {"py_stiff_clay_dry(Y, 2.5, 0.9, 100, 19, 0.005, 100, 1)", 0.01125 * 35.2},
      {"py_rock(Y, 0.9, 5000)", 0.0004 * 0.9},
      {"py_weak_rock(Y, 2.5, 0.9, 2000, 200000, 0.0005, 50)", 16 * 0.00045},
  };
  for (const auto& j : JOINS) {
    const auto at = [&](double y) { return evaluate(j.f, {{"Y", y}}); };
    const double below = at(j.y * (1 - 1.0E-9)), above = at(j.y * (1 + 1.0E-9));
    EXPECT_NEAR(below, above, 2.0E-3 * std::fabs(below)) << j.f << " at " << j.y;
    // and the point is a branch point: the slope changes there
    const double d = 1.0E-4 * j.y, s1 = (at(j.y) - at(j.y - d)) / d, s2 = (at(j.y + d) - at(j.y)) / d;
    EXPECT_GT(std::fabs(s1 - s2), 1.0E-3 * std::fabs(s1)) << j.f << " at " << j.y;
  }
  // The paper's rounded last branch of stiff clay with free water: 1.225 for 0.5 sqrt(6).
  const double A = AS, PC = 2 * 100 * 0.9 + 10 * 0.9 * 2.5 + 2.83 * 100 * 2.5;
  EXPECT_NEAR(PC * (1.225 * std::sqrt(A) - 0.75 * A - 0.411),
              p("py_stiff_clay_water(1, 2.5, 0.9, 100, 100, 10, 0.005, 1.0E9, 0)"), 1.0E-9);
  // Weak rock: at xr = 3b both forms of pur give 5.2 alpha_r qu b.
  EXPECT_NEAR(5.2 * (2.0 / 3.0) * 2000 * 0.9, p("py_weak_rock(1, 2.7, 0.9, 2000, 200000, 0.0005, 50)"), 1.0E-9);
  EXPECT_NEAR(5.2 * (2.0 / 3.0) * 2000 * 0.9, p("py_weak_rock(1, 2.7000001, 0.9, 2000, 200000, 0.0005, 50)"), 1.0E-9);
}

namespace {

// A scratch directory with the input of a beam on springs and descriptions written by a test.
struct Scratch {
  fs::path dir = fs::temp_directory_path() / ("branto-verify-test-" + std::to_string(getpid()));
  Scratch() {
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::copy_file(fs::path(BRANTO_SOURCE_DIR) / "verification" / "beam_free_load_h2.dat", dir / "beam.dat");
  }
  ~Scratch() { fs::remove_all(dir); }
  void file(const std::string& name, const std::string& text) const { std::ofstream(dir / name) << text; }
};

const char* BEAM_CASE = R"({
  "title": "beam", "source": "test",
  "inputs": {"run": "beam.dat"},
  "parameters": {"EI": 5.0e4, "k": 5000, "P": 100},
  "define": {"beta": "(k / (4 * EI))^0.25"},
  "quantities": [
    {"quantity": "y0", "take": {"what": "deflection", "station": 0}, "reference": "2 * P * beta / k",
     "tolerance": {"relative": 0.001}},
    {"quantity": "y0 off", "take": {"what": "deflection", "station": 0}, "reference": "2.01 * P * beta / k",
     "tolerance": {"relative": 0.001}},
    {"quantity": "y0 known", "take": {"what": "deflection", "station": 0}, "reference": "2.01 * P * beta / k",
     "expected": "2 * P * beta / k", "known_difference": "a test", "tolerance": {"relative": 0.001}},
    {"quantity": "y0 in mm to 3 digits", "unit": "mm", "take": {"what": "deflection", "station": 0}, "scale": 1000,
     "reference": "2000 * P * beta / k", "tolerance": {"significant": 3}},
    {"quantity": "no such station", "take": {"what": "moment", "station": 999}, "reference": 0,
     "tolerance": {"absolute": 1}}
  ]
})";

}  // namespace

TEST(VERIFY, QuantitiesOffTheirReferenceFailAndKnownDifferencesPass) {
  Scratch s;
  s.file("beam.json", BEAM_CASE);
  s.file("broken.json", R"({"title": "t", "source": "s", "inputs": {"run": "missing.dat"}, "quantities": []})");
  const verify::Catalogue c = verify::run_catalogue(s.dir.string(), host::run_quiet);
  ASSERT_EQ(2u, c.cases.size());
  const verify::Case& beam = c.cases[0];
  ASSERT_TRUE(beam.error.empty()) << beam.error;
  ASSERT_EQ(7u, beam.rows.size());  // five quantities and the two equilibrium residuals
  const bool PASS[] = {true, false, true, true, false, true, true};
  for (std::size_t i = 0; i < beam.rows.size(); ++i) EXPECT_EQ(PASS[i], beam.rows[i].pass) << beam.rows[i].quantity;
  EXPECT_NEAR(200.0 / 201, beam.rows[2].expected / beam.rows[2].reference, 1.0E-12);
  EXPECT_NEAR(0.05, beam.rows[3].tolerance, 1.0E-9);  // half a unit of the third digit of 15.9 mm
  EXPECT_NE(std::string::npos, beam.rows[4].error.find("no station 999"));
  EXPECT_NE(std::string::npos, c.cases[1].error.find("missing.dat"));
  EXPECT_FALSE(c.pass());
  EXPECT_EQ(3, c.failed());
  const std::string t = verify::table_text(c);
  EXPECT_EQ(0u, t.find("case    source  quantity"));
  EXPECT_NE(std::string::npos, t.find("\n7 quantities in 2 cases: 3 failed (0 of 2 cases pass)\n"));
  const std::string md = verify::markdown(c);
  EXPECT_NE(std::string::npos, md.find("(1) known difference: a test"));
  EXPECT_NE(std::string::npos, md.find("`beta = (k / (4 * EI))^0.25`"));
}

TEST(VERIFY, OrderOfTheErrorFromThreeSolutions) {
  Scratch s;
  for (const char* h : {"h1", "h2", "h4"})
    fs::copy_file(fs::path(BRANTO_SOURCE_DIR) / "verification" / (std::string("cantilever_") + h + ".dat"),
                  s.dir / (std::string(h) + ".dat"));
  s.file("order.json", R"({"title": "t", "source": "s", "inputs": {"h1": "h1.dat", "h2": "h2.dat", "h4": "h4.dat"},
    "quantities": [{"quantity": "order", "take": {"what": "order", "inputs": ["h1", "h2", "h4"],
      "of": {"what": "deflection", "station": 0}}, "reference": 2, "tolerance": {"absolute": 0.05}}]})");
  const verify::Case c = verify::run_case((s.dir / "order.json").string(), host::run_quiet);
  ASSERT_TRUE(c.error.empty()) << c.error;
  EXPECT_NEAR(2.0, c.rows[0].computed, 0.05);
  EXPECT_TRUE(c.pass());
}
