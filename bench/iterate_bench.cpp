// iterate_bench.cpp -- one whole analysis of a wall (ITERAT: every iteration with its
// linearisation, solution, log line, rigidity update, and the derived results): 400
// increments, a tie back, earth pressure above the excavation, 30 user p-y curves in one
// chain below it and a reinforced-concrete section with a moment-curvature table, so
// that the deflections need more than 20 iterations to close. The iteration log goes to
// /dev/null through the ordinary file unit; the results report is not written.
// Operator new is counted: the analysis must allocate nothing.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <new>

#include "report/report.h"
#include "wall/wall.h"

namespace {
long long NEWS = 0;  // operator new calls so far
}  // namespace

// The replacement pair below allocates with malloc and frees with free.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t n) {
  ++NEWS;
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

// The wall, SI: 20 m in 400 increments of 0.05 m, excavation at 10 m.
void wall(Run& run) {
  Model& m = run.m;
  Control& C = m.C;
  C.IUNIT = SI;
  SETLAB(run, -1);
  C.NI = 400;
  C.H = 0.05;
  C.H2 = C.H * C.H;
  C.H3 = C.H2 * C.H;
  C.TOL = 1.0E-7;
  C.DMAX = 1.0;
  C.ITMAX = 100;
  C.RV6 = 1.0;
  C.KHINGE = 0;
  m.STA.KODE.fill(1);
  // One nonlinear cross section over the wall: E*I = 2.0E5 kN*m**2 up to cracking, then
  // softening to a plateau.
  C.NCROSS = 1;
  m.CS.INONL(1) = 1;
  m.CS.EMT(1) = m.CS.EMB(1) = 2.0E7;
  m.CS.XIT(1) = m.CS.XIB(1) = 1.0E-2;
  m.NEI.NMP(1) = 6;
  const double CV[6] = {0, 2.0E-4, 1.0E-3, 3.0E-3, 1.0E-2, 5.0E-2};
  const double BM[6] = {0, 40, 120, 220, 300, 320};
  for (int n = 1; n <= 6; ++n) {
    m.NEI.CURV(1, n) = CV[n - 1];
    m.NEI.BM(1, n) = BM[n - 1];
  }
  C.NSECT = 1;
  m.WS.XTOP(1) = 0;
  m.WS.XBOT(1) = 20;
  m.WS.ISEC(1) = 1;
  // A tie back at 2 m; the earth pressure above the excavation as records of load.
  C.NTIE = 1;
  m.TIE.DEPTH(1) = 2.0;
  m.TIE.AREA(1) = 1.0E-3;
  m.TIE.ELAS(1) = 2.0E8;
  m.TIE.XLU(1) = 8.0;
  m.TIE.ANGLE(1) = 15;
  m.TIE.SPACE(1) = 2.5;
  m.TIE.F0(1) = 150;
  m.REC.NREC4 = 3;
  const int IFR[3] = {0, 200, 400}, KCN[3] = {1, 1, 0};
  const double QR[3] = {0, 45.0 * C.H, 45.0 * C.H};  // 45 kN/m from the excavation level down
  for (int J = 1; J <= 3; ++J) {
    m.REC.IFROM4(J) = m.REC.ITO4(J) = IFR[J - 1];
    m.REC.ICONT4(J) = KCN[J - 1];
    m.REC.Q4(J) = QR[J - 1];
  }
  // 30 user curves from the excavation to the tip: resistance of a hyperbolic p-y curve
  // growing with depth, 21 points each, as PYCURV leaves them.
  auto& CRV = m.CRV;
  CRV.NCRV4 = 0;
  CRV.NCRV = 30;
  for (int J = 1; J <= 30; ++J) {
    const int IS = J < 30 ? 200 + 7 * (J - 1) : 400;
    const double Z = (IS - 200) * C.H;
    const double PU = 40 + 60 * Z, Y50 = 0.004 + 0.001 * Z;
    CRV.FROM(J) = CRV.TO(J) = IS + 4;
    CRV.CONTD(J) = J < 30 ? 1 : 0;
    CRV.POINTS(J) = 21;
    for (int I = 1; I <= 21; ++I) {
      const double Y = 0.2 * (I - 11) / 10.0 * std::fabs(I - 11) / 10.0;
      CRV.Y(J, I) = Y;
      CRV.F(J, I) = -PU * std::tanh(Y / Y50) * C.H;
    }
  }
  STADAT(run);
  PRSLOD(run);
}

void BM_ITERAT(benchmark::State& state) {
  auto mp = std::make_unique<Model>();
  io::Units u;
  u.open_memory_output(LOUT, "report");
  u.open(LLOG, "/dev/null", "iteration log");
  Run run{*mp, u};
  wall(run);
  // Warm-up: layouts parsed, and the log unit's buffer at its working size (it is written
  // out and reused from 16 KiB on; one analysis writes about 3 KiB).
  for (int N = 0; N < 40; ++N) ITERAT(run);
  long long NEW0 = NEWS;
  for (auto _ : state) {
    ITERAT(run);
    benchmark::DoNotOptimize(mp->STA.W(4));
  }
  const double ALLOCS = static_cast<double>(NEWS - NEW0) / static_cast<double>(state.iterations());
  state.counters["iterations"] = mp->ITR.ITER;
  state.counters["closed"] = mp->ITR.KEXIT == KXCONV ? 1 : 0;
  state.counters["allocs_per_analysis"] = ALLOCS;
  if (mp->ITR.KEXIT != KXCONV || mp->ITR.ITER < 20) state.SkipWithError("the analysis must close after 20 or more iterations");
  if (ALLOCS != 0) state.SkipWithError("the analysis allocated");
}
BENCHMARK(BM_ITERAT)->Unit(benchmark::kMicrosecond);

}  // namespace
