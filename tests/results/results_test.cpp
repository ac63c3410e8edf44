// results_test.cpp -- the results taken out of the model: the equilibrium of every action
// the station equations hold, on walls built for it and on every bundled input; the
// values of a stage against the report's stored results; extremes, curves, warnings.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "../run/runcase.h"
#include "../wall/wallcase.h"
#include "results/results.h"

namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

// Every input the repository bundles: the examples and the inputs of the whole-run cases.
std::vector<fs::path> inputs() {
  std::vector<fs::path> v;
  const fs::path src(BRANTO_SOURCE_DIR);
  for (const auto& e : fs::directory_iterator(src / "examples"))
    if (e.path().extension() == ".dat") v.push_back(e.path());
  for (const char* d : {"tests/cases", "tests/runs"})
    for (const auto& e : fs::directory_iterator(src / d))
      if (fs::exists(e.path() / "in.dat")) v.push_back(e.path() / "in.dat");
  std::sort(v.begin(), v.end());
  return v;
}

results::RunResults run_all(RunCase& c, const std::string& text) {
  results::RunResults r;
  c.names();
  c.file("in.dat", text);
  c.summary.problem_done = [&](const Model& m) { r.stages.push_back(results::take_stage(m)); };
  c.run();
  results::take_warnings(c.m, r);
  return r;
}

double component(const results::Equilibrium& e, const std::string& name, bool moment = false) {
  for (const auto& c : e.components)
    if (c.name == name) return moment ? c.moment : c.force;
  ADD_FAILURE() << "no component " << name;
  return 0;
}

}  // namespace

TEST(EQUILIBRIUM, EveryBundledInputBalancesWithinRoundOff) {
  int checked = 0;
  for (const fs::path& p : inputs()) {
    SCOPED_TRACE(p.string());
    RunCase c("eq-" + p.parent_path().filename().string() + "-" + p.stem().string());
    const results::RunResults r = run_all(c, slurp(p));
    ASSERT_FALSE(r.stages.empty()) << c.console;
    for (const results::Stage& s : r.stages) {
      const results::Equilibrium& e = s.equilibrium;
      if (!e.checked) continue;
      ++checked;
      EXPECT_LE(e.relative_force, 1.0E-6) << "stage " << s.stage;
      EXPECT_LE(e.relative_moment, 1.0E-6) << "stage " << s.stage;
      EXPECT_FALSE(e.large);
      EXPECT_TRUE(e.warning.empty());
    }
  }
  EXPECT_GE(checked, 20);
}

// Walls that load every term of the station equations: loads and couples inside and at
// the ends, axial loads, lateral and rotational restraints in a chain, tie backs,
// nonlinear support curves, specified deflections and slopes.
TEST(EQUILIBRIUM, EveryActionOfTheStationEquationsBalances) {
  struct Case {
    const char* name;
    void (*build)(WallCase&);
    std::vector<const char*> acting;  // components that must not vanish
  };
  const std::vector<Case> cases = {
      {"loads, couples and axial loads on restraints",
       [](WallCase& c) {
         c.record(0, 0, 0, 50.0, 30.0, 0.0);
         c.record(3, 7, 0, -5.0, 12.0, 400.0);
         c.record(10, 10, 0, 0.0, -20.0, 0.0);
         c.restraint(0, 5, 1, 100.0, 50.0);
         c.restraint(5, 10, 0, 300.0, 0.0);
       },
       {"station_loads", "couples", "axial_loads", "restraints"}},
      {"fixed base, load and couple at a free head",
       [](WallCase& c) {
         c.record(0, 0, 0, 10.0, 5.0);
         c.point(1, 10, 3, 0.0, 0.0);
       },
       {"station_loads", "couples", "specified_points"}},
      {"head slope and deflection held, tie back, soil curves",
       [](WallCase& c) {
         c.record(2, 8, 0, 20.0);
         c.tie(4.0, 0.001, 2.0E8, 5.0, 15.0, 2.0, 30.0);
         c.point(1, 0, 2, 0.0, 0.001);
         c.point(2, 10, 1, 0.002, 0.0);
         c.curve(5, 10, 0, {-0.01, -0.001, 0.0, 0.001, 0.01}, {80.0, 40.0, 0.0, -40.0, -80.0});
       },
       {"station_loads", "tie_backs", "support_curves", "specified_points"}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    WallCase c(10, 1.0, SI, 1.0E4);
    k.build(c);
    c.stadat();
    c.analyse();
    const results::Equilibrium e = results::equilibrium(c.m);
    EXPECT_TRUE(e.checked);
    EXPECT_LE(e.relative_force, 1.0E-10);
    EXPECT_LE(e.relative_moment, 1.0E-10);
    for (const char* n : k.acting) EXPECT_NE(0.0, std::fabs(component(e, n)) + std::fabs(component(e, n, true))) << n;
  }
}

TEST(EQUILIBRIUM, ReactionsOfAFixedBaseHoldTheHeadLoad) {
  // A cantilever fixed at its base with a load P at its head: the base reaction is -P
  // and its moment about the tip -P*L; the applied load's moment about the tip is P*L.
  WallCase c(20, 0.5, SI, 1.0E5);
  c.record(0, 0, 0, 12.0);
  c.point(1, 20, 3, 0.0, 0.0);
  c.stadat();
  c.analyse();
  std::vector<double> RF;
  const results::Equilibrium e = results::equilibrium(c.m, &RF);
  EXPECT_NEAR(-12.0, component(e, "specified_points"), 1e-9);
  EXPECT_NEAR(-120.0, component(e, "specified_points", true), 1e-8);
  EXPECT_NEAR(120.0, component(e, "station_loads", true), 1e-12);
  EXPECT_GE(e.reference_force, 12.0);  // the held slope's couple acts as forces too
  const results::Stage s = results::take_stage(c.m);
  ASSERT_EQ(1u, s.node_reactions.size());
  EXPECT_NEAR(-12.0, s.node_reactions[0].reaction, 1e-9);
  EXPECT_EQ(c.STA.XNF(24), s.node_reactions[0].net_force);
}

TEST(RESULTS, StageValuesAreTheReportsStoredResults) {
  WallCase c(10, 12.0, ENGLISH);
  c.restraint(0, 10, 0, 100.0, 5.0);
  c.record(0, 0, 0, 50.0);
  c.tie(3.0, 1.0, 29.0E6, 15.0, 10.0, 8.0, 1000.0);
  c.C.RV6 = 12;
  c.stadat();
  c.analyse();
  const results::Stage s = results::take_stage(c.m);
  EXPECT_EQ("converged", s.exit);
  EXPECT_TRUE(s.converged);
  EXPECT_EQ("FT", s.units.depth);
  EXPECT_EQ("IN", s.units.length);
  EXPECT_EQ("LBS-IN", s.units.moment);
  EXPECT_EQ("LBS/IN", s.units.force_per_length);
  EXPECT_EQ("LBS-IN**2", s.units.rigidity);
  EXPECT_EQ(10.0, s.wall_length);  // feet
  const auto& R = c.m.RES;
  ASSERT_EQ(11u, s.stations.depth.size());
  for (int I = 0; I <= 10; ++I) {
    EXPECT_EQ(R.X(I + 4) / 12, s.stations.depth[I]);
    EXPECT_EQ(R.DEFL(I + 4), s.stations.deflection[I]);
    EXPECT_EQ(R.SLOPE(I + 4), s.stations.slope[I]);
    EXPECT_EQ(R.XMOM(I + 4), s.stations.moment[I]);
    EXPECT_EQ(R.SHEAR(I + 4), s.stations.shear[I]);
    EXPECT_EQ(R.SR(I + 4), s.stations.soil_reaction[I]);
    EXPECT_EQ(R.XNF(I + 4), s.stations.net_force[I]);
    EXPECT_EQ(R.EI(I + 4), s.stations.rigidity[I]);
  }
  ASSERT_EQ(1u, s.tie_backs.size());
  EXPECT_EQ(c.m.TIE.HFORCE(1), s.tie_backs[0].horizontal_force);
  EXPECT_EQ(c.m.TIE.FSTA(1), s.tie_backs[0].force_per_station);
  EXPECT_EQ(c.m.TIE.FTIE(1), s.tie_backs[0].force_per_tie_back);
  // The tie back's prestress belongs to the tie back, not to the applied loads.
  EXPECT_EQ(50.0, s.stations.applied_load[0]);
  EXPECT_EQ(0.0, s.stations.applied_load[3]);
  ASSERT_EQ(11u, s.restraints.size());
  EXPECT_EQ(c.STA.FREST(4), s.restraints[0].force);
  EXPECT_EQ(c.STA.MREST(14), s.restraints[10].moment);
}

TEST(RESULTS, ExtremesTakeTheShallowestStation) {
  WallCase c(4, 1.0);
  c.stadat();
  c.analyse();
  results::Stage s = results::take_stage(c.m);  // nothing acts: every value 0
  EXPECT_EQ(0, s.summary.max_deflection.station);
  EXPECT_EQ(0, s.summary.min_moment.station);
  c.record(2, 2, 0, 10.0);
  c.point(1, 0, 1, 0.0, 0.0);
  c.point(2, 4, 1, 0.0, 0.0);
  c.stadat();
  c.analyse();
  s = results::take_stage(c.m);
  EXPECT_EQ(2, s.summary.max_deflection.station);  // a simple beam loaded at midspan
  EXPECT_EQ(2.0, s.summary.max_deflection.depth);
  EXPECT_EQ(c.w(2), s.summary.max_deflection.value);
  EXPECT_EQ(0.0, s.summary.min_deflection.value);
  EXPECT_EQ(0, s.summary.min_deflection.station);
}

TEST(RESULTS, AWarningExitKeepsItsLastIterationUnchecked) {
  WallCase c(10, 1.0);
  c.record(0, 0, 0, 1000.0);
  c.curve(0, 10, 0, {0.0, 0.001, 1.0}, {0.0, -5.0, -5.0});
  c.C.ITMAX = 2;
  c.stadat();
  c.analyse();
  ASSERT_EQ(KXLIMN, c.m.ITR.KEXIT);
  const results::Stage s = results::take_stage(c.m);
  EXPECT_EQ("not_closed", s.exit);
  EXPECT_FALSE(s.converged);
  EXPECT_FALSE(s.equilibrium.checked);
  EXPECT_FALSE(s.equilibrium.large);
  ASSERT_EQ(11u, s.stations.deflection.size());
  EXPECT_EQ(c.w(0), s.stations.deflection[0]);  // the last iteration, not the stored results
  EXPECT_EQ(0, c.m.RES.NSTA);
}

TEST(RESULTS, GeneratedCurvesKeepTheirLayerDepthAndSides) {
  RunCase c("curves");
  const results::RunResults r = run_all(c, slurp(fs::path(BRANTO_SOURCE_DIR) / "examples/softclay_cantilever.dat"));
  ASSERT_EQ(1u, r.stages.size());
  const results::Stage& s = r.stages[0];
  const auto& SW = c.m.SW;
  ASSERT_EQ(static_cast<std::size_t>(SW.NCD * SW.NLI), s.curves.size());
  for (std::size_t i = 0; i < s.curves.size(); ++i) {
    const results::Curve& cv = s.curves[i];
    const int L = static_cast<int>(i) / SW.NCD + 1, I = static_cast<int>(i) % SW.NCD + 1;
    EXPECT_EQ("generated", cv.kind);
    EXPECT_EQ(L, cv.layer);
    EXPECT_EQ(SW.LNUM(L), cv.input_layer);
    EXPECT_EQ(c.m.C.XEXC + SW.XC(L, I), cv.depth);
    EXPECT_EQ(NEAREST(cv.depth / c.m.C.H), cv.station);
    ASSERT_EQ(2u, cv.sides.size());
    EXPECT_EQ("backfill", cv.sides[0].side);
    EXPECT_EQ(17u, cv.sides[0].y.size());
    EXPECT_EQ(16u, cv.sides[1].y.size());
    EXPECT_EQ(0.0, cv.sides[0].y.back());
    EXPECT_GT(cv.sides[1].y.front(), 0.0);
    const int J = static_cast<int>(i) + 1;
    EXPECT_EQ(c.m.CRV.F(J, 20) / c.m.C.H, cv.sides[1].p[2]);
  }
}

TEST(RESULTS, WarningsGoToTheirStages) {
  RunCase c("warnings");
  setenv("BRANTO_CURVE_DEPTHS", "x", 1);
  const results::RunResults r =
      run_all(c, slurp(fs::path(BRANTO_SOURCE_DIR) / "tests/cases/mistakes/excavation_twice.dat"));
  unsetenv("BRANTO_CURVE_DEPTHS");
  ASSERT_EQ(1u, r.warnings.size());
  EXPECT_NE(std::string::npos, r.warnings[0].find("BRANTO_CURVE_DEPTHS=x"));
  ASSERT_FALSE(r.stages.empty());
  ASSERT_EQ(1u, r.stages[0].warnings.size());
  EXPECT_EQ(std::string(c.m.WRN.TEXT(2).trimmed()), r.stages[0].warnings[0]);
}

TEST(EQUILIBRIUM, ADeflectionOffTheSolutionIsALargeResidual) {
  WallCase c(10, 1.0, SI, 1.0E4);
  c.record(0, 0, 0, 10.0);
  c.restraint(0, 10, 0, 100.0, 0.0);
  c.stadat();
  c.analyse();
  EXPECT_FALSE(results::equilibrium(c.m).large);
  c.STA.W(9) *= 1.001;  // what a solver fault would leave
  c.m.D.NPROB = 3;
  const results::Stage s = results::take_stage(c.m);
  EXPECT_TRUE(s.equilibrium.large);
  EXPECT_GT(s.equilibrium.relative_force, 1.0E-6);
  EXPECT_EQ(0u, s.equilibrium.warning.find("EQUILIBRIUM CHECK OF STAGE 3: RESIDUAL FORCE "));
}
