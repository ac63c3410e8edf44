// iterate_test.cpp -- the nonlinear iteration against independent calculations: the
// cantilever's closed form, closure at the third solution, the damping sequence of a
// two-cycle oscillation, the hinge model, the secant rigidity, the linearisation of
// support curves over their chains, and the exits with their log lines.
#include <cmath>

#include "wallcase.h"

namespace {

// A cantilever of NI increments over a length of 10 (SI), fixed at its bottom station
// (deflection and slope zero), with a load P at its top station.
void cantilever(WallCase& c, double P) {
  c.point(1, c.C.NI, 3, 0.0, 0.0);
  c.record(0, 0, 0, P);
  c.stadat();
  PRSLOD(c.run);
}

}  // namespace

TEST(ITERAT, CantileverAgainstClosedForm) {
  const double P = 1000, EI = 1.0E6, L = 10;
  double err[2];
  for (int n = 0; n < 2; ++n) {
    const int NI = n == 0 ? 20 : 40;
    const double H = L / NI;
    WallCase c(NI, H, SI, EI);
    cantilever(c, P);
    ITERAT(c.run);
    EXPECT_EQ(KXCONV, c.m.ITR.KEXIT);
    EXPECT_EQ(3, c.m.ITR.ITER);
    const double exact = P * L * L * L / (3 * EI);
    err[n] = (c.w(0) - exact) / exact;
    // First order in h with this fixed end: the tip moves about 3h/(4L) less.
    EXPECT_NEAR(-0.75 * H / L, err[n], 0.1 * 0.75 * H / L) << NI;
    // Moment P*x and shear P along the wall, exactly as statics give them, up to the
    // station next to the fixed end.
    for (int i = 0; i < NI; ++i) {
      EXPECT_NEAR(P * i * H, c.STA.XMOM(i + 4), 1.0E-9 * P * L) << i;
      if (i > 0 && i < NI - 1) {
        EXPECT_NEAR(P, c.STA.SHEAR(i + 4), 1.0E-9 * P) << i;
      }
    }
    EXPECT_NEAR(P, c.STA.XNF(4), 1.0E-9 * P);  // the load at the top
  }
  EXPECT_NEAR(2.0, err[0] / err[1], 0.1);
}

TEST(ITERAT, LinearSupportsCloseAtTheThirdSolution) {
  WallCase c(10, 1.0);
  c.restraint(0, 10, 0, 100.0, 0.0);
  c.record(0, 0, 0, 50.0);
  c.stadat();
  c.C.ITMAX = 10;
  ITERAT(c.run);
  EXPECT_EQ(KXCONV, c.m.ITR.KEXIT);
  EXPECT_EQ(3, c.m.ITR.ITER);
  EXPECT_EQ(8u + 3, c.log().size());  // the header and three lines
  // One or two solutions: the limit, closure by the last count.
  c.stadat();
  c.C.ITMAX = 1;
  ITERAT(c.run);
  EXPECT_EQ(KXLIMN, c.m.ITR.KEXIT);
  EXPECT_EQ(1, c.m.ITR.ITER);
  // Linear exit: one solution, a blank line in the log instead of the header.
  WallCase d(10, 1.0, SI, 1.0E12);
  d.restraint(0, 10, 0, 100.0, 0.0);
  d.record(0, 0, 0, 50.0);
  d.stadat();
  d.C.ITMAX = 0;
  ITERAT(d.run);
  EXPECT_EQ(KXLIN, d.m.ITR.KEXIT);
  EXPECT_EQ(1, d.m.ITR.ITER);
  EXPECT_EQ(std::vector<std::string>{""}, d.log());
  EXPECT_NEAR(50.0 / (100.0 * 10), d.w(5), 1.0E-9);  // a rigid body on uniform springs
}

TEST(ITERAT, IterationLog) {
  WallCase c(10, 1.0);
  c.restraint(0, 10, 0, 100.0, 0.0);
  c.record(0, 0, 0, 50.0);
  c.stadat();
  ITERAT(c.run);
  const auto log = c.log();
  ASSERT_EQ(11u, log.size());
  EXPECT_EQ("", log[0]);
  EXPECT_EQ("", log[1]);
  EXPECT_EQ("     ITERATION MONITORING", log[2]);
  EXPECT_EQ("     --------------------", log[3]);
  EXPECT_EQ("", log[4]);
  EXPECT_EQ("    ITER     NODES      MAX. CHANGE     DEF.        DEF.        DEF.        DEF. ", log[5]);
  EXPECT_EQ("            EXC. TOL.    DEFLECTION    NODE 0      NODE 1      NODE 2      NODE 3", log[6]);
  EXPECT_EQ("    ----    ---------   -----------    ------      ------      ------      ------", log[7]);
  // ITER, stations not closed, largest change, deflections of stations 0 to 3.
  EXPECT_EQ("      1        11", log[8].substr(0, 17));
  EXPECT_EQ(3u + 4 + 6 + 4 + 6 + 5 * 12, log[8].size());
  EXPECT_EQ(io::format("(1PE12.3)", c.w(0)), log[10].substr(35, 12));
}

TEST(DAMPU, Sequence) {
  const double u[] = {0.5, 0.25, 0.75, 0.125, 0.375, 0.625, 0.875, 0.0625};
  for (int n = 0; n < 8; ++n) EXPECT_EQ(u[n], DAMPU(n)) << n;
  EXPECT_EQ(62.5 / 64, DAMPU(125));
  EXPECT_EQ(63.5 / 64, DAMPU(126));
  // From the 127th step on the divisor goes on doubling: u stays inside (0, 1).
  EXPECT_EQ(0.5 / 128, DAMPU(127));
  for (int n = 127; n < 5000; ++n) {
    EXPECT_GT(DAMPU(n), 0);
    EXPECT_LT(DAMPU(n), 1);
  }
  EXPECT_GT(DAMPU(2147483647), 0);
  EXPECT_LT(DAMPU(2147483647), 1);
}

TEST(ITERAT, TwoCycleOscillationIsDamped) {
  // A cantilever whose top rests on a support curve that is flat for negative deflections
  // and steeper than the wall for positive ones: the segment solutions alternate between
  // A > 0 and B = -A/2 forever. Solutions 1 and 2 differ in the rigidity of the end
  // stations; from the third on odd iterations give A, even ones B.
  auto run = [](int ITMAX, int* NDAMP = nullptr) {
    WallCase c(10, 1.0);
    cantilever(c, 0.0);
    const double k = 3 * 1.0E6 / 1000;  // tip stiffness 3EI/L**3
    c.curve(0, 0, 0, {-1, 0, 1}, {1, 1, 1 + 3 * k});
    c.C.ITMAX = ITMAX;
    ITERAT(c.run);
    EXPECT_EQ(KXLIMN, c.m.ITR.KEXIT);
    if (NDAMP) *NDAMP = c.m.ITR.NDAMP;
    return c.w(0);
  };
  const double A = run(3), B = run(4);
  ASSERT_GT(A, 0);
  ASSERT_LT(B, 0);
  EXPECT_EQ(A, run(39));
  EXPECT_EQ(B, run(40));
  int ND = 0;
  EXPECT_EQ(0.5 * A + 0.5 * B, run(41, &ND));  // u = 0.5
  EXPECT_EQ(1, ND);
  EXPECT_EQ(B, run(44));
  EXPECT_EQ(0.25 * A + 0.75 * B, run(45));  // u = 0.25 on A
  EXPECT_EQ(0.75 * B + 0.25 * A, run(49));  // u = 0.75 on B
  EXPECT_EQ(0.125 * B + 0.875 * A, run(53, &ND));  // u = 0.125 on B
  EXPECT_EQ(4, ND);
}

TEST(ITERAT, HingeAtEveryTieBackButTheTopOne) {
  auto make = [](int KHINGE, int ITMAX) {
    auto c = std::make_unique<WallCase>(10, 1.0);
    c->C.KHINGE = KHINGE;
    c->tie(6.0, 0.001, 2.0E8, 5.0, 0.0, 2.0, 100.0);  // deeper one given first
    c->tie(2.0, 0.001, 2.0E8, 5.0, 0.0, 2.0, 100.0);
    cantilever(*c, 500.0);
    c->C.ITMAX = ITMAX;
    ITERAT(c->run);
    return c;
  };
  auto h1 = make(1, 1), n1 = make(0, 1);
  EXPECT_EQ(0, h1->STA.EI(10));  // station 6: hinge, ready for the second solution
  EXPECT_EQ(1.0E6, h1->STA.EI(6));
  EXPECT_EQ(1.0E6, n1->STA.EI(10));
  for (int i = 0; i <= 10; ++i) EXPECT_EQ(n1->w(i), h1->w(i)) << i;  // first solution: no hinge
  auto h2 = make(1, 2), n2 = make(0, 2);
  EXPECT_NE(n2->w(0), h2->w(0));
  // The hinge carries no moment.
  auto h = make(1, 20);
  EXPECT_EQ(KXCONV, h->m.ITR.KEXIT);
  EXPECT_EQ(0, h->STA.XMOM(10));
  EXPECT_NE(0, h->STA.XMOM(6));
}

TEST(ITERAT, RigidityUpdate) {
  WallCase c(10, 1.0);
  c.cross(1, 100, 1);
  c.cross(2, 300, 1);
  c.cross(3, 100, 1);  // its elastic values give the first solution's rigidity
  c.C.NCROSS = 3;
  c.section(1, 0.0, 4.0, 1);
  c.section(2, 4.0, 8.0, 2);
  c.section(3, 8.0, 10.0, 3);
  // Section 3 nonlinear: secant M/phi of its moment-curvature table.
  c.m.CS.INONL(3) = 1;
  auto& NEI = c.m.NEI;
  NEI.NMP(3) = 4;
  const double CV[4] = {0, 1.0E-6, 2.0E-6, 4.0E-6}, BM[4] = {0, 100, 150, 160};
  for (int n = 1; n <= 4; ++n) {
    NEI.CURV(3, n) = CV[n - 1];
    NEI.BM(3, n) = BM[n - 1];
  }
  cantilever(c, 1.67E-5);  // curvatures inside the table at stations 9 and 10
  EXPECT_EQ(200, c.STA.EI(8));  // first solution: the average at the boundary
  c.C.NSECT = 0;                // a later problem keeps the wall sections
  c.C.ITMAX = 1;
  ITERAT(c.run);
  EXPECT_EQ(100, c.STA.EI(4));   // the top in full
  EXPECT_EQ(100, c.STA.EI(8));   // the upper section's bottom value
  EXPECT_EQ(300, c.STA.EI(9));
  // Nonlinear stations: the secant at the curvature of the first solution.
  for (int i = 8; i <= 10; ++i) {
    const int K = i + 4;
    const double phi = std::fabs(c.STA.W(K - 1) - 2 * c.STA.W(K) + c.STA.W(K + 1)) / c.C.H2;
    double e;
    if (phi <= 1.0E-8f) {
      e = BM[1] / CV[1];
    } else if (phi >= CV[3]) {
      e = BM[3] / CV[3];
    } else {
      int n = 1;
      while (phi > CV[n]) ++n;
      e = (BM[n - 1] + (BM[n] - BM[n - 1]) * (phi - CV[n - 1]) / (CV[n] - CV[n - 1])) / phi;
    }
    if (i > 8) {
      EXPECT_DOUBLE_EQ(e, c.STA.EI(K)) << i << " phi " << phi;
    }
  }
  // A table of one point leaves the rigidity as it is.
  NEI.NMP(3) = 1;
  c.stadat();
  const double before = c.STA.EI(13);
  ITERAT(c.run);
  EXPECT_EQ(before, c.STA.EI(13));
}

TEST(QWSEG, SegmentOfADeflection) {
  WallCase c;
  const int J = c.curve(0, 0, 0, {-2, -1, 0, 1, 3}, {4, 2, 1, 0, 0});
  double M, B, Q;
  QWSEG(c.m.CRV, J, -5, M, B, Q);  // below the first point: the first segment extended
  EXPECT_EQ(-2, M);
  EXPECT_EQ(10, Q);
  QWSEG(c.m.CRV, J, -1, M, B, Q);  // on a point: the segment that ends there
  EXPECT_EQ(-2, M);
  EXPECT_EQ(0, B);
  EXPECT_EQ(2, Q);
  QWSEG(c.m.CRV, J, 0.5, M, B, Q);
  EXPECT_EQ(-1, M);
  EXPECT_EQ(1, B);
  EXPECT_EQ(0.5, Q);
  QWSEG(c.m.CRV, J, 9, M, B, Q);  // beyond the last point: the last segment
  EXPECT_EQ(0, M);
  EXPECT_EQ(0, Q);
  const int K = c.curve(0, 0, 0, {0, 0, 1}, {0, 5, 6});
  QWSEG(c.m.CRV, K, 0, M, B, Q);  // a segment of zero length gives nothing
  EXPECT_EQ(0, M);
  EXPECT_EQ(0, B);
  EXPECT_EQ(0, Q);
}

TEST(QWSEG, SegmentsFormedOnceGiveTheSameBits) {
  // The searches from the last segment used agree bit for bit with the plain search,
  // over curves with repeated deflections and a walk of deflections up, down and beyond.
  WallCase c;
  const int J = c.curve(0, 0, 0, {-3, -1, -1, 0, 0.25, 0.25, 2, 5}, {9, 4, 3.5, 1, 0.3, 0.2, -1, -1});
  const int K = c.curve(0, 0, 0, {0, 1}, {0, 7});
  for (int I : {J, K}) QWFORM(c.m.CRV, I);
  unsigned s = 12345;
  for (int n = 0; n < 5000; ++n) {
    s = s * 1103515245u + 12345u;
    const double W = n % 97 == 0 ? -1.0 : ((s >> 8) % 20001) / 2000.0 - 5.0;
    for (int I : {J, K}) {
      double M1, B1, Q1, M2, B2, Q2;
      QWSEG(c.m.CRV, I, W, M1, B1, Q1);
      QWLIN(c.m.CRV, I, W, M2, B2, Q2);
      ASSERT_EQ(M1, M2) << W;
      ASSERT_EQ(B1, B2) << W;
      ASSERT_EQ(Q1, Q2) << W;
    }
  }
}

TEST(ITERAT, ChainLinearisation) {
  // Linear springs F = C - k*y at stations 2 and 6 in one chain, and a layer of curves
  // of constant force at stations 12..18 (every other station) under a second chain.
  WallCase c(20, 0.5);
  c.restraint(0, 20, 0, 1.0E3, 0.0);
  c.stadat();
  c.curve(2, 2, 1, {-1, 1}, {10 + 100, 10 - 100});
  c.curve(6, 6, 0, {-1, 1}, {30 + 300, 30 - 300});
  for (int i = 12; i <= 18; i += 2) c.curve(i, i, i < 18 ? 1 : 0, {-1, 1}, {4, 4});
  c.curve(20, 25, 0, {-1, 1}, {1000, -1000});  // starts at the bottom: skipped
  c.curve(20, 20, 0, {-1, 1}, {7, 7});            // one station at the bottom: applied
  c.C.ITMAX = 0;
  ITERAT(c.run);
  const auto& SW = c.STA.SW;
  const auto& QW = c.STA.QW;
  const double S0 = c.STA.S(4 + 4);
  EXPECT_DOUBLE_EQ(50, SW(6) - c.STA.S(6));
  EXPECT_DOUBLE_EQ(150, SW(7) - c.STA.S(7));
  EXPECT_DOUBLE_EQ(200, SW(8) - S0);
  EXPECT_DOUBLE_EQ(150, SW(10) - c.STA.S(10));
  EXPECT_DOUBLE_EQ(0, SW(11) - c.STA.S(11));
  EXPECT_DOUBLE_EQ(5, QW(6) - c.STA.Q(6));
  EXPECT_DOUBLE_EQ(20, QW(8) - c.STA.Q(8));
  // The layer: half at its end stations, so the sum of SR*h is the integral of p.
  double sum = 0;
  for (int K = 16; K <= 22; ++K) sum += c.m.ITR.SR(K) * c.C.H;
  EXPECT_DOUBLE_EQ(4 * 6, sum);
  EXPECT_DOUBLE_EQ(2 / 0.5, c.m.ITR.SR(16));
  EXPECT_DOUBLE_EQ(7 / 0.5, c.m.ITR.SR(24));
  EXPECT_DOUBLE_EQ(7, QW(24) - c.STA.Q(24));
}

TEST(ITERAT, ChainedRangeCutAtTheBottom) {
  WallCase c(10, 1.0);
  c.restraint(0, 10, 0, 1.0E3, 0.0);
  c.stadat();
  c.curve(8, 8, 1, {-1, 1}, {0, 0});
  c.curve(14, 14, 0, {-1, 1}, {60, 60});  // interpolated on the full span 8..14
  c.C.ITMAX = 0;
  ITERAT(c.run);
  EXPECT_DOUBLE_EQ(0, c.m.ITR.SR(12));
  EXPECT_DOUBLE_EQ(10, c.m.ITR.SR(13));
  EXPECT_DOUBLE_EQ(0.5 * 20, c.m.ITR.SR(14));  // the bottom station ends the cut range
  EXPECT_EQ(0, c.m.ITR.SR(15));
}

TEST(ITERAT, BadSupportCurves) {
  {
    WallCase c;
    c.stadat();
    c.curve(5, 3, 0, {-1, 1}, {1, -1});
    EXPECT_TRUE(c.ends([&] { ITERAT(c.run); }));
    EXPECT_EQ("ERROR STOP -- STATIONS NOT IN ORDER", c.msg());
  }
  {
    WallCase c;
    c.stadat();
    c.curve(5, 5, -1, {-1, 1}, {1, -1});
    EXPECT_TRUE(c.ends([&] { ITERAT(c.run); }));
    EXPECT_EQ(2, c.m.D.KERR);  // silent
  }
  {
    WallCase c;
    c.stadat();
    c.curve(5, 5, 0, {1, -1}, {1, -1});
    EXPECT_TRUE(c.ends([&] { ITERAT(c.run); }));
    EXPECT_EQ("ERROR -- THE DEFLECTIONS OF SUPPORT CURVE 1 ARE NOT IN INCREASING ORDER", c.msg());
  }
}

TEST(ITERAT, DeflectionExceededAtTheFirstIteration) {
  WallCase c(10, 1.0);
  cantilever(c, 1000.0);
  c.C.DMAX = 1.0E-6;
  c.m.RES.NSTA = 7;  // a previous problem's results
  const std::size_t n0 = c.out().size();
  c.analyse();
  EXPECT_EQ(KXDEFL, c.m.ITR.KEXIT);
  EXPECT_EQ(1, c.m.ITR.ITER);
  const auto log = c.log();
  ASSERT_EQ(11u, log.size());
  EXPECT_EQ("", log[9]);
  // Stations 0..9 move; station 10 is held.
  EXPECT_EQ("     ***** MAX ALLOWABLE DEFLECTION EXCEEDED AT ***  10  *** STATIONS *****", log[10]);
  const auto out = c.out();
  ASSERT_EQ(n0 + 7, out.size());
  EXPECT_EQ("", out[n0]);
  EXPECT_EQ("", out[n0 + 1]);
  EXPECT_EQ("     RESULTS", out[n0 + 2]);
  EXPECT_EQ("     -------", out[n0 + 3]);
  EXPECT_EQ("     NUMBER OF ITERATIONS :   1", out[n0 + 4]);
  EXPECT_EQ("", out[n0 + 5]);
  EXPECT_EQ("     ***** MAX ALLOWABLE DEFLECTION EXCEEDED AT ***  10  *** STATIONS *****", out[n0 + 6]);
  EXPECT_EQ(7, c.m.RES.NSTA);
  // The end-of-stage block of the failed problem is the short one.
  c.m.D.KEXCD = 1;
  PLTEND(c.run, 0);
  EXPECT_EQ(std::vector<std::string>{"           0           7           2"}, c.plot());
}

TEST(ITERAT, LimitWithoutClosure) {
  WallCase c(10, 1.0);
  cantilever(c, 1000.0);
  c.C.ITMAX = 2;
  c.C.TOL = 0;  // the end stations' rigidity changes after the first solution
  const std::size_t n0 = c.out().size();
  c.analyse();
  EXPECT_EQ(KXLIMN, c.m.ITR.KEXIT);
  EXPECT_EQ(2, c.m.ITR.ITER);
  const auto out = c.out();
  ASSERT_EQ(n0 + 8, out.size());
  EXPECT_EQ("     NUMBER OF ITERATIONS :   2", out[n0 + 4]);
  EXPECT_EQ("", out[n0 + 5]);
  EXPECT_EQ("     ***** MAXIMUM NUMBER OF ITERATIONS  REACHED *****", out[n0 + 6]);
  EXPECT_EQ("     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED TOLERANCE *****", out[n0 + 7]);
  const auto log = c.log();
  EXPECT_EQ("     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED TOLERANCE *****", log.back());
}
