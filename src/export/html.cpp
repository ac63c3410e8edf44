// html.cpp -- the HTML report: one self-contained page (no scripts, no external files)
// laid out by a Mustache template, with the charts of the SVG module inline.
#include <kainjow/mustache.hpp>

#include <algorithm>
#include <cmath>

#include "export/export.h"
#include "export/svg.h"

namespace outputs {

namespace {

using namespace results;
using mdata = kainjow::mustache::data;

constexpr double CHARTW = 212, CHARTH = 460;  // a profile chart, px
constexpr int MXLEG = 10;                     // more series than this: no legend rows

const char* const PAGE = R"HTML(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="generator" content="branto {{version}}">
<title>{{input}}: wall analysis results</title>
<style>
body { font-family: sans-serif; margin: 1em 1.5em; color: #222222; }
h1 { font-size: 1.4em; margin: 0.2em 0; }
h2 { font-size: 1.2em; border-bottom: 2px solid #44556a; padding-bottom: 2px; margin-top: 1.6em; }
h3 { font-size: 1em; margin: 1em 0 0.3em; }
p { margin: 0.3em 0; }
.meta { color: #555555; }
.charts { display: flex; flex-wrap: wrap; gap: 6px; align-items: flex-start; }
.charts svg { border: 1px solid #cccccc; }
table { border-collapse: collapse; margin: 0.3em 0; font-size: 0.9em; }
th, td { border: 1px solid #bbbbbb; padding: 2px 8px; text-align: right; }
th { background: #eef2f6; }
.l { text-align: left; }
.warnings { background: #fff3cd; border: 2px solid #d39e00; padding: 0.4em 1em; margin: 0.5em 0; }
.warnings ul { margin: 0.2em 0; padding-left: 1.2em; }
.bad { background: #f8d7da; border: 2px solid #c82333; padding: 0.4em 1em; margin: 0.5em 0; }
.good { color: #1a7f37; }
details { margin: 0.4em 0; }
summary { cursor: pointer; font-weight: bold; }
footer { margin-top: 2em; color: #777777; font-size: 0.85em; }
</style>
</head>
<body>
<h1>Wall analysis results: {{input}}</h1>
<p class="meta">Analysed {{date}} with branto {{version}}; {{stage_count}}.</p>
{{#failed}}<div class="bad"><strong>The run ended early</strong> ({{outcome}}): {{message}}</div>
{{/failed}}
{{#has_warnings}}<div class="warnings"><strong>Warnings</strong><ul>
{{#warnings}}<li>{{where}}: WARNING -- {{text}}</li>
{{/warnings}}</ul></div>
{{/has_warnings}}
{{#has_envelope}}<h2 id="all-stages">All stages</h2>
<div class="charts">
{{#envelope}}{{{.}}}
{{/envelope}}</div>
{{/has_envelope}}
{{#stages}}<h2 id="stage-{{number}}">Stage {{number}}: {{title}}</h2>
<p>{{exit_text}}, {{iterations}}. Units: {{system}} (depth {{depth_unit}}, deflection {{length_unit}}, force {{force_unit}}). Width analysed (RV6): {{width}} {{length_unit}}.</p>
{{#not_converged}}<div class="bad">Not converged: the values shown are those of the last iteration and are no answer.</div>
{{/not_converged}}
{{#mechanism}}<div class="bad">No equilibrium was found: the wall is a mechanism and the values shown are no answer.</div>
{{/mechanism}}
{{#has_warnings}}<div class="warnings"><ul>
{{#warnings}}<li>WARNING -- {{.}}</li>
{{/warnings}}</ul></div>
{{/has_warnings}}
<table>
<tr><th class="l">Quantity</th><th>Largest</th><th>at depth ({{depth_unit}})</th><th>Smallest</th><th>at depth ({{depth_unit}})</th></tr>
{{#summary}}<tr><td class="l">{{name}} ({{unit}})</td><td>{{max}}</td><td>{{max_depth}}</td><td>{{min}}</td><td>{{min_depth}}</td></tr>
{{/summary}}</table>
<div class="charts">
{{#charts}}{{{.}}}
{{/charts}}</div>
{{#has_tie_backs}}<h3>Tie backs</h3>
<table>
<tr><th>No.</th><th>Station</th><th>Depth ({{depth_unit}})</th><th>Angle (DEG)</th><th>Horizontal force per station ({{force_unit}})</th><th>Force per station ({{force_unit}})</th><th>Force per tie back ({{force_unit}})</th></tr>
{{#tie_backs}}<tr><td>{{number}}</td><td>{{station}}</td><td>{{depth}}</td><td>{{angle}}</td><td>{{horizontal}}</td><td>{{per_station}}</td><td>{{per_tie_back}}</td></tr>
{{/tie_backs}}</table>
{{/has_tie_backs}}
{{#has_restraints}}<h3>Restraints</h3>
<table>
<tr><th>Station</th><th>Depth ({{depth_unit}})</th><th>Force ({{force_unit}})</th><th>Moment ({{moment_unit}})</th></tr>
{{#restraints}}<tr><td>{{station}}</td><td>{{depth}}</td><td>{{force}}</td><td>{{moment}}</td></tr>
{{/restraints}}</table>
{{/has_restraints}}
{{#has_nodes}}<h3>Specified points</h3>
<table>
<tr><th>Point</th><th>Station</th><th>Depth ({{depth_unit}})</th><th>Net force per station ({{force_unit}})</th><th>Reaction ({{force_unit}})</th></tr>
{{#nodes}}<tr><td>{{point}}</td><td>{{station}}</td><td>{{depth}}</td><td>{{net_force}}</td><td>{{reaction}}</td></tr>
{{/nodes}}</table>
{{/has_nodes}}
<h3>Equilibrium</h3>
<p>{{eq_verdict}}</p>
<table>
<tr><th class="l">Acting on the wall</th><th>Horizontal force ({{force_unit}})</th><th>Moment about the tip ({{moment_unit}})</th></tr>
{{#eq_rows}}<tr><td class="l">{{name}}</td><td>{{force}}</td><td>{{moment}}</td></tr>
{{/eq_rows}}<tr><th class="l">Residual</th><th>{{eq_force}}</th><th>{{eq_moment}}</th></tr>
<tr><td class="l">Relative to the largest total force of one kind</td><td>{{eq_rel_force}}</td><td>{{eq_rel_moment}}</td></tr>
</table>
{{/stages}}
{{#has_curves}}<h2 id="py-curves">p-y curves</h2>
<p>The support curves in force, as they act on the wall: p per unit length of wall against the deflection; the backfill side for negative deflections, the excavation side for positive ones.</p>
{{#curve_sets}}<details{{#open}} open{{/open}}><summary>Stage {{stage}}: {{count}}</summary>
<div class="charts">
{{#charts}}{{{.}}}
{{/charts}}</div>
</details>
{{/curve_sets}}
{{/has_curves}}
<footer>Input data file {{input}}; analysed {{date}}; branto {{version}}. Numbers at full precision are in the JSON twin of this report.</footer>
</body>
</html>
)HTML";

std::string num(double v) { return svg::short_number(v); }

std::string plural(int n, const char* one, const char* many) { return std::to_string(n) + " " + (n == 1 ? one : many); }

std::string exit_text(const Stage& s) {
  if (s.mechanism) return "NO EQUILIBRIUM (the wall is a mechanism)";
  switch (s.exit_code) {
    case KXLIN: return "Linear solution";
    case KXCONV: return "Converged";
    case KXLIMC: return "Closed at the iteration limit";
    case KXLIMN: return "NOT CLOSED at the iteration limit";
    case KXDEFL: return "MAXIMUM ALLOWABLE DEFLECTION EXCEEDED";
    default: return "Not analysed";
  }
}

// Values per unit length of wall from values per station.
std::vector<double> per_length(const std::vector<double>& v, double H) {
  std::vector<double> r(v.size());
  for (std::size_t i = 0; i < v.size(); ++i) r[i] = H > 0 ? v[i] / H : v[i];
  return r;
}

// The largest and the smallest value of a profile, marked, when they are not zero.
void mark_extremes(svg::Chart& c, const std::vector<double>& v, const std::vector<double>& z, const std::string& unit,
                   const std::string& depth_unit) {
  std::size_t imax = v.size(), imin = v.size();
  for (std::size_t i = 0; i < v.size(); ++i) {
    if (!std::isfinite(v[i])) continue;
    if (imax == v.size() || v[i] > v[imax]) imax = i;
    if (imin == v.size() || v[i] < v[imin]) imin = i;
  }
  for (std::size_t i : {imax, imin}) {
    if (i == v.size() || v[i] == 0) continue;
    if (i == imin && imin == imax) continue;
    c.notes.push_back({v[i], z[i], num(v[i]) + " " + unit + " at " + num(z[i]) + " " + depth_unit});
  }
}

svg::Chart profile(const Stage& s, const std::string& title, const std::string& xlabel, double zmax) {
  svg::Chart c;
  c.title = title;
  c.xlabel = xlabel;
  c.ylabel = "Depth (" + s.units.depth + ")";
  c.width = CHARTW;
  c.height = CHARTH;
  c.ymin = 0;
  c.ymax = zmax;
  c.levels.push_back({s.excavation, "excavation", "excavation"});
  if (s.has_water && s.water_excavation == s.water_backfill) {
    c.levels.push_back({s.water_backfill, "water", "water"});
  } else if (s.has_water) {
    c.levels.push_back({s.water_backfill, "water (backfill)", "water"});
    c.levels.push_back({s.water_excavation, "water (excavation)", "water"});
  }
  return c;
}

std::vector<std::string> stage_charts(const Stage& s) {
  const Units& u = s.units;
  const StationTable& t = s.stations;
  const double L = s.wall_length;
  std::vector<std::string> out;
  // The wall in its ground.
  svg::Wall w;
  w.title = "Wall";
  w.ylabel = "Depth (" + u.depth + ")";
  w.width = 170;
  w.height = CHARTH;
  w.legend_rows = 2;
  w.ymin = 0;
  w.ymax = L;
  w.length = L;
  w.excavation = s.excavation;
  w.excavation_text = "excavation " + num(s.excavation) + " " + u.depth;
  w.wall_text = "tip " + num(L) + " " + u.depth;
  w.water = s.has_water;
  w.water_backfill = s.water_backfill;
  w.water_excavation = s.water_excavation;
  for (const TieBack& b : s.tie_backs)
    w.anchors.push_back({b.depth, b.angle, "T" + std::to_string(b.number)});
  out.push_back(svg::wall(w));

  struct Diagram {
    const char* title;
    const char* key;
    const std::vector<double>* v;
    std::string unit;
  };
  const Diagram DIAGRAMS[] = {{"Deflection", "deflection", &t.deflection, u.length},
                        {"Moment", "moment", &t.moment, u.moment},
                        {"Shear", "shear", &t.shear, u.force},
                        {"Soil reaction", "soil_reaction", &t.soil_reaction, u.force_per_length}};
  for (const Diagram& p : DIAGRAMS) {
    svg::Chart c = profile(s, p.title, p.title + std::string(" (") + p.unit + ")", L);
    c.legend_rows = 2;
    svg::Series d;
    d.key = p.key;
    d.stage = s.stage;
    d.x = *p.v;
    d.y = t.depth;
    c.series.push_back(std::move(d));
    mark_extremes(c, *p.v, t.depth, p.unit, u.depth);
    out.push_back(svg::render(c));
  }
  // The net pressure on the wall (every force of a station per unit length) beside the
  // earth pressure and loads that were applied.
  svg::Chart c = profile(s, "Pressure on the wall", "Per unit length (" + u.force_per_length + ")", L);
  c.legend_rows = 2;
  svg::Series net;
  net.name = "net: all forces";
  net.key = "net_pressure";
  net.stage = s.stage;
  net.x = per_length(t.net_force, s.increment);
  net.y = t.depth;
  svg::Series app;
  app.name = "earth pressure, loads";
  app.key = "applied_pressure";
  app.stage = s.stage;
  app.x = per_length(t.applied_load, s.increment);
  app.y = t.depth;
  app.color = 4;
  app.dashed = true;
  mark_extremes(c, net.x, t.depth, u.force_per_length, u.depth);
  c.series.push_back(std::move(net));
  c.series.push_back(std::move(app));
  out.push_back(svg::render(c));
  return out;
}

// Deflection and moment of every stage in one chart each (stages of the first stage's
// unit system).
std::vector<std::string> envelope_charts(const RunResults& r) {
  std::vector<const Stage*> st;
  for (const Stage& s : r.stages)
    if (!s.stations.depth.empty() && s.units.system == r.stages.front().units.system) st.push_back(&s);
  if (st.size() < 2) return {};
  const Units& u = st.front()->units;
  double L = 0;
  for (const Stage* s : st) L = std::max(L, s->wall_length);
  std::vector<std::string> out;
  const std::pair<const char*, const char*> WHAT[] = {{"deflection", "Deflection"}, {"moment", "Moment"}};
  for (const auto& [key, title] : WHAT) {
    const bool defl = std::string(key) == "deflection";
    svg::Chart c;
    c.title = std::string(title) + ", every stage";
    c.xlabel = std::string(title) + " (" + (defl ? u.length : u.moment) + ")";
    c.ylabel = "Depth (" + u.depth + ")";
    c.width = 330;
    c.height = CHARTH + 40;
    c.ymin = 0;
    c.ymax = L;
    int i = 0;
    for (const Stage* s : st) {
      svg::Series d;
      d.name = "Stage " + std::to_string(s->stage) + (s->converged ? "" : " (not converged)");
      d.key = key;
      d.stage = s->stage;
      d.x = defl ? s->stations.deflection : s->stations.moment;
      d.y = s->stations.depth;
      d.color = i++;
      d.dashed = !s->converged;
      c.series.push_back(std::move(d));
    }
    if (c.series.size() > MXLEG) c.legend = false;
    out.push_back(svg::render(c));
  }
  return out;
}

// The support curves of a stage: generated curves one chart per soil layer, user curves
// and the earth-pressure curves of option 4 one chart each.
std::vector<std::string> curve_charts(const Stage& s) {
  const Units& u = s.units;
  std::vector<std::string> out;
  const auto chart = [&](const std::string& title, const std::vector<const Curve*>& cs) {
    svg::Chart c;
    c.title = title;
    c.xlabel = "y (" + u.length + ")";
    c.ylabel = "p (" + u.force_per_length + ")";
    c.width = 300;
    c.height = 300;
    c.depth_down = false;
    c.legend = cs.size() <= static_cast<std::size_t>(MXLEG);
    int i = 0;
    for (const Curve* cv : cs) {
      svg::Series d;
      d.name = "at " + num(cv->depth) + " " + u.depth;
      d.key = "py_curve";
      d.stage = s.stage;
      for (const CurveSide& side : cv->sides) {
        d.x.insert(d.x.end(), side.y.begin(), side.y.end());
        d.y.insert(d.y.end(), side.p.begin(), side.p.end());
      }
      d.color = i++;
      c.series.push_back(std::move(d));
    }
    if (!c.legend) c.title += " (" + std::to_string(cs.size()) + " curves)";
    out.push_back(svg::render(c));
  };
  // Titled by the input's layer number, as the warnings name layers.
  const auto title = [](const Curve* c) {
    return c->input_layer > 0 ? "Soil layer " + std::to_string(c->input_layer) : std::string("Generated curves");
  };
  std::vector<const Curve*> group;
  for (const Curve& cv : s.curves) {
    if (cv.kind != "generated") continue;
    if (!group.empty() && cv.layer != group.back()->layer) {
      chart(title(group.back()), group);
      group.clear();
    }
    group.push_back(&cv);
  }
  if (!group.empty()) chart(title(group.back()), group);
  for (const char* kind : {"user", "earth_pressure"}) {
    group.clear();
    for (const Curve& cv : s.curves)
      if (cv.kind == kind) group.push_back(&cv);
    if (!group.empty()) chart(std::string(kind) == "user" ? "User curves" : "Earth pressure, option 4", group);
  }
  return out;
}

mdata list() { return mdata(mdata::type::list); }

mdata stage_data(const Stage& s) {
  const Units& u = s.units;
  mdata d;
  d.set("number", std::to_string(s.stage));
  d.set("title", s.title);
  d.set("exit_text", exit_text(s));
  d.set("iterations", plural(s.iterations, "iteration", "iterations"));
  d.set("system", u.system);
  d.set("depth_unit", u.depth);
  d.set("length_unit", u.length);
  d.set("force_unit", u.force);
  d.set("moment_unit", u.moment);
  d.set("width", num(s.width));
  d.set("not_converged", !s.converged && !s.mechanism);
  d.set("mechanism", s.mechanism);
  mdata ws = list();
  for (const std::string& w : s.warnings) ws.push_back(w);
  if (s.equilibrium.large) ws.push_back(s.equilibrium.warning);
  d.set("has_warnings", !ws.is_empty_list());
  d.set("warnings", ws);
  mdata sum = list();
  const Summary& m = s.summary;
  const auto row = [&](const char* name, const std::string& unit, const Extreme& hi, const Extreme& lo) {
    mdata r;
    r.set("name", name);
    r.set("unit", unit);
    r.set("max", num(hi.value));
    r.set("max_depth", num(hi.depth));
    r.set("min", num(lo.value));
    r.set("min_depth", num(lo.depth));
    sum.push_back(r);
  };
  row("Deflection", u.length, m.max_deflection, m.min_deflection);
  row("Moment", u.moment, m.max_moment, m.min_moment);
  row("Shear", u.force, m.max_shear, m.min_shear);
  d.set("summary", sum);
  mdata charts = list();
  if (!s.stations.depth.empty())
    for (std::string& c : stage_charts(s)) charts.push_back(std::move(c));
  d.set("charts", charts);
  mdata tb = list();
  for (const TieBack& b : s.tie_backs) {
    mdata r;
    r.set("number", std::to_string(b.number));
    r.set("station", std::to_string(b.station));
    r.set("depth", num(b.depth));
    r.set("angle", num(b.angle));
    r.set("horizontal", num(b.horizontal_force));
    r.set("per_station", num(b.force_per_station));
    r.set("per_tie_back", num(b.force_per_tie_back));
    tb.push_back(r);
  }
  d.set("has_tie_backs", !s.tie_backs.empty());
  d.set("tie_backs", tb);
  mdata rs = list();
  for (const Restraint& x : s.restraints) {
    mdata r;
    r.set("station", std::to_string(x.station));
    r.set("depth", num(x.depth));
    r.set("force", num(x.force));
    r.set("moment", num(x.moment));
    rs.push_back(r);
  }
  d.set("has_restraints", !s.restraints.empty());
  d.set("restraints", rs);
  mdata ns = list();
  for (const NodeReaction& n : s.node_reactions) {
    mdata r;
    r.set("point", std::to_string(n.point));
    r.set("station", std::to_string(n.station));
    r.set("depth", num(n.depth));
    r.set("net_force", num(n.net_force));
    r.set("reaction", num(n.reaction));
    ns.push_back(r);
  }
  d.set("has_nodes", !s.node_reactions.empty());
  d.set("nodes", ns);
  const Equilibrium& e = s.equilibrium;
  static const std::pair<const char*, const char*> NAMES[] = {
      {"station_loads", "Station loads (earth pressure, loads)"}, {"couples", "Applied couples"},
      {"axial_loads", "Axial loads"},  {"support_curves", "Support curves (soil)"},
      {"tie_backs", "Tie backs"},      {"restraints", "Restraints"},
      {"specified_points", "Reactions of specified points"}};
  mdata er = list();
  for (const Component& c : e.components) {
    if (c.force == 0 && c.moment == 0) continue;
    std::string name = c.name;
    for (const auto& [k, v] : NAMES)
      if (c.name == k) name = v;
    mdata r;
    r.set("name", name);
    r.set("force", num(c.force));
    r.set("moment", num(c.moment));
    er.push_back(r);
  }
  d.set("eq_rows", er);
  d.set("eq_force", num(e.force));
  d.set("eq_moment", num(e.moment));
  d.set("eq_rel_force", num(e.relative_force));
  d.set("eq_rel_moment", num(e.relative_moment));
  std::string verdict;
  if (!e.checked) {
    verdict = "Not checked: the solution did not close, or holds no equilibrium.";
  } else if (e.large) {
    verdict = "The forces that acted do NOT balance: the residuals exceed " + num(EQTOL) +
              " of the largest total force of one kind (or of its moment over the wall length).";
  } else {
    verdict = "The forces that acted in the last solution balance: the residuals are within " + num(EQTOL) +
              " of the largest total force of one kind (and of its moment over the wall length).";
  }
  d.set("eq_verdict", verdict);
  return d;
}

}  // namespace

std::string html_text(const RunResults& r) {
  mdata d;
  d.set("input", r.input);
  d.set("date", r.date);
  d.set("version", r.version);
  d.set("stage_count", plural(static_cast<int>(r.stages.size()), "stage", "stages"));
  d.set("failed", r.outcome != "ok");
  d.set("outcome", r.outcome);
  d.set("message", r.message);
  mdata ws = list();
  const auto warn = [&](const std::string& where, const std::string& text) {
    mdata w;
    w.set("where", where);
    w.set("text", text);
    ws.push_back(w);
  };
  for (const std::string& w : r.warnings) warn("Run", w);
  for (const Stage& s : r.stages) {
    for (const std::string& w : s.warnings) warn("Stage " + std::to_string(s.stage), w);
    if (s.equilibrium.large) warn("Stage " + std::to_string(s.stage), s.equilibrium.warning);
  }
  d.set("has_warnings", !ws.is_empty_list());
  d.set("warnings", ws);
  mdata env = list();
  for (std::string& c : envelope_charts(r)) env.push_back(std::move(c));
  d.set("has_envelope", !env.is_empty_list());
  d.set("envelope", env);
  mdata st = list();
  for (const Stage& s : r.stages) st.push_back(stage_data(s));
  d.set("stages", st);
  mdata cs = list();
  bool first = true;
  for (const Stage& s : r.stages) {
    if (s.curves.empty()) continue;
    mdata c;
    c.set("stage", std::to_string(s.stage));
    c.set("count", plural(static_cast<int>(s.curves.size()), "curve", "curves"));
    c.set("open", first);
    first = false;
    mdata ch = list();
    for (std::string& x : curve_charts(s)) ch.push_back(std::move(x));
    c.set("charts", ch);
    cs.push_back(c);
  }
  d.set("has_curves", !cs.is_empty_list());
  d.set("curve_sets", cs);
  kainjow::mustache::mustache page{PAGE};
  return page.render(d);
}

}  // namespace outputs
