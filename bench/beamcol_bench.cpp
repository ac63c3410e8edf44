// beamcol_bench.cpp -- one beam-column solution on a realistic wall: elastic sheet pile
// with a tie back, soil springs below the excavation, earth pressure above it, and a few
// specified points. Reported as time per real station (0..NI) per solution.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "wall/wall.h"

namespace {


void wall(Model& m, int NI) {
  Control& C = m.C;
  Stations& STA = m.STA;
  const double HW = 480.0;  // wall height, in
  C.NI = NI;
  C.H = HW / NI;
  C.H2 = C.H * C.H;
  C.H3 = C.H2 * C.H;
  C.TOL = 1.0E-5f;
  C.DMAX = 100.0;
  const double H = C.H;
  const int KEXC = NI / 2 + 4;  // excavation level at mid height
  for (int K = 1; K <= NI + 7; ++K) STA.KODE(K) = 1;
  for (int K = 4; K <= NI + 4; ++K) {
    const double X = (K - 4) * H;
    STA.EI(K) = (K == 4 || K == NI + 4 ? 0.5 : 1.0) * 2.9E7 * 320.0;
    STA.P(K) = 50.0 * H;
    STA.QW(K) = K < KEXC ? 0.02 * X * H : 0.0;
    STA.SW(K) = K >= KEXC ? 3.0 * (X - 0.5 * HW + H) * H : 0.0;
  }
  STA.SW(4 + NI / 6) += 2.0E5;    // tie back
  STA.QW(4 + NI / 6) -= 3.0E4;    // its prestress
  STA.R(4) = 1.0E6;               // rotational restraint at the top
  int M = 0;
  auto point = [&](int I, int KASE, double DEF, double SLP) {
    ++M;
    STA.ISTA(M) = I;
    STA.KASE(M) = KASE;
    STA.SPDEF(M) = DEF;
    STA.SPSLP(M) = SLP;
    C.NPTS = M;
  };
  point(NI / 3, 1, 0.0, 0.0);
  point(2 * NI / 3, 2, 0.0, 0.001);
  point(NI, 3, 0.0, 0.0);
}

void BM_BEAMCOL(benchmark::State& state) {
  const int NI = static_cast<int>(state.range(0));
  auto mp = std::make_unique<Model>();
  io::Units units;  // the solver writes nothing
  Run run{*mp, units};
  wall(*mp, NI);
  for (int M = 1; M <= mp->C.NPTS; ++M) SETKOD(run, M);
  for (auto _ : state) {
    BEAMCOL(run);
    benchmark::DoNotOptimize(mp->STA.W(4));
    benchmark::ClobberMemory();
  }
  // Seconds per real station per solution (printed with its SI prefix, n = ns).
  state.counters["per_station"] = benchmark::Counter(
      NI + 1, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  if (!std::isfinite(mp->STA.W(4))) state.SkipWithError("deflection not finite");
}
BENCHMARK(BM_BEAMCOL)->Arg(100)->Arg(409);

}  // namespace
