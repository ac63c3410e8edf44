// rdsoil.cpp -- p-y modification factors, then by the earth-pressure option the wall,
// surface-load, surcharge, soil and layer records, or the specified pressures. Only read
// and checked here; the earth-pressure and p-y subsystems report and use them.
#include <string>

#include "report/report.h"
#include "run/run_impl.h"

namespace {

// KEP >= 2: the data of the generated pressures and of the soil profile.
void RDPROF(Run& run) {
  const auto& C = run.m.C;
  auto& SOIL = run.m.SOIL;
  run.m.D.KEPRD = 1;
  io::list_read(run, LINP, {"wall record", 0, "HFREE WA WP ZWA ZWP AMOD IWATER BETA BETAE"}, SOIL.HFREE, SOIL.WA,
                SOIL.WP, SOIL.ZWA, SOIL.ZWP, SOIL.AMOD, SOIL.IWATER, SOIL.BETA, SOIL.BETAE);
  const io::RecordSpan R = run.u.last_record(LINP);
  SOIL.LWALL = R.first;
  // Generated curves divide by the width for soil resistance. A wall record that runs
  // over several lines is most likely another record: one missing above it.
  if (C.KPYGEN == 2 && SOIL.WP == 0)
    INPERR(run, "ERROR -- THE WIDTH FOR SOIL RESISTANCE (WP) MUST NOT BE ZERO WHEN P-Y CURVES ARE GENERATED (" +
                    ATLINE("WALL RECORD, VALUE 3", R.first) + ")" +
                    (R.last > R.first ? "; THE WALL RECORD RUNS OVER INPUT LINES " + std::to_string(R.first) + " TO " +
                                            std::to_string(R.last) + ": IS A RECORD MISSING ABOVE IT?"
                                      : std::string()));
  io::list_read(run, LINP, {"surface-load record", 0, "QSURF XSUR QPOINT QLINE QSTRIP BSTRIP"}, SOIL.QSURF, SOIL.XSUR,
                SOIL.QPOINT, SOIL.QLINE, SOIL.QSTRIP, SOIL.BSTRIP);
  io::list_read(run, LINP, {"surcharge count record", 0, "NSUR"}, SOIL.NSUR);
  if (SOIL.NSUR > MXSUR) TOOMCH(run, "NUMBER OF SURCHARGE ROWS", SOIL.NSUR, MXSUR, run.u.last_record(LINP).first);
  for (int N = 1; N <= SOIL.NSUR; ++N) {
    io::list_read(run, LINP, {"surcharge row", N, "KIND LOAD DISTANCE WIDTH VERTICAL FACTOR"}, SOIL.KSUR(N),
                  SOIL.SLOAD(N), SOIL.SDIST(N), SOIL.SWIDTH(N), SOIL.SVERT(N), SOIL.SFACT(N));
    SOIL.LSUR(N) = run.u.last_record(LINP).first;
  }
  io::list_read(run, LINP, {"soil record", 0, "NL LOADING CYCLES"}, SOIL.NL, SOIL.KSTAT, SOIL.CYCLES);
  SOIL.LSOIL = run.u.last_record(LINP).first;
  if (SOIL.NL > MXLAY) TOOMCH(run, "NUMBER OF SOIL LAYERS", SOIL.NL, MXLAY, SOIL.LSOIL);
  // A layer whose bottom is above the previous one is kept as read: the pressure code
  // ends the profile at a thickness that is not positive.
  for (int J = 1; J <= SOIL.NL; ++J) {
    io::list_read(run, LINP, {"soil layer", J, "TYPE ZBOT"}, SOIL.LTYPE(J), SOIL.ZBOT(J));
    SOIL.LLAY(J) = run.u.last_record(LINP).first;
    io::list_read(run, LINP, {"soil layer top record", J, "GAMMA S PHI E50 RQD KPY"}, SOIL.GAMMA(J), SOIL.STRTOP(J),
                  SOIL.PHITOP(J), SOIL.E50TOP(J), SOIL.RQD(J), SOIL.KPYTOP(J));
    SOIL.LLTOP(J) = run.u.last_record(LINP).first;
    io::list_read(run, LINP, {"soil layer bottom record", J, "UNUSED S PHI E50 UNUSED KPY"}, SOIL.UNUSD1(J),
                  SOIL.STRBOT(J), SOIL.PHIBOT(J), SOIL.E50BOT(J), SOIL.UNUSD2(J), SOIL.KPYBOT(J));
    SOIL.LLBOT(J) = run.u.last_record(LINP).first;
  }
}

// KEP = 1: the specified active earth pressure, (depth, pressure) pairs.
void RDSPP(Run& run) {
  auto& SOIL = run.m.SOIL;
  io::list_read(run, LINP, {"specified pressure count record", 0, "NSPP"}, SOIL.NSPP);
  if (SOIL.NSPP > MXSPP)
    TOOMCH(run, "NUMBER OF SPECIFIED PRESSURE PAIRS", SOIL.NSPP, MXSPP, run.u.last_record(LINP).first);
  for (int N = 1; N <= SOIL.NSPP; ++N) {
    io::list_read(run, LINP, {"specified pressure", N, "DEPTH PRESSURE"}, SOIL.SPPD(N), SOIL.SPPP(N));
    SOIL.LSPP(N) = run.u.last_record(LINP).first;
  }
  // The specified pressures take the surcharge rows, the free height and the width WA
  // of the last problem that read earth-pressure data: told when that was not this run.
  if (SOIL.NSUR > 0 && run.m.D.KEPRD == 0)
    WARN(run, "THE SPECIFIED PRESSURES TAKE " + std::to_string(SOIL.NSUR) +
                  " SURCHARGE ROWS, THE FREE HEIGHT AND THE WIDTH WA LEFT IN THE TABLES BY AN EARLIER RUN");
}

}  // namespace

void RDSOIL(Run& run) {
  const auto& C = run.m.C;
  auto& SOIL = run.m.SOIL;
  if (C.NPYMOD > 0) {
    if (C.NPYMOD > MXPYM) TOOMCH(run, "NUMBER OF P-Y MODIFICATION FACTORS", C.NPYMOD, MXPYM, C.LCTRL);
    io::list_read(run, LINP, {"p-y modification option record", 0, "KPYOPT"}, SOIL.KPYOPT);
    for (int N = 1; N <= C.NPYMOD; ++N)
      io::list_read(run, LINP, {"p-y modification factor", N, "DEPTH PFACTOR YFACTOR"}, SOIL.PYMD(N), SOIL.PYMP(N),
                    SOIL.PYMY(N));
  }
  if (C.KEP >= 2) {
    RDPROF(run);
  } else if (C.KEP == 1) {
    RDSPP(run);
  }
}
