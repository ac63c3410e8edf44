// verify.cpp -- the verification catalogue: reads each case description, runs its input
// data files, takes the compared quantities from the results of their problems, evaluates
// the reference formulas and writes the comparison as a console table or as Markdown.
#include "verify.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>

#include "formula.h"
#include "run/run.h"

namespace verify {

namespace fs = std::filesystem;
using json = nlohmann::ordered_json;

namespace {

// A fault of a description or of a quantity: its message goes into the case or the row.
struct Fault : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// ---------------------------------------------------------------------------
// Quantities taken from the problems of a run.

struct Runs {
  std::vector<std::string> names;              // the names of the case's inputs, in order
  std::map<std::string, std::vector<Problem>> problems;
};

const Problem& problem(const Runs& r, const json& take) {
  const std::string in = take.value("input", r.names.front());
  const auto it = r.problems.find(in);
  if (it == r.problems.end()) throw Fault("no input '" + in + "'");
  const int n = take.value("stage", 1);
  if (n < 1 || n > static_cast<int>(it->second.size()))
    throw Fault("input '" + in + "' has no problem " + std::to_string(n));
  return it->second[n - 1];
}

const std::vector<double>& station_column(const results::StationTable& t, const std::string& what) {
  if (what == "deflection") return t.deflection;
  if (what == "slope") return t.slope;
  if (what == "moment") return t.moment;
  if (what == "shear") return t.shear;
  if (what == "soil_reaction") return t.soil_reaction;
  throw Fault("no station column '" + what + "'");
}

const std::vector<double>& pressure_column(const results::Pressures& p, const std::string& what) {
  const std::pair<const char*, const std::vector<double>*> COLS[] = {
      {"load", &p.load},         {"active", &p.active},   {"surcharge", &p.surcharge}, {"passive", &p.passive},
      {"at_rest", &p.at_rest},   {"earth", &p.earth},     {"water", &p.water},         {"surface", &p.surface},
      {"sigmah", &p.sigmah},     {"envelope", &p.envelope}, {"total", &p.total}};
  for (const auto& [name, col] : COLS)
    if (what == name) return *col;
  throw Fault("no pressure column '" + what + "'");
}

double layer_field(const EarthLayer& l, const std::string& f) {
  const std::pair<const char*, double> FIELDS[] = {{"KA", l.KA},   {"KP", l.KP},   {"K0", l.K0},   {"PA1", l.PA1},
                                                   {"PA2", l.PA2}, {"PA3", l.PA3}, {"PA4", l.PA4}, {"PW1", l.PW1},
                                                   {"PW2", l.PW2}, {"Z1", l.Z1},   {"Z2", l.Z2},   {"Z3", l.Z3}};
  for (const auto& [name, v] : FIELDS)
    if (f == name) return v;
  throw Fault("no layer field '" + f + "'");
}

constexpr double DEPTH_MATCH = 1.0E-6;  // a table depth is the one asked within this

// Rows of the pressure table from depth A to depth B, each depth once: where the table
// gives a depth twice (the excavation level of the envelopes), the first row.
std::vector<std::size_t> pressure_rows(const results::Pressures& p, double A, double B) {
  std::vector<std::size_t> rows;
  for (std::size_t i = 0; i < p.depth.size(); ++i) {
    const double z = p.depth[i];
    if (z < A - DEPTH_MATCH || z > B + DEPTH_MATCH) continue;
    if (!rows.empty() && std::fabs(p.depth[rows.back()] - z) < DEPTH_MATCH) continue;
    rows.push_back(i);
  }
  return rows;
}

// The value a TAKE object names; CTX receives the names the reference may use with it:
// z (the depth of a station or pressure row), y (the deflection of a curve point).
double take_value(const Runs& r, const json& take, Vars& ctx);

// Observed order of the error from three solutions at increments h, h/2, h/4:
// log2((v1 - v2) / (v2 - v3)).
double order(const Runs& r, const json& take) {
  const json& ins = take.at("inputs");
  if (!ins.is_array() || ins.size() != 3) throw Fault("an order needs three inputs (h, h/2, h/4)");
  double v[3];
  for (int i = 0; i < 3; ++i) {
    json t = take.at("of");
    t["input"] = ins[i];
    Vars ignored;
    v[i] = take_value(r, t, ignored);
  }
  return std::log2((v[0] - v[1]) / (v[1] - v[2]));
}

double take_value(const Runs& r, const json& take, Vars& ctx) {
  const std::string what = take.at("what").get<std::string>();
  if (what == "order") return order(r, take);
  const Problem& pb = problem(r, take);
  const results::Stage& s = pb.stage;
  if (what == "largest_deflection") return s.summary.largest_deflection.value;
  if (what == "largest_moment") return s.summary.largest_moment.value;
  if (what == "largest_moment_depth") return s.summary.largest_moment.depth;
  if (what == "layer") {
    const int j = take.at("layer").get<int>();
    if (j < 1 || j > static_cast<int>(pb.layers.size())) throw Fault("no working layer " + std::to_string(j));
    return layer_field(pb.layers[j - 1], take.at("field").get<std::string>());
  }
  if (what == "pressure" || what == "pressure_peak" || what == "pressure_integral") {
    const results::Pressures& p = s.pressures;
    const std::vector<double>& col = pressure_column(p, take.at("column").get<std::string>());
    if (what == "pressure") {
      const double z = take.at("depth").get<double>();
      const auto rows = pressure_rows(p, z, z);
      if (rows.empty()) throw Fault("the pressure table has no row at depth " + std::to_string(z));
      ctx["z"] = p.depth[rows.front()];
      return col[rows.front()];
    }
    const auto rows = pressure_rows(p, take.at("from").get<double>(), take.at("to").get<double>());
    if (rows.size() < 2) throw Fault("the pressure table has no rows in the range");
    double v = 0;
    for (std::size_t k = 0; k < rows.size(); ++k) {
      if (what == "pressure_peak") {
        v = std::max(v, col[rows[k]]);
      } else if (k > 0) {  // trapezoid rule over the rows
        v += (col[rows[k - 1]] + col[rows[k]]) / 2 * (p.depth[rows[k]] - p.depth[rows[k - 1]]);
      }
    }
    return v;
  }
  if (what == "curve") {
    // Point n (1..17, 1 at the origin) of the generated curve at a depth, on one side,
    // as the curve-exchange file gives it: resistance p positive, deflection y.
    const double z = take.at("depth").get<double>();
    const std::string side = take.value("side", "excavation");
    const int n = take.at("point").get<int>();
    for (const results::Curve& c : s.curves) {
      if (c.kind != "generated" || std::fabs(c.depth - z) > DEPTH_MATCH) continue;
      for (const results::CurveSide& d : c.sides) {
        if (d.side != side) continue;
        // The wall's curve leaves out the origin of each side: the excavation side holds
        // points 2..17 from the origin out, the backfill side points 17..1 toward it.
        const int i = side == "excavation" ? n - 2 : 17 - n;
        if (n < 2 || n > 17 || i < 0 || i >= static_cast<int>(d.y.size()))
          throw Fault("no point " + std::to_string(n) + " on the curve");
        ctx["y"] = std::fabs(d.y[i]);
        return take.value("value", "p") == "y" ? std::fabs(d.y[i]) : std::fabs(d.p[i]);
      }
    }
    throw Fault("no generated curve at depth " + std::to_string(z));
  }
  // A station value: at a station number, or "last" (the tip).
  const std::vector<double>& col = station_column(s.stations, what);
  const json& st = take.at("station");
  const int n = st.is_string() && st == "last" ? static_cast<int>(col.size()) - 1 : st.get<int>();
  if (n < 0 || n >= static_cast<int>(col.size())) throw Fault("no station " + std::to_string(n));
  ctx["z"] = s.stations.depth[n];
  return col[n];
}

// ---------------------------------------------------------------------------
// One case.

Vars case_vars(const json& d) {
  Vars v;
  if (d.contains("parameters"))
    for (const auto& [k, x] : d["parameters"].items()) v[k] = x.get<double>();
  if (d.contains("define"))
    for (const auto& [k, x] : d["define"].items()) v[k] = x.is_number() ? x.get<double>() : evaluate(x.get<std::string>(), v);
  return v;
}

double formula_value(const json& f, const Vars& v) {
  return f.is_number() ? f.get<double>() : evaluate(f.get<std::string>(), v);
}

std::string formula_text(const json& f) { return f.is_string() ? f.get<std::string>() : f.dump(); }

Row compare(const Runs& r, const json& q, const Vars& vars) {
  Row row;
  row.quantity = q.at("quantity").get<std::string>();
  row.unit = q.value("unit", "");
  const json& tol = q.at("tolerance");
  row.relative = tol.contains("relative");
  const int digits = tol.value("significant", 0);  // half a unit of the last digit kept
  row.tolerance = row.relative ? tol["relative"].get<double>() : digits > 0 ? 0 : tol.at("absolute").get<double>();
  row.reason = tol.value("reason", "");
  row.has_expected = q.contains("expected");
  row.known = q.value("known_difference", "");
  try {
    Vars v = vars;
    row.computed = take_value(r, q.at("take"), v) * q.value("scale", 1.0);  // into the quantity's unit
    if (q.contains("with"))
      for (const auto& [k, x] : q["with"].items()) v[k] = formula_value(x, v);
    row.reference = formula_value(q.at("reference"), v);
    row.formula = formula_text(q.at("reference"));
    row.expected = row.has_expected ? formula_value(q["expected"], v) : row.reference;
    if (row.has_expected) row.model = formula_text(q["expected"]);
    if (digits > 0 && row.expected != 0)
      row.tolerance = 0.5 * std::pow(10.0, std::floor(std::log10(std::fabs(row.expected))) - digits + 1) * (1 + 1.0E-9);
    const double d = row.computed - row.expected;
    row.pass = std::isfinite(row.computed) &&
               std::fabs(d) <= row.tolerance * (row.relative ? std::fabs(row.expected) : 1.0);
  } catch (const std::exception& e) {
    row.error = e.what();
    row.pass = false;
  }
  return row;
}

// The equilibrium of every problem of every input: the largest relative residuals of
// horizontal force and of moment about the tip. A problem without a closed solution
// fails both.
void equilibrium_rows(const Runs& r, std::vector<Row>& rows) {
  Row f, m;
  f.quantity = "equilibrium: relative residual of horizontal force";
  m.quantity = "equilibrium: relative residual of moment about the tip";
  int n = 0;
  for (Row* row : {&f, &m}) {
    row->relative = false;
    row->tolerance = results::EQTOL;
    row->reason = "the solution holds equilibrium up to rounding";
    row->bound = true;
  }
  for (const std::string& in : r.names) {
    const auto& ps = r.problems.at(in);
    for (std::size_t i = 0; i < ps.size(); ++i) {
      const results::Equilibrium& e = ps[i].stage.equilibrium;
      if (!e.checked && f.error.empty())
        f.error = m.error = "problem " + std::to_string(i + 1) + " of " + in + " has no closed solution";
      f.computed = std::max(f.computed, e.relative_force);
      m.computed = std::max(m.computed, e.relative_moment);
      ++n;
    }
  }
  if (n == 0) f.error = m.error = "no problem was analysed";
  for (Row* row : {&f, &m}) {
    row->quantity += n > 1 ? " (largest of " + std::to_string(n) + " problems)" : "";
    row->pass = row->error.empty() && row->computed <= row->tolerance;
    rows.push_back(*row);
  }
}

std::string slurp(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  if (!f) throw Fault("cannot read " + p.string());
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

}  // namespace

Problem take_problem(const Model& m) {
  Problem p;
  p.stage = results::take_stage(m);
  const auto& EP = m.EP;
  for (int J = 1; J <= std::clamp(EP.NLW, 0, MXLW); ++J)
    p.layers.push_back({EP.ZTOP(J), EP.KA(J), EP.KP(J), EP.K0(J), EP.PA1(J), EP.PA2(J), EP.PA3(J), EP.PA4(J), EP.PW1(J),
                        EP.PW2(J), EP.Z1(J), EP.Z2(J), EP.Z3(J)});
  return p;
}

bool Case::pass() const {
  return error.empty() && !rows.empty() && std::all_of(rows.begin(), rows.end(), [](const Row& r) { return r.pass; });
}

int Catalogue::quantities() const {
  int n = 0;
  for (const Case& c : cases) n += static_cast<int>(c.rows.size());
  return n;
}

int Catalogue::failed() const {
  int n = 0;
  for (const Case& c : cases) {
    if (!c.error.empty() || c.rows.empty()) ++n;
    for (const Row& r : c.rows) n += r.pass ? 0 : 1;
  }
  return n;
}

Case run_case(const std::string& json_path, const RunInput& run) {
  Case c;
  const fs::path path(json_path);
  c.name = path.stem().string();
  try {
    json d;
    try {
      d = json::parse(slurp(path));
    } catch (const json::exception& e) {
      throw Fault(std::string("cannot read the description: ") + e.what());
    }
    c.title = d.at("title").get<std::string>();
    c.source = d.at("source").get<std::string>();
    c.citation = d.value("citation", "");
    c.about = d.value("about", "");
    Runs r;
    for (const auto& [name, file] : d.at("inputs").items()) {
      r.names.push_back(name);
      c.inputs.push_back(file.get<std::string>());
      auto& ps = r.problems[name];
      std::string message;
      const int code = run((path.parent_path() / file.get<std::string>()).string(),
                           [&ps](const Model& m) { ps.push_back(take_problem(m)); }, message);
      if (code != RC_OK || !message.empty())
        throw Fault(file.get<std::string>() + ": the run ended with code " + std::to_string(code) +
                    (message.empty() ? "" : ": " + message));
    }
    if (r.names.empty()) throw Fault("no inputs");
    for (const char* k : {"parameters", "define"})
      if (d.contains(k))
        for (const auto& [n, x] : d[k].items()) c.parameters.emplace_back(n, formula_text(x));
    const Vars vars = case_vars(d);
    for (const json& q : d.at("quantities")) c.rows.push_back(compare(r, q, vars));
    equilibrium_rows(r, c.rows);
  } catch (const std::exception& e) {
    c.error = e.what();
  }
  return c;
}

Catalogue run_catalogue(const std::string& dir, const RunInput& run) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(dir, ec))
    if (e.path().extension() == ".json") files.push_back(e.path());
  if (ec) throw std::runtime_error("cannot read the verification cases in '" + dir + "': " + ec.message());
  std::sort(files.begin(), files.end());
  Catalogue cat;
  for (const fs::path& f : files) cat.cases.push_back(run_case(f.string(), run));
  return cat;
}

// ---------------------------------------------------------------------------
// Tables.

namespace {

std::string fmt(const char* f, double x) {
  char b[64];
  std::snprintf(b, sizeof b, f, x);
  return b;
}

// Five significant digits; an exponent only where the plain form would be long.
std::string number(double x) {
  if (!std::isfinite(x)) return std::isnan(x) ? "NaN" : (x > 0 ? "Inf" : "-Inf");
  if (x == 0) return "0";
  return fmt("%.5g", x);
}

std::string signed_number(double x) { return (x > 0 ? "+" : "") + number(x); }

// A rounding residual as the power of ten above it, which does not depend on the
// machine's last digits.
std::string magnitude(double x) {
  if (!(x > 0)) return "0";
  return "< 1e" + fmt("%.0f", std::ceil(std::log10(x) + 1.0E-12));
}

// A signed percentage to three decimals; what rounds to zero shows no sign.
std::string percent(double x) { return std::fabs(100 * x) < 0.0005 ? "0.000 %" : fmt("%+.3f %%", 100 * x); }

struct Cells {
  std::string reference, computed, difference, tolerance, pass;
};

Cells cells(const Row& r) {
  Cells c;
  const std::string unit = r.unit.empty() ? "" : " " + r.unit;
  c.reference = number(r.reference) + unit;
  c.pass = r.pass ? "yes" : "NO";
  if (!r.error.empty()) {
    c.computed = "(none)";
    c.difference = "(" + r.error + ")";
  } else if (r.bound) {
    c.computed = magnitude(r.computed);
    c.difference = c.computed;
  } else {
    c.computed = number(r.computed) + unit;
    c.difference = r.relative && r.reference != 0 ? percent((r.computed - r.reference) / std::fabs(r.reference))
                                                  : signed_number(r.computed - r.reference) + unit;
  }
  if (r.relative) {
    const std::string t = fmt("%g %%", 100 * r.tolerance);
    c.tolerance = r.has_expected && r.reference != 0
                      ? percent((r.expected - r.reference) / std::fabs(r.reference)) + " ± " + t
                      : "± " + t;
  } else {
    const std::string t = number(r.tolerance) + unit;
    c.tolerance = r.has_expected ? signed_number(r.expected - r.reference) + unit + " ± " + t : "± " + t;
    if (r.bound) c.tolerance = "≤ " + number(r.tolerance);
  }
  return c;
}

// Display width of UTF-8 text: its code points.
std::size_t width(const std::string& s) {
  std::size_t n = 0;
  for (unsigned char ch : s) n += (ch & 0xC0) != 0x80;
  return n;
}

std::string pad(const std::string& s, std::size_t w) { return s + std::string(w > width(s) ? w - width(s) : 0, ' '); }

std::string counts(const Catalogue& cat) {
  int ncases = 0;
  for (const Case& c : cat.cases) ncases += c.pass() ? 1 : 0;
  return std::to_string(cat.quantities()) + " quantities in " + std::to_string(cat.cases.size()) + " cases: " +
         (cat.pass() ? "all pass" : std::to_string(cat.failed()) + " failed") + " (" + std::to_string(ncases) + " of " +
         std::to_string(cat.cases.size()) + " cases pass)";
}

}  // namespace

std::string table_text(const Catalogue& cat) {
  std::vector<std::vector<std::string>> t{
      {"case", "source", "quantity", "reference", "computed", "difference", "tolerance", "pass"}};
  for (const Case& c : cat.cases) {
    if (!c.error.empty()) t.push_back({c.name, c.source, "(the case failed: " + c.error + ")", "", "", "", "", "NO"});
    for (const Row& r : c.rows) {
      const Cells x = cells(r);
      t.push_back({c.name, c.source, r.quantity, x.reference, x.computed, x.difference, x.tolerance, x.pass});
    }
  }
  std::vector<std::size_t> w(t.front().size(), 0);
  for (const auto& row : t)
    for (std::size_t j = 0; j < row.size(); ++j) w[j] = std::max(w[j], width(row[j]));
  std::string s;
  for (std::size_t i = 0; i < t.size(); ++i) {
    std::string line;
    for (std::size_t j = 0; j < t[i].size(); ++j) line += (j ? "  " : "") + pad(t[i][j], j + 1 < t[i].size() ? w[j] : 0);
    s += line + "\n";
    if (i == 0) {
      std::size_t total = 0;
      for (std::size_t j = 0; j < w.size(); ++j) total += w[j] + (j ? 2 : 0);
      s += std::string(total, '-') + "\n";
    }
  }
  return s + counts(cat) + "\n";
}

namespace {

std::string md_cell(std::string s) {
  std::string r;
  for (char ch : s) {
    if (ch == '|') {
      r += "\\|";
    } else {
      r += ch;
    }
  }
  return r;
}

}  // namespace

std::string markdown(const Catalogue& cat) {
  std::string s =
      "# Verification\n\n"
      "<!-- Written by `branto verify --markdown`; a test fails when this file differs from\n"
      "     what the program writes. Do not edit it: edit the cases in verification/. -->\n\n"
      "Every case below is an ordinary input data file in [verification/](verification/), run\n"
      "through the same engine as any input, with a description (`NAME.json`) of its source, the\n"
      "quantities compared, their reference formulas and their tolerances. The references do not\n"
      "come from this program: they are closed forms, formulas and charts of the published\n"
      "methods evaluated from the case's parameters, and published test results. Run the whole\n"
      "catalogue on your own machine with\n\n"
      "    branto verify\n\n"
      "It prints one line per quantity (case, source, quantity, reference, computed, difference,\n"
      "tolerance, pass) and exits 0 when every quantity passes; `make test` runs it.\n\n"
      "Where the model differs from a reference by a known amount (a modelling choice of the\n"
      "program), the case says why and by how much: the reference carried over to what the\n"
      "program does is the expected value, and the tolerance column reads \"known difference ±\n"
      "tolerance\" (\"+3.528 % ± 0.0002 %\"). A tolerance of a value the program keeps to three or\n"
      "four significant digits is half a unit of the last digit kept. Every case also checks the\n"
      "equilibrium of each of its solutions (the residual of horizontal force, and of moment about\n"
      "the wall tip, relative to the largest total force of one kind); these rounding residuals\n"
      "are shown as their order of magnitude.\n\n";
  s += "**" + counts(cat) + ".**\n\n";
  s += "| case | title | source | quantities | pass |\n|---|---|---|---|---|\n";
  for (const Case& c : cat.cases)
    s += "| [" + c.name + "](#" + c.name + ") | " + md_cell(c.title) + " | " + md_cell(c.source) + " | " +
         std::to_string(c.rows.size()) + " | " + (c.pass() ? "yes" : "NO") + " |\n";
  s += "\nThe formulas of the cases use the parameters of each case, `z` (the depth of the station or\n"
       "of the pressure-table row compared), `y` (the deflection of the p-y curve point compared:\n"
       "the published curve is evaluated at the deflection of the generated point), `pi`, and these\n"
       "functions (angles in radians):\n\n";
  for (const auto& [name, f] : functions()) s += "- `" + f.about + "`\n";
  for (const Case& c : cat.cases) {
    s += "\n<a id=\"" + c.name + "\"></a>\n## " + c.name + ": " + c.title + "\n\n";
    if (!c.citation.empty()) s += "Source: " + c.citation + "\n\n";
    if (!c.about.empty()) s += c.about + "\n\n";
    s += "Input" + std::string(c.inputs.size() > 1 ? "s" : "") + ":";
    for (std::size_t i = 0; i < c.inputs.size(); ++i)
      s += std::string(i ? "," : "") + " [" + c.inputs[i] + "](verification/" + c.inputs[i] + ")";
    s += "; description [" + c.name + ".json](verification/" + c.name + ".json).\n\n";
    if (!c.parameters.empty()) {
      s += "Parameters:";
      for (std::size_t i = 0; i < c.parameters.size(); ++i)
        s += std::string(i ? "," : "") + " `" + c.parameters[i].first + " = " + c.parameters[i].second + "`";
      s += ".\n\n";
    }
    if (!c.error.empty()) s += "**The case failed: " + c.error + "**\n\n";
    if (c.rows.empty()) continue;
    // The reasons of tolerances and known differences, each text once, numbered.
    std::vector<std::string> notes;
    const auto note = [&notes](const std::string& text) {
      auto it = std::find(notes.begin(), notes.end(), text);
      if (it == notes.end()) it = notes.insert(notes.end(), text);
      return "(" + std::to_string(it - notes.begin() + 1) + ")";
    };
    s += "| quantity | reference | computed | difference | tolerance | pass |\n|---|---|---|---|---|---|\n";
    for (const Row& r : c.rows) {
      const Cells x = cells(r);
      std::string marks;
      if (!r.known.empty()) marks += " " + note("known difference: " + r.known);
      if (!r.reason.empty()) marks += " " + note("tolerance: " + r.reason);
      s += "| " + md_cell(r.quantity) + " | " + md_cell(x.reference) + " | " + md_cell(x.computed) + " | " +
           md_cell(x.difference) + " | " + md_cell(x.tolerance + marks) + " | " + x.pass + " |\n";
    }
    s += "\n";
    for (std::size_t i = 0; i < notes.size(); ++i) s += "(" + std::to_string(i + 1) + ") " + notes[i] + "  \n";
    s += "\nReferences:\n\n";
    for (const Row& r : c.rows) {
      if (r.formula.empty()) continue;
      s += "- " + r.quantity + ": `" + r.formula + "`" + (r.model.empty() ? "" : "; expected `" + r.model + "`") + "\n";
    }
  }
  return s;
}

}  // namespace verify
