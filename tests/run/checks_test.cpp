// The checks that never change the analysis: what each warns of and, as much, what it
// leaves alone; the solution that holds no equilibrium. The typical mistakes run whole
// through the host in mistakes_test.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "readcase.h"
#include "report/report.h"

namespace {

// A 10 m wall of 10 stations with rigidity everywhere, excavated 2 m, one soil layer to
// 20 m of type KT whose top record's sixth value is KOPT; nothing to warn of as it stands.
struct CheckCase : ReadCase {
  CheckCase(int KT = 4, double KOPT = 0) : ReadCase("", SI, 10, 1.0) {
    u.capture_console();
    C.HWALL = 10;
    C.XEXC = 2;
    C.KEP = 2;
    C.KPYGEN = 2;
    C.NSECT = 1;
    C.RV6 = 1;
    auto& S = m.SOIL;
    S.HFREE = 2;
    S.WA = S.WP = 1;
    S.LWALL = 5;
    S.NL = 1;
    S.ZBOT(1) = 20;
    S.LTYPE(1) = KT;
    S.KPYTOP(1) = KOPT;
    for (int K = 4; K <= 14; ++K) m.STA.EI(K) = 1.0E5;
  }
  int warnings() {
    m.WRN.NWARN = 0;
    CHECKS(run);
    return m.WRN.NWARN;
  }
};

}  // namespace

TEST(CHECKS, WhatEachFindingNeeds) {
  const struct {
    const char* name;
    void (*set)(CheckCase&);
    int nwarn;
  } t[] = {
      {"clean", [](CheckCase&) {}, 0},
      // The optional coefficient: plausible values and rock layers pass.
      {"kopt 0.5", [](CheckCase& c) { c.m.SOIL.KPYTOP(1) = 0.5; }, 0},
      {"kopt 5", [](CheckCase& c) { c.m.SOIL.KPYTOP(1) = 5.0; }, 0},
      {"kopt 5.1", [](CheckCase& c) { c.m.SOIL.KPYTOP(1) = 5.1; }, 1},
      {"rock kpy",
       [](CheckCase& c) {
         c.m.SOIL.LTYPE(1) = 6;
         c.m.SOIL.KPYTOP(1) = 3.0E5;
       },
       0},
      {"type 0", [](CheckCase& c) { c.m.SOIL.LTYPE(1) = 0; }, 1},
      // The wall length against HWALL: half an increment is the same station.
      {"hwall half", [](CheckCase& c) { c.C.HWALL = 10.5; }, 0},
      {"hwall more", [](CheckCase& c) { c.C.HWALL = 10.51; }, 1},
      {"excavation", [](CheckCase& c) { c.C.XEXC = 2.5; }, 1},
      // RV6 matters with tie backs only.
      {"rv6 alone", [](CheckCase& c) { c.C.RV6 = 12; }, 0},
      {"rv6 tie back",
       [](CheckCase& c) {
         c.C.RV6 = 12;
         c.m.TIE.NTIEF = 1;
       },
       1},
      {"no rigidity", [](CheckCase& c) { c.m.STA.EI(9) = c.m.STA.EI(10) = 0; }, 1},
      {"two gaps", [](CheckCase& c) { c.m.STA.EI(4) = c.m.STA.EI(10) = 0; }, 2},
      // The profile: to the tip is enough; above the excavation the stop explains it.
      {"to the tip", [](CheckCase& c) { c.m.SOIL.ZBOT(1) = 10; }, 0},
      {"above the tip", [](CheckCase& c) { c.m.SOIL.ZBOT(1) = 8; }, 1},
      {"above the excavation", [](CheckCase& c) { c.m.SOIL.ZBOT(1) = 1.5; }, 0},
      {"bottoms out of order",
       [](CheckCase& c) {
         c.m.SOIL.NL = 2;
         c.m.SOIL.ZBOT(2) = 15;
       },
       1},
      {"no curves",
       [](CheckCase& c) {
         c.C.XEXC = c.m.SOIL.HFREE = 12.5;
         c.m.SOIL.ZBOT(1) = 30;
       },
       1},
      // A problem without wall sections: only its own records against the data in force.
      {"no wall",
       [](CheckCase& c) {
         c.C.NSECT = 0;
         c.m.SOIL.KPYTOP(1) = 9;
         c.m.STA.EI(9) = 0;
       },
       0},
  };
  for (const auto& x : t) {
    SCOPED_TRACE(x.name);
    CheckCase c;
    x.set(c);
    EXPECT_EQ(x.nwarn, c.warnings()) << c.u.text(LCON);
  }
}

TEST(CHECKS, BlockOpensWithAnEmptyLineAndNamesTheLines) {
  CheckCase c(9, 16300.0);
  c.m.SOIL.LLAY(1) = 21;
  c.m.SOIL.LLTOP(1) = 22;
  EXPECT_EQ(2, c.warnings());
  const auto out = c.lines();
  ASSERT_EQ(3u, out.size());
  EXPECT_EQ("", out[0]);
  EXPECT_EQ(0u, out[1].find("WARNING -- SOIL LAYER 1 (INPUT LINE 21) HAS THE SOIL TYPE CODE 9"));
  EXPECT_EQ(0u, out[2].find("WARNING -- SOIL LAYER 1 (TOP RECORD, INPUT LINE 22): ITS SIXTH VALUE 16300.0"));
}

TEST(CHKMEC, ClosedSolutionsWithoutEquilibrium) {
  const double NaN = std::numeric_limits<double>::quiet_NaN();
  const struct {
    int KEXIT;
    double W;  // deflection of station 5 of a 10 m wall
    int KMECH;
  } t[] = {{KXCONV, 9.9, 0}, {KXCONV, -10.1, 1},  {KXLIMC, 11.0, 1},
           {KXLIN, NaN, 1},  {KXLIMN, 1.0E10, 0}, {KXDEFL, 1.0E10, 0}};  // the failing exits have their own warnings
  for (const auto& x : t) {
    SCOPED_TRACE(x.W);
    CheckCase c;
    c.m.ITR.KEXIT = x.KEXIT;
    c.m.STA.W(9) = x.W;
    CHKMEC(c.run);
    EXPECT_EQ(x.KMECH, c.m.ITR.KMECH);
    EXPECT_EQ(x.KMECH, c.m.WRN.NWARN);
  }
}
