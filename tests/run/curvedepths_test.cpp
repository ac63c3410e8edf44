// Curve depths per soil layer: a pile in one thick layer of sand against the same sand
// given as thirteen layers. Five curve depths per layer warn and overstate the
// resistance; the refinement asked for by BRANTO_CURVE_DEPTHS agrees with the thin layers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "runcase.h"

namespace {

// A steel pipe pile, 0.61 m, 21 m long in NL layers of sand (phi 39 degrees, effective
// unit weight 10.4 kN/m3, k 33.9 MN/m3), 356 kN at the head; no earth pressure on it.
std::string sand_pile(int NL) {
  std::string t = "SAND PILE, " + std::to_string(NL) + " LAYER(S)\n";
  t += "2 0 1 1 0 2 2 0 0 0 0 0\n210 0.1 1.0 1.0E-6 0.0 1.0 21.0 100 0 0\n0.0 21.0 1\n1 1 0 0\n'PIPE 610'\n";
  t += "0.61 0.0 0.0 0.0 0.0 0.0 0.0 0.0\n0.0 0.0 0.0 8.08E8 0.0 0.0 0.0 0.0 2.0E8 0.0 0.0 0\n0 0 0.0 0 0\n' '\n";
  t += "1 0\n1\n0 0 0 356.0 0.0 0.0\n0\n0.0 2.0 0.61 100.0 100.0 0.0 0 0.0 0.0\n0.0 0.0 0.0 0.0 0.0 0.0\n0\n";
  t += std::to_string(NL) + " 1 0.0\n";
  for (int J = 1; J <= NL; ++J) {
    t += "4 " + std::to_string(21.0 * J / NL) + "\n";
    t += "10.4 0.0 39.0 0.0 0.0 33900.0\n0.0 0.0 39.0 0.0 0.0 33900.0\n";
  }
  return t + "0\n";
}

struct Result {
  int code = -1;
  double w = 0, m = 0;  // head deflection, largest moment
  int nwarn = 0;
  std::string warnings;
};

Result run(int NL, const char* depths) {
  RunCase c("sand" + std::to_string(NL));
  c.names();
  c.file("in.dat", sand_pile(NL));
  if (depths != nullptr) setenv("BRANTO_CURVE_DEPTHS", depths, 1);
  Result r;
  r.code = c.run();
  unsetenv("BRANTO_CURVE_DEPTHS");
  r.w = c.m.RES.DEFL(4);
  r.m = c.summary.problems.empty() ? 0 : c.summary.problems[0].XMMAX;
  // Only the curve-depth warnings: the KPY of 33.9 MN/m3 at each layer's top also warns
  // that it is taken as an active coefficient (harmless here: no free height).
  for (const auto& w : c.summary.warnings) {
    if (w.find("CURVE DEPTHS") == std::string::npos) continue;
    ++r.nwarn;
    r.warnings += w + "\n";
  }
  return r;
}

}  // namespace

TEST(CURVEDEPTHS, OneThickLayerRefinedAgreesWithThinLayers) {
  const Result thin = run(13, nullptr), coarse = run(1, nullptr), fine = run(1, "36");
  ASSERT_EQ(RC_OK, thin.code);
  EXPECT_EQ(0, thin.nwarn) << thin.warnings;
  EXPECT_NEAR(0.0401, thin.w, 0.0005);
  // Five depths in 21 m: stiffer and stronger than the sand, and said so.
  EXPECT_LT(coarse.w, 0.7 * thin.w);
  EXPECT_LT(coarse.m, 0.85 * thin.m);
  ASSERT_EQ(1, coarse.nwarn);
  EXPECT_NE(std::string::npos, coarse.warnings.find("SOIL LAYER 1 (SAND)")) << coarse.warnings;
  EXPECT_NE(std::string::npos, coarse.warnings.find("BRANTO_CURVE_DEPTHS=36")) << coarse.warnings;
  // The count it names: within 3 % of the thin layers, and no warning.
  EXPECT_EQ(0, fine.nwarn) << fine.warnings;
  EXPECT_NEAR(thin.w, fine.w, 0.03 * thin.w);
  EXPECT_NEAR(thin.m, fine.m, 0.03 * thin.m);
}

TEST(CURVEDEPTHS, EnvironmentValuesOutsideTheRange) {
  // Read once at the start of the run; a value that is not a count from 5 to 50 warns
  // and the nearest allowed count is used.
  struct Row {
    const char* value;
    int used;
  } rows[] = {{"", NCDDEF}, {"7", 7}, {"4", NCDDEF}, {"51", MXCD}, {"7x", NCDDEF}, {"-9", NCDDEF}};
  for (const Row& r : rows) {
    RunCase c("cdenv");
    c.names();
    c.file("in.dat", problem("NO SOIL", 2, 0) + "0\n");
    setenv("BRANTO_CURVE_DEPTHS", r.value, 1);
    EXPECT_EQ(RC_OK, c.run());
    unsetenv("BRANTO_CURVE_DEPTHS");
    EXPECT_EQ(r.used, c.m.D.NCDRUN) << r.value;
    const bool bad = *r.value != 0 && r.used != 7;
    int nwarn = 0;  // the warnings about the variable (others tell of the problem itself)
    for (const auto& w : c.summary.warnings) nwarn += w.rfind("BRANTO_CURVE_DEPTHS", 0) == 0;
    ASSERT_EQ(bad ? 1 : 0, nwarn) << r.value;
    if (bad) {
      EXPECT_EQ(std::string("BRANTO_CURVE_DEPTHS=") + r.value +
                    " IS NOT A NUMBER OF CURVE DEPTHS PER SOIL LAYER FROM 5 TO 50: " + std::to_string(r.used) +
                    " ARE USED",
                c.summary.warnings[0]);
    }
  }
}
