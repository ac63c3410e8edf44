// export_test.cpp -- the writers of the results: axis ticks and their labels, what the
// JSON does with values that are not finite and texts that are not UTF-8, the CSV
// records, and what the HTML shows of a stage that did not converge or warns. The whole
// outputs of the examples are checked against the schema and against each other by
// check_outputs.py.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstring>
#include <limits>

#include "export/export.h"
#include "export/svg.h"

namespace {

results::RunResults one_stage() {
  results::RunResults r;
  r.input = "wall <1>.dat";
  r.version = "1.0.0";
  r.date = "2023-11-14 22:13:20";
  results::Stage s;
  s.stage = 1;
  s.title = "A & B \"wall\"";
  s.unit_code = SI;
  s.units = {"SI", "M", "M", "KN", "KN-M", "KN/M", "KN-M**2", "RAD"};
  s.exit = "converged";
  s.exit_code = KXCONV;
  s.converged = true;
  s.increments = 2;
  s.increment = 0.5;
  s.wall_length = 1.0;
  auto& t = s.stations;
  t.station = {0, 1, 2};
  t.depth = {0.0, 0.5, 1.0};
  t.deflection = {0.1, 1.0 / 3.0, std::numeric_limits<double>::quiet_NaN()};
  for (auto* c : {&t.slope, &t.moment, &t.shear, &t.soil_reaction, &t.net_force, &t.rigidity, &t.applied_load,
                  &t.support_force})
    *c = {1.0E-300, -2.5, 0.0};
  s.warnings = {"THE <WALL> & ITS \"TIP\""};
  r.stages.push_back(s);
  return r;
}

}  // namespace

TEST(SVG, NiceTicks) {
  struct Case {
    double lo, hi;
    int target;
    double step;
    long long first, last;
  } cases[] = {
      {0, 1, 5, 0.2, 0, 5},
      {-0.0123, 0.0047, 4, 0.005, -3, 1},
      {0, 12, 8, 2, 0, 6},
      {-157400, 73450, 4, 50000, -4, 2},
      {0, 0, 4, 0.5, -2, 2},     // nothing to show: around zero
      {5, 5, 4, 0.2, 22, 28},    // one value: around it
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.lo) + " " + std::to_string(c.hi));
    const svg::Ticks t = svg::nice_ticks(c.lo, c.hi, c.target);
    EXPECT_DOUBLE_EQ(c.step, t.step);
    EXPECT_EQ(c.first, t.first);
    EXPECT_EQ(c.last, t.last);
    EXPECT_LE(t.lo(), c.lo);
    EXPECT_GE(t.hi(), c.hi);
  }
}

TEST(SVG, TickLabelsAreExactAndShort) {
  const auto text = [](double lo, double hi, int target, long long k) {
    return svg::tick_text(svg::nice_ticks(lo, hi, target), k);
  };
  EXPECT_EQ("0", text(0, 1, 5, 0));
  EXPECT_EQ("0.6", text(0, 1, 5, 3));  // not 0.6000000000000001
  EXPECT_EQ("-0.015", text(-0.0123, 0.0047, 4, -3));
  EXPECT_EQ("-200000", text(-157400, 73450, 4, -4));
  EXPECT_EQ("5e5", text(0, 2.0E6, 4, 1));
  EXPECT_EQ("6e-5", text(0, 1.0E-4, 5, 3));
  EXPECT_EQ("-1.5e-5", text(0, 2.0E-5, 4, -3));
  EXPECT_EQ("1.5e-13", text(0, 1.5E-13, 3, 3));
}

TEST(SVG, TextIsEscapedAndNonFinitePointsBreakTheLine) {
  svg::Chart c;
  c.title = "<M> & \"N\"";
  svg::Series s;
  s.key = "deflection";
  s.x = {0, 1, std::nan(""), 2, 3};
  s.y = {0, 1, 2, 3, 4};
  c.series.push_back(s);
  const std::string o = svg::render(c);
  EXPECT_NE(std::string::npos, o.find("&lt;M&gt; &amp; &quot;N&quot;"));
  EXPECT_EQ(std::string::npos, o.find("<M>"));
  std::size_t n = 0;
  for (std::size_t p = o.find("<polyline"); p != std::string::npos; p = o.find("<polyline", p + 1)) ++n;
  EXPECT_EQ(2u, n);
  EXPECT_EQ(std::string::npos, o.find("nan"));
}

TEST(JSON, NumbersReadBackExactlyAndNonFiniteIsNull) {
  results::RunResults r = one_stage();
  r.stages[0].title = "bad \xff byte";
  const auto j = nlohmann::json::parse(outputs::json_text(r));
  const auto& st = j["stages"][0]["stations"];
  EXPECT_EQ(1.0 / 3.0, st["deflection"][1].get<double>());  // bit for bit
  EXPECT_EQ(1.0E-300, st["slope"][0].get<double>());
  EXPECT_TRUE(st["deflection"][2].is_null());
  EXPECT_EQ("bad \xEF\xBF\xBD byte", j["stages"][0]["title"].get<std::string>());
  EXPECT_EQ(results::SCHEMA_VERSION, j["schema_version"].get<int>());
  EXPECT_TRUE(j["stages"][0]["water"].is_null());
}

TEST(CSV, OneRecordPerStationWithCrLf) {
  const std::string t = outputs::csv_text(one_stage());
  EXPECT_EQ(
      "stage,units,exit,station,depth,deflection,slope,moment,shear,soil_reaction,net_force,rigidity,applied_load,"
      "support_force\r\n"
      "1,SI,converged,0,0,0.1,1e-300,1e-300,1e-300,1e-300,1e-300,1e-300,1e-300,1e-300\r\n"
      "1,SI,converged,1,0.5,0.3333333333333333,-2.5,-2.5,-2.5,-2.5,-2.5,-2.5,-2.5,-2.5\r\n"
      "1,SI,converged,2,1,,0,0,0,0,0,0,0,0\r\n",
      t);
}

TEST(HTML, SelfContainedWithWarningsAndUnconvergedStagesMarked) {
  results::RunResults r = one_stage();
  results::Stage s = r.stages[0];
  s.stage = 2;
  s.exit = "not_closed";
  s.exit_code = KXLIMN;
  s.converged = false;
  s.warnings.clear();
  r.stages.push_back(s);
  const std::string h = outputs::html_text(r);
  EXPECT_EQ(std::string::npos, h.find("<script"));
  EXPECT_EQ(std::string::npos, h.find("http://www.w3.org/1999"));  // no external reference but the SVG namespace
  EXPECT_NE(std::string::npos, h.find("wall &lt;1&gt;.dat"));
  EXPECT_NE(std::string::npos, h.find("Stage 1: WARNING -- THE &lt;WALL&gt; &amp; ITS &quot;TIP&quot;"));
  EXPECT_NE(std::string::npos, h.find("A &amp; B &quot;wall&quot;"));
  EXPECT_NE(std::string::npos, h.find("NOT CLOSED at the iteration limit"));
  EXPECT_NE(std::string::npos, h.find("Not converged: the values shown are those of the last iteration"));
  EXPECT_NE(std::string::npos, h.find("Stage 2 (not converged)"));  // the envelope's legend
}
