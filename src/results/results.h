// results.h -- the results of one problem taken out of the model once, as plain values
// that hosts keep, show and write: the station table, the summary, the tie-back,
// restraint and node results, the pressure table, the support curves in force, the
// equilibrium check and the warnings. Nothing here refers back to the model.
//
// Units are those of the report: depths in the depth unit (feet in English units),
// deflections and the lengths inside forces and moments in the length unit (inches),
// forces per station, moments, and the soil reaction per unit length of wall. Signs are
// those of the solution: deflection and load positive toward the excavation.
#pragma once

#include <string>
#include <vector>

#include "model/model.h"

namespace results {

// Version of this layout (JSON "schema_version"); raised when a field changes meaning or
// goes. Fields may be added without raising it.
constexpr int SCHEMA_VERSION = 1;

// A relative equilibrium residual above this is reported as a warning.
constexpr double EQTOL = 1.0E-6;

// Unit labels of the problem, as the report prints them.
struct Units {
  std::string system;            // "English", "SI"
  std::string depth;             // "FT", "M"
  std::string length;            // "IN", "M": deflection
  std::string force;             // "LBS", "KN"
  std::string moment;            // "LBS-IN", "KN-M"
  std::string force_per_length;  // "LBS/IN", "KN/M": soil reaction, p of the p-y curves
  std::string rigidity;          // "LBS-IN**2", "KN-M**2"
  std::string slope;             // "RAD"
};

// One entry per station 0..NI, from the top.
struct StationTable {
  std::vector<int> station;
  std::vector<double> depth;          // depth unit
  std::vector<double> deflection;     // length unit
  std::vector<double> slope;          // rad
  std::vector<double> moment;         // F*L; at an end station the moment just inside the wall
  std::vector<double> shear;          // F
  std::vector<double> soil_reaction;  // F/L, the report's column: the support curves'
                                      // force at the deflections the last solution started from
  std::vector<double> net_force;      // F per station
  std::vector<double> rigidity;       // F*L**2
  std::vector<double> applied_load;   // F per station: earth pressure and the loads of the
                                      // stiffness and load records (not the tie-back prestress)
  std::vector<double> support_force;  // F per station: the support curves' force in the last
                                      // solution (their linearisation at its deflections)
};

struct Extreme {
  double value = 0;
  double depth = 0;  // of the shallowest station with that value
  int station = 0;
};
struct Summary {
  Extreme max_deflection, min_deflection, max_moment, min_moment, max_shear, min_shear;
  Extreme largest_deflection, largest_moment;  // of the largest magnitude
};

struct TieBack {
  int number = 0;  // in input order
  int station = 0;
  double depth = 0;          // depth unit
  double angle = 0;          // horizontal angle, degrees
  double spacing = 0;        // as given (feet in English units)
  double prestress = 0;      // prestress force, F
  double horizontal_force = 0;   // F per station: prestress load less stiffness times deflection
  double force_per_station = 0;  // F per station along the tie back
  double force_per_tie_back = 0; // F
};

// What the restraints exerted at one station (all records together): the stiffness as
// distributed times the deflection and times the slope. The wall receives the opposite.
struct Restraint {
  int station = 0;
  double depth = 0;
  double force = 0;   // F
  double moment = 0;  // F*L
};

// A specified deflection or slope point: the net force per station that the report
// prints, and the reaction that holds the condition (force toward the excavation that the
// support exerts on the wall: the residual of the replaced station equations).
struct NodeReaction {
  int point = 0;
  int station = 0;
  double depth = 0;
  double net_force = 0;  // F
  double reaction = 0;   // F, summed over the stations the condition replaces
};

// The pressure table in force, per row, after its read-back (columns 3 to 12 times the
// width: force per unit length of wall; the load per station of column 2).
struct Pressures {
  std::vector<double> depth;       // depth unit
  std::vector<double> load;        // F per station, as the stations interpolate it
  std::vector<double> active;      // active earth plus drained water, less the surface part
  std::vector<double> surcharge;   // surcharge plus the surface part
  std::vector<double> passive;
  std::vector<double> at_rest;
  std::vector<double> earth;       // active earth without water, less the surface part
  std::vector<double> water;
  std::vector<double> surface;
  std::vector<double> sigmah;      // lateral pressure of the surcharges
  std::vector<double> envelope;    // apparent-pressure envelope (options 3 and 5)
  std::vector<double> total;       // total lateral pressure
};

// A support curve as it acts on the wall: deflection y (length unit) and force p per unit
// length of wall, signed (a resisting curve has p opposite to y). A generated curve has two
// sides: the backfill side for y <= 0 and the excavation side for y > 0.
struct CurveSide {
  std::string side;  // "backfill", "excavation", or "both" for a curve given whole
  std::vector<double> y, p;
};
struct Curve {
  std::string kind;  // "generated", "user", "earth_pressure" (option 4 above the excavation)
  int layer = 0;        // soil layer below the excavation of a generated curve (the report's
                        // "LAYER n" of the p-y curves), else 0
  int input_layer = 0;  // the input's soil layer of that layer, else 0
  double depth = 0;  // depth unit: the curve depth of a generated curve, else the station's
  int station = 0;
  std::vector<CurveSide> sides;
};

// Horizontal force (positive toward the excavation) and moment about the wall tip of one
// kind of action on the wall, F and F*L.
struct Component {
  std::string name;
  double force = 0, moment = 0;
};
// The balance of the forces that acted in the last solution: station loads, couples, axial
// loads, support curves, tie backs, restraints and the reactions of specified points.
struct Equilibrium {
  bool checked = false;  // a closed solution (linear, converged, closed at the limit) that
                         // holds equilibrium (no mechanism): the residuals must vanish
  std::vector<Component> components;
  double force = 0, moment = 0;  // residuals: the sums of the components
  double reference_force = 0;    // the largest sum of the magnitudes of the station forces
                                 // of one kind (station loads, support curves, tie backs,
                                 // restraints, reactions), F
  double reference_moment = 0;   // that force times the wall length, F*L
  double relative_force = 0, relative_moment = 0;
  bool large = false;            // checked, and a relative residual above EQTOL
  std::string warning;           // its text (after "WARNING -- "), empty when not large
};

// Everything of one problem (stage).
struct Stage {
  int stage = 0;              // stage number
  std::string title;          // the problem's own title
  std::string heading;        // the problem heading of the report
  int unit_code = 0;          // IUNIT
  Units units;
  std::string exit;           // "linear", "converged", "closed_at_limit", "not_closed",
                              // "deflection_exceeded"
  int exit_code = KXNONE;     // KEXIT
  int iterations = 0;
  bool converged = false;     // the report printed its tables (a closed exit)
  bool mechanism = false;     // the solution holds no equilibrium
  double width = 0;           // RV6: the width of wall the analysis stands for, length unit
  int increments = 0;         // NI
  double increment = 0;       // H, length unit
  double wall_length = 0;     // NI*H, depth unit
  double excavation = 0;      // XEXC, depth unit
  bool has_water = false;     // the soil profile of this problem gives water tables
  double water_backfill = 0, water_excavation = 0;  // ZWA, ZWP, depth unit
  StationTable stations;
  Summary summary;
  std::vector<TieBack> tie_backs;
  std::vector<Restraint> restraints;
  std::vector<NodeReaction> node_reactions;
  Pressures pressures;
  std::vector<Curve> curves;
  Equilibrium equilibrium;
  std::vector<std::string> warnings;  // the engine's warnings of this stage, text after "WARNING -- "
};

struct RunResults {
  std::string input;    // the input data file as the user named it
  std::string version;  // program version
  std::string date;     // date and time of the analysis, "YYYY-MM-DD HH:MM:SS"
  std::string outcome = "ok";  // how the run ended: "ok", "input_error", "ended_early",
                               // "stop", "file_error", "internal_error"
  std::string message;         // the message of an outcome other than "ok"
  std::vector<Stage> stages;
  std::vector<std::string> warnings;  // warnings of the run before its first problem
};

// The results of the problem just analysed (after its results report). The stations,
// tie-back forces and reactions of a warning exit are those of its last iteration.
Stage take_stage(const Model& m);
// The equilibrium check of the last solution (part of take_stage). RF, when given,
// receives by internal index K the reaction of every station whose equation a specified
// point replaced (0 elsewhere).
Equilibrium equilibrium(const Model& m, std::vector<double>* RF = nullptr);
// After the run: each stage's warnings, and those before the first problem.
void take_warnings(const Model& m, RunResults& r);

// Exit words of KEXIT, as in "exit".
const char* exit_word(int KEXIT);
// The date and time of the analysis as the report header takes it (SOURCE_DATE_EPOCH,
// when set), "YYYY-MM-DD HH:MM:SS".
std::string analysis_date();

}  // namespace results
