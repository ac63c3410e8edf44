// json.cpp -- the JSON twin of the report: every stage's tables and checks as arrays and
// objects (docs/results.schema.json), numbers at full precision.
#include <nlohmann/json.hpp>

#include "export/export.h"

namespace outputs {

namespace {

using nlohmann::json;
using namespace results;

json extreme(const Extreme& e) { return {{"value", e.value}, {"depth", e.depth}, {"station", e.station}}; }

json stage_json(const Stage& s) {
  json j;
  j["stage"] = s.stage;
  j["title"] = s.title;
  j["heading"] = s.heading;
  const Units& u = s.units;
  j["units"] = {{"code", s.unit_code},     {"system", u.system},   {"depth", u.depth},
                {"length", u.length},      {"force", u.force},     {"moment", u.moment},
                {"force_per_length", u.force_per_length}, {"rigidity", u.rigidity}, {"slope", u.slope}};
  j["exit"] = s.exit;
  j["exit_code"] = s.exit_code;
  j["iterations"] = s.iterations;
  j["converged"] = s.converged;
  j["mechanism"] = s.mechanism;
  j["width"] = s.width;
  j["increments"] = s.increments;
  j["increment"] = s.increment;
  j["wall_length"] = s.wall_length;
  j["excavation"] = s.excavation;
  j["water"] = s.has_water ? json{{"backfill", s.water_backfill}, {"excavation", s.water_excavation}} : json(nullptr);
  const StationTable& t = s.stations;
  j["stations"] = {{"station", t.station},
                   {"depth", t.depth},
                   {"deflection", t.deflection},
                   {"slope", t.slope},
                   {"moment", t.moment},
                   {"shear", t.shear},
                   {"soil_reaction", t.soil_reaction},
                   {"net_force", t.net_force},
                   {"rigidity", t.rigidity},
                   {"applied_load", t.applied_load},
                   {"support_force", t.support_force}};
  const Summary& m = s.summary;
  j["summary"] = {{"max_deflection", extreme(m.max_deflection)}, {"min_deflection", extreme(m.min_deflection)},
                  {"max_moment", extreme(m.max_moment)},         {"min_moment", extreme(m.min_moment)},
                  {"max_shear", extreme(m.max_shear)},           {"min_shear", extreme(m.min_shear)},
                  {"largest_deflection", extreme(m.largest_deflection)}, {"largest_moment", extreme(m.largest_moment)}};
  j["tie_backs"] = json::array();
  for (const TieBack& b : s.tie_backs)
    j["tie_backs"].push_back({{"number", b.number},
                              {"station", b.station},
                              {"depth", b.depth},
                              {"angle", b.angle},
                              {"spacing", b.spacing},
                              {"prestress", b.prestress},
                              {"horizontal_force", b.horizontal_force},
                              {"force_per_station", b.force_per_station},
                              {"force_per_tie_back", b.force_per_tie_back}});
  j["restraints"] = json::array();
  for (const Restraint& r : s.restraints)
    j["restraints"].push_back({{"station", r.station}, {"depth", r.depth}, {"force", r.force}, {"moment", r.moment}});
  j["node_reactions"] = json::array();
  for (const NodeReaction& n : s.node_reactions)
    j["node_reactions"].push_back({{"point", n.point},
                                   {"station", n.station},
                                   {"depth", n.depth},
                                   {"net_force", n.net_force},
                                   {"reaction", n.reaction}});
  const Pressures& p = s.pressures;
  j["pressures"] = {{"depth", p.depth},     {"load", p.load},         {"active", p.active},   {"surcharge", p.surcharge},
                    {"passive", p.passive}, {"at_rest", p.at_rest},   {"earth", p.earth},     {"water", p.water},
                    {"surface", p.surface}, {"sigmah", p.sigmah},     {"envelope", p.envelope}, {"total", p.total}};
  j["curves"] = json::array();
  for (const Curve& c : s.curves) {
    json sides = json::array();
    for (const CurveSide& d : c.sides) sides.push_back({{"side", d.side}, {"y", d.y}, {"p", d.p}});
    j["curves"].push_back({{"kind", c.kind},
                           {"layer", c.layer},
                           {"input_layer", c.input_layer},
                           {"depth", c.depth},
                           {"station", c.station},
                           {"sides", std::move(sides)}});
  }
  const Equilibrium& e = s.equilibrium;
  json comps = json::array();
  for (const Component& c : e.components) comps.push_back({{"name", c.name}, {"force", c.force}, {"moment", c.moment}});
  j["equilibrium"] = {{"checked", e.checked},
                      {"force", e.force},
                      {"moment", e.moment},
                      {"reference_force", e.reference_force},
                      {"reference_moment", e.reference_moment},
                      {"relative_force", e.relative_force},
                      {"relative_moment", e.relative_moment},
                      {"tolerance", EQTOL},
                      {"large", e.large},
                      {"components", std::move(comps)}};
  json w = s.warnings;
  if (e.large) w.push_back(e.warning);
  j["warnings"] = std::move(w);
  return j;
}

}  // namespace

std::string json_text(const RunResults& r) {
  json j;
  j["schema_version"] = SCHEMA_VERSION;
  j["program"] = {{"name", "branto"}, {"version", r.version}};
  j["input"] = r.input;
  j["date"] = r.date;
  j["outcome"] = r.outcome;
  j["message"] = r.message;
  j["warnings"] = r.warnings;
  j["stages"] = json::array();
  for (const Stage& s : r.stages) j["stages"].push_back(stage_json(s));
  // Invalid UTF-8 in a title or file name is replaced, never an exception.
  return j.dump(-1, ' ', false, json::error_handler_t::replace) + "\n";
}

}  // namespace outputs
