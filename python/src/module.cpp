// module.cpp -- the extension module of the Python package: one analysis of an input data
// file (or of its text) as the command-line host runs it, on a model of its own, with the
// interpreter released during the run, and its results as objects whose columns are
// read-only numpy arrays over the results values (the numbers of the JSON twin).
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common.h"
#include "export/export.h"
#include "run/run.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace {

// What one call gives back: the results with how the run ended, the host's lines, the
// console notices, the files written.
struct RunOut {
  results::RunResults results;
  std::string outcome;   // "ok", "input_error", "ended_early", "stop", "file_error",
                         // "internal_error", "refused"
  std::string message;   // why it failed, as the host says it, or nothing
  int status = host::EX_FAILED;
  std::vector<std::string> warnings;  // every warning of the run, text after "WARNING -- "
  std::vector<std::string> lines;     // the host's summary line of each stage
  std::string console;                // the engine's console notices
  std::vector<std::string> files;     // the files written
};

struct Request {
  std::string input;        // the input data file, or the name of the text
  bool from_text = false;
  std::string text;
  std::optional<std::string> out_dir;  // outputs written: in this directory ("": beside the input)
  bool json = false, csv = false, html = false, keep_scratch = false;
  int curve_depths = 0;
};

// The model of this thread's next run, cleared as a new one (value-initialised): each
// thread keeps one, so that a run costs the clearing of the tables but not a new
// allocation of them (whose pages the system would hand out and fault in anew each time).
Model& model() {
  thread_local std::unique_ptr<Model> m;
  if (!m) {
    m = std::make_unique<Model>();
  } else {
    std::destroy_at(m.get());
    std::construct_at(m.get());
  }
  return *m;
}

RunOut analyse(const Request& q) {
  host::Options o;
  o.json = q.json;
  o.csv = q.csv;
  o.html = q.html;
  o.keep_scratch = q.keep_scratch;
  if (q.out_dir) o.out_dir = *q.out_dir;
  host::Job job = host::job_for(q.input, o);
  host::Embedding emb;
  emb.model = &model();
  emb.write = q.out_dir.has_value();
  emb.from_text = q.from_text;
  emb.text = q.text;
  emb.curve_depths = q.curve_depths;
  host::Outcome r = host::analyse(job, o, false, &emb);
  RunOut out;
  out.outcome = emb.outcome;
  out.message = r.error;
  out.status = r.status;
  out.warnings = emb.summary.warnings;
  for (const results::Stage& s : emb.results.stages)
    if (s.equilibrium.large) out.warnings.push_back(s.equilibrium.warning);
  out.lines = r.lines;
  out.console = r.notices;
  for (const std::string& f : r.files)
    if (!f.empty()) out.files.push_back(f);
  out.results = std::move(emb.results);
  return out;
}

// A read-only numpy array over a vector of the object self, which it keeps alive.
template <class C, class T>
auto column(std::vector<T> C::*field) {
  return [field](py::object self) {
    const std::vector<T>& v = self.cast<const C&>().*field;
    py::array_t<T> a({static_cast<py::ssize_t>(v.size())}, {static_cast<py::ssize_t>(sizeof(T))}, v.data(), self);
    a.attr("setflags")("write"_a = false);
    return a;
  };
}

// A list of the elements of a vector of the object self, each keeping self alive.
template <class C, class T>
auto items(std::vector<T> C::*field) {
  return [field](py::object self) {
    const std::vector<T>& v = self.cast<const C&>().*field;
    py::list l;
    for (const T& e : v) l.append(py::cast(&e, py::return_value_policy::reference_internal, self));
    return l;
  };
}

// A member object of self, keeping self alive.
template <class C, class T>
auto member(T C::*field) {
  return [field](py::object self) {
    const T& t = self.cast<const C&>().*field;
    return py::cast(&t, py::return_value_policy::reference_internal, self);
  };
}

}  // namespace

PYBIND11_MODULE(_branto, mod) {
  mod.doc() = "The analysis engine of flexible retaining walls (extension module of the package branto).";
  mod.attr("VERSION") = host::VERSION;
  mod.attr("SCHEMA_VERSION") = results::SCHEMA_VERSION;

  using namespace results;
  py::class_<Units>(mod, "Units")
      .def_readonly("system", &Units::system)
      .def_readonly("depth", &Units::depth)
      .def_readonly("length", &Units::length)
      .def_readonly("force", &Units::force)
      .def_readonly("moment", &Units::moment)
      .def_readonly("force_per_length", &Units::force_per_length)
      .def_readonly("rigidity", &Units::rigidity)
      .def_readonly("slope", &Units::slope);

  py::class_<StationTable>(mod, "StationTable")
      .def_property_readonly("station", column(&StationTable::station))
      .def_property_readonly("depth", column(&StationTable::depth))
      .def_property_readonly("deflection", column(&StationTable::deflection))
      .def_property_readonly("slope", column(&StationTable::slope))
      .def_property_readonly("moment", column(&StationTable::moment))
      .def_property_readonly("shear", column(&StationTable::shear))
      .def_property_readonly("soil_reaction", column(&StationTable::soil_reaction))
      .def_property_readonly("net_force", column(&StationTable::net_force))
      .def_property_readonly("rigidity", column(&StationTable::rigidity))
      .def_property_readonly("applied_load", column(&StationTable::applied_load))
      .def_property_readonly("support_force", column(&StationTable::support_force))
      .def("__len__", [](const StationTable& t) { return t.depth.size(); });

  py::class_<Extreme>(mod, "Extreme")
      .def_readonly("value", &Extreme::value)
      .def_readonly("depth", &Extreme::depth)
      .def_readonly("station", &Extreme::station)
      .def("__repr__", [](const Extreme& e) {
        return "Extreme(value=" + py::repr(py::float_(e.value)).cast<std::string>() +
               ", depth=" + py::repr(py::float_(e.depth)).cast<std::string>() + ", station=" + std::to_string(e.station) + ")";
      });

  // The summary: each extreme, and its value alone under the short names.
  auto summary = py::class_<Summary>(mod, "Summary");
  const std::pair<const char*, Extreme Summary::*> EXTREMES[] = {
      {"max_deflection", &Summary::max_deflection},         {"min_deflection", &Summary::min_deflection},
      {"max_moment", &Summary::max_moment},                 {"min_moment", &Summary::min_moment},
      {"max_shear", &Summary::max_shear},                   {"min_shear", &Summary::min_shear},
      {"largest_deflection", &Summary::largest_deflection}, {"largest_moment", &Summary::largest_moment}};
  for (const auto& [name, field] : EXTREMES)
    summary.def_property_readonly(name, member(field));

  py::class_<TieBack>(mod, "TieBack")
      .def_readonly("number", &TieBack::number)
      .def_readonly("station", &TieBack::station)
      .def_readonly("depth", &TieBack::depth)
      .def_readonly("angle", &TieBack::angle)
      .def_readonly("spacing", &TieBack::spacing)
      .def_readonly("prestress", &TieBack::prestress)
      .def_readonly("horizontal_force", &TieBack::horizontal_force)
      .def_readonly("force_per_station", &TieBack::force_per_station)
      .def_readonly("force_per_tie_back", &TieBack::force_per_tie_back);

  py::class_<Restraint>(mod, "Restraint")
      .def_readonly("station", &Restraint::station)
      .def_readonly("depth", &Restraint::depth)
      .def_readonly("force", &Restraint::force)
      .def_readonly("moment", &Restraint::moment);

  py::class_<NodeReaction>(mod, "NodeReaction")
      .def_readonly("point", &NodeReaction::point)
      .def_readonly("station", &NodeReaction::station)
      .def_readonly("depth", &NodeReaction::depth)
      .def_readonly("net_force", &NodeReaction::net_force)
      .def_readonly("reaction", &NodeReaction::reaction);

  py::class_<Pressures>(mod, "Pressures")
      .def_property_readonly("depth", column(&Pressures::depth))
      .def_property_readonly("load", column(&Pressures::load))
      .def_property_readonly("active", column(&Pressures::active))
      .def_property_readonly("surcharge", column(&Pressures::surcharge))
      .def_property_readonly("passive", column(&Pressures::passive))
      .def_property_readonly("at_rest", column(&Pressures::at_rest))
      .def_property_readonly("earth", column(&Pressures::earth))
      .def_property_readonly("water", column(&Pressures::water))
      .def_property_readonly("surface", column(&Pressures::surface))
      .def_property_readonly("sigmah", column(&Pressures::sigmah))
      .def_property_readonly("envelope", column(&Pressures::envelope))
      .def_property_readonly("total", column(&Pressures::total))
      .def("__len__", [](const Pressures& p) { return p.depth.size(); });

  py::class_<CurveSide>(mod, "CurveSide")
      .def_readonly("side", &CurveSide::side)
      .def_property_readonly("y", column(&CurveSide::y))
      .def_property_readonly("p", column(&CurveSide::p));

  py::class_<Curve>(mod, "Curve")
      .def_readonly("kind", &Curve::kind)
      .def_readonly("layer", &Curve::layer)
      .def_readonly("input_layer", &Curve::input_layer)
      .def_readonly("depth", &Curve::depth)
      .def_readonly("station", &Curve::station)
      .def_property_readonly("sides", items(&Curve::sides));

  py::class_<Component>(mod, "Component")
      .def_readonly("name", &Component::name)
      .def_readonly("force", &Component::force)
      .def_readonly("moment", &Component::moment);

  py::class_<Equilibrium>(mod, "Equilibrium")
      .def_readonly("checked", &Equilibrium::checked)
      .def_property_readonly("components", items(&Equilibrium::components))
      .def_readonly("force", &Equilibrium::force)
      .def_readonly("moment", &Equilibrium::moment)
      .def_readonly("reference_force", &Equilibrium::reference_force)
      .def_readonly("reference_moment", &Equilibrium::reference_moment)
      .def_readonly("relative_force", &Equilibrium::relative_force)
      .def_readonly("relative_moment", &Equilibrium::relative_moment)
      .def_readonly("large", &Equilibrium::large)
      .def_readonly("warning", &Equilibrium::warning);

  py::class_<Stage>(mod, "Stage")
      .def_readonly("stage", &Stage::stage)
      .def_readonly("title", &Stage::title)
      .def_readonly("heading", &Stage::heading)
      .def_readonly("unit_code", &Stage::unit_code)
      .def_property_readonly("units", member(&Stage::units))
      .def_readonly("exit", &Stage::exit)
      .def_readonly("exit_code", &Stage::exit_code)
      .def_readonly("iterations", &Stage::iterations)
      .def_readonly("converged", &Stage::converged)
      .def_readonly("mechanism", &Stage::mechanism)
      .def_readonly("width", &Stage::width)
      .def_readonly("increments", &Stage::increments)
      .def_readonly("increment", &Stage::increment)
      .def_readonly("wall_length", &Stage::wall_length)
      .def_readonly("excavation", &Stage::excavation)
      .def_readonly("has_water", &Stage::has_water)
      .def_readonly("water_backfill", &Stage::water_backfill)
      .def_readonly("water_excavation", &Stage::water_excavation)
      .def_property_readonly("stations", member(&Stage::stations))
      .def_property_readonly("summary", member(&Stage::summary))
      .def_property_readonly("tie_backs", items(&Stage::tie_backs))
      .def_property_readonly("restraints", items(&Stage::restraints))
      .def_property_readonly("node_reactions", items(&Stage::node_reactions))
      .def_property_readonly("pressures", member(&Stage::pressures))
      .def_property_readonly("curves", items(&Stage::curves))
      .def_property_readonly("equilibrium", member(&Stage::equilibrium))
      .def_readonly("warnings", &Stage::warnings)
      .def("__repr__", [](const Stage& s) {
        return "<branto.Stage " + std::to_string(s.stage) + ": " + s.exit + ", " + std::to_string(s.iterations) +
               " iterations>";
      });

  py::class_<RunOut>(mod, "Run")
      .def_property_readonly("input", [](const RunOut& r) { return r.results.input; })
      .def_property_readonly("version", [](const RunOut& r) { return r.results.version; })
      .def_property_readonly("date", [](const RunOut& r) { return r.results.date; })
      .def_readonly("outcome", &RunOut::outcome)
      .def_readonly("message", &RunOut::message)
      .def_readonly("status", &RunOut::status)
      .def_readonly("warnings", &RunOut::warnings)
      .def_readonly("lines", &RunOut::lines)
      .def_readonly("console", &RunOut::console)
      .def_readonly("files", &RunOut::files)
      .def_property_readonly("run_warnings", [](const RunOut& r) { return r.results.warnings; })
      .def_property_readonly("stages",
                             [](py::object self) {
                               const RunOut& r = self.cast<const RunOut&>();
                               py::list l;
                               for (const Stage& s : r.results.stages)
                                 l.append(py::cast(&s, py::return_value_policy::reference_internal, self));
                               return l;
                             })
      .def("json", [](const RunOut& r) { return outputs::json_text(r.results); },
           "The JSON document of the run, as --json writes it.")
      .def("csv", [](const RunOut& r) { return outputs::csv_text(r.results); },
           "The CSV table of the stations of every stage, as --csv writes it.")
      .def("html", [](const RunOut& r) { return outputs::html_text(r.results); },
           "The HTML report, as --html writes it.");

  mod.def(
      "analyse",
      [](const std::string& input, bool from_text, const std::string& text, std::optional<std::string> out_dir,
         bool json, bool csv, bool html, bool keep_scratch, int curve_depths) {
        Request q{input, from_text, text, std::move(out_dir), json, csv, html, keep_scratch, curve_depths};
        RunOut out;
        {
          py::gil_scoped_release unlocked;  // the run touches no Python object
          out = analyse(q);
        }
        return out;
      },
      "input"_a, "from_text"_a, "text"_a, "out_dir"_a, "json"_a, "csv"_a, "html"_a, "keep_scratch"_a,
      "curve_depths"_a);

  // The reading of an input without its analysis, as branto check reads it: the records
  // with their lines, fields, values and units, the facts to confirm, the warnings and
  // the error, as plain Python data. Nothing is written.
  mod.def(
      "listing",
      [](const std::string& input, bool from_text, const std::string& text, int curve_depths) {
        InputListing l;
        {
          py::gil_scoped_release unlocked;
          l = from_text ? LSTTXT(model(), input, text, curve_depths) : LSTINP(model(), input, curve_depths);
        }
        py::list records;
        for (const ListRecord& r : l.records) {
          py::list fields;
          for (const ListField& f : r.fields) fields.append(py::dict("name"_a = f.name, "value"_a = f.value, "unit"_a = f.unit));
          records.append(py::dict("problem"_a = r.NPROB, "first_line"_a = r.first, "last_line"_a = r.last,
                                  "left"_a = r.left, "record"_a = r.what, "fields"_a = fields));
        }
        py::list facts;
        for (const ListFact& f : l.facts) facts.append(py::dict("problem"_a = f.NPROB, "name"_a = f.name, "value"_a = f.value));
        return py::dict("records"_a = records, "facts"_a = facts, "warnings"_a = l.warnings, "error"_a = l.error,
                        "problems"_a = l.problems, "status"_a = l.status);
      },
      "input"_a, "from_text"_a, "text"_a, "curve_depths"_a);
}
