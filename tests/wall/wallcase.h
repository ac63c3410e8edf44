// wallcase.h -- a wall model for the tests of the station data, the iteration and the
// results: the tables filled as the input would fill them, the report, iteration log and
// plot file kept in memory.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "../engine.h"
#include "run/run_impl.h"
#include "wall/wall_impl.h"

struct WallCase : Engine {
  Control& C = m.C;
  Stations& STA = m.STA;

  // A wall of NI increments of length H in the given units, one elastic cross section
  // (number 1) of rigidity EI over the whole wall.
  explicit WallCase(int NI = 10, double H = 1.0, int IUNIT = SI, double EI = 1.0E6) {
    u.open_memory_output(LOUT, "report");
    u.open_memory_output(LLOG, "log");
    u.open_memory_output(LPLT, "plot");
    C.IUNIT = IUNIT;
    SETLAB(run, IUNIT == ENGLISH ? 1 : IUNIT == SI ? -1 : 0);
    C.NI = NI;
    C.H = H;
    C.H2 = H * H;
    C.H3 = H * H * H;
    C.TOL = 1.0E-9;
    C.DMAX = 1.0E10;
    C.ITMAX = 100;
    C.RV6 = 1.0;
    STA.KODE.fill(1);
    C.NCROSS = 1;
    cross(1, EI, 1.0);
    const double LEN = IUNIT == ENGLISH ? NI * H / 12 : NI * H;
    section(1, 0.0, LEN, 1);
  }
  // Elastic cross section IS with modulus E and moment of inertia XI at top and bottom.
  void cross(int IS, double E, double XI, double EB = -1, double XIB = -1) {
    m.CS.INONL(IS) = 0;
    m.CS.EMT(IS) = E;
    m.CS.XIT(IS) = XI;
    m.CS.EMB(IS) = EB < 0 ? E : EB;
    m.CS.XIB(IS) = XIB < 0 ? XI : XIB;
  }
  void section(int N, double XTOP, double XBOT, int IS) {
    m.WS.XTOP(N) = XTOP;
    m.WS.XBOT(N) = XBOT;
    m.WS.ISEC(N) = IS;
    C.NSECT = N;
  }
  void record(int IFROM, int ITO, int KCONT, double Q, double T = 0, double P = 0) {
    const int J = ++m.REC.NREC4;
    m.REC.IFROM4(J) = IFROM;
    m.REC.ITO4(J) = ITO;
    m.REC.ICONT4(J) = KCONT;
    m.REC.Q4(J) = Q;
    m.REC.T4(J) = T;
    m.REC.P4(J) = P;
  }
  void restraint(int IFROM, int ITO, int KCONT, double S, double R) {
    const int J = ++m.REC.NRES;
    m.REC.IFROMR(J) = IFROM;
    m.REC.ITOR(J) = ITO;
    m.REC.ICONTR(J) = KCONT;
    m.REC.SR(J) = S;
    m.REC.RR(J) = R;
  }
  void tie(double DEPTH, double AREA, double ELAS, double XLU, double ANGLE, double SPACE, double F0) {
    const int I = ++C.NTIE;
    auto& T = m.TIE;
    T.DEPTH(I) = DEPTH;
    T.AREA(I) = AREA;
    T.ELAS(I) = ELAS;
    T.XLU(I) = XLU;
    T.ANGLE(I) = ANGLE;
    T.SPACE(I) = SPACE;
    T.F0(I) = F0;
  }
  // Specified point M at a station: 1 deflection, 2 slope, 3 both.
  void point(int M, int ISTA, int KASE, double DEF, double SLP) {
    STA.ISTA(M) = ISTA;
    STA.KASE(M) = KASE;
    STA.SPDEF(M) = DEF;
    STA.SPSLP(M) = SLP;
    C.NPTS = M;
    SETKOD(run, M);
  }
  // Support curve appended to CRV at stations IFROM..ITO (station numbers).
  int curve(int IFROM, int ITO, int KCONT, const std::vector<double>& Y, const std::vector<double>& F) {
    auto& CRV = m.CRV;
    const int J = ++CRV.NCRV;
    CRV.FROM(J) = IFROM + 4;
    CRV.TO(J) = ITO + 4;
    CRV.CONTD(J) = KCONT;
    CRV.POINTS(J) = static_cast<int>(Y.size());
    for (std::size_t I = 0; I < Y.size(); ++I) {
      CRV.Y(J, static_cast<int>(I) + 1) = Y[I];
      CRV.F(J, static_cast<int>(I) + 1) = F[I];
    }
    return J;
  }
  // Station data and the analysis, as the driver calls them for a problem with a wall.
  void stadat() { STADAT(run); }
  void analyse() {
    ITERAT(run);
    RESULT(run);
  }
  double w(int I) const { return STA.W(I + 4); }
  std::vector<std::string> out() const { return split(u.text(LOUT)); }
  std::vector<std::string> log() const { return split(u.text(LLOG)); }
  std::vector<std::string> plot() const { return split(u.text(LPLT)); }
  std::string msg() const { return std::string(m.D.ERRMSG.trimmed()); }
};

// Index of the first line equal to S at or after FROM, or -1.
inline int find_line(const std::vector<std::string>& v, const std::string& s, int from = 0) {
  for (int i = from; i < static_cast<int>(v.size()); ++i)
    if (v[i] == s) return i;
  return -1;
}
